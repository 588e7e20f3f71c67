#include "quitcounter.h"

#include <QQmlEngine>

void QuitCounter::watch(QQmlEngine *engine)
{
    connect(engine, &QQmlEngine::quit, this, [this] {
        ++m_count;
        emit countChanged();
    });
}
