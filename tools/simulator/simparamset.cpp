#include "simparamset.h"

#include <param.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace {
using Param = SimParamSet::Param;

Param u8(const char *name, double value, double min = 0, double max = 0)
{
    return {name, MAV_PARAM_TYPE_UINT8, value, min, max, false};
}
Param i8(const char *name, double value, double min = 0, double max = 0)
{
    return {name, MAV_PARAM_TYPE_INT8, value, min, max, false};
}
Param u16(const char *name, double value, double min = 0, double max = 0)
{
    return {name, MAV_PARAM_TYPE_UINT16, value, min, max, false};
}
Param i16(const char *name, double value, double min = 0, double max = 0)
{
    return {name, MAV_PARAM_TYPE_INT16, value, min, max, false};
}
Param u32(const char *name, double value, double min = 0, double max = 0)
{
    return {name, MAV_PARAM_TYPE_UINT32, value, min, max, false};
}
Param i32(const char *name, double value, double min = 0, double max = 0)
{
    return {name, MAV_PARAM_TYPE_INT32, value, min, max, false};
}
Param real(const char *name, double value, double min = 0, double max = 0)
{
    return {name, MAV_PARAM_TYPE_REAL32, value, min, max, false};
}
Param readOnly(Param param)
{
    param.readOnly = true;
    return param;
}

// Bytes of an integer type; 0 for a float.
int integerBytes(std::uint8_t type)
{
    switch (type) {
    case MAV_PARAM_TYPE_UINT8:
    case MAV_PARAM_TYPE_INT8:
        return 1;
    case MAV_PARAM_TYPE_UINT16:
    case MAV_PARAM_TYPE_INT16:
        return 2;
    case MAV_PARAM_TYPE_UINT32:
    case MAV_PARAM_TYPE_INT32:
        return 4;
    default:
        return 0;
    }
}

bool isSigned(std::uint8_t type)
{
    return type == MAV_PARAM_TYPE_INT8 || type == MAV_PARAM_TYPE_INT16 ||
           type == MAV_PARAM_TYPE_INT32;
}

// The range of the type itself.
void typeRange(std::uint8_t type, double &min, double &max)
{
    const int bytes = integerBytes(type);
    if (bytes == 0) {
        max = std::numeric_limits<float>::max();
        min = -max;
    } else if (isSigned(type)) {
        max = std::ldexp(1.0, 8 * bytes - 1) - 1;
        min = -max - 1;
    } else {
        max = std::ldexp(1.0, 8 * bytes) - 1;
        min = 0;
    }
}

// The value the firmware reads from a written field: its own type's, whatever the writer meant.
std::optional<double> valueOfField(std::uint8_t type, float field, SimParamSet::Encoding encoding)
{
    const int bytes = integerBytes(type);
    if (bytes == 0 || encoding == SimParamSet::Encoding::CCast) {
        if (!std::isfinite(field) || (bytes > 0 && field != std::floor(field)))
            return std::nullopt;
        return double(field);
    }
    std::uint32_t bits = 0;
    std::memcpy(&bits, &field, sizeof bits);
    if (bytes < 4)
        bits &= (std::uint32_t(1) << (8 * bytes)) - 1;
    if (!isSigned(type))
        return double(bits);
    const std::uint32_t sign = std::uint32_t(1) << (8 * bytes - 1);
    return bits & sign ? double(std::int64_t(bits) - 2 * std::int64_t(sign)) : double(bits);
}
} // namespace

SimParamSet::SimParamSet(std::vector<Param> params, Encoding encoding)
    : m_params(std::move(params)), m_encoding(encoding)
{
    for (Param &param : m_params) {
        if (param.min == 0 && param.max == 0)
            typeRange(param.type, param.min, param.max);
    }
}

SimParamSet SimParamSet::gimbal(int count)
{
    std::vector<Param> params{
        u8("MOT_PWR_ROLL", 60, 0, 100),
        u8("MOT_PWR_PITCH", 55, 0, 100),
        u8("MOT_PWR_YAW", 70, 0, 100),
        u8("MOT_POLES_ROLL", 14, 2, 48),
        u8("MOT_POLES_PITCH", 14, 2, 48),
        u8("MOT_POLES_YAW", 14, 2, 48),
        i8("MOT_DIR_ROLL", 1, -1, 1),
        i8("MOT_DIR_PITCH", -1, -1, 1),
        i8("MOT_DIR_YAW", 1, -1, 1),
        u8("MOT_BOOST", 0, 0, 50),
        u16("MOT_FREQ_HZ", 24000, 8000, 32000),
        u8("MOT_OFF_IDLE", 1, 0, 1),

        real("PID_ROLL_P", 0.52f),
        real("PID_ROLL_I", 0.08f),
        real("PID_ROLL_D", 0.012f),
        real("PID_ROLL_FF", 0),
        real("PID_ROLL_IMAX", 30, 0, 100),
        real("PID_PITCH_P", 0.61f),
        real("PID_PITCH_I", 0.1f),
        real("PID_PITCH_D", 0.015f),
        real("PID_PITCH_FF", 0.05f),
        real("PID_PITCH_IMAX", 30, 0, 100),
        real("PID_YAW_P", 0.8f),
        real("PID_YAW_I", 0.12f),
        real("PID_YAW_D", 0.02f),
        real("PID_YAW_FF", 0.1f),
        real("PID_YAW_IMAX", 40, 0, 100),

        u16("GYRO_LPF_HZ", 98, 10, 500),
        u16("ACC_LPF_HZ", 20, 1, 200),
        u16("DTERM_LPF_HZ", 60, 10, 500),
        u16("NOTCH_FREQ_HZ", 0, 0, 500),
        real("NOTCH_Q", 3.5f, 0.5, 10),

        i16("LIM_ROLL_MIN", -45, -180, 180),
        i16("LIM_ROLL_MAX", 45, -180, 180),
        i16("LIM_PITCH_MIN", -90, -180, 180),
        i16("LIM_PITCH_MAX", 30, -180, 180),
        i16("LIM_YAW_MIN", -170, -180, 180),
        i16("LIM_YAW_MAX", 170, -180, 180),

        real("SPD_ROLL_MAX", 60, 1, 360),
        real("SPD_PITCH_MAX", 90, 1, 360),
        real("SPD_YAW_MAX", 120, 1, 360),
        real("ACC_PITCH_MAX", 300, 10, 2000),
        real("ACC_YAW_MAX", 300, 10, 2000),

        u8("FOLLOW_MODE", 0, 0, 2),
        real("FOLLOW_YAW_DZ", 2, 0, 30),
        u8("FOLLOW_YAW_SPD", 30, 1, 100),
        u8("FOLLOW_PITCH_SPD", 20, 1, 100),
        u8("FOLLOW_EXPO", 20, 0, 100),

        u8("RC_IN_MODE", 1, 0, 2),
        i8("RC_PITCH_CH", 2, -1, 16),
        i8("RC_YAW_CH", 4, -1, 16),
        i8("RC_ROLL_CH", -1, -1, 16),
        i8("RC_MODE_CH", 6, -1, 16),
        i16("RC_PITCH_TRIM", 0, -500, 500),
        i16("RC_YAW_TRIM", 0, -500, 500),
        u8("RC_PITCH_REV", 0, 0, 1),
        u8("RC_YAW_REV", 0, 0, 1),
        // Sixteen characters: the name fills param_id without a NUL.
        u16("RC_PITCH_DEADBND", 10, 0, 200),
        u16("RC_YAW_DEADBAND", 10, 0, 200),
        real("RC_PITCH_RATE", 60, 1, 360),
        real("RC_YAW_RATE", 90, 1, 360),
        u8("RC_EXPO", 30, 0, 100),
        u16("RC_MIN_PWM", 1000, 800, 1500),
        u16("RC_MAX_PWM", 2000, 1500, 2200),
        u16("RC_CENTRE_PWM", 1500, 1000, 2000),

        u8("IMU_ORIENT", 0, 0, 23),
        u8("IMU_GYRO_CAL", 1, 0, 1),
        real("IMU_ACC_TRIM_X", 0, -1, 1),
        real("IMU_ACC_TRIM_Y", 0, -1, 1),
        u8("IMU_TEMP_CAL", 0, 0, 1),
        i32("ENC_OFFS_ROLL", 0),
        i32("ENC_OFFS_PITCH", 512),
        i32("ENC_OFFS_YAW", -1234),

        u8("BAT_CELLS", 0, 0, 12),
        real("BAT_LOW_V", 10.5f, 0, 60),
        u16("STARTUP_DELAY", 500, 0, 10000),
        u32("SER_BAUD", 115200, 9600, 2000000),
        u8("SER_PROTO", 2, 0, 3),
        u8("MAV_SYSID", 1, 1, 255),
        u8("MAV_COMPID", 154, 1, 255),
        u8("STAT_RATE_HZ", 10, 1, 100),
        u8("HB_RATE_HZ", 1, 1, 10),

        readOnly(u32("FW_VERSION", 0x00020401)),
        readOnly(u8("HW_REV", 2)),
        readOnly(u32("SERIAL_NO", 24061234)),
        readOnly(u32("BOOT_COUNT", 87)),
        readOnly(u32("RUNTIME_MIN", 3117)),
        readOnly(real("IMU_TEMP", 41.5f)),
    };
    SimParamSet set(std::move(params), Encoding::Bytewise);
    return count > 0 ? set.paddedTo(count) : set;
}

SimParamSet SimParamSet::arduPilotMount()
{
    std::vector<Param> params{
        i8("MNT1_TYPE", 6, 0, 11),
        i8("MNT1_DEFLT_MODE", 3, 0, 6),
        i16("MNT1_RC_RATE", 90, 0, 360),
        i16("MNT1_ROLL_MIN", -45, -180, 180),
        i16("MNT1_ROLL_MAX", 45, -180, 180),
        i16("MNT1_PITCH_MIN", -90, -180, 180),
        i16("MNT1_PITCH_MAX", 30, -180, 180),
        i16("MNT1_YAW_MIN", -170, -180, 180),
        i16("MNT1_YAW_MAX", 170, -180, 180),
        real("MNT1_NEUTRAL_X", 0, -180, 180),
        real("MNT1_NEUTRAL_Y", 0, -180, 180),
        real("MNT1_NEUTRAL_Z", 0, -180, 180),
        real("MNT1_RETRACT_X", 0, -180, 180),
        real("MNT1_RETRACT_Y", -45, -180, 180),
        real("MNT1_RETRACT_Z", 0, -180, 180),
        real("MNT1_LEAD_RLL", 0, 0, 0.2),
        real("MNT1_LEAD_PTCH", 0.05f, 0, 0.2),
        i16("MNT1_SYSID_DFLT", 0, 0, 255),
        i8("MNT1_OPTIONS", 0, 0, 7),
        readOnly(i32("MNT1_DEVID", 1180161)),
        i8("MNT2_TYPE", 0, 0, 11),

        i16("RC6_OPTION", 213, 0, 400),
        i16("RC7_OPTION", 214, 0, 400),
        i16("RC8_OPTION", 163, 0, 400),
        i16("RC6_MIN", 1000, 800, 2200),
        i16("RC6_MAX", 2000, 800, 2200),
        i16("RC6_TRIM", 1500, 800, 2200),
        i8("RC6_REVERSED", 0, 0, 1),
        i16("RC6_DZ", 20, 0, 200),

        i8("SERIAL2_PROTOCOL", 2, -1, 50),
        // In thousands of baud.
        i32("SERIAL2_BAUD", 115, 1, 2000),
        i16("SERIAL2_OPTIONS", 0, 0, 8191),

        i8("CAM1_TYPE", 4, 0, 7),
        real("CAM1_DURATION", 0.1f, 0, 5),
        // Sixteen characters: the name fills param_id without a NUL.
        real("CAM1_INTRVAL_MIN", 0, 0, 10),
        real("CAM1_TRIGG_DIST", 0, 0, 1000),

        i16("SYSID_THISMAV", 1, 1, 255),
        i16("SYSID_MYGCS", 255, 1, 255),
        i16("STAT_BOOTCNT", 42, 0, 32767),
        // Seconds; C-cast carries them exactly below 2^24.
        readOnly(i32("STAT_RUNTIME", 372841)),
        readOnly(i32("STAT_FLTTIME", 51233)),
        readOnly(i16("FORMAT_VERSION", 120)),
    };
    return SimParamSet(std::move(params), Encoding::CCast);
}

SimParamSet SimParamSet::px4Mount()
{
    std::vector<Param> params{
        i32("MNT_MODE_IN", 4, -1, 4),
        i32("MNT_MODE_OUT", 2, 0, 2),
        i32("MNT_MAV_SYSID", 1, 1, 255),
        i32("MNT_MAV_COMPID", 154, 1, 255),
        i32("MNT_RC_IN_MODE", 1, 0, 1),
        i32("MNT_MAN_ROLL", 0, 0, 6),
        i32("MNT_MAN_PITCH", 2, 0, 6),
        i32("MNT_MAN_YAW", 3, 0, 6),
        i32("MNT_DO_STAB", 1, 0, 3),
        real("MNT_MIN_PITCH", -90, -180, 180),
        real("MNT_MAX_PITCH", 30, -180, 180),
        real("MNT_RATE_PITCH", 90, 1, 360),
        real("MNT_RATE_YAW", 90, 1, 360),
        real("MNT_LND_P_MIN", -90, -90, 90),
        real("MNT_LND_P_MAX", 90, -90, 90),
        real("MNT_OFF_ROLL", 0, -360, 360),
        real("MNT_OFF_PITCH", 0, -360, 360),
        real("MNT_OFF_YAW", 0, -360, 360),
        real("MNT_RANGE_ROLL", 90, 1, 720),
        real("MNT_RANGE_PITCH", 120, 1, 720),
        real("MNT_RANGE_YAW", 340, 1, 720),

        i32("MAV_SYS_ID", 1, 1, 250),
        i32("MAV_1_CONFIG", 102, 0, 300),
        i32("MAV_1_MODE", 0, 0, 13),
        i32("MAV_1_RATE", 0, 0, 1000000),
        i32("MAV_1_FORWARD", 1, 0, 1),
        i32("SER_TEL2_BAUD", 115200, 0, 3000000),

        i32("RC_MAP_AUX1", 6, 0, 18),
        i32("RC_MAP_AUX2", 7, 0, 18),
        i32("RC_MAP_AUX3", 0, 0, 18),
        real("RC6_MIN", 1000, 800, 1500),
        real("RC6_TRIM", 1500, 800, 2200),
        real("RC6_MAX", 2000, 1500, 2200),
        real("RC6_REV", 1, -1, 1),
        real("RC6_DZ", 10, 0, 100),

        i32("TRIG_MODE", 0, 0, 4),
        i32("TRIG_INTERFACE", 3, 1, 4),
        real("TRIG_INTERVAL", 40, 4, 10000),
        real("TRIG_ACT_TIME", 0.5f, 0.1, 3000),

        readOnly(i32("COM_FLIGHT_UUID", 217)),
        // Microseconds in the air, in two halves; the low half is beyond 2^24, which only
        // byte-wise carries exactly.
        readOnly(i32("LND_FLIGHT_T_HI", 0)),
        readOnly(i32("LND_FLIGHT_T_LO", 1834520000)),
    };
    return SimParamSet(std::move(params), Encoding::Bytewise);
}

int SimParamSet::indexOf(const std::string &name) const
{
    for (std::size_t i = 0; i < m_params.size(); ++i) {
        if (m_params[i].name == name)
            return static_cast<int>(i);
    }
    return -1;
}

float SimParamSet::field(int index) const
{
    const Param &param = at(index);
    const int bytes = integerBytes(param.type);
    if (bytes == 0 || m_encoding == Encoding::CCast)
        return static_cast<float>(param.value);
    // Two's complement, cut to the type's bytes; the field's other bytes stay zero.
    std::uint32_t bits = static_cast<std::uint32_t>(static_cast<std::int64_t>(param.value));
    if (bytes < 4)
        bits &= (std::uint32_t(1) << (8 * bytes)) - 1;
    float field = 0;
    std::memcpy(&field, &bits, sizeof field);
    return field;
}

bool SimParamSet::set(int index, float field)
{
    Param &param = m_params[static_cast<std::size_t>(index)];
    const std::optional<double> value = valueOfField(param.type, field, m_encoding);
    if (param.readOnly || !value || *value < param.min || *value > param.max)
        return false;
    param.value = *value;
    return true;
}

SimParamSet &SimParamSet::paddedTo(int count)
{
    static const std::uint8_t types[] = {MAV_PARAM_TYPE_UINT8, MAV_PARAM_TYPE_INT16,
                                         MAV_PARAM_TYPE_REAL32, MAV_PARAM_TYPE_INT32,
                                         MAV_PARAM_TYPE_UINT16};
    m_params.resize(std::min(m_params.size(), static_cast<std::size_t>(count)));
    for (int n = 1; size() < count; ++n) {
        Param param;
        param.name = "AUX_" + std::to_string(n);
        param.type = types[n % 5];
        param.value = param.type == MAV_PARAM_TYPE_REAL32 ? n * 0.25 : n % 100;
        typeRange(param.type, param.min, param.max);
        m_params.push_back(param);
    }
    return *this;
}
