// MAVLink over UDP, as ground stations use it. Listening (udp:PORT), it binds the port
// exclusively, so that a second program on it is told, and answers the sender it was told to
// follow; until anybody has sent, nothing goes out. Sending (udp-out:HOST:PORT), it writes to
// the fixed address from a port of its own and hears what comes back there. Each remote address
// is a source of its own.
#pragma once

#include "linkaddress.h"
#include "transport.h"

#include <QHostAddress>
#include <QUdpSocket>

#include <vector>

class UdpTransport : public Transport
{
    Q_OBJECT

public:
    explicit UdpTransport(const LinkAddress &address, QObject *parent = nullptr);
    ~UdpTransport() override;

    void open() override;
    void close() override;
    bool isOpen() const override { return m_socket.state() == QAbstractSocket::BoundState; }
    Write write(const char *data, int size) override;
    void replyTo(int source) override;
    bool hasPeer() const override { return m_destination.port != 0; }
    QString peerName(int source) const override;

private:
    struct Endpoint
    {
        QHostAddress address;
        quint16 port;
    };

    void bindTo(const QHostAddress &destination);
    void readDatagrams();
    int sourceOf(const QHostAddress &address, quint16 port);

    LinkAddress m_address;
    QUdpSocket m_socket;
    std::vector<Endpoint> m_sources;
    // Where writes go: the fixed address, or the followed sender; port 0 while there is none.
    Endpoint m_destination{{}, 0};
    int m_lookup = -1;
    QByteArray m_buffer;
};
