#include "quitcounter.h"

#include <QQmlContext>
#include <QQmlEngine>

void QuitCounter::qmlEngineAvailable(QQmlEngine *engine)
{
    engine->rootContext()->setContextProperty(QStringLiteral("quitCounter"), this);
    connect(engine, &QQmlEngine::quit, this, [this] {
        ++m_count;
        emit countChanged();
    });
}
