// The gimbal protocol v2 messages and COMMAND_LONG/ACK: the table rows against the protocol's
// published numbers (the records' sizes are held to the table at compile time), round trips
// through the encoder and the parser, payloads cut short by their sender, and whole frames
// computed outside the codec.
#include "command.h"
#include "encoder.h"
#include "frames.h"
#include "gimbal_v2.h"
#include "message_table.h"
#include "messages.h"
#include "parser.h"

#include <QtTest>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

namespace {
const float NaN = std::numeric_limits<float>::quiet_NaN();

using namespace frames;

// Packs the record in `bytes` with the message's own pack function (those of the ground
// station's own messages are pinned byte by byte below).
std::uint16_t pack(int msgid, const QByteArray &bytes, mavlink_message_t *msg)
{
    switch (msgid) {
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION: {
        const auto r = recordOf<mavlink_gimbal_device_information_t>(bytes);
        return mavlink_msg_gimbal_device_information_pack(1, 154, msg, &r);
    }
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS: {
        const auto r = recordOf<mavlink_gimbal_device_attitude_status_t>(bytes);
        return mavlink_msg_gimbal_device_attitude_status_pack(1, 154, msg, &r);
    }
    case MAVLINK_MSG_ID_COMMAND_ACK: {
        const auto r = recordOf<mavlink_command_ack_t>(bytes);
        return mavlink_msg_command_ack_pack(1, 154, msg, r.target_system, r.target_component,
                                            r.command, r.result);
    }
    }
    return 0;
}

// The record the message's own decoder reads from `msg`, as bytes.
QByteArray decode(const mavlink_message_t &msg)
{
    switch (msg.msgid) {
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION:
        return bytesOf(mavlink_msg_gimbal_device_information_decode(&msg));
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE:
        return bytesOf(mavlink_msg_gimbal_device_set_attitude_decode(&msg));
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS:
        return bytesOf(mavlink_msg_gimbal_device_attitude_status_decode(&msg));
    case MAVLINK_MSG_ID_COMMAND_LONG:
        return bytesOf(mavlink_msg_command_long_decode(&msg));
    case MAVLINK_MSG_ID_COMMAND_ACK:
        return bytesOf(mavlink_msg_command_ack_decode(&msg));
    }
    return {};
}

mavlink_gimbal_device_attitude_status_t status(float deltaYaw, std::uint8_t deviceId)
{
    mavlink_gimbal_device_attitude_status_t s{};
    s.time_boot_ms = 123456;
    const float q[4] = {0.9238795f, 0.0f, -0.3826834f, 0.0f};
    std::memcpy(s.q, q, sizeof q);
    s.angular_velocity_x = 0.0f;
    s.angular_velocity_y = -0.25f;
    s.angular_velocity_z = 1.5f;
    s.failure_flags =
        GIMBAL_DEVICE_ERROR_FLAGS_AT_PITCH_LIMIT | GIMBAL_DEVICE_ERROR_FLAGS_MOTOR_ERROR;
    s.flags = GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK |
              GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME;
    s.delta_yaw = deltaYaw;
    s.gimbal_device_id = deviceId;
    return s;
}

mavlink_gimbal_device_information_t information(std::uint32_t capFlags2)
{
    mavlink_gimbal_device_information_t info{};
    info.uid = 0x0102030405060708ULL;
    info.firmware_version = 0x04030201;
    info.hardware_version = 7;
    info.roll_min = -0.785f;
    info.roll_max = 0.785f;
    info.pitch_min = -1.5708f;
    info.pitch_max = 0.5236f;
    info.yaw_min = NaN;
    info.yaw_max = NaN;
    info.cap_flags = GIMBAL_DEVICE_CAP_FLAGS_HAS_NEUTRAL | GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_LOCK;
    std::strcpy(info.vendor_name, "Lunok");
    std::strcpy(info.model_name, "G3");
    info.cap_flags2 = capFlags2;
    return info;
}

mavlink_command_ack_t ack(std::uint8_t result, std::uint8_t targetSystem,
                          std::uint8_t targetComponent)
{
    mavlink_command_ack_t a{};
    a.command = MAV_CMD_REQUEST_MESSAGE;
    a.result = result;
    a.target_system = targetSystem;
    a.target_component = targetComponent;
    return a;
}
} // namespace

class TestGimbalV2 : public QObject
{
    Q_OBJECT

private slots:
    void tableRowsAreTheFacts_data();
    void tableRowsAreTheFacts();
    void roundTrip_data();
    void roundTrip();
    void payloadCutAtEveryLength_data();
    void payloadCutAtEveryLength();
    void framesComputedOutsideTheCodec_data();
    void framesComputedOutsideTheCodec();
    void gimbalComponents();
};

void TestGimbalV2::tableRowsAreTheFacts_data()
{
    QTest::addColumn<int>("msgid");
    QTest::addColumn<QVector<int>>("facts");

    // The published numbers of the gimbal protocol v2 and of the two command messages: CRC extra,
    // minimum and maximum length, flags, target system and target component offsets.
    QTest::newRow("fact: 76 COMMAND_LONG") << 76 << QVector<int>{152, 33, 33, 3, 30, 31};
    QTest::newRow("fact: 77 COMMAND_ACK") << 77 << QVector<int>{143, 3, 10, 3, 8, 9};
    QTest::newRow("fact: 280 GIMBAL_MANAGER_INFORMATION")
        << 280 << QVector<int>{70, 33, 33, 0, 0, 0};
    QTest::newRow("fact: 281 GIMBAL_MANAGER_STATUS") << 281 << QVector<int>{48, 13, 13, 0, 0, 0};
    QTest::newRow("fact: 282 GIMBAL_MANAGER_SET_ATTITUDE")
        << 282 << QVector<int>{123, 35, 35, 3, 32, 33};
    QTest::newRow("fact: 283 GIMBAL_DEVICE_INFORMATION")
        << 283 << QVector<int>{74, 144, 149, 0, 0, 0};
    QTest::newRow("fact: 284 GIMBAL_DEVICE_SET_ATTITUDE")
        << 284 << QVector<int>{99, 32, 32, 3, 30, 31};
    QTest::newRow("fact: 285 GIMBAL_DEVICE_ATTITUDE_STATUS")
        << 285 << QVector<int>{137, 40, 49, 3, 38, 39};
    QTest::newRow("fact: 286 AUTOPILOT_STATE_FOR_GIMBAL_DEVICE")
        << 286 << QVector<int>{210, 53, 57, 3, 50, 51};
    QTest::newRow("fact: 287 GIMBAL_MANAGER_SET_PITCHYAW")
        << 287 << QVector<int>{1, 23, 23, 3, 20, 21};
    QTest::newRow("fact: 288 GIMBAL_MANAGER_SET_MANUAL_CONTROL")
        << 288 << QVector<int>{20, 23, 23, 3, 20, 21};
}

void TestGimbalV2::tableRowsAreTheFacts()
{
    QFETCH(int, msgid);
    QFETCH(QVector<int>, facts);

    const mavlink_msg_entry_t *entry = mavlink_get_msg_entry(std::uint32_t(msgid));
    QVERIFY(entry);
    const QVector<int> table{entry->crc_extra,         entry->min_msg_len,
                             entry->max_msg_len,       entry->flags,
                             entry->target_system_ofs, entry->target_component_ofs};
    QCOMPARE(table, facts);
}

void TestGimbalV2::roundTrip_data()
{
    QTest::addColumn<int>("msgid");
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("wireLen");

    QTest::newRow("status with every extension field")
        << int(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS) << bytesOf(status(0.5f, 2)) << 49;
    QTest::newRow("status, delta yaw only: device id cut")
        << int(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS) << bytesOf(status(-0.5f, 0)) << 44;
    QTest::newRow("status, extensions zero: cut inside the flags")
        << int(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS) << bytesOf(status(0.0f, 0)) << 37;
    QTest::newRow("information with cap_flags2, its zero top byte cut")
        << int(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION)
        << bytesOf(information(GIMBAL_DEVICE_CAP_FLAGS_CAN_POINT_LOCATION_GLOBAL)) << 148;
    QTest::newRow("information without extensions: cut after the model name")
        << int(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION) << bytesOf(information(0)) << 82;
    QTest::newRow("ack to a ground station")
        << int(MAVLINK_MSG_ID_COMMAND_ACK) << bytesOf(ack(MAV_RESULT_ACCEPTED, 255, 190)) << 10;
    QTest::newRow("accepted broadcast ack: only the command left")
        << int(MAVLINK_MSG_ID_COMMAND_ACK) << bytesOf(ack(MAV_RESULT_ACCEPTED, 0, 0)) << 2;
    QTest::newRow("denied broadcast ack")
        << int(MAVLINK_MSG_ID_COMMAND_ACK) << bytesOf(ack(MAV_RESULT_DENIED, 0, 0)) << 3;
}

void TestGimbalV2::roundTrip()
{
    QFETCH(int, msgid);
    QFETCH(QByteArray, record);
    QFETCH(int, wireLen);

    mavlink_message_t msg{};
    const int frameLen = pack(msgid, record, &msg);
    QCOMPARE(frameLen, wireLen + MAVLINK_NUM_HEADER_BYTES + MAVLINK_NUM_CHECKSUM_BYTES);
    const QByteArray frame = sendBuffer(msg);
    QCOMPARE(frame.size(), frameLen);

    const QVector<mavlink_message_t> got = parse(frame);
    QCOMPARE(got.size(), 1);
    QCOMPARE(int(got.first().msgid), msgid);
    QCOMPARE(int(got.first().len), wireLen);
    QCOMPARE(decode(got.first()).toHex(), record.toHex());
}

void TestGimbalV2::payloadCutAtEveryLength_data()
{
    QTest::addColumn<int>("msgid");
    QTest::addColumn<int>("fullLen");

    QTest::newRow("GIMBAL_DEVICE_INFORMATION")
        << int(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION) << 149;
    QTest::newRow("GIMBAL_DEVICE_SET_ATTITUDE")
        << int(MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE) << 32;
    QTest::newRow("GIMBAL_DEVICE_ATTITUDE_STATUS")
        << int(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS) << 49;
    QTest::newRow("COMMAND_LONG") << int(MAVLINK_MSG_ID_COMMAND_LONG) << 33;
    QTest::newRow("COMMAND_ACK") << int(MAVLINK_MSG_ID_COMMAND_ACK) << 10;
}

// Whatever a sender cut off, base or extension fields, reads as zero; nothing beyond the
// received length leaks in from the receive record.
void TestGimbalV2::payloadCutAtEveryLength()
{
    QFETCH(int, msgid);
    QFETCH(int, fullLen);

    QByteArray full(fullLen, '\0');
    for (int i = 0; i < fullLen; ++i)
        full[i] = char(0x41 + i % 50);
    for (int len = 1; len <= fullLen; ++len) {
        const QString what = QString("cut to %1 bytes").arg(len);
        const QVector<mavlink_message_t> got =
            parse(frames::v2(std::uint32_t(msgid), full.left(len)));
        QVERIFY2(got.size() == 1, qPrintable(what));
        QByteArray expected = full.left(len) + QByteArray(fullLen - len, '\0');
        QVERIFY2(decode(got.first()) == expected, qPrintable(what));

        mavlink_message_t stale = got.first();
        std::memset(stale.payload + len, 0xEE, sizeof stale.payload - std::size_t(len));
        QVERIFY2(decode(stale) == expected, qPrintable(what + " over a stale record"));
    }
}

void TestGimbalV2::framesComputedOutsideTheCodec_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expected");

    // Computed byte by byte with the X.25 CRC and the table's seed bytes, apart from this code.
    QTest::newRow("ground station heartbeat, sequence 5")
        << packed(5,
                  [](mavlink_message_t *m) {
                      mavlink_msg_heartbeat_pack(255, 190, m, MAV_TYPE_GCS, MAV_AUTOPILOT_INVALID,
                                                 0, 0, 4);
                  })
        << QByteArray::fromHex("fd09000005ffbe000000"
                               "00000000"
                               "0608000403"
                               "4fee");
    QTest::newRow("information request to 1/154, sequence 0")
        << packed(0,
                  [](mavlink_message_t *m) {
                      mavlink_msg_command_long_pack(255, 190, m, 1, MAV_COMP_ID_GIMBAL,
                                                    MAV_CMD_REQUEST_MESSAGE, 0, 283, 0, 0, 0, 0, 0,
                                                    0);
                  })
        << QByteArray::fromHex("fd20000000ffbe4c0000"
                               "00808d43000000000000000000000000000000000000000000000000"
                               "0002019a"
                               "03cb");
    QTest::newRow("rate demand, q NaN, sequence 7")
        << packed(7,
                  [](mavlink_message_t *m) {
                      const float q[4] = {NaN, NaN, NaN, NaN};
                      mavlink_msg_gimbal_device_set_attitude_pack(
                          255, 190, m, 1, MAV_COMP_ID_GIMBAL,
                          GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK |
                              GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME,
                          q, 0.0f, 0.5f, -0.25f);
                  })
        << QByteArray::fromHex("fd20000007ffbe1c0100"
                               "0000c07f0000c07f0000c07f0000c07f"
                               "000000000000003f000080be"
                               "2c00019a"
                               "6e99");
}

void TestGimbalV2::framesComputedOutsideTheCodec()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, expected);
    QCOMPARE(frame.toHex(), expected.toHex());
}

void TestGimbalV2::gimbalComponents()
{
    QList<int> gimbals;
    for (int id = 0; id < 256; ++id) {
        if (mavlink_is_gimbal_component(std::uint8_t(id)))
            gimbals << id;
    }
    QCOMPARE(gimbals, (QList<int>{154, 171, 172, 173, 174, 175}));
}

QTEST_APPLESS_MAIN(TestGimbalV2)
#include "tst_gimbal_v2.moc"
