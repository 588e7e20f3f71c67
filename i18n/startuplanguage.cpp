#include "startuplanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

// English on every system that is not Chinese, also German or French ones: that is what the
// language box and the controller's messages start in there.
int systemLanguage()
{
    return QLocale().language() == QLocale::Chinese ? 1 : 0;
}

QTranslator &installStartupCatalogue(QTranslator &translator, int language)
{
    translator.load(language == 1 ? QStringLiteral(":/zh_CN.qm") : QStringLiteral(":/en_us.qm"));
    QCoreApplication::installTranslator(&translator);
    return translator;
}
