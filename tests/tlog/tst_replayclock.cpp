// The replay's clock against a wall clock the test moves: each speed, pausing, seeking, the end
// of the log, when the next entry is due, and the position as the window shows it.
#include "replayclock.h"

#include <QtTest>

#include <functional>

namespace {
constexpr quint64 First = 1772366400000000;
constexpr quint64 Second = 1000000;
// What a user does, with `wall` the wall clock's microseconds.
using Steps = std::function<void(ReplayClock &clock, qint64 &wall)>;
} // namespace

Q_DECLARE_METATYPE(Steps)

class TestReplayClock : public QObject
{
    Q_OBJECT

private slots:
    void runs_data();
    void runs();
    void format_data();
    void format();
};

void TestReplayClock::runs_data()
{
    QTest::addColumn<Steps>("steps");
    // Where the clock stands, and the wall time until ten seconds into the log are due.
    QTest::addColumn<quint64>("position");
    QTest::addColumn<qint64>("untilTen");

    QTest::newRow("1x keeps to the wall clock")
        << Steps([](ReplayClock &c, qint64 &wall) { c.play(), wall += 2500000; }) << 2500000ULL
        << qint64(7500000);
    QTest::newRow("16x runs sixteen times as fast")
        << Steps([](ReplayClock &c, qint64 &wall) { c.setSpeed(16), c.play(), wall += Second / 2; })
        << 8 * Second << qint64(125000);
    QTest::newRow("a pause holds the position") << Steps([](ReplayClock &c, qint64 &wall) {
        c.play(), wall += Second, c.pause(), wall += Second;
    }) << Second << qint64(-1);
    QTest::newRow("a new speed runs on from where the clock is")
        << Steps([](ReplayClock &c, qint64 &wall) {
               c.play(), wall += Second, c.setSpeed(4), wall += Second;
           })
        << 5 * Second << qint64(1250000);
    QTest::newRow("a seek while playing runs on from there")
        << Steps([](ReplayClock &c, qint64 &wall) {
               c.play(), c.seek(First + 60 * Second), wall += Second;
           })
        << 61 * Second << qint64(0);
    QTest::newRow("as fast as it goes, the replay moves it") << Steps([](ReplayClock &c,
                                                                         qint64 &wall) {
        c.setSpeed(ReplayClock::Fastest), c.play(), wall += Second, c.seek(First + 3 * Second);
    }) << 3 * Second << qint64(0);
    QTest::newRow("it stops at the last time") << Steps([](ReplayClock &c, qint64 &wall) {
        c.setSpeed(2), c.play(), wall += 3600 * Second;
    }) << 220 * Second << qint64(0);
    QTest::newRow("a seek before the first time goes to the first")
        << Steps([](ReplayClock &c, qint64 &) { c.seek(First - Second); }) << 0ULL << qint64(-1);
}

void TestReplayClock::runs()
{
    QFETCH(Steps, steps);
    QFETCH(quint64, position);
    QFETCH(qint64, untilTen);

    qint64 wall = 5 * Second;
    ReplayClock clock([&wall] { return wall; });
    clock.setSpan(First, First + 220 * Second);
    steps(clock, wall);
    QCOMPARE(clock.position(), First + position);
    QCOMPARE(clock.atEnd(), position == 220 * Second);
    QCOMPARE(clock.wallUntil(First + 10 * Second), untilTen);
}

void TestReplayClock::format_data()
{
    QTest::addColumn<quint64>("position");
    QTest::addColumn<quint64>("length");
    QTest::addColumn<QString>("text");

    QTest::newRow("minutes, seconds and tenths")
        << 12400000ULL << 220000000ULL << "00:12.4 / 03:40.0";
    QTest::newRow("tenths cut off, not rounded")
        << 219999999ULL << 220000000ULL << "03:39.9 / 03:40.0";
    QTest::newRow("the start of an empty log") << 0ULL << 0ULL << "00:00.0 / 00:00.0";
    QTest::newRow("up to an hour without hours")
        << 3599900000ULL << 3599900000ULL << "59:59.9 / 59:59.9";
    QTest::newRow("hours in a log of an hour or more")
        << 3725500000ULL << 7200000000ULL << "1:02:05.5 / 2:00:00.0";
}

void TestReplayClock::format()
{
    QFETCH(quint64, position);
    QFETCH(quint64, length);
    QFETCH(QString, text);

    QCOMPARE(ReplayClock::format(position, length), text);
}

QTEST_GUILESS_MAIN(TestReplayClock)
#include "tst_replayclock.moc"
