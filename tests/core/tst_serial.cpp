// The serial wrapper over a real pseudo-terminal: opening, and the character count of what
// arrives.
#include "pseudoterminal.h"
#include "serial.h"

#include <QSignalSpy>
#include <QtTest>

#include <climits>

class TestSerial : public QObject
{
    Q_OBJECT

private slots:
    void openPort_data();
    void openPort();
    void receivedCountCountsCharacters_data();
    void receivedCountCountsCharacters();
    void receivedCountSurvivesReopen();
    void advancedCountWraps_data();
    void advancedCountWraps();
};

void TestSerial::openPort_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("baud");
    QTest::addColumn<bool>("opens");

    QTest::newRow("a present port opens at 115200") << true << 115200 << true;
    QTest::newRow("a refused baud rate of 0 still leaves the port open") << true << 0 << true;
    QTest::newRow("a missing path does not open") << false << 115200 << false;
}

void TestSerial::openPort()
{
    QFETCH(bool, present);
    QFETCH(int, baud);
    QFETCH(bool, opens);

    PseudoTerminal pty;
    QVERIFY(pty.isOpen());
    Serial serial;
    const QString name = present ? pty.devicePath() : pty.devicePath() + QStringLiteral("-gone");
    QCOMPARE(serial.openPort(name, baud), opens);
    QCOMPARE(serial.isOpen(), opens);
    if (opens) {
        QCOMPARE(serial.dataBits(), QSerialPort::Data8);
        QCOMPARE(serial.parity(), QSerialPort::NoParity);
        QCOMPARE(serial.stopBits(), QSerialPort::OneStop);
        QCOMPARE(serial.flowControl(), QSerialPort::NoFlowControl);
    }
}

void TestSerial::receivedCountCountsCharacters_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<int>("characters");

    QTest::newRow("five ASCII bytes count five") << QByteArray("hello") << 5;
    QTest::newRow("a two-byte UTF-8 sequence counts one") << QByteArray("\xC3\xA9") << 1;
    QTest::newRow("a three-byte CJK character counts one") << QByteArray("\xE4\xBA\x91") << 1;
    QTest::newRow("an invalid byte counts as its replacement") << QByteArray("\xFF") << 1;
    QTest::newRow("a MAVLink start byte among ASCII") << QByteArray("a\xFD"
                                                                    "b")
                                                      << 3;
}

void TestSerial::receivedCountCountsCharacters()
{
    QFETCH(QByteArray, chunk);
    QFETCH(int, characters);

    PseudoTerminal pty;
    Serial serial;
    QVERIFY(serial.openPort(pty.devicePath(), 115200));
    QSignalSpy spy(&serial, &Serial::readSignal);
    QVERIFY(spy.isValid());

    pty.write(chunk);
    QVERIFY(spy.wait(2000));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(serial.receivedData(), chunk);
    QCOMPARE(serial.receivedCount(), characters);
    QCOMPARE(spy.at(0).at(0).toInt(), characters);
}

void TestSerial::receivedCountSurvivesReopen()
{
    PseudoTerminal pty;
    Serial serial;
    QSignalSpy spy(&serial, &Serial::readSignal);
    QVERIFY(spy.isValid());

    QVERIFY(serial.openPort(pty.devicePath(), 115200));
    pty.write("abc");
    QVERIFY(spy.wait(2000));
    serial.closePort();
    QVERIFY(!serial.isOpen());

    QVERIFY(serial.openPort(pty.devicePath(), 115200));
    pty.write("de");
    QVERIFY(spy.wait(2000));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).toInt(), 5);
    QCOMPARE(serial.receivedData(), QByteArray("de"));
}

void TestSerial::advancedCountWraps_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("expected");

    QTest::newRow("an ordinary chunk adds up") << 10 << 5 << 15;
    QTest::newRow("reaching INT_MAX exactly does not wrap") << INT_MAX - 5 << 5 << INT_MAX;
    QTest::newRow("one past INT_MAX wraps to 0") << INT_MAX << 1 << 0;
    QTest::newRow("a large chunk over the top keeps the remainder") << INT_MAX - 1 << 4096 << 4094;
}

void TestSerial::advancedCountWraps()
{
    QFETCH(int, total);
    QFETCH(int, added);
    QFETCH(int, expected);

    QCOMPARE(Serial::advancedCount(total, added), expected);
}

QTEST_GUILESS_MAIN(TestSerial)
#include "tst_serial.moc"
