#include "openfailure.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

OpenFailure classifyOpenFailure(QSerialPort::SerialPortError error, int accessError)
{
    // The port reports a held port, a forbidden one and a name that its lock file cannot take
    // alike, as a permission error: the system's own answer tells them apart.
    switch (accessError) {
    case 0:
        break;
    case ENOENT:
        return OpenFailure::NotFound;
    case EACCES:
    case EPERM:
        return OpenFailure::PermissionDenied;
    default:
        return OpenFailure::Other;
    }
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::NotFound;
    case QSerialPort::PermissionError:
        return OpenFailure::Busy;
    default:
        return OpenFailure::Other;
    }
}

int deviceAccessError(const QString &portName)
{
#ifdef Q_OS_WIN
    Q_UNUSED(portName)
    return 0;
#else
    // The port opens a name without a folder under /dev, as the port list shows them.
    const QString path =
        portName.contains(QLatin1Char('/')) ? portName : QStringLiteral("/dev/") + portName;
    // The effective rights, as open() has them: plain access() would let root's permitted
    // rights answer for it.
    const int result =
        ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), R_OK | W_OK, AT_EACCESS);
    return result == 0 ? 0 : errno;
#endif
}

QString explainOpenFailure(const QString &port, QSerialPort::SerialPortError error,
                           const QString &portErrorText)
{
    const int accessError = deviceAccessError(port);
    return openFailureMessage(classifyOpenFailure(error, accessError), port,
                              accessError != 0 ? qt_error_string(accessError) : portErrorText);
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
