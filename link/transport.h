// One way of carrying the link's bytes: a serial port, a UDP socket, a TCP connection, or a
// recorded link played back. It opens and closes, takes whole frames to write or refuses them
// when the far end does not keep up, and hands on what it receives, told apart by sender where
// several can send (UDP).
#pragma once

#include <mavlink_types.h>

#include <QByteArray>
#include <QObject>
#include <QString>

class Transport : public QObject
{
    Q_OBJECT

public:
    enum class Write {
        Sent,
        // The far end does not keep up: the frame was not taken, nothing of it went out.
        Dropped,
        // Nobody to send to yet (a UDP listener that has heard no one).
        NoPeer,
    };

    using QObject::QObject;

    // Starts opening; opened() or failed() follows, possibly before this returns.
    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual Write write(const char *data, int size) = 0;
    // Sees briefly that what was written goes out before the link is closed: the last frames of
    // a closing link (giving up control of a gimbal) must reach the far end.
    virtual void drain() {}
    // What the line carries at most, in bytes per second, or 0 where no line rate limits it.
    virtual int bytesPerSecond() const { return 0; }
    // Whether a write now would be taken, rather than dropped as for a far end that does not
    // keep up.
    virtual bool takesMore() const { return true; }
    // Where later writes go, on a transport that hears several senders: a source of received().
    virtual void replyTo(int source) { Q_UNUSED(source) }
    // Whether a write has anywhere to go (a UDP listener that has heard no one has not).
    virtual bool hasPeer() const { return true; }
    // The sender `source` as "ADDR:PORT", or empty where the far end is the only one.
    virtual QString peerName(int source) const
    {
        Q_UNUSED(source)
        return {};
    }

signals:
    void opened();
    // The open did not succeed, in words for the user.
    void failed(const QString &why);
    // An open link went away (the device was pulled out, the connection closed).
    void lost(const QString &why);
    // `source` tells senders apart: 0 on a transport with a single far end.
    void received(const QByteArray &bytes, int source);
    // A frame that this side sent on a recorded link, played back with its message as the
    // recording holds it (the tool's own sending sees to the ids the codec's table does not
    // hold): announced as sent, never written again.
    void replayedSent(const QByteArray &frame, const mavlink_message_t &msg);
};
