// One way of carrying the link's bytes: a serial port, a UDP socket or a TCP connection. It
// opens and closes, takes whole frames to write or refuses them when the far end does not keep
// up, and hands on what it receives, told apart by sender where several can send (UDP).
#pragma once

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
    // What the line carries at most, in bytes per second, or 0 where no line rate limits it.
    virtual int bytesPerSecond() const { return 0; }
    // Whether a write now would be taken, rather than dropped as for a far end that does not
    // keep up.
    virtual bool takesMore() const { return true; }
    // Where later writes go, on a transport that hears several senders: a source of received().
    virtual void replyTo(int source) { Q_UNUSED(source) }
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
};
