#include "qmllanguage.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLocale>
#include <QQmlEngine>

QmlLanguage::QmlLanguage(QGuiApplication *application, QQmlEngine *engine,
                         QTranslator *startupTranslator, int startLanguage)
    : m_application(application), m_engine(engine), m_startupTranslator(startupTranslator),
      m_startLanguage(startLanguage)
{
}

int QmlLanguage::getLocalLanguage()
{
    qDebug() << QLocale().language();
    return m_startLanguage;
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
    m_engine->retranslate();
}
