#include "wiring.h"

#include "serial.h"
#include "serialevent.h"

#include <QGuiApplication>
#include <QLocale>
#include <QQmlContext>

namespace {
// A catalogue that does not load leaves the source texts; the translator is installed anyway.
QTranslator &loadStartupCatalogue(QTranslator &translator)
{
    const QLocale locale;
    if (locale.language() == QLocale::English)
        translator.load(QStringLiteral(":/en_us.qm"));
    else if (locale.language() == QLocale::Chinese)
        translator.load(QStringLiteral(":/zh_CN.qm"));
    QCoreApplication::installTranslator(&translator);
    return translator;
}
} // namespace

Wiring::Wiring(QGuiApplication &app)
    : m_qmlLanguage(&app, &m_engine, &loadStartupCatalogue(m_translator))
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
