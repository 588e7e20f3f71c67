// How a simulated v2 gimbal moves: it turns at demanded rates or towards a demanded attitude,
// goes to its neutral or retracted pose on request, and stops at its angle limits. Angles are
// Euler angles in rad with yaw relative to the vehicle; the vehicle itself holds its heading.
#pragma once

#include <gimbal_v2.h>
#include <quaternion.h>

#include <cstdint>

struct AxisRange
{
    float min;
    float max;
};

struct GimbalLimits
{
    AxisRange roll;
    AxisRange pitch;
    AxisRange yaw;
};

// A demand with a finite quaternion: an attitude to go to rather than rates.
bool isAttitudeDemand(const mavlink_gimbal_device_set_attitude_t &demand);
// Whether GIMBAL_DEVICE_FLAGS mean yaw in the earth frame: of the two frame flags at most one is
// set, and with neither, YAW_LOCK names the earth frame.
bool isEarthFrameYaw(std::uint16_t flags);

class V2GimbalMotion
{
public:
    // `vehicleYaw` turns an earth-frame yaw demand into one relative to the vehicle.
    V2GimbalMotion(const GimbalLimits &limits, float vehicleYaw);

    // Takes a GIMBAL_DEVICE_SET_ATTITUDE addressed to the device: RETRACT and NEUTRAL first, a
    // finite quaternion is an attitude to go to, otherwise the angular velocities are rates (NaN
    // holds the axis).
    void demand(const mavlink_gimbal_device_set_attitude_t &demand);
    // Moves on by `seconds`.
    void advance(double seconds);

    mavlink_euler_t attitude() const { return m_angles; }
    // The angular velocities of the last step, rad/s.
    mavlink_euler_t velocity() const { return m_velocity; }
    // The AT_*_LIMIT error flags of the axes that stand at a limit, retracted excepted.
    std::uint32_t limitFlags() const;
    // NEUTRAL or RETRACT while that was the last demand, and YAW_LOCK while yaw is held in the
    // earth frame.
    std::uint16_t modeFlags() const;

private:
    enum class Mode { Rate, Attitude, Neutral, Retract };

    GimbalLimits m_limits;
    float m_vehicleYaw;
    Mode m_mode = Mode::Rate;
    bool m_yawLock = false;
    mavlink_euler_t m_angles{0.0f, 0.0f, 0.0f};
    mavlink_euler_t m_rates{0.0f, 0.0f, 0.0f};
    mavlink_euler_t m_target{0.0f, 0.0f, 0.0f};
    mavlink_euler_t m_velocity{0.0f, 0.0f, 0.0f};
};
