#include "replayclock.h"

#include <QElapsedTimer>

#include <algorithm>
#include <memory>
#include <utility>

ReplayClock::ReplayClock(WallClock wall) : m_wall(std::move(wall)) {}

ReplayClock::WallClock ReplayClock::steadyClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->nsecsElapsed() / 1000; };
}

void ReplayClock::setSpan(std::uint64_t firstUs, std::uint64_t lastUs)
{
    m_firstUs = firstUs;
    m_lastUs = std::max(firstUs, lastUs);
    m_playing = false;
    anchor(firstUs);
}

void ReplayClock::play()
{
    anchor(position());
    m_playing = true;
}

void ReplayClock::pause()
{
    anchor(position());
    m_playing = false;
}

void ReplayClock::setSpeed(int speed)
{
    anchor(position());
    m_speed = std::max(speed, Fastest);
}

void ReplayClock::seek(std::uint64_t timeUs)
{
    anchor(timeUs);
}

std::uint64_t ReplayClock::position() const
{
    if (!m_playing || m_speed == Fastest)
        return m_anchorUs;
    const qint64 elapsed = std::max<qint64>(m_wall() - m_anchorWallUs, 0);
    const std::uint64_t run = static_cast<std::uint64_t>(elapsed) * static_cast<unsigned>(m_speed);
    return m_anchorUs + std::min(run, m_lastUs - m_anchorUs);
}

qint64 ReplayClock::wallUntil(std::uint64_t timeUs) const
{
    if (!m_playing)
        return -1;
    const std::uint64_t now = position();
    if (m_speed == Fastest || timeUs <= now)
        return 0;
    // Rounded up, so that a timer set for it never fires before the time is due.
    return static_cast<qint64>((timeUs - now + static_cast<unsigned>(m_speed) - 1) /
                               static_cast<unsigned>(m_speed));
}

QString ReplayClock::text() const
{
    return format(position() - m_firstUs, m_lastUs - m_firstUs);
}

QString ReplayClock::format(std::uint64_t positionUs, std::uint64_t lengthUs)
{
    constexpr std::uint64_t TenthUs = 100000;
    constexpr std::uint64_t HourTenths = 36000;
    const bool hours = lengthUs / TenthUs >= HourTenths;
    const auto one = [hours](std::uint64_t us) {
        const std::uint64_t tenths = us / TenthUs;
        const std::uint64_t minutes = tenths / 600;
        const QString minutesSeconds =
            QStringLiteral("%1:%2.%3")
                .arg(hours ? minutes % 60 : minutes, 2, 10, QLatin1Char('0'))
                .arg(tenths / 10 % 60, 2, 10, QLatin1Char('0'))
                .arg(tenths % 10);
        return hours ? QStringLiteral("%1:%2").arg(tenths / HourTenths).arg(minutesSeconds)
                     : minutesSeconds;
    };
    return QStringLiteral("%1 / %2").arg(one(positionUs), one(lengthUs));
}

void ReplayClock::anchor(std::uint64_t timeUs)
{
    m_anchorUs = std::clamp(timeUs, m_firstUs, m_lastUs);
    m_anchorWallUs = m_wall();
}
