// The start-up path in a process of its own: the exit code with a main file that yields no
// window, the wiring that a working main file sees, the renderer chosen where no OpenGL context
// can be made, the command line, the settings that a second start finds, and the end that
// SIGTERM and SIGHUP bring.
#include "framewriter.h"
#include "pseudoterminal.h"

#include <messages.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <csignal>

namespace {
const QByteArray SoftwareNotice = "drawing with Qt Quick's software renderer";

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray errors;
};
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void exitCode_data();
    void exitCode();
    void commandLine_data();
    void commandLine();
    void settingsSurviveRestart();
    void unwritableSettingsSaidOnce_data();
    void unwritableSettingsSaidOnce();
    void endedBySignal_data();
    void endedBySignal();

private:
    // Starts the tool's start-up with `arguments` and the main file last, headless, in the C
    // locale, with the test's own folder for its settings.
    void launch(QProcess &probe, const QStringList &arguments,
                const QString &backend = QStringLiteral("software"));
    // Runs it to its end.
    Run start(const QStringList &arguments, const QString &backend = QStringLiteral("software"));

    std::unique_ptr<QTemporaryDir> m_configHome;
    // The folder the settings go under: the temporary folder unless a test says otherwise.
    QString m_configPath;
};

void TestStartup::init()
{
    m_configHome = std::make_unique<QTemporaryDir>();
    m_configPath = m_configHome->path();
}

void TestStartup::launch(QProcess &probe, const QStringList &arguments, const QString &backend)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_configPath);
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QUICK_BACKEND"));
    if (!backend.isNull())
        environment.insert(QStringLiteral("QT_QUICK_BACKEND"), backend);
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral(STARTUP_PROBE), arguments);
}

Run TestStartup::start(const QStringList &arguments, const QString &backend)
{
    QProcess probe;
    launch(probe, arguments, backend);
    Run run;
    if (!probe.waitForStarted(5000) || !probe.waitForFinished(20000) ||
        probe.exitStatus() != QProcess::NormalExit) {
        qWarning() << "the probe did not end normally:" << probe.readAllStandardError();
        return run;
    }
    run.exitCode = probe.exitCode();
    run.out = probe.readAllStandardOutput();
    run.errors = probe.readAllStandardError();
    return run;
}

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

    const Run run = start({mainFile}, backend);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.errors.count(SoftwareNotice), softwareNotice ? 1 : 0);
}

void TestStartup::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("error");

    QTest::newRow("--version prints the project's version")
        << QStringList{"--version"} << 0 << QStringLiteral("Gimbal " GIMBAL_VERSION "\n")
        << QString();
    QTest::newRow("--help lists the options")
        << QStringList{"--help"} << 0 << QStringLiteral("--language <en|zh>") << QString();
    QTest::newRow("an unknown language stops the tool")
        << QStringList{"--language", "fr"} << 2 << QString()
        << QStringLiteral("gimbal: --language 'fr' is neither en nor zh");
    QTest::newRow("a baud rate that is no number stops the tool")
        << QStringList{"--port", "ttyS0", "--baud", "fast"} << 2 << QString()
        << QStringLiteral("gimbal: --baud 'fast' is not a positive number");
    QTest::newRow("a baud rate below 1 stops the tool")
        << QStringList{"--baud", "0"} << 2 << QString()
        << QStringLiteral("gimbal: --baud '0' is not a positive number");
    QTest::newRow("an unknown option stops the tool")
        << QStringList{"--speed", "3"} << 2 << QString() << QStringLiteral("Unknown option");
    QTest::newRow("an unknown protocol stops the tool")
        << QStringList{"--protocol", "v3"} << 2 << QString()
        << QStringLiteral("gimbal: --protocol 'v3' is none of auto, report and v2");
    QTest::newRow("a system id beyond 255 stops the tool")
        << QStringList{"--system-id", "256"} << 2 << QString()
        << QStringLiteral("gimbal: --system-id '256' is not a number from 1 to 255");
    QTest::newRow("a component id of 0 stops the tool")
        << QStringList{"--component-id", "0"} << 2 << QString()
        << QStringLiteral("gimbal: --component-id '0' is not a number from 1 to 255");
    QTest::newRow("a port and a log to replay stop the tool")
        << QStringList{"--port", "ttyS0", "--replay", "a.tlog"} << 2 << QString()
        << QStringLiteral("gimbal: --port and --replay each open the link: give one");
    QTest::newRow("good values start the window")
        << QStringList{"--language", "zh", "--baud", "9600"} << 7 << QString() << QString();
    QTest::newRow("good v2 values start the window")
        << QStringList{"--protocol", "v2", "--system-id", "200", "--component-id", "191"} << 7
        << QString() << QString();
}

void TestStartup::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, error);

    const Run run = start(arguments << QStringLiteral("qrc:/wired.qml"));
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(run.out).contains(out), run.out.constData());
    QVERIFY2(QString::fromUtf8(run.errors).contains(error), run.errors.constData());
}

// What a start finds of the last one: the port opened and its rate for the boxes (not opened
// again), the speed limit, and the language once the user has chosen one, which a command-line
// language overrides for its own run only.
void TestStartup::settingsSurviveRestart()
{
    PseudoTerminal pty;
    const QString port = pty.devicePath();
    const auto restored = [this](const QStringList &arguments) {
        const Run run = start(arguments + QStringList{QStringLiteral("qrc:/restored.qml")});
        const int at = run.errors.indexOf("restored ");
        return run.exitCode == 7 && at >= 0
                   ? QString::fromUtf8(run.errors.mid(at, run.errors.indexOf('\n', at) - at))
                   : QString::fromUtf8(run.errors);
    };

    QCOMPARE(restored({}), QStringLiteral("restored  115200 0 0 false 1"));
    // That run records too, and its end closes the file with what it recorded.
    const QString recording = m_configHome->filePath(QStringLiteral("recording.csv"));
    QCOMPARE(start({"--port", port, "--baud", "57600", "--language", "en", "--record", recording,
                    "qrc:/choose.qml"})
                 .exitCode,
             7);
    QFile recorded(recording);
    QVERIFY(recorded.open(QIODevice::ReadOnly));
    QVERIFY(recorded.readLine().startsWith("time_us,kind,sysid,compid,seq,"));
    QVERIFY(QFile::exists(m_configHome->filePath(QStringLiteral("Lunok/Gimbal.conf"))));
    QCOMPARE(restored({}), QStringLiteral("restored %1 57600 1 1 false 0.5").arg(port));
    QCOMPARE(restored({"--language", "en"}),
             QStringLiteral("restored %1 57600 0 0 false 0.5").arg(port));
    QCOMPARE(restored({}), QStringLiteral("restored %1 57600 1 1 false 0.5").arg(port));
}

void TestStartup::unwritableSettingsSaidOnce_data()
{
    QTest::addColumn<QString>("configPath");
    QTest::addColumn<int>("messages");

    QTest::newRow("a folder that can be written says nothing") << QString() << 0;
    // A file where a folder should be stops root too, as a folder without rights stops others.
    QTest::newRow("a folder that cannot be made is said once for five saves")
        << QStringLiteral("file/config") << 1;
}

void TestStartup::unwritableSettingsSaidOnce()
{
    QFETCH(QString, configPath);
    QFETCH(int, messages);

    QFile file(m_configHome->filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (!configPath.isEmpty())
        m_configPath = m_configHome->filePath(configPath);
    const Run run = start({QStringLiteral("qrc:/unwritable.qml")});
    QCOMPARE(run.exitCode, 7);
    const QByteArray said = "message: Cannot write the configuration folder " +
                            QFile::encodeName(m_configPath + QStringLiteral("/Lunok")) +
                            ": settings will not be kept.";
    QVERIFY2(run.errors.count(said) == messages, run.errors.constData());
    QCOMPARE(run.errors.count("message: Cannot write"), messages);
}

void TestStartup::endedBySignal_data()
{
    QTest::addColumn<int>("signal");

    QTest::newRow("SIGTERM, as kill and service managers send") << int(SIGTERM);
    QTest::newRow("SIGHUP, as a closed terminal or session sends") << int(SIGHUP);
}

// The tool ended from outside ends as Close ends it: normally, with every row recorded.
void TestStartup::endedBySignal()
{
    QFETCH(int, signal);

    PseudoTerminal pty;
    const QString recording = m_configHome->filePath(QStringLiteral("recording.csv"));
    QProcess probe;
    QByteArray errors;
    connect(&probe, &QProcess::readyReadStandardError, this,
            [&] { errors += probe.readAllStandardError(); });
    launch(probe, {"--port", pty.devicePath(), "--record", recording, "qrc:/running.qml"});
    QVERIFY(probe.waitForStarted(5000));
    QVERIFY(pty.waitForReceived(26, 10000));

    constexpr int Reports = 50;
    FrameWriter gimbal;
    for (int i = 0; i < Reports; ++i)
        pty.write(gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, mavlink_gimbal_report_t{}));
    QTRY_VERIFY_WITH_TIMEOUT(errors.contains("reports 50"), 10000);
    QCOMPARE(::kill(static_cast<pid_t>(probe.processId()), signal), 0);
    QVERIFY(probe.waitForFinished(10000));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), 0);

    QFile recorded(recording);
    QVERIFY(recorded.open(QIODevice::ReadOnly));
    const QByteArray rows = recorded.readAll();
    QVERIFY(rows.endsWith('\n'));
    QCOMPARE(rows.count(",report,"), Reports);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
