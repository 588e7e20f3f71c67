#include "serial.h"

#include <QSerialPortInfo>
#include <QTextCodec>

#include <climits>

Serial::Serial() : m_codec(QTextCodec::codecForName("UTF-8"))
{
    // One connection for the object's whole life, so that each readyRead is handled once.
    connect(this, &QSerialPort::readyRead, this, &Serial::onReadyRead);
}

bool Serial::openPort(const QString &name, int baudRate)
{
    setPortName(name);
    if (!open(QIODevice::ReadWrite))
        return false;

    setBaudRate(baudRate, QSerialPort::AllDirections);
    setDataBits(QSerialPort::Data8);
    setParity(QSerialPort::NoParity);
    setStopBits(QSerialPort::OneStop);
    setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

void Serial::closePort()
{
    clear(QSerialPort::AllDirections);
    close();
}

QStringList Serial::portNameList() const
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names.append(info.portName());
    if (names.isEmpty())
        names.append(QStringLiteral("None"));
    return names;
}

int Serial::advancedCount(int total, int added)
{
    // Unsigned arithmetic wraps by definition; the mask folds the sum back into 0..INT_MAX.
    const unsigned sum = static_cast<unsigned>(total) + static_cast<unsigned>(added);
    return static_cast<int>(sum & static_cast<unsigned>(INT_MAX));
}

void Serial::onReadyRead()
{
    m_receivedData = readAll();
    // Each chunk is decoded by itself: the count is of characters, not of bytes.
    m_receivedCount = advancedCount(m_receivedCount, m_codec->toUnicode(m_receivedData).size());
    emit readSignal(m_receivedCount);
}
