// One gimbal device of the gimbal protocol v2 on the simulated link, as such devices behave on a
// direct serial line: silent until it sees a HEARTBEAT, then its own HEARTBEAT once a second and
// its attitude status at a set rate; it acts on GIMBAL_DEVICE_SET_ATTITUDE addressed to it and
// answers a request for its information with COMMAND_ACK and GIMBAL_DEVICE_INFORMATION. It holds
// a gimbal's parameters, byte-wise, and serves them.
#pragma once

#include "framewriter.h"
#include "simparamport.h"
#include "v2gimbalmotion.h"

#include <mavlink_types.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

struct V2DeviceProfile
{
    std::uint8_t componentId = MAV_COMP_ID_GIMBAL;
    const char *model = "";
    std::uint32_t capFlags = 0;
    GimbalLimits limits{};
};

struct V2DeviceOptions
{
    V2DeviceProfile profile;
    double statusRateHz = 10.0;
    // The vehicle's heading, rad, reported as delta_yaw.
    float vehicleYaw = 0.0f;
    // Attitude in the earth frame (YAW_IN_EARTH_FRAME) instead of the vehicle's.
    bool earthFrame = false;
    // Statuses without their extension fields, as a device of the protocol's first revision.
    bool truncateExtensions = false;
    bool answerInformation = true;
    // A GIMBAL_DEVICE_ERROR_FLAGS value raised from the start.
    std::uint32_t failureFlags = 0;
    // The parameters: how many (0: the gimbal's own set), and the share of replies lost.
    int paramCount = 0;
    double paramLoss = 0.0;
    unsigned seed = 1;
};

// What the device has received so far.
struct V2DeviceTally
{
    int rateDemands = 0;
    int attitudeDemands = 0;
    int informationRequests = 0;
    long long statusesSent = 0;

    V2DeviceTally &operator+=(const V2DeviceTally &other)
    {
        rateDemands += other.rateDemands;
        attitudeDemands += other.attitudeDemands;
        informationRequests += other.informationRequests;
        statusesSent += other.statusesSent;
        return *this;
    }
};

class V2Device : public QObject
{
    Q_OBJECT

public:
    static constexpr std::uint8_t SystemId = 1;

    explicit V2Device(const V2DeviceOptions &options, QObject *parent = nullptr);

    // Takes a message from the link. True when it was a GIMBAL_DEVICE_SET_ATTITUDE addressed to
    // this device.
    bool receive(const mavlink_message_t &msg);
    std::uint8_t componentId() const { return m_options.profile.componentId; }
    bool isAwake() const { return m_heartbeatTimer.isActive(); }
    // Starts sending without waiting for a HEARTBEAT, for a listener that learns where the device
    // is only from what it sends.
    void wake();
    // Raises the given error flags, or lowers them when they are up.
    void toggleFailure(std::uint32_t flags) { m_failureFlags ^= flags; }
    // Stops sending.
    void pause();
    const V2DeviceTally &tally() const { return m_tally; }
    const SimParamServer &params() const { return m_params.server(); }
    SimParamServer &params() { return m_params.server(); }
    // Sends the next value of a parameter list stream; false when none runs.
    bool sendStreamed() { return m_params.sendStreamed(); }

signals:
    // A frame to put on the line; `telemetry` for a status, which a noisy line may spoil.
    void frameReady(const QByteArray &frame, bool telemetry);
    // A frame that takes its time on the line and is lost on the way.
    void frameLost(const QByteArray &frame);

private:
    void advance();
    void sendHeartbeat();
    void sendStatus();
    void answerCommand(const mavlink_message_t &msg);

    V2DeviceOptions m_options;
    FrameWriter m_writer;
    V2GimbalMotion m_motion;
    SimParamPort m_params;
    QTimer m_heartbeatTimer;
    QTimer m_statusTimer;
    QElapsedTimer m_sinceStart;
    qint64 m_lastStepNs = 0;
    std::uint32_t m_failureFlags;
    V2DeviceTally m_tally;
};
