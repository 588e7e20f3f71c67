// Reading telemetry logs back: every frame with its time in both byte orders, noise skipped, a
// file cut short, files that are no log refused, and seeking through the index in a log of
// several megabytes, also while the index is being built.
#include "englishmessages.h"
#include "sampleframes.h"
#include "tlogentry.h"
#include "tlogindex.h"
#include "tlogreader.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <algorithm>

namespace {
// A log as written, and what a reader must find in it.
struct Log
{
    bool little = false;
    QByteArray bytes;
    QVector<std::uint64_t> times;
    QVector<QByteArray> frames;
    QVector<std::uint32_t> ids;
    qint64 noise = 0;

    Log &entry(std::uint64_t time, const QByteArray &frame, std::uint32_t id)
    {
        bytes += little ? stamp(time, true) + frame : tlog::entry(time, frame);
        times.append(time);
        frames.append(frame);
        ids.append(id);
        return *this;
    }
    // `count` entries 20 ms apart, known frames with one of an unknown id after every fourth;
    // the writer that numbers its links stores the link in the lowest two bits.
    Log &entries(int count, bool linkBits = false)
    {
        for (int i = 0; i < count; ++i) {
            const std::uint64_t time = sampleframes::StartUs + 20000u * times.size();
            const bool unknown = i % 5 == 4;
            entry(linkBits ? (time & ~3ULL) | (i % 4) : time,
                  unknown ? sampleframes::unknown() : sampleframes::known(i),
                  unknown ? sampleframes::UnknownId : sampleframes::knownId(i));
        }
        return *this;
    }
    Log &skipped(const QByteArray &junk)
    {
        bytes += junk;
        noise += junk.size();
        return *this;
    }
    static QByteArray stamp(std::uint64_t time, bool little)
    {
        QByteArray bytes(8, 0);
        if (little)
            qToLittleEndian<quint64>(time, bytes.data());
        else
            qToBigEndian<quint64>(time, bytes.data());
        return bytes;
    }
};

Log littleEndian()
{
    Log log;
    log.little = true;
    return log;
}

QByteArray bigEndianTime(std::uint64_t time)
{
    return Log::stamp(time, false);
}

QString written(QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}
} // namespace

Q_DECLARE_METATYPE(Log)

class TestTlogReader : public QObject
{
    Q_OBJECT

private slots:
    void readsBack_data();
    void readsBack();
    void refusesWhatIsNoLog_data();
    void refusesWhatIsNoLog();
    void seeks_data();
    void seeks();

private:
    QTemporaryDir m_dir;
};

void TestTlogReader::readsBack_data()
{
    QTest::addColumn<Log>("log");
    QTest::addColumn<int>("cutBytes");

    const QByteArray status = sampleframes::attitudeStatus(1);
    QByteArray badChecksum = status;
    badChecksum[12] = static_cast<char>(badChecksum.at(12) ^ 0x40);
    const std::uint64_t later = sampleframes::StartUs + 3600000000ULL;
    const QByteArray noise = QByteArray::fromHex("00fdfe13fe") + bigEndianTime(later) + "\xfd\x05" +
                             bigEndianTime(later) + badChecksum + status;

    QTest::newRow("every kind of frame with its time, in order") << Log().entries(30) << 0;
    QTest::newRow("little-endian times") << littleEndian().entries(30) << 0;
    QTest::newRow("link numbers in the lowest bits") << Log().entries(30, true) << 0;
    QTest::newRow("link numbers in the lowest bits, little-endian")
        << littleEndian().entries(30, true) << 0;
    QTest::newRow("noise, frames without a time and broken frames between entries")
        << Log().entries(3).skipped(noise).entries(3).skipped(noise).entries(3) << 0;
    QTest::newRow("noise before the first entry") << Log().skipped(noise).entries(10) << 0;
    QTest::newRow("noise after a frame of an unknown id: taken for noise")
        << Log()
               .entries(4)
               .skipped(bigEndianTime(later) + sampleframes::unknown() + "\x11")
               .entries(3)
        << 0;
    QTest::newRow("cut in the middle of a frame") << Log().entries(10) << 20;
    QTest::newRow("cut in the middle of a time") << Log().entries(10) << 5;
    QTest::newRow("noise, then a cut at the end")
        << Log().entries(9).skipped(noise).entries(1) << 25;
}

void TestTlogReader::readsBack()
{
    QFETCH(Log, log);
    QFETCH(int, cutBytes);

    const QByteArray tail = Log().entries(1).bytes.left(cutBytes);
    TlogReader reader;
    QVERIFY2(reader.open(written(m_dir, "log.tlog", log.bytes + tail)),
             qPrintable(reader.errorString()));
    QCOMPARE(reader.byteOrder(),
             log.little ? TlogReader::ByteOrder::LittleEndian : TlogReader::ByteOrder::BigEndian);
    QCOMPARE(reader.cutShort(), cutBytes > 0);
    QCOMPARE(reader.firstTime(), log.times.first());
    QCOMPARE(reader.lastTime(), log.times.last());

    Log read;
    TlogEntry entry;
    while (reader.next(entry)) {
        read.entry(entry.timeUs, entry.frame, entry.message.msgid);
        QCOMPARE(entry.checked, entry.message.msgid != sampleframes::UnknownId);
    }
    QCOMPARE(read.frames, log.frames);
    QCOMPARE(read.times, log.times);
    QCOMPARE(read.ids, log.ids);
    QCOMPARE(reader.skippedBytes(), log.noise);
}

void TestTlogReader::refusesWhatIsNoLog_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QByteArray stream;
    for (int i = 0; i < 500; ++i)
        stream += sampleframes::known(i);
    QTest::newRow("an empty file") << QByteArray();
    QTest::newRow("frames without times") << stream;
    QTest::newRow("a CSV recording")
        << QByteArray("time_us,kind,sysid\n12,report,1\n").repeated(4000);
    QTest::newRow("a log after 64 KiB of noise")
        << QByteArray(64 * 1024, '\xfd') + Log().entries(10).bytes;
}

void TestTlogReader::refusesWhatIsNoLog()
{
    QFETCH(QByteArray, bytes);

    englishMessages();
    TlogReader reader;
    QVERIFY(!reader.open(written(m_dir, "other.tlog", bytes)));
    QCOMPARE(
        reader.errorString(),
        QStringLiteral("Not a telemetry log: no MAVLink frame with a time in its first 64 KiB"));
}

namespace {
// About 80,000 entries over five megabytes: bursts of a thousand entries 10 us apart, a thousand
// 1 ms apart, and a gap of a minute in the middle.
const Log &bigLog()
{
    static const Log log = [] {
        Log log;
        std::uint64_t time = sampleframes::StartUs;
        for (int i = 0; i < 80000; ++i) {
            time += (i % 2000 < 1000 ? 10 : 1000) + (i == 40000 ? 60000000 : 0);
            log.entry(time, sampleframes::known(i), sampleframes::knownId(i));
        }
        return log;
    }();
    return log;
}
} // namespace

void TestTlogReader::seeks_data()
{
    QTest::addColumn<quint64>("time");
    QTest::addColumn<bool>("indexed");

    const quint64 start = sampleframes::StartUs;
    const quint64 last = bigLog().times.last();
    QTest::newRow("before the first entry") << start - 5 << true;
    QTest::newRow("between two entries 1 ms apart") << start + 1500123 << true;
    QTest::newRow("in a burst of entries 10 us apart") << start + 5055005 << true;
    QTest::newRow("in the gap of a minute") << start + 50000000 << true;
    QTest::newRow("the last entry") << last << true;
    QTest::newRow("after the last entry") << last + 1 << true;
    QTest::newRow("the last entry while the index is built") << last << false;
    QTest::newRow("the middle while the index is built") << start + 20000000 << false;
}

void TestTlogReader::seeks()
{
    QFETCH(quint64, time);
    QFETCH(bool, indexed);

    static const QString path = written(m_dir, "big.tlog", bigLog().bytes);
    TlogIndex index;
    QSignalSpy complete(&index, &TlogIndex::completeChanged);
    QVERIFY(complete.isValid());
    index.build(path);
    if (indexed)
        QVERIFY(complete.wait(20000));
    TlogReader reader;
    QVERIFY(reader.open(path));
    reader.seek(time, index);

    const QVector<std::uint64_t> &times = bigLog().times;
    const int at = int(std::lower_bound(times.cbegin(), times.cend(), time) - times.cbegin());
    TlogEntry entry;
    QCOMPARE(reader.next(entry), at < times.size());
    if (at < times.size()) {
        QCOMPARE(entry.timeUs, times.at(at));
        QCOMPARE(entry.frame, bigLog().frames.at(at));
    }
    // The index point before the time is at most one step before the entry.
    if (indexed) {
        reader.setOffset(index.offsetBefore(time));
        int before = 0;
        while (reader.next(entry) && entry.timeUs < time)
            ++before;
        QVERIFY2(before <= TlogIndex::StepEntries, qPrintable(QString::number(before)));
    }
}

QTEST_GUILESS_MAIN(TestTlogReader)
#include "tst_tlogreader.moc"
