// The lossy relay: each way, what it counts is what arrives at the far end; and its command line
// refuses what it must not do.
#include "lossyrelay.h"

#include <QNetworkDatagram>
#include <QProcess>
#include <QtTest>

#include <algorithm>

namespace {
constexpr long long Datagrams = 3000;
constexpr long long Batch = 100;

// What arrived at one end: the numbers the datagrams carry, in order, and the last datagram.
struct Arrivals
{
    QVector<int> numbers;
    QNetworkDatagram last;

    void read(QUdpSocket &socket)
    {
        while (socket.hasPendingDatagrams()) {
            last = socket.receiveDatagram();
            numbers.append(last.data().toInt());
        }
    }
};

// Sends numbered datagrams through one way of the relay, a batch at a time so that no socket
// buffer on the way overflows, and checks the relay's counts against what arrived.
void exchange(QUdpSocket &from, const QHostAddress &to, quint16 port, const Arrivals &arrivals,
              const RelayCounts &counts, const RelayFaults &faults)
{
    for (long long sent = 0; sent < Datagrams; sent += Batch) {
        for (long long i = sent; i < sent + Batch; ++i)
            from.writeDatagram(QByteArray::number(i), to, port);
        QTRY_COMPARE_WITH_TIMEOUT(counts.received, sent + Batch, 2000);
    }
    // Nothing held back any more, and all that left arrived.
    QTRY_COMPARE_WITH_TIMEOUT(counts.forwarded + counts.dropped, counts.received, 2000);
    QTRY_COMPARE_WITH_TIMEOUT(qint64(arrivals.numbers.size()), counts.forwarded + counts.duplicated,
                              2000);

    // A second copy follows its first at once.
    QVector<int> once = arrivals.numbers;
    once.erase(std::unique(once.begin(), once.end()), once.end());
    long long overtaken = 0;
    for (int i = 1, latest = once.value(0); i < once.size(); latest = std::max(latest, once[i++]))
        overtaken += once[i] < latest;
    QCOMPARE(qint64(once.size()), counts.forwarded);
    QCOMPARE(counts.dropped, Datagrams - once.size());
    QCOMPARE(overtaken, counts.reordered);
    QVERIFY(qAbs(double(counts.dropped) / Datagrams - faults.drop) < 0.03);
    QVERIFY(qAbs(double(counts.duplicated) / counts.forwarded - faults.duplicate) < 0.03);
    QCOMPARE(counts.reordered > Datagrams * faults.reorder / 2, faults.reorder > 0);
}

} // namespace

Q_DECLARE_METATYPE(RelayFaults)

class TestLossyRelay : public QObject
{
    Q_OBJECT

private slots:
    void countsMatchTheFarEnd_data();
    void countsMatchTheFarEnd();
    void commandLine_data();
    void commandLine();
};

void TestLossyRelay::countsMatchTheFarEnd_data()
{
    // Drop, duplicate, reorder.
    QTest::addColumn<RelayFaults>("faults");
    QTest::addColumn<bool>("oneWay");

    QTest::newRow("no faults: each arrives once, in order") << RelayFaults{0.0, 0.0, 0.0} << false;
    QTest::newRow("a fifth dropped") << RelayFaults{0.2, 0.0, 0.0} << false;
    QTest::newRow("a tenth sent twice") << RelayFaults{0.0, 0.1, 0.0} << false;
    QTest::newRow("a fifth held back and overtaken") << RelayFaults{0.0, 0.0, 0.2} << false;
    QTest::newRow("a tenth of each at once") << RelayFaults{0.1, 0.1, 0.1} << false;
    QTest::newRow("one way: the answers pass untouched") << RelayFaults{0.1, 0.1, 0.1} << true;
}

void TestLossyRelay::countsMatchTheFarEnd()
{
    QFETCH(RelayFaults, faults);
    QFETCH(bool, oneWay);

    QUdpSocket tool;
    QUdpSocket gimbal;
    QVERIFY(tool.bind(QHostAddress(QHostAddress::LocalHost)));
    QVERIFY(gimbal.bind(QHostAddress(QHostAddress::LocalHost)));
    RelayOptions options;
    options.toPort = tool.localPort();
    options.faults = faults;
    options.oneWay = oneWay;
    LossyRelay relay(options);
    QVERIFY(relay.start());
    Arrivals atTool;
    Arrivals atGimbal;
    connect(&tool, &QUdpSocket::readyRead, this, [&] { atTool.read(tool); });
    connect(&gimbal, &QUdpSocket::readyRead, this, [&] { atGimbal.read(gimbal); });

    exchange(gimbal, options.host, relay.listenPort(), atTool, relay.forward(), options.faults);
    if (QTest::currentTestFailed())
        return;
    // The tool answers whom it heard: the relay, which passes the answers on to the gimbal.
    exchange(tool, atTool.last.senderAddress(), quint16(atTool.last.senderPort()), atGimbal,
             relay.back(), oneWay ? RelayFaults{} : faults);
}

void TestLossyRelay::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");

    const QStringList ports{"--listen", "0", "--to", "9"};
    QTest::newRow("--duration ends it") << ports + QStringList{"--duration", "0.1"} << 0;
    QTest::newRow("a NaN share is refused") << ports + QStringList{"--drop", "nan"} << 2;
    QTest::newRow("an infinite share is refused") << ports + QStringList{"--reorder", "inf"} << 2;
    QTest::newRow("the any address, off loopback, is refused")
        << ports + QStringList{"--host", "0.0.0.0"} << 1;
}

void TestLossyRelay::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QProcess process;
    process.start(QStringLiteral(GIMBAL_RELAY), arguments);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), exitCode);
}

QTEST_GUILESS_MAIN(TestLossyRelay)
#include "tst_lossyrelay.moc"
