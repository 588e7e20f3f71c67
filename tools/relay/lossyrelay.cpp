#include "lossyrelay.h"

#include <QNetworkDatagram>

LossyRelay::LossyRelay(const RelayOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_forward(options.faults, options.seed),
      m_back(options.oneWay ? RelayFaults{} : options.faults, options.seed + 1)
{
    connect(&m_listening, &QUdpSocket::readyRead, this, &LossyRelay::readListening);
    connect(&m_towardTool, &QUdpSocket::readyRead, this, &LossyRelay::readTool);
    connect(&m_forward, &RelayPath::deliver, this, [this](const QByteArray &datagram) {
        m_towardTool.writeDatagram(datagram, m_options.host, m_options.toPort);
    });
    connect(&m_back, &RelayPath::deliver, this, [this](const QByteArray &datagram) {
        m_listening.writeDatagram(datagram, m_peer, m_peerPort);
    });
}

bool LossyRelay::start()
{
    // A relay that sends elsewhere would hand the tool's commands to another machine.
    if (!m_options.host.isLoopback()) {
        m_error = QStringLiteral("%1 is not a loopback address").arg(m_options.host.toString());
        return false;
    }
    if (!m_listening.bind(m_options.host, m_options.listenPort)) {
        m_error = m_listening.errorString();
        return false;
    }
    if (!m_towardTool.bind(m_options.host, 0)) {
        m_error = m_towardTool.errorString();
        return false;
    }
    return true;
}

void LossyRelay::flush()
{
    m_forward.flush();
    m_back.flush();
}

void LossyRelay::readListening()
{
    while (m_listening.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_listening.receiveDatagram();
        if (!datagram.senderAddress().isLoopback())
            continue;
        m_peer = datagram.senderAddress();
        m_peerPort = static_cast<quint16>(datagram.senderPort());
        m_forward.pass(datagram.data());
    }
}

void LossyRelay::readTool()
{
    // Replies from anyone but the tool, or before anyone was heard on the listening side, have
    // nowhere to go.
    while (m_towardTool.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_towardTool.receiveDatagram();
        if (datagram.senderPort() == m_options.toPort && m_peerPort != 0)
            m_back.pass(datagram.data());
    }
}
