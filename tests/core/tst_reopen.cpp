// The controller and a simulated gimbal that is pulled out and plugged back in: the port closes as
// before, then opens again by itself once the device is back, unless the user has moved on.
#include "framereader.h"
#include "gimbalsimulator.h"
#include "linkstatus.h"
#include "ravik.h"
#include "serialevent.h"

#include <messages.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

class TestReopen : public QObject
{
    Q_OBJECT

private slots:
    void reopenAfterReplug_data();
    void reopenAfterReplug();
};

void TestReopen::reopenAfterReplug_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<bool>("reopens");

    QTest::newRow("the quiet retry finds the device back") << "nothing" << true;
    QTest::newRow("an arrival broadcast reopens at once") << "arrival" << true;
    QTest::newRow("picking another port cancels the wait") << "pick" << false;
    QTest::newRow("pressing the button cancels the wait") << "button" << false;
}

void TestReopen::reopenAfterReplug()
{
    QFETCH(QString, meanwhile);
    QFETCH(bool, reopens);

    QTemporaryDir folder;
    SimulatorOptions options;
    options.linkPath = folder.filePath(QStringLiteral("gimbal"));
    GimbalSimulator sim(options);
    QVERIFY(sim.isOpen());

    Ravik ravik;
    QSignalSpy messages(&ravik, &Ravik::addMessage);
    QSignalSpy changed(&ravik, &Ravik::serialIsOpenChanged);
    ravik.switchSerial(sim.portPath(), QStringLiteral("115200"));
    QVERIFY(ravik.serialIsOpen());
    // A held stick turns the gimbal.
    ravik.setJoystick(1.0f, 0.0f, 0.0f);
    QTRY_VERIFY_WITH_TIMEOUT(ravik.gimbalImuAngle().at(0).toFloat() > 0.0f, 2000);

    sim.unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!ravik.serialIsOpen(), 2000);
    QVERIFY(ravik.awaitingPort());
    QCOMPARE(ravik.linkStatus()->state(), LinkStatus::Waiting);
    QCOMPARE(ravik.linkStatus()->portName(), sim.portPath());
    // The stick is let go while the gimbal is away.
    ravik.setJoystick(0.0f, 0.0f, 0.0f);

    if (meanwhile == QLatin1String("pick")) {
        ravik.cancelReopen();
    } else if (meanwhile == QLatin1String("button")) {
        // The device is not back yet, so the user's open fails and says why.
        ravik.switchSerial(sim.portPath(), QStringLiteral("115200"));
        QVERIFY(!ravik.serialIsOpen());
    }
    QVERIFY(ravik.awaitingPort() ==
            (meanwhile == QLatin1String("nothing") || meanwhile == QLatin1String("arrival")));

    const int changes = changed.count();
    sim.replug();
    if (meanwhile == QLatin1String("arrival")) {
        QTest::ignoreMessage(QtDebugMsg, "device arrival: \"ttyUSB9\"");
        ravik.watcher()->deviceChange(
            "windows_generic_MSG", 0x0219, 0x8000, [] { return 3u; },
            [] { return QStringLiteral("ttyUSB9"); });
        QVERIFY(ravik.serialIsOpen());
    }
    if (!reopens) {
        // Longer than the retry takes: nothing opens on its own.
        QTest::qWait(1500);
        QVERIFY(!ravik.serialIsOpen());
        QCOMPARE(changed.count(), changes);
        QCOMPARE(ravik.linkStatus()->state(), LinkStatus::Closed);
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(ravik.serialIsOpen(), 3000);
    QCOMPARE(changed.count(), changes + 1);
    QCOMPARE(messages.last().at(0).toString(),
             QStringLiteral("The gimbal is back: %1 is open again.").arg(sim.portPath()));
    QVERIFY(!ravik.awaitingPort());
    QCOMPARE(ravik.linkStatus()->state(), LinkStatus::Listening);

    // Commands reach the new terminal with the rates the sticks have now: the gimbal, turned
    // by the held stick before, comes to rest. Until the first new command arrives it may still
    // turn, so rest is five reports in a row with the same angle.
    QTRY_VERIFY_WITH_TIMEOUT(sim.commands().commands() >= 3, 2000);
    QCOMPARE(sim.badFrames(), 0);
    QVariant last;
    int unchanged = 0;
    connect(&ravik, &Ravik::gimbalImuAngleChanged, this, [&] {
        const QVariant roll = ravik.gimbalImuAngle().at(0);
        unchanged = roll == last ? unchanged + 1 : 0;
        last = roll;
    });
    QTRY_VERIFY_WITH_TIMEOUT(unchanged >= 5, 3000);
}

QTEST_GUILESS_MAIN(TestReopen)
#include "tst_reopen.moc"
