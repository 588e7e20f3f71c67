#include "tcptransport.h"

#include "socketfailure.h"

#include <utility>

namespace {
// A stream cannot drop half a frame, so whole frames are held back before the socket once this
// much waits unsent: a few seconds of commands, where the far end has stopped reading.
constexpr qint64 MaxUnsentBytes = 4096;
constexpr int DrainMs = 100;
} // namespace

TcpTransport::TcpTransport(const LinkAddress &address, QObject *parent)
    : Transport(parent), m_address(address)
{
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_connected = true;
        // Commands are small and due every 20 ms: none may wait for the next one.
        m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        emit opened();
    });
    connect(&m_socket, &QTcpSocket::readyRead, this,
            [this] { emit received(m_socket.readAll(), 0); });
#if QT_VERSION >= QT_VERSION_CHECK(5, 15, 0)
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TcpTransport::onError);
#else
    connect(&m_socket, QOverload<QAbstractSocket::SocketError>::of(&QAbstractSocket::error), this,
            &TcpTransport::onError);
#endif
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] {
        if (std::exchange(m_connected, false))
            emit lost(explainSocketFailure(m_address, QAbstractSocket::RemoteHostClosedError, {}));
    });
}

TcpTransport::~TcpTransport()
{
    close();
}

void TcpTransport::open()
{
    close();
    m_socket.connectToHost(m_address.host, m_address.port);
}

void TcpTransport::close()
{
    m_connected = false;
    m_socket.abort();
}

Transport::Write TcpTransport::write(const char *data, int size)
{
    if (!m_connected || m_socket.bytesToWrite() >= MaxUnsentBytes)
        return Write::Dropped;
    return m_socket.write(data, size) == size ? Write::Sent : Write::Dropped;
}

// Into the system's buffer, which sends it even as the socket closes.
void TcpTransport::drain()
{
    if (m_connected)
        m_socket.waitForBytesWritten(DrainMs);
}

void TcpTransport::onError(QAbstractSocket::SocketError error)
{
    const QString why = explainSocketFailure(m_address, error, m_socket.errorString());
    if (std::exchange(m_connected, false)) {
        m_socket.abort();
        emit lost(why);
    } else {
        m_socket.abort();
        emit failed(why);
    }
}
