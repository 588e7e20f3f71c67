// The gimbal manager messages and commands: each packed, sent, parsed on a channel of its own and
// decoded back; the frames a sender cuts short; the commands' parameters where the command puts
// them, and the commands an autopilot must reject.
#include "command.h"
#include "frames.h"
#include "gimbal_manager.h"

#include <QtTest>

#include <cmath>

namespace {
using frames::bytesOf;

// The record the message's own decoder reads from `msg`, as bytes; for a COMMAND_LONG the
// parameters of the manager command it carries, or nothing when neither decoder accepts it.
QByteArray decode(const mavlink_message_t &msg)
{
    switch (msg.msgid) {
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION:
        return bytesOf(mavlink_msg_gimbal_manager_information_decode(&msg));
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS:
        return bytesOf(mavlink_msg_gimbal_manager_status_decode(&msg));
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_ATTITUDE:
        return bytesOf(mavlink_msg_gimbal_manager_set_attitude_decode(&msg));
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW:
        return bytesOf(mavlink_msg_gimbal_manager_set_pitchyaw_decode(&msg));
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_MANUAL_CONTROL:
        return bytesOf(mavlink_msg_gimbal_manager_set_manual_control_decode(&msg));
    }
    const mavlink_command_long_t c = mavlink_msg_command_long_decode(&msg);
    mavlink_gimbal_manager_configure_t configure{};
    mavlink_gimbal_manager_pitchyaw_t pitchyaw{};
    return mavlink_msg_gimbal_manager_configure_decode(&c, &configure) ? bytesOf(configure)
           : mavlink_msg_gimbal_manager_pitchyaw_decode(&c, &pitchyaw) ? bytesOf(pitchyaw)
                                                                       : QByteArray();
}

// The frame `pack` makes of `fields` with transmit sequence `seq`, all from the ids 255/190.
template <typename Pack, typename... Fields>
QByteArray sent(std::uint8_t seq, Pack pack, Fields... fields)
{
    return frames::packed(seq, [&](mavlink_message_t *m) { pack(255, 190, m, fields...); });
}
} // namespace

class TestGimbalManager : public QObject
{
    Q_OBJECT

private slots:
    void packSendParseDecode_data();
    void packSendParseDecode();
};

void TestGimbalManager::packSendParseDecode_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("computedOutside");
    QTest::addColumn<QByteArray>("decoded");
    const QByteArray none;

    const mavlink_gimbal_manager_information_t info{
        4000, GIMBAL_DEVICE_CAP_FLAGS_CAN_POINT_LOCATION_GLOBAL, -0.5f, 0.5f, -1.5f, 0.5f, NAN, NAN,
        1};
    QTest::newRow("information: point-location cap, NAN yaw limits")
        << sent(4, mavlink_msg_gimbal_manager_information_pack, &info) << none << bytesOf(info);
    const mavlink_gimbal_manager_set_attitude_t attitude{
        12, {0.9238795f, 0.0f, -0.3826834f, 0.0f}, NAN, NAN, NAN, 1, 1, 2};
    QTest::newRow("attitude set point, velocities NAN")
        << sent(5, mavlink_msg_gimbal_manager_set_attitude_pack, 1, 1, 12, 2, attitude.q, NAN, NAN,
                NAN)
        << none << bytesOf(attitude);
    const mavlink_gimbal_manager_set_manual_control_t stick{12, NAN, NAN, 1.0f, -0.5f, 1, 1, 3};
    QTest::newRow("manual control, full pitch rate")
        << sent(6, mavlink_msg_gimbal_manager_set_manual_control_pack, 1, 1, 12, 3, NAN, NAN, 1.0f,
                -0.5f)
        << none << bytesOf(stick);

    // Wire bytes from here: each field packed little-endian by hand, trailing zero payload bytes
    // dropped, CRC-16/MCRF4XX over the frame after its start byte and then the table's crc_extra
    // (a Python script apart from this code).
    const mavlink_gimbal_manager_status_t status{5000, 12, 1, 255, 190, 0, 0};
    QTest::newRow("status, nobody in secondary control: cut to 11 bytes, the rest reads as zero")
        << sent(3, mavlink_msg_gimbal_manager_status_pack, &status)
        << QByteArray::fromHex("fd0b000003ffbe190100881300000c00000001ffbebbc1") << bytesOf(status);
    const mavlink_gimbal_manager_set_pitchyaw_t rates{44, NAN, NAN, 0.5f, -0.25f, 1, 1, 0};
    QTest::newRow("pitch-yaw rate control, angles NAN, all gimbals: device id cut")
        << sent(9, mavlink_msg_gimbal_manager_set_pitchyaw_pack, 1, 1, 44, 0, NAN, NAN, 0.5f,
                -0.25f)
        << QByteArray::fromHex("fd16000009ffbe1f01002c0000000000c07f0000c07f0000003f000080be0101"
                               "b952")
        << bytesOf(rates);
    QTest::newRow("configure command: primary control to the sender, secondary unchanged")
        << sent(1, mavlink_msg_gimbal_manager_configure_pack, 1, 1, GIMBAL_MANAGER_CONTROL_SENDER,
                GIMBAL_MANAGER_CONTROL_SENDER, GIMBAL_MANAGER_CONTROL_UNCHANGED,
                GIMBAL_MANAGER_CONTROL_UNCHANGED, 0)
        << QByteArray::fromHex("fd20000001ffbe4c0000000000c0000000c0000080bf000080bf000000000000"
                               "000000000000e9030101c72e")
        << bytesOf(mavlink_gimbal_manager_configure_t{-2, -2, -1, -1, 0});
    QTest::newRow("pitch-yaw command: pitch only, yaw and rates unset")
        << sent(2, mavlink_msg_gimbal_manager_pitchyaw_pack, 1, 1, -45.0f, NAN, NAN, NAN, 12, 2)
        << QByteArray::fromHex("fd20000002ffbe4c0000000034c20000c07f0000c07f0000c07f000040410000"
                               "000000000040e803010135a2")
        << bytesOf(mavlink_gimbal_manager_pitchyaw_t{-45.0f, NAN, NAN, NAN, 12, 2});

    const auto command = mavlink_msg_command_long_pack;
    const auto configure = MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE;
    QTest::newRow("configure rejected: NaN id")
        << sent(0, command, 1, 1, configure, 0, NAN, -2, -1, -1, 0, 0, 0) << none << none;
    QTest::newRow("configure rejected: id -4")
        << sent(0, command, 1, 1, configure, 0, -2, -2, -4, -1, 0, 0, 0) << none << none;
    QTest::newRow("configure rejected: device id 1.5")
        << sent(0, command, 1, 1, configure, 0, -2, -2, -1, -1, 0, 0, 1.5f) << none << none;
    QTest::newRow("pitch-yaw rejected: infinite rate")
        << sent(0, mavlink_msg_gimbal_manager_pitchyaw_pack, 1, 1, 0, NAN, NAN, -INFINITY, 12, 0)
        << none << none;
}

void TestGimbalManager::packSendParseDecode()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, computedOutside);
    QFETCH(QByteArray, decoded);

    if (!computedOutside.isEmpty())
        QCOMPARE(frame.toHex(), computedOutside.toHex());
    const QVector<mavlink_message_t> got = frames::parse(frame);
    QCOMPARE(got.size(), 1);
    QCOMPARE(decode(got.first()).toHex(), decoded.toHex());
}

QTEST_APPLESS_MAIN(TestGimbalManager)
#include "tst_gimbal_manager.moc"
