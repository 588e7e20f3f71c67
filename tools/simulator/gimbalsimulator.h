// A gimbal on the far end of a pseudo-terminal. Speaking the report protocol, it reports its joint
// angles at a chosen rate, turns them at the rates of the commands it receives, and sends a
// heartbeat once a second; speaking the gimbal protocol v2, it is one or two v2 gimbal devices.
// It can be pulled out and plugged back in, as a USB device is: the terminal goes away and a new
// one comes, which a stable link path follows.
#pragma once

#include "commandlog.h"
#include "framereader.h"
#include "framewriter.h"
#include "pseudoterminal.h"
#include "v2device.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <random>
#include <vector>

enum class SimulatedProtocol { Report, V2 };

struct SimulatorOptions
{
    SimulatedProtocol protocol = SimulatedProtocol::Report;
    double reportRateHz = 50.0;
    int mavlinkVersion = 2;
    // Random bytes put on the line before each report.
    int noiseBytes = 0;
    // The share of reports sent with one bit flipped.
    double bitErrorRate = 0.0;
    unsigned seed = 1;
    // A symbolic link kept pointing at the current terminal, like a /dev/serial/by-id/ path;
    // empty for none.
    QString linkPath;

    // The gimbal protocol v2 device: statuses a second, and the device's behaviour.
    double statusRateHz = 10.0;
    bool earthFrame = false;
    bool truncateExtensions = false;
    bool answerInformation = true;
    // A second device on component 171, with two axes.
    bool secondGimbal = false;
    // GIMBAL_DEVICE_ERROR_FLAGS raised from the start, and those toggleFailure() raises or lowers.
    std::uint32_t failureFlags = 0;
    std::uint32_t failureToggle = GIMBAL_DEVICE_ERROR_FLAGS_MOTOR_ERROR;
};

// The heading of the simulated vehicle, rad: a v2 device reports it as delta_yaw.
constexpr float SimulatedVehicleYaw = 0.5235988f;
// The two simulated v2 devices.
V2DeviceProfile threeAxisGimbal();
V2DeviceProfile twoAxisGimbal();

class GimbalSimulator : public QObject
{
    Q_OBJECT

public:
    explicit GimbalSimulator(const SimulatorOptions &options, QObject *parent = nullptr);

    ~GimbalSimulator() override;

    bool isOpen() const { return m_pty && m_pty->isOpen(); }
    // The terminal's own path, empty while unplugged.
    QString devicePath() const { return isOpen() ? m_pty->devicePath() : QString(); }
    // The path for the tool to open: the stable link when there is one.
    QString portPath() const;
    bool isPlugged() const { return m_pty != nullptr; }
    // Hangs the terminal up and removes it, as pulling the USB cable does; the link then points
    // nowhere.
    void unplug();
    // Brings a new terminal and points the link at it.
    void replug();
    // Stops sending; what was sent stays on its way.
    void pause();
    // Noise bytes before each report and the share of reports with a bit flipped, from now on.
    void setLineFaults(int noiseBytes, double bitErrorRate);
    // Frames given a sequence number so far, reports and heartbeats: those sent and those lost
    // because nobody read them.
    long long framesNumbered() const { return m_framesNumbered; }
    const CommandLog &commands() const { return m_commands; }
    int badFrames() const { return m_reader.badFrames(); }
    int droppedFrames() const { return m_droppedFrames; }
    // Reports put on the line or lost because nobody read them; not those due while unplugged.
    long long reportsSent() const { return m_reportsSent; }
    // HEARTBEAT frames received from the tool.
    int heartbeatsReceived() const { return m_heartbeatsReceived; }
    // What the v2 devices received and sent, those of earlier plug-ins included.
    V2DeviceTally v2Tally() const;
    // Raises or lowers the configured failure on every v2 device.
    void toggleFailure();

private:
    void plugIn();
    void sendDueReports();
    void sendReport();
    void sendHeartbeat();
    void receive();
    void send(QByteArray frame);
    // `frame` with a bit flipped now and then and noise before it, as the options say.
    QByteArray withLineFaults(QByteArray frame);
    void addV2Devices();
    void removeV2Devices();

    SimulatorOptions m_options;
    std::unique_ptr<PseudoTerminal> m_pty;
    FrameReader m_reader;
    FrameWriter m_writer;
    CommandLog m_commands;
    QTimer m_reportTimer;
    QTimer m_heartbeatTimer;
    std::mt19937 m_random;
    float m_rates[3] = {};
    float m_joints[3] = {};
    CommandLog::Clock::time_point m_lastReport = CommandLog::Clock::now();
    CommandLog::Clock::time_point m_start = CommandLog::Clock::now();
    long long m_reportsDue = 0;
    long long m_reportsSent = 0;
    long long m_framesNumbered = 0;
    int m_droppedFrames = 0;
    int m_heartbeatsReceived = 0;
    // sysid << 8 | compid of the commands' sender, -1 before the first command.
    int m_commandSender = -1;
    std::vector<std::unique_ptr<V2Device>> m_devices;
    V2DeviceTally m_unpluggedTally;
};
