#include "serialevent.h"

#include <QDebug>

#ifdef Q_OS_LINUX
#include "udevportwatcher.h"
#endif

namespace {
// The values of the Windows device-change broadcast, as <dbt.h> defines them.
constexpr quint32 WmDeviceChange = 0x0219;
constexpr quintptr DbtDeviceArrival = 0x8000;
constexpr quintptr DbtDeviceRemoveComplete = 0x8004;
constexpr quint32 DbtDevtypPort = 3;
} // namespace

SerialEvent::SerialEvent()
{
#ifdef Q_OS_LINUX
    auto *udev = new UdevPortWatcher(this);
    connect(udev, &UdevPortWatcher::portAdded, this, &SerialEvent::reportArrival);
    connect(udev, &UdevPortWatcher::portRemoved, this, &SerialEvent::reportRemoval);
#endif
}

#ifndef Q_OS_WIN
bool SerialEvent::nativeEventFilter(const QByteArray &, void *, long *)
{
    // Away from Windows the window system carries no device broadcasts.
    return false;
}
#endif

bool SerialEvent::isWindowsMessage(const QByteArray &eventType)
{
    return eventType == "windows_generic_MSG" || eventType == "windows_dispatcher_MSG";
}

bool SerialEvent::deviceChange(const QByteArray &eventType, quint32 message, quintptr code,
                               const std::function<quint32()> &deviceType,
                               const std::function<QString()> &portName)
{
    if (!isWindowsMessage(eventType) || message != WmDeviceChange)
        return false;
    if (code != DbtDeviceArrival && code != DbtDeviceRemoveComplete)
        return false;
    if (deviceType() != DbtDevtypPort)
        return false;

    if (code == DbtDeviceArrival)
        reportArrival(portName());
    else
        reportRemoval(portName());
    return false;
}

void SerialEvent::reportArrival(const QString &name)
{
    qDebug() << "device arrival:" << name;
    emit comDevArriaval(name);
}

void SerialEvent::reportRemoval(const QString &name)
{
    qDebug() << "device remove complete:" << name;
    emit comDevRemoveComplete(name);
}
