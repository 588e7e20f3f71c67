// A v2 gimbal's session recorded and plotted: the controller with the v2 link on a pseudo-terminal
// whose far end plays the device, the recorder writing a real file and the plot's history. Every
// v2 message that went either way is a row with its fields under their own columns, the angles
// shown among them; the plot takes the controlled gimbal's angles and the commands' rates, and
// nothing from the tool's heartbeats or requests.
#include "framewriter.h"
#include "gimbalv2link.h"
#include "messagewait.h"
#include "pseudoterminal.h"
#include "ravik.h"
#include "recorder.h"
#include "telemetryhistory.h"

#include <command.h>
#include <gimbal_v2.h>
#include <messages.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>

namespace {
using Row = QHash<QString, QString>;

// One CSV line's fields, a quoted field's doubled quotes undone.
QStringList fieldsOf(const QString &line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"')
            fields.last().append(line[++i]);
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.append(QString());
        else
            fields.last().append(c);
    }
    return fields;
}

// The rows of a recording, each keyed by the header's column names.
QList<Row> readRows(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList header = QString::fromUtf8(file.readLine()).trimmed().split(',');
    QList<Row> rows;
    while (!file.atEnd()) {
        const QStringList fields = fieldsOf(QString::fromUtf8(file.readLine()).trimmed());
        Row row;
        for (int i = 0; i < header.size() && i < fields.size(); ++i)
            row.insert(header[i], fields[i]);
        row.insert(QStringLiteral("#fields"), QString::number(fields.size()));
        rows.append(row);
    }
    return rows;
}

// The last row of `kind`: the commands' after the stick was pushed.
Row lastOfKind(const QList<Row> &rows, const QString &kind)
{
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        if (row->value(QStringLiteral("kind")) == kind)
            return *row;
    }
    return {};
}
} // namespace

class TestV2Recording : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rowsOfEveryKind_data();
    void rowsOfEveryKind();
    void plotTakesAnglesAndRates();

private:
    QList<Row> m_rows;
    int m_headerFields = 0;
    std::vector<Sample> m_angles;
    std::vector<Sample> m_rates;
};

void TestV2Recording::initTestCase()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("v2.csv"));
    PseudoTerminal pty;
    Ravik ravik;
    GimbalV2Link link(ravik, {});
    TelemetryHistory history(ravik.session());
    history.followChosen(link.devices());
    Recorder recorder(ravik.session(), nullptr);
    MessageWait wait(pty);
    recorder.startTo(path);
    QVERIFY(recorder.recording());
    ravik.switchSerial(pty.devicePath(), QStringLiteral("115200"));
    QVERIFY(ravik.serialIsOpen());

    FrameWriter device(2, 1, MAV_COMP_ID_GIMBAL);
    mavlink_gimbal_device_attitude_status_t status{};
    mavlink_quaternion_from_euler(0.1f, -0.25f, 0.5f, status.q);
    status.angular_velocity_y = -0.75f;
    status.failure_flags = GIMBAL_DEVICE_ERROR_FLAGS_AT_PITCH_LIMIT;
    status.flags = GIMBAL_DEVICE_FLAGS_YAW_IN_EARTH_FRAME;
    status.delta_yaw = 0.125f;
    status.gimbal_device_id = 1;
    pty.write(device.frame(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, status));
    const auto request = wait.waitFor(
        [](const mavlink_message_t &msg) { return msg.msgid == MAVLINK_MSG_ID_COMMAND_LONG; });
    QCOMPARE(request.size(), std::size_t(1));
    mavlink_command_ack_t ack{};
    ack.command = MAV_CMD_REQUEST_MESSAGE;
    pty.write(device.frame(MAVLINK_MSG_ID_COMMAND_ACK, ack));
    mavlink_gimbal_device_information_t info{};
    std::strcpy(info.vendor_name, "Acme, \"Best\"");
    info.firmware_version = 0x01020304;
    info.pitch_min = -1.5f;
    info.cap_flags2 = GIMBAL_DEVICE_CAP_FLAGS_CAN_POINT_LOCATION_GLOBAL;
    pty.write(device.frame(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION, info));
    QSignalSpy known(link.information(), &V2Information::changed);
    QVERIFY(known.wait(2000));
    // A second gimbal on the link, not the controlled one: recorded, not plotted.
    FrameWriter other(2, 1, 172);
    pty.write(other.frame(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, status));
    QSignalSpy listed(link.devices(), &V2Devices::devicesChanged);
    QVERIFY(listed.wait(2000));
    ravik.setJoystick(0.0f, 1.0f, 0.0f);
    wait.skip();
    QCOMPARE(wait.waitFor(
                     [](const mavlink_message_t &msg) {
                         return msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE;
                     },
                     5)
                 .size(),
             std::size_t(5));
    // The tool's heartbeat, two seconds after the opening.
    QCOMPARE(wait.waitFor([](const mavlink_message_t &msg) {
                     return msg.msgid == MAVLINK_MSG_ID_HEARTBEAT;
                 })
                 .size(),
             std::size_t(1));

    // Rows reach the file a few times a second; the stick's commands are among them before the
    // recording stops.
    const auto written = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains(",1.57079637,");
    };
    QTRY_VERIFY_WITH_TIMEOUT(written(), 3000);
    m_angles.assign(history.angles().samples().begin(), history.angles().samples().end());
    m_rates.assign(history.rates().samples().begin(), history.rates().samples().end());
    QSignalSpy stopped(&recorder, &Recorder::recordingChanged);
    recorder.stop();
    QVERIFY(!recorder.recording() || stopped.wait(2000));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    m_headerFields = QString::fromUtf8(file.readLine()).trimmed().split(',').size();
    m_rows = readRows(path);
    QVERIFY(!m_rows.isEmpty());
}

void TestV2Recording::rowsOfEveryKind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");

    QTest::newRow("a status keeps its failure flags")
        << "v2_status"
        << "failure_flags" << QString::number(GIMBAL_DEVICE_ERROR_FLAGS_AT_PITCH_LIMIT);
    QTest::newRow("a status keeps its measured rate") << "v2_status"
                                                      << "angular_velocity_y"
                                                      << "-0.75";
    QTest::newRow("a status keeps delta_yaw") << "v2_status"
                                              << "delta_yaw"
                                              << "0.125";
    QTest::newRow("a status has the pitch shown") << "v2_status"
                                                  << "shown_pitch"
                                                  << "-0.25";
    QTest::newRow("a status has the yaw shown, relative to the vehicle") << "v2_status"
                                                                         << "shown_yaw"
                                                                         << "0.375";
    QTest::newRow("the information's vendor reads back whole, comma and quotes too")
        << "v2_information"
        << "vendor_name"
        << "Acme, \"Best\"";
    QTest::newRow("the information's firmware version as sent")
        << "v2_information"
        << "firmware_version" << QString::number(0x01020304);
    QTest::newRow("the information's extension field") << "v2_information"
                                                       << "cap_flags2" << QString::number(131072);
    QTest::newRow("the acknowledgement names the command") << "command_ack"
                                                           << "ack_command"
                                                           << "512";
    QTest::newRow("the request asks for the information") << "command_long"
                                                          << "param1"
                                                          << "283";
    QTest::newRow("the request goes to the device") << "command_long"
                                                    << "long_target_component"
                                                    << "154";
    QTest::newRow("the tool's heartbeat says ground station") << "sent_heartbeat"
                                                              << "type"
                                                              << "6";
    QTest::newRow("an attitude command's pitch rate") << "v2_command"
                                                      << "set_angular_velocity_y"
                                                      << "1.57079637";
    QTest::newRow("an attitude command's empty quaternion") << "v2_command"
                                                            << "set_q_w"
                                                            << "nan";
    QTest::newRow("an attitude command's flags")
        << "v2_command"
        << "set_flags"
        << QString::number(GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK |
                           GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME);
}

void TestV2Recording::rowsOfEveryKind()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(QString, value);

    const Row row = lastOfKind(m_rows, kind);
    QVERIFY2(!row.isEmpty(), qPrintable(kind));
    const QString field = row.value(column);
    QVERIFY2(field.startsWith(value), qPrintable(field));
    // Every row as wide as the header, text fields with commas included.
    QCOMPARE(row.value(QStringLiteral("#fields")).toInt(), m_headerFields);
}

void TestV2Recording::plotTakesAnglesAndRates()
{
    // The controlled gimbal's one status; the other gimbal's is not drawn.
    QCOMPARE(m_angles.size(), std::size_t(1));
    QVERIFY(std::abs(m_angles.front().value[0] + 0.25f) < 1e-5f);
    QVERIFY(std::abs(m_angles.front().value[2] - 0.375f) < 1e-5f);
    // Rates only from the attitude commands: those of the full stick up at the end.
    QVERIFY(m_rates.size() >= 5);
    QCOMPARE(m_rates.back().value[1], 1.5707964f);
    for (const Sample &sample : m_rates) {
        QCOMPARE(sample.value[0], 0.0f);
        QCOMPARE(sample.value[2], 0.0f);
    }
}

QTEST_GUILESS_MAIN(TestV2Recording)
#include "tst_v2recording.moc"
