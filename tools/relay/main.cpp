// gimbal-relay: a lossy UDP relay on loopback between the simulated gimbal (gimbal-sim --udp
// sends to --listen) and the tool (listening on --to), for tests and demonstrations of the
// tool's UDP link. Ctrl+C, termination or --duration end it with the counts of each direction.
#include "lossyrelay.h"
#include "signalwatch.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

namespace {
void printCounts(QTextStream &out, const char *direction, const RelayCounts &counts)
{
    out << direction << ": received " << counts.received << ", forwarded " << counts.forwarded
        << ", dropped " << counts.dropped << ", duplicated " << counts.duplicated << ", reordered "
        << counts.reordered << '\n';
}

// A share from the command line, 0 to 1; false for anything else, NaN included.
bool readShare(const QString &text, double *share)
{
    bool ok = false;
    *share = text.toDouble(&ok);
    return ok && *share >= 0.0 && *share <= 1.0;
}
} // namespace

int main(int argc, char *argv[])
{
    const sigset_t handled = SignalWatch::block({SIGINT, SIGTERM});

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gimbal-relay"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A lossy UDP relay on loopback: datagrams that arrive on --listen go to --to, and what "
        "comes back from --to goes to the last sender heard on --listen. Each way it drops, "
        "duplicates and holds back (sends after the next one) the given shares of datagrams. "
        "Ctrl+C, termination or --duration end it with the counts of each direction: forward "
        "(--listen to --to) and back."));
    parser.addHelpOption();
    const QCommandLineOption listen(
        QStringLiteral("listen"),
        QStringLiteral("The port it listens on, for the simulator (gimbal-sim --udp port); 0 for "
                       "any free one, printed on the first line."),
        QStringLiteral("port"));
    const QCommandLineOption to(QStringLiteral("to"),
                                QStringLiteral("The port the tool listens on (14550)."),
                                QStringLiteral("port"));
    const QCommandLineOption drop(QStringLiteral("drop"),
                                  QStringLiteral("Share of datagrams dropped, 0 to 1."),
                                  QStringLiteral("share"), QStringLiteral("0"));
    const QCommandLineOption duplicate(QStringLiteral("duplicate"),
                                       QStringLiteral("Share of datagrams sent twice, 0 to 1."),
                                       QStringLiteral("share"), QStringLiteral("0"));
    const QCommandLineOption reorder(
        QStringLiteral("reorder"),
        QStringLiteral("Share of datagrams held back and sent after the next one (or after "
                       "100 ms when none comes), 0 to 1."),
        QStringLiteral("share"), QStringLiteral("0"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the random choices (default 1)."),
                                  QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption oneWay(
        QStringLiteral("one-way"),
        QStringLiteral("Only forward: the tool's replies pass back untouched."));
    const QCommandLineOption host(
        QStringLiteral("host"),
        QStringLiteral("The loopback address of both sides (default 127.0.0.1; ::1 for IPv6). "
                       "Any other address is refused."),
        QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption duration(QStringLiteral("duration"),
                                      QStringLiteral("Stop after this many seconds."),
                                      QStringLiteral("seconds"));
    parser.addOptions({listen, to, drop, duplicate, reorder, oneWay, seed, host, duration});
    parser.process(app);

    RelayOptions options;
    bool listenValid = false;
    bool toValid = false;
    bool seedValid = false;
    options.listenPort = parser.value(listen).toUShort(&listenValid);
    options.toPort = parser.value(to).toUShort(&toValid);
    options.seed = parser.value(seed).toUInt(&seedValid);
    options.oneWay = parser.isSet(oneWay);
    const double seconds = parser.value(duration).toDouble();
    if (!listenValid || !toValid || options.toPort == 0 || !seedValid ||
        !options.host.setAddress(parser.value(host)) ||
        !readShare(parser.value(drop), &options.faults.drop) ||
        !readShare(parser.value(duplicate), &options.faults.duplicate) ||
        !readShare(parser.value(reorder), &options.faults.reorder) ||
        (parser.isSet(duration) && !(seconds > 0.0 && seconds < 1e6)))
        parser.showHelp(2);

    LossyRelay relay(options);
    if (!relay.start()) {
        QTextStream(stderr) << "gimbal-relay: " << relay.errorString() << '\n';
        return 1;
    }
    QTextStream out(stdout);
    out << "listening on " << options.host.toString() << " port " << relay.listenPort()
        << ", forwarding to port " << options.toPort << '\n';
    out.flush();

    SignalWatch watch(handled);
    QObject::connect(&watch, &SignalWatch::caught, &app, &QCoreApplication::quit);
    if (parser.isSet(duration))
        QTimer::singleShot(static_cast<int>(seconds * 1000), &app, &QCoreApplication::quit);

    const int result = app.exec();
    relay.flush();
    printCounts(out, "forward", relay.forward());
    printCounts(out, "back", relay.back());
    return result;
}
