// Frame builders for the codec tests: MAVLink 1 and 2 frames of any id, length and flags,
// with the CRC computed from the message table's seed byte unless told otherwise; the frame of a
// packed message and the messages a receive channel of its own completes; records as bytes.
#pragma once

#include "encoder.h"
#include "mavlink_types.h"
#include "message_table.h"
#include "parser.h"

#include <QByteArray>
#include <QVector>

#include <cstring>
#include <functional>

namespace frames {

inline std::uint8_t crcExtraOf(std::uint32_t msgid)
{
    const mavlink_msg_entry_t *entry = mavlink_get_msg_entry(msgid);
    return entry ? entry->crc_extra : 0;
}

inline QByteArray withCrc(QByteArray frame, std::uint8_t crcExtra)
{
    std::uint16_t crc = MAVLINK_CRC_SEED;
    for (int i = 1; i < frame.size(); ++i)
        crc = crc_accumulate(static_cast<std::uint8_t>(frame.at(i)), crc);
    crc = crc_accumulate(crcExtra, crc);
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    return frame;
}

inline QByteArray v2(std::uint32_t msgid, const QByteArray &payload, std::uint8_t incompat = 0,
                     std::uint8_t seq = 0)
{
    QByteArray f;
    f.append(char(0xFD)).append(char(payload.size())).append(char(incompat)).append(char(0));
    f.append(char(seq)).append(char(1)).append(char(1));
    f.append(char(msgid & 0xFF)).append(char((msgid >> 8) & 0xFF)).append(char(msgid >> 16));
    return withCrc(f + payload, crcExtraOf(msgid));
}

inline QByteArray v1(std::uint8_t msgid, const QByteArray &payload, std::uint8_t seq = 0)
{
    QByteArray f;
    f.append(char(0xFE)).append(char(payload.size())).append(char(seq));
    f.append(char(1)).append(char(1)).append(char(msgid));
    return withCrc(f + payload, crcExtraOf(msgid));
}

inline QByteArray sendBuffer(const mavlink_message_t &msg)
{
    std::uint8_t buf[MAVLINK_MAX_PACKET_LEN];
    const std::uint16_t n = mavlink_msg_to_send_buffer(buf, &msg);
    return QByteArray(reinterpret_cast<const char *>(buf), n);
}

// The frame `packer` makes with the link's transmit sequence at `seq`.
inline QByteArray packed(std::uint8_t seq, const std::function<void(mavlink_message_t *)> &packer)
{
    mavlink_get_channel_status()->current_tx_seq = seq;
    mavlink_message_t msg{};
    packer(&msg);
    return sendBuffer(msg);
}

// The messages `bytes` completes on a receive channel of its own, which a long frame of another
// id has filled with non-zero bytes first.
inline QVector<mavlink_message_t> parse(const QByteArray &bytes)
{
    mavlink_message_t rx{};
    mavlink_status_t status{};
    mavlink_message_t msg{};
    QVector<mavlink_message_t> out;
    for (char b : v2(3, QByteArray(255, '\x7f')) + bytes) {
        if (mavlink_frame_char_buffer(&rx, &status, static_cast<std::uint8_t>(b), &msg) ==
                MAVLINK_FRAMING_OK &&
            msg.msgid != 3)
            out.append(msg);
    }
    return out;
}

template <typename Record> QByteArray bytesOf(const Record &record)
{
    return QByteArray(reinterpret_cast<const char *>(&record), sizeof record);
}

template <typename Record> Record recordOf(const QByteArray &bytes)
{
    Record record{};
    std::memcpy(&record, bytes.constData(), sizeof record);
    return record;
}

} // namespace frames
