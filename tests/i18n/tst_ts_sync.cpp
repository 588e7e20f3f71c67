// Keeps the English catalogue source in step with the sources: every qsTr text of every QML file
// needs a row in en_us.ts under the file's base name, or it could never be translated; every tr()
// text of the C++ sources needs a row with its English translation under its class's name.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

namespace {

using Key = QPair<QString, QString>; // translation context, source text
using Rows = QHash<Key, QString>;    // the English translation of each

// Rows that lupdate has marked as gone from the sources do not count.
Rows readTsRows(const QString &path)
{
    Rows rows;
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
                rows.insert({context, source}, xml.readElementText());
            }
        }
    }
    return xml.hasError() ? Rows() : rows;
}

// The texts of each tr("...") and translate("Context", "...") call of a C++ source, with
// adjacent literals joined and the escapes undone, and the context the call names (empty for
// tr(): the class's).
QVector<Key> trTexts(const QString &cpp)
{
    static const QRegularExpression call(QStringLiteral(
        "\\b(?:tr|translate)\\(\\s*(?:\"(\\w+)\"\\s*,\\s*)?((?:\"(?:[^\"\\\\]|\\\\.)*\"\\s*)+)"));
    static const QRegularExpression literal(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
    static const QRegularExpression escape(QStringLiteral("\\\\(.)"));
    QVector<Key> texts;
    auto it = call.globalMatch(cpp);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        QString text;
        auto part = literal.globalMatch(match.captured(2));
        while (part.hasNext())
            text += part.next().captured(1);
        texts.append({match.captured(1), text.replace(escape, QStringLiteral("\\1"))});
    }
    return texts;
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
    void everyCppTextHasATranslation_data();
    void everyCppTextHasATranslation();
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

    static const Rows rows = readTsRows(QStringLiteral(ENGLISH_TS_FILE));
    QVERIFY2(rows.contains({context, source}),
             qPrintable(QStringLiteral("no row for \"%1\" in context %2 of en_us.ts; add one")
                            .arg(source, context)));
}

void tst_TsSync::everyCppTextHasATranslation_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");

    // One class per file: the class of a tr() call is the file's base name in its own case.
    const Rows rows = readTsRows(QStringLiteral(ENGLISH_TS_FILE));
    QHash<QString, QString> contexts;
    for (auto row = rows.cbegin(); row != rows.cend(); ++row)
        contexts.insert(row.key().first.toLower(), row.key().first);

    // The tool's own source folders; the tests and tools speak to developers only.
    const QDir sources(QStringLiteral(CPP_SOURCE_DIR));
    QStringList paths;
    for (const char *folder : {"app", "core", "gimbalv2", "i18n", "input", "link", "mavlink",
                               "params", "plot", "record", "tlog"}) {
        const QDir dir(sources.filePath(QLatin1String(folder)));
        for (const QString &name : dir.entryList({QStringLiteral("*.cpp")}, QDir::Files))
            paths.append(dir.filePath(name));
    }
    int found = 0;
    for (const QString &path : qAsConst(paths)) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString base = QFileInfo(path).completeBaseName();
        for (const Key &text : trTexts(QString::fromUtf8(file.readAll()))) {
            const QString context = text.first.isEmpty() ? contexts.value(base, base) : text.first;
            QTest::addRow("%s: %s", qPrintable(QFileInfo(path).fileName()), qPrintable(text.second))
                << context << text.second;
            ++found;
        }
    }
    QVERIFY(found > 0);
}

void tst_TsSync::everyCppTextHasATranslation()
{
    QFETCH(QString, context);
    QFETCH(QString, source);

    static const Rows rows = readTsRows(QStringLiteral(ENGLISH_TS_FILE));
    QVERIFY2(!rows.value({context, source}).isEmpty(),
             qPrintable(QStringLiteral("no English for \"%1\" in context %2 of en_us.ts; add it")
                            .arg(source, context)));
}

QTEST_GUILESS_MAIN(tst_TsSync)
#include "tst_ts_sync.moc"
