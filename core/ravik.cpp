#include "ravik.h"

#include "serial.h"
#include "serialevent.h"

#include <encoder.h>
#include <messages.h>
#include <parser.h>

#include <QCoreApplication>
#include <QDebug>
#include <QLocale>
#include <QTimer>

namespace {
constexpr int CommandPeriodMs = 20;
// A few commands' worth: more waiting in the port means the link is not draining.
constexpr qint64 MaxQueuedCommandBytes = 4 * 26;
constexpr double Pi = 3.141592653589793;

// The joystick's full deflection of 1 asks for a quarter turn per second.
float scaledRate(float rate)
{
    return static_cast<float>(static_cast<double>(rate) * Pi * 0.5);
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
    gimbalControl(demandedRateX, demandedRateY, demandedRateZ);
}

void Ravik::switchSerial(QString serial_name, QString serial_boud)
{
    if (!m_serialIsOpen) {
        currentPortName = serial_name;
        m_serialIsOpen = serial->openPort(serial_name, serial_boud.toInt(nullptr, 10));
        if (m_serialIsOpen)
            mavlink_reset_receive();
    } else {
        // Cleared first: a port whose device is gone complains while it closes, and that is not
        // a removal to react to.
        m_serialIsOpen = false;
        serial->closePort();
    }
    emit serialIsOpenChanged();
}

void Ravik::setLanguage(int indexOfLanguage)
{
    m_languageIndex = indexOfLanguage;
    emit languageIndexChanged();
}

void Ravik::gimbalControl(float demanded_rate_x, float demanded_rate_y, float demanded_rate_z)
{
    if (!serial->isOpen()) {
        emit addMessage(
            message(QStringLiteral("Please Open Serial First"), QStringLiteral("请您先打开串口")));
        return;
    }
    mavlink_message_t msg;
    mavlink_msg_gimbal_control_pack(0, 0, &msg, 1, 1, scaledRate(demanded_rate_x),
                                    scaledRate(demanded_rate_y), scaledRate(demanded_rate_z));
    std::uint8_t buffer[MAVLINK_MAX_PACKET_LEN];
    const std::uint16_t length = mavlink_msg_to_send_buffer(buffer, &msg);
    // A stalled device would otherwise collect every tick's command without bound and get them
    // late, in a burst. The dropped command keeps its sequence number, so the gap shows.
    if (serial->bytesToWrite() >= MaxQueuedCommandBytes)
        return;
    serial->write(reinterpret_cast<const char *>(buffer), length);
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
    mavlink_message_t msg;
    for (const char byte : chunk) {
        if (mavlink_parse_char(static_cast<std::uint8_t>(byte), &msg) != MAVLINK_FRAMING_OK)
            continue;
        if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_REPORT) {
            const mavlink_gimbal_report_t report = mavlink_msg_gimbal_report_decode(&msg);
            m_gimbalImuAngle[0] = QVariant(report.joint_roll);
            m_gimbalImuAngle[1] = QVariant(report.joint_el);
            m_gimbalImuAngle[2] = QVariant(report.joint_az);
            emit gimbalImuAngleChanged();
        } else if (msg.msgid == MAVLINK_MSG_ID_HEARTBEAT) {
            const mavlink_heartbeat_t heartbeat = mavlink_msg_heartbeat_decode(&msg);
            qDebug() << "System status:" << int(heartbeat.system_status);
        }
    }
}

void Ravik::onDeviceArrived()
{
    m_serialPort = serial->portNameList();
    emit serialPortChanged();
}

void Ravik::onDeviceRemoved(const QString &devName)
{
    m_serialPort = serial->portNameList();
    emit serialPortChanged();
    if (devName != currentPortName || !serial->isOpen())
        return;
    emit addMessage(
        message(QStringLiteral("The gimbal is experiencing abnormal connection with the computer, "
                               "please check the USB connection."),
                QStringLiteral("云台与电脑连接异常，请检查USB连接")));
    serial->close();
    m_serialIsOpen = false;
    emit serialIsOpenChanged();
}

void Ravik::onSerialError(QSerialPort::SerialPortError error)
{
    // Only a port that the controller holds open can vanish; errors raised while it opens or
    // closes the port itself are not a removal.
    if (error == QSerialPort::ResourceError && m_serialIsOpen)
        onDeviceRemoved(currentPortName);
}

// The texts are literals held in static data, so the message that every tick emits while no port
// is open costs no allocation.
QString Ravik::message(const QString &english, const QString &chinese) const
{
    return m_languageIndex == 0 ? english : chinese;
}
