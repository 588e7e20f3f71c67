// The tool's side of the standard gimbal protocol (v2) on the open port. It learns which protocol
// the device speaks (ProtocolSelector), which v2 gimbals there are (V2Devices) and what the
// controlled one says (V2Status, V2Information), and it takes over the controller's 20 ms tick:
// - nothing identified yet: the tick's GIMBAL_CONTROL goes out as ever, and a ground station's
//   heartbeat once a second beside it, since many v2 devices wait for one before they talk;
// - the report gimbal: GIMBAL_CONTROL alone, as if this class were not there;
// - a v2 gimbal: the heartbeat once a second, GIMBAL_DEVICE_INFORMATION asked for once a second
//   until it comes, and each tick a GIMBAL_DEVICE_SET_ATTITUDE instead of GIMBAL_CONTROL: the
//   sticks' rates, or a demand (centre, retract, an attitude) until a stick moves.
// The heartbeat and the requests are helper traffic, sent within the tick's budget after the
// command. Its own frames carry the tool's v2 ids and a sequence of their own, so that the rate
// commands' sequence runs on unbroken. On a link that several senders share, the session follows
// the gimbal identified here.
#pragma once

#include "managercontrol.h"
#include "protocolselector.h"
#include "v2devices.h"
#include "v2information.h"
#include "v2managers.h"
#include "v2status.h"

#include <mavlink_types.h>

#include <QObject>
#include <QVariantList>

class MavSender;
class Ravik;
class TickBudget;

class GimbalV2Link : public QObject
{
    Q_OBJECT
    // What the controlled gimbal is asked for: Rates, Neutral, Retract or Attitude, and its name
    // in lower case for QML.
    Q_PROPERTY(Demand demand READ demand NOTIFY demandChanged)
    Q_PROPERTY(QString demandName READ demandName NOTIFY demandChanged)
    // Yaw held in the earth frame rather than following the vehicle; it takes effect only while
    // the device accepts an earth-frame yaw.
    Q_PROPERTY(bool yawLock READ yawLock WRITE setYawLock NOTIFY yawLockChanged)
    // The attitude of the last go-to-angle, in degrees after clamping (roll, pitch, yaw).
    Q_PROPERTY(QVariantList demandedAngles READ demandedAngles NOTIFY demandChanged)

public:
    enum Demand { Rates, Neutral, Retract, Attitude };
    Q_ENUM(Demand)

    struct Ids
    {
        std::uint8_t system = 255;
        std::uint8_t component = 190;

        // These ids, with `system` and `component` instead where they are 1 to 255.
        Ids orGiven(int system, int component) const
        {
            Ids ids = *this;
            if (system > 0 && system < 256)
                ids.system = static_cast<std::uint8_t>(system);
            if (component > 0 && component < 256)
                ids.component = static_cast<std::uint8_t>(component);
            return ids;
        }
    };
    // On a vehicle the operator's main ground station usually has 255/190, and the gimbal
    // manager tells its controllers apart by their ids.
    static constexpr Ids VehicleIds{245, 190};

    // `ids` are the tool's own where it drives a gimbal device directly, `vehicleIds` where it
    // speaks to an autopilot's gimbal manager.
    GimbalV2Link(Ravik &ravik, Ids ids, Ids vehicleIds = VehicleIds, QObject *parent = nullptr);
    ~GimbalV2Link() override;

    ProtocolSelector *selector() { return &m_selector; }
    V2Devices *devices() { return &m_devices; }
    V2Status *status() { return &m_status; }
    V2Information *information() { return &m_information; }
    V2Managers *managers() { return &m_managers; }
    ManagerControl *managerControl() { return &m_control; }

    Demand demand() const { return m_demand; }
    QString demandName() const;
    bool yawLock() const { return m_yawLock; }
    void setYawLock(bool locked);
    QVariantList demandedAngles() const;

    // Centre: the device's neutral attitude.
    Q_INVOKABLE void centre();
    // Where the device has it (HAS_RETRACT).
    Q_INVOKABLE void retract();
    // Degrees; roll only where the device has a roll axis, else 0. Clamped to the device's limits
    // once its information has come. False, and nothing asked, for a value that is not finite.
    Q_INVOKABLE bool goToAngle(double pitch, double yaw, double roll);

    // Whether the controlled gimbal is reached through a gimbal manager.
    bool managed() const;

    // The flags of every attitude command as things stand.
    std::uint16_t commandFlags() const;

signals:
    void demandChanged();
    void yawLockChanged();

private:
    // The controller's tick with its rates in rad/s (x the right stick across, y up and down, z
    // the left stick across): true when the tick's command was sent here.
    bool tick(float x, float y, float z);
    // The heartbeat and the information request, once a second each, within `budget`.
    void serveHelpers(TickBudget &budget);
    void frameReceived(const mavlink_message_t &msg);
    void openChanged();
    void managersChanged();
    void sendHeartbeat(TickBudget &budget);
    void requestInformation(TickBudget &budget);
    void sendAttitude(const float q[4], float rollRate, float pitchRate, float yawRate,
                      std::uint16_t extraFlags);
    void setDemand(Demand demand);

    Ravik &m_ravik;
    MavSender &m_sender;
    ProtocolSelector m_selector;
    V2Managers m_managers;
    V2Devices m_devices{m_managers};
    V2Status m_status;
    V2Information m_information;
    MavSender &m_vehicleSender;
    ManagerControl m_control;
    bool m_open = false;
    // Ticks since the link opened: the helpers' second comes every 50th.
    int m_ticks = 0;
    // When the link opened, on the link's clock.
    qint64 m_openedUs = 0;
    // A heartbeat or request due this second that the budget has not had room for yet.
    bool m_heartbeatDue = false;
    bool m_requestDue = false;
    Demand m_demand = Rates;
    bool m_yawLock = false;
    // The go-to-angle attitude as a quaternion, and in degrees for the window.
    float m_q[4] = {1.0f, 0.0f, 0.0f, 0.0f};
    double m_demandedDegrees[3] = {0.0, 0.0, 0.0};
};
