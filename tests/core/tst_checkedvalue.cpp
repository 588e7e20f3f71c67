// Values as the settings store hands them back from the registry, typed, or spelled in a way the
// settings file tests do not reach: what is not a finite number or a flag gives the fallback,
// numbers stay within their range.
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
};

void TestCheckedValue::number_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<double>("checked");

    // Fallback 0.5 in [0, 2].
    QTest::newRow("infinity spelled out, upper case") << QVariant("-INF") << 0.5;
    QTest::newRow("a NaN double from the registry") << QVariant(qQNaN()) << 0.5;
    QTest::newRow("an infinite double is not clamped to the end") << QVariant(qInf()) << 0.5;
    QTest::newRow("a whole number from the registry") << QVariant(1) << 1.0;
    QTest::newRow("a large whole number is clamped") << QVariant(qint64(1) << 40) << 2.0;
    QTest::newRow("a negative number is clamped") << QVariant("-1e300") << 0.0;
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
    QTest::newRow("false against a true fallback") << QVariant("false") << true << false;
    QTest::newRow("0 from the registry") << QVariant(0) << true << false;
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

QTEST_APPLESS_MAIN(TestCheckedValue)
#include "tst_checkedvalue.moc"
