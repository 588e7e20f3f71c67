// Notices serial ports that the system adds or removes and reports each by its port name.
// On Windows it reads the device-change broadcasts through the native event filter; on Linux a
// udev monitor of the tty subsystem feeds the same two signals.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <functional>

class SerialEvent : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    SerialEvent();

    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

    // The device-change decision, free of Windows types so that it can be tested anywhere.
    // `deviceType` and `portName` read the broadcast record; they are called only for an
    // arrival or removal, and `portName` only for a port-type device, since other broadcasts
    // carry other records (or none). Always returns false: the message goes on as usual.
    bool deviceChange(const QByteArray &eventType, quint32 message, quintptr code,
                      const std::function<quint32()> &deviceType,
                      const std::function<QString()> &portName);

    // Whether a native event of this type carries a Windows MSG.
    static bool isWindowsMessage(const QByteArray &eventType);

signals:
    void comDevArriaval(QString devName);
    void comDevRemoveComplete(QString devName);

private:
    void reportArrival(const QString &name);
    void reportRemoval(const QString &name);
};
