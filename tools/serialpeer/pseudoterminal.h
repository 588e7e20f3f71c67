// A pseudo-terminal whose device end stands in for a USB serial port: the code under test opens
// devicePath() like any port, and the far end reads what it writes and writes what it reads.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

class PseudoTerminal : public QObject
{
    Q_OBJECT

public:
    explicit PseudoTerminal(QObject *parent = nullptr);
    ~PseudoTerminal() override;

    bool isOpen() const { return m_farEnd >= 0; }
    QString devicePath() const { return m_devicePath; }
    // The far end's descriptor (non-blocking), for a writer on another thread.
    int farEndDescriptor() const { return m_farEnd; }

    // Queues `bytes` for the device end; what the terminal cannot take now goes out as it drains.
    void write(const QByteArray &bytes);
    // Bytes queued by write() that the terminal has not taken yet.
    int pendingSize() const { return m_pending.size(); }
    QByteArray takeReceived();
    int receivedSize() const { return m_received.size(); }
    // Runs the event loop until `bytes` bytes have arrived or `timeoutMs` has passed.
    bool waitForReceived(int bytes, int timeoutMs);
    // Hangs the terminal up, as a device does when it is pulled out.
    void closeFarEnd();
    // Stops or resumes reading the far end, as a stalled device does: once the terminal's buffer
    // is full, writes at the device end no longer go through.
    void setReading(bool reading);

signals:
    void received();

private:
    void readFarEnd();
    void flushPending();

    int m_farEnd = -1;
    // Held open so that the far end never sees a hang-up while the port is closed and reopened.
    int m_deviceEnd = -1;
    QString m_devicePath;
    QByteArray m_received;
    QByteArray m_pending;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
};
