#include "messagewait.h"

#include "pseudoterminal.h"

#include <QDeadlineTimer>

std::vector<mavlink_message_t> MessageWait::waitFor(const Match &match, int count, int timeoutMs,
                                                    std::vector<mavlink_message_t> *seen)
{
    std::vector<mavlink_message_t> found;
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        // Messages read beyond the count of an earlier wait count for this one.
        std::vector<mavlink_message_t> arrived;
        arrived.swap(m_early);
        for (const mavlink_message_t &msg : m_reader.feed(m_pty.takeReceived()))
            arrived.push_back(msg);
        for (std::size_t i = 0; i < arrived.size(); ++i) {
            if (static_cast<int>(found.size()) == count) {
                m_early.assign(arrived.begin() + static_cast<long>(i), arrived.end());
                return found;
            }
            if (seen)
                seen->push_back(arrived[i]);
            if (match(arrived[i]))
                found.push_back(arrived[i]);
        }
        if (static_cast<int>(found.size()) == count || deadline.hasExpired())
            return found;
        m_pty.waitForReceived(1, 20);
    }
}

void MessageWait::skip()
{
    m_early.clear();
    m_reader.feed(m_pty.takeReceived());
}
