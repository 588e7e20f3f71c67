#include "openfailure.h"

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

QString openFailureMessage(OpenFailure why, const QString &port, const QString &detail,
                           int languageIndex)
{
    const bool english = languageIndex == 0;
    QString text;
    switch (why) {
    case OpenFailure::NotFound:
        text = english ? QStringLiteral("Cannot open %1: there is no such port (%2). Check the "
                                        "port name and that the gimbal is plugged in.")
                       : QStringLiteral("无法打开 %1：找不到该端口（%2）。请检查端口名称以及云台"
                                        "是否已连接。");
        break;
    case OpenFailure::Busy:
        text = english ? QStringLiteral("Cannot open %1: another program is using it (%2). Close "
                                        "that program and try again.")
                       : QStringLiteral("无法打开 %1：端口被其他程序占用（%2）。请关闭该程序后"
                                        "重试。");
        break;
    case OpenFailure::PermissionDenied:
        text = english ? QStringLiteral("Cannot open %1: permission denied (%2). Join the dialout "
                                        "group with \"sudo usermod -aG dialout $USER\", then log "
                                        "in again.")
                       : QStringLiteral("无法打开 %1：没有权限（%2）。请用 \"sudo usermod -aG "
                                        "dialout $USER\" 加入 dialout 组，然后重新登录。");
        break;
    case OpenFailure::Other:
        text =
            english ? QStringLiteral("Cannot open %1: %2.") : QStringLiteral("无法打开 %1：%2。");
        break;
    }
    return text.arg(port, detail);
}
