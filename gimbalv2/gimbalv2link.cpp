#include "gimbalv2link.h"

#include "ravik.h"

#include <mavsender.h>

#include <command.h>
#include <gimbal_manager.h>
#include <gimbal_v2.h>
#include <messages.h>

#include <QMetaEnum>

#include <cmath>
#include <limits>

namespace {
// Heartbeats and information requests go out on every 50th tick: once a second.
constexpr int TicksPerSecond = 50;
// The tool's heartbeat, and any command to a gimbal device, waits this long after a link opens for
// an autopilot's heartbeat, which comes once a second: to a vehicle the panel sends no heartbeat
// at all (see the README on ground-station failsafes), and its gimbals only what their manager
// takes.
constexpr int HeartbeatDelayTicks = 2 * TicksPerSecond;
constexpr qint64 SettleUs = 2'000'000;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float NoAttitude[4] = {NaN, NaN, NaN, NaN};
constexpr double DegreesPerRadian = 57.29577951308232;
// MAV_STATE: the ground station is up and working.
constexpr std::uint8_t StateActive = 4;

// A rate that is not a number would leave the device guessing; it holds still instead.
float finite(float rate)
{
    return std::isfinite(rate) ? rate : 0.0f;
}
} // namespace

GimbalV2Link::GimbalV2Link(Ravik &ravik, Ids ids, Ids vehicleIds, QObject *parent)
    : QObject(parent), m_ravik(ravik), m_sender(ravik.session().sender(ids.system, ids.component)),
      m_status(ravik.session().clock()),
      m_vehicleSender(ravik.session().sender(vehicleIds.system, vehicleIds.component)),
      m_control(ravik.session(), m_vehicleSender, m_devices, m_managers)
{
    MavlinkSession &session = ravik.session();
    ravik.setTickHook([this](float x, float y, float z) { return tick(x, y, z); });
    session.addHelper(this, [this](TickBudget &budget) { serveHelpers(budget); });
    for (const std::uint32_t msgid :
         {MAVLINK_MSG_ID_HEARTBEAT, MAVLINK_MSG_ID_GIMBAL_REPORT,
          MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION, MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS,
          MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION, MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS})
        session.subscribe(msgid, this,
                          [this](const mavlink_message_t &msg) { frameReceived(msg); });
    connect(&session, &MavlinkSession::openChanged, this, &GimbalV2Link::openChanged);
    connect(&m_managers, &V2Managers::changed, this, &GimbalV2Link::managersChanged);
    connect(&m_devices, &V2Devices::chosenChanged, this, [this] {
        m_status.clear();
        m_information.clear();
        m_control.restart();
        setDemand(Rates);
        managersChanged();
    });
}

GimbalV2Link::~GimbalV2Link()
{
    m_ravik.setTickHook({});
}

void GimbalV2Link::setYawLock(bool locked)
{
    if (locked == m_yawLock)
        return;
    m_yawLock = locked;
    emit yawLockChanged();
}

QString GimbalV2Link::demandName() const
{
    return QString::fromLatin1(QMetaEnum::fromType<Demand>().valueToKey(m_demand)).toLower();
}

QVariantList GimbalV2Link::demandedAngles() const
{
    return {m_demandedDegrees[0], m_demandedDegrees[1], m_demandedDegrees[2]};
}

void GimbalV2Link::centre()
{
    setDemand(Neutral);
    if (managed())
        m_control.move(NaN, NaN, commandFlags() | GIMBAL_DEVICE_FLAGS_NEUTRAL);
}

void GimbalV2Link::retract()
{
    if (!m_information.can(GIMBAL_DEVICE_CAP_FLAGS_HAS_RETRACT))
        return;
    setDemand(Retract);
    if (managed())
        m_control.move(NaN, NaN, commandFlags() | GIMBAL_DEVICE_FLAGS_RETRACT);
}

bool GimbalV2Link::goToAngle(double pitch, double yaw, double roll)
{
    if (!std::isfinite(pitch) || !std::isfinite(yaw) || !std::isfinite(roll))
        return false;
    if (!m_information.can(GIMBAL_DEVICE_CAP_FLAGS_HAS_ROLL_AXIS))
        roll = 0.0;
    const double radians[3] = {m_information.clamped(0, roll / DegreesPerRadian),
                               m_information.clamped(1, pitch / DegreesPerRadian),
                               m_information.clamped(2, yaw / DegreesPerRadian)};
    for (int axis = 0; axis < 3; ++axis)
        m_demandedDegrees[axis] = radians[axis] * DegreesPerRadian;
    mavlink_quaternion_from_euler(static_cast<float>(radians[0]), static_cast<float>(radians[1]),
                                  static_cast<float>(radians[2]), m_q);
    // Through a manager an angle is a one-off command; roll is not the manager's to set.
    if (managed())
        m_control.move(static_cast<float>(m_demandedDegrees[1]),
                       static_cast<float>(m_demandedDegrees[2]), commandFlags());
    // Announced also when an attitude replaces another: the angles changed.
    m_demand = Attitude;
    emit demandChanged();
    return true;
}

std::uint16_t GimbalV2Link::commandFlags() const
{
    std::uint16_t flags = GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK;
    if (m_yawLock && m_status.acceptsEarthYaw())
        flags |= GIMBAL_DEVICE_FLAGS_YAW_LOCK | GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME;
    else
        flags |= GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME;
    return flags;
}

bool GimbalV2Link::managed() const
{
    return m_devices.hasChosen() && m_devices.chosenPath() == V2Devices::Managed;
}

bool GimbalV2Link::tick(float x, float y, float z)
{
    // Counted here, where every tick of an open link comes, rather than among the helpers, which
    // a busy line may pass over.
    ++m_ticks;
    if (m_selector.protocol() != ProtocolSelector::V2)
        return false;
    if (!m_devices.hasChosen())
        return true;
    // A managed gimbal gets no device message, ever; one whose path is still open gets nothing.
    switch (m_devices.chosenPath()) {
    case V2Devices::Managed:
        if (m_demand != Rates && (y != 0.0f || x != 0.0f))
            setDemand(Rates);
        m_control.tick(finite(y), finite(x), commandFlags());
        return true;
    case V2Devices::Pending:
    case V2Devices::Settling:
        return true;
    case V2Devices::Direct:
        break;
    }
    const float rollRate = finite(z), pitchRate = finite(y), yawRate = finite(x);
    if (m_demand != Rates && (rollRate != 0.0f || pitchRate != 0.0f || yawRate != 0.0f))
        setDemand(Rates);
    switch (m_demand) {
    case Rates:
        sendAttitude(NoAttitude, rollRate, pitchRate, yawRate, 0);
        break;
    case Neutral:
        sendAttitude(NoAttitude, NaN, NaN, NaN, GIMBAL_DEVICE_FLAGS_NEUTRAL);
        break;
    case Retract:
        sendAttitude(NoAttitude, NaN, NaN, NaN, GIMBAL_DEVICE_FLAGS_RETRACT);
        break;
    case Attitude:
        sendAttitude(m_q, NaN, NaN, NaN, 0);
        break;
    }
    return true;
}

// To a vehicle (an autopilot heard on the link) the panel sends no heartbeat: an autopilot's
// ground-station failsafe counts the heartbeats of a ground station (ArduPilot those of its
// SYSID_MYGCS, PX4 any of type GCS), so that opening or closing the panel could start or stop one.
void GimbalV2Link::serveHelpers(TickBudget &budget)
{
    if (m_ticks > HeartbeatDelayTicks)
        m_managers.settle();
    if (m_managers.anyAutopilot()) {
        m_heartbeatDue = false;
        m_managers.serve(budget, m_vehicleSender);
    } else if (m_ticks > HeartbeatDelayTicks && m_ticks % TicksPerSecond == 1) {
        m_heartbeatDue = m_selector.protocol() != ProtocolSelector::Report;
    }
    if (m_ticks % TicksPerSecond == 1)
        m_requestDue = m_selector.protocol() == ProtocolSelector::V2 && m_devices.hasChosen() &&
                       m_devices.chosenPath() == V2Devices::Direct && !m_information.known();
    if (m_heartbeatDue)
        sendHeartbeat(budget);
    if (m_requestDue && !m_heartbeatDue)
        requestInformation(budget);
}

void GimbalV2Link::frameReceived(const mavlink_message_t &msg)
{
    // A replay runs no ticks: its frames' own time settles the link.
    if (!m_managers.settled() && m_ravik.session().clock().nowUs() - m_openedUs >= SettleUs)
        m_managers.settle();
    m_managers.frameReceived(msg);
    m_selector.frameReceived(msg);
    m_devices.frameReceived(msg);
    // On a link that several senders share, the session keeps to the gimbal in control.
    if (m_selector.protocol() == ProtocolSelector::Report &&
        msg.msgid == MAVLINK_MSG_ID_GIMBAL_REPORT)
        m_ravik.session().follow(msg.sysid, msg.compid);
    else if (m_selector.protocol() == ProtocolSelector::V2 && m_devices.hasChosen())
        m_ravik.session().follow(m_devices.chosenId().system, m_devices.chosenId().component);
    if (!m_devices.isChosen(msg))
        return;
    if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS)
        m_status.take(msg);
    else if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION && !managed())
        m_information.take(msg);
}

// Each opening starts anew: the next device may be another one, in another protocol.
void GimbalV2Link::openChanged()
{
    if (m_ravik.session().isOpen() == m_open)
        return;
    m_open = m_ravik.session().isOpen();
    if (!m_open)
        return;
    m_ticks = 0;
    m_openedUs = m_ravik.session().clock().nowUs();
    m_heartbeatDue = false;
    m_requestDue = false;
    m_selector.restart();
    m_managers.clear();
    m_devices.clear();
    m_control.restart();
    m_status.clear();
    m_information.clear();
    setDemand(Rates);
}

// A managed gimbal's limits and abilities are its manager's: they stand for the device's own.
void GimbalV2Link::managersChanged()
{
    m_devices.managersChanged();
    if (const V2Managers::Gimbal *gimbal = m_devices.chosenManaged())
        m_information.takeManaged(gimbal->limits, gimbal->capabilities);
}

void GimbalV2Link::sendHeartbeat(TickBudget &budget)
{
    const bool sent = m_sender.send(
        [this](mavlink_message_t *msg) {
            mavlink_msg_heartbeat_pack(m_sender.system(), m_sender.component(), msg, MAV_TYPE_GCS,
                                       MAV_AUTOPILOT_INVALID, 0, 0, StateActive);
        },
        &budget);
    if (sent)
        m_heartbeatDue = false;
}

void GimbalV2Link::requestInformation(TickBudget &budget)
{
    const V2Devices::Id device = m_devices.chosenId();
    const bool sent = m_sender.send(
        [this, device](mavlink_message_t *msg) {
            mavlink_msg_command_long_pack(m_sender.system(), m_sender.component(), msg,
                                          device.system, device.component, MAV_CMD_REQUEST_MESSAGE,
                                          0, MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION, 0, 0, 0, 0,
                                          0, 0);
        },
        &budget);
    if (sent) {
        m_requestDue = false;
        m_information.requestSent();
    }
}

void GimbalV2Link::sendAttitude(const float q[4], float rollRate, float pitchRate, float yawRate,
                                std::uint16_t extraFlags)
{
    const V2Devices::Id device = m_devices.chosenId();
    const std::uint16_t flags = commandFlags() | extraFlags;
    m_sender.send([&](mavlink_message_t *msg) {
        mavlink_msg_gimbal_device_set_attitude_pack(m_sender.system(), m_sender.component(), msg,
                                                    device.system, device.component, flags, q,
                                                    rollRate, pitchRate, yawRate);
    });
}

void GimbalV2Link::setDemand(Demand demand)
{
    if (demand == m_demand)
        return;
    m_demand = demand;
    emit demandChanged();
}
