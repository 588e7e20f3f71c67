// The replay's clock: which log time is due now. Playing at 1x, 2x, 4x or 16x it runs that many
// times as fast as the wall clock from where it was started, paused or seeked; as fast as it goes
// it does not run on its own, and the replay moves it with seek() as it sends each entry. The
// position stays within the log's first and last time. The wall clock is given, so that tests
// can drive it.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class ReplayClock
{
public:
    // Microseconds of a clock that never goes back.
    using WallClock = std::function<qint64()>;
    // The speed of "as fast as it goes".
    static constexpr int Fastest = 0;

    explicit ReplayClock(WallClock wall = steadyClock());

    // The log's first and last time; the clock is paused at the first.
    void setSpan(std::uint64_t firstUs, std::uint64_t lastUs);
    void play();
    void pause();
    bool playing() const { return m_playing; }
    // A factor of the wall clock's speed (1, 2, 4, 16), or Fastest.
    void setSpeed(int speed);
    int speed() const { return m_speed; }

    std::uint64_t position() const;
    void seek(std::uint64_t timeUs);
    bool atEnd() const { return position() == m_lastUs; }
    // Wall microseconds until `timeUs` is due: 0 when it is (always as fast as it goes), -1 while
    // paused.
    qint64 wallUntil(std::uint64_t timeUs) const;

    // "00:12.4 / 03:40.0": the position and the log's length, from its first time.
    QString text() const;
    // The same for any position and length in microseconds, tenths cut off, not rounded, so that
    // the position never shows the end before it is there; with hours when the length has them.
    static QString format(std::uint64_t positionUs, std::uint64_t lengthUs);

    static WallClock steadyClock();

private:
    void anchor(std::uint64_t timeUs);

    WallClock m_wall;
    std::uint64_t m_firstUs = 0;
    std::uint64_t m_lastUs = 0;
    bool m_playing = false;
    int m_speed = 1;
    // Where the clock stood at the wall time of the last start, pause, seek or change of speed.
    std::uint64_t m_anchorUs = 0;
    qint64 m_anchorWallUs = 0;
};
