// A lossy UDP relay on loopback, for tests and demonstrations of the tool's network links: it
// takes datagrams on its listening port (from the simulated gimbal), passes them to the tool's
// port, and passes the tool's replies back to whoever it heard last on the listening side, each
// way through a RelayPath that drops, duplicates and reorders.
#pragma once

#include "relaypath.h"

#include <QHostAddress>
#include <QUdpSocket>

struct RelayOptions
{
    // Both ends are on this loopback address.
    QHostAddress host = QHostAddress(QHostAddress::LocalHost);
    // 0 for any free port.
    quint16 listenPort = 0;
    quint16 toPort = 0;
    RelayFaults faults;
    // The faults on the way to the tool only; its replies pass untouched, so that what arrives
    // back shows how the tool sent it.
    bool oneWay = false;
    unsigned seed = 1;
};

class LossyRelay : public QObject
{
    Q_OBJECT

public:
    explicit LossyRelay(const RelayOptions &options, QObject *parent = nullptr);

    // Binds the listening port and the relay's own port toward the tool. False, with
    // errorString(), for an address that is not loopback or a port in use.
    bool start();
    QString errorString() const { return m_error; }
    quint16 listenPort() const { return m_listening.localPort(); }
    // From the listening side to the tool, and back.
    const RelayCounts &forward() const { return m_forward.counts(); }
    const RelayCounts &back() const { return m_back.counts(); }
    // Sends what is held back, so that the counts add up at the end.
    void flush();

private:
    void readListening();
    void readTool();

    RelayOptions m_options;
    QUdpSocket m_listening;
    QUdpSocket m_towardTool;
    // Whom the replies go to: the last sender on the listening side, none before the first.
    QHostAddress m_peer;
    quint16 m_peerPort = 0;
    RelayPath m_forward;
    RelayPath m_back;
    QString m_error;
};
