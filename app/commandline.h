// The tool's command line: --port, --baud, --language, --record, --replay, --protocol,
// --system-id, --component-id, --vehicle-system-id, --vehicle-component-id, --help and
// --version.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct StartOptions
{
    // Opened at start when not empty.
    QString port;
    // A positive number as text, or empty when not given.
    QString baud;
    // 0 English, 1 Simplified Chinese, -1 when not given.
    int language = -1;
    // A recording started at once into this file, when not empty.
    QString recordFile;
    // A telemetry log played back as the link at start, when not empty.
    QString replayFile;
    // "auto", "report" or "v2" for this run, or empty when not given.
    QString protocol;
    // The tool's own system and component id in v2 traffic (1 to 255), or 0 when not given.
    int systemId = 0;
    int componentId = 0;
    // The same on a vehicle link, where the tool speaks to an autopilot's gimbal manager.
    int vehicleSystemId = 0;
    int vehicleComponentId = 0;
};

// Reads `arguments` (the program name first; the application object has taken Qt's own options
// out). Returns the exit code when the tool is to stop here: 0 after --help or --version, which
// print to standard output, and 2 after a bad value, whose error goes to standard error.
// Returns nothing when the tool is to start with `options`.
std::optional<int> parseCommandLine(const QStringList &arguments, StartOptions &options);
