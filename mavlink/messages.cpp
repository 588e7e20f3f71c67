#include "messages.h"

#include "encoder.h"
#include "parser.h"

#include <algorithm>
#include <cstring>

namespace {
template <typename Record> Record decode(const mavlink_message_t *msg)
{
    Record record{};
    std::memcpy(&record, msg->payload, std::min<std::size_t>(msg->len, sizeof(Record)));
    return record;
}
} // namespace

mavlink_heartbeat_t mavlink_msg_heartbeat_decode(const mavlink_message_t *msg)
{
    return decode<mavlink_heartbeat_t>(msg);
}

mavlink_gimbal_report_t mavlink_msg_gimbal_report_decode(const mavlink_message_t *msg)
{
    return decode<mavlink_gimbal_report_t>(msg);
}

std::uint16_t mavlink_msg_gimbal_control_pack(std::uint8_t system_id, std::uint8_t component_id,
                                              mavlink_message_t *msg, std::uint8_t target_system,
                                              std::uint8_t target_component, float demanded_rate_x,
                                              float demanded_rate_y, float demanded_rate_z)
{
    const mavlink_gimbal_control_t packet{demanded_rate_x, demanded_rate_y, demanded_rate_z,
                                          target_system, target_component};
    std::memcpy(msg->payload, &packet, sizeof packet);
    msg->msgid = MAVLINK_MSG_ID_GIMBAL_CONTROL;
    return mavlink_finalize_message_buffer(
        msg, system_id, component_id, mavlink_get_channel_status(),
        MAVLINK_MSG_ID_GIMBAL_CONTROL_LEN, MAVLINK_MSG_ID_GIMBAL_CONTROL_LEN,
        MAVLINK_MSG_ID_GIMBAL_CONTROL_CRC);
}
