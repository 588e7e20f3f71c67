// The parameters of a simulated component as its firmware keeps them: each with its name, its
// MAV_PARAM_TYPE, its value and the values it takes, some of them read-only; and how the firmware
// carries an integer in the float field of PARAM_VALUE and PARAM_SET (its own bytes, or converted).
// A component's set is one table: the gimbal's is gimbal(), a vehicle's arduPilotMount() or
// px4Mount(); another component's set is another table handed to the constructor.
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
    // An ArduPilot vehicle's set of 42 around its mount: the mount's type, mode, limits, neutral
    // and retracted positions; the RC channel that tilts it; the serial port of the gimbal; the
    // camera it triggers; and read-only identity and statistics. C-cast, as ArduPilot's integers
    // are carried.
    static SimParamSet arduPilotMount();
    // A PX4 vehicle's set of 42 around its gimbal: input and output modes, the RC channels, angle
    // ranges, offsets and rates; the MAVLink port of the gimbal; the camera trigger; and
    // read-only flight statistics. Byte-wise, as PX4's are.
    static SimParamSet px4Mount();

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
