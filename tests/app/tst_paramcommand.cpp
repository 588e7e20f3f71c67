// The command line without a window or a display: --help and --version, a bad value, and the
// parameter commands run by the real start-up in a process of its own at the simulated gimbal, or
// a simulated vehicle, on a pseudo-terminal. The exit code says whether everything asked for was
// done and confirmed; the simulator says what was written.
#include "gimbalsimulator.h"

#include <gimbal_v2.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestParamCommand : public QObject
{
    Q_OBJECT

private slots:
    void exitCode_data();
    void exitCode();
};

void TestParamCommand::exitCode_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    // MOT_PWR_PITCH as the simulated gimbal holds it afterwards (55 before).
    QTest::addColumn<double>("pitchPower");

    const QStringList save{"--params-save", "FILE", "--port", "PORT"};
    const QStringList load{"--params-load", "FILE", "--port", "PORT"};
    const QStringList loadYes = load + QStringList{"--yes"};
    QTest::newRow("--help") << QStringList{"--help"} << QByteArray() << 0 << "--params-load <file>"
                            << 55.0;
    QTest::newRow("--version") << QStringList{"--version"} << QByteArray() << 0 << "Gimbal "
                               << 55.0;
    QTest::newRow("a bad value") << QStringList{"--baud", "fast"} << QByteArray() << 2
                                 << "--baud 'fast' is not a positive number" << 55.0;
    QTest::newRow("a parameter command without a port")
        << QStringList{"--params-save", "x"} << QByteArray() << 2 << "need --port" << 55.0;
    QTest::newRow("save: every parameter read and saved")
        << save << QByteArray() << 0 << "Saved 88 parameters" << 55.0;
    QTest::newRow("save into a folder that is not there")
        << QStringList{"--params-save", "/nonexistent/p.params", "--port", "PORT"} << QByteArray()
        << 1 << "/nonexistent/p.params" << 55.0;
    QTest::newRow("load: a file the device matches")
        << load << QByteArray("MOT_PWR_PITCH,55\r\n") << 0 << "" << 55.0;
    QTest::newRow("load: a difference is printed and not written")
        << load << QByteArray("MOT_PWR_PITCH,65\n") << 1 << "MOT_PWR_PITCH: 55 → 65" << 55.0;
    QTest::newRow("load --yes: the difference written and confirmed")
        << loadYes
        << QByteArray("# Vehicle-Id\tComponent-Id\tName\tValue\tType\n1\t154\t"
                      "MOT_PWR_PITCH\t65\t1\n")
        << 0 << "1 written" << 65.0;
    QTest::newRow("load --yes: a refusal fails, the rest is written")
        << loadYes << QByteArray("MOT_PWR_PITCH,65\nFW_VERSION,5\n") << 1
        << "FW_VERSION: refused by the device, which keeps 132097" << 65.0;
    QTest::newRow("load --yes: a name the device lacks fails")
        << loadYes << QByteArray("MOT_PWR_PITCH,65\nNO_SUCH_PARAM,1\n") << 1
        << "NO_SUCH_PARAM: the device has no such parameter" << 65.0;
    QTest::newRow("load --yes: a file with a bad line writes nothing")
        << loadYes << QByteArray("MOT_PWR_PITCH,65\nnot a parameter\n") << 1 << "Line 2" << 55.0;
    QTest::newRow("a named component that never answers")
        << save + QStringList{"--params-component", "1/99"} << QByteArray() << 1
        << "1/99 component did not answer" << 55.0;
    QTest::newRow("save: the vehicle's mount set from its autopilot, named")
        << save + QStringList{"--params-component", "1/1"} << QByteArray() << 0
        << "Saved 42 parameters" << 55.0;
}

void TestParamCommand::exitCode()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, file);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(double, pitchPower);

    SimulatorOptions options;
    options.protocol = SimulatedProtocol::V2;
    options.baud = 115200;
    // A row that names the autopilot runs against a vehicle, whose parameters are the autopilot's.
    const bool vehicle = arguments.contains(QStringLiteral("1/1"));
    if (vehicle)
        options.vehicle.autopilot = SimulatedAutopilot::ArduPilot;
    GimbalSimulator sim(options);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("gimbal.params"));
    if (!file.isEmpty()) {
        QFile written(path);
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.write(file);
    }
    arguments.replaceInStrings(QStringLiteral("FILE"), path);
    arguments.replaceInStrings(QStringLiteral("PORT"), sim.portPath());

    // No display of any kind, in English, with settings of its own.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.path());
    QProcess probe;
    probe.setProcessEnvironment(environment);
    QSignalSpy finished(&probe, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
    // The probe takes its last argument for a main file; these runs never load one.
    probe.start(QStringLiteral(STARTUP_PROBE), arguments << QStringLiteral("qrc:/unused.qml"));
    QVERIFY(finished.wait(30000));
    const QString output =
        QString::fromUtf8(probe.readAllStandardOutput() + probe.readAllStandardError());
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QVERIFY2(probe.exitCode() == exitCode, qPrintable(output));
    QVERIFY2(output.contains(said), qPrintable(output));

    const SimParamSet &held =
        sim.params(vehicle ? MAV_COMP_ID_AUTOPILOT1 : MAV_COMP_ID_GIMBAL)->params();
    if (!vehicle)
        QCOMPARE(held.at(held.indexOf("MOT_PWR_PITCH")).value, pitchPower);
    if (arguments.first() == QLatin1String("--params-save") && exitCode == 0) {
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().count('\n'), 1 + held.size());
    }
}

QTEST_GUILESS_MAIN(TestParamCommand)
#include "tst_paramcommand.moc"
