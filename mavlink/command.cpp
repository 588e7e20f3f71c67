#include "command.h"

#include "record_codec.h"

using mavlink_detail::decode_record;
using mavlink_detail::pack_record;

mavlink_command_long_t mavlink_msg_command_long_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_command_long_t>(msg);
}

mavlink_command_ack_t mavlink_msg_command_ack_decode(const mavlink_message_t *msg)
{
    return decode_record<mavlink_command_ack_t>(msg);
}

std::uint16_t mavlink_msg_command_long_pack(std::uint8_t system_id, std::uint8_t component_id,
                                            mavlink_message_t *msg, std::uint8_t target_system,
                                            std::uint8_t target_component, std::uint16_t command,
                                            std::uint8_t confirmation, float param1, float param2,
                                            float param3, float param4, float param5, float param6,
                                            float param7)
{
    const mavlink_command_long_t packet{param1,        param2,           param3,      param4,
                                        param5,        param6,           param7,      command,
                                        target_system, target_component, confirmation};
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_COMMAND_LONG, packet,
                       MAVLINK_MSG_ID_COMMAND_LONG_LEN, MAVLINK_MSG_ID_COMMAND_LONG_CRC);
}

std::uint16_t mavlink_msg_command_ack_pack(std::uint8_t system_id, std::uint8_t component_id,
                                           mavlink_message_t *msg, std::uint8_t target_system,
                                           std::uint8_t target_component, std::uint16_t command,
                                           std::uint8_t result)
{
    mavlink_command_ack_t packet{};
    packet.command = command;
    packet.result = result;
    packet.target_system = target_system;
    packet.target_component = target_component;
    return pack_record(msg, system_id, component_id, MAVLINK_MSG_ID_COMMAND_ACK, packet,
                       MAVLINK_MSG_ID_COMMAND_ACK_MIN_LEN, MAVLINK_MSG_ID_COMMAND_ACK_CRC);
}
