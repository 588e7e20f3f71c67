// gimbal-probe: the tool's real window and wiring, driven like a user at a simulated gimbal, for
// bench/run-app.sh. It types the given port into the port box, opens it, holds the right stick
// so the angles keep changing, and once a second prints how many reports the controller took,
// how many of them the three angle labels did not show, and how many bytes wait unread in the
// port: a backlog that grows means the window cannot keep up.
#include "mainwindowdriver.h"
#include "serial.h"
#include "wiring.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTextStream>
#include <QTimer>

#include <sys/ioctl.h>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("The port to open."),
                                  QStringLiteral("path"));
    const QCommandLineOption seconds(QStringLiteral("seconds"),
                                     QStringLiteral("How long to run after opening."),
                                     QStringLiteral("seconds"), QStringLiteral("10"));
    parser.addOptions({port, seconds});
    parser.process(app);
    if (!parser.isSet(port))
        parser.showHelp(2);

    Wiring wiring(app);
    wiring.engine().load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (wiring.engine().rootObjects().isEmpty())
        return 1;
    MainWindowDriver driver(wiring.engine().rootObjects().first());
    QSignalSpy frames(driver.window(), &QQuickWindow::frameSwapped);
    if (!frames.wait(5000))
        return 1;

    Ravik &ravik = wiring.controller();
    driver.openPort(parser.value(port));
    if (!ravik.serialIsOpen()) {
        QTextStream(stderr) << "gimbal-probe: cannot open " << parser.value(port) << '\n';
        return 1;
    }
    driver.holdStick(QStringLiteral("rightJoystick"), QPointF(30, -45));

    // The labels' bindings are notified before any ordinary connection, so here they must
    // already show the report that has just come in.
    const QList<QQuickItem *> labels = driver.angleLabels().mid(driver.angleLabels().size() - 3);
    long long reports = 0;
    long long unshown = 0;
    QObject::connect(&ravik, &Ravik::gimbalImuAngleChanged, [&] {
        ++reports;
        const QVariantList angles = ravik.gimbalImuAngle();
        for (int i = 0; i < 3; ++i) {
            if (labels[i]->property("text").toString() !=
                QString::number(angles[i].toDouble(), 'f', 2)) {
                ++unshown;
                break;
            }
        }
    });

    QTextStream out(stdout);
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        int waiting = 0;
        ioctl(static_cast<int>(ravik.wrapper()->handle()), FIONREAD, &waiting);
        out << "t=" << clock.elapsed() / 1000.0 << " reports=" << reports << " unshown=" << unshown
            << " backlog=" << waiting << '\n';
        out.flush();
        if (clock.elapsed() >= parser.value(seconds).toDouble() * 1000)
            app.quit();
    });
    tick.start(1000);
    return app.exec();
}
