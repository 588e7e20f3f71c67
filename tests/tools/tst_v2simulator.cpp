// The simulator as a gimbal protocol v2 device, end to end: a ground station opens its
// pseudo-terminal as a serial port and talks to it in frames.
#include "gimbalsimulator.h"

#include <command.h>
#include <encoder.h>
#include <framereader.h>
#include <gimbal_v2.h>
#include <messages.h>
#include <quaternion.h>

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <deque>
#include <functional>
#include <limits>

namespace {
const float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Degree = 0.017453292f;
constexpr std::uint16_t Follow = GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK |
                                 GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME;

using Status = mavlink_gimbal_device_attitude_status_t;

mavlink_euler_t eulerOf(const Status &status)
{
    const float q[4] = {status.q[0], status.q[1], status.q[2], status.q[3]};
    return mavlink_euler_from_quaternion(q);
}

// Axis 0 roll, 1 pitch, 2 yaw.
float angleOn(int axis, const Status &status)
{
    const mavlink_euler_t e = eulerOf(status);
    return axis == 0 ? e.roll : axis == 1 ? e.pitch : e.yaw;
}

// The tool's side of the link, as a ground station: system 255, component 190.
class GroundStation
{
public:
    explicit GroundStation(const QString &path)
    {
        m_port.setPortName(path);
        m_port.open(QIODevice::ReadWrite);
        m_port.setBaudRate(115200);
    }

    bool isOpen() const { return m_port.isOpen(); }

    void heartbeat()
    {
        mavlink_message_t msg{};
        mavlink_msg_heartbeat_pack(255, 190, &msg, MAV_TYPE_GCS, MAV_AUTOPILOT_INVALID, 0, 0, 4);
        send(msg);
    }

    void demand(std::uint8_t component, std::uint16_t flags, const float q[4], float x, float y,
                float z, std::uint8_t system = V2Device::SystemId)
    {
        mavlink_message_t msg{};
        mavlink_msg_gimbal_device_set_attitude_pack(255, 190, &msg, system, component, flags, q, x,
                                                    y, z);
        send(msg);
    }

    void rates(float x, float y, float z, std::uint8_t component = MAV_COMP_ID_GIMBAL)
    {
        const float q[4] = {NaN, NaN, NaN, NaN};
        demand(component, Follow, q, x, y, z);
    }

    // `rate` on one axis (0 roll, 1 pitch, 2 yaw), the others still.
    void rateOn(int axis, float rate)
    {
        float r[3] = {0, 0, 0};
        r[axis] = rate;
        rates(r[0], r[1], r[2]);
    }

    void requestInformation(std::uint8_t component)
    {
        mavlink_message_t msg{};
        mavlink_msg_command_long_pack(
            255, 190, &msg, V2Device::SystemId, component, MAV_CMD_REQUEST_MESSAGE, 0,
            float(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION), 0, 0, 0, 0, 0, 0);
        send(msg);
    }

    // Runs the event loop until a message `msgid` from `component` that `accept` takes arrives
    // (those before it are dropped), false after `timeoutMs`.
    bool waitFor(
        std::uint32_t msgid, std::uint8_t component, mavlink_message_t *out,
        const std::function<bool(const mavlink_message_t &)> &accept =
            [](const mavlink_message_t &) { return true; },
        int timeoutMs = 4000)
    {
        QDeadlineTimer deadline(timeoutMs);
        QSignalSpy arrived(&m_port, &QIODevice::readyRead);
        while (true) {
            for (const mavlink_message_t &msg : m_reader.feed(m_port.readAll()))
                m_inbox.push_back(msg);
            while (!m_inbox.empty()) {
                const mavlink_message_t msg = m_inbox.front();
                m_inbox.pop_front();
                if (msg.msgid == msgid && msg.compid == component && accept(msg)) {
                    *out = msg;
                    return true;
                }
            }
            if (deadline.hasExpired() || !arrived.wait(int(deadline.remainingTime())))
                return false;
        }
    }

    // The next status of `component` that `accept` takes.
    bool waitForStatus(Status *status, const std::function<bool(const Status &)> &accept,
                       std::uint8_t component = MAV_COMP_ID_GIMBAL)
    {
        mavlink_message_t msg{};
        const bool got =
            waitFor(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, component, &msg,
                    [&](const mavlink_message_t &m) {
                        return accept(mavlink_msg_gimbal_device_attitude_status_decode(&m));
                    });
        *status = mavlink_msg_gimbal_device_attitude_status_decode(&msg);
        return got;
    }

    bool nextStatus(Status *status, std::uint8_t component = MAV_COMP_ID_GIMBAL)
    {
        return waitForStatus(
            status, [](const Status &) { return true; }, component);
    }

    // True when any byte arrives within `ms`.
    bool hearsAnything(int ms)
    {
        QSignalSpy arrived(&m_port, &QIODevice::readyRead);
        return m_port.bytesAvailable() > 0 || arrived.wait(ms);
    }

private:
    void send(const mavlink_message_t &msg)
    {
        std::uint8_t buf[MAVLINK_MAX_PACKET_LEN];
        const std::uint16_t n = mavlink_msg_to_send_buffer(buf, &msg);
        m_port.write(reinterpret_cast<const char *>(buf), n);
    }

    QSerialPort m_port;
    FrameReader m_reader;
    std::deque<mavlink_message_t> m_inbox;
};

SimulatorOptions v2Options()
{
    SimulatorOptions options;
    options.protocol = SimulatedProtocol::V2;
    options.statusRateHz = 50;
    return options;
}
} // namespace

class TestV2Simulator : public QObject
{
    Q_OBJECT

private slots:
    void silentUntilHeartbeat();
    void ratesTurnWithTheirSigns_data();
    void ratesTurnWithTheirSigns();
    void limitsStopWithTheirFlags_data();
    void limitsStopWithTheirFlags();
    void attitudeDemand_data();
    void attitudeDemand();
    void neutralAndRetract_data();
    void neutralAndRetract();
    void demandsForOthersIgnored();
    void information_data();
    void information();
    void statusExtensions_data();
    void statusExtensions();
    void secondGimbal();
    void failureFlag();
    void silentAgainAfterReplug();
};

void TestV2Simulator::silentUntilHeartbeat()
{
    GimbalSimulator sim(v2Options());
    GroundStation gcs(sim.devicePath());
    QVERIFY(gcs.isOpen());
    QVERIFY(!gcs.hearsAnything(1200));

    gcs.heartbeat();
    mavlink_message_t msg{};
    QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_HEARTBEAT, MAV_COMP_ID_GIMBAL, &msg));
    QCOMPARE(int(msg.sysid), 1);
    const mavlink_heartbeat_t heartbeat = mavlink_msg_heartbeat_decode(&msg);
    QCOMPARE(heartbeat.type, MAV_TYPE_GIMBAL);
    QCOMPARE(heartbeat.autopilot, MAV_AUTOPILOT_INVALID);
    QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, MAV_COMP_ID_GIMBAL, &msg));
    QCOMPARE(sim.heartbeatsReceived(), 1);
}

void TestV2Simulator::ratesTurnWithTheirSigns_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<float>("rate");

    QTest::newRow("x: roll right") << 0 << 0.8f;
    QTest::newRow("y positive: pitch up") << 1 << 0.8f;
    QTest::newRow("y negative: pitch down") << 1 << -0.8f;
    QTest::newRow("z positive: yaw right") << 2 << 0.8f;
    QTest::newRow("z negative: yaw left") << 2 << -0.8f;
}

void TestV2Simulator::ratesTurnWithTheirSigns()
{
    QFETCH(int, axis);
    QFETCH(float, rate);

    GimbalSimulator sim(v2Options());
    GroundStation gcs(sim.devicePath());
    gcs.heartbeat();
    gcs.rateOn(axis, rate);
    const auto angleOf = [axis](const Status &s) { return angleOn(axis, s); };
    Status first{};
    QVERIFY(gcs.waitForStatus(&first, [&](const Status &s) { return angleOf(s) != 0.0f; }));
    Status later{};
    QVERIFY(
        gcs.waitForStatus(&later, [&](const Status &s) { return std::fabs(angleOf(s)) > 0.2f; }));
    QCOMPARE(angleOf(later) > 0, rate > 0);
    // The angle grows by the rate times the time between the statuses.
    const float seconds = float(later.time_boot_ms - first.time_boot_ms) / 1000.0f;
    QVERIFY2(std::fabs(angleOf(later) - angleOf(first) - rate * seconds) < 0.005f,
             qPrintable(QString::number(angleOf(later) - angleOf(first))));
    const float velocity[3] = {later.angular_velocity_x, later.angular_velocity_y,
                               later.angular_velocity_z};
    for (int i = 0; i < 3; ++i)
        QVERIFY(std::fabs(velocity[i] - (i == axis ? rate : 0.0f)) < 1e-3f);

    // Rates of zero hold the gimbal where it is. A heartbeat goes first, numbered in the same
    // sequence as the demands.
    gcs.heartbeat();
    gcs.rates(0, 0, 0);
    Status held{};
    QVERIFY(gcs.waitForStatus(&held, [](const Status &s) {
        return s.angular_velocity_y == 0.0f && s.angular_velocity_z == 0.0f &&
               s.angular_velocity_x == 0.0f;
    }));
    Status next{};
    QVERIFY(gcs.nextStatus(&next));
    QCOMPARE(angleOf(next), angleOf(held));
    // Two demands logged as commands; the heartbeat between them is no gap in the sequence.
    QCOMPARE(sim.commands().commands(), 2);
    QCOMPARE(sim.commands().sequenceGaps(), 0);
    QCOMPARE(sim.v2Tally().rateDemands, 2);
}

void TestV2Simulator::limitsStopWithTheirFlags_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<float>("rate");
    QTest::addColumn<float>("limit");
    QTest::addColumn<int>("flag");

    QTest::newRow("roll right stops at +45 degrees")
        << 0 << 3.0f << 45 * Degree << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_ROLL_LIMIT);
    QTest::newRow("roll left stops at -45 degrees")
        << 0 << -3.0f << -45 * Degree << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_ROLL_LIMIT);
    QTest::newRow("pitch up stops at +30 degrees")
        << 1 << 3.0f << 30 * Degree << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_PITCH_LIMIT);
    QTest::newRow("pitch down stops at -90 degrees")
        << 1 << -3.0f << -90 * Degree << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_PITCH_LIMIT);
    QTest::newRow("yaw left stops at -170 degrees, not round")
        << 2 << -6.0f << -170 * Degree << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_YAW_LIMIT);
}

void TestV2Simulator::limitsStopWithTheirFlags()
{
    QFETCH(int, axis);
    QFETCH(float, rate);
    QFETCH(float, limit);
    QFETCH(int, flag);

    GimbalSimulator sim(v2Options());
    GroundStation gcs(sim.devicePath());
    gcs.heartbeat();
    gcs.rateOn(axis, rate);

    Status status{};
    QVERIFY(gcs.waitForStatus(&status, [](const Status &s) { return s.failure_flags != 0; }));
    QCOMPARE(int(status.failure_flags), flag);
    const float angle = angleOn(axis, status);
    QVERIFY2(std::fabs(angle - limit) < 1e-3f, qPrintable(QString::number(angle / Degree)));
    // Still pushing, it stays there with the flag up; back off and the flag goes.
    QVERIFY(gcs.nextStatus(&status));
    QCOMPARE(int(status.failure_flags), flag);
    gcs.rateOn(axis, -rate);
    QVERIFY(gcs.waitForStatus(&status, [](const Status &s) { return s.failure_flags == 0; }));
}

void TestV2Simulator::attitudeDemand_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QVector<float>>("demanded");
    QTest::addColumn<QVector<float>>("reached");
    QTest::addColumn<int>("failureFlags");

    QTest::newRow("within the limits, yaw following the vehicle")
        << int(Follow) << QVector<float>{0.2f, -0.4f, 1.0f} << QVector<float>{0.2f, -0.4f, 1.0f}
        << 0;
    QTest::newRow("yaw in the earth frame: the vehicle's heading taken off")
        << int(GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK |
               GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME)
        << QVector<float>{0.0f, 0.1f, 1.0f}
        << QVector<float>{0.0f, 0.1f, 1.0f - SimulatedVehicleYaw} << 0;
    QTest::newRow("beyond the pitch limit: clamped there")
        << int(Follow) << QVector<float>{0.0f, 1.2f, -0.5f}
        << QVector<float>{0.0f, 30 * Degree, -0.5f}
        << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_PITCH_LIMIT);
}

void TestV2Simulator::attitudeDemand()
{
    QFETCH(int, flags);
    QFETCH(QVector<float>, demanded);
    QFETCH(QVector<float>, reached);
    QFETCH(int, failureFlags);

    GimbalSimulator sim(v2Options());
    GroundStation gcs(sim.devicePath());
    gcs.heartbeat();
    float q[4];
    mavlink_quaternion_from_euler(demanded[0], demanded[1], demanded[2], q);
    gcs.demand(MAV_COMP_ID_GIMBAL, std::uint16_t(flags), q, NaN, NaN, NaN);

    const auto there = [&](const Status &s) {
        const mavlink_euler_t e = eulerOf(s);
        return std::fabs(e.roll - reached[0]) < 1e-3f && std::fabs(e.pitch - reached[1]) < 1e-3f &&
               std::fabs(e.yaw - reached[2]) < 1e-3f;
    };
    Status status{};
    QVERIFY(gcs.waitForStatus(&status, there));
    QVERIFY(gcs.nextStatus(&status));
    QVERIFY(there(status));
    QCOMPARE(status.angular_velocity_y, 0.0f);
    QCOMPARE(int(status.failure_flags), failureFlags);
    QCOMPARE(sim.v2Tally().attitudeDemands, 1);
}

void TestV2Simulator::neutralAndRetract_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<float>("pitch");

    QTest::newRow("neutral: level and forward") << int(GIMBAL_DEVICE_FLAGS_NEUTRAL) << 0.0f;
    QTest::newRow("retract: straight down, no limit flag")
        << int(GIMBAL_DEVICE_FLAGS_RETRACT) << -90 * Degree;
}

void TestV2Simulator::neutralAndRetract()
{
    QFETCH(int, flag);
    QFETCH(float, pitch);

    GimbalSimulator sim(v2Options());
    GroundStation gcs(sim.devicePath());
    gcs.heartbeat();
    gcs.rates(0.0f, 1.0f, 1.5f);
    Status status{};
    QVERIFY(gcs.waitForStatus(&status, [](const Status &s) { return eulerOf(s).yaw > 0.3f; }));
    QCOMPARE(int(status.flags & flag), 0);

    // Rates beside the flag do not matter.
    const float q[4] = {NaN, NaN, NaN, NaN};
    gcs.demand(MAV_COMP_ID_GIMBAL, std::uint16_t(Follow | flag), q, 0.0f, 1.0f, 1.0f);
    QVERIFY(gcs.waitForStatus(&status, [&](const Status &s) {
        const mavlink_euler_t e = eulerOf(s);
        return std::fabs(e.pitch - pitch) < 1e-3f && std::fabs(e.yaw) < 1e-3f &&
               std::fabs(e.roll) < 1e-3f;
    }));
    QCOMPARE(int(status.flags & flag), flag);
    QCOMPARE(int(status.failure_flags), 0);

    // Rates again leave the pose.
    gcs.rates(0.0f, 0.5f, 0.0f);
    QVERIFY(gcs.waitForStatus(&status, [&](const Status &s) { return !(s.flags & flag); }));
}

void TestV2Simulator::demandsForOthersIgnored()
{
    GimbalSimulator sim(v2Options());
    GroundStation gcs(sim.devicePath());
    gcs.heartbeat();
    gcs.rates(0.0f, 1.0f, 0.0f, MAV_COMP_ID_GIMBAL2);
    const float q[4] = {NaN, NaN, NaN, NaN};
    gcs.demand(MAV_COMP_ID_GIMBAL, Follow, q, 0.0f, 1.0f, 0.0f, 2);
    gcs.demand(MAV_COMP_ID_GIMBAL, Follow, q, 0.0f, 1.0f, 0.0f, 0);
    for (int i = 0; i < 10; ++i) {
        Status status{};
        QVERIFY(gcs.nextStatus(&status));
        QCOMPARE(eulerOf(status).pitch, 0.0f);
    }
    QCOMPARE(sim.v2Tally().rateDemands, 0);
    QCOMPARE(sim.commands().commands(), 0);
}

void TestV2Simulator::information_data()
{
    QTest::addColumn<bool>("answers");
    QTest::newRow("answered with an ack and the information") << true;
    QTest::newRow("--no-info: never answered") << false;
}

void TestV2Simulator::information()
{
    QFETCH(bool, answers);

    SimulatorOptions options = v2Options();
    options.answerInformation = answers;
    GimbalSimulator sim(options);
    GroundStation gcs(sim.devicePath());
    gcs.heartbeat();
    gcs.requestInformation(MAV_COMP_ID_GIMBAL);

    mavlink_message_t msg{};
    if (!answers) {
        QVERIFY(!gcs.waitFor(MAVLINK_MSG_ID_COMMAND_ACK, MAV_COMP_ID_GIMBAL, &msg, {}, 1500));
        QVERIFY(
            gcs.waitFor(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, MAV_COMP_ID_GIMBAL, &msg));
        QCOMPARE(sim.v2Tally().informationRequests, 1);
        return;
    }
    QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_COMMAND_ACK, MAV_COMP_ID_GIMBAL, &msg));
    const mavlink_command_ack_t ack = mavlink_msg_command_ack_decode(&msg);
    QCOMPARE(ack.command, MAV_CMD_REQUEST_MESSAGE);
    QCOMPARE(ack.result, std::uint8_t(MAV_RESULT_ACCEPTED));
    QCOMPARE(int(ack.target_system), 255);
    QCOMPARE(int(ack.target_component), 190);

    QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION, MAV_COMP_ID_GIMBAL, &msg));
    const mavlink_gimbal_device_information_t info =
        mavlink_msg_gimbal_device_information_decode(&msg);
    QVERIFY(qstrlen(info.vendor_name) > 0);
    QVERIFY(qstrlen(info.model_name) > 0);
    QVERIFY(info.firmware_version != 0);
    const std::uint32_t wanted =
        GIMBAL_DEVICE_CAP_FLAGS_HAS_RETRACT | GIMBAL_DEVICE_CAP_FLAGS_HAS_NEUTRAL |
        GIMBAL_DEVICE_CAP_FLAGS_HAS_ROLL_AXIS | GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_AXIS |
        GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_AXIS | GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_FOLLOW |
        GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_LOCK | GIMBAL_DEVICE_CAP_FLAGS_SUPPORTS_YAW_IN_EARTH_FRAME;
    QCOMPARE(info.cap_flags & wanted, wanted);
    QCOMPARE(info.cap_flags2 & 0xFFFF, std::uint32_t(info.cap_flags));
    QVERIFY(!(info.cap_flags & GIMBAL_DEVICE_CAP_FLAGS_SUPPORTS_INFINITE_YAW));
    // The limits it reports are those it stops at.
    QCOMPARE(info.pitch_max, 30 * Degree);
    QCOMPARE(info.pitch_min, -90 * Degree);
    QCOMPARE(info.roll_max, 45 * Degree);
    QCOMPARE(info.yaw_min, -170 * Degree);
}

void TestV2Simulator::statusExtensions_data()
{
    QTest::addColumn<bool>("truncate");
    QTest::addColumn<bool>("earth");
    QTest::addColumn<float>("deltaYaw");
    QTest::addColumn<float>("yaw");
    QTest::addColumn<int>("frameFlag");

    QTest::newRow("vehicle frame with the vehicle's heading in delta_yaw")
        << false << false << SimulatedVehicleYaw << 0.0f
        << int(GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME);
    QTest::newRow("earth frame: q turned by delta_yaw")
        << false << true << SimulatedVehicleYaw << SimulatedVehicleYaw
        << int(GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME);
    QTest::newRow("truncated: base fields only, extensions read as zero")
        << true << false << 0.0f << 0.0f << int(GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME);
}

void TestV2Simulator::statusExtensions()
{
    QFETCH(bool, truncate);
    QFETCH(bool, earth);
    QFETCH(float, deltaYaw);
    QFETCH(float, yaw);
    QFETCH(int, frameFlag);

    SimulatorOptions options = v2Options();
    options.truncateExtensions = truncate;
    options.earthFrame = earth;
    GimbalSimulator sim(options);
    GroundStation gcs(sim.devicePath());
    gcs.heartbeat();
    mavlink_message_t msg{};
    QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, MAV_COMP_ID_GIMBAL, &msg));
    QCOMPARE(msg.len <= MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS_MIN_LEN, truncate);
    const Status status = mavlink_msg_gimbal_device_attitude_status_decode(&msg);
    QCOMPARE(status.delta_yaw, deltaYaw);
    QVERIFY(std::fabs(eulerOf(status).yaw - yaw) < 1e-6f);
    QCOMPARE(int(status.flags & (GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME |
                                 GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME)),
             frameFlag);
    QVERIFY(status.flags & GIMBAL_DEVICE_FLAGS_ACCEPTS_YAW_IN_EARTH_FRAME);
}

void TestV2Simulator::secondGimbal()
{
    SimulatorOptions options = v2Options();
    options.secondGimbal = true;
    GimbalSimulator sim(options);
    GroundStation gcs(sim.devicePath());
    gcs.heartbeat();
    mavlink_message_t msg{};
    QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_HEARTBEAT, MAV_COMP_ID_GIMBAL2, &msg));
    QCOMPARE(mavlink_msg_heartbeat_decode(&msg).type, MAV_TYPE_GIMBAL);

    gcs.rates(0.0f, -1.0f, 0.0f, MAV_COMP_ID_GIMBAL2);
    Status second{};
    QVERIFY(gcs.waitForStatus(
        &second, [](const Status &s) { return eulerOf(s).pitch < -0.2f; }, MAV_COMP_ID_GIMBAL2));
    Status first{};
    QVERIFY(gcs.nextStatus(&first));
    QCOMPARE(eulerOf(first).pitch, 0.0f);

    gcs.requestInformation(MAV_COMP_ID_GIMBAL2);
    QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION, MAV_COMP_ID_GIMBAL2, &msg));
    const auto info = mavlink_msg_gimbal_device_information_decode(&msg);
    QVERIFY(!(info.cap_flags & GIMBAL_DEVICE_CAP_FLAGS_HAS_ROLL_AXIS));
    QVERIFY(!(info.cap_flags & GIMBAL_DEVICE_CAP_FLAGS_HAS_RETRACT));
    QVERIFY(info.cap_flags & GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_AXIS);
}

void TestV2Simulator::failureFlag()
{
    SimulatorOptions options = v2Options();
    options.failureFlags = options.failureToggle = GIMBAL_DEVICE_ERROR_FLAGS_ENCODER_ERROR;
    GimbalSimulator sim(options);
    GroundStation gcs(sim.devicePath());
    gcs.heartbeat();
    Status status{};
    QVERIFY(gcs.nextStatus(&status));
    QCOMPARE(status.failure_flags, std::uint32_t(GIMBAL_DEVICE_ERROR_FLAGS_ENCODER_ERROR));
    sim.toggleFailure();
    QVERIFY(gcs.waitForStatus(&status, [](const Status &s) { return s.failure_flags == 0; }));
    sim.toggleFailure();
    QVERIFY(gcs.waitForStatus(&status, [](const Status &s) { return s.failure_flags != 0; }));
    QCOMPARE(status.failure_flags, std::uint32_t(GIMBAL_DEVICE_ERROR_FLAGS_ENCODER_ERROR));
}

void TestV2Simulator::silentAgainAfterReplug()
{
    GimbalSimulator sim(v2Options());
    {
        GroundStation gcs(sim.devicePath());
        gcs.heartbeat();
        Status status{};
        QVERIFY(gcs.nextStatus(&status));
    }
    sim.unplug();
    sim.replug();
    GroundStation gcs(sim.devicePath());
    QVERIFY(gcs.isOpen());
    QVERIFY(!gcs.hearsAnything(600));
    gcs.heartbeat();
    Status status{};
    QVERIFY(gcs.nextStatus(&status));
}

QTEST_GUILESS_MAIN(TestV2Simulator)
#include "tst_v2simulator.moc"
