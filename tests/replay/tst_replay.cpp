// Telemetry logs played back as the link: a session recorded through the real links (a report
// gimbal on a pseudo-terminal, a v2 gimbal on UDP) replays the same frames in the same order at
// the same times; logs cut short, with noise, with little-endian times or no log at all; seeking;
// and the time that the status line, the v2 status and the plot keep while a log plays at 16x and
// while it is paused.
#include "gimbalsimulator.h"
#include "gimbalv2link.h"
#include "linkstatus.h"
#include "ravik.h"
#include "recorder.h"
#include "replaylink.h"
#include "sampleframes.h"
#include "telemetryhistory.h"
#include "tlogentry.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

namespace {
// sampleframes::known(first), known(first + stride), ...: each frame made once, as the codec
// numbers them.
QVector<QByteArray> samples(int count, int first = 0, int stride = 1)
{
    QVector<QByteArray> frames;
    for (int i = 0; i < count; ++i)
        frames.append(sampleframes::known(first + stride * i));
    return frames;
}

// The log of `frames`, `stepUs` apart.
QByteArray logOf(const QVector<QByteArray> &frames, std::uint64_t stepUs = 1000,
                 bool littleEndian = false)
{
    QByteArray log;
    for (int i = 0; i < frames.size(); ++i) {
        const std::uint64_t time = sampleframes::StartUs + stepUs * static_cast<unsigned>(i);
        QByteArray stamp(8, 0);
        qToLittleEndian<quint64>(time, stamp.data());
        log += littleEndian ? stamp + frames[i] : tlog::entry(time, frames[i]);
    }
    return log;
}

QString written(const QTemporaryDir &dir, const QByteArray &bytes)
{
    QFile file(dir.filePath(QStringLiteral("log.tlog")));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName()
                                                                                : QString();
}

// The frames that crossed a session as log entries timed from the first at StartUs, and which
// way each went.
struct Crossed
{
    void add(const QByteArray &frame, qint64 timeUs, bool sent)
    {
        if (log.isEmpty())
            firstUs = timeUs;
        log += tlog::entry(sampleframes::StartUs + static_cast<std::uint64_t>(timeUs - firstUs),
                           frame);
        ways += sent ? 'S' : 'R';
    }
    QByteArray log;
    QByteArray ways;
    qint64 firstUs = 0;
};

// A tool that plays logs back, with what its session handed on at the link's times.
struct Replayer
{
    Replayer()
    {
        QObject::connect(&ravik.session(), &MavlinkSession::tapped, &ravik,
                         [this](const QByteArray &frame, qint64, bool sent) {
                             crossed.add(frame, ravik.session().clock().nowUs(), sent);
                         });
        QObject::connect(&ravik, &Ravik::addMessage, &ravik,
                         [this](const QString &text) { messages.append(text); });
    }
    bool playToEnd(const QString &path)
    {
        replay().setSpeed(ReplayClock::Fastest);
        ravik.openReplay(path);
        return ravik.replaying() && QTest::qWaitFor([this] { return !replay().playing(); }, 20000);
    }
    ReplayLink &replay() { return *ravik.replay(); }

    Ravik ravik;
    GimbalV2Link v2{ravik, {}};
    Crossed crossed;
    QStringList messages;
};
} // namespace

class TestReplay : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void damagedLogs_data();
    void damagedLogs();
    void seeks_data();
    void seeks();
    void timeIsTheLogs();
};

void TestReplay::roundTrip_data()
{
    QTest::addColumn<bool>("v2");
    QTest::newRow("a report gimbal on a pseudo-terminal") << false;
    QTest::newRow("a v2 gimbal on UDP") << true;
}

void TestReplay::roundTrip()
{
    QFETCH(bool, v2);
    SimulatorOptions options;
    options.reportRateHz = 100;
    if (v2) {
        QUdpSocket probe;
        probe.bind(QHostAddress(QHostAddress::LocalHost), 0);
        options.port = probe.localPort();
        options.protocol = SimulatedProtocol::V2;
        options.link = SimulatedLink::Udp;
        options.statusRateHz = 100;
    }
    GimbalSimulator gimbal(options);
    Ravik live;
    GimbalV2Link liveV2(live, {});
    live.switchSerial(v2 ? QStringLiteral("udp:127.0.0.1:%1").arg(options.port) : gimbal.portPath(),
                      QStringLiteral("115200"));
    QTRY_VERIFY(live.serialIsOpen());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("session.tlog"));
    Recorder recorder(live.session(), nullptr);
    recorder.startTo(path);
    Crossed recorded;
    connect(&live.session(), &MavlinkSession::tapped, &recorder,
            [&](const QByteArray &frame, qint64 at, bool sent) {
                if (recorder.recording())
                    recorded.add(frame, at, sent);
            });
    QTRY_VERIFY_WITH_TIMEOUT(recorded.ways.count('R') >= 150 && recorded.ways.count('S') >= 30,
                             10000);
    recorder.stop();

    Replayer replayer;
    QVERIFY(replayer.playToEnd(path));
    QCOMPARE(replayer.crossed.log, recorded.log);
    QCOMPARE(replayer.crossed.ways, recorded.ways);
}

void TestReplay::damagedLogs_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QByteArray>("wholeLog");
    QTest::addColumn<QString>("notice");

    const QVector<QByteArray> frames = samples(40);
    const QByteArray log = logOf(frames);
    const int half = logOf(frames.mid(0, 20)).size();
    QTest::newRow("cut in the middle of a frame")
        << log + log.left(20) << log << "ends in the middle of a frame";
    QTest::newRow("noise between frames skipped")
        << log.left(half) + QByteArray(37, '\x55') + log.mid(half) << log
        << "37 bytes that were no frame skipped";
    QTest::newRow("times stored little-endian")
        << logOf(frames, 1000, true) << log << "Replay ended: log.tlog";
    QTest::newRow("no log at all") << QByteArray(100000, '\xfd') << QByteArray() << "Cannot replay";
}

// MAVLink 1 frames and signed ones among them, in both directions (see sampleframes::known).
void TestReplay::damagedLogs()
{
    QFETCH(QByteArray, log);
    QFETCH(QByteArray, wholeLog);
    QFETCH(QString, notice);

    QTemporaryDir dir;
    Replayer replayer;
    QCOMPARE(replayer.playToEnd(written(dir, log)), !wholeLog.isEmpty());
    QCOMPARE(replayer.messages.filter(notice).size(), 1);
    QCOMPARE(replayer.crossed.log, wholeLog);
}

void TestReplay::seeks_data()
{
    QTest::addColumn<double>("fraction");
    QTest::addColumn<double>("position");
    QTest::addColumn<int>("firstEntry");
    QTest::newRow("the start") << 0.0 << 0.0 << 0;
    QTest::newRow("between two entries") << 0.30001 << 0.30001 << 6000;
    QTest::newRow("three quarters") << 0.75 << 0.75 << 15000;
    QTest::newRow("the end") << 1.0 << 1.0 << 19999;
    QTest::newRow("beyond the end") << 7.0 << 1.0 << 19999;
    QTest::newRow("not a number") << qQNaN() << 0.0 << 0;
}

// Twenty seconds of v2 statuses, each with its number; seeking while paused, then playing on.
void TestReplay::seeks()
{
    QFETCH(double, fraction);
    QFETCH(double, position);
    QFETCH(int, firstEntry);

    QTemporaryDir dir;
    Replayer replayer;
    const QVector<QByteArray> frames = samples(20000, 1, 2);
    QVERIFY(replayer.playToEnd(written(dir, logOf(frames))));
    replayer.replay().seek(fraction);
    QVERIFY(qAbs(replayer.replay().position() - position) < 1e-6);
    replayer.crossed = {};
    replayer.replay().play();
    QTRY_VERIFY(!replayer.replay().playing());
    QCOMPARE(replayer.crossed.log, logOf(frames.mid(firstEntry)));
}

// Forty seconds of a v2 gimbal's statuses at 200 a second, played at 16x, then paused.
void TestReplay::timeIsTheLogs()
{
    QTemporaryDir dir;
    Replayer replayer;
    TelemetryHistory history(replayer.ravik.session());
    const LinkStatus &status = *replayer.ravik.linkStatus();
    QSignalSpy ticks(&status, &LinkStatus::changed);
    replayer.replay().setSpeed(16);
    replayer.ravik.openReplay(written(dir, logOf(samples(8000, 1, 2), 5000)));
    ticks.clear();
    QVERIFY(ticks.wait(2000));
    QVERIFY(replayer.replay().playing());
    QCOMPARE(status.state(), LinkStatus::Talking);
    QVERIFY(qAbs(status.reportsPerSecond() - 200) <= 4);
    const std::deque<Sample> &samples = history.angles().samples();
    // The plot's axis runs on the log's time: the second of wall clock (a coarse timer's, up to
    // 5 % late) spans about 16 s of it, less by the replay's late start on a slow machine, and
    // never the one second of an axis on the wall clock.
    const double span = samples.back().t - samples.front().t;
    QVERIFY2(span > 8.0 && span < 17.5, qPrintable(QString::number(span)));

    replayer.replay().pause();
    const double pausedAt = history.now();
    ticks.clear();
    QTRY_COMPARE_WITH_TIMEOUT(ticks.size(), 3, 5000);
    QCOMPARE(status.state(), LinkStatus::Talking);
    QVERIFY(replayer.v2.status()->talking());
    QCOMPARE(history.now(), pausedAt);
}

QTEST_GUILESS_MAIN(TestReplay)
#include "tst_replay.moc"
