#include "wiring.h"

#include "serial.h"
#include "serialevent.h"
#include "startupcatalogue.h"

#include <QGuiApplication>
#include <QQmlContext>

Wiring::Wiring(QGuiApplication &app)
    : m_qmlLanguage(&app, &m_engine, &installStartupCatalogue(m_translator))
{
    QQmlContext *context = m_engine.rootContext();
    context->setContextProperty(QStringLiteral("qmlLanguage"), &m_qmlLanguage);
    m_ravik.emplace();
    app.installNativeEventFilter(m_ravik->watcher());
    context->setContextProperty(QStringLiteral("Ravik"), &*m_ravik);
    context->setContextProperty(QStringLiteral("mySerial"), m_ravik->wrapper());
}

Wiring::~Wiring()
{
    qDeleteAll(m_engine.rootObjects());
}
