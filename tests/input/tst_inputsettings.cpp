// The keyboard and pad settings as a settings file that anyone may edit brings them back: a `nan`,
// an infinity, a word or a number out of range must neither reach the rates on the wire nor
// silence the keys and the pad.
#include "framereader.h"
#include "handwrittensettings.h"
#include "inputcontrol.h"
#include "pseudoterminal.h"

#include <messages.h>
#include <ravik.h>

#include <QtTest>

#include <cmath>
#include <cstring>

class TestInputSettings : public QObject
{
    Q_OBJECT

private slots:
    void loaded_data();
    void loaded();
    void settersKeepTheirValueForNaN_data();
    void settersKeepTheirValueForNaN();
};

void TestInputSettings::loaded_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<double>("deadZone");
    QTest::addColumn<double>("expo");
    QTest::addColumn<double>("speedLimit");
    // invertX, invertY, invertZ as bits 0, 1, 2.
    QTest::addColumn<int>("inverted");

    QTest::newRow("nan in every number gives the defaults")
        << "deadZone=nan\nexpo=nan\nspeedLimit=nan\ninvertX=nan" << 0.1 << 0.0 << 1.0 << 0;
    QTest::newRow("infinities give the defaults, not the ends of the range")
        << "deadZone=inf\nexpo=-inf\nspeedLimit=-inf" << 0.1 << 0.0 << 1.0 << 0;
    QTest::newRow("words and empty values give the defaults")
        << "deadZone=wide\nexpo=\nspeedLimit=@Invalid()\ninvertY=maybe" << 0.1 << 0.0 << 1.0 << 0;
    QTest::newRow("a decimal comma makes a list, which is no number")
        << "deadZone=0,2\nspeedLimit=0,5" << 0.1 << 0.0 << 1.0 << 0;
    QTest::newRow("numbers beyond their range are clamped")
        << "deadZone=7\nexpo=-2\nspeedLimit=0.01" << 0.5 << 0.0 << 0.1 << 0;
    QTest::newRow("numbers in range are kept, with spaces around")
        << "deadZone= 0.25 \nexpo=5e-1\nspeedLimit=0.5" << 0.25 << 0.5 << 0.5 << 0;
    QTest::newRow("flags: true and 1 in any case, false and 0")
        << "invertX=TRUE\ninvertY=1\ninvertZ=0" << 0.1 << 0.0 << 1.0 << 0b011;
    QTest::newRow("a flag that is none gives the default")
        << "invertX=2\ninvertY=yes\ninvertZ=true" << 0.1 << 0.0 << 1.0 << 0b100;
}

// The settings file is written by hand, then the tool's input reads it and the right stick is
// held fully right and down: every command on the wire carries finite rates, scaled by the
// speed limit that was read.
void TestInputSettings::loaded()
{
    QFETCH(QString, lines);
    QFETCH(double, deadZone);
    QFETCH(double, expo);
    QFETCH(double, speedLimit);
    QFETCH(int, inverted);

    const HandWrittenSettings file("[input]\n" + lines.toUtf8());
    QVERIFY(file.isValid());

    Ravik ravik;
    InputControl input(ravik, file.store());
    QCOMPARE(input.deadZone(), deadZone);
    QCOMPARE(input.expo(), expo);
    QCOMPARE(input.speedLimit(), speedLimit);
    QCOMPARE(input.invertX(), bool(inverted & 1));
    QCOMPARE(input.invertY(), bool(inverted & 2));
    QCOMPARE(input.invertZ(), bool(inverted & 4));

    PseudoTerminal pty;
    input.setStick(1, 1.0, -1.0);
    ravik.switchSerial(pty.devicePath(), QStringLiteral("115200"));
    QVERIFY(ravik.serialIsOpen());
    QVERIFY(pty.waitForReceived(3 * 26, 2000));
    FrameReader reader;
    const auto frames = reader.feed(pty.takeReceived());
    QVERIFY(frames.size() >= 3);
    const float full = static_cast<float>(speedLimit * M_PI / 2);
    for (const mavlink_message_t &frame : frames) {
        QCOMPARE(frame.msgid, MAVLINK_MSG_ID_GIMBAL_CONTROL);
        mavlink_gimbal_control_t command;
        std::memcpy(&command, frame.payload, sizeof command);
        QCOMPARE(command.demanded_rate_x, full);
        QCOMPARE(command.demanded_rate_y, -full);
        QCOMPARE(command.demanded_rate_z, 0.0f);
    }
}

void TestInputSettings::settersKeepTheirValueForNaN_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<double>("before");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("after");

    const double nan = qQNaN();
    const double inf = qInf();
    QTest::newRow("dead zone: nan keeps it") << QByteArray("deadZone") << 0.2 << nan << 0.2;
    QTest::newRow("expo: infinity keeps it") << QByteArray("expo") << 0.3 << inf << 0.3;
    QTest::newRow("speed limit: nan keeps it") << QByteArray("speedLimit") << 0.4 << nan << 0.4;
    QTest::newRow("speed limit: a huge number is the range's end")
        << QByteArray("speedLimit") << 0.4 << 1e300 << 1.0;
}

// As QML sets them: through the properties.
void TestInputSettings::settersKeepTheirValueForNaN()
{
    QFETCH(QByteArray, property);
    QFETCH(double, before);
    QFETCH(double, value);
    QFETCH(double, after);

    Ravik ravik;
    InputControl input(ravik, nullptr);
    QVERIFY(input.setProperty(property, before));
    QVERIFY(input.setProperty(property, value));
    QCOMPARE(input.property(property).toDouble(), after);
}

QTEST_MAIN(TestInputSettings)
#include "tst_inputsettings.moc"
