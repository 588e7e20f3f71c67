// The time that everything watching the link keeps (the status line's rates and silence, a v2
// gimbal's silence, the plot's time axis): the steady wall clock, or while a recorded link plays
// back, the recording's own time, so that a replay at 16x shows the recorded rates and a paused
// one stays as it was. The time runs on without a jump when its source changes, so that it never
// goes back and a watcher's intervals stay right across an opening, a seek or a change of speed.
#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

#include <functional>

class LinkClock
{
public:
    // Microseconds that never go back while the clock follows them.
    using Source = std::function<qint64()>;

    LinkClock();

    // Microseconds on this clock.
    qint64 nowUs() const;
    // From now on the time runs as `source` does, from where it stands; an empty source is the
    // wall clock again.
    void follow(Source source);

private:
    qint64 sourceUs() const;

    QElapsedTimer m_wall;
    Source m_source;
    // The clock's time and the source's when the source was taken on.
    qint64 m_baseUs = 0;
    qint64 m_sourceBaseUs = 0;
};
