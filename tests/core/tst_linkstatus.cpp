// The link status against a simulated gimbal and a silent port: what it counts must add up with
// what was sent, and its state must follow the gimbal as it talks, falls silent or never speaks.
#include "framewriter.h"
#include "gimbalsimulator.h"
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
    QCOMPARE(status.stateName(), QStringLiteral("closed"));
    ravik.switchSerial(pty.devicePath(), QStringLiteral("115200"));
    QCOMPARE(status.stateName(), QStringLiteral("listening"));
    QVERIFY(!status.noFrameHint());

    // Two seconds open and nothing valid: the hint shows.
    pty.write("\x55\x13\x00 noise");
    QTRY_VERIFY_WITH_TIMEOUT(status.noFrameHint(), 4000);
    QCOMPARE(status.stateName(), QStringLiteral("listening"));

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
    QTRY_COMPARE_WITH_TIMEOUT(status.stateName(), QStringLiteral("talking"), 4000);
    QVERIFY(!status.noFrameHint());
    QVERIFY(status.reportsPerSecond() > 0);
    QCOMPARE(status.heartbeatSystem(), 7);
    QCOMPARE(status.heartbeatComponent(), 42);
    QCOMPARE(status.systemStatus(), 3);

    // It stops: silent, and counting the seconds.
    talk.stop();
    QTRY_COMPARE_WITH_TIMEOUT(status.stateName(), QStringLiteral("silent"), 5000);
    QVERIFY(status.silentSeconds() >= 2);
    QCOMPARE(status.reportsPerSecond(), 0);

    ravik.switchSerial(QString(), QString());
    QCOMPARE(status.stateName(), QStringLiteral("closed"));
}

QTEST_GUILESS_MAIN(TestLinkStatus)
#include "tst_linkstatus.moc"
