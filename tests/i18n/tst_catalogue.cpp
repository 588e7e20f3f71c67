// The embedded catalogues read back as the program reads them, through QTranslator, and as
// lrelease wrote them, message by message, to prove which messages exist without a translation.
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTest>
#include <QTranslator>
#include <QtEndian>
#include <algorithm>

namespace {

// Section tags and message-record tags of the compiled catalogue format.
enum Section : quint8 {
    Contexts = 0x2f,
    Hashes = 0x42,
    Messages = 0x69,
    NumerusRules = 0x88,
    Dependencies = 0x96,
};
enum MessageTag : quint8 {
    End = 1,
    Translation = 3,
    Obsolete1 = 5,
    SourceText = 6,
    Context = 7,
    Comment = 8,
};
const QByteArray magic = QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd");

struct Message
{
    QString context;
    QString source;
    bool translated = false;
};

struct Catalogue
{
    QHash<quint8, QByteArray> sections;
    QVector<Message> messages;
};

quint32 read32(const QByteArray &data, int &at)
{
    if (at + 4 > data.size()) {
        at = data.size() + 1;
        return 0;
    }
    const quint32 value = qFromBigEndian<quint32>(data.constData() + at);
    at += 4;
    return value;
}

// Returns false on any record that runs past its section.
bool readMessages(const QByteArray &data, QVector<Message> &messages)
{
    int at = 0;
    Message message;
    while (at < data.size()) {
        const quint8 tag = quint8(data.at(at++));
        if (tag == End) {
            messages.append(message);
            message = Message();
            continue;
        }
        if (tag == Obsolete1) {
            at += 4;
            continue;
        }
        const quint32 length = read32(data, at);
        const bool null = tag == Translation && length == 0xffffffff;
        if (!null && (at > data.size() || length > quint32(data.size() - at))) {
            return false;
        }
        const QByteArray bytes = null ? QByteArray() : data.mid(at, int(length));
        at += null ? 0 : int(length);
        if (tag == Translation) {
            message.translated = !null && !bytes.isEmpty();
        } else if (tag == SourceText) {
            message.source = QString::fromUtf8(bytes);
        } else if (tag == Context) {
            message.context = QString::fromUtf8(bytes);
        } else if (tag != Comment) {
            return false;
        }
    }
    return at == data.size();
}

bool readCatalogue(const QString &path, Catalogue &catalogue)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray data = file.readAll();
    if (!data.startsWith(magic)) {
        return false;
    }
    int at = magic.size();
    while (at < data.size()) {
        const quint8 tag = quint8(data.at(at++));
        const quint32 length = read32(data, at);
        if (at > data.size() || length > quint32(data.size() - at)) {
            return false;
        }
        catalogue.sections.insert(tag, data.mid(at, int(length)));
        at += int(length);
    }
    return readMessages(catalogue.sections.value(Messages), catalogue.messages);
}

} // namespace

class tst_Catalogue : public QObject
{
    Q_OBJECT
private slots:
    void englishStructure();
    void englishLookup_data();
    void englishLookup();
    void chineseTranslatesNothing();
};

void tst_Catalogue::englishStructure()
{
    Catalogue catalogue;
    QVERIFY(readCatalogue(QStringLiteral(":/en_us.qm"), catalogue));

    QCOMPARE(catalogue.sections.value(Hashes).size(), catalogue.messages.size() * 8);
    QVERIFY(!catalogue.sections.contains(Contexts));
    QVERIFY(!catalogue.sections.contains(Dependencies));
    // English plural rule: singular exactly when the count equals 1.
    QCOMPARE(catalogue.sections.value(NumerusRules), QByteArray::fromHex("0101"));

    QHash<QString, int> perContext;
    QSet<QPair<QString, QString>> keys;
    int untranslated = 0;
    for (const Message &message : qAsConst(catalogue.messages)) {
        ++perContext[message.context];
        keys.insert({message.context, message.source});
        untranslated += message.translated ? 0 : 1;
    }
    QCOMPARE(keys.size(), catalogue.messages.size());
    // The window's 57, the buttons for the input settings, the plot, the recording, the
    // gimbal's view and the parameters, and the refusal of a baud rate.
    QCOMPARE(perContext.value(QStringLiteral("main")), 64);
    QCOMPARE(perContext.value(QStringLiteral("RavikCombox")), 2);
    // The views added beside the window's own texts are translated throughout.
    QCOMPARE(untranslated, 20);
}

void tst_Catalogue::englishLookup_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("inCatalogue");
    QTest::addColumn<QString>("translation");

    const QString none;
    QTest::newRow("port label") << "main"
                                << "端口号" << true << "Port";
    QTest::newRow("language label keeps both scripts")
        << "main"
        << "语言(Language)" << true << "Language(语言)";
    QTest::newRow("close in Chinese mode") << "main"
                                           << "关闭" << true << "Close";
    QTest::newRow("close in English mode: row without translation") << "main"
                                                                    << "Close" << true << none;
    QTest::newRow("open in English mode: row without translation") << "main"
                                                                   << "Open" << true << none;
    QTest::newRow("progress drops the colon") << "main"
                                              << "进度:" << true << "Progress";
    QTest::newRow("same English for two sources") << "main"
                                                  << "相机上置" << true << "Camera Upward";
    QTest::newRow("longest message")
        << "main"
        << "请按照停止电机、霍尔校准、加速度计校准，激活，重启的顺序依次操作，完成校准" << true
        << "Please proceed with the calibration in the following "
           "order: stop the motor, Hall calibration, accelerometer "
           "calibration, activate, and then restart.";
    QTest::newRow("channel names stay untranslated") << "main"
                                                     << "CH16" << true << none;
    QTest::newRow("combo box entry in its own context") << "RavikCombox"
                                                        << "相机朝上" << true << "Camera Upward";
    QTest::newRow("combo box entry is not in main") << "main"
                                                    << "相机朝上" << false << none;
    QTest::newRow("window text is not in the combo box") << "RavikCombox"
                                                         << "关闭" << false << none;
    QTest::newRow("window title is not in the catalogue") << "main"
                                                          << "Ravik Mavlink" << false << none;
    QTest::newRow("angle group title is not in the catalogue") << "main"
                                                               << "角度信息" << false << none;
    QTest::newRow("joystick group title is not in the catalogue") << "main"
                                                                  << "控制" << false << none;
}

void tst_Catalogue::englishLookup()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(bool, inCatalogue);
    QFETCH(QString, translation);

    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/en_us.qm")));
    // Catalogue keys are UTF-8; qPrintable would give the ANSI code page on Windows.
    const QString found =
        translator.translate(context.toUtf8().constData(), source.toUtf8().constData());
    QCOMPARE(found.isNull(), translation.isNull());
    QCOMPARE(found, translation);

    Catalogue catalogue;
    QVERIFY(readCatalogue(QStringLiteral(":/en_us.qm"), catalogue));
    const auto match = [&](const Message &m) { return m.context == context && m.source == source; };
    const bool present = std::any_of(catalogue.messages.cbegin(), catalogue.messages.cend(), match);
    QCOMPARE(present, inCatalogue);
}

void tst_Catalogue::chineseTranslatesNothing()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/zh_CN.qm")));
    QVERIFY(translator.isEmpty());
    QVERIFY(translator.translate("main", "端口号").isNull());
    QVERIFY(translator.translate("main", "Close").isNull());

    Catalogue catalogue;
    QVERIFY(readCatalogue(QStringLiteral(":/zh_CN.qm"), catalogue));
    QVERIFY(catalogue.messages.isEmpty());
}

QTEST_GUILESS_MAIN(tst_Catalogue)
#include "tst_catalogue.moc"
