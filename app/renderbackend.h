// The Qt Quick renderer for this machine: OpenGL where a context can be made, the software
// renderer otherwise (virtual machines, remote desktops, old drivers, the offscreen platform),
// so that the window comes up instead of the tool aborting.
#pragma once

// Call once the application object exists and before any window is made. An explicit
// QT_QUICK_BACKEND (or the older QMLSCENE_DEVICE) is the user's choice and is left alone. With
// the software renderer, frames come at most about 30 times a second.
void selectRenderBackend();
