#include "startup.h"

#include "qmllanguage.h"
#include "ravik.h"
#include "serial.h"
#include "serialevent.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLocale>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QTranslator>
#include <QUrl>

int runGimbal(int &argc, char **argv, const QString &mainFile)
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QCoreApplication::setOrganizationName(QStringLiteral("Lunok"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("lunok.example.org"));
    QCoreApplication::setApplicationName(QStringLiteral("Gimbal"));

    QGuiApplication app(argc, argv);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/image/logo.ico")));
    QQmlApplicationEngine engine;

    // A catalogue that does not load leaves the source texts; the translator is installed anyway.
    QTranslator translator;
    const QLocale locale;
    if (locale.language() == QLocale::English)
        translator.load(QStringLiteral(":/en_us.qm"));
    else if (locale.language() == QLocale::Chinese)
        translator.load(QStringLiteral(":/zh_CN.qm"));
    QCoreApplication::installTranslator(&translator);

    QmlLanguage qmlLanguage(&app, &engine, &translator);
    engine.rootContext()->setContextProperty(QStringLiteral("qmlLanguage"), &qmlLanguage);

    Ravik ravik;
    app.installNativeEventFilter(ravik.watcher());
    engine.rootContext()->setContextProperty(QStringLiteral("Ravik"), &ravik);
    engine.rootContext()->setContextProperty(QStringLiteral("mySerial"), ravik.wrapper());

    const QUrl url(mainFile, QUrl::TolerantMode);
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreated, &app,
        [url](QObject *object, const QUrl &objectUrl) {
            if (!object && url == objectUrl)
                QCoreApplication::exit(-1);
        },
        Qt::QueuedConnection);
    engine.load(url);

    return app.exec();
}
