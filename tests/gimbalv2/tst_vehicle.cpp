// A vehicle at the far end of a pseudo-terminal, played by the test: how the tool tells a gimbal
// reached through an autopilot's gimbal manager from one it drives directly (a table of vehicles),
// and, on the wire, that a managed gimbal never gets a device message, that control is taken and
// given back with one CONFIGURE each, set points flow only while this panel holds control, and a
// handover to another ground station stops them.
#include "framewriter.h"
#include "gimbalv2link.h"
#include "messagewait.h"
#include "pseudoterminal.h"
#include "ravik.h"
#include "recorder.h"

#include <command.h>
#include <gimbal_manager.h>
#include <gimbal_v2.h>
#include <messages.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {
constexpr float QuarterTurn = 1.5707964f;

QByteArray heartbeat(FrameWriter &writer, std::uint8_t autopilot, std::uint8_t type)
{
    mavlink_heartbeat_t h{};
    h.autopilot = autopilot;
    h.type = type;
    return writer.frame(MAVLINK_MSG_ID_HEARTBEAT, h);
}

QByteArray status(FrameWriter &writer, std::uint8_t deviceId)
{
    mavlink_gimbal_device_attitude_status_t s{};
    s.q[0] = 1.0f;
    s.gimbal_device_id = deviceId;
    return writer.frame(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, s);
}

QByteArray managerInformation(FrameWriter &writer, std::uint8_t deviceId)
{
    mavlink_gimbal_manager_information_t i{};
    i.gimbal_device_id = deviceId;
    i.cap_flags = GIMBAL_DEVICE_CAP_FLAGS_HAS_NEUTRAL | GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_AXIS;
    i.pitch_min = -1.5f;
    i.pitch_max = 0.5f;
    return writer.frame(MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION, i);
}

QByteArray managerStatus(FrameWriter &writer, std::uint8_t deviceId, std::uint8_t system,
                         std::uint8_t component)
{
    mavlink_gimbal_manager_status_t s{};
    s.gimbal_device_id = deviceId;
    s.primary_control_sysid = system;
    s.primary_control_compid = component;
    return writer.frame(MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS, s);
}

bool isCommand(const mavlink_message_t &msg, std::uint16_t command)
{
    return msg.msgid == MAVLINK_MSG_ID_COMMAND_LONG &&
           mavlink_msg_command_long_decode(&msg).command == command;
}

// The vehicle on the port that the controller opened.
struct Vehicle
{
    Vehicle() { ravik.switchSerial(pty.devicePath(), QStringLiteral("115200")); }

    PseudoTerminal pty;
    Ravik ravik;
    GimbalV2Link link{ravik, {}};
    MessageWait wait{pty};
    FrameWriter autopilot{2, 1, MAV_COMP_ID_AUTOPILOT1};
    FrameWriter device{2, 1, MAV_COMP_ID_GIMBAL};
};
} // namespace

class TestVehicle : public QObject
{
    Q_OBJECT

private slots:
    void recognition_data();
    void recognition();
    void controlOnTheWire();
};

void TestVehicle::recognition_data()
{
    QTest::addColumn<int>("autopilot");
    // The gimbal_device_id of the statuses, and of the manager's answers (0: no manager).
    QTest::addColumn<bool>("forwarded");
    QTest::addColumn<QList<int>>("managed");
    QTest::addColumn<int>("path");
    QTest::addColumn<QString>("label");

    using L = QList<int>;
    QTest::newRow("a gimbal device alone is driven directly")
        << -1 << false << L{} << int(V2Devices::Direct) << "1/154 · direct";
    QTest::newRow("PX4: the device speaks, the manager answers for it")
        << int(MAV_AUTOPILOT_PX4) << false << L{154} << int(V2Devices::Managed)
        << "1/154 · via autopilot 1/1 (PX4)";
    QTest::newRow("ArduPilot: the autopilot forwards its gimbal's status from its own id")
        << int(MAV_AUTOPILOT_ARDUPILOTMEGA) << true << L{1} << int(V2Devices::Managed)
        << "1/1#1 · via autopilot 1/1 (ArduPilot)";
    QTest::newRow("an autopilot that has not answered yet: nothing is driven")
        << int(MAV_AUTOPILOT_PX4) << false << L{} << int(V2Devices::Pending)
        << "1/154 · waiting for the autopilot's answer";
    QTest::newRow("two gimbals through one manager")
        << int(MAV_AUTOPILOT_PX4) << false << L{154, 171} << int(V2Devices::Managed)
        << "1/171 · via autopilot 1/1 (PX4)";
}

void TestVehicle::recognition()
{
    QFETCH(int, autopilot);
    QFETCH(bool, forwarded);
    QFETCH(QList<int>, managed);
    QFETCH(int, path);
    QFETCH(QString, label);

    Vehicle vehicle;
    QVERIFY(vehicle.ravik.serialIsOpen());
    std::vector<mavlink_message_t> seen;
    if (autopilot >= 0) {
        vehicle.pty.write(
            heartbeat(vehicle.autopilot, std::uint8_t(autopilot), MAV_TYPE_QUADROTOR));
        // Asked for its manager's information; the answers, one per gimbal.
        const auto request = vehicle.wait.waitFor(
            [](const mavlink_message_t &msg) { return isCommand(msg, MAV_CMD_REQUEST_MESSAGE); }, 1,
            2000, &seen);
        QCOMPARE(request.size(), std::size_t(1));
        QCOMPARE(mavlink_msg_command_long_decode(&request.front()).param1,
                 float(MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION));
        QCOMPARE(int(request.front().sysid), 245);
        for (int deviceId : managed)
            vehicle.pty.write(managerInformation(vehicle.autopilot, std::uint8_t(deviceId)));
    }
    vehicle.pty.write(forwarded ? status(vehicle.autopilot, 1) : status(vehicle.device, 0));
    const V2Devices *devices = vehicle.link.devices();
    QTRY_COMPARE(devices->labels().size(), std::max(1, int(managed.size())));

    // A held stick for well over the two seconds the link waits for an autopilot's heartbeat.
    vehicle.ravik.setJoystick(0.0f, 1.0f, 0.0f);
    vehicle.wait.waitFor([](const mavlink_message_t &) { return false; }, 1, 2500, &seen);
    QCOMPARE(int(devices->chosenPath()), path);
    QCOMPARE(devices->labels().last(), label);
    const auto sent = [&seen](std::uint32_t msgid) {
        return std::count_if(seen.begin(), seen.end(),
                             [msgid](const mavlink_message_t &msg) { return msg.msgid == msgid; });
    };
    const bool direct = path == int(V2Devices::Direct);
    QCOMPARE(sent(MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE) > 0, direct);
    QCOMPARE(sent(MAVLINK_MSG_ID_HEARTBEAT) > 0, direct);
    QCOMPARE(sent(MAVLINK_MSG_ID_GIMBAL_CONTROL), 0);
}

void TestVehicle::controlOnTheWire()
{
    Vehicle vehicle;
    QTemporaryDir folder;
    Recorder recorder(vehicle.ravik.session(), nullptr);
    recorder.startTo(folder.filePath(QStringLiteral("vehicle.csv")));
    vehicle.pty.write(heartbeat(vehicle.autopilot, MAV_AUTOPILOT_PX4, MAV_TYPE_QUADROTOR));
    QCOMPARE(vehicle.wait
                 .waitFor([](const mavlink_message_t &msg) {
                     return isCommand(msg, MAV_CMD_REQUEST_MESSAGE);
                 })
                 .size(),
             std::size_t(1));
    vehicle.pty.write(managerInformation(vehicle.autopilot, MAV_COMP_ID_GIMBAL) +
                      status(vehicle.device, 0) +
                      managerStatus(vehicle.autopilot, MAV_COMP_ID_GIMBAL, 0, 0));
    ManagerControl *control = vehicle.link.managerControl();
    QTRY_COMPARE(control->holder(), ManagerControl::Nobody);

    // Without control a held stick sends nothing.
    vehicle.ravik.setJoystick(0.0f, 1.0f, 0.0f);
    std::vector<mavlink_message_t> seen;
    vehicle.wait.skip();
    vehicle.wait.waitFor([](const mavlink_message_t &) { return false; }, 1, 300, &seen);
    QVERIFY(std::none_of(seen.begin(), seen.end(), [](const mavlink_message_t &msg) {
        return msg.msgid == MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW;
    }));

    // Taken with one CONFIGURE under the panel's vehicle ids.
    control->takeControl();
    const auto configure = vehicle.wait.waitFor([](const mavlink_message_t &msg) {
        return isCommand(msg, MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE);
    });
    QCOMPARE(configure.size(), std::size_t(1));
    const mavlink_command_long_t take = mavlink_msg_command_long_decode(&configure.front());
    QCOMPARE(take.param1, 245.0f);
    QCOMPARE(take.param2, 190.0f);
    QCOMPARE(take.param7, float(MAV_COMP_ID_GIMBAL));
    vehicle.pty.write(managerStatus(vehicle.autopilot, MAV_COMP_ID_GIMBAL, 245, 190));
    QTRY_VERIFY(control->inControl());

    // The held stick's pitch rate, angles unset, to the manager for the device.
    const auto setPoints = vehicle.wait.waitFor(
        [](const mavlink_message_t &msg) {
            return msg.msgid == MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW;
        },
        3);
    QCOMPARE(setPoints.size(), std::size_t(3));
    const auto point = mavlink_msg_gimbal_manager_set_pitchyaw_decode(&setPoints.back());
    QCOMPARE(point.pitch_rate, QuarterTurn);
    QCOMPARE(point.yaw_rate, 0.0f);
    QVERIFY(std::isnan(point.pitch) && std::isnan(point.yaw));
    QCOMPARE(int(point.target_component), int(MAV_COMP_ID_AUTOPILOT1));
    QCOMPARE(int(point.gimbal_device_id), int(MAV_COMP_ID_GIMBAL));
    // Let go: zero rates on the next set point.
    vehicle.ravik.setJoystick(0.0f, 0.0f, 0.0f);
    vehicle.wait.skip();
    const auto zero = vehicle.wait.waitFor([](const mavlink_message_t &msg) {
        return msg.msgid == MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW;
    });
    QCOMPARE(mavlink_msg_gimbal_manager_set_pitchyaw_decode(&zero.front()).pitch_rate, 0.0f);

    // Another ground station takes over: the window says who, and the set points stop.
    vehicle.pty.write(managerStatus(vehicle.autopilot, MAV_COMP_ID_GIMBAL, 255, 190));
    QTRY_COMPARE(control->holder(), ManagerControl::OtherGroundStation);
    QCOMPARE(control->holderSystem(), 255);
    vehicle.ravik.setJoystick(0.0f, 1.0f, 0.0f);
    vehicle.wait.skip();
    seen.clear();
    vehicle.wait.waitFor([](const mavlink_message_t &) { return false; }, 1, 300, &seen);
    QVERIFY(std::none_of(seen.begin(), seen.end(), [](const mavlink_message_t &msg) {
        return msg.msgid == MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW;
    }));

    // Taken back, refused by the manager, then given: Close gives it back before the port
    // closes, with one CONFIGURE.
    control->takeControl();
    mavlink_command_ack_t ack{};
    ack.command = MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE;
    ack.result = MAV_RESULT_DENIED;
    vehicle.pty.write(vehicle.autopilot.frame(MAVLINK_MSG_ID_COMMAND_ACK, ack));
    QTRY_COMPARE(control->refusal(), int(MAV_RESULT_DENIED));
    vehicle.pty.write(managerStatus(vehicle.autopilot, MAV_COMP_ID_GIMBAL, 245, 190));
    QTRY_VERIFY(control->inControl());
    vehicle.wait.skip();
    vehicle.ravik.switchSerial(QString(), QString());
    const auto release = vehicle.wait.waitFor(
        [](const mavlink_message_t &msg) {
            return isCommand(msg, MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE);
        },
        2, 500);
    QCOMPARE(release.size(), std::size_t(1));
    QCOMPARE(mavlink_msg_command_long_decode(&release.front()).param1,
             float(GIMBAL_MANAGER_CONTROL_RELEASE_SENDER));

    // The recording has the manager's side of it, both ways.
    QTRY_VERIFY(!recorder.recording());
    QFile file(folder.filePath(QStringLiteral("vehicle.csv")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray rows = file.readAll();
    for (const char *kind : {",manager_information,", ",manager_status,", ",manager_setpoint,",
                             ",command_long,", ",command_ack,"})
        QVERIFY2(rows.contains(kind), kind);
}

QTEST_GUILESS_MAIN(TestVehicle)
#include "tst_vehicle.moc"
