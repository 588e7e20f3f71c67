#include "udevportwatcher.h"

#include <QSocketNotifier>

#include <libudev.h>

UdevPortWatcher::UdevPortWatcher(QObject *parent) : QObject(parent)
{
    m_udev = udev_new();
    if (!m_udev)
        return;
    // "udev" events come after the rules have run, so the device node exists on arrival.
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0)
        return;
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevPortWatcher::receive);
}

UdevPortWatcher::~UdevPortWatcher()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

void UdevPortWatcher::handleEvent(const QByteArray &action, const QString &name)
{
    if (action == "add")
        emit portAdded(name);
    else if (action == "remove")
        emit portRemoved(name);
}

void UdevPortWatcher::receive()
{
    udev_device *device = udev_monitor_receive_device(m_monitor);
    if (!device)
        return;
    const char *action = udev_device_get_action(device);
    const char *name = udev_device_get_sysname(device);
    if (action && name)
        handleEvent(action, QString::fromLocal8Bit(name));
    udev_device_unref(device);
}
