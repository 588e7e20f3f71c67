// The gimbal manager that an autopilot runs for the gimbal devices wired to it: what it manages
// (280) and who controls it (281), reported by the autopilot, and the set points a panel in
// control sends it (282, 287, 288). The panel never commands such a device directly.
#pragma once

#include "gimbal_v2.h"
#include "mavlink_types.h"

constexpr std::uint32_t MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION = 280;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION_LEN = 33;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION_CRC = 70;
constexpr std::uint32_t MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS = 281;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS_LEN = 13;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS_CRC = 48;
constexpr std::uint32_t MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_ATTITUDE = 282;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_ATTITUDE_LEN = 35;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_ATTITUDE_CRC = 123;
constexpr std::uint32_t MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW = 287;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW_LEN = 23;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW_CRC = 1;
constexpr std::uint32_t MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_MANUAL_CONTROL = 288;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_MANUAL_CONTROL_LEN = 23;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_MANUAL_CONTROL_CRC = 20;

// flags of 281, 282, 287 and 288: the low bits of GIMBAL_DEVICE_FLAGS, with the same meaning.
enum GIMBAL_MANAGER_FLAGS : std::uint32_t {
    GIMBAL_MANAGER_FLAGS_RETRACT = 1,
    GIMBAL_MANAGER_FLAGS_NEUTRAL = 2,
    GIMBAL_MANAGER_FLAGS_ROLL_LOCK = 4,
    GIMBAL_MANAGER_FLAGS_PITCH_LOCK = 8,
    GIMBAL_MANAGER_FLAGS_YAW_LOCK = 16,
    GIMBAL_MANAGER_FLAGS_YAW_IN_VEHICLE_FRAME = 32,
    GIMBAL_MANAGER_FLAGS_YAW_IN_EARTH_FRAME = 64,
};

#pragma pack(push, 1)
struct mavlink_gimbal_manager_information_t
{
    std::uint32_t time_boot_ms;
    // GIMBAL_DEVICE_CAP_FLAGS, the two point-location bits included.
    std::uint32_t cap_flags;
    // Angle limits in rad.
    float roll_min;
    float roll_max;
    float pitch_min;
    float pitch_max;
    float yaw_min;
    float yaw_max;
    std::uint8_t gimbal_device_id;
};

struct mavlink_gimbal_manager_status_t
{
    std::uint32_t time_boot_ms;
    std::uint32_t flags;
    std::uint8_t gimbal_device_id;
    // System and component ids of who is in control; 0 for nobody.
    std::uint8_t primary_control_sysid;
    std::uint8_t primary_control_compid;
    std::uint8_t secondary_control_sysid;
    std::uint8_t secondary_control_compid;
};

struct mavlink_gimbal_manager_set_attitude_t
{
    std::uint32_t flags;
    // w, x, y, z; all NaN for no attitude demand (rate control).
    float q[4];
    // rad/s, NaN for none.
    float angular_velocity_x;
    float angular_velocity_y;
    float angular_velocity_z;
    std::uint8_t target_system;
    std::uint8_t target_component;
    // 0 for every gimbal of the manager.
    std::uint8_t gimbal_device_id;
};

// Angles in rad and rates in rad/s, NaN where unset: rate control leaves the angles NaN, and a
// move of one axis leaves the other's angle and rate NaN so that it stays where it is.
struct mavlink_gimbal_manager_set_pitchyaw_t
{
    std::uint32_t flags;
    float pitch;
    float yaw;
    float pitch_rate;
    float yaw_rate;
    std::uint8_t target_system;
    std::uint8_t target_component;
    // 0 for every gimbal of the manager.
    std::uint8_t gimbal_device_id;
};
#pragma pack(pop)

// The layout of 287 with values from -1 to 1 in place of angles and rates: the manager scales them
// to its own maximum rates.
using mavlink_gimbal_manager_set_manual_control_t = mavlink_gimbal_manager_set_pitchyaw_t;

static_assert(sizeof(mavlink_gimbal_manager_information_t) ==
              MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION_LEN);
static_assert(sizeof(mavlink_gimbal_manager_status_t) == MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS_LEN);
static_assert(sizeof(mavlink_gimbal_manager_set_attitude_t) ==
              MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_ATTITUDE_LEN);
static_assert(sizeof(mavlink_gimbal_manager_set_pitchyaw_t) ==
              MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW_LEN);
static_assert(sizeof(mavlink_gimbal_manager_set_manual_control_t) ==
              MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_MANUAL_CONTROL_LEN);

// Each copies the first min(len, record size) payload bytes into a zeroed record, so that a
// payload cut short by its sender reads as zeros there.
mavlink_gimbal_manager_information_t
mavlink_msg_gimbal_manager_information_decode(const mavlink_message_t *msg);
mavlink_gimbal_manager_status_t
mavlink_msg_gimbal_manager_status_decode(const mavlink_message_t *msg);
mavlink_gimbal_manager_set_attitude_t
mavlink_msg_gimbal_manager_set_attitude_decode(const mavlink_message_t *msg);
mavlink_gimbal_manager_set_pitchyaw_t
mavlink_msg_gimbal_manager_set_pitchyaw_decode(const mavlink_message_t *msg);
mavlink_gimbal_manager_set_manual_control_t
mavlink_msg_gimbal_manager_set_manual_control_decode(const mavlink_message_t *msg);

// Fill `msg` and finalise it on the link's channel status, which hands out the transmit sequence;
// trailing zero bytes are cut off. Return the frame length.
// What an autopilot reports:
std::uint16_t mavlink_msg_gimbal_manager_information_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    const mavlink_gimbal_manager_information_t *information);
std::uint16_t mavlink_msg_gimbal_manager_status_pack(std::uint8_t system_id,
                                                     std::uint8_t component_id,
                                                     mavlink_message_t *msg,
                                                     const mavlink_gimbal_manager_status_t *status);
// What a panel in control sends:
std::uint16_t mavlink_msg_gimbal_manager_set_attitude_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, std::uint32_t flags,
    std::uint8_t gimbal_device_id, const float q[4], float angular_velocity_x,
    float angular_velocity_y, float angular_velocity_z);
std::uint16_t mavlink_msg_gimbal_manager_set_pitchyaw_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, std::uint32_t flags,
    std::uint8_t gimbal_device_id, float pitch, float yaw, float pitch_rate, float yaw_rate);
std::uint16_t mavlink_msg_gimbal_manager_set_manual_control_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, std::uint32_t flags,
    std::uint8_t gimbal_device_id, float pitch, float yaw, float pitch_rate, float yaw_rate);
