#include "englishmessages.h"

#include <QCoreApplication>
#include <QTranslator>

QTranslator &englishMessages()
{
    static QTranslator translator;
    return translator;
}

namespace {
// Runs as the application object is made, before QTest runs initTestCase(). A catalogue that
// does not load leaves the Chinese sources, and every comparison with English fails loudly.
void installEnglish()
{
    QTranslator &translator = englishMessages();
    if (translator.load(QStringLiteral(":/en_us.qm")))
        QCoreApplication::installTranslator(&translator);
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(installEnglish)
