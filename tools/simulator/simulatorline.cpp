#include "simulatorline.h"

#include <QHostAddress>

QString SimulatorLine::networkAddress(const char *scheme, const QHostAddress &host, quint16 port)
{
    const QString name = host.protocol() == QAbstractSocket::IPv6Protocol
                             ? QLatin1Char('[') + host.toString() + QLatin1Char(']')
                             : host.toString();
    return QStringLiteral("%1:%2:%3").arg(QLatin1String(scheme), name).arg(port);
}

bool SimulatorLine::acceptHost(const QHostAddress &host)
{
    if (host.isLoopback())
        return true;
    setError(QStringLiteral("%1 is not a loopback address").arg(host.toString()));
    return false;
}
