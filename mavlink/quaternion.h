// Attitude as a unit quaternion (w, x, y, z), as the gimbal protocol v2 carries it, and as Euler
// angles in rad: yaw about z, then pitch about the new y, then roll about the newest x (3-2-1).
#pragma once

struct mavlink_euler_t
{
    float roll;
    float pitch;
    float yaw;
};

// Roll and yaw in [-pi, pi], pitch in [-pi/2, pi/2]. `q` need not be normalised. At pitch +-pi/2
// roll and yaw turn about the same axis and only their sum or difference is defined: there roll
// is 0 and yaw carries the whole turn. All three are NaN for a quaternion that is not finite or
// has no length.
mavlink_euler_t mavlink_euler_from_quaternion(const float q[4]);

// The unit quaternion of the attitude (roll, pitch, yaw), w >= 0 for angles within the ranges
// above.
void mavlink_quaternion_from_euler(float roll, float pitch, float yaw, float q[4]);
