// The two steps every message of the codec shares: a payload read into a zeroed record, and a
// record written as the payload of a frame on the link's channel.
#pragma once

#include "encoder.h"
#include "mavlink_types.h"
#include "parser.h"

#include <algorithm>
#include <cstring>

namespace mavlink_detail {
// Copies the first min(len, record size) payload bytes into a zeroed record: the bytes a sender
// cut off, and extension fields an older sender never had, read as zero.
template <typename Record> Record decode_record(const mavlink_message_t *msg)
{
    Record record{};
    std::memcpy(&record, msg->payload, std::min<std::size_t>(msg->len, sizeof(Record)));
    return record;
}

// Puts `record` in `msg` as message `msgid` and finalises it on the link's channel status, which
// hands out the transmit sequence. Returns the frame length.
template <typename Record>
std::uint16_t pack_record(mavlink_message_t *msg, std::uint8_t system_id, std::uint8_t component_id,
                          std::uint32_t msgid, const Record &record, std::uint8_t min_length,
                          std::uint8_t crc_extra)
{
    static_assert(sizeof(Record) <= 255);
    std::memcpy(msg->payload, &record, sizeof record);
    msg->msgid = msgid;
    return mavlink_finalize_message_buffer(msg, system_id, component_id,
                                           mavlink_get_channel_status(), min_length,
                                           static_cast<std::uint8_t>(sizeof record), crc_extra);
}
} // namespace mavlink_detail
