#include "framewriter.h"

#include <encoder.h>
#include <message_table.h>

#include <cstring>

FrameWriter::FrameWriter(int mavlinkVersion, std::uint8_t sysid, std::uint8_t compid)
    : m_version(mavlinkVersion), m_sysid(sysid), m_compid(compid)
{
}

QByteArray FrameWriter::frame(std::uint32_t msgid, const void *payload, std::uint8_t length)
{
    const mavlink_msg_entry_t *entry = mavlink_get_msg_entry(msgid);
    const std::uint8_t crcExtra = entry ? entry->crc_extra : 0;

    mavlink_message_t msg{};
    std::memcpy(msg.payload, payload, length);
    msg.msgid = msgid;
    if (m_version == 2) {
        mavlink_finalize_message_buffer(&msg, m_sysid, m_compid, &m_status, length, length,
                                        crcExtra);
        QByteArray bytes(MAVLINK_MAX_PACKET_LEN, '\0');
        const std::uint16_t n =
            mavlink_msg_to_send_buffer(reinterpret_cast<std::uint8_t *>(bytes.data()), &msg);
        bytes.truncate(n);
        return bytes;
    }

    // The encoder writes MAVLink 2 only; the older framing has a one-byte id and no flags.
    QByteArray bytes;
    bytes.append(static_cast<char>(MAVLINK_STX_MAVLINK1));
    bytes.append(static_cast<char>(length));
    bytes.append(static_cast<char>(m_status.current_tx_seq++));
    bytes.append(static_cast<char>(m_sysid));
    bytes.append(static_cast<char>(m_compid));
    bytes.append(static_cast<char>(msgid & 0xFF));
    bytes.append(static_cast<const char *>(payload), length);
    std::uint16_t crc = MAVLINK_CRC_SEED;
    for (int i = 1; i < bytes.size(); ++i)
        crc = crc_accumulate(static_cast<std::uint8_t>(bytes[i]), crc);
    crc = crc_accumulate(crcExtra, crc);
    bytes.append(static_cast<char>(crc & 0xFF));
    bytes.append(static_cast<char>(crc >> 8));
    return bytes;
}
