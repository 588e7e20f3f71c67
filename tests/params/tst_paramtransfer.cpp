// The download and the write machines on a 20 ms tick against a component at the end of a lossy
// link, simulated here on the machines' own clock: replies lost, doubled and reordered, indices
// never answered, writes refused and unanswered.
#include "paramdownload.h"
#include "paramwriter.h"

#include <QtTest>

namespace {
constexpr qint64 kTickMs = 20;
// A list stream value every 5 ms; a reply a round trip of 100 ms after its request.
constexpr qint64 kStreamPaceMs = 5;
constexpr qint64 kRoundTripMs = 100;

// A component and the link to it: it sends parameter `index` (65535: the hash of the set), the
// link delivers it at `at` unless it loses it or the index is silent. A lossy link also doubles
// one value in ten and reorders them within 30 ms.
struct FarEnd
{
    FarEnd(int count, ParamEncoding encoding, double loss, const QSet<int> &silent)
        : encoding(encoding), loss(loss), silent(silent)
    {
        // INT32 values and, at every fifth index, REAL32 ones; one name of 16 characters.
        for (int i = 0; i < count; ++i)
            params.append(*ParamValue::parse(i ? QString("P%1").arg(i) : "SERIAL1_PROTOCOL",
                                             QString::number(i % 5 ? i * 3 - 700 : i / 7.0),
                                             i % 5 ? 6 : 9));
    }

    void send(int index, qint64 at)
    {
        if (silent.contains(index) || random.bounded(1.0) < loss) {
            lost += index != 65535;
            return;
        }
        mavlink_param_value_t value{0, std::uint16_t(params.size()), std::uint16_t(index), {}, 9};
        if (index < params.size()) {
            value.param_value = params[index].toField(encoding);
            value.param_type = params[index].type();
            mavlink_param_id_put(value.param_id, params[index].name().toStdString());
        }
        const qint64 jitter = loss > 0 ? 30 : 0;
        inTransit.insert(at + qint64(random.bounded(double(jitter + 1))), value);
        if (loss > 0 && random.bounded(1.0) < 0.1)
            inTransit.insert(at + 2 * jitter, value);
    }

    QVector<mavlink_param_value_t> arrivals(qint64 now)
    {
        QVector<mavlink_param_value_t> values;
        while (!inTransit.isEmpty() && inTransit.firstKey() <= now)
            values.append(inTransit.take(inTransit.firstKey()));
        return values;
    }

    QVector<ParamValue> params;
    ParamEncoding encoding;
    double loss = 0;
    QSet<int> silent;
    int lost = 0;
    QRandomGenerator random{20240611};
    QMultiMap<qint64, mavlink_param_value_t> inTransit;
};
} // namespace

class TestParamTransfer : public QObject
{
    Q_OBJECT

private slots:
    void download_data();
    void download();
    void write_data();
    void write();
};

void TestParamTransfer::download_data()
{
    QTest::addColumn<double>("loss");
    QTest::addColumn<QSet<int>>("silent");
    QTest::addColumn<int>("lists");
    QTest::addColumn<QString>("failure");

    QTest::newRow("10 % lost, doubled, reordered") << 0.1 << QSet<int>() << 1 << QString();
    QTest::newRow("7 and 499 never answered")
        << 0.1 << QSet<int>{7, 499} << 1
        << "2 parameters still missing after 5 requests each, indices: 7, 499";
    QTest::newRow("a component without parameters: the list asked for twice")
        << 0.0 << QSet<int>{65535} << 2
        << "the component did not answer the request for its parameter list";
}

void TestParamTransfer::download()
{
    QFETCH(double, loss);
    QFETCH(QSet<int>, silent);
    QFETCH(int, lists);
    QFETCH(QString, failure);

    FarEnd far(silent.contains(65535) ? 0 : 500, ParamEncoding::Bytewise, loss, silent);
    ParamDownload download;
    download.start(0);
    int reads = 0;
    qint64 now = 0;
    for (; download.state() == ParamDownload::State::Running && now < 120000; now += kTickMs) {
        for (const mavlink_param_value_t &value : far.arrivals(now))
            download.take(value, now);
        while (const std::optional<ParamDownload::Request> request = download.nextRequest(now)) {
            QVERIFY(download.inFlight() <= ParamDownload::kWindow);
            if (request->kind == ParamDownload::Request::Read) {
                far.send(request->index, now + kRoundTripMs);
                ++reads;
                continue;
            }
            --lists;
            far.send(65535, now + kRoundTripMs);
            for (int i = 0; i < far.params.size(); ++i)
                far.send(i, now + kRoundTripMs + i * kStreamPaceMs);
        }
    }
    QCOMPARE(lists, 0);
    QCOMPARE(download.failureText(), failure);
    // Every value once, in order, but the missing ones.
    QVector<ParamValue> got = download.values(ParamEncoding::Bytewise);
    for (int i : download.missing())
        got.insert(i, far.params[i]);
    QVERIFY(got == far.params);
    // Each lost reply asked for again about once: a lost read is not retried before the link
    // has gone quiet. On the machine's own clock, the 70 or so lost take less than 3 s more than
    // the stream of the 500 itself.
    QVERIFY(reads <= far.lost * 3 / 2);
    QVERIFY(!failure.isEmpty() ||
            download.elapsed(now) < kRoundTripMs + 500 * kStreamPaceMs + 3000);
}

void TestParamTransfer::write_data()
{
    QTest::addColumn<double>("loss");
    QTest::addColumn<QSet<int>>("refusing");
    QTest::addColumn<QSet<int>>("silent");
    QTest::addColumn<int>("writes");
    QTest::addColumn<QString>("summary");

    QTest::newRow("a third lost: sent again until confirmed")
        << 0.33 << QSet<int>() << QSet<int>() << 9 << "6 written";
    QTest::newRow("refused, and unanswered after three tries")
        << 0.0 << QSet<int>{3} << QSet<int>{5, 6} << 10
        << "3 written; 1 refused: P3; 2 unconfirmed: P5, P6";
}

void TestParamTransfer::write()
{
    QFETCH(double, loss);
    QFETCH(QSet<int>, refusing);
    QFETCH(QSet<int>, silent);
    QFETCH(int, writes);
    QFETCH(QString, summary);

    FarEnd far(10, ParamEncoding::CCast, loss, silent);
    ParamWriter writer(ParamEncoding::CCast);
    QVERIFY(!writer.add(*ParamValue::parse("P1", "16777217", MAV_PARAM_TYPE_INT32)));
    for (int i = 1; i <= 6; ++i)
        QVERIFY(writer.add(*ParamValue::parse(far.params[i].name(), QString::number(i * 100),
                                              far.params[i].type())));
    for (qint64 now = 0; !writer.finished() && now < 20000; now += kTickMs) {
        for (const mavlink_param_value_t &value : far.arrivals(now))
            writer.take(value);
        int burst = 0;
        while (const std::optional<ParamWriter::Send> send = writer.nextSend(now)) {
            QVERIFY(++burst <= ParamWriter::kWindow);
            --writes;
            const int i = send->value.name().mid(1).toInt();
            if (!refusing.contains(i))
                far.params[i] = ParamValue::fromField(send->value.name(), far.params[i].type(),
                                                      send->field, far.encoding);
            far.send(i, now + kRoundTripMs);
        }
    }
    QCOMPARE(writes, 0);
    QCOMPARE(writer.summary(), summary);
}

QTEST_GUILESS_MAIN(TestParamTransfer)
#include "tst_paramtransfer.moc"
