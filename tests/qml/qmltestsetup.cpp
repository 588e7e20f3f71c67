#include "qmltestsetup.h"

#include <QQmlContext>
#include <QQmlEngine>

void QmlTestSetup::qmlEngineAvailable(QQmlEngine *engine)
{
    m_quitCounter.watch(engine);
    engine->rootContext()->setContextProperty(QStringLiteral("quitCounter"), &m_quitCounter);
    engine->rootContext()->setContextProperty(QStringLiteral("messageLog"), &m_messageLog);
    engine->rootContext()->setContextProperty(QStringLiteral("englishCatalogue"),
                                              &m_englishCatalogue);
}
