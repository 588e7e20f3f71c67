// A gimbal on the far end of a pseudo-terminal, or on UDP or TCP on this machine. Speaking the
// report protocol, it reports its joint angles at a chosen rate, turns them at the rates of the
// commands it receives, and sends a heartbeat once a second; speaking the gimbal protocol v2, it is
// one or two v2 gimbal devices, on their own or behind a vehicle's gimbal manager. It can be pulled
// out and plugged back in, as a USB device is: the terminal goes away and a new one comes, which a
// stable link path follows; a network line closes and opens again on the same address.
#pragma once

#include "commandlog.h"
#include "framereader.h"
#include "framewriter.h"
#include "gimbalmanager.h"
#include "linepacer.h"
#include "simulatorline.h"
#include "v2device.h"

#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <memory>
#include <random>
#include <vector>

enum class SimulatedProtocol { Report, V2 };
// What the gimbal sits on: a pseudo-terminal; UDP, sending to the tool at host:port; a TCP server
// on host:port.
enum class SimulatedLink { Terminal, Udp, TcpServer };

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
    SimulatedLink link = SimulatedLink::Terminal;
    // A symbolic link kept pointing at the current terminal, like a /dev/serial/by-id/ path;
    // empty for none.
    QString linkPath;
    // A network line's loopback address and port: the tool's for UDP, the server's for TCP (0 for
    // any free port).
    QHostAddress host = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 0;
    // The line's baud rate, which paces everything sent at baud / 10 bytes a second; 0 for a line
    // as fast as the far end reads.
    int baud = 0;

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
    // With an autopilot, the v2 devices sit behind its gimbal manager on a simulated vehicle,
    // which stays up while the line is unplugged.
    GimbalManagerOptions vehicle;
    // The v2 devices' parameters: how many (0: a gimbal's own set); and the share of their
    // replies, and of the autopilot's, lost on the way.
    int paramCount = 0;
    double paramLoss = 0.0;
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

    bool isOpen() const { return m_line->isOpen(); }
    // Why the line did not open.
    QString lineError() const { return m_line->errorString(); }
    // The terminal's own path, empty while unplugged; a network line's address.
    QString devicePath() const { return m_line->currentAddress(); }
    // The path or address for the tool to open: the stable link when there is one.
    QString portPath() const { return m_line->address(); }
    bool isPlugged() const { return m_plugged; }
    // Hangs the terminal up and removes it, as pulling the USB cable does, and the link then
    // points nowhere; closes a network line.
    void unplug();
    // Brings a new terminal and points the link at it; opens a network line again.
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
    // The vehicle's gimbal manager; null without an autopilot.
    const GimbalManager *manager() const { return m_manager.get(); }
    // The parameter server of the v2 device or the autopilot on `component`, or nullptr.
    const SimParamServer *params(std::uint8_t component) const;
    // The share of parameter replies lost, from now on.
    void setParamLoss(double share);

private:
    void plugIn();
    void sendDueReports();
    void sendReport();
    void sendHeartbeat();
    void receive();
    void send(QByteArray frame);
    // A frame that takes its time on the line and never arrives.
    void sendLost(const QByteArray &frame);
    // A v2 device's or the vehicle's frame, while plugged in; a status with the line's faults.
    void relay(const QByteArray &frame, bool telemetry);
    // `frame` with a bit flipped now and then and noise before it, as the options say.
    QByteArray withLineFaults(QByteArray frame);
    void addV2Devices();
    void removeV2Devices();
    // Keeps the devices' and the autopilot's parameter streams going while the line has room.
    void pumpStreams();

    SimulatorOptions m_options;
    std::unique_ptr<SimulatorLine> m_line;
    LinePacer m_pacer;
    bool m_plugged = false;
    FrameReader m_reader;
    FrameWriter m_writer;
    CommandLog m_commands;
    QTimer m_reportTimer;
    QTimer m_heartbeatTimer;
    // The next stream value's turn on a line without a pace.
    QTimer m_streamTimer;
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
    std::unique_ptr<GimbalManager> m_manager;
    V2DeviceTally m_unpluggedTally;
};
