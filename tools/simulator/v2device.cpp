#include "v2device.h"

#include <command.h>
#include <gimbal_v2.h>
#include <messages.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr std::uint8_t MavStateActive = 4;
// Firmware 1.4.2, hardware 2.0: major in the lowest byte.
constexpr std::uint32_t FirmwareVersion = 0x00020401;
constexpr std::uint32_t HardwareVersion = 0x00000002;

void copyName(char (&field)[32], const char *name)
{
    std::memcpy(field, name, std::min(std::strlen(name), sizeof field));
}
} // namespace

V2Device::V2Device(const V2DeviceOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_writer(2, SystemId, options.profile.componentId),
      m_motion(options.profile.limits, options.vehicleYaw),
      m_params(SimParamSet::gimbal(options.paramCount), m_writer, SystemId,
               options.profile.componentId, options.paramLoss, options.seed),
      m_failureFlags(options.failureFlags)
{
    m_sinceStart.start();
    connect(&m_params, &SimParamPort::frameReady, this,
            [this](const QByteArray &frame) { emit frameReady(frame, false); });
    connect(&m_params, &SimParamPort::frameLost, this, &V2Device::frameLost);
    connect(&m_heartbeatTimer, &QTimer::timeout, this, &V2Device::sendHeartbeat);
    m_statusTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_statusTimer, &QTimer::timeout, this, &V2Device::sendStatus);
}

void V2Device::pause()
{
    m_heartbeatTimer.stop();
    m_statusTimer.stop();
}

bool V2Device::receive(const mavlink_message_t &msg)
{
    if (msg.msgid == MAVLINK_MSG_ID_HEARTBEAT) {
        if (!isAwake())
            wake();
        return false;
    }
    if (msg.msgid == MAVLINK_MSG_ID_COMMAND_LONG) {
        answerCommand(msg);
        return false;
    }
    if (msg.msgid >= MAVLINK_MSG_ID_PARAM_REQUEST_READ && msg.msgid <= MAVLINK_MSG_ID_PARAM_SET) {
        m_params.receive(msg);
        return false;
    }
    if (msg.msgid != MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE)
        return false;
    const mavlink_gimbal_device_set_attitude_t demand =
        mavlink_msg_gimbal_device_set_attitude_decode(&msg);
    if (demand.target_system != SystemId ||
        demand.target_component != m_options.profile.componentId)
        return false;
    // The rates so far apply up to now; the new demand from here on.
    advance();
    m_motion.demand(demand);
    ++(isAttitudeDemand(demand) ? m_tally.attitudeDemands : m_tally.rateDemands);
    return true;
}

void V2Device::wake()
{
    m_lastStepNs = m_sinceStart.nsecsElapsed();
    sendHeartbeat();
    m_heartbeatTimer.start(1000);
    m_statusTimer.start(std::max(1, static_cast<int>(1000.0 / m_options.statusRateHz + 0.5)));
}

void V2Device::advance()
{
    const qint64 now = m_sinceStart.nsecsElapsed();
    m_motion.advance(static_cast<double>(now - m_lastStepNs) / 1e9);
    m_lastStepNs = now;
}

void V2Device::sendHeartbeat()
{
    mavlink_heartbeat_t heartbeat{};
    heartbeat.type = MAV_TYPE_GIMBAL;
    heartbeat.autopilot = MAV_AUTOPILOT_INVALID;
    heartbeat.system_status = MavStateActive;
    heartbeat.mavlink_version = 3;
    emit frameReady(m_writer.frame(MAVLINK_MSG_ID_HEARTBEAT, heartbeat), false);
}

void V2Device::sendStatus()
{
    advance();
    const mavlink_euler_t angles = m_motion.attitude();
    const mavlink_euler_t velocity = m_motion.velocity();
    const bool earth = m_options.earthFrame;
    // In the earth frame the vehicle's heading is added: q_earth = q(delta_yaw) * q_vehicle.
    const float yaw =
        earth ? std::remainder(angles.yaw + m_options.vehicleYaw, 6.2831853f) : angles.yaw;

    mavlink_gimbal_device_attitude_status_t status{};
    status.time_boot_ms = static_cast<std::uint32_t>(m_sinceStart.elapsed());
    mavlink_quaternion_from_euler(angles.roll, angles.pitch, yaw, status.q);
    status.angular_velocity_x = velocity.roll;
    status.angular_velocity_y = velocity.pitch;
    status.angular_velocity_z = velocity.yaw;
    status.failure_flags = m_motion.limitFlags() | m_failureFlags;
    status.flags =
        GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK | m_motion.modeFlags() |
        (earth ? GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME : GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME);
    if (m_options.profile.capFlags & GIMBAL_DEVICE_CAP_FLAGS_SUPPORTS_YAW_IN_EARTH_FRAME)
        status.flags |= GIMBAL_DEVICE_FLAGS_ACCEPTS_YAW_IN_EARTH_FRAME;
    status.delta_yaw = m_options.vehicleYaw;
    status.delta_yaw_velocity = 0.0f;
    status.gimbal_device_id = 0;
    const std::uint8_t length = m_options.truncateExtensions
                                    ? MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS_MIN_LEN
                                    : MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS_LEN;
    ++m_tally.statusesSent;
    emit frameReady(m_writer.frame(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, &status, length),
                    true);
}

void V2Device::answerCommand(const mavlink_message_t &msg)
{
    const mavlink_command_long_t command = mavlink_msg_command_long_decode(&msg);
    const bool forUs = (command.target_system == SystemId || command.target_system == 0) &&
                       (command.target_component == m_options.profile.componentId ||
                        command.target_component == 0);
    if (!forUs)
        return;
    const bool wantsInformation = command.command == MAV_CMD_REQUEST_MESSAGE &&
                                  command.param1 == float(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION);
    if (wantsInformation)
        ++m_tally.informationRequests;
    if (!m_options.answerInformation)
        return;

    mavlink_command_ack_t ack{};
    ack.command = command.command;
    ack.result = wantsInformation ? MAV_RESULT_ACCEPTED : MAV_RESULT_UNSUPPORTED;
    ack.target_system = msg.sysid;
    ack.target_component = msg.compid;
    emit frameReady(m_writer.frame(MAVLINK_MSG_ID_COMMAND_ACK, ack), false);
    if (!wantsInformation)
        return;

    const V2DeviceProfile &profile = m_options.profile;
    mavlink_gimbal_device_information_t info{};
    info.uid = 0x4C554E4F4B000000ULL | profile.componentId;
    info.time_boot_ms = static_cast<std::uint32_t>(m_sinceStart.elapsed());
    info.firmware_version = FirmwareVersion;
    info.hardware_version = HardwareVersion;
    info.roll_min = profile.limits.roll.min;
    info.roll_max = profile.limits.roll.max;
    info.pitch_min = profile.limits.pitch.min;
    info.pitch_max = profile.limits.pitch.max;
    info.yaw_min = profile.limits.yaw.min;
    info.yaw_max = profile.limits.yaw.max;
    info.cap_flags = static_cast<std::uint16_t>(profile.capFlags);
    info.cap_flags2 = profile.capFlags;
    copyName(info.vendor_name, "Lunok");
    copyName(info.model_name, profile.model);
    emit frameReady(m_writer.frame(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION, info), false);
}
