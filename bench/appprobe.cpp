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
#include "framewriter.h"
#include "identity.h"
#include "linkstatus.h"
#include "mainwindowdriver.h"
#include "pseudoterminal.h"
#include "renderbackend.h"
#include "replaylink.h"
#include "serial.h"
#include "tlogentry.h"
#include "wiring.h"

#include <messages.h>

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

#include <cmath>
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

// The first time of the logs that makeLog() writes: 2026-03-01T12:00:00Z.
constexpr std::uint64_t LogStartUs = 1772366400ULL * 1000000;

// A report gimbal's link as the tool records it, `seconds` long: a report every millisecond,
// numbered in two of its fields (delta_velocity_x * 65536 + delta_velocity_y) so that a replay
// can tell each one's time, the tool's command every 20 ms and the gimbal's heartbeat every
// second.
int makeLog(const QString &path, long long seconds)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    FrameWriter gimbal(2, 1, 154);
    FrameWriter tool(2, 0, 0);
    QByteArray chunk;
    for (long long ms = 0; ms < seconds * 1000; ++ms) {
        const std::uint64_t time = LogStartUs + static_cast<std::uint64_t>(ms) * 1000;
        const auto angle = static_cast<float>(std::sin(static_cast<double>(ms) / 3000.0));
        mavlink_gimbal_report_t report{};
        report.delta_time = 0.001f;
        report.delta_velocity_x = static_cast<float>(ms / 65536);
        report.delta_velocity_y = static_cast<float>(ms % 65536);
        report.joint_roll = angle;
        report.joint_el = -angle;
        report.joint_az = 0.5f * angle;
        chunk += tlog::entry(time, gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report));
        if (ms % 20 == 0) {
            const mavlink_gimbal_control_t command{0.3f * angle, 0.0f, 0.0f, 1, 1};
            chunk += tlog::entry(time + 500, tool.frame(MAVLINK_MSG_ID_GIMBAL_CONTROL, command));
        }
        if (ms % 1000 == 0) {
            mavlink_heartbeat_t heartbeat{};
            heartbeat.system_status = 4;
            heartbeat.mavlink_version = 3;
            chunk += tlog::entry(time + 700, gimbal.frame(MAVLINK_MSG_ID_HEARTBEAT, heartbeat));
        }
        if (chunk.size() >= 1024 * 1024 && file.write(chunk) == chunk.size())
            chunk.clear();
    }
    return file.write(chunk) == chunk.size() ? 0 : 1;
}

// Plays a log that makeLog() wrote, at `path`, in the window at `speed` for `seconds`, first
// seeking to `seeks` places as soon as it is open (while the index is still being built) and again
// once the replay has run. Once a second it prints the wall time since the replay started, the time
// the window shows, the log time of the last report handed on, the lag of the reports behind the
// replay's time, and resident memory; at the end the rates against the wall clock and the seek
// times.
int replayLog(Ravik &ravik, const QString &path, int speed, double seconds, int seeks)
{
    QTextStream out(stdout);
    const long idleKb = residentKb();
    ReplayLink &replay = *ravik.replay();
    replay.setSpeed(speed);
    QElapsedTimer opening;
    opening.start();
    ravik.openReplay(path);
    if (!ravik.replaying())
        return 1;
    out << "opened in " << static_cast<double>(opening.nsecsElapsed()) / 1e6 << " ms, "
        << QFileInfo(path).size() / (1024 * 1024) << " MB\n";
    const std::uint64_t firstUs = LogStartUs;
    std::mt19937 random(7);
    const auto seekAround = [&](const char *when) {
        std::vector<double> times;
        for (int i = 0; i < seeks; ++i) {
            QElapsedTimer seeking;
            seeking.start();
            replay.seek(std::uniform_real_distribution<double>(0.0, 1.0)(random));
            times.push_back(static_cast<double>(seeking.nsecsElapsed()) / 1e6);
        }
        if (seeks > 0)
            out << seeks << " seeks " << when << ", ms: median " << quantile(times, 0.5) << ", max "
                << quantile(times, 1.0) << '\n';
        replay.seek(0.0);
    };
    seekAround("at once");

    std::uint64_t deliveredUs = firstUs;
    double lagSumMs = 0.0;
    double lagMaxMs = 0.0;
    long long reports = 0;
    QObject::connect(
        &ravik.session(), &MavlinkSession::frameReceived, [&](const mavlink_message_t &msg) {
            if (msg.msgid != MAVLINK_MSG_ID_GIMBAL_REPORT)
                return;
            const mavlink_gimbal_report_t report = mavlink_msg_gimbal_report_decode(&msg);
            const auto ms = static_cast<std::uint64_t>(report.delta_velocity_x) * 65536 +
                            static_cast<std::uint64_t>(report.delta_velocity_y);
            deliveredUs = firstUs + ms * 1000;
            const double lagMs = static_cast<double>(static_cast<qint64>(replay.positionUs()) -
                                                     static_cast<qint64>(deliveredUs)) /
                                 1000.0;
            lagSumMs += lagMs;
            lagMaxMs = std::max(lagMaxMs, lagMs);
            ++reports;
        });
    long maxKb = 0;
    QElapsedTimer wall;
    wall.start();
    std::uint64_t shownAtStart = replay.positionUs();
    std::uint64_t deliveredAtStart = deliveredUs;
    double startS = 0.0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double t = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        maxKb = std::max(maxKb, residentKb());
        out << "t=" << t << " shown=" << static_cast<double>(replay.positionUs() - firstUs) / 1e6
            << " delivered=" << static_cast<double>(deliveredUs - firstUs) / 1e6
            << " reports=" << reports << " rss=" << residentKb() << '\n';
        out.flush();
        // The first second is the start's: measured from the end of it.
        if (startS == 0.0) {
            startS = t;
            shownAtStart = replay.positionUs();
            deliveredAtStart = deliveredUs;
        } else if (t >= seconds || !replay.playing()) {
            tick.stop();
            QCoreApplication::quit();
        }
    });
    tick.start(1000);
    QCoreApplication::exec();
    const double wallS = static_cast<double>(wall.nsecsElapsed()) / 1e9 - startS;
    const auto factor = [&](std::uint64_t from, std::uint64_t to) {
        return static_cast<double>(to - from) / 1e6 / wallS / speed;
    };
    out << "over " << wallS << " s: shown time at " << factor(shownAtStart, replay.positionUs())
        << " of " << speed << "x, reports handed on at " << factor(deliveredAtStart, deliveredUs)
        << " of " << speed << "x; reports behind the replay's time: mean "
        << lagSumMs / static_cast<double>(std::max(reports, 1LL)) << " ms, max " << lagMaxMs
        << " ms\n";
    out << "resident: idle " << idleKb / 1024.0 << " MB, at most " << maxKb / 1024.0
        << " MB while replaying (" << (maxKb - idleKb) / 1024.0 << " MB more)\n";
    replay.pause();
    seekAround("after the run");
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
    const QCommandLineOption makeLogFile(
        QStringLiteral("make-log"),
        QStringLiteral("Write a telemetry log of --seconds at 1,000 reports/s and exit."),
        QStringLiteral("file"));
    const QCommandLineOption replayFile(QStringLiteral("replay"),
                                        QStringLiteral("Play this telemetry log back instead."),
                                        QStringLiteral("file"));
    const QCommandLineOption speed(QStringLiteral("speed"),
                                   QStringLiteral("The replay's speed: 1, 2, 4, 16, 0 fastest."),
                                   QStringLiteral("factor"), QStringLiteral("16"));
    const QCommandLineOption seeks(QStringLiteral("seeks"),
                                   QStringLiteral("Seek to this many places in the replayed log."),
                                   QStringLiteral("count"), QStringLiteral("0"));
    parser.addOptions(
        {port, seconds, plot, record, padMoves, baud, makeLogFile, replayFile, speed, seeks});
    parser.process(app);
    if (parser.isSet(makeLogFile))
        return makeLog(parser.value(makeLogFile), parser.value(seconds).toLongLong());
    if (!parser.isSet(port) && !parser.isSet(padMoves) && !parser.isSet(replayFile))
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
    if (parser.isSet(replayFile)) {
        if (parser.isSet(plot))
            driver.click(driver.itemById(QStringLiteral("plotButton")));
        return replayLog(ravik, parser.value(replayFile), parser.value(speed).toInt(),
                         parser.value(seconds).toDouble(), parser.value(seeks).toInt());
    }
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
