#include "linkaddress.h"

#include <QCoreApplication>
#include <QHostAddress>

namespace {
struct Scheme
{
    const char *prefix;
    LinkAddress::Kind kind;
};
const Scheme Schemes[] = {{"udp-out:", LinkAddress::UdpOut},
                          {"udp:", LinkAddress::UdpListen},
                          {"tcp:", LinkAddress::Tcp}};

std::optional<quint16> portNumber(const QString &text)
{
    bool number = false;
    const uint value = text.toUInt(&number, 10);
    if (!number || value < 1 || value > 65535 || text.startsWith(QLatin1Char('+')))
        return std::nullopt;
    return static_cast<quint16>(value);
}
} // namespace

QString LinkAddress::endpoint() const
{
    if (host.isEmpty())
        return QString::number(port);
    const QString shown = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("%1:%2").arg(shown).arg(port);
}

std::optional<LinkAddress> LinkAddress::parse(const QString &text, Error *error)
{
    Error ignored;
    Error &why = error ? *error : ignored;
    why = NoError;
    const QString trimmed = text.trimmed();
    LinkAddress address;
    QString rest;
    for (const Scheme &scheme : Schemes) {
        if (trimmed.startsWith(QLatin1String(scheme.prefix), Qt::CaseInsensitive)) {
            address.kind = scheme.kind;
            rest = trimmed.mid(static_cast<int>(qstrlen(scheme.prefix)));
            break;
        }
    }
    if (address.kind == Serial) {
        address.host = trimmed;
        return address;
    }

    // The port follows the last colon; before it stands the host, an IPv6 one in brackets.
    const int colon = rest.lastIndexOf(QLatin1Char(':'));
    QString host = colon >= 0 ? rest.left(colon) : QString();
    const QString port = colon >= 0 ? rest.mid(colon + 1) : rest;
    if (port.isEmpty()) {
        why = MissingPort;
        return std::nullopt;
    }
    const std::optional<quint16> number = portNumber(port);
    if (!number) {
        why = BadPort;
        return std::nullopt;
    }
    address.port = *number;
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    address.host = host;
    if (host.isEmpty() && address.kind != UdpListen) {
        why = MissingHost;
        return std::nullopt;
    }
    if (address.kind == UdpListen && !host.isEmpty() && QHostAddress(host).isNull()) {
        why = BadListenAddress;
        return std::nullopt;
    }
    if (host.contains(QLatin1Char(':')) && QHostAddress(host).isNull()) {
        why = MissingHost;
        return std::nullopt;
    }
    return address;
}

QString LinkAddress::explain(const QString &text, Error error)
{
    QString reason;
    switch (error) {
    case MissingPort:
        reason = QCoreApplication::translate("LinkAddress", "缺少端口号");
        break;
    case BadPort:
        reason = QCoreApplication::translate("LinkAddress", "端口须为 1 到 65535 之间的数字");
        break;
    case MissingHost:
        reason = QCoreApplication::translate("LinkAddress", "缺少主机地址");
        break;
    case BadListenAddress:
        reason = QCoreApplication::translate("LinkAddress", "监听地址须为 IP 地址，如 127.0.0.1");
        break;
    case NoError:
        break;
    }
    return QCoreApplication::translate("LinkAddress", "地址“%1”无效：%2。").arg(text, reason);
}
