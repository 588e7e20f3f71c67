#include "serialtransport.h"

#include "openfailure.h"
#include "outputqueue.h"
#include "serial.h"

namespace {
// A few commands' worth: more waiting in the port, or in the system's queue behind it, means the
// device is not reading.
constexpr qint64 MaxQueuedBytes = 4 * 26;
// 8N1: ten bits on the line for every byte.
constexpr int BitsPerByte = 10;
// Long enough for a few frames at the slowest usual rate, short enough not to be felt.
constexpr int DrainMs = 100;
} // namespace

SerialTransport::SerialTransport(Serial &serial, QObject *parent)
    : Transport(parent), m_serial(serial)
{
    connect(&serial, &Serial::readSignal, this,
            [this] { emit received(m_serial.receivedData(), 0); });
}

void SerialTransport::setPort(const QString &name, int baudRate)
{
    m_name = name;
    m_baudRate = baudRate;
}

void SerialTransport::open()
{
    m_stalled = false;
    m_keepOutput = false;
    if (m_serial.openPort(m_name, m_baudRate))
        emit opened();
    else
        emit failed(explainOpenFailure(m_name, m_serial.error(), m_serial.errorString()));
}

void SerialTransport::close()
{
    if (!m_serial.isOpen())
        return;
    if (m_keepOutput)
        m_serial.close();
    else
        m_serial.closePort();
}

void SerialTransport::drain()
{
    m_serial.waitForBytesWritten(DrainMs);
    m_keepOutput = true;
}

bool SerialTransport::isOpen() const
{
    return m_serial.isOpen();
}

// A dropped command keeps its sequence number, so the gap shows.
Transport::Write SerialTransport::write(const char *data, int size)
{
    const PortHandle handle = m_serial.handle();
    const qint64 inSystem = systemOutputQueue(handle);
    const qint64 inPort = m_serial.bytesToWrite();
    if (inSystem + inPort == 0)
        m_stalled = false;
    if ((inSystem >= MaxQueuedBytes || inPort >= MaxQueuedBytes) && !m_stalled) {
        m_stalled = true;
        emit stalled();
    }
    if (inSystem >= MaxQueuedBytes)
        discardSystemOutput(handle);
    if (inPort >= MaxQueuedBytes)
        return Write::Dropped;
    m_serial.write(data, size);
    return Write::Sent;
}

int SerialTransport::bytesPerSecond() const
{
    return m_baudRate > 0 ? m_baudRate / BitsPerByte : 0;
}

// The same test as write()'s: a burst of the tool's own frames within one tick fills the port's
// buffer before the event loop drains it, and must stop short of looking like a stall.
bool SerialTransport::takesMore() const
{
    return m_serial.isOpen() && systemOutputQueue(m_serial.handle()) < MaxQueuedBytes &&
           m_serial.bytesToWrite() < MaxQueuedBytes;
}
