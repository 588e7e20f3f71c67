// The link status against a simulated gimbal and a silent port: what it counts must add up with
// what was sent, and its state must follow the gimbal as it talks, falls silent or never speaks.
#include "framewriter.h"
#include "gimbalsimulator.h"
#include "linkclock.h"
#include "linkstatus.h"
#include "pseudoterminal.h"
#include "ravik.h"

#include <messages.h>

#include <QSignalSpy>
#include <QtTest>

class TestLinkStatus : public QObject
{
    Q_OBJECT

private slots:
    void countsAddUpWithWhatWasSent_data();
    void countsAddUpWithWhatWasSent();
    void stateFollowsTheGimbal();
    void sequenceNumbers_data();
    void sequenceNumbers();
    void heartbeatsPerSender();
};

void TestLinkStatus::countsAddUpWithWhatWasSent_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("noise");
    QTest::addColumn<double>("bitErrors");

    QTest::newRow("a clean line loses nothing") << 2 << 0 << 0.0;
    QTest::newRow("bit errors: bad frames, each a lost one") << 2 << 0 << 0.2;
    QTest::newRow("noise and bit errors") << 2 << 5 << 0.1;
    QTest::newRow("MAVLink 1 with bit errors") << 1 << 0 << 0.2;
}

// Every frame that the gimbal numbered either arrives or leaves a gap in its sequence: the
// delivered reports and heartbeats and the lost frames make up all of them.
void TestLinkStatus::countsAddUpWithWhatWasSent()
{
    QFETCH(int, version);
    QFETCH(int, noise);
    QFETCH(double, bitErrors);

    SimulatorOptions options;
    options.reportRateHz = 1000;
    options.mavlinkVersion = version;
    GimbalSimulator sim(options);
    QVERIFY(sim.isOpen());

    Ravik ravik;
    ravik.switchSerial(sim.devicePath(), QStringLiteral("115200"));
    QVERIFY(ravik.serialIsOpen());
    const LinkStatus &status = *ravik.linkStatus();
    QCOMPARE(status.state(), LinkStatus::Listening);
    QCOMPARE(status.portName(), sim.devicePath());
    long long reports = 0;
    connect(&ravik, &Ravik::gimbalImuAngleChanged, this, [&] { ++reports; });

    // The first and the last frames go out clean, so that no loss hides before the first frame
    // that arrived or after the last.
    QTRY_VERIFY_WITH_TIMEOUT(reports > 0, 5000);
    sim.setLineFaults(noise, bitErrors);
    QTRY_VERIFY_WITH_TIMEOUT(sim.reportsSent() >= 400, 5000);
    sim.setLineFaults(0, 0.0);
    const long long clean = sim.reportsSent() + 20;
    QTRY_VERIFY_WITH_TIMEOUT(sim.reportsSent() >= clean, 5000);
    sim.pause();
    QTRY_COMPARE_WITH_TIMEOUT(reports + status.heartbeats() + status.lostFrames(),
                              sim.framesNumbered(), 5000);

    if (bitErrors > 0) {
        QVERIFY(status.badFrames() > 0);
        QVERIFY(status.lostFrames() > 0);
    } else if (noise == 0) {
        QCOMPARE(status.badFrames(), 0);
        QCOMPARE(status.lostFrames(), 0);
    }
}

void TestLinkStatus::stateFollowsTheGimbal()
{
    PseudoTerminal pty;
    Ravik ravik;
    const LinkStatus &status = *ravik.linkStatus();
    QCOMPARE(status.state(), LinkStatus::Closed);
    ravik.switchSerial(pty.devicePath(), QStringLiteral("115200"));
    QCOMPARE(status.state(), LinkStatus::Listening);
    QVERIFY(!status.noFrameHint());

    // Two seconds open and nothing valid: the hint shows.
    pty.write("\x55\x13\x00 noise");
    QTRY_VERIFY_WITH_TIMEOUT(status.noFrameHint(), 4000);
    QCOMPARE(status.state(), LinkStatus::Listening);

    // The gimbal talks: a report and a heartbeat every 50 ms.
    FrameWriter gimbal(2, 7, 42);
    mavlink_heartbeat_t heartbeat{};
    heartbeat.system_status = 3;
    QTimer talk;
    connect(&talk, &QTimer::timeout, this, [&] {
        pty.write(gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, mavlink_gimbal_report_t{}) +
                  gimbal.frame(MAVLINK_MSG_ID_HEARTBEAT, heartbeat));
    });
    talk.start(50);
    QTRY_COMPARE_WITH_TIMEOUT(status.state(), LinkStatus::Talking, 4000);
    QVERIFY(!status.noFrameHint());
    QVERIFY(status.reportsPerSecond() > 0);
    QCOMPARE(status.heartbeatSystem(), 7);
    QCOMPARE(status.heartbeatComponent(), 42);
    QCOMPARE(status.systemStatus(), 3);

    // It stops: silent, and counting the seconds.
    talk.stop();
    QTRY_COMPARE_WITH_TIMEOUT(status.state(), LinkStatus::Silent, 5000);
    QVERIFY(status.silentSeconds() >= 2);
    QCOMPARE(status.reportsPerSecond(), 0);

    ravik.switchSerial(QString(), QString());
    QCOMPARE(status.state(), LinkStatus::Closed);
}

// Frames of one sender, numbered as given, against what the count makes of them.
void TestLinkStatus::sequenceNumbers_data()
{
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<int>("lost");
    QTest::addColumn<int>("duplicates");

    using L = QList<int>;
    QTest::newRow("in order") << L{7, 8, 9, 10} << 0 << 0;
    QTest::newRow("a repeated number is a duplicate, not 255 lost") << L{7, 8, 8, 9} << 0 << 1;
    QTest::newRow("a number stepped back by one") << L{7, 8, 9, 8, 10} << 0 << 1;
    QTest::newRow("wrap-around from 255 to 0 loses nothing") << L{254, 255, 0, 1} << 0 << 0;
    QTest::newRow("a repeat across the wrap") << L{255, 0, 0, 1} << 0 << 1;
    QTest::newRow("a step back across the wrap") << L{254, 255, 0, 255, 1} << 0 << 1;
    QTest::newRow("a real gap") << L{10, 11, 15, 16} << 3 << 0;
    QTest::newRow("a gap across the wrap") << L{250, 4} << 9 << 0;
    QTest::newRow("a step back of 128 is still a duplicate") << L{200, 72, 201} << 0 << 1;
    QTest::newRow("further back it is a gap that wrapped") << L{200, 71} << 126 << 0;
    QTest::newRow("the sender restarts its count: nothing lost or repeated")
        << L{100, 101, 0, 1, 2} << 0 << 0;
    QTest::newRow("an overtaken frame is late, not lost") << L{7, 9, 8, 10} << 0 << 1;
    QTest::newRow("late across the wrap") << L{254, 0, 255, 1} << 0 << 1;
    QTest::newRow("one lost, another overtaken") << L{1, 3, 5, 4, 6} << 1 << 1;
    QTest::newRow("a late frame that comes twice") << L{7, 9, 8, 8} << 0 << 2;
}

void TestLinkStatus::sequenceNumbers()
{
    QFETCH(QList<int>, numbers);
    QFETCH(int, lost);
    QFETCH(int, duplicates);

    LinkClock clock;
    LinkStatus status(clock);
    status.portOpened(QStringLiteral("ttyUSB0"));
    for (int seq : numbers)
        status.countFrame(1, 154, static_cast<std::uint8_t>(seq), MAVLINK_MSG_ID_GIMBAL_REPORT);
    QCOMPARE(status.lostFrames(), lost);
    QCOMPARE(status.duplicateFrames(), duplicates);
}

// Two senders on one link, the gimbal and another component, interleaved: each keeps its own
// sequence and its own heartbeat count, and the line shows the last heartbeat's sender.
void TestLinkStatus::heartbeatsPerSender()
{
    LinkClock clock;
    LinkStatus status(clock);
    status.portOpened(QStringLiteral("ttyUSB0"));
    const auto heartbeat = [&status](std::uint8_t sysid, std::uint8_t seq, std::uint8_t state) {
        status.countFrame(sysid, 1, seq, MAVLINK_MSG_ID_HEARTBEAT);
        status.countHeartbeat(sysid, 1, state);
    };
    heartbeat(1, 0, 4);
    heartbeat(2, 50, 3);
    heartbeat(1, 1, 4);
    heartbeat(1, 2, 4);
    QCOMPARE(status.heartbeatSystem(), 1);
    QCOMPARE(status.heartbeats(), 3);
    QCOMPARE(status.systemStatus(), 4);
    heartbeat(2, 51, 3);
    QCOMPARE(status.heartbeatSystem(), 2);
    QCOMPARE(status.heartbeats(), 2);
    QCOMPARE(status.systemStatus(), 3);
    QCOMPARE(status.lostFrames(), 0);
    QCOMPARE(status.duplicateFrames(), 0);

    // A new link counts afresh.
    status.portOpened(QStringLiteral("ttyUSB0"));
    heartbeat(2, 52, 3);
    QCOMPARE(status.heartbeats(), 1);
}

QTEST_GUILESS_MAIN(TestLinkStatus)
#include "tst_linkstatus.moc"
