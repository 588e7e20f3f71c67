// gimbal-sim: a simulated gimbal on a pseudo-terminal, for running the tool without hardware. It
// can also be pulled out and plugged back in: now and then (--replug-every) or on SIGUSR1.
#include "gimbalsimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {
void printSummary(const GimbalSimulator &sim, int unplugs)
{
    const CommandLog &log = sim.commands();
    QTextStream out(stdout);
    out << "reports sent: " << sim.reportsSent() << '\n'
        << "commands received: " << log.commands() << '\n'
        << "bad frames: " << sim.badFrames() << '\n'
        << "sequence gaps: " << log.sequenceGaps() << '\n'
        << "command interval ms: min " << log.minIntervalMs() << ", median " << log.intervalMs(0.5)
        << ", max " << log.intervalMs(1.0) << '\n'
        << "frames lost while nobody read: " << sim.droppedFrames() << '\n'
        << "unplugged: " << unplugs << " times\n";
}
} // namespace

int main(int argc, char *argv[])
{
    // Signals come through a descriptor that the event loop reads: Ctrl+C and termination end it,
    // so that the summary still prints, and SIGUSR1 pulls the gimbal out.
    sigset_t handled;
    sigemptyset(&handled);
    sigaddset(&handled, SIGINT);
    sigaddset(&handled, SIGTERM);
    sigaddset(&handled, SIGUSR1);
    sigprocmask(SIG_BLOCK, &handled, nullptr);
    const int signalFd = signalfd(-1, &handled, SFD_CLOEXEC);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gimbal-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A simulated gimbal on a pseudo-terminal: open the printed path as the "
                       "serial port. Ctrl+C ends it with a summary of the commands received."));
    parser.addHelpOption();
    const QCommandLineOption rate(QStringLiteral("rate"),
                                  QStringLiteral("GIMBAL_REPORT frames per second (default 50)."),
                                  QStringLiteral("hz"), QStringLiteral("50"));
    const QCommandLineOption version(QStringLiteral("mavlink"),
                                     QStringLiteral("Framing of what is sent: 1 or 2 (default 2)."),
                                     QStringLiteral("version"), QStringLiteral("2"));
    const QCommandLineOption noise(QStringLiteral("noise"),
                                   QStringLiteral("Random bytes sent before each report."),
                                   QStringLiteral("bytes"), QStringLiteral("0"));
    const QCommandLineOption bitErrors(
        QStringLiteral("bit-errors"),
        QStringLiteral("Share of reports sent with one bit flipped, 0 to 1."),
        QStringLiteral("share"), QStringLiteral("0"));
    const QCommandLineOption duration(QStringLiteral("duration"),
                                      QStringLiteral("Stop after this many seconds."),
                                      QStringLiteral("seconds"));
    const QCommandLineOption link(
        QStringLiteral("link"),
        QStringLiteral("Keep a symbolic link at this path to the current terminal (a stable "
                       "port path across unplug and replug)."),
        QStringLiteral("path"));
    const QCommandLineOption replugEvery(
        QStringLiteral("replug-every"),
        QStringLiteral("Pull the gimbal out every this many seconds (SIGUSR1 does it once)."),
        QStringLiteral("seconds"));
    const QCommandLineOption unpluggedFor(
        QStringLiteral("unplugged-for"),
        QStringLiteral("How long it stays out before it is plugged back in (default 1)."),
        QStringLiteral("seconds"), QStringLiteral("1"));
    parser.addOptions({rate, version, noise, bitErrors, duration, link, replugEvery, unpluggedFor});
    parser.process(app);

    SimulatorOptions options;
    options.reportRateHz = parser.value(rate).toDouble();
    options.mavlinkVersion = parser.value(version).toInt();
    options.noiseBytes = parser.value(noise).toInt();
    options.bitErrorRate = parser.value(bitErrors).toDouble();
    options.linkPath = parser.value(link);
    const double replugSeconds = parser.value(replugEvery).toDouble();
    const double outSeconds = parser.value(unpluggedFor).toDouble();
    if (options.reportRateHz <= 0 || (options.mavlinkVersion != 1 && options.mavlinkVersion != 2) ||
        options.noiseBytes < 0 || options.bitErrorRate < 0 || options.bitErrorRate > 1 ||
        (parser.isSet(replugEvery) && replugSeconds <= outSeconds) || outSeconds < 0)
        parser.showHelp(2);

    GimbalSimulator sim(options);
    if (!sim.isOpen()) {
        QTextStream(stderr) << "gimbal-sim: no pseudo-terminal could be opened\n";
        return 1;
    }
    QTextStream out(stdout);
    out << sim.portPath() << '\n';
    out.flush();

    int unplugs = 0;
    const auto pullOut = [&] {
        if (!sim.isPlugged())
            return;
        sim.unplug();
        ++unplugs;
        QTimer::singleShot(static_cast<int>(outSeconds * 1000), &sim, &GimbalSimulator::replug);
    };
    QSocketNotifier signalled(signalFd, QSocketNotifier::Read);
    QObject::connect(&signalled, &QSocketNotifier::activated, &app, [&] {
        signalfd_siginfo info{};
        if (::read(signalFd, &info, sizeof info) != sizeof info)
            return;
        if (info.ssi_signo == SIGUSR1)
            pullOut();
        else
            app.quit();
    });
    QTimer replugTimer;
    QObject::connect(&replugTimer, &QTimer::timeout, &app, pullOut);
    if (parser.isSet(replugEvery))
        replugTimer.start(static_cast<int>(replugSeconds * 1000));
    if (parser.isSet(duration))
        QTimer::singleShot(static_cast<int>(parser.value(duration).toDouble() * 1000), &app,
                           &QCoreApplication::quit);

    const int result = app.exec();
    printSummary(sim, unplugs);
    ::close(signalFd);
    return result;
}
