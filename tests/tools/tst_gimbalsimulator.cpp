// The simulator against the real controller: the joysticks' rates turn the simulated gimbal and
// its reports bring the angles back, in either framing and through a noisy line.
#include "gimbalsimulator.h"
#include "ravik.h"

#include <QSignalSpy>
#include <QtTest>

class TestGimbalSimulator : public QObject
{
    Q_OBJECT

private slots:
    void commandsTurnTheGimbal_data();
    void commandsTurnTheGimbal();
    void commandLogCountsGaps_data();
    void commandLogCountsGaps();
};

void TestGimbalSimulator::commandsTurnTheGimbal_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("noise");
    QTest::addColumn<double>("bitErrors");

    QTest::newRow("MAVLink 2 reports") << 2 << 0 << 0.0;
    QTest::newRow("MAVLink 1 reports") << 1 << 0 << 0.0;
    QTest::newRow("reports among noise and bit errors") << 2 << 7 << 0.3;
}

void TestGimbalSimulator::commandsTurnTheGimbal()
{
    QFETCH(int, version);
    QFETCH(int, noise);
    QFETCH(double, bitErrors);

    SimulatorOptions options;
    options.reportRateHz = 200;
    options.mavlinkVersion = version;
    options.noiseBytes = noise;
    options.bitErrorRate = bitErrors;
    GimbalSimulator sim(options);
    QVERIFY(sim.isOpen());

    Ravik ravik;
    ravik.setJoystick(0.0f, -1.0f, 1.0f);
    ravik.switchSerial(sim.devicePath(), QStringLiteral("115200"));
    QVERIFY(ravik.serialIsOpen());

    // Elevation turns down and azimuth up, each at a quarter turn per second.
    QSignalSpy changed(&ravik, &Ravik::gimbalImuAngleChanged);
    QVERIFY(changed.isValid());
    while (ravik.gimbalImuAngle().at(2).toFloat() < 0.05f && changed.wait(2000)) {
    }
    const QVariantList angles = ravik.gimbalImuAngle();
    QCOMPARE(angles.at(0).toFloat(), 0.0f);
    QVERIFY(angles.at(1).toFloat() < 0.0f);
    QVERIFY(angles.at(2).toFloat() >= 0.05f);

    QVERIFY(sim.commands().commands() >= 2);
    QCOMPARE(sim.commands().sequenceGaps(), 0);
    QCOMPARE(sim.badFrames(), 0);
}

void TestGimbalSimulator::commandLogCountsGaps_data()
{
    QTest::addColumn<QList<int>>("sequence");
    QTest::addColumn<int>("gaps");

    QTest::newRow("consecutive numbers have no gap") << QList<int>{0, 1, 2, 3} << 0;
    QTest::newRow("two missing numbers are two gaps") << QList<int>{0, 1, 4} << 2;
    QTest::newRow("the wrap from 255 to 0 is no gap") << QList<int>{254, 255, 0, 1} << 0;
    QTest::newRow("a gap across the wrap") << QList<int>{254, 1} << 2;
}

void TestGimbalSimulator::commandLogCountsGaps()
{
    QFETCH(QList<int>, sequence);
    QFETCH(int, gaps);

    CommandLog log;
    auto when = CommandLog::Clock::now();
    for (int seq : sequence) {
        log.record(static_cast<std::uint8_t>(seq), when);
        when += std::chrono::milliseconds(20);
    }
    QCOMPARE(log.commands(), sequence.size());
    QCOMPARE(log.sequenceGaps(), gaps);
    QCOMPARE(log.intervalMs(0.5), 20.0);
}

QTEST_GUILESS_MAIN(TestGimbalSimulator)
#include "tst_gimbalsimulator.moc"
