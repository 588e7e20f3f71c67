// A telemetry log (.tlog) played back as the link. The frames the gimbal sent reach the session at
// the pace they came, or 2, 4 or 16 times as fast, or as fast as they can be read; the frames the
// ground station sent are announced as sent (see isGroundStationFrame), so that the sticks and the
// plot show them as they were. Nothing is ever written. While it is open, the link's clock runs on
// the replay's time: paused, the link's time stands still. The log is read through a window of the
// file and seeks through an index built in the background, so that a log of any size opens at
// once and costs little memory.
#pragma once

#include <replayclock.h>
#include <tlogreader.h>
#include <transport.h>

#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>

class LinkClock;
class TlogIndex;

class ReplayLink : public Transport
{
    Q_OBJECT
    Q_PROPERTY(bool active READ isOpen NOTIFY activeChanged)
    // The log's file name, without its folder.
    Q_PROPERTY(QString fileName READ fileName NOTIFY activeChanged)
    // The log ends in the middle of a frame: the replay ends with its last whole frame.
    Q_PROPERTY(bool cutShort READ cutShort NOTIFY activeChanged)
    Q_PROPERTY(bool playing READ playing NOTIFY playingChanged)
    // 1, 2, 4 or 16 times the recorded pace, or 0: as fast as it goes.
    Q_PROPERTY(int speed READ speed WRITE setSpeed NOTIFY speedChanged)
    // Where the replay stands, from 0 at the log's first time to 1 at its last, and the same as
    // text with the log's length ("00:12.4 / 03:40.0"); announced ten times a second while it
    // plays.
    Q_PROPERTY(double position READ position NOTIFY positionChanged)
    Q_PROPERTY(QString timeText READ timeText NOTIFY positionChanged)

public:
    explicit ReplayLink(LinkClock &linkClock, QObject *parent = nullptr);
    ~ReplayLink() override;

    // The log that the next open() plays.
    void setFile(const QString &path) { m_path = path; }

    // Opens the log and starts playing it; failed() says why a file is no log.
    void open() override;
    void close() override;
    bool isOpen() const override { return m_reader != nullptr; }
    // Refused: a replay sends nothing anywhere.
    Write write(const char *data, int size) override;

    QString fileName() const;
    bool cutShort() const { return m_reader && m_reader->cutShort(); }
    bool playing() const { return m_clock.playing(); }
    int speed() const { return m_clock.speed(); }
    void setSpeed(int speed);
    double position() const;
    QString timeText() const { return isOpen() ? m_clock.text() : QString(); }
    // The log's time at which the replay stands, in microseconds since the Unix epoch.
    std::uint64_t positionUs() const { return m_clock.position(); }

    // Playing on from the end starts again at the beginning.
    Q_INVOKABLE void play();
    Q_INVOKABLE void pause();
    // Goes on from `fraction` (0 to 1) of the log's time, playing or paused as it was.
    Q_INVOKABLE void seek(double fraction);

signals:
    void activeChanged();
    void playingChanged();
    void speedChanged();
    void positionChanged();
    // What the user should know about the log, in the language of the installed catalogue.
    void notice(const QString &text);

private:
    void pump();
    void deliver(const TlogEntry &entry);
    void reachEnd();
    void followLinkClock();

    LinkClock &m_linkClock;
    QString m_path;
    ReplayClock m_clock;
    std::unique_ptr<TlogReader> m_reader;
    std::unique_ptr<TlogIndex> m_index;
    // The entry due next, read ahead, and the one being handed on.
    TlogEntry m_next;
    TlogEntry m_current;
    bool m_hasNext = false;
    // Fires when the next entry is due.
    QTimer m_due;
    QTimer m_showPosition;
};
