#include "openfailure.h"

#include <QCoreApplication>
#include <QFile>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

OpenFailure classifyOpenFailure(QSerialPort::SerialPortError error, bool userMayAccess)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::NotFound;
    case QSerialPort::PermissionError:
        // The port reports a held port and a forbidden one alike.
        return userMayAccess ? OpenFailure::Busy : OpenFailure::PermissionDenied;
    default:
        return OpenFailure::Other;
    }
}

bool userMayAccess(const QString &portName)
{
#ifdef Q_OS_WIN
    Q_UNUSED(portName)
    return true;
#else
    // The port opens a name without a folder under /dev, as the port list shows them.
    const QString path =
        portName.contains(QLatin1Char('/')) ? portName : QStringLiteral("/dev/") + portName;
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
#endif
}

QString openFailureMessage(OpenFailure why, const QString &port, const QString &detail)
{
    QString text;
    switch (why) {
    case OpenFailure::NotFound:
        text = QCoreApplication::translate(
            "OpenFailure", "无法打开 %1：找不到该端口（%2）。请检查端口名称以及云台是否已连接。");
        break;
    case OpenFailure::Busy:
        text = QCoreApplication::translate(
            "OpenFailure", "无法打开 %1：端口被其他程序占用（%2）。请关闭该程序后重试。");
        break;
    case OpenFailure::PermissionDenied:
        text = QCoreApplication::translate("OpenFailure",
                                           "无法打开 %1：没有权限（%2）。请用 \"sudo usermod -aG "
                                           "dialout $USER\" 加入 dialout 组，然后重新登录。");
        break;
    case OpenFailure::Other:
        text = QCoreApplication::translate("OpenFailure", "无法打开 %1：%2。");
        break;
    }
    return text.arg(port, detail);
}
