// The MAVLink 2 encoder: the GIMBAL_CONTROL vectors, payload trimming and the sequence counter.
#include "encoder.h"
#include "frames.h"
#include "messages.h"
#include "parser.h"

#include <QtTest>

#include <cstring>

using frames::sendBuffer;

class TestEncoder : public QObject
{
    Q_OBJECT

private slots:
    void gimbalControlFrame_data();
    void gimbalControlFrame();
    void trimming_data();
    void trimming();
    void sequenceWrapsAt256();
};

void TestEncoder::gimbalControlFrame_data()
{
    QTest::addColumn<float>("rateX");
    QTest::addColumn<int>("seq");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("all rates zero, sequence 0") << 0.0f << 0
                                                << QByteArray::fromHex("fd0e0000000000c90000"
                                                                       "000000000000000000000000"
                                                                       "0101"
                                                                       "395f");
    QTest::newRow("rate x pi/2, sequence 1") << 1.5707964f << 1
                                             << QByteArray::fromHex("fd0e0000010000c90000"
                                                                    "db0fc93f"
                                                                    "0000000000000000"
                                                                    "0101"
                                                                    "b443");
}

void TestEncoder::gimbalControlFrame()
{
    QFETCH(float, rateX);
    QFETCH(int, seq);
    QFETCH(QByteArray, frame);

    mavlink_get_channel_status()->current_tx_seq = static_cast<std::uint8_t>(seq);
    mavlink_message_t msg{};
    const std::uint16_t length =
        mavlink_msg_gimbal_control_pack(0, 0, &msg, 1, 1, rateX, 0.0f, 0.0f);
    QCOMPARE(int(length), frame.size());
    QCOMPARE(sendBuffer(msg).toHex(), frame.toHex());
    QCOMPARE(int(mavlink_get_channel_status()->current_tx_seq), seq + 1);
}

void TestEncoder::trimming_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("expectedLen");

    QTest::newRow("three trailing zero bytes dropped")
        << QByteArray::fromHex("0102030405060708090a0b000000") << 11;
    QTest::newRow("all-zero payload keeps one byte") << QByteArray(14, '\0') << 1;
    QTest::newRow("zero inside the payload kept") << QByteArray::fromHex("00000001") << 4;
    QTest::newRow("full 255 bytes") << QByteArray(255, '\x01') << 255;
}

void TestEncoder::trimming()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, expectedLen);

    mavlink_message_t msg{};
    msg.msgid = 0x123456;
    std::memcpy(msg.payload, payload.constData(), std::size_t(payload.size()));
    mavlink_status_t tx{};
    const std::uint16_t length = mavlink_finalize_message_buffer(
        &msg, 7, 8, &tx, 0, static_cast<std::uint8_t>(payload.size()), 0);
    QCOMPARE(int(length), expectedLen + 12);
    QCOMPARE(int(msg.len), expectedLen);

    const QByteArray frame = sendBuffer(msg);
    QCOMPARE(frame.size(), expectedLen + 12);
    QCOMPARE(frame.mid(10, expectedLen), payload.left(expectedLen));

    // The CRC covers the trimmed bytes only: the parser takes the frame as intact.
    mavlink_get_channel_status()->parse_state = MAVLINK_PARSE_STATE_IDLE;
    mavlink_message_t in{};
    int ok = 0;
    for (char b : frame)
        ok += mavlink_parse_char(static_cast<std::uint8_t>(b), &in) == MAVLINK_FRAMING_OK;
    QCOMPARE(ok, 1);
    QCOMPARE(in.msgid, std::uint32_t(0x123456));
    QCOMPARE(in.sysid, std::uint8_t(7));
    QCOMPARE(in.compid, std::uint8_t(8));
}

void TestEncoder::sequenceWrapsAt256()
{
    mavlink_get_channel_status()->current_tx_seq = 0;
    for (int i = 0; i < 257; ++i) {
        mavlink_message_t msg{};
        QCOMPARE(mavlink_msg_gimbal_control_pack(0, 0, &msg, 1, 1, 0.5f, 0.25f, -1.0f),
                 std::uint16_t(26));
        QCOMPARE(int(static_cast<std::uint8_t>(sendBuffer(msg).at(4))), i % 256);
    }
    QCOMPARE(int(mavlink_get_channel_status()->current_tx_seq), 1);
}

QTEST_APPLESS_MAIN(TestEncoder)
#include "tst_encoder.moc"
