#include "commandline.h"

#include "baudrate.h"
#include "protocolselector.h"

#include <linkaddress.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <utility>

namespace {
int fail(const QString &error)
{
    QTextStream(stderr) << "gimbal: " << error << "\n"
                        << "Try 'gimbal --help' for the options.\n";
    return 2;
}

// Why --port's value names no link, for the terminal.
QString addressProblem(LinkAddress::Error error)
{
    switch (error) {
    case LinkAddress::MissingPort:
        return QStringLiteral("a network address needs a port");
    case LinkAddress::BadPort:
        return QStringLiteral("the port must be a number from 1 to 65535");
    case LinkAddress::MissingHost:
        return QStringLiteral("a host is missing");
    case LinkAddress::BadListenAddress:
        return QStringLiteral("a listening address must be an IP address, such as 127.0.0.1");
    case LinkAddress::NoError:
        break;
    }
    return {};
}

// An id of the tool's own in v2 traffic: 1 to 255 (0 is nobody's).
bool readId(const QString &text, int &id)
{
    bool number = false;
    const int value = text.toInt(&number, 10);
    if (!number || value < 1 || value > 255)
        return false;
    id = value;
    return true;
}
} // namespace

std::optional<int> parseCommandLine(const QStringList &arguments, StartOptions &options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Control panel for a camera gimbal on a serial port or the network "
                       "(MAVLink)."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Open this link at start: a serial port (a listed name such as ttyUSB0 or "
                       "COM3, or a device path), or udp:PORT or udp:ADDR:PORT (listen), "
                       "udp-out:HOST:PORT (send to), tcp:HOST:PORT (connect to)."),
        QStringLiteral("name"));
    const QCommandLineOption baud(QStringLiteral("baud"),
                                  QStringLiteral("Baud rate of the port (default 115200)."),
                                  QStringLiteral("rate"));
    const QCommandLineOption language(QStringLiteral("language"),
                                      QStringLiteral("Interface language: en or zh (default: the "
                                                     "last one chosen, else the system's)."),
                                      QStringLiteral("en|zh"));
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral("Record the link into this file from the start (replacing it): a telemetry "
                       "log when its name ends in .tlog, else CSV."),
        QStringLiteral("file"));
    const QCommandLineOption replay(
        QStringLiteral("replay"),
        QStringLiteral("Play this telemetry log (.tlog) back as the link at start."),
        QStringLiteral("file"));
    const QCommandLineOption protocol(
        QStringLiteral("protocol"),
        QStringLiteral("Gimbal protocol: auto (told by what the device sends), report or v2 "
                       "(default: the last one chosen, else auto)."),
        QStringLiteral("auto|report|v2"));
    const QCommandLineOption systemId(
        QStringLiteral("system-id"),
        QStringLiteral("The tool's own system id in v2 traffic, 1 to 255 (default 255)."),
        QStringLiteral("id"));
    const QCommandLineOption componentId(
        QStringLiteral("component-id"),
        QStringLiteral("The tool's own component id in v2 traffic, 1 to 255 (default 190)."),
        QStringLiteral("id"));
    const QCommandLineOption vehicleSystemId(
        QStringLiteral("vehicle-system-id"),
        QStringLiteral("The tool's own system id towards an autopilot's gimbal manager, 1 to 255 "
                       "(default 245: apart from the main ground station's 255)."),
        QStringLiteral("id"));
    const QCommandLineOption vehicleComponentId(
        QStringLiteral("vehicle-component-id"),
        QStringLiteral("The tool's own component id towards an autopilot's gimbal manager, 1 to "
                       "255 (default 190)."),
        QStringLiteral("id"));
    parser.addOptions({port, baud, language, record, replay, protocol, systemId, componentId,
                       vehicleSystemId, vehicleComponentId});

    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.isSet(version)) {
        QTextStream(stdout) << QCoreApplication::applicationName() << ' '
                            << QCoreApplication::applicationVersion() << '\n';
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    if (parser.isSet(port)) {
        options.port = parser.value(port);
        if (options.port.isEmpty())
            return fail(QStringLiteral("--port needs a port name"));
        LinkAddress::Error error = LinkAddress::NoError;
        if (!LinkAddress::parse(options.port, &error))
            return fail(QStringLiteral("--port '%1': %2").arg(options.port, addressProblem(error)));
    }
    if (parser.isSet(baud)) {
        const std::optional<int> rate = BaudRate::parse(parser.value(baud));
        if (!rate)
            return fail(
                QStringLiteral("--baud '%1' is not a positive number").arg(parser.value(baud)));
        options.baud = QString::number(*rate);
    }
    if (parser.isSet(language)) {
        const QString name = parser.value(language);
        if (name == QLatin1String("en"))
            options.language = 0;
        else if (name == QLatin1String("zh"))
            options.language = 1;
        else
            return fail(QStringLiteral("--language '%1' is neither en nor zh").arg(name));
    }
    if (parser.isSet(record)) {
        options.recordFile = parser.value(record);
        if (options.recordFile.isEmpty())
            return fail(QStringLiteral("--record needs a file name"));
    }
    if (parser.isSet(replay)) {
        options.replayFile = parser.value(replay);
        if (options.replayFile.isEmpty())
            return fail(QStringLiteral("--replay needs a file name"));
        if (parser.isSet(port))
            return fail(QStringLiteral("--port and --replay each open the link: give one"));
    }
    if (parser.isSet(protocol)) {
        options.protocol = parser.value(protocol);
        if (!ProtocolSelector::choiceNamed(options.protocol))
            return fail(QStringLiteral("--protocol '%1' is none of auto, report and v2")
                            .arg(options.protocol));
    }
    const std::pair<const QCommandLineOption *, int *> ids[] = {
        {&systemId, &options.systemId},
        {&componentId, &options.componentId},
        {&vehicleSystemId, &options.vehicleSystemId},
        {&vehicleComponentId, &options.vehicleComponentId}};
    for (const auto &[option, id] : ids) {
        if (parser.isSet(*option) && !readId(parser.value(*option), *id))
            return fail(QStringLiteral("--%1 '%2' is not a number from 1 to 255")
                            .arg(option->names().first(), parser.value(*option)));
    }
    return std::nullopt;
}
