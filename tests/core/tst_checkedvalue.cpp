// Values as the settings store hands them back, from a file or from the registry: what is not a
// finite number, a flag or a text gives the fallback, numbers stay within their range.
#include "checkedvalue.h"

#include <QtTest>

class TestCheckedValue : public QObject
{
    Q_OBJECT

private slots:
    void number_data();
    void number();
    void flag_data();
    void flag();
    void text_data();
    void text();
};

void TestCheckedValue::number_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<double>("checked");

    // Fallback 0.5 in [0, 2].
    QTest::newRow("a number spelled in the C locale") << QVariant("1.25") << 1.25;
    QTest::newRow("nan spelled out") << QVariant("nan") << 0.5;
    QTest::newRow("infinity spelled out, upper case") << QVariant("-INF") << 0.5;
    QTest::newRow("a NaN double from the registry") << QVariant(qQNaN()) << 0.5;
    QTest::newRow("an infinite double is not clamped to the end") << QVariant(qInf()) << 0.5;
    QTest::newRow("a whole number from the registry") << QVariant(1) << 1.0;
    QTest::newRow("a large whole number is clamped") << QVariant(qint64(1) << 40) << 2.0;
    QTest::newRow("a negative number is clamped") << QVariant("-1e300") << 0.0;
    QTest::newRow("a decimal comma is no number") << QVariant("1,5") << 0.5;
    QTest::newRow("a list is no number") << QVariant(QStringList{"1", "5"}) << 0.5;
    QTest::newRow("a flag is no number") << QVariant(true) << 0.5;
    QTest::newRow("nothing stored") << QVariant() << 0.5;
}

void TestCheckedValue::number()
{
    QFETCH(QVariant, value);
    QFETCH(double, checked);

    QCOMPARE(checkedNumber(value, 0.5, 0.0, 2.0), checked);
}

void TestCheckedValue::flag_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<bool>("checked");

    QTest::newRow("a flag") << QVariant(true) << false << true;
    QTest::newRow("true in any case") << QVariant("True") << false << true;
    QTest::newRow("false against a true fallback") << QVariant("false") << true << false;
    QTest::newRow("0 from the registry") << QVariant(0) << true << false;
    QTest::newRow("1 spelled") << QVariant("1") << false << true;
    QTest::newRow("a word that is no flag") << QVariant("maybe") << false << false;
    QTest::newRow("a word that is no flag, true fallback") << QVariant("yes") << true << true;
    QTest::newRow("another number") << QVariant("2") << false << false;
    QTest::newRow("nan") << QVariant("nan") << true << true;
}

void TestCheckedValue::flag()
{
    QFETCH(QVariant, value);
    QFETCH(bool, fallback);
    QFETCH(bool, checked);

    QCOMPARE(checkedFlag(value, fallback), checked);
}

void TestCheckedValue::text_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("checked");

    QTest::newRow("a text") << QVariant("/dev/ttyUSB0") << "/dev/ttyUSB0";
    QTest::newRow("a list (a comma in the file) is no text")
        << QVariant(QStringList{"a", "b"}) << "fallback";
    QTest::newRow("a number from the registry is no text") << QVariant(7) << "fallback";
}

void TestCheckedValue::text()
{
    QFETCH(QVariant, value);
    QFETCH(QString, checked);

    QCOMPARE(checkedText(value, QStringLiteral("fallback")), checked);
}

QTEST_APPLESS_MAIN(TestCheckedValue)
#include "tst_checkedvalue.moc"
