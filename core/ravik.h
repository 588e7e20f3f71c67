// The gimbal link controller that the QML interface drives: the port list and open state, the
// gimbal's three angles from its reports, and the 20 ms rate-command stream. The link is a serial
// port or a MAVLink link over the network (see LinkAddress); a network link counts as the open
// port. When the open port's device goes away, or a network link cannot be opened or is lost, it
// tries again until it is back. A telemetry log opened as a replay counts as the open port too;
// while it plays, the tick sends nothing and the window's inputs steer nothing.
#pragma once

#include <linkaddress.h>
#include <mavlinksession.h>

#include <QObject>
#include <QSerialPort>
#include <QStringList>
#include <QVariantList>

#include <mavlink_types.h>

#include <functional>

class LinkStatus;
class QTimer;
class ReplayLink;
class Serial;
class SerialEvent;
class SerialTransport;

class Ravik : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList serialPort READ serialPort NOTIFY serialPortChanged)
    Q_PROPERTY(bool serialIsOpen READ serialIsOpen NOTIFY serialIsOpenChanged)
    Q_PROPERTY(int languageIndex READ languageIndex NOTIFY languageIndexChanged)
    Q_PROPERTY(QVariantList gimbalImuAngle READ gimbalImuAngle NOTIFY gimbalImuAngleChanged)
    // The open link is a replayed log.
    Q_PROPERTY(bool replaying READ replaying NOTIFY serialIsOpenChanged)

public:
    // The rate in rad/s of a stick's full deflection: a quarter turn per second.
    static constexpr double FullDeflectionRate = 1.5707963267948966;

    explicit Ravik(QObject *parent = nullptr);
    ~Ravik() override;

    QStringList serialPort() const;
    bool serialIsOpen() const { return m_serialIsOpen; }
    int languageIndex() const { return m_languageIndex; }
    QVariantList gimbalImuAngle() const { return m_gimbalImuAngle; }
    bool replaying() const { return m_serialIsOpen && m_address.kind == LinkAddress::Replay; }
    // Whether the rates set for the coming command turn the gimbal on any axis.
    bool steering() const;
    // The reminder that each tick gives while no link is open, in the language now chosen.
    static QString notOpenNotice();

    // The wrapper lives as long as the application object (QML holds it as mySerial); the
    // watcher is the controller's and goes with it.
    Serial *wrapper() const { return serial; }
    SerialEvent *watcher() const { return serialEvent; }
    LinkStatus *linkStatus() const { return m_linkStatus; }
    // The replay's transport, which the replay's controls drive.
    ReplayLink *replay() const { return m_replay; }
    // The MAVLink session on whatever link is open: the protocol handlers, the recorder and the
    // plot work through it.
    MavlinkSession &session() { return m_session; }

    // The port (or network address) and baud rate given to the last open attempt.
    QString portName() const { return currentPortName; }
    int baudRate() const { return m_baudRate; }
    // Whether the controller waits for the link to come (back): a vanished port's device, a
    // network link that could not be opened or was lost.
    bool awaitingPort() const { return !m_awaitedPort.isEmpty(); }

signals:
    void languageIndexChanged();
    void serialPortChanged();
    void serialIsOpenChanged();
    void addMessage(QString msg);
    void gimbalImuAngleChanged();
    // Each 20 ms tick, just before its command is built: the last moment to set the rates.
    void commandDue();
    // Every frame that the intake took, after the controller's own reaction to it, and every
    // command handed to the link.
    void frameReceived(const mavlink_message_t &msg);
    void commandSent(const mavlink_message_t &msg);

public slots:
    void onTimerTimeout();

public:
    Q_INVOKABLE void switchSerial(QString serial_name, QString serial_boud);
    // Closes the open link and plays the telemetry log at `path` back as the link.
    Q_INVOKABLE void openReplay(const QString &path);
    Q_INVOKABLE void setLanguage(int indexOfLanguage);
    Q_INVOKABLE void gimbalControl(float demanded_rate_x, float demanded_rate_y,
                                   float demanded_rate_z);
    Q_INVOKABLE void setJoystick(float demanded_rate_x, float demanded_rate_y,
                                 float demanded_rate_z);
    // Stops waiting for the link to come back; the user has picked another one.
    Q_INVOKABLE void cancelReopen();

    // The one steering handler of another protocol, called on each tick while the link is open
    // with the tick's rates in rad/s: when it returns true it has sent the tick's command itself,
    // and no GIMBAL_CONTROL goes out.
    using TickHook = std::function<bool(float rate_x, float rate_y, float rate_z)>;
    void setTickHook(TickHook hook) { m_tickHook = std::move(hook); }

private:
    void openLink();
    void closeLink();
    void onLinkOpened();
    void onLinkFailed(const QString &why);
    void onLinkLost(const QString &why);
    void handleFrame(const mavlink_message_t &msg);
    void onDeviceArrived();
    void onDeviceRemoved(const QString &devName);
    void onSerialError(QSerialPort::SerialPortError error);
    void portOpened();
    void awaitPort(const QString &name);
    void tryReopen();

    QVariantList m_gimbalImuAngle{0, 0, 0};
    SerialEvent *serialEvent = nullptr;
    Serial *serial = nullptr;
    QStringList m_serialPort;
    bool m_serialIsOpen = false;
    int m_languageIndex = 0;
    QString currentPortName;
    QTimer *sendTimer = nullptr;
    float demandedRateX = 0.0f;
    float demandedRateY = 0.0f;
    float demandedRateZ = 0.0f;

    int m_baudRate = 0;
    LinkStatus *m_linkStatus = nullptr;
    QString m_awaitedPort;
    QTimer *m_reopenTimer = nullptr;
    TickHook m_tickHook;

    MavlinkSession m_session;
    LinkAddress m_address;
    SerialTransport *m_serialTransport = nullptr;
    // The network link's transport, made anew for each address the user opens.
    Transport *m_network = nullptr;
    ReplayLink *m_replay = nullptr;
    // An open is under way whose outcome has not come yet (a TCP connection, a name lookup).
    bool m_pending = false;
    // Inside switchSerial, which announces the open state itself once it is done.
    bool m_switching = false;
    // The link has been open since the user asked for it: coming again is a reconnection.
    bool m_wasOpen = false;
    // The last reason a network link would not open, said once rather than at every retry.
    QString m_lastFailure;
};
