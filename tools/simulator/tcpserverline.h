// The gimbal behind a TCP server, as vehicle simulators offer one. It serves one client at a
// time: one that connects meanwhile waits until the one served closes. Bytes go to the client
// served, and are lost while there is none.
#pragma once

#include "simulatorline.h"

#include <QHostAddress>
#include <QTcpServer>

class QTcpSocket;

class TcpServerLine : public SimulatorLine
{
    Q_OBJECT

public:
    // `port` 0 for any free port, kept from then on.
    TcpServerLine(const QHostAddress &host, quint16 port, QObject *parent = nullptr);
    // The client is the server's child: let go of it before the server, whose end would close it
    // and call back into a line half gone.
    ~TcpServerLine() override;

    bool open() override;
    // Closes the connection and stops listening: the tool sees its connection close, and its
    // attempts to connect again are refused until open().
    void close() override;
    bool isOpen() const override { return m_server.isListening(); }
    QString address() const override;
    bool send(const QByteArray &bytes) override;
    QByteArray takeReceived() override;

private:
    // Takes the next waiting client once the one served is gone.
    void serveNext();
    void dropClient();
    void read();

    QHostAddress m_host;
    quint16 m_port = 0;
    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
    QByteArray m_received;
};
