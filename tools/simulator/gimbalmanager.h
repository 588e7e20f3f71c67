// A simulated vehicle's autopilot (system 1, component 1) and the gimbal manager it runs for the
// gimbal devices wired to it. It sends its HEARTBEAT once a second, holds and serves its
// parameters around the mount (C-cast like ArduPilot, byte-wise like PX4), answers a request for
// AUTOPILOT_VERSION with the capability bit of that encoding and one for
// GIMBAL_MANAGER_INFORMATION with one per gimbal, reports GIMBAL_MANAGER_STATUS five times a
// second per gimbal, gives primary and secondary control as MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE
// asks, and passes the set points of the primary controller on to the device; those of anyone
// else it ignores. Nothing from the ground reaches a device as a demand.
//
// The two autopilots put their gimbals on the link differently. Like PX4, the gimbal is a MAVLink
// component of its own (154, 171) whose HEARTBEAT and attitude status are routed to the link as
// it sends them, with gimbal_device_id 0, and which the manager names by its component id. Like
// ArduPilot, the gimbal is no component on the link: the autopilot sends its attitude status from
// its own component, with gimbal_device_id the gimbal's number (1, 2), which the manager names it
// by too.
#pragma once

#include "framewriter.h"
#include "managedgimbal.h"
#include "simparamport.h"

#include <command.h>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

enum class SimulatedAutopilot { None, ArduPilot, Px4 };

struct GimbalManagerOptions
{
    SimulatedAutopilot autopilot = SimulatedAutopilot::None;
    // The autopilot holds primary control itself, as a mission does, and refuses to hand it over.
    bool keepControl = false;
    // Another ground station (255/190) takes primary control this many ms after start-up;
    // negative for never.
    int otherGcsAfterMs = -1;
    // The share of the autopilot's parameter replies lost on the way, and the losses' seed.
    double paramLoss = 0.0;
    unsigned seed = 1;
};

// What the manager received and sent so far.
struct GimbalManagerTally
{
    int configureCommands = 0;
    // Configure commands answered with anything but MAV_RESULT_ACCEPTED.
    int configureRefused = 0;
    int setPointsHonoured = 0;
    // Set points that moved no gimbal: from a sender not in primary control, or for a gimbal the
    // manager does not have.
    int setPointsIgnored = 0;
    // GIMBAL_DEVICE_SET_ATTITUDE from the ground, which no device acts on.
    int deviceMessagesFromGround = 0;
    int informationRequests = 0;
    int rateTimeouts = 0;
    long long statusesSent = 0;
};

class GimbalManager : public QObject
{
    Q_OBJECT

public:
    // The other ground station of --other-gcs.
    static constexpr ControlIds OtherGroundStation{255, 190};

    // One gimbal for each of `devices`.
    GimbalManager(const GimbalManagerOptions &options, const std::vector<V2DeviceOptions> &devices,
                  QObject *parent = nullptr);

    // Takes a message from the link. True for a set point addressed to the manager, honoured or
    // not.
    bool receive(const mavlink_message_t &msg);
    // Stops sending.
    void pause();
    // Raises or lowers the given error flags on every device.
    void toggleFailure(std::uint32_t flags);
    GimbalManagerTally tally() const;
    // What the devices received and sent.
    V2DeviceTally deviceTally() const;
    // The autopilot's parameters.
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
    void sendHeartbeat();
    void sendStatuses();
    void forward(const ManagedGimbal &gimbal, const mavlink_message_t &msg, const QByteArray &frame,
                 bool telemetry);
    void answerCommand(const mavlink_message_t &msg);
    void sendInformation();
    void sendVersion();
    // The MAV_RESULT of a command that moves the gimbal once, or of one that configures control:
    // each chosen gimbal goes to its controller, or is taken from one, by the command's rules.
    std::uint8_t pitchYaw(ControlIds sender, const mavlink_command_long_t &command);
    std::uint8_t configure(ControlIds sender, const mavlink_gimbal_manager_configure_t &config);
    // Applies `apply` to each gimbal that `gimbalDeviceId` names (0 all) and `sender` controls.
    // False when there was none.
    bool setPoint(ControlIds sender, std::uint8_t gimbalDeviceId,
                  const std::function<void(ManagedGimbal &)> &apply);
    // The gimbals that `gimbalDeviceId` names, 0 for all.
    std::vector<ManagedGimbal *> chosen(std::uint8_t gimbalDeviceId) const;

    GimbalManagerOptions m_options;
    FrameWriter m_writer;
    SimParamPort m_params;
    std::vector<std::unique_ptr<ManagedGimbal>> m_gimbals;
    QTimer m_heartbeatTimer;
    QTimer m_statusTimer;
    QElapsedTimer m_sinceStart;
    GimbalManagerTally m_tally;
};
