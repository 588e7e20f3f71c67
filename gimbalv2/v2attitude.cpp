#include "v2attitude.h"

#include <gimbal_v2.h>

#include <cmath>
#include <limits>

namespace {
constexpr double TwoPi = 6.283185307179586;
} // namespace

bool yawInEarthFrame(unsigned flags)
{
    if (flags & GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME)
        return true;
    return (flags & GIMBAL_DEVICE_FLAGS_YAW_LOCK) &&
           !(flags & GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME);
}

mavlink_euler_t vehicleAngles(const mavlink_gimbal_device_attitude_status_t &status)
{
    mavlink_euler_t angles = mavlink_euler_from_quaternion(status.q);
    if (yawInEarthFrame(status.flags))
        angles.yaw = std::isfinite(status.delta_yaw)
                         // Into [-pi, pi], so that it reads like the device's own yaw.
                         ? static_cast<float>(std::remainder(
                               static_cast<double>(angles.yaw) - status.delta_yaw, TwoPi))
                         : std::numeric_limits<float>::quiet_NaN();
    return angles;
}
