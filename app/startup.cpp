#include "startup.h"

#include "renderbackend.h"
#include "wiring.h"

#include <QGuiApplication>
#include <QIcon>
#include <QUrl>

int runGimbal(int &argc, char **argv, const QString &mainFile)
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QCoreApplication::setOrganizationName(QStringLiteral("Lunok"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("lunok.example.org"));
    QCoreApplication::setApplicationName(QStringLiteral("Gimbal"));

    QGuiApplication app(argc, argv);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/image/logo.ico")));
    selectRenderBackend();
    Wiring wiring(app);

    const QUrl url(mainFile, QUrl::TolerantMode);
    QObject::connect(
        &wiring.engine(), &QQmlApplicationEngine::objectCreated, &app,
        [url](QObject *object, const QUrl &objectUrl) {
            if (!object && url == objectUrl)
                QCoreApplication::exit(-1);
        },
        Qt::QueuedConnection);
    wiring.engine().load(url);

    return app.exec();
}
