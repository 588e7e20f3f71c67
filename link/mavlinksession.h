// The MAVLink session on the open link, whatever carries it: it parses what each sender sends on
// a receive channel of its own, hands every good frame to the handlers of its message id, writes
// the tool's frames, and offers a tap of every frame's bytes with their times. On a link that
// several senders share (UDP), it follows the gimbal in control: frames from other addresses are
// ignored and counted, and replies go only to where that gimbal was last heard. Once a tick, after
// the steering command, it serves the helpers (heartbeats, requests) within the line's budget.
#pragma once

#include "linkclock.h"
#include "tickbudget.h"
#include "transport.h"

#include <mavlink_types.h>

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class FrameParser;
class MavSender;

class MavlinkSession : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void(const mavlink_message_t &msg)>;
    using Helper = std::function<void(TickBudget &budget)>;

    explicit MavlinkSession(QObject *parent = nullptr);
    ~MavlinkSession() override;

    // Takes `transport` (not owned) as the link and starts opening it; `opened`, `failed` or
    // `lost` follow. Whatever was open before is closed first.
    void open(Transport *transport);
    void close();
    bool isOpen() const { return m_open; }
    Transport *transport() const { return m_transport; }
    // The time of the link, for those who measure its rates and silences.
    LinkClock &clock() { return m_clock; }
    const LinkClock &clock() const { return m_clock; }

    // Writes a finalised frame. Announced through frameSent when it went out.
    Transport::Write send(const mavlink_message_t &msg);
    // The tool's sender with these ids: one per identity, with a sequence of its own.
    MavSender &sender(std::uint8_t system, std::uint8_t component);

    // Frames of `msgid` go to `handler` while `context` lives, before frameReceived.
    void subscribe(std::uint32_t msgid, QObject *context, Handler handler);
    // The gimbal in control, on a link that several senders share.
    void follow(std::uint8_t system, std::uint8_t component);
    // Served on each tick while the link is open, in turns, after the steering command.
    void addHelper(QObject *context, Helper helper);
    // The tick: a new share of the line for the steering command and the helpers.
    void beginTick();
    void serveHelpers();

signals:
    void openChanged();
    // The link is about to close: the last moment to send something on it.
    void aboutToClose();
    void opened();
    void failed(const QString &why);
    void lost(const QString &why);
    void frameReceived(const mavlink_message_t &msg);
    void badFrame();
    // A frame the tool sent, or on a recorded link played back, one that was sent then.
    void frameSent(const mavlink_message_t &msg);
    // A frame's bytes exactly as they crossed the link, with the time in microseconds since the
    // Unix epoch. Connected only while somebody keeps the raw link.
    void tapped(const QByteArray &bytes, qint64 unixTimeUs, bool sent);
    // A frame from an address other than the followed gimbal's was dropped.
    void senderIgnored(std::uint8_t system, std::uint8_t component);
    // Where replies go now ("ADDR:PORT"), on a link with several senders.
    void peerChanged(const QString &peer);

private:
    struct Subscription
    {
        std::uint32_t msgid;
        QPointer<QObject> context;
        Handler handler;
    };
    struct HelperEntry
    {
        QPointer<QObject> context;
        Helper helper;
    };

    void onOpened();
    void onLost(const QString &why);
    void onReceived(const QByteArray &bytes, int source);
    void onReplayedSent(const QByteArray &frame, const mavlink_message_t &msg);
    void take(const mavlink_message_t &msg, const char *raw, int size, int source);
    void setReplySource(int source);
    bool tapping() const;

    Transport *m_transport = nullptr;
    bool m_open = false;
    std::vector<std::unique_ptr<FrameParser>> m_parsers;
    LinkClock m_clock;
    std::vector<Subscription> m_subscriptions;
    std::vector<HelperEntry> m_helpers;
    std::size_t m_nextHelper = 0;
    std::map<std::uint16_t, std::unique_ptr<MavSender>> m_senders;
    // The followed gimbal's ids and the source it was last heard from (-1: not yet).
    int m_followed = -1;
    int m_followedSource = -1;
    int m_replySource = -1;
    // The source of the frame being handed on.
    int m_dispatchSource = -1;
    // Frames went out while the link was closing.
    bool m_sentWhileClosing = false;
    bool m_closing = false;
    // Bytes the line may still take, refilled each tick.
    int m_credit = 0;
};
