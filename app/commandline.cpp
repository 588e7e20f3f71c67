#include "commandline.h"

#include "baudrate.h"
#include "protocolselector.h"

#include <linkaddress.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QTextStream>

#include <utility>

namespace {
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

// What a command line asks for.
struct Reading
{
    enum Kind { Start, Help, Version, Error } kind = Start;
    QString error;
    // The error is an unknown option.
    bool unknownOption = false;
};

// Reads `arguments` into `options`; the help text goes into `helpText` when given (making it
// needs the application object).
Reading readCommandLine(const QStringList &arguments, StartOptions &options, QString *helpText)
{
    const auto fail = [](const QString &error) { return Reading{Reading::Error, error, false}; };
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
    const QCommandLineOption paramsSave(
        QStringLiteral("params-save"),
        QStringLiteral("Without the window: read every parameter of the component at --port and "
                       "save them to this file, tab-separated. Exits 0 when all were read and "
                       "saved, 1 otherwise."),
        QStringLiteral("file"));
    const QCommandLineOption paramsLoad(
        QStringLiteral("params-load"),
        QStringLiteral("Without the window: read this parameter file (tab-separated, or "
                       "name,value lines) and print how it differs from the component at --port; "
                       "writes nothing, and exits 0 only when nothing differs. With --yes, writes "
                       "the differing values and exits 0 only when the component confirmed every "
                       "one and the file held nothing it lacks or cannot take."),
        QStringLiteral("file"));
    const QCommandLineOption yes(QStringLiteral("yes"),
                                 QStringLiteral("With --params-load: write the differences."));
    const QCommandLineOption paramsComponent(
        QStringLiteral("params-component"),
        QStringLiteral("The component the parameter commands work on, such as 1/154 (default: "
                       "the first on the link that answers)."),
        QStringLiteral("system/component"));
    parser.addOptions({port, baud, language, record, replay, protocol, systemId, componentId,
                       vehicleSystemId, vehicleComponentId, paramsSave, paramsLoad, yes,
                       paramsComponent});

    if (!parser.parse(arguments))
        return {Reading::Error, parser.errorText(), !parser.unknownOptionNames().isEmpty()};
    if (parser.isSet(help)) {
        if (helpText)
            *helpText = parser.helpText();
        return {Reading::Help, {}};
    }
    if (parser.isSet(version))
        return {Reading::Version, {}};
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
    options.paramsSave = parser.value(paramsSave);
    options.paramsLoad = parser.value(paramsLoad);
    options.paramsYes = parser.isSet(yes);
    if ((parser.isSet(paramsSave) && options.paramsSave.isEmpty()) ||
        (parser.isSet(paramsLoad) && options.paramsLoad.isEmpty()))
        return fail(QStringLiteral("--params-save and --params-load need a file name"));
    if (parser.isSet(paramsSave) && parser.isSet(paramsLoad))
        return fail(QStringLiteral("--params-save and --params-load cannot go together"));
    if (options.paramsCommand() && options.port.isEmpty())
        return fail(QStringLiteral("the parameter commands need --port"));
    if (options.paramsCommand() && !options.recordFile.isEmpty())
        return fail(QStringLiteral("--record needs the window, not a parameter command"));
    if (options.paramsYes && options.paramsLoad.isEmpty())
        return fail(QStringLiteral("--yes goes with --params-load"));
    if (parser.isSet(paramsComponent)) {
        const QString ids = parser.value(paramsComponent);
        static const QRegularExpression pair(QStringLiteral("^([0-9]+)/([0-9]+)$"));
        const QRegularExpressionMatch match = pair.match(ids);
        if (!options.paramsCommand())
            return fail(QStringLiteral("--params-component goes with a parameter command"));
        if (!match.hasMatch() || !readId(match.captured(1), options.paramsSystem) ||
            !readId(match.captured(2), options.paramsComponent))
            return fail(QStringLiteral("--params-component '%1' is not SYSTEM/COMPONENT, each "
                                       "from 1 to 255")
                            .arg(ids));
    }
    return {};
}
} // namespace

std::optional<int> parseCommandLine(const QStringList &arguments, StartOptions &options)
{
    QString helpText;
    const Reading reading = readCommandLine(arguments, options, &helpText);
    switch (reading.kind) {
    case Reading::Help:
        QTextStream(stdout) << helpText;
        return 0;
    case Reading::Version:
        QTextStream(stdout) << QCoreApplication::applicationName() << ' '
                            << QCoreApplication::applicationVersion() << '\n';
        return 0;
    case Reading::Error:
        QTextStream(stderr) << "gimbal: " << reading.error << "\n"
                            << "Try 'gimbal --help' for the options.\n";
        return 2;
    case Reading::Start:
        break;
    }
    return std::nullopt;
}

bool runsWithoutWindow(const QStringList &arguments)
{
    StartOptions options;
    const Reading reading = readCommandLine(arguments, options, nullptr);
    if (reading.kind == Reading::Error)
        return !reading.unknownOption;
    return reading.kind != Reading::Start || options.paramsCommand();
}
