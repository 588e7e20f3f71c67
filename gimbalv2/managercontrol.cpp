#include "managercontrol.h"

#include <command.h>
#include <gimbal_manager.h>
#include <mavlinksession.h>
#include <mavsender.h>
#include <transport.h>

#include <cmath>
#include <limits>

namespace {
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
// In ticks of 20 ms: at most one set point every two ticks while the stick moves, one every five
// while it is held still, and three zero rates after the first one on release.
constexpr int MovingGapTicks = 2;
constexpr int HeldGapTicks = 5;
constexpr int ZeroRepeats = 3;
} // namespace

ManagerControl::ManagerControl(MavlinkSession &session, MavSender &sender, const V2Devices &devices,
                               const V2Managers &managers, QObject *parent)
    : QObject(parent), m_session(session), m_sender(sender), m_devices(devices),
      m_managers(managers)
{
    connect(&managers, &V2Managers::changed, this, &ManagerControl::changed);
    connect(&devices, &V2Devices::chosenChanged, this, &ManagerControl::changed);
    session.subscribe(MAVLINK_MSG_ID_COMMAND_ACK, this,
                      [this](const mavlink_message_t &msg) { ackReceived(msg); });
    // Control held by this panel is given back before the link closes: Close, another link, the
    // end of the tool.
    connect(&session, &MavlinkSession::aboutToClose, this, [this] {
        if (inControl())
            releaseControl();
    });
}

// The tool ends (Close, SIGTERM, SIGHUP) with the link still open: control is given back and the
// frame drained to the far end, before the controller closes the link.
ManagerControl::~ManagerControl()
{
    if (!m_session.isOpen() || !inControl())
        return;
    releaseControl();
    if (Transport *transport = m_session.transport())
        transport->drain();
}

ManagerControl::Holder ManagerControl::holder() const
{
    const V2Managers::Gimbal *gimbal = m_devices.chosenManaged();
    if (!gimbal || !gimbal->statusKnown)
        return Unknown;
    if (gimbal->primarySystem == 0 && gimbal->primaryComponent == 0)
        return Nobody;
    if (gimbal->primarySystem == m_sender.system() &&
        gimbal->primaryComponent == m_sender.component())
        return ThisPanel;
    if (m_managers.isAutopilot(gimbal->primarySystem, gimbal->primaryComponent))
        return Autopilot;
    return OtherGroundStation;
}

int ManagerControl::holderSystem() const
{
    const V2Managers::Gimbal *gimbal = m_devices.chosenManaged();
    return gimbal ? gimbal->primarySystem : 0;
}

int ManagerControl::holderComponent() const
{
    const V2Managers::Gimbal *gimbal = m_devices.chosenManaged();
    return gimbal ? gimbal->primaryComponent : 0;
}

QString ManagerControl::ids() const
{
    return QStringLiteral("%1/%2").arg(m_sender.system()).arg(m_sender.component());
}

void ManagerControl::takeControl()
{
    configure(m_sender.system(), m_sender.component());
}

void ManagerControl::releaseControl()
{
    configure(GIMBAL_MANAGER_CONTROL_RELEASE_SENDER, GIMBAL_MANAGER_CONTROL_RELEASE_SENDER);
}

void ManagerControl::configure(std::int16_t primarySystem, std::int16_t primaryComponent)
{
    if (!m_devices.hasChosen() || m_devices.chosenPath() != V2Devices::Managed)
        return;
    const V2Devices::Route route = m_devices.chosenRoute();
    m_sender.send([&](mavlink_message_t *msg) {
        mavlink_msg_gimbal_manager_configure_pack(
            m_sender.system(), m_sender.component(), msg, route.system, route.manager,
            primarySystem, primaryComponent, GIMBAL_MANAGER_CONTROL_UNCHANGED,
            GIMBAL_MANAGER_CONTROL_UNCHANGED, route.deviceId);
    });
}

void ManagerControl::tick(float pitchRate, float yawRate, std::uint32_t flags)
{
    ++m_sinceSent;
    if (!inControl()) {
        m_zerosLeft = 0;
        return;
    }
    const bool moving = pitchRate != 0.0f || yawRate != 0.0f;
    if (moving) {
        const bool changed = pitchRate != m_sentPitch || yawRate != m_sentYaw;
        if ((changed && m_sinceSent >= MovingGapTicks) || m_sinceSent >= HeldGapTicks)
            sendSetPoint(pitchRate, yawRate, flags);
        m_zerosLeft = ZeroRepeats + 1;
        return;
    }
    if (m_zerosLeft == 0)
        return;
    // Let go: at once, then a few times more.
    const bool first = m_sentPitch != 0.0f || m_sentYaw != 0.0f;
    if (first || m_sinceSent >= HeldGapTicks) {
        sendSetPoint(0.0f, 0.0f, flags);
        --m_zerosLeft;
    }
}

void ManagerControl::sendSetPoint(float pitchRate, float yawRate, std::uint32_t flags)
{
    const V2Devices::Route route = m_devices.chosenRoute();
    m_sender.send([&](mavlink_message_t *msg) {
        mavlink_msg_gimbal_manager_set_pitchyaw_pack(m_sender.system(), m_sender.component(), msg,
                                                     route.system, route.manager, flags,
                                                     route.deviceId, NaN, NaN, pitchRate, yawRate);
    });
    m_sinceSent = 0;
    m_sentPitch = pitchRate;
    m_sentYaw = yawRate;
}

// The move supersedes the rate stream: zero rates still due after a release would undo it.
void ManagerControl::move(float pitchDegrees, float yawDegrees, std::uint32_t flags)
{
    if (!inControl())
        return;
    m_zerosLeft = 0;
    m_sentPitch = 0.0f;
    m_sentYaw = 0.0f;
    const V2Devices::Route route = m_devices.chosenRoute();
    m_sender.send([&](mavlink_message_t *msg) {
        mavlink_msg_gimbal_manager_pitchyaw_pack(m_sender.system(), m_sender.component(), msg,
                                                 route.system, route.manager, pitchDegrees,
                                                 yawDegrees, NaN, NaN, flags, route.deviceId);
    });
}

void ManagerControl::restart()
{
    m_sinceSent = 0;
    m_sentPitch = 0.0f;
    m_sentYaw = 0.0f;
    m_zerosLeft = 0;
    if (m_refusal != -1) {
        m_refusal = -1;
        emit changed();
    }
}

void ManagerControl::ackReceived(const mavlink_message_t &msg)
{
    const mavlink_command_ack_t ack = mavlink_msg_command_ack_decode(&msg);
    if (ack.command != MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE &&
        ack.command != MAV_CMD_DO_GIMBAL_MANAGER_PITCHYAW)
        return;
    const int refusal = ack.result == MAV_RESULT_ACCEPTED ? -1 : ack.result;
    if (refusal == m_refusal)
        return;
    m_refusal = refusal;
    emit changed();
}
