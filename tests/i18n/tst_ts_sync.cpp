// Keeps the English catalogue source in step with the QML: every qsTr text of every QML file
// needs a row in en_us.ts under the file's base name, or it could never be translated.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

namespace {

using Key = QPair<QString, QString>; // translation context, source text

// Rows that lupdate has marked as gone from the sources do not count.
QSet<Key> readTsRows(const QString &path)
{
    QSet<Key> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return rows;
    }
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QStringRef name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            const QStringRef type = xml.attributes().value(QLatin1String("type"));
            if (type != QLatin1String("obsolete") && type != QLatin1String("vanished")) {
                rows.insert({context, source});
            }
        }
    }
    return xml.hasError() ? QSet<Key>() : rows;
}

// The text of each qsTr("...") or qsTr('...') call, with the QML escapes undone.
QStringList qsTrTexts(const QString &qml)
{
    static const QRegularExpression call(
        QStringLiteral("qsTr\\(\\s*(?:\"((?:[^\"\\\\]|\\\\.)*)\"|'((?:[^'\\\\]|\\\\.)*)')"));
    static const QRegularExpression escape(QStringLiteral("\\\\(.)"));
    QStringList texts;
    auto it = call.globalMatch(qml);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        QString text = match.captured(1) + match.captured(2);
        texts.append(text.replace(escape, QStringLiteral("\\1")));
    }
    return texts;
}

} // namespace

class tst_TsSync : public QObject
{
    Q_OBJECT
private slots:
    void sourcesFound();
    void everyQmlTextHasARow_data();
    void everyQmlTextHasARow();
};

void tst_TsSync::sourcesFound()
{
    QVERIFY(!readTsRows(QStringLiteral(ENGLISH_TS_FILE)).isEmpty());
    const QDir qmlDir(QStringLiteral(QML_SOURCE_DIR));
    QVERIFY(qmlDir.entryList({QStringLiteral("*.qml")}).contains(QStringLiteral("main.qml")));
}

void tst_TsSync::everyQmlTextHasARow_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");

    const QDir qmlDir(QStringLiteral(QML_SOURCE_DIR));
    for (const QFileInfo &info : qmlDir.entryInfoList({QStringLiteral("*.qml")}, QDir::Files)) {
        QFile file(info.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (const QString &text : qsTrTexts(QString::fromUtf8(file.readAll()))) {
            QTest::addRow("%s: %s", qPrintable(info.fileName()), qPrintable(text))
                << info.completeBaseName() << text;
        }
    }
}

void tst_TsSync::everyQmlTextHasARow()
{
    QFETCH(QString, context);
    QFETCH(QString, source);

    static const QSet<Key> rows = readTsRows(QStringLiteral(ENGLISH_TS_FILE));
    QVERIFY2(rows.contains({context, source}),
             qPrintable(QStringLiteral("no row for \"%1\" in context %2 of en_us.ts; add one")
                            .arg(source, context)));
}

QTEST_GUILESS_MAIN(tst_TsSync)
#include "tst_ts_sync.moc"
