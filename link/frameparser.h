// One receive channel of the link: turns the bytes of one sender into frames, however they are
// cut into chunks or datagrams, and keeps each frame's own bytes as they came, for the tap.
#pragma once

#include <mavlink_types.h>
#include <parser.h>

#include <QByteArray>

#include <cstddef>

class FrameParser
{
public:
    // Forgets the frame in progress.
    void reset();

    // Feeds `bytes`; calls onFrame(msg, raw, size) for every good frame, with the frame's bytes
    // as they were received, and onBad() for every frame dropped for its checksum.
    template <typename OnFrame, typename OnBad>
    void feed(const QByteArray &bytes, OnFrame onFrame, OnBad onBad);

private:
    // The frame that ended at bytes[end - 1] of `chunk`, with what came before the chunk.
    const char *frameBytes(const QByteArray &chunk, std::size_t end, int size);
    void keepTail(const QByteArray &chunk);

    mavlink_message_t m_rx{};
    mavlink_status_t m_status{};
    mavlink_message_t m_msg{};
    // The last bytes before the current chunk: a frame may have begun there.
    QByteArray m_tail;
    QByteArray m_joined;
};

// The length of the frame `msg` on the wire: header, payload as sent, checksum, signature.
int wireLength(const mavlink_message_t &msg);

template <typename OnFrame, typename OnBad>
void FrameParser::feed(const QByteArray &bytes, OnFrame onFrame, OnBad onBad)
{
    const auto *start = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    std::size_t done = 0;
    const std::size_t total = static_cast<std::size_t>(bytes.size());
    while (done < total) {
        std::uint8_t result = MAVLINK_FRAMING_INCOMPLETE;
        done += mavlink_frame_chunk(&m_rx, &m_status, start + done, total - done, &m_msg, &result);
        if (result == MAVLINK_FRAMING_OK) {
            const int size = wireLength(m_msg);
            onFrame(m_msg, frameBytes(bytes, done, size), size);
        } else if (result == MAVLINK_FRAMING_BAD_CRC) {
            onBad();
        }
    }
    keepTail(bytes);
}
