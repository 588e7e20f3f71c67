// The port that the user typed or picked in the port box, from the remembered or command-line
// one at start. It outlives what resets the box: a refreshed port list makes the box fall back to
// its first row, and a language switch evaluates every binding of the window anew; after a
// switch the box is asked to show the chosen port again.
#pragma once

#include <QObject>
#include <QString>

class PortChoice : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString port READ port NOTIFY portChanged)

public:
    explicit PortChoice(const QString &startPort, QObject *parent = nullptr);

    QString port() const { return m_port; }

    // The user's own choice, typed or picked: also the end of any wait for a vanished port.
    Q_INVOKABLE void choose(const QString &port);
    // Asks the box to show the chosen port once the event loop has let it settle.
    void requestShow();

signals:
    void portChanged();
    void chosen();
    void showRequested();

private:
    QString m_port;
};
