// The controller with the v2 link over a real pseudo-terminal whose far end plays the gimbal:
// which protocol the device's first frames choose, the heartbeats that wake a silent device and
// stop for the report gimbal, and a v2 gimbal's commands on the wire (ids, flags, signs, centre,
// retract, go to angle, the information request) and its status read back. What the window
// shows of these (failure words, silence, the second gimbal) is tested through the window.
#include "framewriter.h"
#include "gimbalv2link.h"
#include "messagewait.h"
#include "pseudoterminal.h"
#include "ravik.h"

#include <command.h>
#include <gimbal_v2.h>
#include <messages.h>

#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr float QuarterTurn = 1.5707964f;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr std::uint16_t Follow = GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK |
                                 GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME;

QByteArray heartbeat(FrameWriter &writer, std::uint8_t type)
{
    mavlink_heartbeat_t h{};
    h.type = type;
    h.autopilot = MAV_AUTOPILOT_INVALID;
    return writer.frame(MAVLINK_MSG_ID_HEARTBEAT, h);
}

QByteArray report(FrameWriter &writer)
{
    mavlink_gimbal_report_t r{};
    r.joint_el = 0.5f;
    return writer.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, r);
}

mavlink_gimbal_device_attitude_status_t level()
{
    mavlink_gimbal_device_attitude_status_t s{};
    s.q[0] = 1.0f;
    s.flags = Follow;
    return s;
}

QByteArray status(FrameWriter &writer, const mavlink_gimbal_device_attitude_status_t &s)
{
    return writer.frame(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, s);
}

QByteArray information(FrameWriter &writer, std::uint32_t caps, float pitchMin, float pitchMax)
{
    mavlink_gimbal_device_information_t i{};
    std::strcpy(i.vendor_name, "Acme");
    std::strcpy(i.model_name, "G3");
    i.firmware_version = 0x04030201;
    i.hardware_version = 0x00000A02;
    i.roll_min = -0.5f;
    i.roll_max = 0.5f;
    i.pitch_min = pitchMin;
    i.pitch_max = pitchMax;
    i.yaw_min = NaN;
    i.yaw_max = NaN;
    i.cap_flags = static_cast<std::uint16_t>(caps);
    return writer.frame(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION, i);
}

MessageWait::Match messageOf(std::uint32_t id)
{
    return [id](const mavlink_message_t &msg) { return msg.msgid == id; };
}

// The test's gimbal at the far end of the port that the controller opened.
struct Bench
{
    explicit Bench(GimbalV2Link::Ids ids = {}) : link(ravik, ids) {}

    PseudoTerminal pty;
    Ravik ravik;
    GimbalV2Link link;
    MessageWait wait{pty};

    bool open()
    {
        ravik.switchSerial(pty.devicePath(), QStringLiteral("115200"));
        return ravik.serialIsOpen();
    }
    // The port opened, a v2 gimbal with these ids announces itself and the link takes it as the
    // controlled one.
    bool recognise(FrameWriter &device, std::uint16_t extraFlags = 0)
    {
        if (!open())
            return false;
        mavlink_gimbal_device_attitude_status_t s = level();
        s.flags |= extraFlags;
        pty.write(heartbeat(device, MAV_TYPE_GIMBAL));
        pty.write(status(device, s));
        QSignalSpy talking(link.status(), &V2Status::talkingChanged);
        return link.status()->talking() || talking.wait(2000);
    }
    // The device tells what it can do and its pitch limits (radians).
    bool describe(FrameWriter &device, std::uint32_t caps, float pitchMin, float pitchMax)
    {
        pty.write(information(device, caps, pitchMin, pitchMax));
        QSignalSpy info(link.information(), &V2Information::changed);
        return info.wait(2000) && link.information()->known();
    }
    // The first attitude command certainly sent after what the test just changed: one or two
    // sent before it may still be on their way.
    mavlink_gimbal_device_set_attitude_t nextCommand(mavlink_message_t *frame = nullptr)
    {
        wait.skip();
        const auto found =
            wait.waitFor(messageOf(MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE), 3, 3000);
        const mavlink_message_t msg = found.size() == 3 ? found.back() : mavlink_message_t{};
        if (frame)
            *frame = msg;
        return mavlink_msg_gimbal_device_set_attitude_decode(&msg);
    }
};

bool allNaN(const float q[4])
{
    return std::isnan(q[0]) && std::isnan(q[1]) && std::isnan(q[2]) && std::isnan(q[3]);
}
} // namespace

Q_DECLARE_METATYPE(mavlink_message_t)

class TestGimbalV2Link : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<mavlink_message_t>(); }
    void recognition_data();
    void recognition();
    void reportGimbalSeesNoHeartbeatAfterItsFirstReport();
    void forcedProtocol_data();
    void forcedProtocol();
    void ratesOnTheWire_data();
    void ratesOnTheWire();
    void demandsHoldUntilAStickMoves_data();
    void demandsHoldUntilAStickMoves();
    void goToAngleIsClamped_data();
    void goToAngleIsClamped();
    void informationAskedUntilItComes();
    void statusAngles_data();
    void statusAngles();
};

void TestGimbalV2Link::recognition_data()
{
    QTest::addColumn<QByteArray>("frames");
    QTest::addColumn<int>("protocol");

    FrameWriter gimbal(2, 1, 154), gimbalV1(1, 1, 154), further(2, 1, 173), plain(2, 1, 1),
        camera(2, 1, 100);
    QTest::newRow("a GIMBAL_REPORT is the report gimbal")
        << report(gimbal) << int(ProtocolSelector::Report);
    QTest::newRow("a GIMBAL_REPORT in MAVLink 1 too")
        << report(gimbalV1) << int(ProtocolSelector::Report);
    QTest::newRow("an attitude status is a v2 gimbal")
        << status(plain, level()) << int(ProtocolSelector::V2);
    QTest::newRow("a gimbal's heartbeat from component 154 is a v2 gimbal")
        << heartbeat(gimbal, MAV_TYPE_GIMBAL) << int(ProtocolSelector::V2);
    QTest::newRow("a gimbal's heartbeat from component 173 is a v2 gimbal")
        << heartbeat(further, MAV_TYPE_GIMBAL) << int(ProtocolSelector::V2);
    QTest::newRow("a gimbal's heartbeat from component 1 tells nothing")
        << heartbeat(plain, MAV_TYPE_GIMBAL) << int(ProtocolSelector::Undecided);
    QTest::newRow("another type's heartbeat from 154 tells nothing")
        << heartbeat(gimbal, 2) << int(ProtocolSelector::Undecided);
    QTest::newRow("a camera's status-like id tells nothing")
        << heartbeat(camera, 30) << int(ProtocolSelector::Undecided);
    QTest::newRow("the first that tells decides: a report, then a v2 heartbeat")
        << report(gimbal) + heartbeat(gimbal, MAV_TYPE_GIMBAL) << int(ProtocolSelector::Report);
    QTest::newRow("the first that tells decides: a v2 status, then a report")
        << status(gimbal, level()) + report(gimbal) << int(ProtocolSelector::V2);
}

void TestGimbalV2Link::recognition()
{
    QFETCH(QByteArray, frames);
    QFETCH(int, protocol);

    Bench bench;
    QVERIFY(bench.open());
    QSignalSpy frame(&bench.ravik, &Ravik::frameReceived);
    QVERIFY(frame.isValid());
    bench.pty.write(frames);
    while (frame.count() < 2 && frame.wait(300)) {
    }
    QVERIFY(!frame.isEmpty());
    QCOMPARE(int(bench.link.selector()->protocol()), protocol);
}

void TestGimbalV2Link::reportGimbalSeesNoHeartbeatAfterItsFirstReport()
{
    Bench bench;
    QVERIFY(bench.open());
    // Undecided, and no autopilot heard for two seconds: the ground station's heartbeat beside
    // the rate commands.
    std::vector<mavlink_message_t> before;
    const auto beats = bench.wait.waitFor(messageOf(MAVLINK_MSG_ID_HEARTBEAT), 2, 4000, &before);
    QCOMPARE(beats.size(), std::size_t(2));
    const mavlink_heartbeat_t beat = mavlink_msg_heartbeat_decode(&beats.front());
    QCOMPARE(int(beats.front().sysid), 255);
    QCOMPARE(int(beats.front().compid), 190);
    QCOMPARE(int(beat.type), int(MAV_TYPE_GCS));
    QCOMPARE(int(beat.autopilot), int(MAV_AUTOPILOT_INVALID));

    FrameWriter gimbal(2, 1, 154);
    bench.pty.write(report(gimbal));
    QSignalSpy decided(bench.link.selector(), &ProtocolSelector::protocolChanged);
    QVERIFY(decided.wait(2000));
    bench.wait.skip();
    // Well over a second of traffic after the first report: rate commands only.
    std::vector<mavlink_message_t> after;
    QCOMPARE(bench.wait.waitFor(messageOf(MAVLINK_MSG_ID_GIMBAL_CONTROL), 75, 4000, &after).size(),
             std::size_t(75));
    for (const mavlink_message_t &msg : after) {
        QCOMPARE(msg.msgid, MAVLINK_MSG_ID_GIMBAL_CONTROL);
        QCOMPARE(int(msg.sysid), 0);
        QCOMPARE(int(msg.compid), 0);
        mavlink_gimbal_control_t control{};
        std::memcpy(&control, msg.payload, msg.len);
        QCOMPARE(int(control.target_system), 1);
        QCOMPARE(int(control.target_component), 1);
    }
    // The heartbeats counted their own sequence: the commands' ran on unbroken between them.
    std::vector<std::uint8_t> sequence;
    for (const mavlink_message_t &msg : before) {
        if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_CONTROL)
            sequence.push_back(msg.seq);
    }
    QVERIFY(sequence.size() > 40);
    for (std::size_t i = 1; i < sequence.size(); ++i)
        QCOMPARE(int(sequence[i]), int(std::uint8_t(sequence[i - 1] + 1)));
    // Opened again, the port starts undecided and heartbeats again.
    bench.ravik.switchSerial(QString(), QString());
    QVERIFY(bench.open());
    QCOMPARE(bench.link.selector()->protocol(), ProtocolSelector::Undecided);
    bench.wait.skip();
    QCOMPARE(bench.wait.waitFor(messageOf(MAVLINK_MSG_ID_HEARTBEAT)).size(), std::size_t(1));
}

void TestGimbalV2Link::forcedProtocol_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("heartbeats");
    QTest::addColumn<bool>("rateCommands");

    QTest::newRow("forced report: the report gimbal's traffic alone")
        << int(ProtocolSelector::ForceReport) << false << true;
    QTest::newRow("forced v2: heartbeats, no GIMBAL_CONTROL")
        << int(ProtocolSelector::ForceV2) << true << false;
}

void TestGimbalV2Link::forcedProtocol()
{
    QFETCH(int, choice);
    QFETCH(bool, heartbeats);
    QFETCH(bool, rateCommands);

    Bench bench({200, 191});
    bench.link.selector()->setChoice(static_cast<ProtocolSelector::Choice>(choice));
    QVERIFY(bench.open());
    std::vector<mavlink_message_t> seen;
    // Whatever comes until just after the first heartbeat's turn, two seconds after the opening.
    bench.wait.waitFor([](const mavlink_message_t &) { return false; }, 1, 2300, &seen);
    QVERIFY(!seen.empty() || !rateCommands);
    const auto count = [&seen](std::uint32_t id) {
        return std::count_if(seen.begin(), seen.end(),
                             [id](const mavlink_message_t &msg) { return msg.msgid == id; });
    };
    QCOMPARE(count(MAVLINK_MSG_ID_HEARTBEAT) > 0, heartbeats);
    QCOMPARE(count(MAVLINK_MSG_ID_GIMBAL_CONTROL) > 0, rateCommands);
    // Heartbeats go out under the tool's own ids as set.
    for (const mavlink_message_t &msg : seen) {
        if (msg.msgid == MAVLINK_MSG_ID_HEARTBEAT)
            QVERIFY(msg.sysid == 200 && msg.compid == 191);
    }
    // A report does not undo the user's choice.
    FrameWriter gimbal(2, 1, 154);
    bench.pty.write(report(gimbal));
    QSignalSpy frame(&bench.ravik, &Ravik::frameReceived);
    QVERIFY(frame.wait(2000));
    QCOMPARE(bench.link.selector()->protocol(),
             choice == ProtocolSelector::ForceV2 ? ProtocolSelector::V2 : ProtocolSelector::Report);
}

void TestGimbalV2Link::ratesOnTheWire_data()
{
    QTest::addColumn<QVector<float>>("stick");
    QTest::addColumn<QVector<float>>("rates");
    QTest::addColumn<bool>("yawLock");
    QTest::addColumn<int>("deviceFlags");
    QTest::addColumn<int>("flags");

    using V = QVector<float>;
    const float inf = std::numeric_limits<float>::infinity();
    const int earth = GIMBAL_DEVICE_FLAGS_ACCEPTS_YAW_IN_EARTH_FRAME;
    // stick: x, y, z as the controller takes them; rates: roll, pitch, yaw as sent.
    QTest::newRow("right stick up: positive pitch rate, nose up")
        << V{0, 1, 0} << V{0, QuarterTurn, 0} << false << 0 << int(Follow);
    QTest::newRow("right stick down: pitch down")
        << V{0, -1, 0} << V{0, -QuarterTurn, 0} << false << 0 << int(Follow);
    QTest::newRow("right stick right: positive yaw rate, pans right")
        << V{1, 0, 0} << V{0, 0, QuarterTurn} << false << 0 << int(Follow);
    QTest::newRow("left stick left: negative roll rate")
        << V{0, 0, -1} << V{-QuarterTurn, 0, 0} << false << 0 << int(Follow);
    QTest::newRow("half way up and right")
        << V{0.5f, 0.5f, 0} << V{0, QuarterTurn / 2, QuarterTurn / 2} << false << 0 << int(Follow);
    QTest::newRow("let go: every rate 0, not NaN")
        << V{0, 0, 0} << V{0, 0, 0} << false << 0 << int(Follow);
    QTest::newRow("a NaN from outside holds the axis")
        << V{NaN, 0, 0} << V{0, 0, 0} << false << 0 << int(Follow);
    QTest::newRow("an infinity from outside holds the axis")
        << V{0, inf, 0} << V{0, 0, 0} << false << 0 << int(Follow);
    // The yaw lock needs the device's word.
    QTest::newRow("yaw lock, the device accepts an earth-frame yaw: locked in the earth frame")
        << V{0, 0, 0} << V{0, 0, 0} << true << earth
        << int(GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK |
               GIMBAL_DEVICE_FLAGS_YAW_LOCK | GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME);
    QTest::newRow("yaw lock, the device does not say so: yaw follows the vehicle")
        << V{0, 0, 0} << V{0, 0, 0} << true << 0 << int(Follow);
}

void TestGimbalV2Link::ratesOnTheWire()
{
    QFETCH(QVector<float>, stick);
    QFETCH(QVector<float>, rates);
    QFETCH(bool, yawLock);
    QFETCH(int, deviceFlags);
    QFETCH(int, flags);

    Bench bench;
    FrameWriter device(2, 7, 171);
    QVERIFY(bench.recognise(device, std::uint16_t(deviceFlags)));
    bench.link.setYawLock(yawLock);
    bench.ravik.setJoystick(stick[0], stick[1], stick[2]);
    mavlink_message_t msg{};
    const mavlink_gimbal_device_set_attitude_t c = bench.nextCommand(&msg);
    QCOMPARE(msg.msgid, MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE);
    QCOMPARE(int(msg.sysid), 255);
    QCOMPARE(int(msg.compid), 190);
    QCOMPARE(int(c.target_system), 7);
    QCOMPARE(int(c.target_component), 171);
    QCOMPARE(int(c.flags), flags);
    QVERIFY(allNaN(c.q));
    QCOMPARE(c.angular_velocity_x, rates[0]);
    QCOMPARE(c.angular_velocity_y, rates[1]);
    QCOMPARE(c.angular_velocity_z, rates[2]);
    // No GIMBAL_CONTROL goes to a v2 gimbal.
    std::vector<mavlink_message_t> seen;
    bench.wait.waitFor(messageOf(MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE), 10, 3000, &seen);
    for (const mavlink_message_t &other : seen)
        QVERIFY(other.msgid != MAVLINK_MSG_ID_GIMBAL_CONTROL);
}

void TestGimbalV2Link::demandsHoldUntilAStickMoves_data()
{
    QTest::addColumn<QString>("demand");
    QTest::addColumn<int>("extraFlag");

    QTest::newRow("centre: NEUTRAL") << "centre" << int(GIMBAL_DEVICE_FLAGS_NEUTRAL);
    QTest::newRow("retract: RETRACT") << "retract" << int(GIMBAL_DEVICE_FLAGS_RETRACT);
}

void TestGimbalV2Link::demandsHoldUntilAStickMoves()
{
    QFETCH(QString, demand);
    QFETCH(int, extraFlag);

    Bench bench;
    FrameWriter device(2, 1, 154);
    QVERIFY(bench.recognise(device));
    QVERIFY(bench.describe(device, GIMBAL_DEVICE_CAP_FLAGS_HAS_RETRACT, -1.0f, 1.0f));

    QVERIFY(QMetaObject::invokeMethod(&bench.link, qPrintable(demand)));
    for (int command = 0; command < 3; ++command) {
        const mavlink_gimbal_device_set_attitude_t c = bench.nextCommand();
        QCOMPARE(int(c.flags), int(Follow) | extraFlag);
        QVERIFY(allNaN(c.q));
    }
    bench.ravik.setJoystick(0.0f, 0.2f, 0.0f);
    const mavlink_gimbal_device_set_attitude_t c = bench.nextCommand();
    QCOMPARE(int(c.flags), int(Follow));
    QCOMPARE(c.angular_velocity_y, QuarterTurn * 0.2f);
    QCOMPARE(bench.link.demand(), GimbalV2Link::Rates);
}

void TestGimbalV2Link::goToAngleIsClamped_data()
{
    QTest::addColumn<int>("caps");
    QTest::addColumn<double>("pitch");
    QTest::addColumn<double>("yaw");
    QTest::addColumn<double>("roll");
    QTest::addColumn<QVariantList>("sent");

    const int rollAxis = GIMBAL_DEVICE_CAP_FLAGS_HAS_ROLL_AXIS;
    QTest::newRow("inside the limits as typed")
        << rollAxis << -30.0 << 45.0 << 10.0 << QVariantList{10.0, -30.0, 45.0};
    QTest::newRow("pitch beyond its limit stops at it (about -57.3°)")
        << rollAxis << -90.0 << 0.0 << 0.0 << QVariantList{0.0, -57.29578, 0.0};
    QTest::newRow("roll beyond its limit stops at it (about 28.6°)")
        << rollAxis << 0.0 << 0.0 << 40.0 << QVariantList{28.64789, 0.0, 0.0};
    QTest::newRow("yaw without limits is as typed")
        << rollAxis << 0.0 << 170.0 << 0.0 << QVariantList{0.0, 0.0, 170.0};
    QTest::newRow("no roll axis: roll stays 0")
        << 0 << 10.0 << 0.0 << 20.0 << QVariantList{0.0, 10.0, 0.0};
}

void TestGimbalV2Link::goToAngleIsClamped()
{
    QFETCH(int, caps);
    QFETCH(double, pitch);
    QFETCH(double, yaw);
    QFETCH(double, roll);
    QFETCH(QVariantList, sent);

    Bench bench;
    FrameWriter device(2, 1, 154);
    QVERIFY(bench.recognise(device));
    QVERIFY(bench.describe(device, static_cast<std::uint32_t>(caps), -1.0f, 0.6f));

    QVERIFY(bench.link.goToAngle(pitch, yaw, roll));
    const mavlink_gimbal_device_set_attitude_t c = bench.nextCommand();
    QVERIFY(std::isnan(c.angular_velocity_x) && std::isnan(c.angular_velocity_y) &&
            std::isnan(c.angular_velocity_z));
    // The quaternion on the wire read back as the status of a device at that attitude would be.
    mavlink_gimbal_device_attitude_status_t at = level();
    std::memcpy(at.q, c.q, sizeof at.q);
    const mavlink_euler_t angles = vehicleAngles(at);
    const double degrees[3] = {angles.roll * 57.29578, angles.pitch * 57.29578,
                               angles.yaw * 57.29578};
    for (int axis = 0; axis < 3; ++axis) {
        QVERIFY2(std::abs(degrees[axis] - sent[axis].toDouble()) < 0.01,
                 qPrintable(QStringLiteral("axis %1: %2").arg(axis).arg(degrees[axis])));
    }
    QVERIFY(!bench.link.goToAngle(std::nan(""), 0.0, 0.0));
}

void TestGimbalV2Link::informationAskedUntilItComes()
{
    Bench bench;
    FrameWriter device(2, 3, 154);
    QVERIFY(bench.recognise(device));
    const auto requests = bench.wait.waitFor(messageOf(MAVLINK_MSG_ID_COMMAND_LONG), 2, 4000);
    QCOMPARE(requests.size(), std::size_t(2));
    const mavlink_command_long_t request = mavlink_msg_command_long_decode(&requests.front());
    QCOMPARE(int(request.command), int(MAV_CMD_REQUEST_MESSAGE));
    QCOMPARE(request.param1, float(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION));
    QCOMPARE(int(request.target_system), 3);
    QCOMPARE(int(request.target_component), 154);

    QVERIFY(bench.describe(device, GIMBAL_DEVICE_CAP_FLAGS_HAS_NEUTRAL, -1.0f, 1.0f));
    const V2Information *known = bench.link.information();
    QCOMPARE(known->vendor(), QStringLiteral("Acme"));
    QCOMPARE(known->model(), QStringLiteral("G3"));
    QCOMPARE(known->firmwareVersion(), QStringLiteral("1.2.3.4"));
    QCOMPARE(known->hardwareVersion(), QStringLiteral("2.10.0.0"));
    QVERIFY(std::isnan(known->yawMax()));
    bench.wait.skip();
    // Two heartbeats' time without another request.
    std::vector<mavlink_message_t> seen;
    bench.wait.waitFor(messageOf(MAVLINK_MSG_ID_HEARTBEAT), 2, 3000, &seen);
    for (const mavlink_message_t &msg : seen)
        QVERIFY(msg.msgid != MAVLINK_MSG_ID_COMMAND_LONG);
}

void TestGimbalV2Link::statusAngles_data()
{
    QTest::addColumn<float>("roll");
    QTest::addColumn<float>("pitch");
    QTest::addColumn<float>("yaw");
    QTest::addColumn<int>("flags");
    QTest::addColumn<float>("deltaYaw");
    QTest::addColumn<float>("shownYaw");

    QTest::newRow("vehicle frame: the yaw as it is")
        << 0.1f << -0.4f << 0.7f << int(Follow) << 0.0f << 0.7f;
    QTest::newRow("earth frame: yaw less the vehicle's heading")
        << 0.0f << 0.2f << 1.0f << int(GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME) << 0.4f << 0.6f;
    QTest::newRow("a yaw lock without frame flags is the earth frame")
        << 0.0f << 0.0f << 3.0f << int(GIMBAL_DEVICE_FLAGS_YAW_LOCK) << -0.5f << -2.7831853f;
    QTest::newRow("earth frame without a heading: yaw unknown")
        << 0.0f << 0.0f << 1.0f << int(GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME) << NaN << NaN;
}

void TestGimbalV2Link::statusAngles()
{
    QFETCH(float, roll);
    QFETCH(float, pitch);
    QFETCH(float, yaw);
    QFETCH(int, flags);
    QFETCH(float, deltaYaw);
    QFETCH(float, shownYaw);

    Bench bench;
    QVERIFY(bench.open());
    FrameWriter device(2, 1, 154);
    mavlink_gimbal_device_attitude_status_t s{};
    mavlink_quaternion_from_euler(roll, pitch, yaw, s.q);
    s.flags = static_cast<std::uint16_t>(flags);
    s.delta_yaw = deltaYaw;
    bench.pty.write(status(device, s));
    QSignalSpy changed(bench.link.status(), &V2Status::statusChanged);
    QVERIFY(changed.wait(2000));
    const V2Status *shown = bench.link.status();
    QVERIFY(std::abs(shown->roll() - roll) < 1e-5);
    QVERIFY(std::abs(shown->pitch() - pitch) < 1e-5);
    if (std::isnan(shownYaw))
        QVERIFY(std::isnan(shown->yaw()));
    else
        QVERIFY2(std::abs(shown->yaw() - shownYaw) < 1e-5,
                 qPrintable(QString::number(shown->yaw())));
}

QTEST_GUILESS_MAIN(TestGimbalV2Link)
#include "tst_gimbalv2link.moc"
