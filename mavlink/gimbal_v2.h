// The gimbal protocol v2 between a panel and a gimbal device: the device's information (283), the
// attitude or rate demand sent to it (284) and the attitude status it reports (285), with their
// flags and the ids a device, an autopilot and a ground station use in their heartbeats.
#pragma once

#include "mavlink_types.h"

constexpr std::uint32_t MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION = 283;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION_MIN_LEN = 144;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION_LEN = 149;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION_CRC = 74;
constexpr std::uint32_t MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE = 284;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE_LEN = 32;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE_CRC = 99;
constexpr std::uint32_t MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS = 285;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS_MIN_LEN = 40;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS_LEN = 49;
constexpr std::uint8_t MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS_CRC = 137;

// Heartbeat types and component ids. An autopilot, which runs the gimbal manager of a vehicle,
// names its firmware in `autopilot` and the vehicle in `type`; anything else sends INVALID.
constexpr std::uint8_t MAV_TYPE_QUADROTOR = 2;
constexpr std::uint8_t MAV_TYPE_GCS = 6;
constexpr std::uint8_t MAV_TYPE_GIMBAL = 26;
constexpr std::uint8_t MAV_AUTOPILOT_ARDUPILOTMEGA = 3;
constexpr std::uint8_t MAV_AUTOPILOT_INVALID = 8;
constexpr std::uint8_t MAV_AUTOPILOT_PX4 = 12;
constexpr std::uint8_t MAV_COMP_ID_AUTOPILOT1 = 1;
constexpr std::uint8_t MAV_COMP_ID_GIMBAL = 154;
// The second to sixth gimbal on one system.
constexpr std::uint8_t MAV_COMP_ID_GIMBAL2 = 171;
constexpr std::uint8_t MAV_COMP_ID_GIMBAL6 = 175;

constexpr bool mavlink_is_gimbal_component(std::uint8_t component_id)
{
    return component_id == MAV_COMP_ID_GIMBAL ||
           (component_id >= MAV_COMP_ID_GIMBAL2 && component_id <= MAV_COMP_ID_GIMBAL6);
}

// How the device holds each axis and in which frame yaw is meant (flags of 284 and 285). Of the
// two frame flags at most one is set; with neither, YAW_LOCK means the earth frame.
enum GIMBAL_DEVICE_FLAGS : std::uint16_t {
    GIMBAL_DEVICE_FLAGS_RETRACT = 1,
    GIMBAL_DEVICE_FLAGS_NEUTRAL = 2,
    GIMBAL_DEVICE_FLAGS_ROLL_LOCK = 4,
    GIMBAL_DEVICE_FLAGS_PITCH_LOCK = 8,
    GIMBAL_DEVICE_FLAGS_YAW_LOCK = 16,
    GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME = 32,
    GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME = 64,
    // Reported by a device only.
    GIMBAL_DEVICE_FLAGS_ACCEPTS_YAW_IN_EARTH_FRAME = 128,
    GIMBAL_DEVICE_FLAGS_RC_EXCLUSIVE = 256,
    GIMBAL_DEVICE_FLAGS_RC_MIXED = 512,
};

// What the device can do (cap_flags of 283; cap_flags2 repeats them and adds the last two). A
// gimbal manager reports all of them in the cap_flags of 280.
enum GIMBAL_DEVICE_CAP_FLAGS : std::uint32_t {
    GIMBAL_DEVICE_CAP_FLAGS_HAS_RETRACT = 1,
    GIMBAL_DEVICE_CAP_FLAGS_HAS_NEUTRAL = 2,
    GIMBAL_DEVICE_CAP_FLAGS_HAS_ROLL_AXIS = 4,
    GIMBAL_DEVICE_CAP_FLAGS_HAS_ROLL_FOLLOW = 8,
    GIMBAL_DEVICE_CAP_FLAGS_HAS_ROLL_LOCK = 16,
    GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_AXIS = 32,
    GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_FOLLOW = 64,
    GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_LOCK = 128,
    GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_AXIS = 256,
    GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_FOLLOW = 512,
    GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_LOCK = 1024,
    GIMBAL_DEVICE_CAP_FLAGS_SUPPORTS_INFINITE_YAW = 2048,
    GIMBAL_DEVICE_CAP_FLAGS_SUPPORTS_YAW_IN_EARTH_FRAME = 4096,
    GIMBAL_DEVICE_CAP_FLAGS_HAS_RC_INPUTS = 8192,
    GIMBAL_DEVICE_CAP_FLAGS_CAN_POINT_LOCATION_LOCAL = 65536,
    GIMBAL_DEVICE_CAP_FLAGS_CAN_POINT_LOCATION_GLOBAL = 131072,
};

// failure_flags of 285.
enum GIMBAL_DEVICE_ERROR_FLAGS : std::uint32_t {
    GIMBAL_DEVICE_ERROR_FLAGS_AT_ROLL_LIMIT = 1,
    GIMBAL_DEVICE_ERROR_FLAGS_AT_PITCH_LIMIT = 2,
    GIMBAL_DEVICE_ERROR_FLAGS_AT_YAW_LIMIT = 4,
    GIMBAL_DEVICE_ERROR_FLAGS_ENCODER_ERROR = 8,
    GIMBAL_DEVICE_ERROR_FLAGS_POWER_ERROR = 16,
    GIMBAL_DEVICE_ERROR_FLAGS_MOTOR_ERROR = 32,
    GIMBAL_DEVICE_ERROR_FLAGS_SOFTWARE_ERROR = 64,
    GIMBAL_DEVICE_ERROR_FLAGS_COMMS_ERROR = 128,
    GIMBAL_DEVICE_ERROR_FLAGS_CALIBRATION_RUNNING = 256,
    GIMBAL_DEVICE_ERROR_FLAGS_NO_MANAGER = 512,
};

#pragma pack(push, 1)
struct mavlink_gimbal_device_information_t
{
    std::uint64_t uid;
    std::uint32_t time_boot_ms;
    // major in the lowest byte, then minor, patch and dev.
    std::uint32_t firmware_version;
    std::uint32_t hardware_version;
    // Angle limits in rad, NaN where unknown.
    float roll_min;
    float roll_max;
    float pitch_min;
    float pitch_max;
    float yaw_min;
    float yaw_max;
    std::uint16_t cap_flags;
    std::uint16_t custom_cap_flags;
    // Zero-terminated unless all 32 bytes are used.
    char vendor_name[32];
    char model_name[32];
    char custom_name[32];
    // Extension fields.
    std::uint8_t gimbal_device_id;
    std::uint32_t cap_flags2;
};

struct mavlink_gimbal_device_set_attitude_t
{
    // w, x, y, z; all NaN for no attitude demand (rate control).
    float q[4];
    // rad/s, NaN for none.
    float angular_velocity_x;
    float angular_velocity_y;
    float angular_velocity_z;
    std::uint16_t flags;
    std::uint8_t target_system;
    std::uint8_t target_component;
};

struct mavlink_gimbal_device_attitude_status_t
{
    std::uint32_t time_boot_ms;
    // w, x, y, z, in the frame the yaw frame flag names.
    float q[4];
    float angular_velocity_x;
    float angular_velocity_y;
    float angular_velocity_z;
    std::uint32_t failure_flags;
    std::uint16_t flags;
    std::uint8_t target_system;
    std::uint8_t target_component;
    // Extension fields. The vehicle's yaw in the earth frame: q_earth = q(delta_yaw) * q_vehicle.
    float delta_yaw;
    float delta_yaw_velocity;
    std::uint8_t gimbal_device_id;
};
#pragma pack(pop)

static_assert(sizeof(mavlink_gimbal_device_information_t) ==
              MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION_LEN);
static_assert(sizeof(mavlink_gimbal_device_set_attitude_t) ==
              MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE_LEN);
static_assert(sizeof(mavlink_gimbal_device_attitude_status_t) ==
              MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS_LEN);

// Each copies the first min(len, record size) payload bytes into a zeroed record, so that a
// payload cut short by its sender, or one without the extension fields, reads as zeros there.
mavlink_gimbal_device_information_t
mavlink_msg_gimbal_device_information_decode(const mavlink_message_t *msg);
mavlink_gimbal_device_set_attitude_t
mavlink_msg_gimbal_device_set_attitude_decode(const mavlink_message_t *msg);
mavlink_gimbal_device_attitude_status_t
mavlink_msg_gimbal_device_attitude_status_decode(const mavlink_message_t *msg);

// Fill `msg` and finalise it on the link's channel status, which hands out the transmit sequence;
// trailing zero bytes are cut off. Return the frame length.
std::uint16_t mavlink_msg_gimbal_device_set_attitude_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, std::uint16_t flags,
    const float q[4], float angular_velocity_x, float angular_velocity_y, float angular_velocity_z);
std::uint16_t mavlink_msg_gimbal_device_attitude_status_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    const mavlink_gimbal_device_attitude_status_t *status);
std::uint16_t
mavlink_msg_gimbal_device_information_pack(std::uint8_t system_id, std::uint8_t component_id,
                                           mavlink_message_t *msg,
                                           const mavlink_gimbal_device_information_t *information);
