#include "gimbal_manager.h"

#include "record_codec.h"

using mavlink_detail::decode_record;
using mavlink_detail::pack_record;

namespace {
// 287 and 288 share one layout and differ in id and seed byte only.
std::uint16_t pack_pitchyaw_layout(std::uint8_t system_id, std::uint8_t component_id,
                                   mavlink_message_t *msg, std::uint32_t msgid, std::uint8_t length,
                                   std::uint8_t crc_extra, std::uint8_t target_system,
                                   std::uint8_t target_component, std::uint32_t flags,
                                   std::uint8_t gimbal_device_id, float pitch, float yaw,
                                   float pitch_rate, float yaw_rate)
{
    const mavlink_gimbal_manager_set_pitchyaw_t packet{
        flags, pitch, yaw, pitch_rate, yaw_rate, target_system, target_component, gimbal_device_id};
    return pack_record(msg, system_id, component_id, msgid, packet, length, crc_extra);
}
} // namespace

mavlink_gimbal_manager_information_t
mavlink_msg_gimbal_manager_information_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_gimbal_manager_information_t>(msg);
}

mavlink_gimbal_manager_status_t
mavlink_msg_gimbal_manager_status_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_gimbal_manager_status_t>(msg);
}

mavlink_gimbal_manager_set_attitude_t
mavlink_msg_gimbal_manager_set_attitude_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_gimbal_manager_set_attitude_t>(msg);
}

mavlink_gimbal_manager_set_pitchyaw_t
mavlink_msg_gimbal_manager_set_pitchyaw_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_gimbal_manager_set_pitchyaw_t>(msg);
}

mavlink_gimbal_manager_set_manual_control_t
mavlink_msg_gimbal_manager_set_manual_control_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_gimbal_manager_set_manual_control_t>(msg);
}

std::uint16_t
mavlink_msg_gimbal_manager_information_pack(std::uint8_t system_id, std::uint8_t component_id,
                                            mavlink_message_t *msg,
                                            const mavlink_gimbal_manager_information_t *information)
{
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION,
                       *information, MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION_LEN,
                       MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION_CRC);
}

std::uint16_t mavlink_msg_gimbal_manager_status_pack(std::uint8_t system_id,
                                                     std::uint8_t component_id,
                                                     mavlink_message_t *msg,
                                                     const mavlink_gimbal_manager_status_t *status)
{
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS, *status,
                       MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS_LEN,
                       MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS_CRC);
}

std::uint16_t mavlink_msg_gimbal_manager_set_attitude_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, std::uint32_t flags,
    std::uint8_t gimbal_device_id, const float q[4], float angular_velocity_x,
    float angular_velocity_y, float angular_velocity_z)
{
    const mavlink_gimbal_manager_set_attitude_t packet{flags,
                                                       {q[0], q[1], q[2], q[3]},
                                                       angular_velocity_x,
                                                       angular_velocity_y,
                                                       angular_velocity_z,
                                                       target_system,
                                                       target_component,
                                                       gimbal_device_id};
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_ATTITUDE,
                       packet, MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_ATTITUDE_LEN,
                       MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_ATTITUDE_CRC);
}

std::uint16_t mavlink_msg_gimbal_manager_set_pitchyaw_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, std::uint32_t flags,
    std::uint8_t gimbal_device_id, float pitch, float yaw, float pitch_rate, float yaw_rate)
{
    return pack_pitchyaw_layout(
        system_id, component_id, msg, MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW,
        MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW_LEN,
        MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW_CRC, target_system, target_component, flags,
        gimbal_device_id, pitch, yaw, pitch_rate, yaw_rate);
}

std::uint16_t mavlink_msg_gimbal_manager_set_manual_control_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, std::uint32_t flags,
    std::uint8_t gimbal_device_id, float pitch, float yaw, float pitch_rate, float yaw_rate)
{
    return pack_pitchyaw_layout(
        system_id, component_id, msg, MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_MANUAL_CONTROL,
        MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_MANUAL_CONTROL_LEN,
        MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_MANUAL_CONTROL_CRC, target_system, target_component,
        flags, gimbal_device_id, pitch, yaw, pitch_rate, yaw_rate);
}
