// Splits the bytes that arrive at the far end of the link into MAVLink messages, with a receive
// channel of its own so that it never shares state with the link's parser.
#pragma once

#include <mavlink_types.h>

#include <QByteArray>

#include <vector>

class FrameReader
{
public:
    // The messages completed by `bytes` whose CRC matches, in order.
    std::vector<mavlink_message_t> feed(const QByteArray &bytes);
    int badFrames() const { return m_badFrames; }
    // Forgets a frame in progress, for bytes that come from a new terminal.
    void restart() { m_status.parse_state = MAVLINK_PARSE_STATE_IDLE; }

private:
    mavlink_message_t m_frame{};
    mavlink_status_t m_status{};
    int m_badFrames = 0;
};
