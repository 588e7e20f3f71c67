#include "udpline.h"

#include <QNetworkDatagram>

UdpLine::UdpLine(const QHostAddress &tool, quint16 toolPort, QObject *parent)
    : SimulatorLine(parent), m_tool(tool), m_toolPort(toolPort)
{
    connect(&m_socket, &QUdpSocket::readyRead, this, &UdpLine::read);
}

bool UdpLine::open()
{
    if (!acceptHost(m_tool))
        return false;
    if (!m_socket.bind(m_tool, m_ownPort)) {
        setError(
            QStringLiteral("no UDP port on %1: %2").arg(m_tool.toString(), m_socket.errorString()));
        return false;
    }
    m_ownPort = m_socket.localPort();
    return true;
}

void UdpLine::close()
{
    m_socket.close();
    m_received.clear();
}

QString UdpLine::address() const
{
    return networkAddress("udp", m_tool, m_toolPort);
}

bool UdpLine::send(const QByteArray &bytes)
{
    return isOpen() && m_socket.writeDatagram(bytes, m_tool, m_toolPort) == bytes.size();
}

QByteArray UdpLine::takeReceived()
{
    QByteArray bytes;
    bytes.swap(m_received);
    return bytes;
}

void UdpLine::read()
{
    while (m_socket.hasPendingDatagrams())
        m_received.append(m_socket.receiveDatagram().data());
    if (!m_received.isEmpty())
        emit received();
}
