#include "englishcatalogue.h"

#include <QCoreApplication>

EnglishCatalogue::~EnglishCatalogue()
{
    setInstalled(false);
}

void EnglishCatalogue::setInstalled(bool installed)
{
    if (installed == m_installed)
        return;
    if (installed) {
        m_installed = m_translator.load(QStringLiteral(":/en_us.qm")) &&
                      QCoreApplication::installTranslator(&m_translator);
    } else {
        QCoreApplication::removeTranslator(&m_translator);
        m_installed = false;
    }
    emit installedChanged();
}
