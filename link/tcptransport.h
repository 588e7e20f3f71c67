// MAVLink over a TCP connection (tcp:HOST:PORT), the tool being the client, as simulators and
// companion computers offer it. A connection the far end closes or refuses is reported, and the
// controller tries again as it reopens a serial port that was pulled out.
#pragma once

#include "linkaddress.h"
#include "transport.h"

#include <QTcpSocket>

class TcpTransport : public Transport
{
    Q_OBJECT

public:
    explicit TcpTransport(const LinkAddress &address, QObject *parent = nullptr);
    ~TcpTransport() override;

    void open() override;
    void close() override;
    bool isOpen() const override { return m_socket.state() == QAbstractSocket::ConnectedState; }
    Write write(const char *data, int size) override;
    void drain() override;

private:
    void onError(QAbstractSocket::SocketError error);

    LinkAddress m_address;
    QTcpSocket m_socket;
    bool m_connected = false;
};
