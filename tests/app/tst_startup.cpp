// The start-up path in a process of its own: the exit code with a main file that yields no
// window, and the wiring that a working main file sees.
#include <QProcess>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void exitCode_data();
    void exitCode();
};

void TestStartup::exitCode_data()
{
    QTest::addColumn<QString>("mainFile");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("a main file that does not compile ends with -1")
        << QStringLiteral("qrc:/broken.qml") << 255;
    QTest::newRow("a missing main file ends with -1") << QStringLiteral("qrc:/missing.qml") << 255;
    QTest::newRow("a working main file sees the context objects and identity, its exit code stands")
        << QStringLiteral("qrc:/wired.qml") << 7;
}

void TestStartup::exitCode()
{
    QFETCH(QString, mainFile);
    QFETCH(int, exitCode);

    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QStringLiteral(STARTUP_PROBE), {mainFile});
    QVERIFY(probe.waitForStarted(5000));
    QVERIFY(probe.waitForFinished(20000));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), exitCode);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
