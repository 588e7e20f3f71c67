// The gimbal on UDP, as a vehicle that sends to a ground station's well-known port: each frame
// goes to the tool's address in a datagram of its own, from a port of the gimbal's own, and what
// arrives at that port is taken for the tool's.
#pragma once

#include "simulatorline.h"

#include <QHostAddress>
#include <QUdpSocket>

class UdpLine : public SimulatorLine
{
    Q_OBJECT

public:
    UdpLine(const QHostAddress &tool, quint16 toolPort, QObject *parent = nullptr);

    // Binds the gimbal's port: any free one the first time, the same one again after close(), so
    // that the address the tool has learnt stays right.
    bool open() override;
    // Closes the socket: nothing is sent, and what the tool sends meanwhile finds no port.
    void close() override;
    bool isOpen() const override { return m_socket.state() == QAbstractSocket::BoundState; }
    // The tool's address: the gimbal's own is for the tool to learn.
    QString address() const override;
    bool mustSpeakFirst() const override { return true; }
    bool send(const QByteArray &bytes) override;
    QByteArray takeReceived() override;

private:
    void read();

    QHostAddress m_tool;
    quint16 m_toolPort = 0;
    quint16 m_ownPort = 0;
    QUdpSocket m_socket;
    QByteArray m_received;
};
