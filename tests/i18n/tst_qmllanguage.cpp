// The language switcher against real catalogues and a real QML engine: start-up language by
// locale, switching in both directions from Chinese, English and other systems, texts that
// are evaluated after the switch, and the C++ messages made after it.
#include "openfailure.h"
#include "qmllanguage.h"
#include "ravik.h"
#include "startuplanguage.h"

#include <QGuiApplication>
#include <QLocale>
#include <QQmlApplicationEngine>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>

namespace {

// Two translation contexts, as the window and the styled combo box give them. `late` depends on
// `trigger`, so a test can make the engine evaluate qsTr again long after a switch.
const QByteArray mainQml = R"(
import QtQml 2.12
QtObject {
    property int trigger: 0
    property string port: qsTr("端口号")
    property string late: trigger >= 0 ? qsTr("端口号") : ""
    property string closeText: qsTr("Close")
    property string title: qsTr("Ravik Mavlink")
    function portNow() { return qsTr("端口号") }
}
)";
const QByteArray comboQml = R"(
import QtQml 2.12
QtObject { property string upward: qsTr("相机朝上") }
)";

} // namespace

class tst_QmlLanguage : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void localLanguage_data();
    void localLanguage();
    void switching_data();
    void switching();
};

void tst_QmlLanguage::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

void tst_QmlLanguage::localLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("index");

    QTest::newRow("English is index 0") << "en_US" << 0;
    QTest::newRow("mainland Chinese is index 1") << "zh_CN" << 1;
    QTest::newRow("traditional script is Chinese too") << "zh_TW" << 1;
    QTest::newRow("Hong Kong traditional is Chinese") << "zh_Hant_HK" << 1;
    QTest::newRow("any other language is index 0") << "de_DE" << 0;
}

void tst_QmlLanguage::localLanguage()
{
    QFETCH(QString, locale);
    QFETCH(int, index);

    QLocale::setDefault(QLocale(locale));
    QQmlApplicationEngine engine;
    QTranslator startup;
    QmlLanguage language(qGuiApp, &engine, &startup, systemLanguage());

    QCOMPARE(language.language(), index);
}

void tst_QmlLanguage::switching_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<bool>("english");

    using L = QList<int>;
    QTest::newRow("English system starts in English") << "en_US" << L{} << true;
    QTest::newRow("Chinese system starts in Chinese") << "zh_CN" << L{} << false;
    QTest::newRow("German system starts in English") << "de_DE" << L{} << true;
    QTest::newRow("French system, Chinese chosen") << "fr_FR" << L{1} << false;
    QTest::newRow("Chinese system, English chosen") << "zh_CN" << L{0} << true;
    QTest::newRow("Chinese system, English then Chinese") << "zh_CN" << L{0, 1} << false;
    QTest::newRow("English system, Chinese chosen") << "en_US" << L{1} << false;
    QTest::newRow("English system, Chinese then English") << "en_US" << L{1, 0} << true;
    QTest::newRow("German system, English chosen") << "de_DE" << L{0} << true;
    QTest::newRow("English chosen twice") << "zh_CN" << L{0, 0} << true;
    QTest::newRow("Chinese chosen twice on an English system") << "en_US" << L{1, 1} << false;
    QTest::newRow("index 5 counts as English") << "zh_CN" << L{5} << true;
    QTest::newRow("index 5 after Chinese brings English back") << "en_US" << L{1, 5} << true;
}

void tst_QmlLanguage::switching()
{
    QFETCH(QString, locale);
    QFETCH(QList<int>, choices);
    QFETCH(bool, english);

    QLocale::setDefault(QLocale(locale));
    QTranslator startup;
    installStartupCatalogue(startup, systemLanguage());
    QQmlApplicationEngine engine;
    QmlLanguage language(qGuiApp, &engine, &startup, systemLanguage());
    engine.loadData(mainQml, QUrl(QStringLiteral("qrc:/i18n-test/main.qml")));
    engine.loadData(comboQml, QUrl(QStringLiteral("qrc:/i18n-test/RavikCombox.qml")));
    QCOMPARE(engine.rootObjects().size(), 2);
    QObject *window = engine.rootObjects().at(0);
    QObject *combo = engine.rootObjects().at(1);

    for (int index : choices) {
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QString::number(index)));
        language.setLanguage(index);
    }
    QCOMPARE(language.language(), english ? 0 : 1);
    const QString port = english ? QStringLiteral("Port") : QStringLiteral("端口号");
    const QString upward = english ? QStringLiteral("Camera Upward") : QStringLiteral("相机朝上");
    QCOMPARE(window->property("port").toString(), port);
    QCOMPARE(combo->property("upward").toString(), upward);

    // The C++ messages are translated as they are made: the switch decides the next one.
    Ravik ravik;
    QSignalSpy messages(&ravik, &Ravik::addMessage);
    QVERIFY(messages.isValid());
    ravik.gimbalControl(0.0f, 0.0f, 0.0f);
    QVERIFY(!messages.isEmpty());
    QCOMPARE(messages.last().at(0).toString(), english ? QStringLiteral("Please Open Serial First")
                                                       : QStringLiteral("请您先打开串口"));
    QCOMPARE(openFailureMessage(OpenFailure::Other, QStringLiteral("ttyUSB0"),
                                QStringLiteral("File name too long")),
             english ? QStringLiteral("Cannot open ttyUSB0: File name too long.")
                     : QStringLiteral("无法打开 ttyUSB0：File name too long。"));

    // The engine retranslates again when the posted LanguageChange events arrive, and bindings
    // are evaluated again whenever their inputs change: the chosen language must hold for both.
    QCoreApplication::sendPostedEvents();
    QVERIFY(window->setProperty("trigger", 1));
    QCOMPARE(window->property("port").toString(), port);
    QCOMPARE(window->property("late").toString(), port);
    QCOMPARE(combo->property("upward").toString(), upward);
    QVariant now;
    QVERIFY(QMetaObject::invokeMethod(window, "portNow", Q_RETURN_ARG(QVariant, now)));
    QCOMPARE(now.toString(), port);

    // Texts without an English translation read the same in both languages.
    QCOMPARE(window->property("closeText").toString(), QStringLiteral("Close"));
    QCOMPARE(window->property("title").toString(), QStringLiteral("Ravik Mavlink"));
}

QTEST_MAIN(tst_QmlLanguage)
#include "tst_qmllanguage.moc"
