// Start-up: the application's identity, the command line, the remembered settings, the renderer,
// the objects behind the window, and the main window loaded from `mainFile`.
#pragma once

#include <QString>

// Runs the tool until its event loop ends and returns the exit code: the loop's result, -1 when
// `mainFile` yields no window, 0 after --help or --version and 2 for a bad command-line value.
int runGimbal(int &argc, char **argv, const QString &mainFile);
