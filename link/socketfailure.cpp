#include "socketfailure.h"

#include <QCoreApplication>

QString explainSocketFailure(const LinkAddress &address, QAbstractSocket::SocketError error,
                             const QString &systemText)
{
    const QString where = address.endpoint();
    switch (error) {
    case QAbstractSocket::AddressInUseError:
        return QCoreApplication::translate(
                   "SocketFailure",
                   "UDP 端口 %1 已被另一个程序占用（也许是另一个地面站）：请关闭它或换一个端口。")
            .arg(where);
    case QAbstractSocket::SocketAddressNotAvailableError:
        return QCoreApplication::translate("SocketFailure", "本机没有地址 %1。").arg(where);
    case QAbstractSocket::HostNotFoundError:
        return QCoreApplication::translate("SocketFailure", "找不到主机 %1。").arg(address.host);
    case QAbstractSocket::ConnectionRefusedError:
        return QCoreApplication::translate("SocketFailure",
                                           "TCP %1 拒绝连接：对方没有在该端口监听。")
            .arg(where);
    case QAbstractSocket::RemoteHostClosedError:
        return QCoreApplication::translate("SocketFailure", "TCP %1 关闭了连接。").arg(where);
    case QAbstractSocket::SocketAccessError:
        return QCoreApplication::translate("SocketFailure", "无权使用 %1：%2")
            .arg(where, systemText);
    default:
        return QCoreApplication::translate("SocketFailure", "%1：%2").arg(where, systemText);
    }
}
