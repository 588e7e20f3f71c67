// The reduction of a history to one minimum and maximum per pixel column: whatever the report
// rate, a spike stays visible and nothing outside the shown time is drawn.
#include "samplehistory.h"

#include <QtTest>

using Samples = QVector<QPair<double, float>>;

class TestReduction : public QObject
{
    Q_OBJECT

private slots:
    void keepsExtremes_data();
    void keepsExtremes();
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
