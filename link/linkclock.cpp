#include "linkclock.h"

#include <utility>

LinkClock::LinkClock()
{
    m_wall.start();
}

qint64 LinkClock::nowUs() const
{
    return m_baseUs + sourceUs() - m_sourceBaseUs;
}

void LinkClock::follow(Source source)
{
    const qint64 now = nowUs();
    m_source = std::move(source);
    m_baseUs = now;
    m_sourceBaseUs = sourceUs();
}

qint64 LinkClock::sourceUs() const
{
    return m_source ? m_source() : m_wall.nsecsElapsed() / 1000;
}
