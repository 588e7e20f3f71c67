// The line a simulated gimbal sits on: a pseudo-terminal, a UDP socket or a TCP server. The
// simulator puts its frames on the line and takes what comes back, whatever carries it; opening
// and closing the line is plugging the gimbal in and pulling it out.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QHostAddress;

class SimulatorLine : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Brings the line up: a new terminal, a bound socket, a listening server. False, with
    // errorString(), when it cannot.
    virtual bool open() = 0;
    // Takes the line down as pulling the cable does: nothing passes until open().
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    QString errorString() const { return m_error; }
    // What the tool is given to reach the gimbal: a port path, udp:HOST:PORT or tcp:HOST:PORT.
    // It stays the same across close() and open() where the line can keep it.
    virtual QString address() const = 0;
    // Where the line is now, empty while it is closed: a terminal's own path, which a stable link
    // may stand for, or the address itself.
    virtual QString currentAddress() const { return isOpen() ? address() : QString(); }
    // Whether the tool learns where the gimbal is only from what arrives, so that a gimbal that
    // waits to be spoken to is never heard: a ground station listening on UDP.
    virtual bool mustSpeakFirst() const { return false; }

    // Puts `bytes` on the line in one piece (one datagram on UDP). False when nobody takes them
    // and they are lost, as on a wire that nobody reads.
    virtual bool send(const QByteArray &bytes) = 0;
    virtual QByteArray takeReceived() = 0;

signals:
    void received();
    // Another peer's byte stream begins: a frame in progress from the last one is void.
    void restarted();

protected:
    // A line keeps transmitting whether or not anyone reads; more than this waiting means nobody
    // does, and what is sent is lost as it would be on the wire.
    static constexpr int MaxQueuedBytes = 4096;

    // host:port as the tool is given it, an IPv6 host in brackets so that its colons are not taken
    // for the port's.
    static QString networkAddress(const char *scheme, const QHostAddress &host, quint16 port);
    // False, with the reason as the error, for anything but a loopback address: the simulator
    // stays on this machine.
    bool acceptHost(const QHostAddress &host);
    void setError(const QString &error) { m_error = error; }

private:
    QString m_error;
};
