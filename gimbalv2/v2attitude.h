// The angles a v2 gimbal's attitude status stands for, as the window shows them: roll, pitch and
// yaw (radians, Euler order 3-2-1), with yaw relative to the vehicle also where the status gives
// the attitude in the earth frame.
#pragma once

#include <quaternion.h>

struct mavlink_gimbal_device_attitude_status_t;

// The status's own angles: NaN where its quaternion is not a rotation (NaN, or all zero), and a
// NaN yaw where an earth-frame status has no finite delta_yaw to refer it to the vehicle.
mavlink_euler_t vehicleAngles(const mavlink_gimbal_device_attitude_status_t &status);

// Whether the status gives its yaw in the earth frame: the earth frame flag, or a yaw lock
// without either frame flag.
bool yawInEarthFrame(unsigned flags);
