#include "udptransport.h"

#include "socketfailure.h"

#include <QHostInfo>

namespace {
// The senders told apart on one port; beyond them a datagram is not heard.
constexpr std::size_t MaxSources = 8;
constexpr int MaxDatagram = 65536;
} // namespace

UdpTransport::UdpTransport(const LinkAddress &address, QObject *parent)
    : Transport(parent), m_address(address)
{
    connect(&m_socket, &QUdpSocket::readyRead, this, &UdpTransport::readDatagrams);
}

UdpTransport::~UdpTransport()
{
    close();
}

void UdpTransport::open()
{
    close();
    if (m_address.kind == LinkAddress::UdpListen) {
        bindTo({});
        return;
    }
    const QHostAddress literal(m_address.host);
    if (!literal.isNull()) {
        bindTo(literal);
        return;
    }
    m_lookup = QHostInfo::lookupHost(m_address.host, this, [this](const QHostInfo &info) {
        m_lookup = -1;
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
            emit failed(explainSocketFailure(m_address, QAbstractSocket::HostNotFoundError,
                                             info.errorString()));
            return;
        }
        bindTo(info.addresses().first());
    });
}

// Exclusively: where another program holds the port, the user should hear of it, not share its
// datagrams.
void UdpTransport::bindTo(const QHostAddress &destination)
{
    bool bound = false;
    if (m_address.kind == LinkAddress::UdpListen) {
        const QHostAddress local = m_address.host.isEmpty() ? QHostAddress(QHostAddress::Any)
                                                            : QHostAddress(m_address.host);
        bound = m_socket.bind(local, m_address.port, QAbstractSocket::DontShareAddress);
    } else {
        const QHostAddress any = destination.protocol() == QAbstractSocket::IPv6Protocol
                                     ? QHostAddress(QHostAddress::AnyIPv6)
                                     : QHostAddress(QHostAddress::AnyIPv4);
        bound = m_socket.bind(any, 0, QAbstractSocket::DontShareAddress);
        m_destination = {destination, m_address.port};
    }
    if (!bound) {
        const QString why =
            explainSocketFailure(m_address, m_socket.error(), m_socket.errorString());
        m_socket.close();
        emit failed(why);
        return;
    }
    emit opened();
}

void UdpTransport::close()
{
    if (m_lookup >= 0) {
        QHostInfo::abortHostLookup(m_lookup);
        m_lookup = -1;
    }
    m_socket.close();
    m_sources.clear();
    m_destination = {{}, 0};
}

Transport::Write UdpTransport::write(const char *data, int size)
{
    if (m_destination.port == 0)
        return Write::NoPeer;
    return m_socket.writeDatagram(data, size, m_destination.address, m_destination.port) == size
               ? Write::Sent
               : Write::Dropped;
}

void UdpTransport::replyTo(int source)
{
    // Sending to a fixed address, the answers' source changes nothing.
    if (m_address.kind != LinkAddress::UdpListen)
        return;
    if (source >= 0 && static_cast<std::size_t>(source) < m_sources.size())
        m_destination = m_sources[static_cast<std::size_t>(source)];
    else
        m_destination = {{}, 0};
}

QString UdpTransport::peerName(int source) const
{
    if (source < 0 || static_cast<std::size_t>(source) >= m_sources.size())
        return {};
    const Endpoint &endpoint = m_sources[static_cast<std::size_t>(source)];
    QHostAddress address = endpoint.address;
    // A dual-stack socket reports IPv4 senders as mapped IPv6 addresses.
    bool isIpv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIpv4);
    if (isIpv4)
        address = QHostAddress(ipv4);
    const QString text = address.toString();
    return address.protocol() == QAbstractSocket::IPv6Protocol
               ? QStringLiteral("[%1]:%2").arg(text).arg(endpoint.port)
               : QStringLiteral("%1:%2").arg(text).arg(endpoint.port);
}

// Into one buffer as large as a datagram can be, which saves asking each one's size first.
void UdpTransport::readDatagrams()
{
    if (m_buffer.isEmpty())
        m_buffer.resize(MaxDatagram);
    while (m_socket.hasPendingDatagrams()) {
        QHostAddress address;
        quint16 port = 0;
        const qint64 read =
            m_socket.readDatagram(m_buffer.data(), m_buffer.size(), &address, &port);
        if (read <= 0)
            continue;
        const int source = sourceOf(address, port);
        if (source >= 0)
            emit received(QByteArray(m_buffer.constData(), static_cast<int>(read)), source);
    }
}

int UdpTransport::sourceOf(const QHostAddress &address, quint16 port)
{
    for (std::size_t i = 0; i < m_sources.size(); ++i) {
        if (m_sources[i].port == port && m_sources[i].address.isEqual(address))
            return static_cast<int>(i);
    }
    if (m_sources.size() == MaxSources)
        return -1;
    m_sources.push_back({address, port});
    return static_cast<int>(m_sources.size() - 1);
}
