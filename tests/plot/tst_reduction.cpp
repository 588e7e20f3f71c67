// The reduction of a history to one minimum and maximum per pixel column: whatever the report
// rate, a spike stays visible and nothing outside the shown time is drawn.
#include "samplehistory.h"

#include <QtTest>

#include <cmath>

using Samples = QVector<QPair<double, float>>;

class TestReduction : public QObject
{
    Q_OBJECT

private slots:
    void keepsExtremes_data();
    void keepsExtremes();
    void gaps_data();
    void gaps();
    void historyKeepsTheLastMinute();
};

void TestReduction::keepsExtremes_data()
{
    QTest::addColumn<Samples>("samples");
    QTest::addColumn<int>("columns");
    // Per column: min, max; NaN for a column without samples.
    QTest::addColumn<QVector<float>>("expected");

    const float none = qQNaN();
    QTest::newRow("a one-sample spike among many stays the column's maximum")
        << Samples{{0.00, 1}, {0.01, 1}, {0.02, 9}, {0.03, 1}, {0.04, 1}, {0.6, 2}} << 2
        << QVector<float>{1, 9, 2, 2};
    QTest::newRow("a dip stays the column's minimum")
        << Samples{{0.1, 5}, {0.2, -3}, {0.3, 5}} << 1 << QVector<float>{-3, 5};
    QTest::newRow("a column without samples is left out")
        << Samples{{0.1, 1}, {0.9, 4}} << 3 << QVector<float>{1, 1, none, none, 4, 4};
    QTest::newRow("samples before the start and at the end are not drawn")
        << Samples{{-0.5, 100}, {0.5, 3}, {1.0, -100}} << 1 << QVector<float>{3, 3};
}

// The history holds the samples' first series; the columns cut [0, 1) s.
void TestReduction::keepsExtremes()
{
    QFETCH(Samples, samples);
    QFETCH(int, columns);
    QFETCH(QVector<float>, expected);

    SampleHistory history(10.0);
    for (const auto &sample : samples)
        history.append(sample.first, sample.second, 0.0f, 0.0f);
    const std::vector<Column> reduced = reduceToColumns(history.samples(), 0, 0.0, 1.0, columns);
    QCOMPARE(int(reduced.size()), columns);
    for (int c = 0; c < columns; ++c) {
        const float min = expected.at(2 * c);
        QCOMPARE(reduced[std::size_t(c)].valid, !qIsNaN(min));
        if (qIsNaN(min))
            continue;
        QCOMPARE(reduced[std::size_t(c)].min, min);
        QCOMPARE(reduced[std::size_t(c)].max, expected.at(2 * c + 1));
    }
}

void TestReduction::gaps_data()
{
    QTest::addColumn<Samples>("samples");
    // The columns (0.1 s each over [0, 2) s) where the line starts anew.
    QTest::addColumn<QVector<int>>("starts");

    const auto every = [](double interval, double from, double to) {
        Samples samples;
        for (double t = from; t < to - 1e-9; t += interval)
            samples.append({t, float(t)});
        return samples;
    };
    QTest::newRow("reports every 20 ms are one line") << every(0.02, 0, 2) << QVector<int>{};
    QTest::newRow("a NaN between two values breaks the line")
        << every(0.02, 0, 1) + Samples{{1.0, float(qQNaN())}} + every(0.02, 1.02, 2)
        << QVector<int>{10};
    QTest::newRow("an infinity breaks it too")
        << every(0.02, 0, 0.5) + Samples{{0.5, float(qInf())}} + every(0.02, 0.52, 2)
        << QVector<int>{5};
    QTest::newRow("a silence of 0.3 s at 50 reports a second is a gap")
        << every(0.02, 0, 1) + every(0.02, 1.3, 2) << QVector<int>{13};
    QTest::newRow("one report missing at 10 a second is no gap")
        << every(0.1, 0, 0.5) + every(0.1, 0.7, 2) << QVector<int>{};
    QTest::newRow("half a second missing at 10 a second is a gap")
        << every(0.1, 0, 0.5) + every(0.1, 1.0, 2) << QVector<int>{10};
    Samples pairs;
    for (double t = 0; t < 2; t += 0.04)
        pairs += Samples{{t, 1.0f}, {t + 0.0001, 2.0f}};
    QTest::newRow("reports read in pairs 40 ms apart are one line") << pairs << QVector<int>{};
}

// The columns hold only finite values, and the line breaks exactly where the gaps are.
void TestReduction::gaps()
{
    QFETCH(Samples, samples);
    QFETCH(QVector<int>, starts);

    SampleHistory history(10.0);
    for (const auto &sample : samples)
        history.append(sample.first, sample.second, 0.0f, 0.0f);
    const std::vector<Column> reduced = reduceToColumns(history.samples(), 0, 0.0, 2.0, 20);
    QVector<int> found;
    for (int c = 0; c < 20; ++c) {
        const Column &column = reduced[std::size_t(c)];
        QVERIFY(!column.valid || (std::isfinite(column.min) && std::isfinite(column.max)));
        if (column.valid && column.gapBefore)
            found.append(c);
    }
    QCOMPARE(found, starts);
}

void TestReduction::historyKeepsTheLastMinute()
{
    SampleHistory history(60.0);
    for (int i = 0; i <= 1200; ++i)
        history.append(i * 0.1, float(i), 0.0f, 0.0f);
    QCOMPARE(history.samples().front().t, 60.0);
    QCOMPARE(history.samples().back().t, 120.0);
}

QTEST_APPLESS_MAIN(TestReduction)
#include "tst_reduction.moc"
