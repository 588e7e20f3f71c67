#include "gimbal_v2.h"

#include "record_codec.h"

using mavlink_detail::decode_record;
using mavlink_detail::pack_record;

mavlink_gimbal_device_information_t
mavlink_msg_gimbal_device_information_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_gimbal_device_information_t>(msg);
}

mavlink_gimbal_device_set_attitude_t
mavlink_msg_gimbal_device_set_attitude_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_gimbal_device_set_attitude_t>(msg);
}

mavlink_gimbal_device_attitude_status_t
mavlink_msg_gimbal_device_attitude_status_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_gimbal_device_attitude_status_t>(msg);
}

std::uint16_t mavlink_msg_gimbal_device_set_attitude_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, std::uint16_t flags,
    const float q[4], float angular_velocity_x, float angular_velocity_y, float angular_velocity_z)
{
    const mavlink_gimbal_device_set_attitude_t packet{{q[0], q[1], q[2], q[3]},
                                                      angular_velocity_x,
                                                      angular_velocity_y,
                                                      angular_velocity_z,
                                                      flags,
                                                      target_system,
                                                      target_component};
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE,
                       packet, MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE_LEN,
                       MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE_CRC);
}

std::uint16_t mavlink_msg_gimbal_device_attitude_status_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    const mavlink_gimbal_device_attitude_status_t *status)
{
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS,
                       *status, MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS_MIN_LEN,
                       MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS_CRC);
}

std::uint16_t
mavlink_msg_gimbal_device_information_pack(std::uint8_t system_id, std::uint8_t component_id,
                                           mavlink_message_t *msg,
                                           const mavlink_gimbal_device_information_t *information)
{
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION,
                       *information, MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION_MIN_LEN,
                       MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION_CRC);
}
