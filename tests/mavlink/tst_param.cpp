// The parameter messages: each packed frame against its payload laid out by hand from the
// published field offsets (the frame around it built apart from the encoder), which pins the
// records that the decoders fill too; the capabilities word of AUTOPILOT_VERSION. The download
// test reads a 16-character name back.
#include "encoder.h"
#include "frames.h"
#include "param.h"
#include "parser.h"

#include <QtTest>

#include <cstring>

namespace {
QByteArray frameOf(void (*pack)(mavlink_message_t *))
{
    mavlink_get_channel_status()->current_tx_seq = 0;
    mavlink_message_t msg{};
    pack(&msg);
    std::uint8_t buf[MAVLINK_MAX_PACKET_LEN];
    return QByteArray(reinterpret_cast<const char *>(buf), mavlink_msg_to_send_buffer(buf, &msg));
}
} // namespace

class TestParam : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void capabilities();
};

void TestParam::frames_data()
{
    QTest::addColumn<int>("msgid");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("payload");

    QTest::newRow("20 by name: 16 characters, no NUL") << 20 << frameOf([](auto m) {
        mavlink_msg_param_request_read_pack(1, 1, m, 1, 154, "SERIAL1_PROTOCOL",
                                            MAVLINK_PARAM_INDEX_BY_NAME);
    }) << QByteArray("ffff019a53455249414c315f50524f544f434f4c");
    QTest::newRow("21 to 1/154") << 21 << frameOf([](auto m) {
        mavlink_msg_param_request_list_pack(1, 1, m, 1, 154);
    }) << QByteArray("019a");
    QTest::newRow("22: a 16-character name runs into the type byte") << 22 << frameOf([](auto m) {
        mavlink_param_value_t v{2.0f, 500, 499, {}, 2};
        mavlink_param_id_put(v.param_id, "SERIAL1_PROTOCOL");
        mavlink_msg_param_value_pack(1, 1, m, &v);
    }) << QByteArray("00000040f401f30153455249414c315f50524f544f434f4c02");
    QTest::newRow("23: a 17-character name is cut to 16") << 23 << frameOf([](auto m) {
        mavlink_msg_param_set_pack(1, 1, m, 1, 154, "SERIAL1_PROTOCOLX", 0.5f, 9);
    }) << QByteArray("0000003f019a53455249414c315f50524f544f434f4c09");
}

void TestParam::frames()
{
    QFETCH(int, msgid);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, payload);

    QCOMPARE(frame.toHex(), frames::v2(std::uint32_t(msgid), QByteArray::fromHex(payload)).toHex());
}

void TestParam::capabilities()
{
    // Both encoding bits and bit 32, then uid and versions: the whole message.
    mavlink_message_t msg{};
    std::memcpy(msg.payload, "\x10\x00\x02\x00\x01\x00\x00\x00\x55", 9);
    msg.len = MAVLINK_MSG_ID_AUTOPILOT_VERSION_LEN;
    QCOMPARE(mavlink_msg_autopilot_version_get_capabilities(&msg), std::uint64_t(0x100020010));
    // A sender that cut the zero bytes after 16: what the receive record held before is no part.
    msg.len = 1;
    QCOMPARE(mavlink_msg_autopilot_version_get_capabilities(&msg), std::uint64_t(16));
}

QTEST_APPLESS_MAIN(TestParam)
#include "tst_param.moc"
