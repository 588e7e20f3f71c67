#include "linepacer.h"

#include <algorithm>

namespace {
// A UART's transmit buffer: what waits beyond it is dropped, as firmware drops what it cannot
// queue.
constexpr int MaxQueuedBytes = 4096;
constexpr qint64 NsPerSecond = 1000000000;
constexpr qint64 NsPerMs = 1000000;
} // namespace

LinePacer::LinePacer(Write write, QObject *parent) : QObject(parent), m_write(std::move(write))
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LinePacer::release);
}

bool LinePacer::send(const QByteArray &frame, bool lost)
{
    if (!isPaced()) {
        if (!lost)
            m_write(frame);
        return true;
    }
    if (m_queuedBytes + frame.size() > MaxQueuedBytes)
        return false;
    // The line's clock runs on from the last frame, not from when the timer woke, so that a late
    // wake-up costs no line time.
    const qint64 start = std::max(m_clock.nsecsElapsed(), m_lineFreeNs);
    m_lineFreeNs = start + frame.size() * NsPerSecond / m_bytesPerSecond;
    m_queue.push_back({frame, lost, m_lineFreeNs});
    m_queuedBytes += frame.size();
    if (!m_timer.isActive())
        arm();
    return true;
}

void LinePacer::clear()
{
    m_queue.clear();
    m_queuedBytes = 0;
    m_timer.stop();
}

void LinePacer::release()
{
    const qint64 now = m_clock.nsecsElapsed();
    bool left = false;
    while (!m_queue.empty() && m_queue.front().dueNs <= now) {
        const Frame frame = std::move(m_queue.front());
        m_queue.pop_front();
        m_queuedBytes -= frame.bytes.size();
        left = true;
        if (!frame.lost)
            m_write(frame.bytes);
    }
    if (left && wantsMore())
        emit roomForMore();
    arm();
}

void LinePacer::arm()
{
    if (m_queue.empty())
        return;
    const qint64 wait = m_queue.front().dueNs - m_clock.nsecsElapsed();
    m_timer.start(static_cast<int>(std::max<qint64>(0, (wait + NsPerMs - 1) / NsPerMs)));
}
