// The tool's telemetry log read by node-mavlink, a MAVLink library independent of the tool: the
// same frames (MAVLink 2 and 1, signed and not) with the same ids and times, in the same order.
// Exits with 77, which CTest counts as skipped, where node is not installed.
#include "sampleframes.h"
#include "tlogentry.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

class TestTlogNode : public QObject
{
    Q_OBJECT

private slots:
    void readsTheToolsLog();
};

void TestTlogNode::readsTheToolsLog()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gimbal.tlog"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QStringList written;
    for (int i = 0; i < 40; ++i) {
        const std::uint64_t time = sampleframes::StartUs + 12345678ULL * i;
        const QByteArray frame = sampleframes::known(i);
        QVERIFY(file.write(tlog::entry(time, frame)) > 0);
        written.append(QStringLiteral("%1 %2 %3")
                           .arg(sampleframes::knownId(i))
                           .arg(time / 1000)
                           .arg(QString::fromLatin1(frame.toHex())));
    }
    file.close();

    QProcess node;
    node.start(QStringLiteral("node"), {QStringLiteral(READ_TLOG_SCRIPT), path});
    QVERIFY(node.waitForFinished(60000));
    QVERIFY2(node.exitCode() == 0, node.readAllStandardError().constData());
    QStringList read;
    for (const QByteArray &line : node.readAllStandardOutput().split('\n')) {
        const QJsonObject packet = QJsonDocument::fromJson(line).object();
        if (!packet.isEmpty())
            read.append(QStringLiteral("%1 %2 %3")
                            .arg(packet.value(QLatin1String("msgid")).toInt())
                            .arg(packet.value(QLatin1String("ms")).toString(),
                                 packet.value(QLatin1String("frame")).toString()));
    }
    QCOMPARE(read, written);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (QStandardPaths::findExecutable(QStringLiteral("node")).isEmpty()) {
        std::puts("SKIP: node is not installed");
        return 77;
    }
    TestTlogNode test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tlognode.moc"
