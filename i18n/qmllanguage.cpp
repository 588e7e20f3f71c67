#include "qmllanguage.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLocale>
#include <QQmlEngine>

QmlLanguage::QmlLanguage(QGuiApplication *application, QQmlEngine *engine,
                         QTranslator *startupTranslator)
    : m_application(application), m_engine(engine), m_startupTranslator(startupTranslator)
{
}

int QmlLanguage::getLocalLanguage()
{
    const QLocale::Language language = QLocale().language();
    qDebug() << language;
    return language == QLocale::Chinese ? 1 : 0;
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
