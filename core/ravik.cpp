#include "ravik.h"

#include "linkstatus.h"
#include "openfailure.h"
#include "outputqueue.h"
#include "serial.h"
#include "serialevent.h"

#include <encoder.h>
#include <messages.h>
#include <parser.h>

#include <QCoreApplication>
#include <QDebug>
#include <QLocale>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr int CommandPeriodMs = 20;
// A few commands' worth: more waiting in the port, or in the system's queue behind it, means the
// device is not reading.
constexpr qint64 MaxQueuedCommandBytes = 4 * 26;
// Where no arrival broadcast comes (containers, virtual ports, by-id links) the vanished port is
// tried again this often.
constexpr int ReopenRetryMs = 1000;
constexpr double Pi = 3.141592653589793;

// The joystick's full deflection of 1 asks for a quarter turn per second. Whatever a caller
// hands over, the gimbal gets a finite rate within that: no deflection for a value that is not
// a number, full deflection for anything beyond it.
float scaledRate(float rate)
{
    const float deflection = std::isnan(rate) ? 0.0f : std::clamp(rate, -1.0f, 1.0f);
    return static_cast<float>(static_cast<double>(deflection) * Pi * 0.5);
}
} // namespace

Ravik::Ravik(QObject *parent) : QObject(parent)
{
    // The wrapper must outlive the controller and the QML engine, which holds it as mySerial:
    // the application object, the last to go, owns it.
    serial = new Serial;
    serial->setParent(QCoreApplication::instance());
    m_languageIndex = QLocale().language() == QLocale::Chinese ? 1 : 0;

    sendTimer = new QTimer(this);
    connect(sendTimer, &QTimer::timeout, this, &Ravik::onTimerTimeout);
    sendTimer->start(CommandPeriodMs);

    m_linkStatus = new LinkStatus(this);
    m_reopenTimer = new QTimer(this);
    m_reopenTimer->setInterval(ReopenRetryMs);
    connect(m_reopenTimer, &QTimer::timeout, this, &Ravik::tryReopen);

    m_serialPort = serial->portNameList();
    serialEvent = new SerialEvent;

    connect(serial, &Serial::readSignal, this, &Ravik::onSerialData);
    connect(serialEvent, &SerialEvent::comDevArriaval, this, &Ravik::onDeviceArrived);
    connect(serialEvent, &SerialEvent::comDevRemoveComplete, this, &Ravik::onDeviceRemoved);
    // Where no removal broadcast comes (virtual ports, no udev), the port itself says that its
    // device is gone; that is handled as the removal of the port in use.
    connect(serial, &QSerialPort::errorOccurred, this, &Ravik::onSerialError);
}

Ravik::~Ravik()
{
    delete serialEvent;
}

QStringList Ravik::serialPort() const
{
    for (const QString &name : m_serialPort)
        qDebug() << name;
    return m_serialPort;
}

void Ravik::onTimerTimeout()
{
    emit commandDue();
    if (m_tickHook && serial->isOpen() &&
        m_tickHook(scaledRate(demandedRateX), scaledRate(demandedRateY), scaledRate(demandedRateZ)))
        return;
    gimbalControl(demandedRateX, demandedRateY, demandedRateZ);
}

void Ravik::switchSerial(QString serial_name, QString serial_boud)
{
    // Pressing the button while the tool waits for a vanished port is the user's own choice.
    cancelReopen();
    if (!m_serialIsOpen) {
        currentPortName = serial_name;
        m_baudRate = serial_boud.toInt(nullptr, 10);
        m_serialIsOpen = serial->openPort(serial_name, m_baudRate);
        if (m_serialIsOpen) {
            portOpened();
        } else {
            emit addMessage(
                explainOpenFailure(serial_name, serial->error(), serial->errorString()));
        }
    } else {
        // Cleared first: a port whose device is gone complains while it closes, and that is not
        // a removal to react to.
        m_serialIsOpen = false;
        serial->closePort();
        m_linkStatus->portClosed();
    }
    emit serialIsOpenChanged();
}

void Ravik::portOpened()
{
    mavlink_reset_receive();
    m_stalled = false;
    m_linkStatus->portOpened(currentPortName);
}

void Ravik::setLanguage(int indexOfLanguage)
{
    m_languageIndex = indexOfLanguage;
    emit languageIndexChanged();
}

void Ravik::gimbalControl(float demanded_rate_x, float demanded_rate_y, float demanded_rate_z)
{
    if (!serial->isOpen()) {
        emit addMessage(tr("请您先打开串口"));
        return;
    }
    mavlink_message_t msg;
    mavlink_msg_gimbal_control_pack(0, 0, &msg, 1, 1, scaledRate(demanded_rate_x),
                                    scaledRate(demanded_rate_y), scaledRate(demanded_rate_z));
    writeCommand(msg);
}

// A stalled device would otherwise collect every tick's command and get them late, in a burst.
// What waits in the system's queue is dropped, so that the device reads the current command
// next; the port's own buffer keeps whole frames and takes no more than a few. A dropped command
// keeps its sequence number, so the gap shows. A stall ends when everything has drained.
void Ravik::writeCommand(const mavlink_message_t &msg)
{
    const PortHandle handle = serial->handle();
    const qint64 inSystem = systemOutputQueue(handle);
    const qint64 inPort = serial->bytesToWrite();
    if (inSystem + inPort == 0)
        m_stalled = false;
    if ((inSystem >= MaxQueuedCommandBytes || inPort >= MaxQueuedCommandBytes) && !m_stalled) {
        m_stalled = true;
        m_linkStatus->countStall();
    }
    if (inSystem >= MaxQueuedCommandBytes)
        discardSystemOutput(handle);
    if (inPort >= MaxQueuedCommandBytes)
        return;
    std::uint8_t buffer[MAVLINK_MAX_PACKET_LEN];
    const std::uint16_t length = mavlink_msg_to_send_buffer(buffer, &msg);
    serial->write(reinterpret_cast<const char *>(buffer), length);
    emit commandSent(msg);
}

void Ravik::setJoystick(float demanded_rate_x, float demanded_rate_y, float demanded_rate_z)
{
    demandedRateX = demanded_rate_x;
    demandedRateY = demanded_rate_y;
    demandedRateZ = demanded_rate_z;
}

void Ravik::onSerialData()
{
    const QByteArray chunk = serial->receivedData();
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(chunk.constData());
    std::size_t left = static_cast<std::size_t>(chunk.size());
    mavlink_message_t msg;
    while (left > 0) {
        std::uint8_t result = MAVLINK_FRAMING_INCOMPLETE;
        const std::size_t used = mavlink_parse_chunk(bytes, left, &msg, &result);
        bytes += used;
        left -= used;
        if (result == MAVLINK_FRAMING_OK)
            handleFrame(msg);
        else if (result == MAVLINK_FRAMING_BAD_CRC)
            m_linkStatus->countBadFrame();
    }
}

void Ravik::handleFrame(const mavlink_message_t &msg)
{
    m_linkStatus->countFrame(msg.sysid, msg.compid, msg.seq, msg.msgid);
    if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_REPORT) {
        const mavlink_gimbal_report_t report = mavlink_msg_gimbal_report_decode(&msg);
        m_gimbalImuAngle[0] = QVariant(report.joint_roll);
        m_gimbalImuAngle[1] = QVariant(report.joint_el);
        m_gimbalImuAngle[2] = QVariant(report.joint_az);
        emit gimbalImuAngleChanged();
    } else if (msg.msgid == MAVLINK_MSG_ID_HEARTBEAT) {
        const mavlink_heartbeat_t heartbeat = mavlink_msg_heartbeat_decode(&msg);
        qDebug() << "System status:" << int(heartbeat.system_status);
        m_linkStatus->countHeartbeat(msg.sysid, msg.compid, heartbeat.system_status);
    }
    emit frameReceived(msg);
}

void Ravik::onDeviceArrived()
{
    m_serialPort = serial->portNameList();
    emit serialPortChanged();
    // The arrival may be the awaited device under any name (a by-id link names no kernel device).
    if (awaitingPort())
        tryReopen();
}

void Ravik::onDeviceRemoved(const QString &devName)
{
    m_serialPort = serial->portNameList();
    emit serialPortChanged();
    if (devName != currentPortName || !serial->isOpen())
        return;
    emit addMessage(tr("云台与电脑连接异常，请检查USB连接"));
    serial->close();
    m_serialIsOpen = false;
    awaitPort(devName);
    emit serialIsOpenChanged();
}

void Ravik::onSerialError(QSerialPort::SerialPortError error)
{
    // Only a port that the controller holds open can vanish; errors raised while it opens or
    // closes the port itself are not a removal.
    if (error == QSerialPort::ResourceError && m_serialIsOpen)
        onDeviceRemoved(currentPortName);
}

void Ravik::awaitPort(const QString &name)
{
    m_awaitedPort = name;
    m_linkStatus->waitingFor(name);
    m_reopenTimer->start();
}

void Ravik::cancelReopen()
{
    if (!awaitingPort())
        return;
    m_awaitedPort.clear();
    m_reopenTimer->stop();
    m_linkStatus->portClosed();
}

// Quiet: a device that is not back yet simply fails to open until it is.
void Ravik::tryReopen()
{
    if (!serial->openPort(m_awaitedPort, m_baudRate))
        return;
    m_awaitedPort.clear();
    m_reopenTimer->stop();
    m_serialIsOpen = true;
    portOpened();
    emit addMessage(tr("云台已重新连接：%1 已再次打开。").arg(currentPortName));
    emit serialIsOpenChanged();
}
