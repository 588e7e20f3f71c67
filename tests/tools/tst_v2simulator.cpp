// The simulator as a gimbal protocol v2 device, as the tool's own tests rely on it: a ground
// station opens its pseudo-terminal as a serial port and talks to it in frames.
#include "gimbalsimulator.h"
#include "groundstation.h"

#include <command.h>
#include <gimbal_v2.h>
#include <messages.h>
#include <quaternion.h>

#include <QtTest>

#include <cmath>

namespace {
constexpr float Degree = 0.017453292f;

using Status = mavlink_gimbal_device_attitude_status_t;

// Axis 0 roll, 1 pitch, 2 yaw.
float angleOn(int axis, const Status &status)
{
    const mavlink_euler_t e = mavlink_euler_from_quaternion(status.q);
    return axis == 0 ? e.roll : axis == 1 ? e.pitch : e.yaw;
}

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
    void silentUntilHeartbeat_data();
    void silentUntilHeartbeat();
    void ratesTurnAndStopAtLimits_data();
    void ratesTurnAndStopAtLimits();
    void information_data();
    void information();
};

void TestV2Simulator::silentUntilHeartbeat_data()
{
    QTest::addColumn<bool>("truncate");
    QTest::addColumn<float>("deltaYaw");

    QTest::newRow("full status: the vehicle's heading in delta_yaw")
        << false << SimulatedVehicleYaw;
    QTest::newRow("truncated status: extensions read as zero") << true << 0.0f;
}

void TestV2Simulator::silentUntilHeartbeat()
{
    QFETCH(bool, truncate);
    QFETCH(float, deltaYaw);

    SimulatorOptions options = v2Options();
    options.truncateExtensions = truncate;
    GimbalSimulator sim(options);
    GroundStation gcs(sim.devicePath());
    QVERIFY(gcs.isOpen());
    QVERIFY(!gcs.hearsAnything(1200));

    gcs.heartbeat();
    mavlink_message_t msg{};
    QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_HEARTBEAT, &msg));
    QCOMPARE(int(msg.sysid), 1);
    QCOMPARE(mavlink_msg_heartbeat_decode(&msg).type, MAV_TYPE_GIMBAL);
    // A stream of statuses, each decoded whole whatever its sender cut off.
    for (int i = 0; i < 3; ++i) {
        QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, &msg));
        QCOMPARE(msg.len <= MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS_MIN_LEN, truncate);
        const Status status = mavlink_msg_gimbal_device_attitude_status_decode(&msg);
        QCOMPARE(status.q[0], 1.0f);
        QCOMPARE(status.delta_yaw, deltaYaw);
        QVERIFY(status.flags & GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME);
    }
    QCOMPARE(sim.heartbeatsReceived(), 1);
}

void TestV2Simulator::ratesTurnAndStopAtLimits_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<float>("rate");
    QTest::addColumn<float>("limit");
    QTest::addColumn<int>("flag");

    QTest::newRow("x positive: roll right, stops at +45 degrees")
        << 0 << 3.0f << 45 * Degree << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_ROLL_LIMIT);
    QTest::newRow("x negative: roll left, stops at -45 degrees")
        << 0 << -3.0f << -45 * Degree << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_ROLL_LIMIT);
    QTest::newRow("y positive: pitch up, stops at +30 degrees")
        << 1 << 3.0f << 30 * Degree << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_PITCH_LIMIT);
    QTest::newRow("y negative: pitch down, stops at -90 degrees")
        << 1 << -3.0f << -90 * Degree << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_PITCH_LIMIT);
    QTest::newRow("z positive: yaw right, stops at +170 degrees")
        << 2 << 6.0f << 170 * Degree << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_YAW_LIMIT);
    QTest::newRow("z negative: yaw left, stops at -170 degrees, not round")
        << 2 << -6.0f << -170 * Degree << int(GIMBAL_DEVICE_ERROR_FLAGS_AT_YAW_LIMIT);
}

void TestV2Simulator::ratesTurnAndStopAtLimits()
{
    QFETCH(int, axis);
    QFETCH(float, rate);
    QFETCH(float, limit);
    QFETCH(int, flag);

    GimbalSimulator sim(v2Options());
    GroundStation gcs(sim.devicePath());
    gcs.heartbeat();
    gcs.rateOn(axis, rate);
    Status first{};
    QVERIFY(gcs.waitForStatus(&first, [&](const Status &s) { return angleOn(axis, s) != 0.0f; }));
    Status later{};
    QVERIFY(gcs.waitForStatus(&later, [&](const Status &s) {
        return std::fabs(angleOn(axis, s)) > std::fabs(angleOn(axis, first)) + 0.1f;
    }));
    QCOMPARE(angleOn(axis, later) > 0, rate > 0);
    // The angle grows by the rate times the time between the statuses (a few ms either way).
    const float seconds = float(later.time_boot_ms - first.time_boot_ms) / 1000.0f;
    const float turned = angleOn(axis, later) - angleOn(axis, first);
    QVERIFY2(std::fabs(turned - rate * seconds) < std::fabs(rate) * 0.006f,
             qPrintable(QString::number(turned)));
    const float velocity[3] = {later.angular_velocity_x, later.angular_velocity_y,
                               later.angular_velocity_z};
    for (int i = 0; i < 3; ++i)
        QVERIFY(std::fabs(velocity[i] - (i == axis ? rate : 0.0f)) < 1e-3f);

    Status status{};
    QVERIFY(gcs.waitForStatus(&status, [](const Status &s) { return s.failure_flags != 0; }));
    QCOMPARE(int(status.failure_flags), flag);
    QVERIFY2(std::fabs(angleOn(axis, status) - limit) < 1e-3f,
             qPrintable(QString::number(angleOn(axis, status) / Degree)));
    // Still pushing, it stays there with the flag up; back off and the flag goes.
    QVERIFY(gcs.waitForStatus(&status, [](const Status &) { return true; }));
    QCOMPARE(int(status.failure_flags), flag);
    gcs.rateOn(axis, -rate);
    QVERIFY(gcs.waitForStatus(&status, [](const Status &s) { return s.failure_flags == 0; }));
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
    gcs.requestInformation();

    mavlink_message_t msg{};
    QCOMPARE(gcs.waitFor(MAVLINK_MSG_ID_COMMAND_ACK, &msg, {}, answers ? 4000 : 1500), answers);
    QCOMPARE(sim.v2Tally().informationRequests, 1);
    if (!answers)
        return;
    const mavlink_command_ack_t ack = mavlink_msg_command_ack_decode(&msg);
    QCOMPARE(ack.command, MAV_CMD_REQUEST_MESSAGE);
    QCOMPARE(ack.result, std::uint8_t(MAV_RESULT_ACCEPTED));
    QCOMPARE(int(ack.target_system), 255);
    QCOMPARE(int(ack.target_component), 190);

    QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION, &msg));
    const auto info = mavlink_msg_gimbal_device_information_decode(&msg);
    QVERIFY(qstrlen(info.model_name) > 0);
    // The limits it reports are those it stops at.
    QCOMPARE(info.pitch_max, 30 * Degree);
    QCOMPARE(info.pitch_min, -90 * Degree);
    QCOMPARE(info.roll_max, 45 * Degree);
    QCOMPARE(info.yaw_min, -170 * Degree);
}

QTEST_GUILESS_MAIN(TestV2Simulator)
#include "tst_v2simulator.moc"
