// Start-up: the application's identity, the command line, the remembered settings, the renderer,
// the objects behind the window, and the main window loaded from `mainFile`; or, for --help,
// --version, a bad value and the parameter commands, a run without the window or a display.
#pragma once

#include <QString>

// Runs the tool until its event loop ends and returns the exit code: the loop's result, -1 when
// `mainFile` yields no window, 0 after --help or --version, 2 for a bad command-line value, and
// a parameter command's own.
int runGimbal(int &argc, char **argv, const QString &mainFile);
