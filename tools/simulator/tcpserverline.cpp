#include "tcpserverline.h"

#include <QTcpSocket>

TcpServerLine::TcpServerLine(const QHostAddress &host, quint16 port, QObject *parent)
    : SimulatorLine(parent), m_host(host), m_port(port)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TcpServerLine::serveNext);
}

TcpServerLine::~TcpServerLine()
{
    m_server.disconnect(this);
    dropClient();
}

bool TcpServerLine::open()
{
    if (!acceptHost(m_host))
        return false;
    if (!m_server.listen(m_host, m_port)) {
        setError(QStringLiteral("cannot listen on %1: %2").arg(address(), m_server.errorString()));
        return false;
    }
    m_port = m_server.serverPort();
    return true;
}

void TcpServerLine::close()
{
    m_server.close();
    while (m_server.hasPendingConnections()) {
        QTcpSocket *waiting = m_server.nextPendingConnection();
        waiting->abort();
        waiting->deleteLater();
    }
    dropClient();
    m_received.clear();
}

QString TcpServerLine::address() const
{
    return networkAddress("tcp", m_host, m_port);
}

bool TcpServerLine::send(const QByteArray &bytes)
{
    if (!m_client || m_client->bytesToWrite() > MaxQueuedBytes)
        return false;
    return m_client->write(bytes) == bytes.size();
}

QByteArray TcpServerLine::takeReceived()
{
    QByteArray bytes;
    bytes.swap(m_received);
    return bytes;
}

void TcpServerLine::serveNext()
{
    if (m_client && m_client->state() == QAbstractSocket::ConnectedState)
        return;
    dropClient();
    while (!m_client && m_server.hasPendingConnections()) {
        QTcpSocket *next = m_server.nextPendingConnection();
        if (next->state() != QAbstractSocket::ConnectedState) {
            next->deleteLater();
            continue;
        }
        m_client = next;
        // Frames are small and each should leave at once, not wait to be sent with the next.
        m_client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(m_client, &QTcpSocket::readyRead, this, &TcpServerLine::read);
        connect(m_client, &QTcpSocket::disconnected, this, &TcpServerLine::serveNext);
        m_received.clear();
        emit restarted();
        read();
    }
}

void TcpServerLine::dropClient()
{
    if (!m_client)
        return;
    m_client->disconnect(this);
    m_client->abort();
    m_client->deleteLater();
    m_client = nullptr;
}

void TcpServerLine::read()
{
    m_received.append(m_client->readAll());
    if (!m_received.isEmpty())
        emit received();
}
