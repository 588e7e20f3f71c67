// The port, baud rate and language as a hand-edited settings file brings them back: only what
// the command line would accept counts, anything else is as if nothing were remembered.
#include "handwrittensettings.h"
#include "linksettings.h"

#include <QtTest>

class TestLinkSettings : public QObject
{
    Q_OBJECT

private slots:
    void loaded_data();
    void loaded();
};

void TestLinkSettings::loaded_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<int>("language");

    QTest::newRow("what the tool wrote")
        << "[link]\nport=/dev/ttyUSB0\nbaud=57600\n[interface]\nlanguage=0"
        << "/dev/ttyUSB0"
        << "57600" << 0;
    QTest::newRow("nan everywhere") << "[link]\nport=nan\nbaud=nan\n[interface]\nlanguage=nan"
                                    << "nan" << QString() << -1;
    QTest::newRow("a baud rate of 0, as a window once saved it")
        << "[link]\nbaud=0\n[interface]\nlanguage=1" << QString() << QString() << 1;
    QTest::newRow("a negative rate and language")
        << "[link]\nbaud=-9600\n[interface]\nlanguage=-1" << QString() << QString() << -1;
    QTest::newRow("a fractional rate and language")
        << "[link]\nbaud=9600.5\n[interface]\nlanguage=0.5" << QString() << QString() << -1;
    QTest::newRow("a rate beyond int and an unknown language")
        << "[link]\nbaud=99999999999\n[interface]\nlanguage=2" << QString() << QString() << -1;
    QTest::newRow("lists, from commas in the file")
        << "[link]\nport=a,b\nbaud=1,2\n[interface]\nlanguage=0,1" << QString() << QString() << -1;
    QTest::newRow("infinities") << "[link]\nbaud=inf\n[interface]\nlanguage=inf" << QString()
                                << QString() << -1;
}

void TestLinkSettings::loaded()
{
    QFETCH(QString, lines);
    QFETCH(QString, port);
    QFETCH(QString, baud);
    QFETCH(int, language);

    const HandWrittenSettings file(lines.toUtf8());
    QVERIFY(file.isValid());

    const LinkSettings settings(file.store());
    QCOMPARE(settings.port(), port);
    QCOMPARE(settings.baud(), baud);
    QCOMPARE(settings.language(), language);
}

QTEST_APPLESS_MAIN(TestLinkSettings)
#include "tst_linksettings.moc"
