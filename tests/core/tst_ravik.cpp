// The controller over a real pseudo-terminal: opening and closing, telemetry intake, the 20 ms
// command stream, and the reactions to a vanished device.
#include "englishmessages.h"
#include "framereader.h"
#include "framewriter.h"
#include "linkstatus.h"
#include "openfailure.h"
#include "pseudoterminal.h"
#include "ravik.h"
#include "serial.h"
#include "serialevent.h"

#include <messages.h>
#include <parser.h>

#include <QSignalSpy>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <limits>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
const QString RemovalEnglish = QStringLiteral(
    "The gimbal is experiencing abnormal connection with the computer, please check the USB "
    "connection.");
const QString RemovalChinese = QStringLiteral("云台与电脑连接异常，请检查USB连接");
const QString NotOpenEnglish = QStringLiteral("Please Open Serial First");
const QString NotOpenChinese = QStringLiteral("请您先打开串口");

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Infinity = std::numeric_limits<float>::infinity();

quint32 bitsOf(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatOf(quint32 bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray report(float roll, float el, float az, int version = 2)
{
    static FrameWriter v1(1), v2(2);
    mavlink_gimbal_report_t r{};
    r.joint_roll = roll;
    r.joint_el = el;
    r.joint_az = az;
    return (version == 1 ? v1 : v2).frame(MAVLINK_MSG_ID_GIMBAL_REPORT, r);
}

// A report whose sender cut the payload to 30 bytes: joint_roll keeps its two low bytes only.
QByteArray trimmedReport()
{
    static FrameWriter writer;
    mavlink_gimbal_report_t r{};
    r.joint_roll = floatOf(0x41201234);
    r.joint_el = 5.0f;
    return writer.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, &r, 30);
}

mavlink_gimbal_control_t controlOf(const mavlink_message_t &msg)
{
    mavlink_gimbal_control_t control{};
    std::memcpy(&control, msg.payload, std::min<std::size_t>(msg.len, sizeof control));
    return control;
}

bool removeDevice(Ravik &ravik, const QString &name, const QByteArray &eventType)
{
    return ravik.watcher()->deviceChange(
        eventType, 0x0219, 0x8004, [] { return 3u; }, [&name] { return name; });
}

// While it lives, the process's effective rights lack the override of file modes, so that a
// device whose mode forbids it is refused to root too, as to any user outside its group. The
// permitted rights keep the override, and it comes back at the end.
class ModesEnforced
{
public:
    ModesEnforced()
    {
        m_read = ::syscall(SYS_capget, &m_header, m_saved) == 0;
        __user_cap_data_struct reduced[2];
        std::memcpy(reduced, m_saved, sizeof reduced);
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
        m_read = m_read && ::syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~ModesEnforced()
    {
        if (m_read)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    ModesEnforced(const ModesEnforced &) = delete;
    ModesEnforced &operator=(const ModesEnforced &) = delete;
    bool inForce() const { return m_read; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_read = false;
};

// Opens the pseudo-terminal through the controller as the window's button does.
bool openThrough(Ravik &ravik, const PseudoTerminal &pty)
{
    ravik.switchSerial(pty.devicePath(), QStringLiteral("115200"));
    return ravik.serialIsOpen();
}
} // namespace

class TestRavik : public QObject
{
    Q_OBJECT

private slots:
    // Every test starts with the English catalogue installed.
    void init();
    void startsWithIntZerosAndClosed();
    void languageIndexFollowsLocale_data();
    void languageIndexFollowsLocale();
    void serialPortPrintsEachReadOfTheList();
    void setLanguageEmitsEveryTime();
    void openAndCloseToggle();
    void failedOpen_data();
    void failedOpen();
    void openFailureMessage_data();
    void openFailureMessage();
    void nonNumericBaudStillOpens();
    void telemetry_data();
    void telemetry();
    void reportSplitOverTwoChunks_data();
    void reportSplitOverTwoChunks();
    void heartbeatWritesStatus();
    void anglesKeptAfterClose();
    void commandsEveryTick_data();
    void commandsEveryTick();
    void directCommandLeavesStoredRates();
    void stalledLinkQueuesNoBacklog();
    void closedPortAsksToOpen_data();
    void closedPortAsksToOpen();
    void removalOfOpenPort_data();
    void removalOfOpenPort();
    void removalOfAnotherDevice();
    void removalSeenTwice();
    void arrivalRefreshesList();
    void vanishedDeviceClosesPort();
    void userClosesVanishedPort();
};

void TestRavik::init()
{
    QCoreApplication::removeTranslator(&englishMessages());
    QVERIFY(QCoreApplication::installTranslator(&englishMessages()));
}

void TestRavik::startsWithIntZerosAndClosed()
{
    Ravik ravik;
    const QVariantList angles = ravik.gimbalImuAngle();
    QCOMPARE(angles.size(), 3);
    for (const QVariant &angle : angles) {
        QCOMPARE(angle.userType(), int(QMetaType::Int));
        QCOMPARE(angle.toInt(), 0);
    }
    QVERIFY(!ravik.serialIsOpen());
    QVERIFY(!ravik.wrapper()->isOpen());
}

void TestRavik::languageIndexFollowsLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("index");

    QTest::newRow("English of any country gives 0")
        << QLocale(QLocale::English, QLocale::India) << 0;
    QTest::newRow("Simplified Chinese gives 1") << QLocale(QLocale::Chinese, QLocale::China) << 1;
    QTest::newRow("Traditional Chinese gives 1 too")
        << QLocale(QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Taiwan) << 1;
    QTest::newRow("French gives 0") << QLocale(QLocale::French, QLocale::France) << 0;
    QTest::newRow("Japanese gives 0") << QLocale(QLocale::Japanese, QLocale::Japan) << 0;
}

void TestRavik::languageIndexFollowsLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(int, index);

    const QLocale before;
    QLocale::setDefault(locale);
    Ravik ravik;
    QLocale::setDefault(before);
    QCOMPARE(ravik.languageIndex(), index);
}

void TestRavik::serialPortPrintsEachReadOfTheList()
{
    Ravik ravik;
    const QStringList names = ravik.wrapper()->portNameList();
    QVERIFY(!names.isEmpty());
    for (int read = 0; read < 2; ++read)
        for (const QString &name : names)
            QTest::ignoreMessage(QtDebugMsg,
                                 qPrintable(QLatin1Char('"') + name + QLatin1Char('"')));
    QCOMPARE(ravik.serialPort(), names);
    QCOMPARE(ravik.property("serialPort").toStringList(), names);
}

void TestRavik::setLanguageEmitsEveryTime()
{
    Ravik ravik;
    QSignalSpy spy(&ravik, &Ravik::languageIndexChanged);
    QVERIFY(spy.isValid());
    ravik.setLanguage(2);
    ravik.setLanguage(2);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(ravik.languageIndex(), 2);
}

void TestRavik::openAndCloseToggle()
{
    PseudoTerminal pty;
    Ravik ravik;
    QSignalSpy changed(&ravik, &Ravik::serialIsOpenChanged);
    QVERIFY(changed.isValid());

    QVERIFY(openThrough(ravik, pty));
    QCOMPARE(changed.count(), 1);
    QVERIFY(ravik.wrapper()->isOpen());

    // While open, any arguments close: the other name is not opened.
    ravik.switchSerial(QStringLiteral("ttyS99"), QStringLiteral("9600"));
    QCOMPARE(changed.count(), 2);
    QVERIFY(!ravik.serialIsOpen());
    QVERIFY(!ravik.wrapper()->isOpen());
}

void TestRavik::failedOpen_data()
{
    QTest::addColumn<QString>("name");
    // "held" by another program, "forbidden" by its mode, or as the name says.
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("reason");

    const QString named;
    QTest::newRow("the None placeholder is no port")
        << QStringLiteral("None") << named << QStringLiteral("there is no such port");
    QTest::newRow("a path that does not exist is no port")
        << QStringLiteral("/dev/ttyGIMBAL-missing") << named
        << QStringLiteral("there is no such port");
    QTest::newRow("a port that another program holds is busy")
        << QString() << QStringLiteral("held") << QStringLiteral("another program is using it");
    QTest::newRow("a port the user may not use: permission denied, with the dialout hint")
        << QString() << QStringLiteral("forbidden")
        << QStringLiteral("permission denied (Permission denied). Join the dialout group");
    QTest::newRow("a name too long for the system says so, without the dialout hint")
        << QString(10000, QLatin1Char('x')) << named << QStringLiteral("File name too long.");
    QTest::newRow("a path through a file that is no folder")
        << QStringLiteral("/dev/null/ttyUSB0") << named << QStringLiteral("Not a directory.");
}

void TestRavik::failedOpen()
{
    QFETCH(QString, name);
    QFETCH(QString, device);
    QFETCH(QString, reason);

    PseudoTerminal pty;
    Serial holder;
    std::unique_ptr<ModesEnforced> modes;
    if (device == QLatin1String("held")) {
        name = pty.devicePath();
        QVERIFY(holder.openPort(name, 115200));
    } else if (device == QLatin1String("forbidden")) {
        name = pty.devicePath();
        QCOMPARE(::chmod(QFile::encodeName(name).constData(), 0), 0);
        modes = std::make_unique<ModesEnforced>();
        QVERIFY(modes->inForce());
    }
    Ravik ravik;
    QSignalSpy changed(&ravik, &Ravik::serialIsOpenChanged);
    QSignalSpy messages(&ravik, &Ravik::addMessage);
    QVERIFY(changed.isValid());
    QVERIFY(messages.isValid());

    ravik.switchSerial(name, QStringLiteral("115200"));
    QCOMPARE(changed.count(), 1);
    QVERIFY(!ravik.serialIsOpen());
    QCOMPARE(messages.count(), 1);
    const QString message = messages.at(0).at(0).toString();
    QVERIFY2(message.startsWith("Cannot open " + name + ": " + reason), qPrintable(message));

    // The recorded name's port is not open, so its removal brings no message.
    QSignalSpy listChanged(&ravik, &Ravik::serialPortChanged);
    QTest::ignoreMessage(QtDebugMsg, qPrintable("device remove complete: \"" + name + '"'));
    removeDevice(ravik, name, "windows_generic_MSG");
    QCOMPARE(listChanged.count(), 1);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(changed.count(), 1);
}

void TestRavik::openFailureMessage_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("accessError");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("message");

    QTest::newRow("refused although the user may use it: another program holds it")
        << int(QSerialPort::PermissionError) << 0 << true
        << "Cannot open ttyUSB0: another program is using it (why). Close that program and try "
           "again.";
    QTest::newRow("refused to a user who may not use it: join dialout")
        << int(QSerialPort::PermissionError) << EACCES << true
        << "Cannot open ttyUSB0: permission denied (why). Join the dialout group with \"sudo "
           "usermod -aG dialout $USER\", then log in again.";
    QTest::newRow("the same without the English catalogue")
        << int(QSerialPort::PermissionError) << EACCES << false
        << QStringLiteral("无法打开 ttyUSB0：没有权限（why）。请用 \"sudo usermod -aG dialout "
                          "$USER\" 加入 dialout 组，然后重新登录。");
    QTest::newRow("any other failure passes the port's own words on")
        << int(QSerialPort::OpenError) << 0 << true << "Cannot open ttyUSB0: why.";
    QTest::newRow("the port's refusal of a name too long is no permission problem")
        << int(QSerialPort::PermissionError) << ENAMETOOLONG << true << "Cannot open ttyUSB0: why.";
    QTest::newRow("a missing device is missing whatever the port says")
        << int(QSerialPort::PermissionError) << ENOENT << true
        << "Cannot open ttyUSB0: there is no such port (why). Check the port name and that the "
           "gimbal is plugged in.";
}

void TestRavik::openFailureMessage()
{
    QFETCH(int, error);
    QFETCH(int, accessError);
    QFETCH(bool, english);
    QFETCH(QString, message);

    if (!english)
        QCoreApplication::removeTranslator(&englishMessages());
    const OpenFailure why =
        classifyOpenFailure(static_cast<QSerialPort::SerialPortError>(error), accessError);
    QCOMPARE(::openFailureMessage(why, QStringLiteral("ttyUSB0"), QStringLiteral("why")), message);
}

void TestRavik::nonNumericBaudStillOpens()
{
    PseudoTerminal pty;
    Ravik ravik;
    ravik.switchSerial(pty.devicePath(), QStringLiteral("abc"));
    QVERIFY(ravik.serialIsOpen());
    QVERIFY(ravik.wrapper()->isOpen());
}

void TestRavik::telemetry_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("updates");
    QTest::addColumn<QVariantList>("angles");

    const QVariantList zeros{0, 0, 0};
    QTest::newRow("one MAVLink 2 report")
        << report(1.5f, -2.25f, 180.0f) << 1 << QVariantList{1.5f, -2.25f, 180.0f};
    QTest::newRow("one MAVLink 1 report")
        << report(0.5f, 0.25f, -90.0f, 1) << 1 << QVariantList{0.5f, 0.25f, -90.0f};
    QTest::newRow("two reports in one chunk keep the second")
        << report(1.0f, 2.0f, 3.0f) + report(4.0f, 5.0f, 6.0f) << 2
        << QVariantList{4.0f, 5.0f, 6.0f};
    QTest::newRow("a report behind noise bytes")
        << QByteArray("\x00\x13\x55\x02", 4) + report(7.0f, 8.0f, 9.0f) << 1
        << QVariantList{7.0f, 8.0f, 9.0f};
    QTest::newRow("a report trimmed to 30 bytes keeps two bytes of joint_roll")
        << trimmedReport() << 1 << QVariantList{floatOf(0x00001234), 0.0f, 0.0f};

    QByteArray badCrc = report(1.0f, 2.0f, 3.0f);
    badCrc[badCrc.size() - 1] = static_cast<char>(badCrc.back() ^ 0x01);
    QTest::newRow("a wrong CRC changes nothing") << badCrc << 0 << zeros;
}

void TestRavik::telemetry()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, updates);
    QFETCH(QVariantList, angles);

    PseudoTerminal pty;
    Ravik ravik;
    QVERIFY(openThrough(ravik, pty));
    QSignalSpy changed(&ravik, &Ravik::gimbalImuAngleChanged);
    QVERIFY(changed.isValid());
    std::vector<QVariantList> seen;
    connect(&ravik, &Ravik::gimbalImuAngleChanged, this,
            [&] { seen.push_back(ravik.gimbalImuAngle()); });

    // A report before the row's bytes starts the parser from a known state; one after them
    // marks the end of the row.
    pty.write(report(0.0f, 0.0f, 0.0f) + bytes + report(-1.0f, -1.0f, -1.0f));
    while (changed.count() < updates + 2 && changed.wait(2000)) {
    }
    QCOMPARE(int(seen.size()), updates + 2);
    QCOMPARE(seen.back(), (QVariantList{-1.0f, -1.0f, -1.0f}));
    if (updates == 0)
        return;
    const QVariantList &after = seen.at(updates);
    QCOMPARE(after.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(after.at(i).userType(), int(QMetaType::Float));
        QCOMPARE(bitsOf(after.at(i).toFloat()), bitsOf(angles.at(i).toFloat()));
    }
}

void TestRavik::reportSplitOverTwoChunks_data()
{
    QTest::addColumn<bool>("reopen");

    QTest::newRow("the second chunk completes the report") << false;
    QTest::newRow("a close and reopen between the chunks starts the receiver afresh") << true;
}

void TestRavik::reportSplitOverTwoChunks()
{
    QFETCH(bool, reopen);

    PseudoTerminal pty;
    Ravik ravik;
    QVERIFY(openThrough(ravik, pty));
    QSignalSpy changed(&ravik, &Ravik::gimbalImuAngleChanged);
    QSignalSpy reads(ravik.wrapper(), &Serial::readSignal);
    QVERIFY(changed.isValid());
    QVERIFY(reads.isValid());

    const QByteArray frame = report(11.0f, 12.0f, 13.0f);
    pty.write(frame.left(20));
    QVERIFY(reads.wait(2000));
    QCOMPARE(changed.count(), 0);
    if (reopen) {
        ravik.switchSerial(QString(), QString());
        QVERIFY(openThrough(ravik, pty));
    }

    // After a reopen the cut-off frame's tail is noise; the whole report behind it must arrive
    // rather than be swallowed into the old frame.
    const QByteArray rest = frame.mid(20) + (reopen ? report(14.0f, 15.0f, 16.0f) : QByteArray());
    pty.write(rest);
    QVERIFY(changed.wait(2000));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(ravik.gimbalImuAngle(),
             reopen ? (QVariantList{14.0f, 15.0f, 16.0f}) : (QVariantList{11.0f, 12.0f, 13.0f}));
}

void TestRavik::heartbeatWritesStatus()
{
    PseudoTerminal pty;
    Ravik ravik;
    QVERIFY(openThrough(ravik, pty));
    QSignalSpy changed(&ravik, &Ravik::gimbalImuAngleChanged);
    QVERIFY(changed.isValid());

    FrameWriter writer;
    mavlink_heartbeat_t heartbeat{};
    heartbeat.system_status = 4;
    heartbeat.mavlink_version = 3;
    const QByteArray frame = writer.frame(MAVLINK_MSG_ID_HEARTBEAT, heartbeat);
    QTest::ignoreMessage(QtDebugMsg, "System status: 4");
    QSignalSpy reads(ravik.wrapper(), &Serial::readSignal);
    QVERIFY(reads.isValid());
    pty.write(frame);
    QVERIFY(reads.wait(2000));
    QCOMPARE(ravik.gimbalImuAngle(), (QVariantList{0, 0, 0}));

    // Only the report that follows changes the angles.
    pty.write(report(3.0f, 2.0f, 1.0f));
    QVERIFY(changed.wait(2000));
    QCOMPARE(changed.count(), 1);
}

void TestRavik::anglesKeptAfterClose()
{
    PseudoTerminal pty;
    Ravik ravik;
    QVERIFY(openThrough(ravik, pty));
    QSignalSpy changed(&ravik, &Ravik::gimbalImuAngleChanged);
    QVERIFY(changed.isValid());
    pty.write(report(21.0f, 22.0f, 23.0f));
    QVERIFY(changed.wait(2000));

    ravik.switchSerial(QString(), QString());
    QVERIFY(!ravik.serialIsOpen());
    QCOMPARE(ravik.gimbalImuAngle(), (QVariantList{21.0f, 22.0f, 23.0f}));
}

void TestRavik::commandsEveryTick_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("z");
    QTest::addColumn<quint32>("sentX");
    QTest::addColumn<quint32>("sentY");
    QTest::addColumn<quint32>("sentZ");

    QTest::newRow("sticks at rest send zero rates") << 0.0f << 0.0f << 0.0f << 0u << 0u << 0u;
    QTest::newRow("full deflection is a quarter turn per second (1.5707964)")
        << 1.0f << 1.0f << 0.0f << 0x3FC90FDBu << 0x3FC90FDBu << 0u;
    QTest::newRow("values beyond the stick are full deflection")
        << 2.0f << -3.0e38f << -1.0f << 0x3FC90FDBu << 0xBFC90FDBu << 0xBFC90FDBu;
    QTest::newRow("not a number is no deflection")
        << NaN << -NaN << 0.5f << 0u << 0u << bitsOf(0.7853982f);
    QTest::newRow("infinities are full deflection")
        << Infinity << -Infinity << -0.0f << 0x3FC90FDBu << 0xBFC90FDBu << 0x80000000u;
}

void TestRavik::commandsEveryTick()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, z);
    QFETCH(quint32, sentX);
    QFETCH(quint32, sentY);
    QFETCH(quint32, sentZ);

    PseudoTerminal pty;
    Ravik ravik;
    QSignalSpy messages(&ravik, &Ravik::addMessage);
    ravik.setJoystick(x, y, z);
    QCOMPARE(messages.count(), 0);
    QVERIFY(openThrough(ravik, pty));
    const std::uint8_t firstSeq = mavlink_get_channel_status()->current_tx_seq;

    QVERIFY(pty.waitForReceived(3 * 26, 2000));
    const QByteArray bytes = pty.takeReceived();
    QCOMPARE(bytes.size() % 26, 0);
    FrameReader reader;
    const auto frames = reader.feed(bytes);
    QCOMPARE(int(frames.size()), bytes.size() / 26);
    QCOMPARE(reader.badFrames(), 0);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const mavlink_message_t &frame = frames[i];
        QCOMPARE(frame.magic, MAVLINK_STX);
        QCOMPARE(frame.msgid, MAVLINK_MSG_ID_GIMBAL_CONTROL);
        QCOMPARE(frame.len, MAVLINK_MSG_ID_GIMBAL_CONTROL_LEN);
        QCOMPARE(int(frame.seq), (firstSeq + int(i)) % 256);
        QCOMPARE(int(frame.sysid), 0);
        QCOMPARE(int(frame.compid), 0);
        const mavlink_gimbal_control_t control = controlOf(frame);
        QCOMPARE(int(control.target_system), 1);
        QCOMPARE(int(control.target_component), 1);
        QCOMPARE(bitsOf(control.demanded_rate_x), sentX);
        QCOMPARE(bitsOf(control.demanded_rate_y), sentY);
        QCOMPARE(bitsOf(control.demanded_rate_z), sentZ);
    }
    QCOMPARE(messages.count(), 0);
}

void TestRavik::directCommandLeavesStoredRates()
{
    PseudoTerminal pty;
    Ravik ravik;
    ravik.setJoystick(1.0f, 0.0f, 0.0f);
    QVERIFY(openThrough(ravik, pty));

    ravik.gimbalControl(0.0f, 0.0f, 1.0f);
    QVERIFY(pty.waitForReceived(3 * 26, 2000));
    FrameReader reader;
    const auto frames = reader.feed(pty.takeReceived());
    QVERIFY(frames.size() >= 3);

    const mavlink_gimbal_control_t direct = controlOf(frames[0]);
    QCOMPARE(bitsOf(direct.demanded_rate_x), 0u);
    QCOMPARE(bitsOf(direct.demanded_rate_z), 0x3FC90FDBu);
    for (std::size_t i = 1; i < frames.size(); ++i) {
        const mavlink_gimbal_control_t tick = controlOf(frames[i]);
        QCOMPARE(bitsOf(tick.demanded_rate_x), 0x3FC90FDBu);
        QCOMPARE(bitsOf(tick.demanded_rate_z), 0u);
    }
}

void TestRavik::stalledLinkQueuesNoBacklog()
{
    PseudoTerminal pty;
    Ravik ravik;
    QVERIFY(openThrough(ravik, pty));

    // Far more commands than the terminal's buffer holds, while its far end reads nothing.
    pty.setReading(false);
    for (int i = 0; i < 20000; ++i) {
        ravik.gimbalControl(0.0f, 0.0f, 0.0f);
        if (i % 16 == 0)
            QCoreApplication::processEvents();
    }
    QVERIFY(ravik.wrapper()->bytesToWrite() <= 4 * 26);
    QVERIFY(ravik.linkStatus()->stalls() > 0);

    // Once the far end reads again, whole frames arrive and the stream carries on.
    pty.setReading(true);
    pty.takeReceived();
    QVERIFY(pty.waitForReceived(3 * 26, 2000));
    FrameReader reader;
    QVERIFY(!reader.feed(pty.takeReceived()).empty());
    QVERIFY(pty.waitForReceived(26, 2000));
    const auto frames = reader.feed(pty.takeReceived());
    QVERIFY(!frames.empty());
    QCOMPARE(reader.badFrames(), 0);
}

void TestRavik::closedPortAsksToOpen_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("text");

    QTest::newRow("English catalogue") << true << NotOpenEnglish;
    QTest::newRow("Chinese sources") << false << NotOpenChinese;
}

void TestRavik::closedPortAsksToOpen()
{
    QFETCH(bool, english);
    QFETCH(QString, text);

    if (!english)
        QCoreApplication::removeTranslator(&englishMessages());
    PseudoTerminal pty;
    Ravik ravik;
    QVERIFY(openThrough(ravik, pty));
    ravik.switchSerial(QString(), QString());
    const std::uint8_t seq = mavlink_get_channel_status()->current_tx_seq;
    pty.takeReceived();

    QSignalSpy messages(&ravik, &Ravik::addMessage);
    QVERIFY(messages.isValid());
    ravik.gimbalControl(1.0f, 1.0f, 1.0f);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.at(0).at(0).toString(), text);

    // The timer asks again on its next tick; the link saw nothing, its sequence did not move.
    QVERIFY(messages.wait(2000));
    QCOMPARE(messages.at(1).at(0).toString(), text);
    QCOMPARE(pty.receivedSize(), 0);
    QCOMPARE(mavlink_get_channel_status()->current_tx_seq, seq);
}

void TestRavik::removalOfOpenPort_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("text");

    QTest::newRow("English removal text") << true << RemovalEnglish;
    QTest::newRow("Chinese removal text") << false << RemovalChinese;
}

void TestRavik::removalOfOpenPort()
{
    QFETCH(bool, english);
    QFETCH(QString, text);

    if (!english)
        QCoreApplication::removeTranslator(&englishMessages());
    PseudoTerminal pty;
    Ravik ravik;
    QVERIFY(openThrough(ravik, pty));

    QStringList order;
    connect(&ravik, &Ravik::serialPortChanged, this, [&] { order << "list"; });
    connect(&ravik, &Ravik::addMessage, this, [&](const QString &msg) {
        order << (ravik.wrapper()->isOpen() ? "message while open: " : "message: ") + msg;
    });
    connect(&ravik, &Ravik::serialIsOpenChanged, this,
            [&] { order << (ravik.wrapper()->isOpen() ? "flag while open" : "flag after close"); });

    QTest::ignoreMessage(QtDebugMsg,
                         qPrintable("device remove complete: \"" + pty.devicePath() + '"'));
    QCOMPARE(removeDevice(ravik, pty.devicePath(), "windows_generic_MSG"), false);
    QCOMPARE(order, (QStringList{"list", "message while open: " + text, "flag after close"}));
    QVERIFY(!ravik.serialIsOpen());
}

void TestRavik::removalOfAnotherDevice()
{
    PseudoTerminal pty;
    Ravik ravik;
    QVERIFY(openThrough(ravik, pty));
    QSignalSpy listChanged(&ravik, &Ravik::serialPortChanged);
    QSignalSpy changed(&ravik, &Ravik::serialIsOpenChanged);
    QSignalSpy messages(&ravik, &Ravik::addMessage);

    QTest::ignoreMessage(QtDebugMsg, "device remove complete: \"COM9\"");
    removeDevice(ravik, QStringLiteral("COM9"), "windows_generic_MSG");
    QCOMPARE(listChanged.count(), 1);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(messages.count(), 0);
    QVERIFY(ravik.serialIsOpen());
    QVERIFY(ravik.wrapper()->isOpen());
}

void TestRavik::removalSeenTwice()
{
    PseudoTerminal pty;
    Ravik ravik;
    QVERIFY(openThrough(ravik, pty));
    QSignalSpy listChanged(&ravik, &Ravik::serialPortChanged);
    QSignalSpy changed(&ravik, &Ravik::serialIsOpenChanged);
    QSignalSpy messages(&ravik, &Ravik::addMessage);

    const QByteArray line = "device remove complete: \"" + pty.devicePath().toUtf8() + '"';
    QTest::ignoreMessage(QtDebugMsg, line.constData());
    QTest::ignoreMessage(QtDebugMsg, line.constData());
    removeDevice(ravik, pty.devicePath(), "windows_generic_MSG");
    removeDevice(ravik, pty.devicePath(), "windows_dispatcher_MSG");
    QCOMPARE(listChanged.count(), 2);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(changed.count(), 1);
}

void TestRavik::arrivalRefreshesList()
{
    Ravik ravik;
    QSignalSpy listChanged(&ravik, &Ravik::serialPortChanged);
    QSignalSpy messages(&ravik, &Ravik::addMessage);
    QVERIFY(listChanged.isValid());

    QTest::ignoreMessage(QtDebugMsg, "device arrival: \"COM5\"");
    ravik.watcher()->deviceChange(
        "windows_generic_MSG", 0x0219, 0x8000, [] { return 3u; },
        [] { return QStringLiteral("COM5"); });
    QCOMPARE(listChanged.count(), 1);
    QCOMPARE(messages.count(), 0);
    const QStringList names = ravik.wrapper()->portNameList();
    for (const QString &name : names)
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QLatin1Char('"') + name + QLatin1Char('"')));
    QCOMPARE(ravik.serialPort(), names);
}

void TestRavik::vanishedDeviceClosesPort()
{
    auto pty = std::make_unique<PseudoTerminal>();
    Ravik ravik;
    QVERIFY(openThrough(ravik, *pty));
    QSignalSpy changed(&ravik, &Ravik::serialIsOpenChanged);
    QSignalSpy listChanged(&ravik, &Ravik::serialPortChanged);
    QSignalSpy messages(&ravik, &Ravik::addMessage);
    QVERIFY(changed.isValid());

    // No broadcast comes: the hung-up terminal is all the port knows.
    pty->closeFarEnd();
    QVERIFY(changed.wait(2000));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(listChanged.count(), 1);
    QVERIFY(!ravik.serialIsOpen());
    QVERIFY(!ravik.wrapper()->isOpen());
    QVERIFY(!messages.isEmpty());
    QCOMPARE(messages.at(0).at(0).toString(), RemovalEnglish);

    // A late removal broadcast for the same port finds it closed and only refreshes the list.
    const QByteArray line = "device remove complete: \"" + pty->devicePath().toUtf8() + '"';
    QTest::ignoreMessage(QtDebugMsg, line.constData());
    removeDevice(ravik, pty->devicePath(), "windows_generic_MSG");
    QCOMPARE(listChanged.count(), 2);
    QCOMPARE(changed.count(), 1);

    pty = std::make_unique<PseudoTerminal>();
    QVERIFY(openThrough(ravik, *pty));
    QVERIFY(pty->waitForReceived(26, 2000));
}

void TestRavik::userClosesVanishedPort()
{
    PseudoTerminal pty;
    Ravik ravik;
    QVERIFY(openThrough(ravik, pty));
    QSignalSpy changed(&ravik, &Ravik::serialIsOpenChanged);
    QSignalSpy messages(&ravik, &Ravik::addMessage);
    QVERIFY(changed.isValid());

    // The device is gone but nothing has noticed yet when the user closes the port: the port's
    // complaints while it closes must not close it a second time.
    pty.closeFarEnd();
    ravik.switchSerial(QString(), QString());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(messages.count(), 0);
    QVERIFY(!ravik.serialIsOpen());
    QVERIFY(!ravik.wrapper()->isOpen());
}

QTEST_GUILESS_MAIN(TestRavik)
#include "tst_ravik.moc"
