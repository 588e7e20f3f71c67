// gimbal-sim: a simulated gimbal on a pseudo-terminal, for running the tool without hardware.
#include "gimbalsimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {
void printSummary(const GimbalSimulator &sim)
{
    const CommandLog &log = sim.commands();
    QTextStream out(stdout);
    out << "reports sent: " << sim.reportsSent() << '\n'
        << "commands received: " << log.commands() << '\n'
        << "bad frames: " << sim.badFrames() << '\n'
        << "sequence gaps: " << log.sequenceGaps() << '\n'
        << "command interval ms: min " << log.minIntervalMs() << ", median " << log.intervalMs(0.5)
        << ", max " << log.intervalMs(1.0) << '\n'
        << "frames lost while nobody read: " << sim.droppedFrames() << '\n';
}
} // namespace

int main(int argc, char *argv[])
{
    // Ctrl+C and termination end the event loop through a descriptor, so the summary still prints.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

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
    parser.addOptions({rate, version, noise, bitErrors, duration});
    parser.process(app);

    SimulatorOptions options;
    options.reportRateHz = parser.value(rate).toDouble();
    options.mavlinkVersion = parser.value(version).toInt();
    options.noiseBytes = parser.value(noise).toInt();
    options.bitErrorRate = parser.value(bitErrors).toDouble();
    if (options.reportRateHz <= 0 || (options.mavlinkVersion != 1 && options.mavlinkVersion != 2) ||
        options.noiseBytes < 0 || options.bitErrorRate < 0 || options.bitErrorRate > 1)
        parser.showHelp(2);

    GimbalSimulator sim(options);
    if (!sim.isOpen()) {
        QTextStream(stderr) << "gimbal-sim: no pseudo-terminal could be opened\n";
        return 1;
    }
    QTextStream(stdout) << sim.devicePath() << Qt::endl;

    QSocketNotifier stop(stopFd, QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    if (parser.isSet(duration))
        QTimer::singleShot(static_cast<int>(parser.value(duration).toDouble() * 1000), &app,
                           &QCoreApplication::quit);

    const int result = app.exec();
    printSummary(sim);
    ::close(stopFd);
    return result;
}
