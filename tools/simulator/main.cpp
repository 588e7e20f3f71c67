// gimbal-sim: a simulated gimbal on a pseudo-terminal, or on UDP or TCP on this machine, for
// running the tool without hardware, speaking the report protocol or, with --protocol v2, the
// gimbal protocol v2. It can also be pulled out and plugged back in: now and then (--replug-every)
// or on SIGUSR1. SIGUSR2 raises or lowers a v2 device's failure flag. With --autopilot it is a
// vehicle whose gimbal manager drives its v2 gimbals. A v2 device holds a gimbal's parameters, the
// vehicle's autopilot those around its mount; --baud paces the line as a real cable's rate would.
#include "gimbalsimulator.h"
#include "signalwatch.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QTextStream>

namespace {
// The failure flags --fail names.
const QHash<QString, std::uint32_t> failures{
    {QStringLiteral("encoder"), GIMBAL_DEVICE_ERROR_FLAGS_ENCODER_ERROR},
    {QStringLiteral("power"), GIMBAL_DEVICE_ERROR_FLAGS_POWER_ERROR},
    {QStringLiteral("motor"), GIMBAL_DEVICE_ERROR_FLAGS_MOTOR_ERROR},
    {QStringLiteral("software"), GIMBAL_DEVICE_ERROR_FLAGS_SOFTWARE_ERROR},
    {QStringLiteral("comms"), GIMBAL_DEVICE_ERROR_FLAGS_COMMS_ERROR},
    {QStringLiteral("calibration"), GIMBAL_DEVICE_ERROR_FLAGS_CALIBRATION_RUNNING},
};

const QHash<QString, SimulatedAutopilot> autopilots{
    {QStringLiteral("ardupilot"), SimulatedAutopilot::ArduPilot},
    {QStringLiteral("px4"), SimulatedAutopilot::Px4},
};

void printManagerSummary(const GimbalManager &manager, QTextStream &out)
{
    const GimbalManagerTally tally = manager.tally();
    out << "manager information requests received: " << tally.informationRequests << '\n'
        << "configure commands received: " << tally.configureCommands << " (refused "
        << tally.configureRefused << ")\n"
        << "set points honoured: " << tally.setPointsHonoured << '\n'
        << "set points ignored: " << tally.setPointsIgnored << '\n'
        << "rate streams timed out: " << tally.rateTimeouts << '\n'
        << "device messages received from the ground: " << tally.deviceMessagesFromGround << '\n'
        << "manager statuses sent: " << tally.statusesSent << '\n';
}

// What the parameter server of `component` answered, under `whose` name.
void printParamSummary(const GimbalSimulator &sim, std::uint8_t component, const char *whose,
                       QTextStream &out)
{
    const SimParamServer *params = sim.params(component);
    if (!params)
        return;
    const SimParamServer::Tally &p = params->tally();
    out << whose << "parameter replies sent: " << p.repliesSent << ", lost: " << p.repliesLost
        << '\n'
        << whose << "parameter writes taken: " << p.writesTaken << ", refused: " << p.writesRefused
        << '\n';
}

void printSummary(const GimbalSimulator &sim, bool v2, int unplugs)
{
    const CommandLog &log = sim.commands();
    QTextStream out(stdout);
    if (v2) {
        const V2DeviceTally tally = sim.v2Tally();
        out << "statuses sent: " << tally.statusesSent << '\n'
            << "heartbeats received: " << sim.heartbeatsReceived() << '\n'
            << "rate demands received: " << tally.rateDemands << '\n'
            << "attitude demands received: " << tally.attitudeDemands << '\n'
            << "information requests received: " << tally.informationRequests << '\n';
        if (sim.manager())
            printManagerSummary(*sim.manager(), out);
        printParamSummary(sim, MAV_COMP_ID_GIMBAL, "", out);
        printParamSummary(sim, MAV_COMP_ID_AUTOPILOT1, "autopilot ", out);
    } else {
        out << "reports sent: " << sim.reportsSent() << '\n';
    }
    out << "commands received: " << log.commands() << '\n'
        << "bad frames: " << sim.badFrames() << '\n'
        << "sequence gaps: " << log.sequenceGaps() << '\n'
        << "command rate: " << QString::number(log.rate(), 'f', 2) << " Hz\n"
        << "command interval ms: min " << log.minIntervalMs() << ", median " << log.intervalMs(0.5)
        << ", p99 " << log.intervalMs(0.99) << ", max " << log.intervalMs(1.0) << '\n'
        << "frames lost while nobody read: " << sim.droppedFrames() << '\n'
        << "unplugged: " << unplugs << " times\n";
}
} // namespace

int main(int argc, char *argv[])
{
    // Ctrl+C and termination end it, so that the summary still prints, and SIGUSR1 pulls the
    // gimbal out.
    const sigset_t handled = SignalWatch::block({SIGINT, SIGTERM, SIGUSR1, SIGUSR2});

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gimbal-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A simulated gimbal on a pseudo-terminal, on UDP or behind a TCP server on this "
        "machine: give the tool the path or address printed on the first line as its port. "
        "Ctrl+C ends it with a summary of the commands received.\n\n"
        "Pulled out (SIGUSR1, --replug-every), a terminal goes away and a new one comes; a "
        "TCP server closes the connection and refuses new ones until it is back, so the tool "
        "must connect again; on UDP the gimbal closes its socket: it sends nothing, and what "
        "the tool sends finds no port, until it is back on the same port of its own.\n\n"
        "With --autopilot it is a vehicle: an autopilot (system 1, component 1, a quadrotor) "
        "whose gimbal manager alone commands its v2 gimbals. It answers a request for "
        "GIMBAL_MANAGER_INFORMATION with one per gimbal, reports GIMBAL_MANAGER_STATUS five "
        "times a second per gimbal, gives control as MAV_CMD_DO_GIMBAL_MANAGER_CONFIGURE asks, "
        "follows the set points of the primary controller only and stops a rate stream after "
        "1 s of silence. A gimbal never acts on GIMBAL_DEVICE_SET_ATTITUDE from the ground. "
        "px4: each gimbal is a component of its own (1/154, 1/171) whose heartbeat and attitude "
        "status reach the link as it sends them, with gimbal_device_id 0, and the manager "
        "names it by its component id. ardupilot: the gimbals are no components on the link; "
        "the autopilot sends their attitude statuses from its own id 1/1 with gimbal_device_id "
        "1 or 2, the number the manager names each gimbal by. The autopilot holds 42 parameters "
        "around its mount (MNT1_... C-cast for ardupilot, MNT_... byte-wise for px4) and "
        "announces the encoding in AUTOPILOT_VERSION."));
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
        QStringLiteral("Pull the gimbal out every this many seconds (SIGUSR1 does it once; see "
                       "above for what that means on UDP and TCP)."),
        QStringLiteral("seconds"));
    const QCommandLineOption unpluggedFor(
        QStringLiteral("unplugged-for"),
        QStringLiteral("How long it stays out before it is plugged back in (default 1)."),
        QStringLiteral("seconds"), QStringLiteral("1"));
    const QCommandLineOption protocol(
        QStringLiteral("protocol"),
        QStringLiteral("report (GIMBAL_REPORT, the default) or v2 (a gimbal protocol v2 device)."),
        QStringLiteral("protocol"), QStringLiteral("report"));
    const QCommandLineOption statusRate(
        QStringLiteral("status-rate"),
        QStringLiteral("v2: GIMBAL_DEVICE_ATTITUDE_STATUS frames per second (default 10)."),
        QStringLiteral("hz"), QStringLiteral("10"));
    const QCommandLineOption fail(
        QStringLiteral("fail"),
        QStringLiteral("v2: raise this failure flag from the start, and let SIGUSR2 lower and "
                       "raise it (encoder, power, motor, software, comms, calibration; SIGUSR2 "
                       "alone: motor)."),
        QStringLiteral("failure"));
    const QCommandLineOption truncate(
        QStringLiteral("truncate-extensions"),
        QStringLiteral("v2: send statuses without their extension fields."));
    const QCommandLineOption earthFrame(
        QStringLiteral("earth-frame"),
        QStringLiteral("v2: report the attitude in the earth frame, with the vehicle's heading "
                       "in delta_yaw."));
    const QCommandLineOption secondGimbal(
        QStringLiteral("second-gimbal"),
        QStringLiteral("v2: a second, two-axis gimbal on component 171."));
    const QCommandLineOption noInfo(QStringLiteral("no-info"),
                                    QStringLiteral("v2: never answer a request for the device's "
                                                   "information."));
    const QCommandLineOption autopilot(
        QStringLiteral("autopilot"),
        QStringLiteral("A vehicle whose autopilot, ardupilot or px4, manages the v2 gimbals (see "
                       "above)."),
        QStringLiteral("firmware"));
    const QCommandLineOption keepControl(
        QStringLiteral("keep-control"),
        QStringLiteral("With --autopilot: the autopilot holds control of its gimbals, as a "
                       "mission does, and answers a takeover with TEMPORARILY_REJECTED."));
    const QCommandLineOption otherGcs(
        QStringLiteral("other-gcs"),
        QStringLiteral("With --autopilot: another ground station (255/190) takes control of every "
                       "gimbal this many seconds after the start."),
        QStringLiteral("seconds"));
    const QCommandLineOption udp(
        QStringLiteral("udp"),
        QStringLiteral("Send to the tool listening on UDP at 127.0.0.1:port, as a vehicle sends to "
                       "a ground station on 14550, from a port of the gimbal's own that the tool "
                       "learns and answers to. Prints udp:127.0.0.1:port."),
        QStringLiteral("port"));
    const QCommandLineOption udpHost(
        QStringLiteral("udp-host"),
        QStringLiteral("With --udp: the tool's loopback address instead of 127.0.0.1 (::1 for "
                       "IPv6)."),
        QStringLiteral("address"));
    const QCommandLineOption tcpListen(
        QStringLiteral("tcp-listen"),
        QStringLiteral("Listen on TCP at 127.0.0.1:port (0 for any free port) and serve one "
                       "client at a time; one that connects meanwhile waits its turn. Prints "
                       "tcp:127.0.0.1:port."),
        QStringLiteral("port"));
    const QCommandLineOption baud(
        QStringLiteral("baud"),
        QStringLiteral("Pace everything sent to this baud rate, baud / 10 bytes a second, as a "
                       "serial cable or radio would (default: no pace)."),
        QStringLiteral("rate"));
    const QCommandLineOption paramLoss(
        QStringLiteral("param-loss"),
        QStringLiteral("v2: lose this share of the parameter replies on the way, the gimbal's and "
                       "the autopilot's, in per cent (they still take their time on the line)."),
        QStringLiteral("percent"), QStringLiteral("0"));
    const QCommandLineOption paramCount(
        QStringLiteral("param-count"),
        QStringLiteral("v2: the gimbal holds this many parameters (default: its own 88)."),
        QStringLiteral("count"));
    parser.addOptions({rate,        version,      noise,     bitErrors,  duration, link,
                       replugEvery, unpluggedFor, protocol,  statusRate, fail,     truncate,
                       earthFrame,  secondGimbal, noInfo,    udp,        udpHost,  tcpListen,
                       baud,        paramLoss,    paramCount});
    parser.addOptions({autopilot, keepControl, otherGcs});
    parser.process(app);

    SimulatorOptions options;
    options.reportRateHz = parser.value(rate).toDouble();
    options.mavlinkVersion = parser.value(version).toInt();
    options.noiseBytes = parser.value(noise).toInt();
    options.bitErrorRate = parser.value(bitErrors).toDouble();
    options.linkPath = parser.value(link);
    // A vehicle's gimbals speak v2.
    const bool vehicle = parser.isSet(autopilot);
    const bool v2 =
        parser.value(protocol) == QLatin1String("v2") || (vehicle && !parser.isSet(protocol));
    options.protocol = v2 ? SimulatedProtocol::V2 : SimulatedProtocol::Report;
    options.statusRateHz = parser.value(statusRate).toDouble();
    options.truncateExtensions = parser.isSet(truncate);
    options.earthFrame = parser.isSet(earthFrame);
    options.secondGimbal = parser.isSet(secondGimbal);
    options.answerInformation = !parser.isSet(noInfo);
    bool numbersValid = true;
    if (parser.isSet(baud))
        options.baud = parser.value(baud).toInt(&numbersValid);
    bool lossValid = true;
    options.paramLoss = parser.value(paramLoss).toDouble(&lossValid) / 100.0;
    numbersValid = numbersValid && lossValid;
    if (parser.isSet(paramCount)) {
        bool countValid = true;
        options.paramCount = parser.value(paramCount).toInt(&countValid);
        numbersValid =
            numbersValid && countValid && options.paramCount > 0 && options.paramCount < 65535;
    }
    if (parser.isSet(fail)) {
        options.failureToggle = failures.value(parser.value(fail));
        options.failureFlags = options.failureToggle;
    }
    options.vehicle.autopilot = autopilots.value(parser.value(autopilot));
    options.vehicle.keepControl = parser.isSet(keepControl);
    const double otherGcsSeconds = parser.value(otherGcs).toDouble();
    bool lineValid = true;
    if (parser.isSet(udp)) {
        options.link = SimulatedLink::Udp;
        options.port = parser.value(udp).toUShort(&lineValid);
        lineValid = lineValid && options.port != 0;
        if (parser.isSet(udpHost))
            lineValid = lineValid && options.host.setAddress(parser.value(udpHost));
    } else if (parser.isSet(tcpListen)) {
        options.link = SimulatedLink::TcpServer;
        options.port = parser.value(tcpListen).toUShort(&lineValid);
    }
    const double replugSeconds = parser.value(replugEvery).toDouble();
    const double outSeconds = parser.value(unpluggedFor).toDouble();
    if (!lineValid || !numbersValid || options.baud < 0 || !(options.paramLoss >= 0) ||
        options.paramLoss > 1 || (parser.isSet(udp) && parser.isSet(tcpListen)) ||
        (parser.isSet(udpHost) && !parser.isSet(udp)) ||
        (options.link != SimulatedLink::Terminal && parser.isSet(link)) ||
        options.reportRateHz <= 0 || (options.mavlinkVersion != 1 && options.mavlinkVersion != 2) ||
        options.noiseBytes < 0 || options.bitErrorRate < 0 || options.bitErrorRate > 1 ||
        (parser.isSet(replugEvery) && replugSeconds <= outSeconds) || outSeconds < 0 ||
        (!v2 && parser.value(protocol) != QLatin1String("report")) ||
        // Ids above 255 have no MAVLink 1 frame.
        (v2 && options.mavlinkVersion != 2) || !(options.statusRateHz > 0) ||
        (parser.isSet(fail) && options.failureToggle == 0) ||
        (vehicle && (!v2 || options.vehicle.autopilot == SimulatedAutopilot::None)) ||
        ((parser.isSet(keepControl) || parser.isSet(otherGcs)) && !vehicle) ||
        !(otherGcsSeconds >= 0 && otherGcsSeconds < 1e6))
        parser.showHelp(2);
    if (parser.isSet(otherGcs))
        options.vehicle.otherGcsAfterMs = static_cast<int>(otherGcsSeconds * 1000);

    GimbalSimulator sim(options);
    if (!sim.isOpen()) {
        QTextStream(stderr) << "gimbal-sim: " << sim.lineError() << '\n';
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
    SignalWatch watch(handled);
    QObject::connect(&watch, &SignalWatch::caught, &app, [&](int signal) {
        if (signal == SIGUSR1)
            pullOut();
        else if (signal == SIGUSR2)
            sim.toggleFailure();
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
    printSummary(sim, v2, unplugs);
    return result;
}
