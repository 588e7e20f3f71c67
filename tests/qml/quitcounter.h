// Counts the quit requests of the QML engines it watches, so that tests can see Qt.quit() being
// called without ending the test run.
#pragma once

#include <QObject>

class QQmlEngine;

class QuitCounter : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    int count() const { return m_count; }
    void watch(QQmlEngine *engine);

signals:
    void countChanged();

private:
    int m_count = 0;
};
