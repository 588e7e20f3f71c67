#include "gimbalmanager.h"

#include <gimbal_manager.h>
#include <messages.h>

namespace {
constexpr std::uint8_t MavStateActive = 4;
// Five statuses a second for each gimbal.
constexpr int StatusIntervalMs = 200;
constexpr float RadiansPerDegree = 0.017453292f;
// What the manager adds to its devices' abilities: it knows where the vehicle is, so it can
// point a gimbal at a place.
constexpr std::uint32_t ManagerCapFlags = GIMBAL_DEVICE_CAP_FLAGS_CAN_POINT_LOCATION_LOCAL |
                                          GIMBAL_DEVICE_CAP_FLAGS_CAN_POINT_LOCATION_GLOBAL;
constexpr ControlIds Autopilot{V2Device::SystemId, MAV_COMP_ID_AUTOPILOT1};

SimParamSet vehicleParams(SimulatedAutopilot autopilot)
{
    return autopilot == SimulatedAutopilot::Px4 ? SimParamSet::px4Mount()
                                                : SimParamSet::arduPilotMount();
}

bool forManager(std::uint8_t system, std::uint8_t component)
{
    return (system == Autopilot.sysid || system == 0) &&
           (component == Autopilot.compid || component == 0);
}

// One id of a configure command: -1 keeps the current one, -2 names the sender.
std::uint8_t controlId(std::int16_t value, std::uint8_t current, std::uint8_t sender)
{
    if (value == GIMBAL_MANAGER_CONTROL_UNCHANGED)
        return current;
    return value == GIMBAL_MANAGER_CONTROL_SENDER ? sender : static_cast<std::uint8_t>(value);
}

// Who controls after a configure command's pair of ids; -3 in either removes the sender only if
// it is the one in control.
ControlIds controller(std::int16_t sysid, std::int16_t compid, ControlIds current,
                      ControlIds sender)
{
    if (sysid == GIMBAL_MANAGER_CONTROL_RELEASE_SENDER ||
        compid == GIMBAL_MANAGER_CONTROL_RELEASE_SENDER)
        return current == sender ? ControlIds{} : current;
    return {controlId(sysid, current.sysid, sender.sysid),
            controlId(compid, current.compid, sender.compid)};
}
} // namespace

GimbalManager::GimbalManager(const GimbalManagerOptions &options,
                             const std::vector<V2DeviceOptions> &devices, QObject *parent)
    : QObject(parent), m_options(options), m_writer(2, Autopilot.sysid, Autopilot.compid),
      m_params(vehicleParams(options.autopilot), m_writer, Autopilot.sysid, Autopilot.compid,
               options.paramLoss, options.seed)
{
    m_sinceStart.start();
    connect(&m_params, &SimParamPort::frameReady, this,
            [this](const QByteArray &frame) { emit frameReady(frame, false); });
    connect(&m_params, &SimParamPort::frameLost, this, &GimbalManager::frameLost);
    for (const V2DeviceOptions &device : devices) {
        // PX4 names a gimbal by its component id, ArduPilot by its number.
        const std::uint8_t id = options.autopilot == SimulatedAutopilot::Px4
                                    ? device.profile.componentId
                                    : static_cast<std::uint8_t>(m_gimbals.size() + 1);
        m_gimbals.push_back(std::make_unique<ManagedGimbal>(device, id));
        ManagedGimbal *gimbal = m_gimbals.back().get();
        if (options.keepControl)
            gimbal->setControl({Autopilot, {}});
        connect(gimbal, &ManagedGimbal::deviceMessage, this,
                [this, gimbal](const mavlink_message_t &msg, const QByteArray &frame,
                               bool telemetry) { forward(*gimbal, msg, frame, telemetry); });
    }
    connect(&m_heartbeatTimer, &QTimer::timeout, this, &GimbalManager::sendHeartbeat);
    m_heartbeatTimer.start(1000);
    connect(&m_statusTimer, &QTimer::timeout, this, &GimbalManager::sendStatuses);
    m_statusTimer.start(StatusIntervalMs);
    if (options.otherGcsAfterMs >= 0) {
        QTimer::singleShot(options.otherGcsAfterMs, this, [this] {
            configure(OtherGroundStation,
                      {GIMBAL_MANAGER_CONTROL_SENDER, GIMBAL_MANAGER_CONTROL_SENDER,
                       GIMBAL_MANAGER_CONTROL_UNCHANGED, GIMBAL_MANAGER_CONTROL_UNCHANGED, 0});
        });
    }
}

bool GimbalManager::receive(const mavlink_message_t &msg)
{
    const ControlIds sender{msg.sysid, msg.compid};
    switch (msg.msgid) {
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE:
        ++m_tally.deviceMessagesFromGround;
        return false;
    case MAVLINK_MSG_ID_COMMAND_LONG:
        answerCommand(msg);
        return false;
    case MAVLINK_MSG_ID_PARAM_REQUEST_READ:
    case MAVLINK_MSG_ID_PARAM_REQUEST_LIST:
    case MAVLINK_MSG_ID_PARAM_SET:
        m_params.receive(msg);
        return false;
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW:
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_MANUAL_CONTROL: {
        // The two share their layout.
        const mavlink_gimbal_manager_set_pitchyaw_t set =
            mavlink_msg_gimbal_manager_set_pitchyaw_decode(&msg);
        if (!forManager(set.target_system, set.target_component))
            return false;
        const bool manual = msg.msgid == MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_MANUAL_CONTROL;
        setPoint(sender, set.gimbal_device_id, [&](ManagedGimbal &gimbal) {
            if (manual)
                gimbal.manualControl(set.flags, set.pitch, set.yaw, set.pitch_rate, set.yaw_rate);
            else
                gimbal.pitchYaw(set.flags, set.pitch, set.yaw, set.pitch_rate, set.yaw_rate);
        });
        return true;
    }
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_ATTITUDE: {
        const mavlink_gimbal_manager_set_attitude_t set =
            mavlink_msg_gimbal_manager_set_attitude_decode(&msg);
        if (!forManager(set.target_system, set.target_component))
            return false;
        setPoint(sender, set.gimbal_device_id, [&](ManagedGimbal &gimbal) {
            gimbal.attitude(set.flags, set.q, set.angular_velocity_x, set.angular_velocity_y,
                            set.angular_velocity_z);
        });
        return true;
    }
    default:
        return false;
    }
}

void GimbalManager::pause()
{
    m_heartbeatTimer.stop();
    m_statusTimer.stop();
    for (const auto &gimbal : m_gimbals)
        gimbal->pause();
}

void GimbalManager::toggleFailure(std::uint32_t flags)
{
    for (const auto &gimbal : m_gimbals)
        gimbal->toggleFailure(flags);
}

GimbalManagerTally GimbalManager::tally() const
{
    GimbalManagerTally tally = m_tally;
    for (const auto &gimbal : m_gimbals)
        tally.rateTimeouts += gimbal->rateTimeouts();
    return tally;
}

V2DeviceTally GimbalManager::deviceTally() const
{
    V2DeviceTally sum;
    for (const auto &gimbal : m_gimbals)
        sum += gimbal->deviceTally();
    return sum;
}

void GimbalManager::sendHeartbeat()
{
    mavlink_heartbeat_t heartbeat{};
    heartbeat.type = MAV_TYPE_QUADROTOR;
    heartbeat.autopilot = m_options.autopilot == SimulatedAutopilot::Px4
                              ? MAV_AUTOPILOT_PX4
                              : MAV_AUTOPILOT_ARDUPILOTMEGA;
    heartbeat.system_status = MavStateActive;
    heartbeat.mavlink_version = 3;
    emit frameReady(m_writer.frame(MAVLINK_MSG_ID_HEARTBEAT, heartbeat), false);
}

void GimbalManager::sendStatuses()
{
    for (const auto &gimbal : m_gimbals) {
        mavlink_gimbal_manager_status_t status{};
        status.time_boot_ms = static_cast<std::uint32_t>(m_sinceStart.elapsed());
        status.flags = gimbal->flags();
        status.gimbal_device_id = gimbal->gimbalDeviceId();
        const GimbalControl &control = gimbal->control();
        status.primary_control_sysid = control.primary.sysid;
        status.primary_control_compid = control.primary.compid;
        status.secondary_control_sysid = control.secondary.sysid;
        status.secondary_control_compid = control.secondary.compid;
        ++m_tally.statusesSent;
        emit frameReady(m_writer.frame(MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS, status), true);
    }
}

// PX4 routes what its gimbal sends to the link unchanged; ArduPilot sends the gimbal's attitude
// from its own component and names the gimbal in it.
void GimbalManager::forward(const ManagedGimbal &gimbal, const mavlink_message_t &msg,
                            const QByteArray &frame, bool telemetry)
{
    if (m_options.autopilot == SimulatedAutopilot::Px4) {
        emit frameReady(frame, telemetry);
        return;
    }
    if (msg.msgid != MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS)
        return;
    mavlink_gimbal_device_attitude_status_t status =
        mavlink_msg_gimbal_device_attitude_status_decode(&msg);
    status.gimbal_device_id = gimbal.gimbalDeviceId();
    emit frameReady(m_writer.frame(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, status), true);
}

void GimbalManager::answerCommand(const mavlink_message_t &msg)
{
    const mavlink_command_long_t command = mavlink_msg_command_long_decode(&msg);
    // A command for a PX4 vehicle's gimbal component is routed to it.
    if (m_options.autopilot == SimulatedAutopilot::Px4 &&
        command.target_system == Autopilot.sysid) {
        for (const auto &gimbal : m_gimbals) {
            if (command.target_component == gimbal->componentId()) {
                gimbal->pass(msg);
                return;
            }
        }
    }
    if (!forManager(command.target_system, command.target_component))
        return;

    const ControlIds sender{msg.sysid, msg.compid};
    std::uint8_t result = MAV_RESULT_UNSUPPORTED;
    const bool wantsInformation =
        command.command == MAV_CMD_REQUEST_MESSAGE &&
        command.param1 == float(MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION);
    const bool wantsVersion = command.command == MAV_CMD_REQUEST_MESSAGE &&
                              command.param1 == float(MAVLINK_MSG_ID_AUTOPILOT_VERSION);
    if (wantsInformation) {
        ++m_tally.informationRequests;
        result = MAV_RESULT_ACCEPTED;
    } else if (wantsVersion) {
        result = MAV_RESULT_ACCEPTED;
    } else if (command.command == MAV_CMD_DO_GIMBAL_MANAGER_PITCHYAW) {
        result = pitchYaw(sender, command);
    } else if (command.command == MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE) {
        ++m_tally.configureCommands;
        mavlink_gimbal_manager_configure_t config{};
        result = mavlink_msg_gimbal_manager_configure_decode(&command, &config)
                     ? configure(sender, config)
                     : std::uint8_t(MAV_RESULT_DENIED);
        if (result != MAV_RESULT_ACCEPTED)
            ++m_tally.configureRefused;
    }

    mavlink_command_ack_t ack{};
    ack.command = command.command;
    ack.result = result;
    ack.target_system = sender.sysid;
    ack.target_component = sender.compid;
    emit frameReady(m_writer.frame(MAVLINK_MSG_ID_COMMAND_ACK, ack), false);
    if (wantsInformation)
        sendInformation();
    if (wantsVersion)
        sendVersion();
}

void GimbalManager::sendInformation()
{
    for (const auto &gimbal : m_gimbals) {
        const V2DeviceProfile &profile = gimbal->profile();
        mavlink_gimbal_manager_information_t info{};
        info.time_boot_ms = static_cast<std::uint32_t>(m_sinceStart.elapsed());
        info.cap_flags = profile.capFlags | ManagerCapFlags;
        info.roll_min = profile.limits.roll.min;
        info.roll_max = profile.limits.roll.max;
        info.pitch_min = profile.limits.pitch.min;
        info.pitch_max = profile.limits.pitch.max;
        info.yaw_min = profile.limits.yaw.min;
        info.yaw_max = profile.limits.yaw.max;
        info.gimbal_device_id = gimbal->gimbalDeviceId();
        emit frameReady(m_writer.frame(MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION, info), false);
    }
}

// Of the whole version only what a ground station needs to read the parameters: how the integers
// are carried.
void GimbalManager::sendVersion()
{
    mavlink_autopilot_version_t version{};
    version.capabilities = params().params().encoding() == SimParamSet::Encoding::CCast
                               ? MAV_PROTOCOL_CAPABILITY_PARAM_ENCODE_C_CAST
                               : MAV_PROTOCOL_CAPABILITY_PARAM_ENCODE_BYTEWISE;
    emit frameReady(m_writer.frame(MAVLINK_MSG_ID_AUTOPILOT_VERSION, version), false);
}

// A move that is not a controller's is refused only for now: it may be once it takes control.
std::uint8_t GimbalManager::pitchYaw(ControlIds sender, const mavlink_command_long_t &command)
{
    mavlink_gimbal_manager_pitchyaw_t move{};
    if (!mavlink_msg_gimbal_manager_pitchyaw_decode(&command, &move) ||
        chosen(move.gimbal_device_id).empty())
        return MAV_RESULT_DENIED;
    const bool moved = setPoint(sender, move.gimbal_device_id, [&](ManagedGimbal &gimbal) {
        gimbal.pitchYaw(move.flags, move.pitch_deg * RadiansPerDegree,
                        move.yaw_deg * RadiansPerDegree, move.pitch_rate_dps * RadiansPerDegree,
                        move.yaw_rate_dps * RadiansPerDegree);
    });
    return moved ? MAV_RESULT_ACCEPTED : MAV_RESULT_TEMPORARILY_REJECTED;
}

// A gimbal the autopilot keeps is refused only for now: a mission that holds it ends.
std::uint8_t GimbalManager::configure(ControlIds sender,
                                      const mavlink_gimbal_manager_configure_t &config)
{
    const std::vector<ManagedGimbal *> gimbals = chosen(config.gimbal_device_id);
    if (gimbals.empty())
        return MAV_RESULT_DENIED;
    std::vector<GimbalControl> next;
    for (const ManagedGimbal *gimbal : gimbals) {
        const GimbalControl &now = gimbal->control();
        next.push_back(
            {controller(config.primary_sysid, config.primary_compid, now.primary, sender),
             controller(config.secondary_sysid, config.secondary_compid, now.secondary, sender)});
        if (m_options.keepControl && next.back().primary != now.primary)
            return MAV_RESULT_TEMPORARILY_REJECTED;
    }
    for (std::size_t i = 0; i < gimbals.size(); ++i)
        gimbals[i]->setControl(next[i]);
    // A new controller hears at once that it is one.
    sendStatuses();
    return MAV_RESULT_ACCEPTED;
}

bool GimbalManager::setPoint(ControlIds sender, std::uint8_t gimbalDeviceId,
                             const std::function<void(ManagedGimbal &)> &apply)
{
    bool moved = false;
    for (ManagedGimbal *gimbal : chosen(gimbalDeviceId)) {
        if (gimbal->control().primary == sender && sender != ControlIds{}) {
            apply(*gimbal);
            moved = true;
        }
    }
    ++(moved ? m_tally.setPointsHonoured : m_tally.setPointsIgnored);
    return moved;
}

std::vector<ManagedGimbal *> GimbalManager::chosen(std::uint8_t gimbalDeviceId) const
{
    std::vector<ManagedGimbal *> gimbals;
    for (const auto &gimbal : m_gimbals) {
        if (gimbalDeviceId == 0 || gimbal->gimbalDeviceId() == gimbalDeviceId)
            gimbals.push_back(gimbal.get());
    }
    return gimbals;
}
