// Prepares each test file's QML engine: publishes a quit counter, a message log and the English
// catalogue to the tests.
#pragma once

#include "englishcatalogue.h"
#include "messagelog.h"
#include "quitcounter.h"

#include <QObject>

class QQmlEngine;

class QmlTestSetup : public QObject
{
    Q_OBJECT

public slots:
    // Called by the Qt Quick Test runner once the engine of a test file exists.
    void qmlEngineAvailable(QQmlEngine *engine);

private:
    QuitCounter m_quitCounter;
    MessageLog m_messageLog;
    EnglishCatalogue m_englishCatalogue;
};
