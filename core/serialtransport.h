// The link over the serial port: the tool's one Serial wrapper opened with the gimbal's line
// settings. A device that stops reading would collect every command and get them late, in a
// burst; what waits in the system's queue is dropped instead, so that the device reads the
// current command next, and the port's own buffer keeps whole frames and takes no more than a
// few. A stall ends when everything has drained.
#pragma once

#include <transport.h>

class Serial;

class SerialTransport : public Transport
{
    Q_OBJECT

public:
    explicit SerialTransport(Serial &serial, QObject *parent = nullptr);

    // The port and baud rate of the next open().
    void setPort(const QString &name, int baudRate);

    void open() override;
    void close() override;
    bool isOpen() const override;
    Write write(const char *data, int size) override;
    void drain() override;
    int bytesPerSecond() const override;
    bool takesMore() const override;

signals:
    // The device stopped reading and waiting commands were dropped.
    void stalled();

private:
    Serial &m_serial;
    QString m_name;
    int m_baudRate = 0;
    bool m_stalled = false;
    // What was written must go out: the close leaves the system's queue alone.
    bool m_keepOutput = false;
};
