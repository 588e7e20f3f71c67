#include "v2gimbalmotion.h"

#include <algorithm>
#include <cmath>

namespace {
// How fast the gimbal turns towards an attitude, its neutral or its retracted pose: a quarter
// turn a second, the full-scale rate of the stick.
constexpr float SlewRate = 1.5707964f;
// Retracted: pointing straight down as far as the pitch range allows.
constexpr float RetractPitch = -1.5707964f;

float finiteOrZero(float value)
{
    return std::isfinite(value) ? value : 0.0f;
}

float clampTo(float value, const AxisRange &range)
{
    return std::clamp(value, range.min, range.max);
}

// One axis towards `target` by at most SlewRate * seconds.
float towards(float angle, float target, double seconds)
{
    const auto step = static_cast<float>(SlewRate * seconds);
    return angle + std::clamp(target - angle, -step, step);
}

// An axis the gimbal does not have (an empty range) has no limit to stand at.
bool atLimit(float angle, const AxisRange &range)
{
    return range.min < range.max && (angle <= range.min || angle >= range.max);
}
} // namespace

bool isAttitudeDemand(const mavlink_gimbal_device_set_attitude_t &demand)
{
    for (const float component : demand.q) {
        if (!std::isfinite(component))
            return false;
    }
    return true;
}

bool isEarthFrameYaw(std::uint16_t flags)
{
    return (flags & GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME) ||
           (!(flags & GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME) &&
            (flags & GIMBAL_DEVICE_FLAGS_YAW_LOCK));
}

V2GimbalMotion::V2GimbalMotion(const GimbalLimits &limits, float vehicleYaw)
    : m_limits(limits), m_vehicleYaw(vehicleYaw)
{
}

void V2GimbalMotion::demand(const mavlink_gimbal_device_set_attitude_t &demand)
{
    const std::uint16_t flags = demand.flags;
    m_yawLock = isEarthFrameYaw(flags);
    if (flags & GIMBAL_DEVICE_FLAGS_RETRACT) {
        m_mode = Mode::Retract;
        m_target = {0.0f, std::max(RetractPitch, m_limits.pitch.min), 0.0f};
    } else if (flags & GIMBAL_DEVICE_FLAGS_NEUTRAL) {
        m_mode = Mode::Neutral;
        m_target = {0.0f, 0.0f, 0.0f};
    } else if (isAttitudeDemand(demand)) {
        const mavlink_euler_t wanted = mavlink_euler_from_quaternion(demand.q);
        if (std::isnan(wanted.yaw))
            return;
        const float yaw =
            m_yawLock ? std::remainder(wanted.yaw - m_vehicleYaw, 6.2831853f) : wanted.yaw;
        m_mode = Mode::Attitude;
        m_target = {clampTo(wanted.roll, m_limits.roll), clampTo(wanted.pitch, m_limits.pitch),
                    clampTo(yaw, m_limits.yaw)};
    } else {
        m_mode = Mode::Rate;
        m_rates = {finiteOrZero(demand.angular_velocity_x), finiteOrZero(demand.angular_velocity_y),
                   finiteOrZero(demand.angular_velocity_z)};
    }
}

void V2GimbalMotion::advance(double seconds)
{
    if (seconds <= 0)
        return;
    const mavlink_euler_t before = m_angles;
    if (m_mode == Mode::Rate) {
        m_angles.roll = clampTo(float(m_angles.roll + m_rates.roll * seconds), m_limits.roll);
        m_angles.pitch = clampTo(float(m_angles.pitch + m_rates.pitch * seconds), m_limits.pitch);
        m_angles.yaw = clampTo(float(m_angles.yaw + m_rates.yaw * seconds), m_limits.yaw);
    } else {
        m_angles.roll = towards(m_angles.roll, m_target.roll, seconds);
        m_angles.pitch = towards(m_angles.pitch, m_target.pitch, seconds);
        m_angles.yaw = towards(m_angles.yaw, m_target.yaw, seconds);
    }
    m_velocity = {float((m_angles.roll - before.roll) / seconds),
                  float((m_angles.pitch - before.pitch) / seconds),
                  float((m_angles.yaw - before.yaw) / seconds)};
}

std::uint32_t V2GimbalMotion::limitFlags() const
{
    if (m_mode == Mode::Retract)
        return 0;
    std::uint32_t flags = 0;
    if (atLimit(m_angles.roll, m_limits.roll))
        flags |= GIMBAL_DEVICE_ERROR_FLAGS_AT_ROLL_LIMIT;
    if (atLimit(m_angles.pitch, m_limits.pitch))
        flags |= GIMBAL_DEVICE_ERROR_FLAGS_AT_PITCH_LIMIT;
    if (atLimit(m_angles.yaw, m_limits.yaw))
        flags |= GIMBAL_DEVICE_ERROR_FLAGS_AT_YAW_LIMIT;
    return flags;
}

std::uint16_t V2GimbalMotion::modeFlags() const
{
    std::uint16_t flags = m_yawLock ? GIMBAL_DEVICE_FLAGS_YAW_LOCK : 0;
    if (m_mode == Mode::Neutral)
        flags |= GIMBAL_DEVICE_FLAGS_NEUTRAL;
    else if (m_mode == Mode::Retract)
        flags |= GIMBAL_DEVICE_FLAGS_RETRACT;
    return flags;
}
