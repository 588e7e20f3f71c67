#include "relaypath.h"

namespace {
// A datagram waits this long at most for one to overtake it: a stream that pauses (a tool that
// sends only when the sticks move) still gets it, late.
constexpr int MaxHoldMs = 100;
} // namespace

RelayPath::RelayPath(const RelayFaults &faults, unsigned seed, QObject *parent)
    : QObject(parent), m_faults(faults), m_random(seed)
{
    m_holdTimer.setSingleShot(true);
    m_holdTimer.setInterval(MaxHoldMs);
    connect(&m_holdTimer, &QTimer::timeout, this, &RelayPath::flush);
}

void RelayPath::pass(const QByteArray &datagram)
{
    ++m_counts.received;
    if (chance(m_faults.drop)) {
        ++m_counts.dropped;
        return;
    }
    if (!m_holding && chance(m_faults.reorder)) {
        m_held = datagram;
        m_holding = true;
        m_holdTimer.start();
        return;
    }
    forward(datagram);
    if (m_holding) {
        m_holding = false;
        m_holdTimer.stop();
        ++m_counts.reordered;
        forward(m_held);
    }
}

void RelayPath::flush()
{
    if (!m_holding)
        return;
    m_holding = false;
    m_holdTimer.stop();
    forward(m_held);
}

void RelayPath::forward(const QByteArray &datagram)
{
    ++m_counts.forwarded;
    emit deliver(datagram);
    if (chance(m_faults.duplicate)) {
        ++m_counts.duplicated;
        emit deliver(datagram);
    }
}

bool RelayPath::chance(double share)
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < share;
}
