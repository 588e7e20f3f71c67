// Recording the link over a real pseudo-terminal: the rows and their values against what the
// gimbal sent, a complete file however the recording ends, and a clear message when the file
// cannot be written, with the link going on.
#include "framewriter.h"
#include "pseudoterminal.h"
#include "ravik.h"
#include "recorder.h"

#include <messages.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
QList<QByteArrayList> readRows(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArrayList> rows;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            rows.append(line.split(','));
    }
    return rows;
}

QList<QByteArrayList> ofKind(const QList<QByteArrayList> &rows, const QByteArray &kind)
{
    QList<QByteArrayList> picked;
    for (const QByteArrayList &row : rows) {
        if (row.value(1) == kind)
            picked.append(row);
    }
    return picked;
}
} // namespace

class TestRecorder : public QObject
{
    Q_OBJECT

private slots:
    void recordsWhatCameAndWent_data();
    void recordsWhatCameAndWent();
    void unwritableFile_data();
    void unwritableFile();
};

void TestRecorder::recordsWhatCameAndWent_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("message");

    QTest::newRow("stopped by the user") << "stop"
                                         << "Recording stopped: %1 rows in %2";
    QTest::newRow("the gimbal unplugged") << "unplug"
                                          << "Recording stopped, the port closed: %1 rows in %2";
    QTest::newRow("the tool ending") << "quit"
                                     << "Recording stopped, the tool ended: %1 rows in %2";
}

void TestRecorder::recordsWhatCameAndWent()
{
    QFETCH(QString, end);
    QFETCH(QString, message);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("link.csv"));
    auto pty = std::make_unique<PseudoTerminal>();
    Ravik ravik;
    ravik.switchSerial(pty->devicePath(), QStringLiteral("115200"));
    QVERIFY(ravik.serialIsOpen());
    auto recorder = std::make_unique<Recorder>(ravik, nullptr);
    QSignalSpy messages(recorder.get(), &Recorder::message);
    recorder->startTo(path);
    QVERIFY(recorder->recording());

    // Reports with every field set, a heartbeat between them, and the commands of a few ticks.
    FrameWriter gimbal(2, 9, 154);
    QSignalSpy reports(&ravik, &Ravik::gimbalImuAngleChanged);
    constexpr int Reports = 300;
    for (int i = 0; i < Reports; ++i) {
        mavlink_gimbal_report_t report{};
        report.delta_time = 0.02f;
        report.delta_angle_x = 0.001f * i;
        report.delta_velocity_z = -9.81f;
        report.joint_roll = 1.0f / (i + 1);
        report.joint_el = -0.5f;
        report.joint_az = 3.25f + i;
        report.target_system = 255;
        report.target_component = 190;
        pty->write(gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report));
        if (i == Reports / 2) {
            mavlink_heartbeat_t heartbeat{};
            heartbeat.custom_mode = 70000;
            heartbeat.system_status = 4;
            heartbeat.mavlink_version = 3;
            pty->write(gimbal.frame(MAVLINK_MSG_ID_HEARTBEAT, heartbeat));
        }
    }
    QTRY_COMPARE_WITH_TIMEOUT(reports.count(), Reports, 5000);
    QTest::qWait(100);

    if (end == QLatin1String("stop")) {
        recorder->stop();
    } else if (end == QLatin1String("unplug")) {
        pty->closeFarEnd();
        QTRY_VERIFY(!ravik.serialIsOpen());
    } else {
        recorder.reset();
    }
    if (recorder)
        QVERIFY(!recorder->recording());
    QVERIFY(!messages.isEmpty());

    const QList<QByteArrayList> rows = readRows(path);
    QVERIFY(!rows.isEmpty());
    // The report protocol's 28 columns, then the v2 messages' 62.
    QCOMPARE(rows.first().size(), 90);
    QCOMPARE(rows.first().mid(0, 5), (QByteArrayList{"time_us", "kind", "sysid", "compid", "seq"}));
    QCOMPARE(messages.last().at(0).toString(), message.arg(rows.size() - 1).arg(path));

    const QList<QByteArrayList> reportRows = ofKind(rows, "report");
    QCOMPARE(reportRows.size(), Reports);
    for (int i = 0; i < Reports; ++i) {
        const QByteArrayList &row = reportRows.at(i);
        QCOMPARE(row.size(), rows.first().size());
        QCOMPARE(row.at(2), QByteArray("9"));
        QCOMPARE(row.at(3), QByteArray("154"));
        QCOMPARE(row.at(5).toFloat(), 0.02f);
        QCOMPARE(row.at(6).toFloat(), 0.001f * i);
        QCOMPARE(row.at(11).toFloat(), -9.81f);
        QCOMPARE(row.at(12).toFloat(), 1.0f / (i + 1));
        QCOMPARE(row.at(13).toFloat(), -0.5f);
        QCOMPARE(row.at(14).toFloat(), 3.25f + i);
        QCOMPARE(row.at(15), QByteArray("255"));
        QCOMPARE(row.at(16), QByteArray("190"));
    }
    const QList<QByteArrayList> heartbeats = ofKind(rows, "heartbeat");
    QCOMPARE(heartbeats.size(), 1);
    QCOMPARE(heartbeats.first().mid(17, 6), (QByteArrayList{"70000", "0", "0", "0", "4", "3"}));
    // Sequence numbers run on from the reports through the heartbeat.
    QCOMPARE(heartbeats.first().at(4).toInt(), (Reports / 2 + 1) % 256);

    const QList<QByteArrayList> commands = ofKind(rows, "command");
    QVERIFY(!commands.isEmpty());
    for (const QByteArrayList &command : commands) {
        QCOMPARE(command.mid(23, 5), (QByteArrayList{"0", "0", "0", "1", "1"}));
        QCOMPARE(command.at(2), QByteArray("0"));
    }
    qint64 last = -1;
    for (const QByteArrayList &row : rows.mid(1)) {
        QVERIFY(row.at(0).toLongLong() >= last);
        last = row.at(0).toLongLong();
    }
}

void TestRecorder::unwritableFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("message");

    QTest::newRow("a folder that is not a folder") << "file/recording.csv"
                                                   << "Cannot record to %1: ";
    QTest::newRow("a full disk") << "/dev/full"
                                 << "Recording failed: No space left on device. %1 holds the rows";
}

void TestRecorder::unwritableFile()
{
    QFETCH(QString, target);
    QFETCH(QString, message);

    QTemporaryDir folder;
    QFile plain(folder.filePath(QStringLiteral("file")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString path = target.startsWith('/') ? target : folder.filePath(target);

    PseudoTerminal pty;
    Ravik ravik;
    ravik.switchSerial(pty.devicePath(), QStringLiteral("115200"));
    Recorder recorder(ravik, nullptr);
    QSignalSpy messages(&recorder, &Recorder::message);
    recorder.startTo(path);
    QTRY_VERIFY_WITH_TIMEOUT(!recorder.recording(), 2000);
    QVERIFY(messages.last().at(0).toString().startsWith(message.arg(path)));

    // The link goes on: commands still reach the gimbal.
    QVERIFY(ravik.serialIsOpen());
    pty.takeReceived();
    QVERIFY(pty.waitForReceived(3 * 26, 2000));
}

QTEST_GUILESS_MAIN(TestRecorder)
#include "tst_recorder.moc"
