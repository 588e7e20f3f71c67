// The plot's value axis for any values the gimbal may report: ticks on round steps (1, 2, 5 ×
// 10^n), finite, covering what is shown, about as many as asked for, and labels that fit.
#include "axisticks.h"
#include "valuetext.h"

#include <QtTest>

#include <cmath>
#include <limits>

class TestAxisTicks : public QObject
{
    Q_OBJECT

private slots:
    void ticks_data();
    void ticks();
};

void TestAxisTicks::ticks_data()
{
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    // The range that must lie on the axis.
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");

    const double floatMax = std::numeric_limits<float>::max();
    QTest::newRow("angles of a few degrees") << -10.0 << 13.9 << -10.0 << 13.9;
    QTest::newRow("rates within a quarter turn") << -1.5707964 << 1.5707964 << -1.58 << 1.58;
    QTest::newRow("a flat line gets a unit around it") << 0.0 << 0.0 << -1.0 << 1.0;
    QTest::newRow("thousandths") << 0.001 << 0.0012 << 0.001 << 0.0012;
    QTest::newRow("a flat line at 1e38") << 1e38 << 1e38 << 1e38 << 1e38;
    QTest::newRow("the whole float range") << -floatMax << floatMax << -floatMax << floatMax;
    QTest::newRow("a small spread far from zero") << 123456.5 << 123457.0 << 123456.5 << 123457.0;
    QTest::newRow("bounds that are not numbers count as none") << qQNaN() << 1.0 << -1.0 << 1.0;
    QTest::newRow("infinite bounds count as none") << -qInf() << qInf() << -1.0 << 1.0;
}

void TestAxisTicks::ticks()
{
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(double, from);
    QFETCH(double, to);

    const AxisTicks axis = axisTicks(low, high, 4);
    QVERIFY(std::isfinite(axis.bottom) && std::isfinite(axis.top) && axis.bottom < axis.top);
    QVERIFY(axis.bottom <= from && axis.top >= to);
    QVERIFY(axis.values.size() >= 3 && axis.values.size() <= 12);
    const double mantissa = axis.step / std::pow(10.0, std::floor(std::log10(axis.step)));
    QVERIFY2(qFuzzyCompare(mantissa, 1.0) || qFuzzyCompare(mantissa, 2.0) ||
                 qFuzzyCompare(mantissa, 5.0),
             qPrintable(QString::number(axis.step)));
    QCOMPARE(axis.values.front(), axis.bottom);
    QCOMPARE(axis.values.back(), axis.top);
    for (const double value : axis.values) {
        QVERIFY(std::isfinite(value));
        const double multiple = value / axis.step;
        QVERIFY2(std::fabs(multiple - std::round(multiple)) < 1e-6,
                 qPrintable(QString::number(value)));
        const QString label = ValueText::compact(value, axis.decimals, 9);
        QVERIFY2(label.size() <= 9 && !label.startsWith(QLatin1String("-0.0")) &&
                     label != QLatin1String("-0"),
                 qPrintable(label));
    }
    // Neighbouring ticks read differently wherever fixed-point labels fit.
    for (std::size_t i = 1; i < axis.values.size(); ++i) {
        const QString a = ValueText::compact(axis.values[i - 1], axis.decimals, 9);
        const QString b = ValueText::compact(axis.values[i], axis.decimals, 9);
        if (!a.contains(QLatin1Char('e')))
            QVERIFY2(a != b, qPrintable(a));
    }
}

QTEST_GUILESS_MAIN(TestAxisTicks)
#include "tst_axisticks.moc"
