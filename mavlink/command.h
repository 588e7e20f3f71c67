// COMMAND_LONG (76) and COMMAND_ACK (77): how the tool asks a gimbal device or an autopilot for a
// message, takes or gives up control of a gimbal manager and moves its gimbal once, and how they
// answer.
#pragma once

#include "mavlink_types.h"

constexpr std::uint32_t MAVLINK_MSG_ID_COMMAND_LONG = 76;
constexpr std::uint8_t MAVLINK_MSG_ID_COMMAND_LONG_LEN = 33;
constexpr std::uint8_t MAVLINK_MSG_ID_COMMAND_LONG_CRC = 152;
constexpr std::uint32_t MAVLINK_MSG_ID_COMMAND_ACK = 77;
// Base fields only; the full length adds the extension fields.
constexpr std::uint8_t MAVLINK_MSG_ID_COMMAND_ACK_MIN_LEN = 3;
constexpr std::uint8_t MAVLINK_MSG_ID_COMMAND_ACK_LEN = 10;
constexpr std::uint8_t MAVLINK_MSG_ID_COMMAND_ACK_CRC = 143;

// param1 is the id of the message wanted, param7 0 its default target.
constexpr std::uint16_t MAV_CMD_REQUEST_MESSAGE = 512;
// A one-off move of a managed gimbal; streams of set points go in GIMBAL_MANAGER_SET_PITCHYAW.
constexpr std::uint16_t MAV_CMD_DO_GIMBAL_MANAGER_PITCHYAW = 1000;
// Who has primary and secondary control of a gimbal manager. Sent once to take control and once to
// give it up; the manager ignores set points from anyone not in control.
constexpr std::uint16_t MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE = 1001;

// Control ids of MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE other than a real system or component id and
// 0 for nobody.
constexpr std::int16_t GIMBAL_MANAGER_CONTROL_UNCHANGED = -1;
constexpr std::int16_t GIMBAL_MANAGER_CONTROL_SENDER = -2;
// Removes the sender if it is in control and leaves anyone else in control.
constexpr std::int16_t GIMBAL_MANAGER_CONTROL_RELEASE_SENDER = -3;

enum MAV_RESULT : std::uint8_t {
    MAV_RESULT_ACCEPTED = 0,
    MAV_RESULT_TEMPORARILY_REJECTED = 1,
    MAV_RESULT_DENIED = 2,
    MAV_RESULT_UNSUPPORTED = 3,
    MAV_RESULT_FAILED = 4,
};

#pragma pack(push, 1)
struct mavlink_command_long_t
{
    float param1;
    float param2;
    float param3;
    float param4;
    float param5;
    float param6;
    float param7;
    std::uint16_t command;
    std::uint8_t target_system;
    std::uint8_t target_component;
    std::uint8_t confirmation;
};

struct mavlink_command_ack_t
{
    std::uint16_t command;
    std::uint8_t result;
    // Extension fields.
    std::uint8_t progress;
    std::int32_t result_param2;
    std::uint8_t target_system;
    std::uint8_t target_component;
};

// The parameters of MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE (param1 to param4, param7).
struct mavlink_gimbal_manager_configure_t
{
    std::int16_t primary_sysid;
    std::int16_t primary_compid;
    std::int16_t secondary_sysid;
    std::int16_t secondary_compid;
    // 0 for every gimbal of the manager.
    std::uint8_t gimbal_device_id;
};

// The parameters of MAV_CMD_DO_GIMBAL_MANAGER_PITCHYAW (param1 to param5, param7); NaN where unset.
struct mavlink_gimbal_manager_pitchyaw_t
{
    float pitch_deg;
    float yaw_deg;
    float pitch_rate_dps;
    float yaw_rate_dps;
    // GIMBAL_MANAGER_FLAGS.
    std::uint32_t flags;
    std::uint8_t gimbal_device_id;
};
#pragma pack(pop)

static_assert(sizeof(mavlink_command_long_t) == MAVLINK_MSG_ID_COMMAND_LONG_LEN);
static_assert(sizeof(mavlink_command_ack_t) == MAVLINK_MSG_ID_COMMAND_ACK_LEN);

// Each copies the first min(len, record size) payload bytes into a zeroed record.
mavlink_command_long_t mavlink_msg_command_long_decode(const mavlink_message_t *msg);
mavlink_command_ack_t mavlink_msg_command_ack_decode(const mavlink_message_t *msg);

// Read the parameters of a gimbal manager command out of a decoded COMMAND_LONG. Return false,
// leaving `out` as it was, when the command is another one or a parameter cannot be what it
// names: an id that is not a whole number from -3 (device ids: 0) to 255, flags that are not a
// whole number from 0, an infinite angle or rate. An autopilot rejects such a command.
bool mavlink_msg_gimbal_manager_configure_decode(const mavlink_command_long_t *command,
                                                 mavlink_gimbal_manager_configure_t *out);
bool mavlink_msg_gimbal_manager_pitchyaw_decode(const mavlink_command_long_t *command,
                                                mavlink_gimbal_manager_pitchyaw_t *out);

// Fill `msg` and finalise it on the link's channel status, which hands out the transmit sequence.
// Return the frame length.
std::uint16_t mavlink_msg_command_long_pack(std::uint8_t system_id, std::uint8_t component_id,
                                            mavlink_message_t *msg, std::uint8_t target_system,
                                            std::uint8_t target_component, std::uint16_t command,
                                            std::uint8_t confirmation, float param1, float param2,
                                            float param3, float param4, float param5, float param6,
                                            float param7);
// An answer to `command` from (target_system, target_component); progress and result_param2 stay 0.
std::uint16_t mavlink_msg_command_ack_pack(std::uint8_t system_id, std::uint8_t component_id,
                                           mavlink_message_t *msg, std::uint8_t target_system,
                                           std::uint8_t target_component, std::uint16_t command,
                                           std::uint8_t result);
// The gimbal manager commands as COMMAND_LONG to (target_system, target_component), the autopilot
// that runs the manager; confirmation 0, the unused parameters 0.
std::uint16_t mavlink_msg_gimbal_manager_configure_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, std::int16_t primary_sysid,
    std::int16_t primary_compid, std::int16_t secondary_sysid, std::int16_t secondary_compid,
    std::uint8_t gimbal_device_id);
std::uint16_t mavlink_msg_gimbal_manager_pitchyaw_pack(
    std::uint8_t system_id, std::uint8_t component_id, mavlink_message_t *msg,
    std::uint8_t target_system, std::uint8_t target_component, float pitch_deg, float yaw_deg,
    float pitch_rate_dps, float yaw_rate_dps, std::uint32_t flags, std::uint8_t gimbal_device_id);
