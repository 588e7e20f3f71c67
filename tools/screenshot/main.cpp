// gimbal-screenshot: renders the tool's real main window offscreen and saves it as a PNG, in a
// chosen language and, given a simulator's port, with the port open, the right stick held and
// the angles live; on request the plot's window too, the gimbal's view open over the window (its
// control taken where a gimbal manager gives it), the Parameters window once the gimbal's
// parameters have come, a telemetry log played back, and what the window says of the link as
// text, for the checks of a build where only the window shows what was received (the Windows
// build under Wine).
#include "identity.h"
#include "mainwindowdriver.h"
#include "wiring.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPixmap>
#include <QQuickWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QTextStream>

namespace {
int fail(const QString &why)
{
    QTextStream(stderr) << "gimbal-screenshot: " << why << '\n';
    return 1;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    setApplicationIdentity();
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gimbal-screenshot"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Saves the main window as a PNG."));
    parser.addHelpOption();
    const QCommandLineOption language(QStringLiteral("language"),
                                      QStringLiteral("zh or en: the system language to start in."),
                                      QStringLiteral("language"), QStringLiteral("zh"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Open this port (what gimbal-sim prints) first."),
                                  QStringLiteral("path"));
    const QCommandLineOption seconds(
        QStringLiteral("seconds"),
        QStringLiteral("With --port: how long to hold the right stick before the picture."),
        QStringLiteral("seconds"), QStringLiteral("1.5"));
    const QCommandLineOption plot(QStringLiteral("plot"),
                                  QStringLiteral("Also save the plot's window to this PNG."),
                                  QStringLiteral("file"));
    const QCommandLineOption gimbalView(
        QStringLiteral("gimbal-view"),
        QStringLiteral("Open the gimbal's view (its controls and device information) first."));
    const QCommandLineOption takeControl(
        QStringLiteral("take-control"),
        QStringLiteral("With --gimbal-view and a gimbal reached through a vehicle's gimbal "
                       "manager: take its control first."));
    const QCommandLineOption replay(
        QStringLiteral("replay"),
        QStringLiteral("Play this telemetry log back for --seconds first, instead of a port."),
        QStringLiteral("file"));
    const QCommandLineOption texts(
        QStringLiteral("texts"),
        QStringLiteral("Also print the angles, the status line and the protocol line as the "
                       "picture shows them, one a line (UTF-8)."));
    const QCommandLineOption params(
        QStringLiteral("params"),
        QStringLiteral("With --port: also save the Parameters window, its download done, to this "
                       "PNG."),
        QStringLiteral("file"));
    parser.addOptions(
        {language, port, seconds, plot, gimbalView, takeControl, replay, params, texts});
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The PNG to write."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1 ||
        (parser.value(language) != QLatin1String("zh") &&
         parser.value(language) != QLatin1String("en")))
        parser.showHelp(2);

    // The window takes its language from the system locale, so the choice is made there.
    QLocale::setDefault(parser.value(language) == QLatin1String("zh")
                            ? QLocale(QLocale::Chinese, QLocale::China)
                            : QLocale(QLocale::English, QLocale::UnitedStates));
    Wiring wiring(app);
    wiring.engine().load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (wiring.engine().rootObjects().isEmpty())
        return fail(QStringLiteral("the main window could not be created"));
    MainWindowDriver driver(wiring.engine().rootObjects().first());
    QSignalSpy frames(driver.window(), &QQuickWindow::frameSwapped);
    if (!frames.wait(5000))
        return fail(QStringLiteral("the window never drew a frame"));

    if (parser.isSet(port)) {
        driver.openPort(parser.value(port));
        if (!wiring.controller().serialIsOpen())
            return fail(QStringLiteral("cannot open ") + parser.value(port));
        // Angles of either protocol: the report gimbal's reports or a v2 gimbal's statuses.
        QSignalSpy reports(&wiring.angleDisplay(), &AngleDisplay::shownChanged);
        // Up and to the right, so the simulated gimbal turns on two axes.
        driver.holdStick(QStringLiteral("rightJoystick"), QPointF(30, -45));
        QElapsedTimer held;
        held.start();
        while (held.elapsed() < parser.value(seconds).toDouble() * 1000)
            reports.wait(100);
        if (reports.isEmpty())
            return fail(QStringLiteral("no angles came from ") + parser.value(port));
    }
    if (parser.isSet(replay)) {
        wiring.controller().openReplay(parser.value(replay));
        if (!wiring.controller().replaying())
            return fail(QStringLiteral("cannot replay ") + parser.value(replay));
        QElapsedTimer played;
        played.start();
        while (played.elapsed() < parser.value(seconds).toDouble() * 1000)
            frames.wait(100);
    }
    // The plot comes last, with the stick still held: its button is pressed for the user.
    QQuickWindow *plotWindow = nullptr;
    if (parser.isSet(plot)) {
        QMetaObject::invokeMethod(driver.byId(QStringLiteral("plotButton")), "clicked");
        plotWindow =
            driver.byId(QStringLiteral("plotLoader"))->property("item").value<QQuickWindow *>();
        if (!plotWindow)
            return fail(QStringLiteral("the plot's window could not be created"));
        QSignalSpy plotFrames(plotWindow, &QQuickWindow::frameSwapped);
        plotFrames.wait(1000);
    }
    if (parser.isSet(gimbalView)) {
        // Pressed for the user: a click would end the stick's hold.
        QMetaObject::invokeMethod(driver.byId(QStringLiteral("gimbalButton")), "clicked");
        // Its information asked for and come, where a v2 device answers within a second or two.
        V2Information *information = wiring.v2Link().information();
        QSignalSpy changed(information, &V2Information::changed);
        QElapsedTimer waited;
        waited.start();
        while (!information->known() && waited.elapsed() < 3000)
            changed.wait(100);
        ManagerControl *control = wiring.v2Link().managerControl();
        if (parser.isSet(takeControl)) {
            control->takeControl();
            QSignalSpy controlChanged(control, &ManagerControl::changed);
            while (!control->inControl() && waited.elapsed() < 6000)
                controlChanged.wait(100);
            if (!control->inControl())
                return fail(QStringLiteral("the gimbal manager did not give control"));
        }
    }
    QQuickWindow *paramsWindow = nullptr;
    if (parser.isSet(params)) {
        QMetaObject::invokeMethod(driver.byId(QStringLiteral("paramsButton")), "clicked");
        paramsWindow =
            driver.byId(QStringLiteral("paramsLoader"))->property("item").value<QQuickWindow *>();
        if (!paramsWindow)
            return fail(QStringLiteral("the Parameters window could not be created"));
        ParamPanel &panel = wiring.paramPanel();
        QSignalSpy progress(&panel, &ParamPanel::progressChanged);
        QElapsedTimer waited;
        waited.start();
        while (!panel.complete() && waited.elapsed() < 10000)
            progress.wait(100);
        if (!panel.complete())
            return fail(QStringLiteral("the parameters did not come from ") + parser.value(port));
        QSignalSpy paramsFrames(paramsWindow, &QQuickWindow::frameSwapped);
        paramsFrames.wait(1000);
    }
    // The picture is taken from the next frame, so it shows the latest angles.
    driver.window()->update();
    frames.wait(1000);
    // The offscreen platform keeps what was drawn in the window's backing store; the software
    // renderer cannot read it back itself, the screen can.
    const QImage picture =
        driver.window()->screen()->grabWindow(driver.window()->winId()).toImage();
    if (!picture.save(parser.positionalArguments().first()))
        return fail(QStringLiteral("cannot write ") + parser.positionalArguments().first());
    if (plotWindow &&
        !plotWindow->screen()->grabWindow(plotWindow->winId()).toImage().save(parser.value(plot)))
        return fail(QStringLiteral("cannot write ") + parser.value(plot));
    if (paramsWindow && !paramsWindow->screen()
                             ->grabWindow(paramsWindow->winId())
                             .toImage()
                             .save(parser.value(params)))
        return fail(QStringLiteral("cannot write ") + parser.value(params));
    if (parser.isSet(texts)) {
        const QObject *state = driver.byId(QStringLiteral("statusView"))
                                   ->findChild<QObject *>(QStringLiteral("stateLine"));
        QTextStream out(stdout);
        out.setCodec("UTF-8");
        out << "angles: " << driver.angleTexts().join(QLatin1Char(' ')) << '\n'
            << "state: " << state->property("text").toString() << '\n'
            << "protocol: "
            << driver.byId(QStringLiteral("gimbalLine"))->property("text").toString() << '\n';
    }
    if (parser.isSet(port))
        driver.releaseStick();
    return 0;
}
