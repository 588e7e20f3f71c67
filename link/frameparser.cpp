#include "frameparser.h"

#include <algorithm>

namespace {
constexpr int MavlinkOneHeader = 6;
} // namespace

int wireLength(const mavlink_message_t &msg)
{
    if (msg.magic == MAVLINK_STX_MAVLINK1)
        return MavlinkOneHeader + msg.len + MAVLINK_NUM_CHECKSUM_BYTES;
    const int signature =
        msg.incompat_flags & MAVLINK_IFLAG_SIGNED ? MAVLINK_SIGNATURE_BLOCK_LEN : 0;
    return MAVLINK_NUM_HEADER_BYTES + msg.len + MAVLINK_NUM_CHECKSUM_BYTES + signature;
}

void FrameParser::reset()
{
    m_status = {};
    m_tail.clear();
}

const char *FrameParser::frameBytes(const QByteArray &chunk, std::size_t end, int size)
{
    const int inChunk = static_cast<int>(end);
    if (size <= inChunk)
        return chunk.constData() + inChunk - size;
    // The frame began in an earlier chunk.
    m_joined = m_tail.right(size - inChunk) + chunk.left(inChunk);
    return m_joined.constData();
}

void FrameParser::keepTail(const QByteArray &chunk)
{
    // Between frames nothing of this chunk can belong to the next one.
    if (m_status.parse_state <= MAVLINK_PARSE_STATE_IDLE) {
        m_tail.clear();
        return;
    }
    if (chunk.size() >= MAVLINK_MAX_PACKET_LEN) {
        m_tail = chunk.right(MAVLINK_MAX_PACKET_LEN);
        return;
    }
    m_tail.append(chunk);
    if (m_tail.size() > MAVLINK_MAX_PACKET_LEN)
        m_tail.remove(0, m_tail.size() - MAVLINK_MAX_PACKET_LEN);
}
