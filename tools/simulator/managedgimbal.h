// One gimbal device wired to the simulated autopilot, as its gimbal manager sees it: the device
// itself (a V2Device on the vehicle's own bus, which the ground never reaches), the id the
// manager names it by, who controls it, and its attitude as its statuses report it. Set points in
// the manager's terms become the device's demands; a rate stream that falls silent stops the
// gimbal.
#pragma once

#include "framereader.h"
#include "v2device.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

// A controller of a gimbal manager; 0/0 is nobody.
struct ControlIds
{
    std::uint8_t sysid = 0;
    std::uint8_t compid = 0;

    bool operator==(const ControlIds &other) const
    {
        return sysid == other.sysid && compid == other.compid;
    }
    bool operator!=(const ControlIds &other) const { return !(*this == other); }
};

struct GimbalControl
{
    ControlIds primary;
    ControlIds secondary;
};

class ManagedGimbal : public QObject
{
    Q_OBJECT

public:
    // How long a rate stream may fall silent before the gimbal is stopped.
    static constexpr int RateTimeoutMs = 1000;

    ManagedGimbal(const V2DeviceOptions &device, std::uint8_t gimbalDeviceId,
                  QObject *parent = nullptr);

    std::uint8_t gimbalDeviceId() const { return m_gimbalDeviceId; }
    std::uint8_t componentId() const { return m_profile.componentId; }
    const V2DeviceProfile &profile() const { return m_profile; }
    const GimbalControl &control() const { return m_control; }
    void setControl(const GimbalControl &control) { m_control = control; }
    // The GIMBAL_MANAGER_FLAGS that the device's last status reports.
    std::uint32_t flags() const;

    // A set point in the manager's terms: GIMBAL_MANAGER_FLAGS, angles in rad and rates in rad/s,
    // anything not finite unset. An angle set moves there, the other angle held; with no angle,
    // the rates turn the gimbal.
    void pitchYaw(std::uint32_t flags, float pitch, float yaw, float pitchRate, float yawRate);
    // The same with values from -1 to 1: angles across the axis's range, rates up to the
    // manager's own maximum.
    void manualControl(std::uint32_t flags, float pitch, float yaw, float pitchRate, float yawRate);
    // A set point of three axes: a quaternion to go to, or (all NaN) the angular velocities.
    void attitude(std::uint32_t flags, const float q[4], float rateX, float rateY, float rateZ);
    // Hands the device a message that reached the vehicle for it.
    void pass(const mavlink_message_t &msg) { m_device.receive(msg); }

    void toggleFailure(std::uint32_t flags) { m_device.toggleFailure(flags); }
    void pause();
    const V2DeviceTally &deviceTally() const { return m_device.tally(); }
    int rateTimeouts() const { return m_rateTimeouts; }

signals:
    // A message the device sent on the vehicle's bus, with its frame, for the autopilot to pass
    // on or not; `telemetry` as V2Device::frameReady has it.
    void deviceMessage(const mavlink_message_t &msg, const QByteArray &frame, bool telemetry);

private:
    void hear(const QByteArray &frame, bool telemetry);
    // GIMBAL_DEVICE_SET_ATTITUDE to the device; rates that turn it keep it turning only while
    // set points keep coming.
    void demand(std::uint16_t flags, const float q[4], float rateX, float rateY, float rateZ);
    // The last reported yaw, rad, in the earth frame or the vehicle's.
    float yawIn(bool earthFrame) const;

    V2DeviceProfile m_profile;
    float m_vehicleYaw;
    std::uint8_t m_gimbalDeviceId;
    V2Device m_device;
    FrameReader m_bus;
    mavlink_gimbal_device_attitude_status_t m_status{};
    GimbalControl m_control;
    QTimer m_rateTimeout;
    std::uint16_t m_rateFlags = 0;
    int m_rateTimeouts = 0;
};
