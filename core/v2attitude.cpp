#include "v2attitude.h"

#include <gimbal_v2.h>

#include <cmath>
#include <limits>

namespace {
constexpr double Pi = 3.141592653589793;

// Into [-pi, pi), so that a yaw referred to the vehicle reads like the device's own.
double wrapped(double angle)
{
    return angle - 2.0 * Pi * std::floor((angle + Pi) / (2.0 * Pi));
}
} // namespace

bool yawInEarthFrame(unsigned flags)
{
    if (flags & GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME)
        return true;
    return (flags & GIMBAL_DEVICE_FLAGS_YAW_LOCK) &&
           !(flags & GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME);
}

GimbalAngles vehicleAngles(const mavlink_gimbal_device_attitude_status_t &status)
{
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
    float roll = NaN, pitch = NaN, yaw = NaN;
    if (!mavlink_quaternion_to_euler(status.q, &roll, &pitch, &yaw))
        return {NaN, NaN, NaN};
    if (yawInEarthFrame(status.flags))
        yaw = std::isfinite(status.delta_yaw)
                  ? static_cast<float>(wrapped(static_cast<double>(yaw) - status.delta_yaw))
                  : NaN;
    return {roll, pitch, yaw};
}
