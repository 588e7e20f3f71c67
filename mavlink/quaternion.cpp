#include "quaternion.h"

#include <cmath>
#include <limits>

namespace {
constexpr double Pi = 3.14159265358979323846;
// Closer than this to +-1, sin(pitch) is taken as the gimbal lock: a float quaternion carries
// about seven digits, so nearer the lock roll and yaw are noise apart from their sum.
constexpr double LockSine = 1.0 - 1e-7;

double wrapPi(double angle)
{
    return std::remainder(angle, 2.0 * Pi);
}
} // namespace

mavlink_euler_t mavlink_euler_from_quaternion(const float q[4])
{
    const double norm = std::sqrt(double(q[0]) * q[0] + double(q[1]) * q[1] + double(q[2]) * q[2] +
                                  double(q[3]) * q[3]);
    if (!std::isfinite(norm) || norm == 0.0) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        return {nan, nan, nan};
    }
    const double w = q[0] / norm;
    const double x = q[1] / norm;
    const double y = q[2] / norm;
    const double z = q[3] / norm;

    const double sinPitch = 2.0 * (w * y - z * x);
    if (std::fabs(sinPitch) >= LockSine) {
        // With roll 0, the quaternion is (cos(yaw/2), ., ., sin(yaw/2)) scaled by cos(pi/4) at
        // either lock.
        return {0.0f, float(std::copysign(Pi / 2.0, sinPitch)),
                float(wrapPi(2.0 * std::atan2(z, w)))};
    }
    return {float(std::atan2(2.0 * (w * x + y * z), 1.0 - 2.0 * (x * x + y * y))),
            float(std::asin(sinPitch)),
            float(std::atan2(2.0 * (w * z + x * y), 1.0 - 2.0 * (y * y + z * z)))};
}

void mavlink_quaternion_from_euler(float roll, float pitch, float yaw, float q[4])
{
    const double cr = std::cos(roll / 2.0);
    const double sr = std::sin(roll / 2.0);
    const double cp = std::cos(pitch / 2.0);
    const double sp = std::sin(pitch / 2.0);
    const double cy = std::cos(yaw / 2.0);
    const double sy = std::sin(yaw / 2.0);
    q[0] = float(cr * cp * cy + sr * sp * sy);
    q[1] = float(sr * cp * cy - cr * sp * sy);
    q[2] = float(cr * sp * cy + sr * cp * sy);
    q[3] = float(cr * cp * sy - sr * sp * cy);
}
