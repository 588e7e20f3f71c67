#include "gimbalsimulator.h"
#include "tcpserverline.h"
#include "terminalline.h"
#include "udpline.h"

#include <gimbal_v2.h>
#include <messages.h>

#include <algorithm>
#include <cstring>

namespace {
constexpr std::uint8_t MavStateActive = 4;
// 8N1: ten bits on the line for every byte.
constexpr int BitsPerByte = 10;

constexpr float degrees(float angle)
{
    return angle * 0.017453292f;
}

std::unique_ptr<SimulatorLine> makeLine(const SimulatorOptions &options)
{
    switch (options.link) {
    case SimulatedLink::Udp:
        return std::make_unique<UdpLine>(options.host, options.port);
    case SimulatedLink::TcpServer:
        return std::make_unique<TcpServerLine>(options.host, options.port);
    case SimulatedLink::Terminal:
        break;
    }
    return std::make_unique<TerminalLine>(options.linkPath);
}

// One for each v2 device the options ask for.
std::vector<V2DeviceOptions> v2DeviceOptions(const SimulatorOptions &options)
{
    V2DeviceOptions device;
    device.statusRateHz = options.statusRateHz;
    device.vehicleYaw = SimulatedVehicleYaw;
    device.earthFrame = options.earthFrame;
    device.truncateExtensions = options.truncateExtensions;
    device.answerInformation = options.answerInformation;
    device.failureFlags = options.failureFlags;
    device.paramCount = options.paramCount;
    device.paramLoss = options.paramLoss;
    std::vector<V2DeviceProfile> profiles{threeAxisGimbal()};
    if (options.secondGimbal)
        profiles.push_back(twoAxisGimbal());
    std::vector<V2DeviceOptions> devices;
    for (const V2DeviceProfile &profile : profiles) {
        device.profile = profile;
        device.seed = options.seed + profile.componentId;
        devices.push_back(device);
    }
    return devices;
}
} // namespace

V2DeviceProfile threeAxisGimbal()
{
    V2DeviceProfile profile;
    profile.componentId = MAV_COMP_ID_GIMBAL;
    profile.model = "gimbal-sim 3-axis";
    profile.capFlags =
        GIMBAL_DEVICE_CAP_FLAGS_HAS_RETRACT | GIMBAL_DEVICE_CAP_FLAGS_HAS_NEUTRAL |
        GIMBAL_DEVICE_CAP_FLAGS_HAS_ROLL_AXIS | GIMBAL_DEVICE_CAP_FLAGS_HAS_ROLL_FOLLOW |
        GIMBAL_DEVICE_CAP_FLAGS_HAS_ROLL_LOCK | GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_AXIS |
        GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_FOLLOW | GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_LOCK |
        GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_AXIS | GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_FOLLOW |
        GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_LOCK | GIMBAL_DEVICE_CAP_FLAGS_SUPPORTS_YAW_IN_EARTH_FRAME;
    profile.limits = {
        {degrees(-45), degrees(45)}, {degrees(-90), degrees(30)}, {degrees(-170), degrees(170)}};
    return profile;
}

V2DeviceProfile twoAxisGimbal()
{
    V2DeviceProfile profile;
    profile.componentId = MAV_COMP_ID_GIMBAL2;
    profile.model = "gimbal-sim 2-axis";
    profile.capFlags =
        GIMBAL_DEVICE_CAP_FLAGS_HAS_NEUTRAL | GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_AXIS |
        GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_LOCK | GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_AXIS |
        GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_FOLLOW;
    profile.limits = {{0.0f, 0.0f}, {degrees(-90), degrees(20)}, {degrees(-120), degrees(120)}};
    return profile;
}

GimbalSimulator::GimbalSimulator(const SimulatorOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_line(makeLine(options)),
      m_pacer([this](const QByteArray &frame) {
          if (!m_line->send(frame))
              ++m_droppedFrames;
      }),
      m_writer(options.mavlinkVersion), m_random(options.seed)
{
    m_pacer.setBytesPerSecond(options.baud / BitsPerByte);
    connect(&m_pacer, &LinePacer::roomForMore, this, &GimbalSimulator::pumpStreams);
    m_streamTimer.setSingleShot(true);
    connect(&m_streamTimer, &QTimer::timeout, this, &GimbalSimulator::pumpStreams);
    connect(m_line.get(), &SimulatorLine::received, this, &GimbalSimulator::receive);
    connect(m_line.get(), &SimulatorLine::restarted, this, [this] { m_reader.restart(); });
    if (options.protocol == SimulatedProtocol::V2 &&
        options.vehicle.autopilot != SimulatedAutopilot::None) {
        GimbalManagerOptions vehicle = options.vehicle;
        vehicle.paramLoss = options.paramLoss;
        vehicle.seed = options.seed;
        m_manager = std::make_unique<GimbalManager>(vehicle, v2DeviceOptions(options));
        connect(m_manager.get(), &GimbalManager::frameReady, this, &GimbalSimulator::relay);
        connect(m_manager.get(), &GimbalManager::frameLost, this, &GimbalSimulator::sendLost);
    }
    plugIn();
    if (options.protocol == SimulatedProtocol::V2)
        return;

    m_reportTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_reportTimer, &QTimer::timeout, this, &GimbalSimulator::sendDueReports);
    m_reportTimer.start(std::max(1, static_cast<int>(1000.0 / options.reportRateHz + 0.5)));

    connect(&m_heartbeatTimer, &QTimer::timeout, this, &GimbalSimulator::sendHeartbeat);
    m_heartbeatTimer.start(1000);
}

void GimbalSimulator::plugIn()
{
    m_reader.restart();
    m_line->open();
    m_plugged = true;
    // A v2 device comes back as from power-up: silent until it sees a heartbeat.
    if (m_options.protocol == SimulatedProtocol::V2 && !m_manager)
        addV2Devices();
}

void GimbalSimulator::unplug()
{
    m_plugged = false;
    m_pacer.clear();
    m_line->close();
    removeV2Devices();
}

void GimbalSimulator::addV2Devices()
{
    for (const V2DeviceOptions &device : v2DeviceOptions(m_options)) {
        m_devices.push_back(std::make_unique<V2Device>(device));
        connect(m_devices.back().get(), &V2Device::frameReady, this, &GimbalSimulator::relay);
        connect(m_devices.back().get(), &V2Device::frameLost, this, &GimbalSimulator::sendLost);
        if (m_line->mustSpeakFirst())
            m_devices.back()->wake();
    }
}

void GimbalSimulator::removeV2Devices()
{
    for (const auto &device : m_devices)
        m_unpluggedTally += device->tally();
    m_devices.clear();
}

V2DeviceTally GimbalSimulator::v2Tally() const
{
    V2DeviceTally sum = m_unpluggedTally;
    for (const auto &device : m_devices)
        sum += device->tally();
    if (m_manager)
        sum += m_manager->deviceTally();
    return sum;
}

void GimbalSimulator::toggleFailure()
{
    for (const auto &device : m_devices)
        device->toggleFailure(m_options.failureToggle);
    if (m_manager)
        m_manager->toggleFailure(m_options.failureToggle);
}

const SimParamServer *GimbalSimulator::params(std::uint8_t component) const
{
    for (const auto &device : m_devices) {
        if (device->componentId() == component)
            return &device->params();
    }
    if (m_manager && component == MAV_COMP_ID_AUTOPILOT1)
        return &m_manager->params();
    return nullptr;
}

void GimbalSimulator::setParamLoss(double share)
{
    m_options.paramLoss = share;
    for (const auto &device : m_devices)
        device->params().setLossShare(share);
    if (m_manager)
        m_manager->params().setLossShare(share);
}

// One value at a time, each as the line has room for it, so that statuses and heartbeats take
// their turn between values rather than wait behind the whole set. A line without a pace takes
// one a turn of the event loop, so that the tool reads as they come.
void GimbalSimulator::pumpStreams()
{
    while (m_plugged && m_pacer.wantsMore()) {
        const bool sent = (m_manager && m_manager->sendStreamed()) ||
                          std::any_of(m_devices.begin(), m_devices.end(),
                                      [](const auto &device) { return device->sendStreamed(); });
        if (!sent)
            return;
        if (!m_pacer.isPaced()) {
            m_streamTimer.start(0);
            return;
        }
    }
}

void GimbalSimulator::replug()
{
    if (!m_plugged)
        plugIn();
}

void GimbalSimulator::setLineFaults(int noiseBytes, double bitErrorRate)
{
    m_options.noiseBytes = noiseBytes;
    m_options.bitErrorRate = bitErrorRate;
}

void GimbalSimulator::pause()
{
    m_reportTimer.stop();
    m_heartbeatTimer.stop();
    for (const auto &device : m_devices)
        device->pause();
    if (m_manager)
        m_manager->pause();
}

// A timer ticks at most once a millisecond and may tick late, so each tick sends every report
// that is due by now: the rate holds above 1000 reports a second and after a late tick.
void GimbalSimulator::sendDueReports()
{
    const double elapsed =
        std::chrono::duration<double>(CommandLog::Clock::now() - m_start).count();
    const auto due = static_cast<long long>(elapsed * m_options.reportRateHz);
    for (; m_reportsDue < due; ++m_reportsDue) {
        if (m_plugged)
            sendReport();
    }
}

void GimbalSimulator::sendReport()
{
    ++m_reportsSent;
    const auto now = CommandLog::Clock::now();
    const float dt = std::chrono::duration<float>(now - m_lastReport).count();
    m_lastReport = now;
    for (int axis = 0; axis < 3; ++axis)
        m_joints[axis] += m_rates[axis] * dt;

    mavlink_gimbal_report_t report{};
    report.delta_time = dt;
    report.joint_roll = m_joints[0];
    report.joint_el = m_joints[1];
    report.joint_az = m_joints[2];
    report.target_system = 0;
    report.target_component = 0;
    send(withLineFaults(m_writer.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report)));
}

QByteArray GimbalSimulator::withLineFaults(QByteArray frame)
{
    if (std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < m_options.bitErrorRate) {
        const int bit = std::uniform_int_distribution<int>(0, frame.size() * 8 - 1)(m_random);
        frame[bit / 8] = static_cast<char>(frame[bit / 8] ^ (1 << (bit % 8)));
    }
    QByteArray noise(m_options.noiseBytes, '\0');
    for (char &byte : noise)
        byte = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(m_random));
    return noise + frame;
}

void GimbalSimulator::sendHeartbeat()
{
    if (!m_plugged)
        return;
    mavlink_heartbeat_t heartbeat{};
    heartbeat.system_status = MavStateActive;
    heartbeat.mavlink_version = 3;
    send(m_writer.frame(MAVLINK_MSG_ID_HEARTBEAT, heartbeat));
}

void GimbalSimulator::relay(const QByteArray &frame, bool telemetry)
{
    if (m_plugged)
        send(telemetry ? withLineFaults(frame) : frame);
}

void GimbalSimulator::send(QByteArray frame)
{
    ++m_framesNumbered;
    if (!m_pacer.send(frame))
        ++m_droppedFrames;
}

void GimbalSimulator::sendLost(const QByteArray &frame)
{
    if (m_plugged)
        m_pacer.send(frame, true);
}

void GimbalSimulator::receive()
{
    const auto arrival = CommandLog::Clock::now();
    for (const mavlink_message_t &msg : m_reader.feed(m_line->takeReceived())) {
        if (msg.msgid == MAVLINK_MSG_ID_HEARTBEAT)
            ++m_heartbeatsReceived;
        bool command = false;
        if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_CONTROL &&
            m_options.protocol == SimulatedProtocol::Report) {
            mavlink_gimbal_control_t control{};
            std::memcpy(&control, msg.payload, std::min<std::size_t>(msg.len, sizeof control));
            m_rates[0] = control.demanded_rate_x;
            m_rates[1] = control.demanded_rate_y;
            m_rates[2] = control.demanded_rate_z;
            command = true;
        }
        for (const auto &device : m_devices)
            command = device->receive(msg) || command;
        if (m_manager)
            command = m_manager->receive(msg) || command;
        // The commands' sender numbers its other frames in the same sequence; another sender
        // (the tool's heartbeat beside the report protocol's stream) has a sequence of its own.
        const int sender = msg.sysid << 8 | msg.compid;
        if (command) {
            m_commandSender = sender;
            m_commands.record(msg.seq, arrival);
        } else if (sender == m_commandSender) {
            m_commands.passed(msg.seq);
        }
    }
    pumpStreams();
}
