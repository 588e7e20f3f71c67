// The parameters of a simulated component as its firmware keeps them: each with its name, its
// MAV_PARAM_TYPE, its value and the values it takes, some of them read-only; and how the firmware
// carries an integer in the float field of PARAM_VALUE and PARAM_SET (its own bytes, or converted).
// A component's set is one table: the gimbal's is gimbal(); another component's set is another
// table handed to the constructor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SimParamSet
{
public:
    enum class Encoding { Bytewise, CCast };

    struct Param
    {
        std::string name;
        std::uint8_t type = 0;
        double value = 0;
        // The values a write may set; a write beyond them is refused. Both 0: the type's range.
        double min = 0;
        double max = 0;
        bool readOnly = false;
    };

    SimParamSet(std::vector<Param> params, Encoding encoding);

    // A three-axis gimbal's set of 88: motors, PID gains, filters, limits, speeds, following, RC
    // input, IMU, the serial link, and read-only identity and counters. With `count` above 0 it
    // holds exactly that many: cut short, or with numbered auxiliary parameters of mixed types
    // after its own.
    static SimParamSet gimbal(int count = 0);

    int size() const { return static_cast<int>(m_params.size()); }
    const Param &at(int index) const { return m_params[static_cast<std::size_t>(index)]; }
    // -1 for a name the set does not have.
    int indexOf(const std::string &name) const;
    Encoding encoding() const { return m_encoding; }

    // The value of parameter `index` as the float field carries it.
    float field(int index) const;
    // A write of `field` to parameter `index`, read as the parameter's own type whatever the
    // writer said: taken, or refused (read-only, not a value of the type, beyond the range).
    bool set(int index, float field);

private:
    SimParamSet &paddedTo(int count);

    std::vector<Param> m_params;
    Encoding m_encoding;
};
