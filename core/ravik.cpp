#include "ravik.h"

#include "linkstatus.h"
#include "serial.h"
#include "serialevent.h"
#include "serialtransport.h"

#include <messages.h>
#include <replaylink.h>
#include <tcptransport.h>
#include <udptransport.h>

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr int CommandPeriodMs = 20;
// Where no arrival broadcast comes (containers, virtual ports, by-id links) the vanished port is
// tried again this often; so is a network link that would not open or was lost.
constexpr int ReopenRetryMs = 1000;

// The joystick's full deflection of 1 asks for a quarter turn per second. Whatever a caller
// hands over, the gimbal gets a finite rate within that: no deflection for a value that is not
// a finite number (a broken input holds the gimbal rather than sending it full tilt), full
// deflection for a finite value beyond the stick.
float scaledRate(float rate)
{
    const float deflection = std::isfinite(rate) ? std::clamp(rate, -1.0f, 1.0f) : 0.0f;
    return static_cast<float>(static_cast<double>(deflection) * Ravik::FullDeflectionRate);
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
    // The coarse default may fire a millisecond early or late; the cadence is what the gimbal
    // feels.
    sendTimer->setTimerType(Qt::PreciseTimer);
    connect(sendTimer, &QTimer::timeout, this, &Ravik::onTimerTimeout);
    sendTimer->start(CommandPeriodMs);

    m_linkStatus = new LinkStatus(m_session.clock(), this);
    m_reopenTimer = new QTimer(this);
    m_reopenTimer->setInterval(ReopenRetryMs);
    connect(m_reopenTimer, &QTimer::timeout, this, &Ravik::tryReopen);

    m_serialPort = serial->portNameList();
    serialEvent = new SerialEvent;

    m_serialTransport = new SerialTransport(*serial, this);
    connect(m_serialTransport, &SerialTransport::stalled, m_linkStatus, &LinkStatus::countStall);
    m_replay = new ReplayLink(m_session.clock(), this);
    connect(m_replay, &ReplayLink::notice, this, &Ravik::addMessage);
    connect(&m_session, &MavlinkSession::opened, this, &Ravik::onLinkOpened);
    connect(&m_session, &MavlinkSession::failed, this, &Ravik::onLinkFailed);
    connect(&m_session, &MavlinkSession::lost, this, &Ravik::onLinkLost);
    connect(&m_session, &MavlinkSession::frameReceived, this, &Ravik::handleFrame);
    connect(&m_session, &MavlinkSession::badFrame, m_linkStatus, &LinkStatus::countBadFrame);
    connect(&m_session, &MavlinkSession::frameSent, this, &Ravik::commandSent);
    connect(&m_session, &MavlinkSession::senderIgnored, m_linkStatus, &LinkStatus::countIgnored);
    connect(&m_session, &MavlinkSession::peerChanged, m_linkStatus, &LinkStatus::setPeer);

    connect(serialEvent, &SerialEvent::comDevArriaval, this, &Ravik::onDeviceArrived);
    connect(serialEvent, &SerialEvent::comDevRemoveComplete, this, &Ravik::onDeviceRemoved);
    // Where no removal broadcast comes (virtual ports, no udev), the port itself says that its
    // device is gone; that is handled as the removal of the port in use.
    connect(serial, &QSerialPort::errorOccurred, this, &Ravik::onSerialError);
}

Ravik::~Ravik()
{
    m_session.close();
    delete serialEvent;
}

QStringList Ravik::serialPort() const
{
    for (const QString &name : m_serialPort)
        qDebug() << name;
    return m_serialPort;
}

// A replay's commands are the recorded ones: nothing is asked of the inputs or sent.
void Ravik::onTimerTimeout()
{
    if (replaying())
        return;
    emit commandDue();
    m_session.beginTick();
    if (!(m_tickHook && m_session.isOpen() &&
          m_tickHook(scaledRate(demandedRateX), scaledRate(demandedRateY),
                     scaledRate(demandedRateZ))))
        gimbalControl(demandedRateX, demandedRateY, demandedRateZ);
    m_session.serveHelpers();
}

void Ravik::switchSerial(QString serial_name, QString serial_boud)
{
    // Pressing the button while the tool waits for a vanished port is the user's own choice.
    cancelReopen();
    m_switching = true;
    if (!m_serialIsOpen) {
        LinkAddress::Error error = LinkAddress::NoError;
        const std::optional<LinkAddress> address = LinkAddress::parse(serial_name, &error);
        if (address) {
            currentPortName = serial_name;
            m_baudRate = serial_boud.toInt(nullptr, 10);
            m_address = *address;
            m_wasOpen = false;
            m_lastFailure.clear();
            openLink();
        } else {
            emit addMessage(LinkAddress::explain(serial_name, error));
        }
    } else {
        closeLink();
    }
    m_switching = false;
    emit serialIsOpenChanged();
}

void Ravik::openReplay(const QString &path)
{
    cancelReopen();
    m_switching = true;
    if (m_serialIsOpen)
        closeLink();
    currentPortName = path;
    m_address = LinkAddress{LinkAddress::Replay, path, 0};
    m_wasOpen = false;
    m_lastFailure.clear();
    openLink();
    m_switching = false;
    emit serialIsOpenChanged();
}

void Ravik::closeLink()
{
    // Cleared first: a port whose device is gone complains while it closes, and that is not a
    // removal to react to.
    m_serialIsOpen = false;
    m_session.close();
    m_linkStatus->portClosed();
}

// A network address gets a transport of its own, replaced when the user opens another one.
void Ravik::openLink()
{
    if (m_address.kind == LinkAddress::Replay) {
        m_linkStatus->setLink(m_address.kind, QFileInfo(m_address.host).fileName());
        m_replay->setFile(m_address.host);
        m_session.open(m_replay);
        return;
    }
    m_linkStatus->setLink(m_address.kind, m_address.endpoint());
    if (m_address.kind == LinkAddress::Serial) {
        m_serialTransport->setPort(currentPortName, m_baudRate);
        m_session.open(m_serialTransport);
        return;
    }
    if (m_network)
        m_network->deleteLater();
    if (m_address.kind == LinkAddress::Tcp)
        m_network = new TcpTransport(m_address, this);
    else
        m_network = new UdpTransport(m_address, this);
    m_pending = true;
    m_session.open(m_network);
    // Still on its way (a connection, a name lookup): the link is awaited like a vanished port.
    if (m_pending)
        awaitPort(currentPortName);
}

void Ravik::onLinkOpened()
{
    m_pending = false;
    const bool reconnected = m_wasOpen;
    m_wasOpen = true;
    if (awaitingPort()) {
        m_awaitedPort.clear();
        m_reopenTimer->stop();
    }
    m_lastFailure.clear();
    m_serialIsOpen = true;
    portOpened();
    if (reconnected)
        emit addMessage(tr("云台已重新连接：%1 已再次打开。").arg(currentPortName));
    if (!m_switching)
        emit serialIsOpenChanged();
}

// A serial port or a log to replay that does not open says why once, as the user asked for it,
// and is not tried again; while a vanished port is awaited its failures are quiet. A network link
// says why once for each new reason and is tried again like a vanished port.
void Ravik::onLinkFailed(const QString &why)
{
    m_pending = false;
    if (!m_address.isNetwork()) {
        if (!awaitingPort())
            emit addMessage(why);
        return;
    }
    if (why != m_lastFailure)
        emit addMessage(why);
    m_lastFailure = why;
    if (!awaitingPort())
        awaitPort(currentPortName);
}

void Ravik::onLinkLost(const QString &why)
{
    emit addMessage(tr("云台与电脑连接异常，请检查USB连接"));
    emit addMessage(why);
    m_session.close();
    m_serialIsOpen = false;
    awaitPort(currentPortName);
    emit serialIsOpenChanged();
}

void Ravik::portOpened()
{
    m_linkStatus->portOpened(currentPortName);
}

void Ravik::setLanguage(int indexOfLanguage)
{
    m_languageIndex = indexOfLanguage;
    emit languageIndexChanged();
}

void Ravik::gimbalControl(float demanded_rate_x, float demanded_rate_y, float demanded_rate_z)
{
    if (!m_session.isOpen()) {
        emit addMessage(notOpenNotice());
        return;
    }
    mavlink_message_t msg;
    mavlink_msg_gimbal_control_pack(0, 0, &msg, 1, 1, scaledRate(demanded_rate_x),
                                    scaledRate(demanded_rate_y), scaledRate(demanded_rate_z));
    m_session.send(msg);
}

bool Ravik::steering() const
{
    return scaledRate(demandedRateX) != 0.0f || scaledRate(demandedRateY) != 0.0f ||
           scaledRate(demandedRateZ) != 0.0f;
}

QString Ravik::notOpenNotice()
{
    return tr("请您先打开串口");
}

void Ravik::setJoystick(float demanded_rate_x, float demanded_rate_y, float demanded_rate_z)
{
    demandedRateX = demanded_rate_x;
    demandedRateY = demanded_rate_y;
    demandedRateZ = demanded_rate_z;
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
    if (awaitingPort() && m_address.kind == LinkAddress::Serial)
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
    m_session.close();
    m_serialIsOpen = false;
    awaitPort(devName);
    emit serialIsOpenChanged();
}

void Ravik::onSerialError(QSerialPort::SerialPortError error)
{
    // Only a port that the controller holds open can vanish; errors raised while it opens or
    // closes the port itself are not a removal.
    if (error == QSerialPort::ResourceError && m_serialIsOpen &&
        m_address.kind == LinkAddress::Serial)
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
    m_pending = false;
    m_session.close();
    m_linkStatus->portClosed();
}

// Quiet: a device that is not back yet simply fails to open until it is. A network link still
// on its way (a connection, a name lookup) is left to finish.
void Ravik::tryReopen()
{
    if (m_pending)
        return;
    if (m_address.kind == LinkAddress::Serial) {
        m_serialTransport->setPort(m_awaitedPort, m_baudRate);
        m_session.open(m_serialTransport);
        return;
    }
    m_pending = true;
    m_session.open(m_network);
}
