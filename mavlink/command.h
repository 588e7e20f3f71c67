// COMMAND_LONG (76) and COMMAND_ACK (77): how the tool asks a gimbal device for a message, and
// how the device answers.
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
#pragma pack(pop)

static_assert(sizeof(mavlink_command_long_t) == MAVLINK_MSG_ID_COMMAND_LONG_LEN);
static_assert(sizeof(mavlink_command_ack_t) == MAVLINK_MSG_ID_COMMAND_ACK_LEN);

// Each copies the first min(len, record size) payload bytes into a zeroed record.
mavlink_command_long_t mavlink_msg_command_long_decode(const mavlink_message_t *msg);
mavlink_command_ack_t mavlink_msg_command_ack_decode(const mavlink_message_t *msg);

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
