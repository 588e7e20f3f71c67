// The tool's command line: --port, --baud, --language, --record, --replay, --protocol,
// --system-id, --component-id, --vehicle-system-id, --vehicle-component-id, the parameter
// commands (--params-save, --params-load, --yes, --params-component), --help and --version.
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
    // A parameter command, run without the window: the file to save the parameters to, or the
    // file to load and compare (and with `paramsYes`, write).
    QString paramsSave;
    QString paramsLoad;
    bool paramsYes = false;
    // The component whose parameters the command works on, or 0/0 for the first that answers.
    int paramsSystem = 0;
    int paramsComponent = 0;

    bool paramsCommand() const { return !paramsSave.isEmpty() || !paramsLoad.isEmpty(); }
};

// Reads `arguments` (the program name first; the application object has taken Qt's own options
// out). Returns the exit code when the tool is to stop here: 0 after --help or --version, which
// print to standard output, and 2 after a bad value, whose error goes to standard error.
// Returns nothing when the tool is to start with `options`.
std::optional<int> parseCommandLine(const QStringList &arguments, StartOptions &options);

// Whether the command line runs without a window, so that no display is needed: --help,
// --version, a parameter command, and a bad value, whose error needs none either. Read before any
// application object exists. An unknown option may be one of Qt's own (-platform, -style), which
// the window's application takes out of the line before reading it again; it needs the window.
bool runsWithoutWindow(const QStringList &arguments);
