#include "param.h"

#include "record_codec.h"

#include <algorithm>

using mavlink_detail::decode_record;
using mavlink_detail::pack_record;

std::string_view mavlink_param_id_get(const char (&field)[MAVLINK_PARAM_ID_LEN])
{
    const char *end = std::find(field, field + MAVLINK_PARAM_ID_LEN, '\0');
    return std::string_view(field, static_cast<std::size_t>(end - field));
}

void mavlink_param_id_put(char (&field)[MAVLINK_PARAM_ID_LEN], std::string_view name)
{
    const std::size_t n = std::min(name.size(), MAVLINK_PARAM_ID_LEN);
    std::fill(std::copy_n(name.data(), n, field), field + MAVLINK_PARAM_ID_LEN, '\0');
}

mavlink_param_request_read_t mavlink_msg_param_request_read_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_param_request_read_t>(msg);
}

mavlink_param_request_list_t mavlink_msg_param_request_list_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_param_request_list_t>(msg);
}

mavlink_param_value_t mavlink_msg_param_value_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_param_value_t>(msg);
}

mavlink_param_set_t mavlink_msg_param_set_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_param_set_t>(msg);
}

std::uint64_t mavlink_msg_autopilot_version_get_capabilities(const mavlink_message_t *msg)
{
    return decode_record<mavlink_autopilot_version_t>(msg).capabilities;
}

std::uint16_t mavlink_msg_param_request_read_pack(std::uint8_t system_id, std::uint8_t component_id,
                                                  mavlink_message_t *msg,
                                                  std::uint8_t target_system,
                                                  std::uint8_t target_component,
                                                  std::string_view param_id,
                                                  std::int16_t param_index)
{
    mavlink_param_request_read_t packet{param_index, target_system, target_component, {}};
    mavlink_param_id_put(packet.param_id, param_id);
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_PARAM_REQUEST_READ, packet,
                       MAVLINK_MSG_ID_PARAM_REQUEST_READ_LEN,
                       MAVLINK_MSG_ID_PARAM_REQUEST_READ_CRC);
}

std::uint16_t mavlink_msg_param_request_list_pack(std::uint8_t system_id, std::uint8_t component_id,
                                                  mavlink_message_t *msg,
                                                  std::uint8_t target_system,
                                                  std::uint8_t target_component)
{
    const mavlink_param_request_list_t packet{target_system, target_component};
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_PARAM_REQUEST_LIST, packet,
                       MAVLINK_MSG_ID_PARAM_REQUEST_LIST_LEN,
                       MAVLINK_MSG_ID_PARAM_REQUEST_LIST_CRC);
}

std::uint16_t mavlink_msg_param_set_pack(std::uint8_t system_id, std::uint8_t component_id,
                                         mavlink_message_t *msg, std::uint8_t target_system,
                                         std::uint8_t target_component, std::string_view param_id,
                                         float param_value, std::uint8_t param_type)
{
    mavlink_param_set_t packet{param_value, target_system, target_component, {}, param_type};
    mavlink_param_id_put(packet.param_id, param_id);
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_PARAM_SET, packet,
                       MAVLINK_MSG_ID_PARAM_SET_LEN, MAVLINK_MSG_ID_PARAM_SET_CRC);
}

std::uint16_t mavlink_msg_param_value_pack(std::uint8_t system_id, std::uint8_t component_id,
                                           mavlink_message_t *msg,
                                           const mavlink_param_value_t *value)
{
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_PARAM_VALUE, *value,
                       MAVLINK_MSG_ID_PARAM_VALUE_LEN, MAVLINK_MSG_ID_PARAM_VALUE_CRC);
}
