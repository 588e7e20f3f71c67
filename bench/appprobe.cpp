// gimbal-probe: the tool's real window and wiring, driven like a user at a simulated gimbal, for
// bench/run-app.sh and bench/run-network.sh. It types the given port into the port box, opens it,
// holds the right stick so the angles keep changing, and once a second prints how many reports the
// controller took, how many of them the three angle labels did not show, how many bytes wait unread
// in a serial port (a backlog that grows means the window cannot keep up), the link status's counts
// (bad, lost, reports a second, duplicates), how often the port was opened again after its device
// came back, and the resident memory. At the end it prints how long each reopen took from the
// port's loss. It starts as the tool does, renderer included. With --pad-latency it opens a
// pseudo-terminal of its own instead, plugs in a virtual gamepad and measures, move after move, the
// time from a change of the pad's right stick to the first command that carries it at the
// terminal's far end. --plot shows the plot window and --record records the link, for their costs.
// The port may be a network address (udp:PORT, tcp:HOST:PORT); --baud types a rate into the baud
// box first, for a serial port.
#include "commandlog.h"
#include "commandwatch.h"
#include "identity.h"
#include "linkstatus.h"
#include "mainwindowdriver.h"
#include "pseudoterminal.h"
#include "renderbackend.h"
#include "serial.h"
#include "wiring.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <sys/ioctl.h>

#include <random>

namespace {
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}
// Moves a virtual pad's right stick between the two ends `moves` times, at random moments of the
// 20 ms tick, and prints how long each move took to reach the link.
int padLatency(QObject *window, Ravik &ravik, const InputControl &input, int moves)
{
    PseudoTerminal pty;
    MainWindowDriver driver(window);
    driver.openPort(pty.devicePath());
    if (!ravik.serialIsOpen() || SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
        return 1;
    const int index =
        SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, 0, 0);
    SDL_Joystick *pad = SDL_JoystickOpen(index);
    // The moves count from the moment the tool has picked the pad up.
    QElapsedTimer waited;
    waited.start();
    while (input.padName().isEmpty() && waited.elapsed() < 5000)
        QTest::qWait(20);
    CommandWatch commands(pty);
    std::mt19937 random(3);
    std::vector<double> latencies;
    constexpr float QuarterTurn = 1.5707964f;
    for (int move = 0; move < moves; ++move) {
        QTest::qWait(std::uniform_int_distribution<int>(20, 40)(random));
        const bool right = move % 2 == 0;
        commands.skip();
        QElapsedTimer clock;
        clock.start();
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX, right ? 32767 : -32768);
        if (!commands.waitFor(right ? QuarterTurn : -QuarterTurn, 0, 0))
            return 1;
        latencies.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(index);
    QTextStream(stdout) << "pad move to command at the far end, ms, over " << moves
                        << " moves: min " << quantile(latencies, 0.0) << ", median "
                        << quantile(latencies, 0.5) << ", p99 " << quantile(latencies, 0.99)
                        << ", max " << quantile(latencies, 1.0) << '\n';
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    setApplicationIdentity();
    QGuiApplication app(argc, argv);
    selectRenderBackend();
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("The port to open."),
                                  QStringLiteral("path"));
    const QCommandLineOption seconds(QStringLiteral("seconds"),
                                     QStringLiteral("How long to run after opening."),
                                     QStringLiteral("seconds"), QStringLiteral("10"));
    const QCommandLineOption plot(QStringLiteral("plot"),
                                  QStringLiteral("Show the plot window while running."));
    const QCommandLineOption record(QStringLiteral("record"),
                                    QStringLiteral("Record the link into this file."),
                                    QStringLiteral("file"));
    const QCommandLineOption padMoves(QStringLiteral("pad-latency"),
                                      QStringLiteral("Measure this many moves of a virtual pad."),
                                      QStringLiteral("moves"));
    const QCommandLineOption baud(QStringLiteral("baud"),
                                  QStringLiteral("The baud rate to open the port at."),
                                  QStringLiteral("rate"));
    parser.addOptions({port, seconds, plot, record, padMoves, baud});
    parser.process(app);
    if (!parser.isSet(port) && !parser.isSet(padMoves))
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
    if (parser.isSet(padMoves))
        return padLatency(driver.window(), ravik, wiring.input(), parser.value(padMoves).toInt());
    if (parser.isSet(baud))
        driver.typeBaud(parser.value(baud));
    // A TCP link opens once its connection is made, after the click.
    QSignalSpy openChanged(&ravik, &Ravik::serialIsOpenChanged);
    driver.openPort(parser.value(port));
    if (!ravik.serialIsOpen())
        openChanged.wait(5000);
    if (!ravik.serialIsOpen()) {
        QTextStream(stderr) << "gimbal-probe: cannot open " << parser.value(port) << '\n';
        return 1;
    }
    // The plot first: a click once the stick is held would let go of it.
    if (parser.isSet(plot))
        driver.click(driver.itemById(QStringLiteral("plotButton")));
    driver.holdStick(QStringLiteral("rightJoystick"), QPointF(30, -45));
    if (parser.isSet(record))
        wiring.recorder().startTo(parser.value(record));

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

    int reopens = 0;
    QElapsedTimer sinceLoss;
    std::vector<double> reopenMs;
    QObject::connect(&ravik, &Ravik::serialIsOpenChanged, [&] {
        if (!ravik.serialIsOpen()) {
            sinceLoss.start();
        } else if (sinceLoss.isValid()) {
            ++reopens;
            reopenMs.push_back(static_cast<double>(sinceLoss.elapsed()));
            sinceLoss.invalidate();
        }
    });

    long long framesDrawn = 0;
    QObject::connect(driver.window(), &QQuickWindow::frameSwapped, [&] { ++framesDrawn; });

    QTextStream out(stdout);
    const LinkStatus &status = *ravik.linkStatus();
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        int waiting = 0;
        if (ravik.wrapper()->isOpen())
            ioctl(static_cast<int>(ravik.wrapper()->handle()), FIONREAD, &waiting);
        out << "t=" << clock.elapsed() / 1000.0 << " reports=" << reports << " unshown=" << unshown
            << " backlog=" << waiting << " bad=" << status.badFrames()
            << " lost=" << status.lostFrames() << " rate=" << status.reportsPerSecond()
            << " reopens=" << reopens << " rss=" << residentKb() << " frames=" << framesDrawn
            << " duplicates=" << status.duplicateFrames() << '\n';
        out.flush();
        if (clock.elapsed() >= parser.value(seconds).toDouble() * 1000)
            app.quit();
    });
    tick.start(1000);
    const int result = app.exec();
    if (!reopenMs.empty())
        out << "reopen after loss ms: min " << quantile(reopenMs, 0.0) << ", median "
            << quantile(reopenMs, 0.5) << ", max " << quantile(reopenMs, 1.0) << '\n';
    return result;
}
