#include "qmllanguage.h"

#include <QCoreApplication>
#include <QDebug>
#include <QQmlEngine>

QmlLanguage::QmlLanguage(QGuiApplication *application, QQmlEngine *engine,
                         QTranslator *startupTranslator, int startLanguage)
    : m_application(application), m_engine(engine), m_startupTranslator(startupTranslator),
      m_language(startLanguage)
{
}

void QmlLanguage::setLanguage(int indexOfLanguage)
{
    qDebug() << indexOfLanguage;
    const bool chinese = indexOfLanguage == 1;

    QCoreApplication::removeTranslator(&m_chosenTranslator);
    m_chosenTranslator.load(chinese ? QStringLiteral(":/zh_CN.qm") : QStringLiteral(":/en_us.qm"));
    // The Chinese texts are the sources, so Chinese shows only when no English catalogue answers,
    // including the one start-up chose for an English system.
    if (chinese && m_startupTranslator)
        QCoreApplication::removeTranslator(m_startupTranslator);
    QCoreApplication::installTranslator(&m_chosenTranslator);
    m_language = chinese ? 1 : 0;
    // Every choice, also of the language already shown, so that it is remembered; before the
    // engine evaluates the window's bindings anew, so that they read the new language.
    emit languageChanged();
    m_engine->retranslate();
}
