#include "replaylink.h"

#include "groundstationframe.h"

#include <linkclock.h>
#include <tlogindex.h>

#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
// As fast as it goes, or behind its time, the replay hands on frames for this long at a time and
// then lets the event loop draw the window and take the user's clicks.
constexpr qint64 SliceMs = 10;
constexpr int ShowPositionMs = 100;
} // namespace

ReplayLink::ReplayLink(LinkClock &linkClock, QObject *parent)
    : Transport(parent), m_linkClock(linkClock)
{
    m_due.setSingleShot(true);
    m_due.setTimerType(Qt::PreciseTimer);
    connect(&m_due, &QTimer::timeout, this, &ReplayLink::pump);
    m_showPosition.setInterval(ShowPositionMs);
    connect(&m_showPosition, &QTimer::timeout, this, &ReplayLink::positionChanged);
}

ReplayLink::~ReplayLink()
{
    close();
}

void ReplayLink::open()
{
    auto reader = std::make_unique<TlogReader>();
    if (!reader->open(m_path)) {
        emit failed(tr("无法回放 %1：%2").arg(m_path, reader->errorString()));
        return;
    }
    m_reader = std::move(reader);
    m_index = std::make_unique<TlogIndex>();
    m_index->build(m_path);
    m_clock.setSpan(m_reader->firstTime(), m_reader->lastTime());
    m_hasNext = m_reader->next(m_next);
    followLinkClock();
    emit opened();
    emit activeChanged();
    emit notice(tr("开始回放：%1").arg(m_path));
    if (cutShort())
        emit notice(tr("%1 在帧中途截断：回放到最后一个完整帧为止。").arg(fileName()));
    play();
}

void ReplayLink::close()
{
    if (!isOpen())
        return;
    m_due.stop();
    m_showPosition.stop();
    m_clock.pause();
    m_reader.reset();
    m_index.reset();
    m_hasNext = false;
    m_linkClock.follow({});
    emit activeChanged();
    emit playingChanged();
    emit positionChanged();
}

Transport::Write ReplayLink::write(const char *data, int size)
{
    Q_UNUSED(data)
    Q_UNUSED(size)
    return Write::Dropped;
}

QString ReplayLink::fileName() const
{
    return isOpen() ? QFileInfo(m_path).fileName() : QString();
}

double ReplayLink::position() const
{
    if (!isOpen() || m_reader->lastTime() <= m_reader->firstTime())
        return 0.0;
    return static_cast<double>(m_clock.position() - m_reader->firstTime()) /
           static_cast<double>(m_reader->lastTime() - m_reader->firstTime());
}

void ReplayLink::setSpeed(int speed)
{
    if (speed < ReplayClock::Fastest || speed == m_clock.speed())
        return;
    m_clock.setSpeed(speed);
    emit speedChanged();
    if (playing())
        m_due.start(0);
}

void ReplayLink::play()
{
    if (!isOpen() || playing())
        return;
    if (!m_hasNext)
        seek(0.0);
    m_clock.play();
    m_showPosition.start();
    m_due.start(0);
    emit playingChanged();
}

void ReplayLink::pause()
{
    if (!playing())
        return;
    m_clock.pause();
    m_due.stop();
    m_showPosition.stop();
    emit playingChanged();
    emit positionChanged();
}

void ReplayLink::seek(double fraction)
{
    if (!isOpen())
        return;
    const double within = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    const std::uint64_t first = m_reader->firstTime();
    const auto timeUs =
        first + static_cast<std::uint64_t>(std::llround(within * (m_reader->lastTime() - first)));
    m_reader->seek(timeUs, *m_index);
    m_hasNext = m_reader->next(m_next);
    m_clock.seek(timeUs);
    followLinkClock();
    emit positionChanged();
    if (playing())
        m_due.start(0);
}

// Hands on every entry that is due, and sets the timer for the next. An entry is read ahead
// before the one due is handed on, since a handler may seek, pause or close the link.
void ReplayLink::pump()
{
    if (!playing())
        return;
    QElapsedTimer slice;
    slice.start();
    while (m_hasNext) {
        // A log whose times step back now and then still plays every entry, each no later
        // than the log's last time.
        const qint64 wait = m_clock.wallUntil(std::min(m_next.timeUs, m_reader->lastTime()));
        if (wait < 0)
            return;
        if (wait > 0) {
            m_due.start(static_cast<int>((wait + 999) / 1000));
            return;
        }
        if (m_clock.speed() == ReplayClock::Fastest)
            m_clock.seek(std::max(m_clock.position(), m_next.timeUs));
        std::swap(m_current, m_next);
        m_hasNext = m_reader->next(m_next);
        deliver(m_current);
        if (!isOpen())
            return;
        if (slice.elapsed() >= SliceMs) {
            m_due.start(0);
            return;
        }
    }
    reachEnd();
}

void ReplayLink::deliver(const TlogEntry &entry)
{
    if (isGroundStationFrame(entry.message))
        emit replayedSent(entry.frame, entry.message);
    else
        emit received(entry.frame, 0);
}

// The replay stays open at its end, paused, so that the window keeps showing the last state and
// the user can seek back.
void ReplayLink::reachEnd()
{
    m_clock.seek(m_reader->lastTime());
    pause();
    if (!m_reader->errorString().isEmpty())
        emit notice(tr("回放中断：%1").arg(m_reader->errorString()));
    else if (m_reader->skippedBytes() > 0)
        emit notice(tr("回放结束：%1（跳过了 %2 字节非帧数据）")
                        .arg(fileName())
                        .arg(m_reader->skippedBytes()));
    else
        emit notice(tr("回放结束：%1").arg(fileName()));
}

// Taken on again from where the link's time stands, so that it runs on without a jump from the
// replay's new place.
void ReplayLink::followLinkClock()
{
    m_linkClock.follow([this] { return static_cast<qint64>(m_clock.position()); });
}
