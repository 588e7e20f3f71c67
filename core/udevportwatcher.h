// Linux source of port arrivals and removals: a udev monitor of the tty subsystem, served by the
// event loop through a socket notifier. Where udev cannot be opened it stays silent.
#pragma once

#include <QObject>

class QSocketNotifier;
struct udev;
struct udev_monitor;

class UdevPortWatcher : public QObject
{
    Q_OBJECT

public:
    explicit UdevPortWatcher(QObject *parent = nullptr);
    ~UdevPortWatcher() override;

    // Turns one udev event of the tty subsystem into a signal; `name` is the kernel name of the
    // device (ttyUSB0), which is also the name the port list shows.
    void handleEvent(const QByteArray &action, const QString &name);

signals:
    void portAdded(QString name);
    void portRemoved(QString name);

private:
    void receive();

    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
};
