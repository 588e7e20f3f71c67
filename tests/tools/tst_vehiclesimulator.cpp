// The simulator as a vehicle (--autopilot), as the tool meets it on the simulator's
// pseudo-terminal: an autopilot whose gimbal manager gives control of its gimbal, follows the
// controller's set points only, and shows its gimbal's attitude the PX4 way or the ArduPilot way.
#include "gimbalsimulator.h"
#include "groundstation.h"

#include <command.h>
#include <gimbal_manager.h>
#include <messages.h>
#include <quaternion.h>

#include <QElapsedTimer>
#include <QtTest>

#include <array>
#include <limits>

namespace {
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
// The panel beside the operator's ground station (255/190), which the manager tells apart.
constexpr ControlIds Panel{245, 190};
using Status = mavlink_gimbal_device_attitude_status_t;

SimulatorOptions vehicle(SimulatedAutopilot autopilot)
{
    SimulatorOptions options;
    options.protocol = SimulatedProtocol::V2;
    options.statusRateHz = 50;
    options.vehicle.autopilot = autopilot;
    return options;
}

// COMMAND_LONG `id` to the autopilot; the result of the COMMAND_ACK to it, -1 for none.
int command(GroundStation &gcs, ControlIds from, std::uint16_t id, const std::array<float, 7> &p)
{
    mavlink_message_t msg{};
    mavlink_msg_command_long_pack(from.sysid, from.compid, &msg, 1, 1, id, 0, p[0], p[1], p[2],
                                  p[3], p[4], p[5], p[6]);
    gcs.send(msg);
    if (!gcs.waitFor(MAVLINK_MSG_ID_COMMAND_ACK, &msg, [&](const mavlink_message_t &m) {
            return mavlink_msg_command_ack_decode(&m).command == id;
        }))
        return -1;
    return mavlink_msg_command_ack_decode(&msg).result;
}

// Primary control as `sysid` and `compid` say, secondary unchanged.
int configure(GroundStation &gcs, ControlIds from, float sysid, float compid, float gimbal = 0)
{
    return command(gcs, from, MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE,
                   {sysid, compid, -1, -1, 0, 0, gimbal});
}

// "sysid/compid" of the primary controller in the next GIMBAL_MANAGER_STATUS of `gimbal`.
QString nextPrimary(GroundStation &gcs, int gimbal = MAV_COMP_ID_GIMBAL)
{
    mavlink_message_t msg{};
    if (!gcs.waitFor(MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS, &msg, [&](const mavlink_message_t &m) {
            return mavlink_msg_gimbal_manager_status_decode(&m).gimbal_device_id == gimbal;
        }))
        return QStringLiteral("no status");
    const auto status = mavlink_msg_gimbal_manager_status_decode(&msg);
    return QStringLiteral("%1/%2")
        .arg(status.primary_control_sysid)
        .arg(status.primary_control_compid);
}

// GIMBAL_MANAGER_SET_PITCHYAW: a pitch rate, rad/s, the angles unset.
void pitchRate(GroundStation &gcs, float rate)
{
    mavlink_message_t msg{};
    mavlink_msg_gimbal_manager_set_pitchyaw_pack(Panel.sysid, Panel.compid, &msg, 1, 1, 0, 0, NaN,
                                                 NaN, rate, NaN);
    gcs.send(msg);
}

} // namespace

class TestVehicleSimulator : public QObject
{
    Q_OBJECT

private slots:
    void vehicleOnTheLink_data();
    void vehicleOnTheLink();
    void control_data();
    void control();
    void steerUntilTheStreamStops();
};

void TestVehicleSimulator::vehicleOnTheLink_data()
{
    // The autopilot in the HEARTBEAT: PX4 or ArduPilot.
    QTest::addColumn<int>("autopilot");
    // The manager's gimbal_device_id of each gimbal.
    QTest::addColumn<QVector<int>>("ids");
    // Each attitude status as "sender component/gimbal_device_id".
    QTest::addColumn<QStringList>("statuses");

    QTest::newRow("PX4: the gimbals' own 1/154 and 1/171 send their statuses, named 154 and 171")
        << 12 << QVector<int>{154, 171} << QStringList{"154/0", "171/0"};
    QTest::newRow("ArduPilot: both statuses from the autopilot 1/1, told apart by ids 1 and 2")
        << 3 << QVector<int>{1, 2} << QStringList{"1/1", "1/2"};
}

void TestVehicleSimulator::vehicleOnTheLink()
{
    QFETCH(int, autopilot);
    QFETCH(QVector<int>, ids);
    QFETCH(QStringList, statuses);

    SimulatorOptions options = vehicle(
        autopilot == MAV_AUTOPILOT_PX4 ? SimulatedAutopilot::Px4 : SimulatedAutopilot::ArduPilot);
    options.secondGimbal = true;
    GimbalSimulator sim(options);
    GroundStation gcs(sim.devicePath());
    mavlink_message_t msg{};
    QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_HEARTBEAT, &msg, [&](const mavlink_message_t &m) {
        const auto heartbeat = mavlink_msg_heartbeat_decode(&m);
        return m.compid == 1 && heartbeat.type == MAV_TYPE_QUADROTOR &&
               heartbeat.autopilot == autopilot;
    }));

    QCOMPARE(command(gcs, Panel, MAV_CMD_REQUEST_MESSAGE,
                     {float(MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION), 0, 0, 0, 0, 0, 0}),
             int(MAV_RESULT_ACCEPTED));
    for (int i = 0; i < ids.size(); ++i) {
        QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION, &msg));
        const auto info = mavlink_msg_gimbal_manager_information_decode(&msg);
        const V2DeviceProfile device = i == 0 ? threeAxisGimbal() : twoAxisGimbal();
        QCOMPARE(int(info.gimbal_device_id), ids[i]);
        // The device's abilities and, the manager's own, pointing at a place.
        QCOMPARE(info.cap_flags, device.capFlags |
                                     GIMBAL_DEVICE_CAP_FLAGS_CAN_POINT_LOCATION_LOCAL |
                                     GIMBAL_DEVICE_CAP_FLAGS_CAN_POINT_LOCATION_GLOBAL);
    }
    // Every sender and id among the next 20 statuses.
    QStringList seen;
    int count = 0;
    QVERIFY(gcs.waitFor(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, &msg,
                        [&](const mavlink_message_t &m) {
                            const auto s = mavlink_msg_gimbal_device_attitude_status_decode(&m);
                            seen << QStringLiteral("%1/%2").arg(m.compid).arg(s.gimbal_device_id);
                            return ++count == 20;
                        }));
    seen.removeDuplicates();
    seen.sort();
    QCOMPARE(seen, statuses);
}

void TestVehicleSimulator::control_data()
{
    // Without it, the panel takes control first.
    QTest::addColumn<bool>("keepControl");
    // When another station (255/190) takes control, ms after the start; -1 never.
    QTest::addColumn<int>("otherGcs");
    // The configure command's sender (sysid; component 190), and its param1, param2 and param7.
    QTest::addColumn<int>("from");
    QTest::addColumn<QVector<float>>("params");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("primary");

    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("-2 for gimbal 154 from another station: it takes over")
        << false << -1 << 255 << QVector<float>{-2, -2, 154} << 0 << "255/190";
    QTest::newRow("-3 from the controller: nobody in control")
        << false << -1 << 245 << QVector<float>{-3, -3, 0} << 0 << "0/0";
    QTest::newRow("-3 from a station not in control: control stays")
        << false << -1 << 255 << QVector<float>{-3, -3, 0} << 0 << "245/190";
    QTest::newRow("--keep-control: takeover temporarily rejected, the autopilot keeps it")
        << true << -1 << 245 << QVector<float>{-2, -2, 0} << 1 << "1/1";
    QTest::newRow("--other-gcs: the other station takes control from the panel")
        << false << 1000 << 245 << QVector<float>{-1, -1, 0} << 0 << "255/190";
    QTest::newRow("NaN and infinite ids: denied, control unchanged")
        << false << -1 << 255 << QVector<float>{NaN, inf, 0} << 2 << "245/190";
    QTest::newRow("unknown gimbal 77: denied")
        << false << -1 << 255 << QVector<float>{-2, -2, 77} << 2 << "245/190";
}

void TestVehicleSimulator::control()
{
    QFETCH(bool, keepControl);
    QFETCH(int, otherGcs);
    QFETCH(int, from);
    QFETCH(QVector<float>, params);
    QFETCH(int, result);
    QFETCH(QString, primary);

    SimulatorOptions options = vehicle(SimulatedAutopilot::Px4);
    options.vehicle.keepControl = keepControl;
    options.vehicle.otherGcsAfterMs = otherGcs;
    GimbalSimulator sim(options);
    GroundStation gcs(sim.devicePath());
    if (!keepControl)
        QCOMPARE(configure(gcs, Panel, -2, -2), int(MAV_RESULT_ACCEPTED));
    QCOMPARE(configure(gcs, {std::uint8_t(from), 190}, params[0], params[1], params[2]), result);
    QTRY_COMPARE_WITH_TIMEOUT(nextPrimary(gcs), primary, 4000);
    QCOMPARE(sim.manager()->tally().configureRefused, result == MAV_RESULT_ACCEPTED ? 0 : 1);
    // A move from the panel is followed only while it has control.
    QCOMPARE(command(gcs, Panel, MAV_CMD_DO_GIMBAL_MANAGER_PITCHYAW, {20, NaN, NaN, NaN, 0, 0, 0}),
             int(primary == "245/190" ? MAV_RESULT_ACCEPTED : MAV_RESULT_TEMPORARILY_REJECTED));
}

// The panel in control steers with a stream of rates; when the stream stops, the gimbal stops a
// second later; a device message from the ground moves nothing.
void TestVehicleSimulator::steerUntilTheStreamStops()
{
    GimbalSimulator sim(vehicle(SimulatedAutopilot::Px4));
    GroundStation gcs(sim.devicePath());
    QCOMPARE(configure(gcs, Panel, -2, -2), int(MAV_RESULT_ACCEPTED));
    QElapsedTimer sinceLast;
    Status status{};
    do {
        pitchRate(gcs, 0.2f);
        sinceLast.start();
    } while (gcs.waitForStatus(&status, [](const Status &) { return true; }) &&
             mavlink_euler_from_quaternion(status.q).pitch < 0.1f);

    QVERIFY(gcs.waitForStatus(&status, [](const Status &s) { return s.angular_velocity_y == 0; }));
    QVERIFY2(sinceLast.elapsed() >= ManagedGimbal::RateTimeoutMs,
             qPrintable(QString::number(sinceLast.elapsed())));
    QCOMPARE(sim.manager()->tally().rateTimeouts, 1);

    const float stopped = mavlink_euler_from_quaternion(status.q).pitch;
    gcs.rateOn(1, 1.0f);
    QTRY_COMPARE(sim.manager()->tally().deviceMessagesFromGround, 1);
    int count = 0;
    QVERIFY(gcs.waitForStatus(&status, [&](const Status &) { return ++count == 5; }));
    QCOMPARE(mavlink_euler_from_quaternion(status.q).pitch, stopped);
}

QTEST_GUILESS_MAIN(TestVehicleSimulator)
#include "tst_vehiclesimulator.moc"
