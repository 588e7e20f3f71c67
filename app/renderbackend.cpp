#include "renderbackend.h"

#include <QOpenGLContext>
#include <QQuickWindow>
#include <QSGRendererInterface>

#include <cstdio>

namespace {
// The software renderer draws on the processor: about 30 frames a second is what changing numbers
// and a dragged knob need, rather than a frame for every report. Qt waits this long between a
// window's update request and its frame.
void limitSoftwareFrameRate()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_UPDATE_IDLE_TIME"))
        qputenv("QT_QPA_UPDATE_IDLE_TIME", "33");
}
} // namespace

void selectRenderBackend()
{
    if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") ||
        qEnvironmentVariableIsSet("QMLSCENE_DEVICE")) {
        if (qEnvironmentVariable("QT_QUICK_BACKEND") == QLatin1String("software"))
            limitSoftwareFrameRate();
        return;
    }
    QOpenGLContext probe;
    if (probe.create())
        return;
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    limitSoftwareFrameRate();
    std::fputs("gimbal: no OpenGL context can be made here; drawing with Qt Quick's software "
               "renderer\n",
               stderr);
}
