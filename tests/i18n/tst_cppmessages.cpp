// The tool's C++ messages in the language the switcher chose, through the real catalogues: they
// are translated as they are emitted, so a switch at run time changes the next one.
#include "openfailure.h"
#include "qmllanguage.h"
#include "ravik.h"
#include "startuplanguage.h"

#include <QGuiApplication>
#include <QLocale>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>

class tst_CppMessages : public QObject
{
    Q_OBJECT
private slots:
    void followSwitch_data();
    void followSwitch();
};

void tst_CppMessages::followSwitch_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<bool>("english");

    using L = QList<int>;
    QTest::newRow("English system, no choice") << "en_US" << L{} << true;
    QTest::newRow("Chinese system, no choice") << "zh_CN" << L{} << false;
    QTest::newRow("German system starts English") << "de_DE" << L{} << true;
    QTest::newRow("English system switched to Chinese") << "en_US" << L{1} << false;
    QTest::newRow("Chinese system switched to English") << "zh_CN" << L{0} << true;
    QTest::newRow("to Chinese and back to English") << "en_US" << L{1, 0} << true;
    QTest::newRow("to English and back to Chinese") << "zh_CN" << L{0, 1} << false;
}

void tst_CppMessages::followSwitch()
{
    QFETCH(QString, locale);
    QFETCH(QList<int>, choices);
    QFETCH(bool, english);

    QLocale::setDefault(QLocale(locale));
    QTranslator startup;
    installStartupCatalogue(startup, systemLanguage());
    QQmlEngine engine;
    QmlLanguage language(qGuiApp, &engine, &startup, systemLanguage());
    Ravik ravik;
    QSignalSpy messages(&ravik, &Ravik::addMessage);
    QVERIFY(messages.isValid());

    for (int index : choices) {
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QString::number(index)));
        language.setLanguage(index);
    }
    ravik.gimbalControl(0.0f, 0.0f, 0.0f);
    QVERIFY(!messages.isEmpty());
    QCOMPARE(messages.last().at(0).toString(), english ? QStringLiteral("Please Open Serial First")
                                                       : QStringLiteral("请您先打开串口"));
    QCOMPARE(openFailureMessage(OpenFailure::Other, QStringLiteral("ttyUSB0"),
                                QStringLiteral("File name too long")),
             english ? QStringLiteral("Cannot open ttyUSB0: File name too long.")
                     : QStringLiteral("无法打开 ttyUSB0：File name too long。"));
}

QTEST_MAIN(tst_CppMessages)
#include "tst_cppmessages.moc"
