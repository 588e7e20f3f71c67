// The start-up path in a process of its own: the exit code with a main file that yields no
// window, the wiring that a working main file sees, and the renderer chosen where no OpenGL
// context can be made.
#include <QProcess>
#include <QtTest>

namespace {
const QByteArray SoftwareNotice = "drawing with Qt Quick's software renderer";
}

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
    QTest::addColumn<QString>("backend");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("softwareNotice");

    QTest::newRow("a main file that does not compile ends with -1")
        << QStringLiteral("qrc:/broken.qml") << "software" << 255 << false;
    QTest::newRow("a missing main file ends with -1")
        << QStringLiteral("qrc:/missing.qml") << "software" << 255 << false;
    QTest::newRow("a working main file sees the context objects and identity, its exit code stands")
        << QStringLiteral("qrc:/wired.qml") << "software" << 7 << false;
    // The offscreen platform without a display has no OpenGL at all.
    QTest::newRow("without OpenGL and no backend set, the software renderer draws the window")
        << QStringLiteral("qrc:/wired.qml") << QString() << 7 << true;
}

void TestStartup::exitCode()
{
    QFETCH(QString, mainFile);
    QFETCH(QString, backend);
    QFETCH(int, exitCode);
    QFETCH(bool, softwareNotice);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QUICK_BACKEND"));
    if (!backend.isNull())
        environment.insert(QStringLiteral("QT_QUICK_BACKEND"), backend);

    QProcess probe;
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral(STARTUP_PROBE), {mainFile});
    QVERIFY(probe.waitForStarted(5000));
    QVERIFY(probe.waitForFinished(20000));
    const QByteArray errors = probe.readAllStandardError();
    QVERIFY2(probe.exitStatus() == QProcess::NormalExit, errors.constData());
    QCOMPARE(probe.exitCode(), exitCode);
    QCOMPARE(errors.count(SoftwareNotice), softwareNotice ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
