// What the link's own traffic says about it, for the status line: whether the port is open or
// awaited, whether the gimbal talks, how fast its reports come, its last heartbeat, and the frames
// that were bad, lost or came twice. The counts run from the opening of the port. They are kept as
// frames arrive, but `changed` comes once a second whatever the traffic, so that the window redraws
// the line at that pace only. Rates and silences are measured on the link's clock, so that a
// replayed link shows the recorded ones at any speed and a paused replay shows what it showed.
#pragma once

#include <linkaddress.h>

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <vector>

class LinkClock;

class LinkStatus : public QObject
{
    Q_OBJECT
    Q_PROPERTY(State state READ state NOTIFY changed)
    Q_PROPERTY(QString portName READ portName NOTIFY changed)
    Q_PROPERTY(int silentSeconds READ silentSeconds NOTIFY changed)
    Q_PROPERTY(bool noFrameHint READ noFrameHint NOTIFY changed)
    Q_PROPERTY(int reportsPerSecond READ reportsPerSecond NOTIFY changed)
    Q_PROPERTY(int heartbeats READ heartbeats NOTIFY changed)
    Q_PROPERTY(int heartbeatSystem READ heartbeatSystem NOTIFY changed)
    Q_PROPERTY(int heartbeatComponent READ heartbeatComponent NOTIFY changed)
    Q_PROPERTY(int systemStatus READ systemStatus NOTIFY changed)
    Q_PROPERTY(qint64 badFrames READ badFrames NOTIFY changed)
    Q_PROPERTY(qint64 lostFrames READ lostFrames NOTIFY changed)
    Q_PROPERTY(qint64 duplicateFrames READ duplicateFrames NOTIFY changed)
    Q_PROPERTY(int stalls READ stalls NOTIFY changed)
    // What carries the link (a LinkAddress::Kind: 0 serial, 1 UDP listening, 2 UDP to a fixed
    // address, 3 TCP, 4 a replayed log), its address as the status line names it ("14550",
    // "127.0.0.1:5760", the log's file name),
    // and where a listening UDP link's replies go ("192.0.2.5:14551"), empty until one is heard.
    Q_PROPERTY(int linkKind READ linkKind NOTIFY changed)
    Q_PROPERTY(QString endpoint READ endpoint NOTIFY changed)
    Q_PROPERTY(QString peer READ peer NOTIFY changed)
    // Frames from senders at another address than the followed gimbal's, dropped; and the last
    // such sender.
    Q_PROPERTY(qint64 ignoredFrames READ ignoredFrames NOTIFY changed)
    Q_PROPERTY(int ignoredSystem READ ignoredSystem NOTIFY changed)
    Q_PROPERTY(int ignoredComponent READ ignoredComponent NOTIFY changed)

public:
    enum State {
        Closed,
        // Open, and no valid frame has come yet.
        Listening,
        // A valid frame came within the last second or so.
        Talking,
        // Frames came once, then stopped.
        Silent,
        // The open port's device went away; the controller waits for it to come back.
        Waiting,
    };
    Q_ENUM(State)

    explicit LinkStatus(const LinkClock &clock, QObject *parent = nullptr);

    State state() const { return m_state; }
    QString portName() const { return m_portName; }
    int silentSeconds() const { return m_silentSeconds; }
    // Open for two seconds without a single valid frame: likely the wrong baud rate, cable or port.
    bool noFrameHint() const { return m_noFrameHint; }
    int reportsPerSecond() const { return m_reportsPerSecond; }
    // Heartbeats from the sender of the last one: a second sender on the link has its own count.
    int heartbeats() const { return m_heartbeats; }
    int heartbeatSystem() const { return m_heartbeatSystem; }
    int heartbeatComponent() const { return m_heartbeatComponent; }
    // The last heartbeat's system status (MAV_STATE), or -1 before the first heartbeat.
    int systemStatus() const { return m_systemStatus; }
    qint64 badFrames() const { return m_bad; }
    // Frames missing from a sender's sequence numbers.
    qint64 lostFrames() const { return m_lost; }
    // Frames whose sequence number repeats or steps back a little: sent twice or out of order,
    // not a gap. A frame overtaken by later ones (reordered, as on Wi-Fi) is counted here once it
    // comes, and no longer as lost.
    qint64 duplicateFrames() const { return m_duplicates; }
    int stalls() const { return m_stalls; }
    int linkKind() const { return m_linkKind; }
    QString endpoint() const { return m_endpoint; }
    QString peer() const { return m_peer; }
    qint64 ignoredFrames() const { return m_ignored; }
    int ignoredSystem() const { return m_ignoredSystem; }
    int ignoredComponent() const { return m_ignoredComponent; }

    // What the next opening carries; it stands until the next call.
    void setLink(LinkAddress::Kind kind, const QString &endpoint);

    // Each starts a new state at once and zeroes the counts where a new link begins.
    void portOpened(const QString &name);
    void portClosed();
    void waitingFor(const QString &name);

    // Called by the intake where the parser decides: one call per completed frame.
    void countFrame(std::uint8_t sysid, std::uint8_t compid, std::uint8_t seq, std::uint32_t msgid);
    void countBadFrame() { ++m_bad; }
    void countHeartbeat(std::uint8_t sysid, std::uint8_t compid, std::uint8_t systemStatus);
    // A stall: the device stopped reading and waiting commands were dropped.
    void countStall() { ++m_stalls; }
    void countIgnored(std::uint8_t sysid, std::uint8_t compid);
    void setPeer(const QString &peer) { m_peer = peer; }

signals:
    void changed();

private:
    struct Sender
    {
        std::uint16_t id;
        std::uint8_t lastSeq;
        // The last number that stepped back, while the sequence has not gone on from it.
        bool steppedBack;
        std::uint8_t backSeq;
        int heartbeats;
        // Bit k: the number k behind lastSeq was counted lost, and may yet come late.
        std::uint64_t missing;
    };

    void countSequence(Sender &sender, std::uint8_t seq);
    Sender *findSender(std::uint8_t sysid, std::uint8_t compid);

    void enter(State state, const QString &name);
    void tick();

    const LinkClock &m_clock;
    State m_state = Closed;
    QString m_portName;
    QTimer m_tick;
    // The link's time at the last tick.
    qint64 m_tickUs = 0;
    // Ticks over which the link's time went on.
    int m_ticks = 0;
    // The link's time over the ticks without a frame since the last one.
    qint64 m_quietUs = 0;
    bool m_anyFrame = false;

    int m_framesThisTick = 0;
    int m_reportsThisTick = 0;
    int m_heartbeats = 0;
    int m_heartbeatSystem = 0;
    int m_heartbeatComponent = 0;
    int m_systemStatus = -1;
    qint64 m_bad = 0;
    qint64 m_lost = 0;
    qint64 m_duplicates = 0;
    int m_stalls = 0;
    std::vector<Sender> m_senders;
    int m_linkKind = LinkAddress::Serial;
    QString m_endpoint;
    QString m_peer;
    qint64 m_ignored = 0;
    int m_ignoredSystem = 0;
    int m_ignoredComponent = 0;

    // Worked out at each tick.
    int m_silentSeconds = 0;
    bool m_noFrameHint = false;
    int m_reportsPerSecond = 0;
};
