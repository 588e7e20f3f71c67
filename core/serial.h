// The link's one serial port: opens a named port with the gimbal's line settings and keeps the
// chunk of each read for the controller.
#pragma once

#include <QByteArray>
#include <QSerialPort>
#include <QStringList>

class QTextCodec;

class Serial : public QSerialPort
{
    Q_OBJECT

public:
    Serial();

    // Opens `name` read-write at `baudRate`, 8N1 without flow control. A setting the driver refuses
    // leaves the port open; only a failed open returns false.
    bool openPort(const QString &name, int baudRate);
    void closePort();
    // The ports present in enumeration order, or "None" alone when there is none.
    QStringList portNameList() const;

    const QByteArray &receivedData() const { return m_receivedData; }
    int receivedCount() const { return m_receivedCount; }

    // The running total after `added` more characters. It wraps from INT_MAX back to 0 so that it
    // stays a valid, non-negative int however much traffic the link carries.
    static int advancedCount(int total, int added);

signals:
    void readSignal(int recByte);
    void sendSuccess(int sendByte);

private:
    void onReadyRead();

    int m_receivedCount = 0;
    QByteArray m_receivedData;
    QTextCodec *m_codec;
};
