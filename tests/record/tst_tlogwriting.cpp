// A telemetry log written as the recorder writes its files: named for the time without replacing
// another file, and cut back to its last whole entry when the disk fills, so that it reads back
// whole.
#include "filesizelimit.h"
#include "recordfile.h"
#include "recordwriter.h"
#include "sampleframes.h"
#include "tlogentry.h"
#include "tlogreader.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

class TestTlogWriting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }
    void cutAtWholeEntries_data();
    void cutAtWholeEntries();
};

void TestTlogWriting::cutAtWholeEntries_data()
{
    QTest::addColumn<int>("room");
    QTest::addColumn<int>("entries");

    QTest::newRow("the disk full inside a time") << 3 << 12;
    QTest::newRow("the disk full inside a frame") << 20 << 12;
    QTest::newRow("the disk full after a whole entry") << 0 << 12;
    QTest::newRow("the disk full inside the first entry") << 10 << 0;
}

void TestTlogWriting::cutAtWholeEntries()
{
    QFETCH(int, room);
    QFETCH(int, entries);

    QByteArray chunk;
    int whole = 0;
    for (int i = 0; i < 40; ++i) {
        chunk += tlog::entry(sampleframes::StartUs + 1000u * i, sampleframes::known(i));
        whole = i < entries ? chunk.size() : whole;
    }
    QTemporaryDir dir;
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(sampleframes::StartUs / 1000);
    const QString taken =
        dir.filePath(time.toString(QStringLiteral("'gimbal-'yyyyMMdd-HHmmss'.tlog'")));
    QFile theirs(taken);
    QVERIFY(theirs.open(QIODevice::WriteOnly) && theirs.write("theirs") == 6);
    theirs.close();
    QString error;
    std::unique_ptr<QFile> file =
        recordfile::createNamedFor(dir.path(), time, QStringLiteral("tlog"), error);
    QVERIFY2(file, qPrintable(error));
    const QString path = file->fileName();
    QCOMPARE(path, taken.left(taken.size() - 5) + QStringLiteral("-2.tlog"));

    RecordWriter writer(file.release(), tlog::wholeEntries);
    QSignalSpy failed(&writer, &RecordWriter::failed);
    QVERIFY(failed.isValid());
    {
        FileSizeLimit limit(static_cast<rlim_t>(whole + room));
        writer.write(chunk);
    }
    const RecordWriter::Outcome outcome = writer.close(chunk);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(outcome.error, qt_error_string(EFBIG));
    QCOMPARE(outcome.entries, qint64(entries));
    QCOMPARE(QFileInfo(path).size(), qint64(whole));
    QCOMPARE(QFileInfo(taken).size(), qint64(6));

    TlogReader reader;
    QCOMPARE(reader.open(path), entries > 0);
    TlogEntry entry;
    int read = 0;
    while (reader.next(entry))
        ++read;
    QCOMPARE(read, entries);
    QVERIFY(!reader.cutShort());
}

QTEST_GUILESS_MAIN(TestTlogWriting)
#include "tst_tlogwriting.moc"
