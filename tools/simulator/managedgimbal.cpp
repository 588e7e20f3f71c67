#include "managedgimbal.h"

#include <gimbal_manager.h>
#include <quaternion.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
// RETRACT to YAW_IN_EARTH_FRAME: the manager's flags that the device's flags share.
constexpr std::uint32_t SharedFlags = 0x7F;
// The manager's full-scale manual rate: a quarter turn a second.
constexpr float MaxManualRate = 1.5707964f;

bool turns(float rate)
{
    return std::isfinite(rate) && rate != 0.0f;
}

// A manual-control value, -1 to 1; NaN for one that is not a number.
float fraction(float value)
{
    return std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) : NaN;
}

// -1 is the low end of the range, 1 the high end, 0 straight ahead.
float acrossRange(float value, const AxisRange &range)
{
    const float f = fraction(value);
    return f >= 0.0f ? f * range.max : -f * range.min;
}
} // namespace

ManagedGimbal::ManagedGimbal(const V2DeviceOptions &device, std::uint8_t gimbalDeviceId,
                             QObject *parent)
    : QObject(parent), m_profile(device.profile), m_vehicleYaw(device.vehicleYaw),
      m_gimbalDeviceId(gimbalDeviceId), m_device(device)
{
    m_status.q[0] = 1.0f;
    connect(&m_device, &V2Device::frameReady, this, &ManagedGimbal::hear);
    m_rateTimeout.setSingleShot(true);
    m_rateTimeout.setTimerType(Qt::PreciseTimer);
    m_rateTimeout.setInterval(RateTimeoutMs);
    connect(&m_rateTimeout, &QTimer::timeout, this, [this] {
        ++m_rateTimeouts;
        const float none[4] = {NaN, NaN, NaN, NaN};
        demand(m_rateFlags, none, 0.0f, 0.0f, 0.0f);
    });
    // The autopilot talks to its gimbal from power-up on.
    m_device.wake();
}

std::uint32_t ManagedGimbal::flags() const
{
    return m_status.flags & SharedFlags;
}

void ManagedGimbal::pause()
{
    m_device.pause();
    m_rateTimeout.stop();
}

void ManagedGimbal::pitchYaw(std::uint32_t flags, float pitch, float yaw, float pitchRate,
                             float yawRate)
{
    const auto deviceFlags = static_cast<std::uint16_t>(flags & SharedFlags);
    float q[4] = {NaN, NaN, NaN, NaN};
    if (std::isfinite(pitch) || std::isfinite(yaw)) {
        // Roll is not the manager's to set: it keeps the horizon level.
        const float heldPitch = mavlink_euler_from_quaternion(m_status.q).pitch;
        mavlink_quaternion_from_euler(
            0.0f, std::isfinite(pitch) ? pitch : heldPitch,
            std::isfinite(yaw) ? yaw : yawIn(isEarthFrameYaw(deviceFlags)), q);
    }
    demand(deviceFlags, q, 0.0f, pitchRate, yawRate);
}

void ManagedGimbal::manualControl(std::uint32_t flags, float pitch, float yaw, float pitchRate,
                                  float yawRate)
{
    pitchYaw(flags, acrossRange(pitch, m_profile.limits.pitch),
             acrossRange(yaw, m_profile.limits.yaw), fraction(pitchRate) * MaxManualRate,
             fraction(yawRate) * MaxManualRate);
}

void ManagedGimbal::attitude(std::uint32_t flags, const float q[4], float rateX, float rateY,
                             float rateZ)
{
    demand(static_cast<std::uint16_t>(flags & SharedFlags), q, rateX, rateY, rateZ);
}

// The manager commands its device over the vehicle's own bus, which is not the link: the demand
// reaches the device as a message from the autopilot's component without being framed.
void ManagedGimbal::demand(std::uint16_t flags, const float q[4], float rateX, float rateY,
                           float rateZ)
{
    mavlink_gimbal_device_set_attitude_t set{};
    std::copy(q, q + 4, set.q);
    set.angular_velocity_x = rateX;
    set.angular_velocity_y = rateY;
    set.angular_velocity_z = rateZ;
    set.flags = flags;
    set.target_system = V2Device::SystemId;
    set.target_component = m_profile.componentId;
    mavlink_message_t msg{};
    msg.msgid = MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE;
    msg.sysid = V2Device::SystemId;
    msg.compid = MAV_COMP_ID_AUTOPILOT1;
    msg.len = sizeof set;
    std::memcpy(msg.payload, &set, sizeof set);
    m_device.receive(msg);

    const bool turning = !isAttitudeDemand(set) &&
                         !(flags & (GIMBAL_DEVICE_FLAGS_RETRACT | GIMBAL_DEVICE_FLAGS_NEUTRAL)) &&
                         (turns(rateX) || turns(rateY) || turns(rateZ));
    m_rateFlags = flags;
    if (turning)
        m_rateTimeout.start();
    else
        m_rateTimeout.stop();
}

void ManagedGimbal::hear(const QByteArray &frame, bool telemetry)
{
    for (const mavlink_message_t &msg : m_bus.feed(frame)) {
        if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS)
            m_status = mavlink_msg_gimbal_device_attitude_status_decode(&msg);
        emit deviceMessage(msg, frame, telemetry);
    }
}

float ManagedGimbal::yawIn(bool earthFrame) const
{
    const float reported = mavlink_euler_from_quaternion(m_status.q).yaw;
    const bool reportedInEarth = m_status.flags & GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME;
    if (reportedInEarth == earthFrame)
        return reported;
    return std::remainder(reported + (earthFrame ? m_vehicleYaw : -m_vehicleYaw), 6.2831853f);
}
