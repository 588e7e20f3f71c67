// Start-up and wiring: the application's identity, the start-up translator, the controller
// published to QML, and the main window loaded from `mainFile`.
#pragma once

#include <QString>

// Runs the tool until its event loop ends and returns the exit code: the loop's result, or -1
// when `mainFile` yields no window.
int runGimbal(int &argc, char **argv, const QString &mainFile);
