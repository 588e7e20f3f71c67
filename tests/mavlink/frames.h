// Frame builders for the codec tests: MAVLink 1 and 2 frames of any id, length and flags,
// with the CRC computed from the message table's seed byte unless told otherwise.
#pragma once

#include "mavlink_types.h"
#include "message_table.h"

#include <QByteArray>

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

} // namespace frames
