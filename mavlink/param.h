// The parameter protocol: reading one parameter (20) or all of them (21), the component's
// PARAM_VALUE (22) and writing one (23); the parameter types; and AUTOPILOT_VERSION (148), whose
// capabilities word says how a component puts an integer into a float field.
#pragma once

#include "mavlink_types.h"

#include <cstddef>
#include <string_view>

constexpr std::uint32_t MAVLINK_MSG_ID_PARAM_REQUEST_READ = 20;
constexpr std::uint8_t MAVLINK_MSG_ID_PARAM_REQUEST_READ_LEN = 20;
constexpr std::uint8_t MAVLINK_MSG_ID_PARAM_REQUEST_READ_CRC = 214;
constexpr std::uint32_t MAVLINK_MSG_ID_PARAM_REQUEST_LIST = 21;
constexpr std::uint8_t MAVLINK_MSG_ID_PARAM_REQUEST_LIST_LEN = 2;
constexpr std::uint8_t MAVLINK_MSG_ID_PARAM_REQUEST_LIST_CRC = 159;
constexpr std::uint32_t MAVLINK_MSG_ID_PARAM_VALUE = 22;
constexpr std::uint8_t MAVLINK_MSG_ID_PARAM_VALUE_LEN = 25;
constexpr std::uint8_t MAVLINK_MSG_ID_PARAM_VALUE_CRC = 220;
constexpr std::uint32_t MAVLINK_MSG_ID_PARAM_SET = 23;
constexpr std::uint8_t MAVLINK_MSG_ID_PARAM_SET_LEN = 23;
constexpr std::uint8_t MAVLINK_MSG_ID_PARAM_SET_CRC = 168;
constexpr std::uint32_t MAVLINK_MSG_ID_AUTOPILOT_VERSION = 148;
constexpr std::uint8_t MAVLINK_MSG_ID_AUTOPILOT_VERSION_LEN = 78;
constexpr std::uint8_t MAVLINK_MSG_ID_AUTOPILOT_VERSION_CRC = 178;

// A parameter's name field: NUL-terminated only when the name is shorter.
constexpr std::size_t MAVLINK_PARAM_ID_LEN = 16;
// param_index of a read by name.
constexpr std::int16_t MAVLINK_PARAM_INDEX_BY_NAME = -1;

enum MAV_PARAM_TYPE : std::uint8_t {
    MAV_PARAM_TYPE_UINT8 = 1,
    MAV_PARAM_TYPE_INT8 = 2,
    MAV_PARAM_TYPE_UINT16 = 3,
    MAV_PARAM_TYPE_INT16 = 4,
    MAV_PARAM_TYPE_UINT32 = 5,
    MAV_PARAM_TYPE_INT32 = 6,
    MAV_PARAM_TYPE_UINT64 = 7,
    MAV_PARAM_TYPE_INT64 = 8,
    MAV_PARAM_TYPE_REAL32 = 9,
    MAV_PARAM_TYPE_REAL64 = 10,
};

// The capability bits of AUTOPILOT_VERSION that name the parameter encoding.
constexpr std::uint64_t MAV_PROTOCOL_CAPABILITY_PARAM_ENCODE_BYTEWISE = 16;
constexpr std::uint64_t MAV_PROTOCOL_CAPABILITY_PARAM_ENCODE_C_CAST = 131072;

#pragma pack(push, 1)
struct mavlink_param_request_read_t
{
    std::int16_t param_index;
    std::uint8_t target_system;
    std::uint8_t target_component;
    char param_id[MAVLINK_PARAM_ID_LEN];
};

struct mavlink_param_request_list_t
{
    std::uint8_t target_system;
    std::uint8_t target_component;
};

struct mavlink_param_value_t
{
    float param_value;
    std::uint16_t param_count;
    std::uint16_t param_index;
    char param_id[MAVLINK_PARAM_ID_LEN];
    std::uint8_t param_type;
};

struct mavlink_param_set_t
{
    float param_value;
    std::uint8_t target_system;
    std::uint8_t target_component;
    char param_id[MAVLINK_PARAM_ID_LEN];
    std::uint8_t param_type;
};

struct mavlink_autopilot_version_t
{
    std::uint64_t capabilities;
    std::uint64_t uid;
    std::uint32_t flight_sw_version;
    std::uint32_t middleware_sw_version;
    std::uint32_t os_sw_version;
    std::uint32_t board_version;
    std::uint16_t vendor_id;
    std::uint16_t product_id;
    std::uint8_t flight_custom_version[8];
    std::uint8_t middleware_custom_version[8];
    std::uint8_t os_custom_version[8];
    std::uint8_t uid2[18];
};
#pragma pack(pop)

static_assert(sizeof(mavlink_param_request_read_t) == MAVLINK_MSG_ID_PARAM_REQUEST_READ_LEN);
static_assert(sizeof(mavlink_param_request_list_t) == MAVLINK_MSG_ID_PARAM_REQUEST_LIST_LEN);
static_assert(sizeof(mavlink_param_value_t) == MAVLINK_MSG_ID_PARAM_VALUE_LEN);
static_assert(sizeof(mavlink_param_set_t) == MAVLINK_MSG_ID_PARAM_SET_LEN);
static_assert(sizeof(mavlink_autopilot_version_t) == MAVLINK_MSG_ID_AUTOPILOT_VERSION_LEN);

// The name in a param_id field: up to its first NUL, at most all 16 bytes.
std::string_view mavlink_param_id_get(const char (&field)[MAVLINK_PARAM_ID_LEN]);
// Puts `name` into a param_id field, NUL-padded; a name longer than 16 bytes is cut to 16.
void mavlink_param_id_put(char (&field)[MAVLINK_PARAM_ID_LEN], std::string_view name);

// Each copies the first min(len, record size) payload bytes into a zeroed record.
mavlink_param_request_read_t mavlink_msg_param_request_read_decode(const mavlink_message_t *msg);
mavlink_param_request_list_t mavlink_msg_param_request_list_decode(const mavlink_message_t *msg);
mavlink_param_value_t mavlink_msg_param_value_decode(const mavlink_message_t *msg);
mavlink_param_set_t mavlink_msg_param_set_decode(const mavlink_message_t *msg);
// The capabilities word (MAV_PROTOCOL_CAPABILITY bits) of an AUTOPILOT_VERSION, the only field
// the tool reads.
std::uint64_t mavlink_msg_autopilot_version_get_capabilities(const mavlink_message_t *msg);

// Fill `msg` and finalise it on the link's channel status, which hands out the transmit sequence;
// trailing zero bytes are cut off. Return the frame length. `param_id` is put as
// mavlink_param_id_put() does.
std::uint16_t mavlink_msg_param_request_read_pack(std::uint8_t system_id, std::uint8_t component_id,
                                                  mavlink_message_t *msg,
                                                  std::uint8_t target_system,
                                                  std::uint8_t target_component,
                                                  std::string_view param_id,
                                                  std::int16_t param_index);
std::uint16_t mavlink_msg_param_request_list_pack(std::uint8_t system_id, std::uint8_t component_id,
                                                  mavlink_message_t *msg,
                                                  std::uint8_t target_system,
                                                  std::uint8_t target_component);
std::uint16_t mavlink_msg_param_set_pack(std::uint8_t system_id, std::uint8_t component_id,
                                         mavlink_message_t *msg, std::uint8_t target_system,
                                         std::uint8_t target_component, std::string_view param_id,
                                         float param_value, std::uint8_t param_type);
std::uint16_t mavlink_msg_param_value_pack(std::uint8_t system_id, std::uint8_t component_id,
                                           mavlink_message_t *msg,
                                           const mavlink_param_value_t *value);
