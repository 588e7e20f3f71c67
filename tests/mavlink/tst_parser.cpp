// The frame parser against the published heartbeat vectors, the restart and abandon rules, and
// round trips through the encoder for every message in the table.
#include "encoder.h"
#include "frames.h"
#include "message_table.h"
#include "messages.h"
#include "parser.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {
const QByteArray heartbeat1 = QByteArray::fromHex("fe0907010100"
                                                  "00000000000000"
                                                  "0403"
                                                  "cd71");
const QByteArray heartbeat2 = QByteArray::fromHex("fd090000070101000000"
                                                  "00000000000000"
                                                  "0403"
                                                  "9370");
const QByteArray heartbeatTrimmed = QByteArray::fromHex("fd080000070101000000"
                                                        "00000000000000"
                                                        "04"
                                                        "9cd4");
const QByteArray heartbeatPayload = QByteArray::fromHex("000000000000000403");

QByteArray signature()
{
    return QByteArray::fromHex("0102030405060708090a0b0c0d");
}

QByteArray withByte(QByteArray bytes, int index, char value)
{
    bytes[index < 0 ? bytes.size() + index : index] = value;
    return bytes;
}

// The link's receiver is process-wide; each case starts it between frames.
void restartReceiver()
{
    mavlink_get_channel_status()->parse_state = MAVLINK_PARSE_STATE_IDLE;
}

QVector<mavlink_message_t> feed(const QByteArray &bytes)
{
    QVector<mavlink_message_t> out;
    mavlink_message_t msg;
    for (char b : bytes) {
        if (mavlink_parse_char(static_cast<std::uint8_t>(b), &msg) == MAVLINK_FRAMING_OK)
            out.append(msg);
    }
    return out;
}

QVector<mavlink_message_t> parse(const QByteArray &bytes)
{
    restartReceiver();
    return feed(bytes);
}

QByteArray payloadOf(const mavlink_message_t &msg, int n)
{
    return QByteArray(reinterpret_cast<const char *>(msg.payload), n);
}

// Everything a frame defines: header, CRC, payload with its zero fill, signature if signed.
// Bytes beyond that are leftovers of earlier frames.
bool sameMessage(const mavlink_message_t &a, const mavlink_message_t &b)
{
    const int offset = offsetof(mavlink_message_t, payload);
    if (std::memcmp(&a, &b, offset) != 0 || std::memcmp(a.ck, b.ck, 2) != 0)
        return false;
    const mavlink_msg_entry_t *entry = mavlink_get_msg_entry(a.msgid);
    const int defined = qMax(int(a.len), entry ? int(entry->max_msg_len) : 0);
    if (payloadOf(a, defined) != payloadOf(b, defined))
        return false;
    return !(a.incompat_flags & MAVLINK_IFLAG_SIGNED) ||
           std::memcmp(a.signature, b.signature, sizeof a.signature) == 0;
}

std::uint16_t bitwiseCrcStep(std::uint8_t byte, std::uint16_t crc)
{
    std::uint8_t tmp = byte ^ static_cast<std::uint8_t>(crc & 0xFF);
    tmp ^= static_cast<std::uint8_t>(tmp << 4);
    return static_cast<std::uint16_t>((crc >> 8) ^ (tmp << 8) ^ (tmp << 3) ^ (tmp >> 4));
}

// Frames of random ids, lengths and versions, some signed, some damaged by a bit flip or cut
// short, with noise between them.
QByteArray randomStream(quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray stream;
    for (int i = 0; i < 40; ++i) {
        const std::uint32_t id =
            random.bounded(2)
                ? mavlink_msg_entries()[random.bounded(int(mavlink_msg_entry_count()))].msgid
                : random.bounded(1u << 24);
        QByteArray payload(random.bounded(256), '\0');
        for (char &b : payload)
            b = char(random.bounded(256));
        const bool isSigned = random.bounded(5) == 0;
        QByteArray frame = id < 256 && random.bounded(3) == 0
                               ? frames::v1(std::uint8_t(id), payload)
                               : frames::v2(id, payload, isSigned ? MAVLINK_IFLAG_SIGNED : 0) +
                                     (isSigned ? signature() : QByteArray());
        if (random.bounded(8) == 0) {
            const int at = random.bounded(frame.size());
            frame[at] = char(frame.at(at) ^ (1 << random.bounded(8)));
        } else if (random.bounded(8) == 0) {
            frame.truncate(random.bounded(frame.size()));
        }
        stream += frame;
        for (int n = random.bounded(4); n > 0; --n)
            stream += char(random.bounded(256));
    }
    return stream;
}

// A receive channel of its own and how each frame on it ended: the offset of its last byte and
// the result, for good frames and bad-CRC drops alike.
struct Channel
{
    mavlink_message_t rx{};
    // The transmit sequence, which no receiving may touch.
    mavlink_status_t status{MAVLINK_PARSE_STATE_UNINIT, 0, 0xA5, 0, 0};
    QList<QPair<int, int>> ends;
    QVector<mavlink_message_t> frames;

    void end(int at, std::uint8_t result, const mavlink_message_t &msg)
    {
        ends.append({at, result});
        if (result == MAVLINK_FRAMING_OK)
            frames.append(msg);
    }

    // The reference: the byte parser with the link's restart rule.
    void byteByByte(const QByteArray &stream, int from, int to)
    {
        mavlink_message_t msg;
        for (int i = from; i < to; ++i) {
            const auto c = static_cast<std::uint8_t>(stream.at(i));
            const std::uint8_t r = mavlink_frame_char_buffer(&rx, &status, c, &msg);
            if (r == MAVLINK_FRAMING_BAD_CRC) {
                status.parse_state = MAVLINK_PARSE_STATE_IDLE;
                if (c == MAVLINK_STX)
                    mavlink_frame_char_buffer(&rx, &status, c, &msg);
            }
            if (r != MAVLINK_FRAMING_INCOMPLETE)
                end(i, r, msg);
        }
    }

    void inChunks(const QByteArray &stream, int from, int to)
    {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(stream.constData());
        mavlink_message_t msg;
        while (from < to) {
            std::uint8_t r;
            const auto n = int(
                mavlink_frame_chunk(&rx, &status, bytes + from, std::size_t(to - from), &msg, &r));
            QVERIFY(n > 0 && n <= to - from);
            QVERIFY(r != MAVLINK_FRAMING_INCOMPLETE || n == to - from);
            from += n;
            if (r != MAVLINK_FRAMING_INCOMPLETE)
                end(from - 1, r, msg);
        }
    }

    bool operator==(const Channel &o) const
    {
        return ends == o.ends &&
               std::equal(frames.begin(), frames.end(), o.frames.begin(), o.frames.end(),
                          sameMessage) &&
               std::memcmp(&status, &o.status, sizeof status) == 0;
    }
};
} // namespace

class TestParser : public QObject
{
    Q_OBJECT

private slots:
    void crcCheckValue();
    void crcMatchesBitwiseStep();
    void uninitBehavesAsIdle();
    void delivers_data();
    void delivers();
    void heartbeatFieldsInBothVersions();
    void shortPayloadReadsZeros_data();
    void shortPayloadReadsZeros();
    void longPayloadDeliveredWhole();
    void signedFrameCompletesWithSignature();
    void streamCutAnywhereGivesSameMessages();
    void roundTripEveryTableId();
    void chunksMatchByteParser_data();
    void chunksMatchByteParser();
};

void TestParser::crcCheckValue()
{
    // Check value of CRC-16/MCRF4XX.
    std::uint16_t crc = MAVLINK_CRC_SEED;
    for (char c : QByteArray("123456789"))
        crc = crc_accumulate(static_cast<std::uint8_t>(c), crc);
    QCOMPARE(crc, std::uint16_t(0x6F91));
}

void TestParser::crcMatchesBitwiseStep()
{
    for (int crc = 0; crc <= 0xFFFF; crc += 0x0101) {
        for (int byte = 0; byte < 256; ++byte) {
            const auto b = static_cast<std::uint8_t>(byte);
            const auto c = static_cast<std::uint16_t>(crc);
            QCOMPARE(crc_accumulate(b, c), bitwiseCrcStep(b, c));
        }
    }
}

void TestParser::uninitBehavesAsIdle()
{
    mavlink_message_t rx{};
    mavlink_message_t out{};
    mavlink_status_t status{};
    QCOMPARE(status.parse_state, MAVLINK_PARSE_STATE_UNINIT);
    int ok = 0;
    for (char b : heartbeat1) {
        if (mavlink_frame_char_buffer(&rx, &status, static_cast<std::uint8_t>(b), &out) ==
            MAVLINK_FRAMING_OK)
            ++ok;
    }
    QCOMPARE(ok, 1);
    QCOMPARE(payloadOf(out, 9), heartbeatPayload);
}

void TestParser::delivers_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QList<int>>("lens");

    const QByteArray nine = heartbeatPayload;
    const QByteArray signedGood = frames::v2(0, nine, MAVLINK_IFLAG_SIGNED) + signature();
    QByteArray signedBad = frames::v2(0, nine, MAVLINK_IFLAG_SIGNED);
    signedBad[signedBad.size() - 1] = char(signedBad.at(signedBad.size() - 1) ^ 0x55);

    QTest::newRow("heartbeat as MAVLink 1") << heartbeat1 << QList<int>{0} << QList<int>{9};
    QTest::newRow("heartbeat as MAVLink 2") << heartbeat2 << QList<int>{0} << QList<int>{9};
    QTest::newRow("heartbeat trimmed by its sender")
        << heartbeatTrimmed << QList<int>{0} << QList<int>{8};
    QTest::newRow("MAVLink 1 then 2")
        << heartbeat1 + heartbeat2 << QList<int>{0, 0} << QList<int>{9, 9};
    QTest::newRow("MAVLink 2 then 1")
        << heartbeat2 + heartbeat1 << QList<int>{0, 0} << QList<int>{9, 9};
    QTest::newRow("noise between frames dropped")
        << QByteArray::fromHex("00ff7f") + heartbeat2 + QByteArray::fromHex("fc01") + heartbeat1
        << QList<int>{0, 0} << QList<int>{9, 9};
    QTest::newRow("zero-length frame of a known id")
        << frames::v2(1, {}) << QList<int>{1} << QList<int>{0};
    QTest::newRow("zero-length MAVLink 1 frame")
        << frames::v1(2, {}) << QList<int>{2} << QList<int>{0};
    QTest::newRow("incompat flag 0x02 abandons the frame")
        << frames::v2(0, nine, 0x02) << QList<int>{} << QList<int>{};
    // 0xFE in the incompat position is consumed, so the MAVLink 1 frame it would start is lost.
    QTest::newRow("abandoning byte is not a start byte")
        << QByteArray::fromHex("fd09") + heartbeat1 << QList<int>{} << QList<int>{};
    QTest::newRow("unknown id with crc_extra 0")
        << frames::v2(201, QByteArray(14, '\x11')) << QList<int>{201} << QList<int>{14};
    QTest::newRow("unknown id with another crc_extra")
        << frames::withCrc(frames::v2(201, QByteArray(14, '\x11')).chopped(2), 205) << QList<int>{}
        << QList<int>{};
    QTest::newRow("wrong first CRC byte, then a good frame")
        << withByte(heartbeat2, -2, '\x00') + heartbeat2 << QList<int>{0} << QList<int>{9};
    QTest::newRow("bad CRC ending in 0xFD starts the next frame")
        << withByte(heartbeat2, -1, '\xfd') + heartbeat2.mid(1) << QList<int>{0} << QList<int>{9};
    QTest::newRow("bad CRC ending in 0xFE starts nothing")
        << withByte(heartbeat2, -1, '\xfe') + heartbeat1.mid(1) << QList<int>{} << QList<int>{};
    QTest::newRow("signed frame") << signedGood << QList<int>{0} << QList<int>{9};
    QTest::newRow("signed frame with bad CRC: signature bytes scanned again")
        << signedBad + heartbeat2 << QList<int>{0} << QList<int>{9};
    // The short frame takes the next frame's start byte as its last CRC byte.
    QTest::newRow("lost byte costs the next MAVLink 1 frame")
        << heartbeat2.left(5) + heartbeat2.mid(6) + heartbeat1 + heartbeat2 << QList<int>{0}
        << QList<int>{9};
    QTest::newRow("lost byte before a MAVLink 2 frame costs nothing more")
        << heartbeat2.left(5) + heartbeat2.mid(6) + heartbeat2 << QList<int>{0} << QList<int>{9};
}

void TestParser::delivers()
{
    QFETCH(QByteArray, stream);
    QFETCH(QList<int>, ids);
    QFETCH(QList<int>, lens);

    const QVector<mavlink_message_t> got = parse(stream);
    QList<int> gotIds;
    QList<int> gotLens;
    for (const mavlink_message_t &m : got) {
        gotIds << int(m.msgid);
        gotLens << m.len;
    }
    QCOMPARE(gotIds, ids);
    QCOMPARE(gotLens, lens);
}

void TestParser::heartbeatFieldsInBothVersions()
{
    for (const QByteArray &frame : {heartbeat1, heartbeat2}) {
        const QVector<mavlink_message_t> got = parse(frame);
        QCOMPARE(got.size(), 1);
        const mavlink_message_t &m = got.first();
        QCOMPARE(payloadOf(m, 9), heartbeatPayload);
        QCOMPARE(m.seq, std::uint8_t(7));
        QCOMPARE(m.sysid, std::uint8_t(1));
        QCOMPARE(m.compid, std::uint8_t(1));
        QCOMPARE(m.magic, std::uint8_t(frame.at(0)));
        const mavlink_heartbeat_t hb = mavlink_msg_heartbeat_decode(&m);
        QCOMPARE(hb.system_status, std::uint8_t(4));
        QCOMPARE(hb.mavlink_version, std::uint8_t(3));
    }
}

void TestParser::shortPayloadReadsZeros_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("maxLen");

    QTest::newRow("trimmed heartbeat") << heartbeatTrimmed << 9;
    QTest::newRow("zero-length frame of a known id") << frames::v2(1, {}) << 31;
    QTest::newRow("report with only its base fields")
        << frames::v2(200, QByteArray(42, '\x22')) << 134;
    QTest::newRow("MAVLink 1 report, 10 bytes") << frames::v1(200, QByteArray(10, '\x33')) << 134;
}

void TestParser::shortPayloadReadsZeros()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, maxLen);

    // An earlier long frame leaves non-zero bytes behind in the receive record.
    const QVector<mavlink_message_t> got = parse(frames::v2(3, QByteArray(255, '\x7f')) + frame);
    QCOMPARE(got.size(), 2);
    const mavlink_message_t &m = got.last();
    const QByteArray sent = frame.mid(m.magic == MAVLINK_STX ? 10 : 6, m.len);
    QCOMPARE(payloadOf(m, m.len), sent);
    QCOMPARE(payloadOf(m, maxLen).mid(m.len), QByteArray(maxLen - m.len, '\0'));
}

void TestParser::longPayloadDeliveredWhole()
{
    QByteArray payload(200, '\0');
    for (int i = 0; i < payload.size(); ++i)
        payload[i] = char(i + 1);
    const QVector<mavlink_message_t> got = parse(frames::v2(200, payload));
    QCOMPARE(got.size(), 1);
    QCOMPARE(got.first().len, std::uint8_t(200));
    QCOMPARE(payloadOf(got.first(), 200), payload);
}

void TestParser::signedFrameCompletesWithSignature()
{
    const QByteArray frame = frames::v2(0, heartbeatPayload, MAVLINK_IFLAG_SIGNED) + signature();
    restartReceiver();
    mavlink_message_t msg{};
    for (int i = 0; i < frame.size(); ++i) {
        const std::uint8_t r = mavlink_parse_char(static_cast<std::uint8_t>(frame.at(i)), &msg);
        QCOMPARE(r, std::uint8_t(i == frame.size() - 1 ? MAVLINK_FRAMING_OK
                                                       : MAVLINK_FRAMING_INCOMPLETE));
    }
    QCOMPARE(msg.incompat_flags, MAVLINK_IFLAG_SIGNED);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(msg.signature), 13), signature());
}

void TestParser::streamCutAnywhereGivesSameMessages()
{
    const QByteArray stream = QByteArray::fromHex("0102") + heartbeat1 +
                              frames::v2(0, heartbeatPayload, MAVLINK_IFLAG_SIGNED) + signature() +
                              frames::v2(200, QByteArray(42, '\x44')) + QByteArray::fromHex("fc") +
                              heartbeatTrimmed + frames::v1(1, QByteArray(31, '\x05')) + heartbeat2;
    const QVector<mavlink_message_t> whole = parse(stream);
    QCOMPARE(whole.size(), 6);

    for (int cut = 0; cut <= stream.size(); ++cut) {
        restartReceiver();
        QVector<mavlink_message_t> got = feed(stream.left(cut));
        got += feed(stream.mid(cut));
        QCOMPARE(got.size(), whole.size());
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(sameMessage(got[i], whole[i]), qPrintable(QString("cut at %1").arg(cut)));
    }
}

void TestParser::roundTripEveryTableId()
{
    QRandomGenerator random(20261207);
    const mavlink_msg_entry_t *entries = mavlink_msg_entries();
    for (std::size_t row = 0; row < mavlink_msg_entry_count(); ++row) {
        const mavlink_msg_entry_t &entry = entries[row];
        for (int round = 0; round < 4; ++round) {
            mavlink_message_t out{};
            out.msgid = entry.msgid;
            const int length = 1 + random.bounded(int(entry.max_msg_len));
            for (int i = 0; i < length; ++i)
                out.payload[i] = static_cast<std::uint8_t>(random.bounded(256));
            mavlink_status_t tx{};
            mavlink_finalize_message_buffer(&out, 1, 1, &tx, entry.min_msg_len,
                                            static_cast<std::uint8_t>(length), entry.crc_extra);
            std::uint8_t buf[MAVLINK_MAX_PACKET_LEN];
            const std::uint16_t n = mavlink_msg_to_send_buffer(buf, &out);

            const QVector<mavlink_message_t> got =
                parse(QByteArray(reinterpret_cast<const char *>(buf), n));
            QVERIFY2(got.size() == 1, qPrintable(QString("id %1").arg(entry.msgid)));
            const mavlink_message_t &in = got.first();
            QCOMPARE(in.msgid, entry.msgid);
            QCOMPARE(in.len, out.len);
            QCOMPARE(payloadOf(in, in.len), payloadOf(out, out.len));
            QCOMPARE(payloadOf(in, entry.max_msg_len).mid(in.len),
                     QByteArray(entry.max_msg_len - in.len, '\0'));
        }
    }
}

void TestParser::chunksMatchByteParser_data()
{
    QTest::addColumn<QByteArray>("stream");

    const QByteArray nine = heartbeatPayload;
    QByteArray signedBad = frames::v2(0, nine, MAVLINK_IFLAG_SIGNED);
    signedBad[signedBad.size() - 1] = char(signedBad.at(signedBad.size() - 1) ^ 0x55);

    QTest::newRow("both versions, a trimmed frame, noise")
        << QByteArray::fromHex("00fc") + heartbeat1 + heartbeat2 + heartbeatTrimmed;
    QTest::newRow("zero-length payloads, zero fill after a long frame")
        << frames::v2(3, QByteArray(255, '\x7f')) + frames::v2(1, {}) + frames::v1(2, {}) +
               frames::v2(200, QByteArray(42, '\x22'));
    QTest::newRow("unknown ids: crc_extra 0 delivered, another dropped")
        << frames::v2(201, QByteArray(14, '\x11')) +
               frames::withCrc(frames::v2(201, QByteArray(14, '\x11')).chopped(2), 205) +
               heartbeat2;
    QTest::newRow("incompat flags abandon frames, the abandoning byte starts nothing")
        << frames::v2(0, nine, 0x02) + QByteArray::fromHex("fd09") + heartbeat1 + heartbeat2 +
               QByteArray::fromHex("fd0902fd");
    QTest::newRow("signed frame, then one with a bad CRC whose signature starts a frame")
        << frames::v2(0, nine, MAVLINK_IFLAG_SIGNED) + signature() + signedBad +
               withByte(signature(), 0, '\xfe') + heartbeat2;
    QTest::newRow("bad CRCs ending in 0xFD and 0xFE, a wrong first CRC byte")
        << withByte(heartbeat2, -1, '\xfd') + heartbeat2.mid(1) + withByte(heartbeat2, -1, '\xfe') +
               heartbeat1.mid(1) + withByte(heartbeat2, -2, '\0') + heartbeat2;
    QTest::newRow("lost byte costs the next frame")
        << heartbeat2.left(5) + heartbeat2.mid(6) + heartbeat1 + heartbeat2;
    for (quint32 seed : {1u, 2u, 3u})
        QTest::addRow("random frames, damage and noise, seed %u", seed) << randomStream(seed);
}

void TestParser::chunksMatchByteParser()
{
    QFETCH(QByteArray, stream);

    Channel reference;
    reference.byteByByte(stream, 0, stream.size());
    QVERIFY(!reference.frames.isEmpty());

    for (int size : {1, 2, 7, 64, int(stream.size())}) {
        for (bool mixed : {false, true}) {
            Channel chunked;
            for (int at = 0; at < stream.size(); at += size) {
                const int to = qMin(at + size, int(stream.size()));
                if (mixed && at / size % 3 == 1)
                    chunked.byteByByte(stream, at, to);
                else
                    chunked.inChunks(stream, at, to);
            }
            QVERIFY2(chunked == reference,
                     qPrintable(QString("chunks of %1%2")
                                    .arg(size)
                                    .arg(mixed ? ", every third piece byte by byte" : "")));
        }
    }
}

QTEST_APPLESS_MAIN(TestParser)
#include "tst_parser.moc"
