// Counts the QML engine's quit requests, so that tests can see Qt.quit() being called without the
// test runner itself being ended by it.
#pragma once

#include <QObject>

class QQmlEngine;

class QuitCounter : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    int count() const { return m_count; }

signals:
    void countChanged();

public slots:
    // Called by the Qt Quick Test runner for each test file's engine.
    void qmlEngineAvailable(QQmlEngine *engine);

private:
    int m_count = 0;
};
