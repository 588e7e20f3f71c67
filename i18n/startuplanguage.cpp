#include "startupcatalogue.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

// English on every system that is not Chinese, also German or French ones: that is what the
// language box and the controller's messages start in there.
QTranslator &installStartupCatalogue(QTranslator &translator)
{
    translator.load(QLocale().language() == QLocale::Chinese ? QStringLiteral(":/zh_CN.qm")
                                                             : QStringLiteral(":/en_us.qm"));
    QCoreApplication::installTranslator(&translator);
    return translator;
}
