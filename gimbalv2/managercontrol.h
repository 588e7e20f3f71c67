// Control of a gimbal through its autopilot's gimbal manager, as the manager gives it: who holds
// it (from GIMBAL_MANAGER_STATUS), taking and giving it up with one CONFIGURE each, and, while
// this panel holds it, the sticks' pitch and yaw rates as GIMBAL_MANAGER_SET_PITCHYAW set points
// (angles NaN), one-off moves (centre, retract, an angle) as DO_GIMBAL_MANAGER_PITCHYAW. Roll is
// not part of the manager's pitch/yaw control. The panel never sends a managed gimbal a device
// message.
//
// The set points go out on the 20 ms tick, but not on every one: over a 57,600-baud radio a
// 35-byte frame at 50 Hz would take 30 % of the link. A change goes out on the next tick unless
// one went out on the tick before (so a move reaches the wire within two ticks, 40 ms), at most
// 25 a second while the stick moves; a stick held still is repeated ten times a second, so the
// manager's time-out never stops it; letting go sends zero rates on the next tick and three times
// more a tenth of a second apart, in case one is lost; a stick at rest sends nothing.
#pragma once

#include "v2devices.h"
#include "v2managers.h"

#include <QObject>

#include <cstdint>

struct mavlink_message_t;
class MavlinkSession;
class MavSender;

class ManagerControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Holder holder READ holder NOTIFY changed)
    // The ids of whoever holds control, for "another ground station (255/190)".
    Q_PROPERTY(int holderSystem READ holderSystem NOTIFY changed)
    Q_PROPERTY(int holderComponent READ holderComponent NOTIFY changed)
    Q_PROPERTY(bool inControl READ inControl NOTIFY changed)
    // The MAV_RESULT of the manager's last refusal, or -1 when it did not refuse.
    Q_PROPERTY(int refusal READ refusal NOTIFY changed)
    // This panel's ids on a vehicle link, "245/190".
    Q_PROPERTY(QString ids READ ids CONSTANT)

public:
    enum Holder { Unknown, Nobody, ThisPanel, OtherGroundStation, Autopilot };
    Q_ENUM(Holder)

    ManagerControl(MavlinkSession &session, MavSender &sender, const V2Devices &devices,
                   const V2Managers &managers, QObject *parent = nullptr);
    ~ManagerControl() override;

    Holder holder() const;
    int holderSystem() const;
    int holderComponent() const;
    bool inControl() const { return holder() == ThisPanel; }
    int refusal() const { return m_refusal; }
    QString ids() const;

    // One CONFIGURE each, with this panel's ids as the primary control, and removing it.
    Q_INVOKABLE void takeControl();
    Q_INVOKABLE void releaseControl();

    // The tick, with the sticks' rates in rad/s and the flags of the set point.
    void tick(float pitchRate, float yawRate, std::uint32_t flags);
    // A one-off move: angles in degrees, NaN where unset, and flags (NEUTRAL, RETRACT).
    void move(float pitchDegrees, float yawDegrees, std::uint32_t flags);
    // Forgets the stream's state, for a new link or another gimbal.
    void restart();

signals:
    void changed();

private:
    void configure(std::int16_t primarySystem, std::int16_t primaryComponent);
    void sendSetPoint(float pitchRate, float yawRate, std::uint32_t flags);
    void ackReceived(const mavlink_message_t &msg);

    MavlinkSession &m_session;
    MavSender &m_sender;
    const V2Devices &m_devices;
    const V2Managers &m_managers;
    int m_refusal = -1;
    // The stream: ticks since the last set point, what it carried, zero rates still to repeat.
    int m_sinceSent = 0;
    float m_sentPitch = 0.0f;
    float m_sentYaw = 0.0f;
    int m_zerosLeft = 0;
};
