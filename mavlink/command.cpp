#include "command.h"

#include "record_codec.h"

#include <cmath>

using mavlink_detail::decode_record;
using mavlink_detail::pack_record;

namespace {
// False for NaN too, which every comparison fails.
bool is_whole_in(float value, float lowest, float highest)
{
    return value >= lowest && value <= highest && value == std::trunc(value);
}

bool is_control_id(float value)
{
    return is_whole_in(value, GIMBAL_MANAGER_CONTROL_RELEASE_SENDER, 255);
}

bool is_finite_or_unset(float value)
{
    return !std::isinf(value);
}
} // namespace

mavlink_command_long_t mavlink_msg_command_long_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_command_long_t>(msg);
}

mavlink_command_ack_t mavlink_msg_command_ack_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_command_ack_t>(msg);
}

bool mavlink_msg_gimbal_manager_configure_decode(const mavlink_command_long_t *command,
                                                 mavlink_gimbal_manager_configure_t *out)
{
    const mavlink_command_long_t &c = *command;
    if (c.command != MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE || !is_control_id(c.param1) ||
        !is_control_id(c.param2) || !is_control_id(c.param3) || !is_control_id(c.param4) ||
        !is_whole_in(c.param7, 0, 255))
        return false;
    *out = {std::int16_t(c.param1), std::int16_t(c.param2), std::int16_t(c.param3),
            std::int16_t(c.param4), std::uint8_t(c.param7)};
    return true;
}

bool mavlink_msg_gimbal_manager_pitchyaw_decode(const mavlink_command_long_t *command,
                                                mavlink_gimbal_manager_pitchyaw_t *out)
{
    const mavlink_command_long_t &c = *command;
    // The largest float below 2^32: the flags field is 32 bits wide.
    constexpr float flagsMax = 4294967040.0f;
    if (c.command != MAV_CMD_DO_GIMBAL_MANAGER_PITCHYAW || !is_finite_or_unset(c.param1) ||
        !is_finite_or_unset(c.param2) || !is_finite_or_unset(c.param3) ||
        !is_finite_or_unset(c.param4) || !is_whole_in(c.param5, 0, flagsMax) ||
        !is_whole_in(c.param7, 0, 255))
        return false;
    *out = {
        c.param1, c.param2, c.param3, c.param4, std::uint32_t(c.param5), std::uint8_t(c.param7)};
    return true;
}

std::uint16_t mavlink_msg_command_long_pack(std::uint8_t system_id, std::uint8_t component_id,
                                            mavlink_message_t *msg, std::uint8_t target_system,
                                            std::uint8_t target_component, std::uint16_t command,
                                            std::uint8_t confirmation, float param1, float param2,
                                            float param3, float param4, float param5, float param6,
                                            float param7)
{
    const mavlink_command_long_t packet{param1,        param2,           param3,      param4,
                                        param5,        param6,           param7,      command,
                                        target_system, target_component, confirmation};
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_COMMAND_LONG, packet,
                       MAVLINK_MSG_ID_COMMAND_LONG_LEN, MAVLINK_MSG_ID_COMMAND_LONG_CRC);
}

std::uint16_t mavlink_msg_command_ack_pack(std::uint8_t system_id, std::uint8_t component_id,
                                           mavlink_message_t *msg, std::uint8_t target_system,
                                           std::uint8_t target_component, std::uint16_t command,
                                           std::uint8_t result)
{
    mavlink_command_ack_t packet{};
    packet.command = command;
    packet.result = result;
    packet.target_system = target_system;
    packet.target_component = target_component;
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_COMMAND_ACK, packet,
                       MAVLINK_MSG_ID_COMMAND_ACK_MIN_LEN, MAVLINK_MSG_ID_COMMAND_ACK_CRC);
}

std::uint16_t mavlink_msg_gimbal_manager_configure_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, std::int16_t primary_sysid,
    std::int16_t primary_compid, std::int16_t secondary_sysid, std::int16_t secondary_compid,
    std::uint8_t gimbal_device_id)
{
    return mavlink_msg_command_long_pack(system_id, component_id, msg, target_system,
                                         target_component, MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE, 0,
                                         primary_sysid, primary_compid, secondary_sysid,
                                         secondary_compid, 0, 0, gimbal_device_id);
}

std::uint16_t mavlink_msg_gimbal_manager_pitchyaw_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, float pitch_deg, float yaw_deg,
    float pitch_rate_dps, float yaw_rate_dps, std::uint32_t flags, std::uint8_t gimbal_device_id)
{
    return mavlink_msg_command_long_pack(system_id, component_id, msg, target_system,
                                         target_component, MAV_CMD_DO_GIMBAL_MANAGER_PITCHYAW, 0,
                                         pitch_deg, yaw_deg, pitch_rate_dps, yaw_rate_dps,
                                         // Exact up to 2^24, far above the seven manager flags.
                                         float(flags), 0, gimbal_device_id);
}
