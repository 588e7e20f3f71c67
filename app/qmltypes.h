// The C++ types that the QML files import: the plot's item (Gimbal.Plot) and the link status,
// whose state the status view compares with LinkStatus.Talking and the like (Gimbal.Link), and
// the steering gate with the input it feeds (Gimbal.Input).
// Registered before the main window is loaded.
#pragma once

void registerQmlTypes();
