// Payload layouts and the decode and pack operations of the messages of the report protocol:
// HEARTBEAT (0) and GIMBAL_REPORT (200) arrive from the gimbal, GIMBAL_CONTROL (201) is sent; the
// tool also sends a ground station's HEARTBEAT to wake devices that wait for one.
#pragma once

#include "mavlink_types.h"

constexpr std::uint32_t MAVLINK_MSG_ID_HEARTBEAT = 0;
constexpr std::uint8_t MAVLINK_MSG_ID_HEARTBEAT_LEN = 9;
constexpr std::uint8_t MAVLINK_MSG_ID_HEARTBEAT_CRC = 50;
constexpr std::uint32_t MAVLINK_MSG_ID_GIMBAL_REPORT = 200;
constexpr std::uint32_t MAVLINK_MSG_ID_GIMBAL_CONTROL = 201;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_CONTROL_LEN = 14;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_CONTROL_CRC = 205;

#pragma pack(push, 1)
struct mavlink_heartbeat_t
{
    std::uint32_t custom_mode;
    std::uint8_t type;
    std::uint8_t autopilot;
    std::uint8_t base_mode;
    std::uint8_t system_status;
    std::uint8_t mavlink_version;
};

struct mavlink_gimbal_report_t
{
    float delta_time;
    float delta_angle_x;
    float delta_angle_y;
    float delta_angle_z;
    float delta_velocity_x;
    float delta_velocity_y;
    float delta_velocity_z;
    float joint_roll;
    float joint_el;
    float joint_az;
    std::uint8_t target_system;
    std::uint8_t target_component;
};

struct mavlink_gimbal_control_t
{
    float demanded_rate_x;
    float demanded_rate_y;
    float demanded_rate_z;
    std::uint8_t target_system;
    std::uint8_t target_component;
};
#pragma pack(pop)

static_assert(sizeof(mavlink_heartbeat_t) == MAVLINK_MSG_ID_HEARTBEAT_LEN);
static_assert(sizeof(mavlink_gimbal_report_t) == 42);
static_assert(sizeof(mavlink_gimbal_control_t) == MAVLINK_MSG_ID_GIMBAL_CONTROL_LEN);

// Each copies the first min(len, record size) payload bytes into a zeroed record.
mavlink_heartbeat_t mavlink_msg_heartbeat_decode(const mavlink_message_t *msg);
mavlink_gimbal_report_t mavlink_msg_gimbal_report_decode(const mavlink_message_t *msg);

// Fills `msg` with a GIMBAL_CONTROL and finalises it on the link's channel status, which hands
// out the transmit sequence. Returns the frame length.
std::uint16_t mavlink_msg_gimbal_control_pack(std::uint8_t system_id, std::uint8_t component_id,
                                              mavlink_message_t *msg, std::uint8_t target_system,
                                              std::uint8_t target_component, float demanded_rate_x,
                                              float demanded_rate_y, float demanded_rate_z);

// Fills `msg` with a HEARTBEAT of the given fields and MAVLink version 3, finalised as above.
std::uint16_t mavlink_msg_heartbeat_pack(std::uint8_t system_id, std::uint8_t component_id,
                                         mavlink_message_t *msg, std::uint8_t type,
                                         std::uint8_t autopilot, std::uint8_t base_mode,
                                         std::uint32_t custom_mode, std::uint8_t system_status);
