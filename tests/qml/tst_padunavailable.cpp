// The main window on a system where the gamepad cannot work: no SDL2 library, or a library that
// is not SDL2. The status area says that the pad is unavailable and why, in the language shown.
#include "mainwindowdriver.h"
#include "wiring.h"

#include <QGuiApplication>
#include <QQmlContext>
#include <QSignalSpy>
#include <QtTest>

class TestPadUnavailable : public QObject
{
    Q_OBJECT

private slots:
    void statusSaysWhy_data();
    void statusSaysWhy();
};

void TestPadUnavailable::statusSaysWhy_data()
{
    QTest::addColumn<QByteArray>("library");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("line");

    const QByteArray missing = "/nonexistent/libSDL2-2.0.so.0";
    QTest::newRow("no SDL2 library") << missing << 0
                                     << QStringLiteral("^Gamepad unavailable: SDL2 library not "
                                                       "found$");
    QTest::newRow("switched to Chinese after the pad started")
        << missing << 1 << QStringLiteral("^手柄不可用：未找到 SDL2 库$");
    QTest::newRow("a library that is not SDL2: the function it lacks")
        << QByteArray("libz.so.1") << 0
        << QStringLiteral("^Gamepad unavailable: \\S*libz\\S*: undefined symbol SDL_SetHint$");
}

void TestPadUnavailable::statusSaysWhy()
{
    QFETCH(QByteArray, library);
    QFETCH(int, language);
    QFETCH(QString, line);

    QVERIFY(qputenv("GIMBAL_SDL2_LIBRARY", library));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Wiring wiring(*qGuiApp);
    QSignalSpy padChanged(&wiring.input(), &InputControl::padChanged);
    QVERIFY(padChanged.isValid());
    wiring.engine().load(QUrl(QStringLiteral("qrc:/main.qml")));
    QCOMPARE(wiring.engine().rootObjects().size(), 1);
    MainWindowDriver driver(wiring.engine().rootObjects().first());
    QObject *padLine =
        driver.byId(QStringLiteral("statusView"))->findChild<QObject *>(QStringLiteral("padLine"));
    QVERIFY(padLine);
    // Before the pad starts nothing is known, and nothing is said.
    QCOMPARE(padLine->property("text").toString(), QString());

    QVERIFY(padChanged.wait(5000));
    QVERIFY(!wiring.input().padAvailable());
    if (language != 0) {
        auto *switcher =
            wiring.engine().rootContext()->contextProperty("qmlLanguage").value<QObject *>();
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QString::number(language)));
        QVERIFY(switcher->setProperty("language", language));
    }
    const QString text = padLine->property("text").toString();
    QVERIFY2(QRegularExpression(line).match(text).hasMatch(), qPrintable(text));
    QVERIFY(padLine->property("visible").toBool());
}

QTEST_MAIN(TestPadUnavailable)
#include "tst_padunavailable.moc"
