// Numbers as the window shows them, run again under a German locale (decimal comma): the
// angle labels' two decimals exactly as the script engine's toFixed(2) writes them, but nothing
// longer than the label's room, no "-0.00", short symbols for values that are not numbers.
#include "valuetext.h"

#include <QJSEngine>
#include <QtTest>

#include <limits>

class TestValueText : public QObject
{
    Q_OBJECT

private slots:
    void angle_data();
    void angle();
    void compact_data();
    void compact();
};

void TestValueText::angle_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    // Whether the script's toFixed(2) writes the same.
    QTest::addColumn<bool>("asScript");

    QTest::newRow("negative, zero and whole values") << -0.5 << "-0.50" << true;
    QTest::newRow("zero") << 0.0 << "0.00" << true;
    QTest::newRow("a whole number") << 90.0 << "90.00" << true;
    QTest::newRow("rounded to two decimals") << double(1.23456f) << "1.23" << true;
    QTest::newRow("rounded up across the point") << double(-179.999f) << "-180.00" << true;
    QTest::newRow("an exact half rounds away from zero") << 0.125 << "0.13" << true;
    QTest::newRow("the longest that fits") << -123456.78 << "-123456.78" << true;
    QTest::newRow("negative zero") << -0.0 << "0.00" << true;
    QTest::newRow("a small negative value reads 0.00, not -0.00") << -0.001 << "0.00" << false;
    QTest::newRow("the largest negative that reads zero") << -0.0049 << "0.00" << false;
    QTest::newRow("too long: exponent form") << 12345678.9 << "1.23e+07" << false;
    QTest::newRow("1e38") << 1e38 << "1.00e+38" << false;
    QTest::newRow("the most negative float")
        << double(-std::numeric_limits<float>::max()) << "-3.40e+38" << false;
    QTest::newRow("the smallest float reads zero")
        << double(-std::numeric_limits<float>::denorm_min()) << "0.00" << false;
    QTest::newRow("not a number") << qQNaN() << "NaN" << false;
    QTest::newRow("infinity") << qInf() << "∞" << false;
    QTest::newRow("minus infinity") << -qInf() << "-∞" << false;
}

void TestValueText::angle()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QFETCH(bool, asScript);

    const QString shown = ValueText().angle(value);
    QCOMPARE(shown, text);
    QVERIFY(shown.size() <= ValueText::AngleCharacters);
    if (asScript) {
        QJSEngine engine;
        QJSValue script = engine.evaluate(QStringLiteral("(function (v) { return "
                                                         "v.toFixed(2) })"));
        const QString fixed = script.call({QJSValue(value)}).toString();
        QCOMPARE(fixed == QLatin1String("-0.00") ? QStringLiteral("0.00") : fixed, shown);
    }
}

void TestValueText::compact_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("characters");
    QTest::addColumn<QString>("text");

    QTest::newRow("fits as it is") << 0.25 << 2 << 8 << "0.25";
    QTest::newRow("no decimals") << -20.0 << 0 << 8 << "-20";
    QTest::newRow("fewer digits where three do not fit") << -1.05e38 << 0 << 8 << "-1.1e+38";
    QTest::newRow("none at all where one does not fit") << -1.05e38 << 0 << 6 << "-1e+38";
    QTest::newRow("too small a room: the shortest form") << -1.05e38 << 0 << 2 << "-1e+38";
    QTest::newRow("negative zero with four decimals") << -0.00001 << 4 << 8 << "0.0000";
    QTest::newRow("a tiny step's tick") << 3e-7 << 7 << 8 << "3.00e-07";
}

void TestValueText::compact()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(int, characters);
    QFETCH(QString, text);

    QCOMPARE(ValueText::compact(value, decimals, characters), text);
}

QTEST_GUILESS_MAIN(TestValueText)
#include "tst_valuetext.moc"
