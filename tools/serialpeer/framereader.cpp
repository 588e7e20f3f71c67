#include "framereader.h"

#include <messages.h>
#include <parser.h>

namespace {
// The link's catalogue holds what the link receives; GIMBAL_CONTROL is only sent, so its CRC
// seed is not there and the parser calls each of its frames bad. Checked here again with the seed.
bool isIntactCommand(const mavlink_message_t &frame)
{
    if (frame.msgid != MAVLINK_MSG_ID_GIMBAL_CONTROL)
        return false;
    std::uint16_t crc = MAVLINK_CRC_SEED;
    crc = crc_accumulate(frame.len, crc);
    if (frame.magic == MAVLINK_STX) {
        crc = crc_accumulate(frame.incompat_flags, crc);
        crc = crc_accumulate(frame.compat_flags, crc);
    }
    crc = crc_accumulate(frame.seq, crc);
    crc = crc_accumulate(frame.sysid, crc);
    crc = crc_accumulate(frame.compid, crc);
    const int idBytes = frame.magic == MAVLINK_STX ? 3 : 1;
    for (int i = 0; i < idBytes; ++i)
        crc = crc_accumulate(static_cast<std::uint8_t>(frame.msgid >> (8 * i)), crc);
    for (int i = 0; i < frame.len; ++i)
        crc = crc_accumulate(frame.payload[i], crc);
    crc = crc_accumulate(MAVLINK_MSG_ID_GIMBAL_CONTROL_CRC, crc);
    return frame.ck[0] == (crc & 0xFF) && frame.ck[1] == (crc >> 8);
}
} // namespace

std::vector<mavlink_message_t> FrameReader::feed(const QByteArray &bytes)
{
    std::vector<mavlink_message_t> messages;
    mavlink_message_t message;
    for (const char byte : bytes) {
        const auto c = static_cast<std::uint8_t>(byte);
        const std::uint8_t result = mavlink_frame_char_buffer(&m_frame, &m_status, c, &message);
        if (result == MAVLINK_FRAMING_OK) {
            messages.push_back(message);
        } else if (result == MAVLINK_FRAMING_BAD_CRC) {
            m_status.parse_state = MAVLINK_PARSE_STATE_IDLE;
            if (isIntactCommand(m_frame)) {
                messages.push_back(m_frame);
                continue;
            }
            // As on the link: a MAVLink 2 start byte that ended a bad frame begins the next one.
            ++m_badFrames;
            if (c == MAVLINK_STX)
                mavlink_frame_char_buffer(&m_frame, &m_status, c, &message);
        }
    }
    return messages;
}
