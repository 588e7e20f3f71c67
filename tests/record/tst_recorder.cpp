// Recording the link over a real pseudo-terminal: the rows and their values against what the
// gimbal sent, a complete file however and whenever the recording ends (in the same turn as the
// last rows too, under either of the event loops the suite runs with), the system's reason when a
// file (a CSV file or a telemetry log) cannot be written, and files that never replace one
// another. Run under a German locale as well, where the C library writes decimal commas.
#include "framewriter.h"
#include "pseudoterminal.h"
#include "ravik.h"
#include "recorder.h"
#include "tlogentry.h"

#include <messages.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstring>
#include <limits>
#include <memory>

#include <sys/resource.h>
#include <unistd.h>

namespace {
constexpr float Infinity = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
// Each report's delta_angle_y, in turn, and how the file spells it: one word for each NaN.
const float Unusual[] = {NaN, -NaN, Infinity, -Infinity};
const QByteArray Spelled[] = {"nan", "nan", "inf", "-inf"};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QByteArrayList> readRows(const QString &path)
{
    QList<QByteArrayList> rows;
    for (const QByteArray &line : readAll(path).split('\n')) {
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

mavlink_gimbal_report_t report(int i)
{
    mavlink_gimbal_report_t report{};
    report.delta_time = 0.02f;
    report.delta_angle_x = 0.001f * i;
    report.delta_angle_y = Unusual[i % 4];
    report.delta_velocity_z = -9.81f;
    report.joint_roll = 1.0f / (i + 1);
    report.joint_el = -0.5f;
    report.joint_az = 3.25f + i;
    report.target_system = 255;
    report.target_component = 190;
    return report;
}

// The gimbal's side of the link: its port open in the controller, reports sent from the far end.
struct Link
{
    Link() { ravik.switchSerial(pty.devicePath(), QStringLiteral("115200")); }

    // `count` reports, with a heartbeat after the first half.
    void send(int count)
    {
        for (int i = 0; i < count; ++i) {
            pty.write(gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report(i)));
            if (i == count / 2) {
                mavlink_heartbeat_t heartbeat{};
                heartbeat.custom_mode = 70000;
                heartbeat.system_status = 4;
                heartbeat.mavlink_version = 3;
                pty.write(gimbal.frame(MAVLINK_MSG_ID_HEARTBEAT, heartbeat));
            }
        }
    }

    PseudoTerminal pty;
    Ravik ravik;
    FrameWriter gimbal{2, 9, 154};
};

// Files of this process may grow to `bytes` while it lives (SIGXFSZ is ignored, so a write past
// the limit fails with EFBIG as a full disk fails with ENOSPC).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit limit = m_before;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_before); }

private:
    rlimit m_before{};
};

// Root writes into any folder; as another user a folder's permissions count.
class Unprivileged
{
public:
    Unprivileged() : m_root(geteuid() == 0)
    {
        if (m_root && seteuid(65534) != 0)
            qFatal("cannot give up root");
    }
    ~Unprivileged()
    {
        if (m_root && seteuid(0) != 0)
            qFatal("cannot become root again");
    }

private:
    bool m_root;
};

// The rows of a file cut short by a failed write: whole rows only, each with the header's columns.
bool wholeRows(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return true;
    if (!bytes.endsWith('\n'))
        return false;
    const QList<QByteArray> lines = bytes.left(bytes.size() - 1).split('\n');
    const int separators = lines.first().count(',');
    for (const QByteArray &line : lines) {
        if (line.count(',') != separators)
            return false;
    }
    return true;
}
} // namespace

class TestRecorder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void recordsWhatCameAndWent_data();
    void recordsWhatCameAndWent();
    void unwritable_data();
    void unwritable();
    void lastWriteFailureSparesTheNextRecording();
    void newFilesNeverReplaceOld();
};

void TestRecorder::initTestCase()
{
    std::signal(SIGXFSZ, SIG_IGN);
    // The application object has set the C library's locale from the environment, as in the
    // tool: a locale named there must have been generated, or the run proves nothing.
    const QByteArray named = qgetenv("LC_ALL");
    if (!named.isEmpty())
        QCOMPARE(QByteArray(std::setlocale(LC_ALL, nullptr)), named);
}

void TestRecorder::recordsWhatCameAndWent_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("reports");
    QTest::addColumn<bool>("sameTurn");
    QTest::addColumn<QString>("message");

    const QString stopped = QStringLiteral("Recording stopped: %1 rows in %2");
    const QString closed = QStringLiteral("Recording stopped, the port closed: %1 rows in %2");
    const QString ended = QStringLiteral("Recording stopped, the tool ended: %1 rows in %2");
    QTest::newRow("stopped by the user") << "stop" << 300 << false << stopped;
    QTest::newRow("stopped in the same turn as the last report")
        << "stop" << 300 << true << stopped;
    QTest::newRow("stopped at once after the start") << "stop" << 0 << true << stopped;
    QTest::newRow("the port closed by the user") << "close" << 300 << false << closed;
    QTest::newRow("the gimbal unplugged") << "unplug" << 300 << false << closed;
    QTest::newRow("the tool ending") << "quit" << 300 << false << ended;
    QTest::newRow("the tool ending in the same turn as the last report")
        << "quit" << 300 << true << ended;
}

void TestRecorder::recordsWhatCameAndWent()
{
    QFETCH(QString, end);
    QFETCH(int, reports);
    QFETCH(bool, sameTurn);
    QFETCH(QString, message);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("link.csv"));
    Link link;
    QVERIFY(link.ravik.serialIsOpen());
    auto recorder = std::make_unique<Recorder>(link.ravik.session(), nullptr);
    QSignalSpy messages(recorder.get(), &Recorder::message);
    QVERIFY(messages.isValid());
    recorder->startTo(path);
    QVERIFY(recorder->recording());

    const auto finish = [&] {
        if (end == QLatin1String("stop"))
            recorder->stop();
        else if (end == QLatin1String("close"))
            link.ravik.switchSerial(link.pty.devicePath(), QStringLiteral("115200"));
        else if (end == QLatin1String("unplug"))
            link.pty.closeFarEnd();
        else
            recorder.reset();
    };
    if (reports > 0) {
        QVERIFY(link.pty.waitForReceived(26, 2000));
        // Connected after the recorder, so it sees the last report's row added, not yet handed
        // over.
        int seen = 0;
        connect(&link.ravik.session(), &MavlinkSession::frameReceived, this,
                [&](const mavlink_message_t &msg) {
                    if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_REPORT && ++seen == reports && sameTurn)
                        finish();
                });
        link.send(reports);
        QTRY_COMPARE_WITH_TIMEOUT(seen, reports, 5000);
    }
    if (!sameTurn || reports == 0)
        finish();
    QTRY_VERIFY(!recorder || !recorder->recording());
    QVERIFY(!messages.isEmpty());

    const QList<QByteArrayList> rows = readRows(path);
    QVERIFY(!rows.isEmpty());
    // The report protocol's 28 columns, then the v2 device's 62 and the gimbal manager's 24.
    QCOMPARE(rows.first().size(), 114);
    QCOMPARE(rows.first().mid(0, 5), (QByteArrayList{"time_us", "kind", "sysid", "compid", "seq"}));
    QCOMPARE(messages.last().at(0).toString(), message.arg(rows.size() - 1).arg(path));

    const QList<QByteArrayList> reportRows = ofKind(rows, "report");
    QCOMPARE(reportRows.size(), reports);
    for (int i = 0; i < reports; ++i) {
        const QByteArrayList &row = reportRows.at(i);
        QCOMPARE(row.size(), rows.first().size());
        QCOMPARE(row.at(2), QByteArray("9"));
        QCOMPARE(row.at(3), QByteArray("154"));
        QCOMPARE(row.at(5).toFloat(), 0.02f);
        QCOMPARE(row.at(6).toFloat(), 0.001f * i);
        QCOMPARE(row.at(7), Spelled[i % 4]);
        QCOMPARE(row.at(11).toFloat(), -9.81f);
        QCOMPARE(row.at(12).toFloat(), 1.0f / (i + 1));
        QCOMPARE(row.at(13).toFloat(), -0.5f);
        QCOMPARE(row.at(14).toFloat(), 3.25f + i);
        QCOMPARE(row.at(15), QByteArray("255"));
        QCOMPARE(row.at(16), QByteArray("190"));
    }
    const QList<QByteArrayList> heartbeats = ofKind(rows, "heartbeat");
    QCOMPARE(heartbeats.size(), reports > 0 ? 1 : 0);
    if (reports > 0) {
        QCOMPARE(heartbeats.first().mid(17, 6), (QByteArrayList{"70000", "0", "0", "0", "4", "3"}));
        // Sequence numbers run on from the reports through the heartbeat.
        QCOMPARE(heartbeats.first().at(4).toInt(), (reports / 2 + 1) % 256);
    }

    const QList<QByteArrayList> commands = ofKind(rows, "command");
    QCOMPARE(commands.isEmpty(), reports == 0);
    for (const QByteArrayList &command : commands) {
        QCOMPARE(command.mid(23, 5), (QByteArrayList{"0", "0", "0", "1", "1"}));
        QCOMPARE(command.at(2), QByteArray("0"));
    }
    qint64 last = -1;
    for (const QByteArrayList &row : rows.mid(1)) {
        QCOMPARE(row.size(), rows.first().size());
        QVERIFY(row.at(0).toLongLong() >= last);
        last = row.at(0).toLongLong();
    }
}

void TestRecorder::unwritable_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("sizeLimit");
    QTest::addColumn<int>("error");
    // Whether the file was opened, so that the recording began and failed later.
    QTest::addColumn<bool>("began");

    QTest::newRow("a folder that is a file")
        << QString() << "file/recording.csv" << qint64(0) << ENOTDIR << false;
    QTest::newRow("a full disk") << QString() << "/dev/full" << qint64(0) << ENOSPC << true;
    QTest::newRow("a size limit reached in the middle of a row")
        << QString() << "link.csv" << qint64(1000) << EFBIG << true;
    QTest::newRow("a size limit reached in the middle of a frame")
        << QString() << "link.tlog" << qint64(1000) << EFBIG << true;
    QTest::newRow("a folder the tool may not write")
        << "locked" << QString() << qint64(0) << EACCES << false;
    QTest::newRow("a folder to be made in one the tool may not write")
        << "locked/new/deeper" << QString() << qint64(0) << EACCES << false;
}

void TestRecorder::unwritable()
{
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(qint64, sizeLimit);
    QFETCH(int, error);
    QFETCH(bool, began);

    QTemporaryDir base;
    QFile plain(base.filePath(QStringLiteral("file")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(QDir(base.path()).mkdir(QStringLiteral("locked")));
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(base.filePath(QStringLiteral("locked")), readOnly));
    QVERIFY(QFile::setPermissions(base.path(), readOnly | QFile::WriteOwner));

    Link link;
    Recorder recorder(link.ravik.session(), nullptr);
    QSignalSpy messages(&recorder, &Recorder::message);
    QVERIFY(messages.isValid());
    std::unique_ptr<FileSizeLimit> limit;
    if (sizeLimit > 0)
        limit = std::make_unique<FileSizeLimit>(sizeLimit);
    QString path;
    if (folder.isEmpty()) {
        path = file.startsWith('/') ? file : base.filePath(file);
        recorder.startTo(path);
    } else {
        path = base.filePath(folder);
        recorder.setFolder(path);
        Unprivileged unprivileged;
        recorder.start();
    }
    link.send(50);
    QTRY_VERIFY_WITH_TIMEOUT(!recorder.recording(), 3000);
    limit.reset();

    const QByteArray written =
        path.startsWith(QLatin1String("/dev/")) ? QByteArray() : readAll(path);
    const bool frames = path.endsWith(QLatin1String(".tlog"));
    qint64 entries = frames ? 0 : std::max(written.count('\n') - 1, 0);
    QVERIFY(frames
                ? tlog::wholeEntries(written.constData(), written.size(), entries) == written.size()
                : wholeRows(written));
    if (sizeLimit > 0)
        QVERIFY(written.size() <= sizeLimit);
    // The system's own words for the error, in its language: never "Unknown error".
    const QString reason = qt_error_string(error);
    QCOMPARE(messages.last().at(0).toString(),
             began ? QStringLiteral("Recording failed: %1. %2 holds %3 %4.")
                         .arg(reason, path, QString::number(entries),
                              frames ? QStringLiteral("frames") : QStringLiteral("rows"))
                   : QStringLiteral("Cannot record to %1: %2.").arg(path, reason));

    // The link goes on: commands still reach the gimbal.
    QVERIFY(link.ravik.serialIsOpen());
    link.pty.takeReceived();
    QVERIFY(link.pty.waitForReceived(3 * 26, 2000));
}

// The last rows fail to go in (a size limit reached as the recording stops), and a new recording
// starts in the same turn: the failure is reported with the first, and the second records on.
void TestRecorder::lastWriteFailureSparesTheNextRecording()
{
    QTemporaryDir folder;
    const QString first = folder.filePath(QStringLiteral("first.csv"));
    const QString second = folder.filePath(QStringLiteral("second.csv"));
    Link link;
    Recorder recorder(link.ravik.session(), nullptr);
    QSignalSpy messages(&recorder, &Recorder::message);
    QVERIFY(messages.isValid());
    recorder.startTo(first);
    QVERIFY(recorder.recording());

    constexpr int Reports = 40;
    int seen = 0;
    connect(&link.ravik.session(), &MavlinkSession::frameReceived, &recorder,
            [&](const mavlink_message_t &msg) {
                if (msg.msgid != MAVLINK_MSG_ID_GIMBAL_REPORT || ++seen != Reports)
                    return;
                {
                    // Room for part of a row beyond what is written.
                    FileSizeLimit limit(static_cast<rlim_t>(QFileInfo(first).size()) + 60);
                    recorder.stop();
                }
                recorder.startTo(second);
            });
    // The header and the first commands are in the file before the reports come.
    QTRY_VERIFY_WITH_TIMEOUT(readAll(first).count('\n') > 1, 2000);
    link.send(Reports);
    QTRY_COMPARE_WITH_TIMEOUT(seen, Reports, 5000);
    QVERIFY(recorder.recording());
    const QByteArray written = readAll(first);
    QVERIFY(wholeRows(written));
    QVERIFY(written.count('\n') > 1);
    QCOMPARE(messages.at(messages.size() - 2).at(0).toString(),
             QStringLiteral("Recording failed: %1. %2 holds %3 rows.")
                 .arg(qt_error_string(EFBIG), first)
                 .arg(written.count('\n') - 1));

    QSignalSpy moreReports(&link.ravik, &Ravik::gimbalImuAngleChanged);
    QVERIFY(moreReports.isValid());
    link.send(10);
    QTRY_COMPARE_WITH_TIMEOUT(moreReports.count(), 10, 5000);
    QVERIFY(recorder.recording());
    recorder.stop();
    const QList<QByteArrayList> rows = readRows(second);
    QCOMPARE(ofKind(rows, "report").size(), 10);
    QCOMPARE(messages.last().at(0).toString(),
             QStringLiteral("Recording stopped: %1 rows in %2").arg(rows.size() - 1).arg(second));
}

// Files named for the second that already exist (another recording's, another program's) stay
// as they are, and so does the file of a recording stopped and started again in one second.
void TestRecorder::newFilesNeverReplaceOld()
{
    QTemporaryDir folder;
    const QDateTime now = QDateTime::currentDateTime();
    QStringList theirs;
    for (const QDateTime &time : {now, now.addSecs(1)}) {
        theirs.append(
            folder.filePath(time.toString(QStringLiteral("'gimbal-'yyyyMMdd-HHmmss'.csv'"))));
        QFile file(theirs.last());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("theirs\n");
    }

    Link link;
    Recorder recorder(link.ravik.session(), nullptr);
    recorder.setFolder(folder.path());
    recorder.start();
    QVERIFY(recorder.recording());
    const QString first = recorder.fileNames().first();
    const QString firstLog = recorder.fileNames().last();
    link.pty.takeReceived();
    QVERIFY(link.pty.waitForReceived(26, 2000));
    recorder.start();
    QVERIFY(recorder.recording());
    const QString second = recorder.fileNames().first();
    recorder.stop();

    QVERIFY(!theirs.contains(first));
    QVERIFY(!theirs.contains(second));
    QVERIFY(first != second);
    // Its second's name was taken, so the recording took the name's next number, for its
    // telemetry log too.
    QVERIFY(first.endsWith(QLatin1String("-2.csv")));
    QCOMPARE(firstLog, first.chopped(3) + QLatin1String("tlog"));
    for (const QString &path : theirs)
        QCOMPARE(readAll(path), QByteArray("theirs\n"));
    QVERIFY(!ofKind(readRows(first), "command").isEmpty());
    QVERIFY(readAll(second).startsWith("time_us,kind,"));
}

QTEST_GUILESS_MAIN(TestRecorder)
#include "tst_recorder.moc"
