// The message table lookup and the decoders of the two messages the gimbal sends.
#include "message_table.h"
#include "messages.h"

#include <QtTest>

#include <cstring>

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void everyRowFoundAndSorted();
    void reportDecode_data();
    void reportDecode();
    void heartbeatTrimmedToSevenBytes();
};

void TestMessages::lookup_data()
{
    QTest::addColumn<int>("msgid");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("crcExtra");
    QTest::addColumn<int>("maxLen");

    QTest::newRow("first row") << 0 << true << 50 << 9;
    QTest::newRow("gimbal report") << 200 << true << 134 << 134;
    QTest::newRow("last row") << 361 << true << -1 << -1;
    QTest::newRow("ping, with target fields") << 4 << true << 237 << 14;
    QTest::newRow("extended lengths") << 24 << true << 24 << 50;
    QTest::newRow("gap after 2") << 3 << false << 0 << 0;
    QTest::newRow("gap at 145") << 145 << false << 0 << 0;
    QTest::newRow("gimbal control has no row") << 201 << false << 0 << 0;
    QTest::newRow("255 in the gap above 254") << 255 << false << 0 << 0;
    QTest::newRow("above the last row") << 362 << false << 0 << 0;
    QTest::newRow("largest 24-bit id") << 0xFFFFFF << false << 0 << 0;
}

void TestMessages::lookup()
{
    QFETCH(int, msgid);
    QFETCH(bool, found);
    QFETCH(int, crcExtra);
    QFETCH(int, maxLen);

    const mavlink_msg_entry_t *entry = mavlink_get_msg_entry(std::uint32_t(msgid));
    QCOMPARE(entry != nullptr, found);
    if (!entry)
        return;
    QCOMPARE(int(entry->msgid), msgid);
    if (crcExtra >= 0) {
        QCOMPARE(int(entry->crc_extra), crcExtra);
        QCOMPARE(int(entry->max_msg_len), maxLen);
    }
}

void TestMessages::everyRowFoundAndSorted()
{
    QCOMPARE(mavlink_msg_entry_count(), std::size_t(179));
    const mavlink_msg_entry_t *entries = mavlink_msg_entries();
    for (std::size_t i = 0; i < mavlink_msg_entry_count(); ++i) {
        if (i > 0)
            QVERIFY(entries[i - 1].msgid < entries[i].msgid);
        QCOMPARE(mavlink_get_msg_entry(entries[i].msgid), &entries[i]);
        QVERIFY(entries[i].min_msg_len <= entries[i].max_msg_len);
    }
}

void TestMessages::reportDecode_data()
{
    QTest::addColumn<int>("len");
    QTest::addColumn<float>("roll");
    QTest::addColumn<float>("el");
    QTest::addColumn<float>("az");

    // Roll is pi/2 (bits 0x3FC90FDB); cut after byte 29 only its low half 0x0FDB is left.
    const std::uint32_t lowHalfBits = 0x0FDB;
    float lowHalf = 0;
    std::memcpy(&lowHalf, &lowHalfBits, sizeof lowHalf);
    QTest::newRow("base fields only") << 42 << 1.5707964f << -2.25f << 90.0f;
    QTest::newRow("extension bytes ignored") << 134 << 1.5707964f << -2.25f << 90.0f;
    QTest::newRow("30 bytes: low half of roll, the rest zero") << 30 << lowHalf << 0.0f << 0.0f;
    QTest::newRow("34 bytes: el and az zero") << 34 << 1.5707964f << 0.0f << 0.0f;
    QTest::newRow("empty payload") << 0 << 0.0f << 0.0f << 0.0f;
}

void TestMessages::reportDecode()
{
    QFETCH(int, len);
    QFETCH(float, roll);
    QFETCH(float, el);
    QFETCH(float, az);

    mavlink_message_t msg{};
    std::memset(msg.payload, 0xFF, sizeof msg.payload);
    const float joints[3] = {1.5707964f, -2.25f, 90.0f};
    std::memcpy(msg.payload + 28, joints, sizeof joints);
    msg.msgid = MAVLINK_MSG_ID_GIMBAL_REPORT;
    msg.len = static_cast<std::uint8_t>(len);

    const mavlink_gimbal_report_t report = mavlink_msg_gimbal_report_decode(&msg);
    QCOMPARE(report.joint_roll, roll);
    QCOMPARE(report.joint_el, el);
    QCOMPARE(report.joint_az, az);
    QCOMPARE(int(report.target_component), len >= 42 ? 0xFF : 0);
}

void TestMessages::heartbeatTrimmedToSevenBytes()
{
    mavlink_message_t msg{};
    std::memset(msg.payload, 0x04, sizeof msg.payload);
    msg.len = 7;
    const mavlink_heartbeat_t hb = mavlink_msg_heartbeat_decode(&msg);
    QCOMPARE(hb.base_mode, std::uint8_t(4));
    QCOMPARE(hb.system_status, std::uint8_t(0));
    QCOMPARE(hb.mavlink_version, std::uint8_t(0));
}

QTEST_APPLESS_MAIN(TestMessages)
#include "tst_messages.moc"
