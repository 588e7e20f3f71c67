#include "renderbackend.h"

#include <QOpenGLContext>
#include <QQuickWindow>
#include <QSGRendererInterface>

#include <cstdio>

void selectRenderBackend()
{
    if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") ||
        qEnvironmentVariableIsSet("QMLSCENE_DEVICE"))
        return;
    QOpenGLContext probe;
    if (probe.create())
        return;
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    std::fputs("gimbal: no OpenGL context can be made here; drawing with Qt Quick's software "
               "renderer\n",
               stderr);
}
