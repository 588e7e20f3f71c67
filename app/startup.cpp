#include "startup.h"

#include "commandline.h"
#include "identity.h"
#include "paramcommand.h"
#include "renderbackend.h"
#include "settingsstore.h"
#include "terminationsignals.h"
#include "wiring.h"

#include <QGuiApplication>
#include <QIcon>
#include <QUrl>

namespace {
QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}
} // namespace

int runGimbal(int &argc, char **argv, const QString &mainFile)
{
    setApplicationIdentity();
    // Without a window nothing needs a display: the command line is read before the window's
    // application is made, whose platform plugin would abort where there is none.
    if (runsWithoutWindow(argumentsOf(argc, argv))) {
        QCoreApplication app(argc, argv);
        StartOptions options;
        if (const std::optional<int> exitCode = parseCommandLine(app.arguments(), options))
            return *exitCode;
        return ParamCommand::run(options);
    }
    QGuiApplication app(argc, argv);
    StartOptions options;
    if (const std::optional<int> exitCode = parseCommandLine(app.arguments(), options))
        return *exitCode;

    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/image/logo.ico")));
    selectRenderBackend();
    SettingsStore settings;
    // Made before the wiring, so that a signal while the tool ends cannot cut the ending short.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);
    Wiring wiring(app, &settings, options);
    QObject::connect(&settings, &SettingsStore::message, &wiring.messages(), &MessageModel::add);

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
