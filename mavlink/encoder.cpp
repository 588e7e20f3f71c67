// MAVLink 2 framing of outgoing messages. Frames are never signed.
#include "encoder.h"

#include <cstring>

namespace {
// MAVLink 2 drops trailing zero payload bytes; one byte always stays.
std::uint8_t trimmed_length(const std::uint8_t *payload, std::uint8_t n)
{
    while (n > 1 && payload[n - 1] == 0)
        --n;
    return n;
}
} // namespace

std::uint16_t mavlink_finalize_message_buffer(mavlink_message_t *msg, std::uint8_t system_id,
                                              std::uint8_t component_id, mavlink_status_t *status,
                                              std::uint8_t /*min_length*/, std::uint8_t length,
                                              std::uint8_t crc_extra)
{
    msg->magic = MAVLINK_STX;
    msg->len = trimmed_length(msg->payload, length);
    msg->sysid = system_id;
    msg->compid = component_id;
    msg->incompat_flags = 0;
    msg->compat_flags = 0;
    msg->seq = status->current_tx_seq++;

    const std::uint8_t header[] = {msg->len,
                                   msg->incompat_flags,
                                   msg->compat_flags,
                                   msg->seq,
                                   msg->sysid,
                                   msg->compid,
                                   static_cast<std::uint8_t>(msg->msgid & 0xFF),
                                   static_cast<std::uint8_t>((msg->msgid >> 8) & 0xFF),
                                   static_cast<std::uint8_t>((msg->msgid >> 16) & 0xFF)};
    std::uint16_t crc = MAVLINK_CRC_SEED;
    for (std::uint8_t b : header)
        crc = crc_accumulate(b, crc);
    for (std::uint8_t i = 0; i < msg->len; ++i)
        crc = crc_accumulate(msg->payload[i], crc);
    msg->checksum = crc_accumulate(crc_extra, crc);

    return static_cast<std::uint16_t>(msg->len + MAVLINK_NUM_HEADER_BYTES +
                                      MAVLINK_NUM_CHECKSUM_BYTES);
}

std::uint16_t mavlink_msg_to_send_buffer(std::uint8_t *buf, const mavlink_message_t *msg)
{
    const std::uint8_t len = trimmed_length(msg->payload, msg->len);
    buf[0] = MAVLINK_STX;
    buf[1] = len;
    buf[2] = msg->incompat_flags;
    buf[3] = msg->compat_flags;
    buf[4] = msg->seq;
    buf[5] = msg->sysid;
    buf[6] = msg->compid;
    buf[7] = static_cast<std::uint8_t>(msg->msgid & 0xFF);
    buf[8] = static_cast<std::uint8_t>((msg->msgid >> 8) & 0xFF);
    buf[9] = static_cast<std::uint8_t>((msg->msgid >> 16) & 0xFF);
    std::memcpy(buf + MAVLINK_NUM_HEADER_BYTES, msg->payload, len);
    std::uint8_t *ck = buf + MAVLINK_NUM_HEADER_BYTES + len;
    ck[0] = static_cast<std::uint8_t>(msg->checksum & 0xFF);
    ck[1] = static_cast<std::uint8_t>(msg->checksum >> 8);
    return static_cast<std::uint16_t>(len + MAVLINK_NUM_HEADER_BYTES + MAVLINK_NUM_CHECKSUM_BYTES);
}
