// Telemetry logs: reading them back (every frame with its time in both byte orders, noise
// skipped, a file cut short where the record writer cuts too, files that are no log refused),
// seeking through the index in a log of several megabytes, also while the index is being built,
// the replay's clock, and the tool's log read by node-mavlink, a MAVLink library independent of
// the tool. That check runs alone (CTest's tlog_node) and exits with 77, which CTest counts as
// skipped, where node is not installed or node-mavlink could not be installed (no registry).
#include "replayclock.h"
#include "sampleframes.h"
#include "tlogentry.h"
#include "tlogindex.h"
#include "tlogreader.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A log as written, and what a reader must find in it.
struct Log
{
    explicit Log(bool littleEndian = false) : little(littleEndian) {}

    bool little;
    QByteArray bytes;
    QVector<std::uint64_t> times;
    QVector<QByteArray> frames;
    qint64 noise = 0;
    std::uint64_t clock = sampleframes::StartUs;

    Log &entry(std::uint64_t time, const QByteArray &frame)
    {
        QByteArray littleTime(8, 0);
        qToLittleEndian<quint64>(time, littleTime.data());
        bytes += little ? littleTime + frame : tlog::entry(time, frame);
        times.append(time);
        frames.append(frame);
        return *this;
    }
    // Entries `step` us apart with, where `unknown`, a frame of an unknown id after every
    // fourth; a writer that numbers its links stores the link in the two lowest bits.
    Log &entries(int count, bool unknown = true, int step = 20000, int linkBits = 0)
    {
        for (int i = 0; i < count; ++i, clock += step)
            entry(clock | (i & linkBits), unknown && i % 5 == 4
                                              ? frames::v2(sampleframes::UnknownId, "\x01\x02")
                                              : sampleframes::known(i));
        return *this;
    }
    Log &skipped(const QByteArray &junk)
    {
        bytes += junk;
        noise += junk.size();
        return *this;
    }
};

QString written(const char *name, const QByteArray &bytes)
{
    static QTemporaryDir dir;
    QFile file(dir.filePath(QLatin1String(name)));
    const bool done = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    return done ? file.fileName() : QString();
}

// 100,000 entries 1 ms apart, over five megabytes.
const Log BigLog = Log().entries(100000, false, 1000);
} // namespace

Q_DECLARE_METATYPE(Log)

class TestTlog : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void seeks_data();
    void seeks();
    void clockRuns();
    void nodeReadsTheToolsLog();
};

void TestTlog::reads_data()
{
    QTest::addColumn<Log>("log");
    QTest::addColumn<int>("cutBytes");

    const QByteArray broken = sampleframes::known(1).replace(12, 1, "\x7f");
    const QByteArray time = Log().entries(1).bytes.left(8);
    const QByteArray noise = QByteArray::fromHex("00fdfe13") + time + "\xfd\x05" + time + broken +
                             sampleframes::known(1);

    QTest::newRow("every kind of frame with its time, in order") << Log().entries(30) << 0;
    QTest::newRow("little-endian times with link numbers in the lowest bits")
        << Log(true).entries(30, true, 20000, 3) << 0;
    QTest::newRow("noise, a frame without a time and a broken frame between entries")
        << Log().entries(3).skipped(noise).entries(3).skipped(noise).entries(3) << 0;
    QTest::newRow("noise before the first entry") << Log().skipped(noise).entries(10) << 0;
    QTest::newRow("noise after a frame of an unknown id is taken for noise")
        << Log()
               .entries(4)
               .skipped(time + frames::v2(sampleframes::UnknownId, "\x01") + "\x11")
               .entries(3)
        << 0;
    QTest::newRow("cut in the middle of a frame") << Log().entries(10) << 20;
    QTest::newRow("cut in the middle of a time") << Log().entries(10) << 5;
    QTest::newRow("noise, then a cut") << Log().entries(9).skipped(noise).entries(1) << 25;
    // Files that are no log: what they hold counts as noise, and no entry is found.
    QTest::newRow("refused: an empty file") << Log() << 0;
    QTest::newRow("refused: frames without times")
        << Log().skipped(QByteArrayList(BigLog.frames.mid(0, 500).toList()).join()) << 0;
    QTest::newRow("refused: a log after 64 KiB of noise")
        << Log().skipped(QByteArray(65536, '\xfd') + BigLog.bytes) << 0;
}

void TestTlog::reads()
{
    QFETCH(Log, log);
    QFETCH(int, cutBytes);

    const QByteArray file = log.bytes + Log().entries(1).bytes.left(cutBytes);
    TlogReader reader;
    if (log.times.isEmpty()) {
        QVERIFY(!reader.open(written("other.tlog", file)));
        QVERIFY(reader.errorString().contains(QLatin1String("64 KiB")));
        return;
    }
    QVERIFY(reader.open(written("log.tlog", file)));
    QCOMPARE(reader.cutShort(), cutBytes > 0);
    QCOMPARE(reader.firstTime(), log.times.first());
    QCOMPARE(reader.lastTime(), log.times.last());
    Log read;
    for (TlogEntry entry; reader.next(entry);) {
        read.entry(entry.timeUs, entry.frame);
        QCOMPARE(entry.checked, entry.message.msgid != sampleframes::UnknownId);
    }
    QCOMPARE(read.frames, log.frames);
    QCOMPARE(read.times, log.times);
    QCOMPARE(reader.skippedBytes(), log.noise);
    // The record writer cuts a log that the disk could not take whole at its last whole entry.
    qint64 whole = 0;
    if (!log.little && log.noise == 0) {
        QCOMPARE(tlog::wholeEntries(file.constData(), file.size(), whole), log.bytes.size() + 0LL);
        QCOMPARE(whole, qint64(log.times.size()));
    }
}

void TestTlog::seeks_data()
{
    QTest::addColumn<quint64>("time");
    QTest::addColumn<bool>("indexed");

    const quint64 start = sampleframes::StartUs;
    const quint64 last = BigLog.times.last();
    QTest::newRow("between two entries") << start + 15000123 << true;
    QTest::newRow("after the last entry") << last + 1 << true;
    QTest::newRow("the last entry while the index is built") << last << false;
    QTest::newRow("the middle while the index is built") << start + 50000000 << false;
}

void TestTlog::seeks()
{
    QFETCH(quint64, time);
    QFETCH(bool, indexed);

    static const QString path = written("big.tlog", BigLog.bytes);
    TlogIndex index;
    QSignalSpy complete(&index, &TlogIndex::completeChanged);
    index.build(path);
    QVERIFY(!indexed || complete.wait(20000));
    TlogReader reader;
    QVERIFY(reader.open(path));
    reader.seek(time, index);

    const auto at = std::lower_bound(BigLog.times.cbegin(), BigLog.times.cend(), time);
    TlogEntry entry;
    QCOMPARE(reader.next(entry), at != BigLog.times.cend());
    QCOMPARE(entry.timeUs, at != BigLog.times.cend() ? *at : entry.timeUs);
    // The index's point before the time is at most one step before the entry.
    int before = 0;
    for (reader.setOffset(index.offsetBefore(time)); reader.next(entry) && entry.timeUs < time;)
        ++before;
    QVERIFY(!indexed || before <= TlogIndex::StepEntries);
}

// What a user does: play, a faster speed, pause, as fast as it goes, a seek, and on to the end.
void TestTlog::clockRuns()
{
    constexpr quint64 First = 1772366400000000;
    constexpr qint64 Second = 1000000;
    qint64 wall = 7 * Second;
    ReplayClock clock([&wall] { return wall; });
    clock.setSpan(First, First + 220 * Second);
    clock.play();
    wall += 2 * Second - 1;
    QCOMPARE(clock.text(), QStringLiteral("00:01.9 / 03:40.0"));
    QCOMPARE(clock.wallUntil(First + 10 * Second), 8 * Second + 1);
    clock.setSpeed(16);
    wall += Second / 2;
    QCOMPARE(clock.wallUntil(First + 12 * Second), Second / 8 + 1);
    clock.pause();
    wall += Second;
    QCOMPARE(clock.position(), First + 10 * Second - 1);
    QCOMPARE(clock.wallUntil(First + 11 * Second), qint64(-1));
    clock.setSpeed(ReplayClock::Fastest);
    clock.play();
    wall += Second;
    QCOMPARE(clock.wallUntil(First + 200 * Second), qint64(0));
    clock.seek(First + 30 * Second);
    QCOMPARE(clock.position(), First + 30 * Second);
    clock.setSpeed(4);
    wall += 3600 * Second;
    QVERIFY(clock.atEnd());
    QCOMPARE(ReplayClock::format(3725500000, 7200000000), QStringLiteral("1:02:05.5 / 2:00:00.0"));
}

void TestTlog::nodeReadsTheToolsLog()
{
    const Log log = Log().entries(40, false, 12345678);
    QByteArray read;
    for (int i = 0; i < 40; ++i)
        read += QByteArray::number(i % 2 ? MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS : 0) + ' ' +
                QByteArray::number(quint64(log.times[i] / 1000)) + ' ' + log.frames[i].toHex() +
                '\n';
    QProcess node;
    node.start(QStringLiteral("node"),
               {QStringLiteral(READ_TLOG_SCRIPT), written("node.tlog", log.bytes)});
    QVERIFY(node.waitForFinished(60000));
    QCOMPARE(node.readAllStandardOutput(), read);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().contains(QLatin1String("nodeReadsTheToolsLog")) &&
        (QStandardPaths::findExecutable(QStringLiteral("node")).isEmpty() ||
         !QFileInfo(QFileInfo(QStringLiteral(READ_TLOG_SCRIPT)).dir(),
                    QStringLiteral("node_modules/node-mavlink"))
              .isDir()))
        return 77;
    TestTlog test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tlog.moc"
