// The rule that joins the inputs into the rates sent: whichever input is deflected furthest on an
// axis wins, nothing adds up past full deflection, and the speed limit scales the result.
#include "deflection.h"

#include <QtTest>

Q_DECLARE_METATYPE(Deflection)

class TestCombine : public QObject
{
    Q_OBJECT

private slots:
    void combine_data();
    void combine();
};

void TestCombine::combine_data()
{
    QTest::addColumn<Deflection>("mouse");
    QTest::addColumn<Deflection>("keys");
    QTest::addColumn<Deflection>("pad");
    QTest::addColumn<double>("speedLimit");
    QTest::addColumn<Deflection>("sent");

    const Deflection rest;
    QTest::newRow("nothing held: every axis at rest") << rest << rest << rest << 1.0 << rest;
    QTest::newRow("two inputs the same way do not add up past full deflection")
        << rest << Deflection{1, 0, 0} << Deflection{0.8, 0, 0} << 1.0 << Deflection{1, 0, 0};
    QTest::newRow("the input deflected furthest wins, the other way too")
        << Deflection{0.3, 0, 0} << rest << Deflection{-0.8, 0, 0} << 1.0 << Deflection{-0.8, 0, 0};
    QTest::newRow("each axis on its own: keys on x, pad on z")
        << rest << Deflection{1, 0, 0} << Deflection{0.5, 0, -0.6} << 1.0 << Deflection{1, 0, -0.6};
    QTest::newRow("a tie goes to the input listed first: the mouse")
        << Deflection{0, 1, 0} << Deflection{0, -1, 0} << rest << 1.0 << Deflection{0, 1, 0};
    QTest::newRow("the speed limit scales every axis")
        << Deflection{1, -1, 0} << rest << Deflection{0, 0, 0.5} << 0.5
        << Deflection{0.5, -0.5, 0.25};
    QTest::newRow("beyond full deflection counts as full, below 10 % as 10 %")
        << Deflection{2, 0, 0} << rest << rest << 0.0 << Deflection{0.1, 0, 0};
}

void TestCombine::combine()
{
    QFETCH(Deflection, mouse);
    QFETCH(Deflection, keys);
    QFETCH(Deflection, pad);
    QFETCH(double, speedLimit);
    QFETCH(Deflection, sent);

    const Deflection joined = ::combine({mouse, keys, pad}, speedLimit);
    QCOMPARE(joined.x, sent.x);
    QCOMPARE(joined.y, sent.y);
    QCOMPARE(joined.z, sent.z);
}

QTEST_APPLESS_MAIN(TestCombine)
#include "tst_combine.moc"
