#include "messages.h"

#include "record_codec.h"

using mavlink_detail::decode_record;
using mavlink_detail::pack_record;

mavlink_heartbeat_t mavlink_msg_heartbeat_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_heartbeat_t>(msg);
}

mavlink_gimbal_report_t mavlink_msg_gimbal_report_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_gimbal_report_t>(msg);
}

std::uint16_t mavlink_msg_gimbal_control_pack(std::uint8_t system_id, std::uint8_t component_id,
                                              mavlink_message_t *msg, std::uint8_t target_system,
                                              std::uint8_t target_component, float demanded_rate_x,
                                              float demanded_rate_y, float demanded_rate_z)
{
    const mavlink_gimbal_control_t packet{demanded_rate_x, demanded_rate_y, demanded_rate_z,
                                          target_system, target_component};
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_GIMBAL_CONTROL, packet,
                       MAVLINK_MSG_ID_GIMBAL_CONTROL_LEN, MAVLINK_MSG_ID_GIMBAL_CONTROL_CRC);
}

std::uint16_t mavlink_msg_heartbeat_pack(std::uint8_t system_id, std::uint8_t component_id,
                                         mavlink_message_t *msg, std::uint8_t type,
                                         std::uint8_t autopilot, std::uint8_t base_mode,
                                         std::uint32_t custom_mode, std::uint8_t system_status)
{
    constexpr std::uint8_t mavlinkVersion = 3;
    const mavlink_heartbeat_t packet{custom_mode, type,          autopilot,
                                     base_mode,   system_status, mavlinkVersion};
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_HEARTBEAT, packet,
                       MAVLINK_MSG_ID_HEARTBEAT_LEN, MAVLINK_MSG_ID_HEARTBEAT_CRC);
}
