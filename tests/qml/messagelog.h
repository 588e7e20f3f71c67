// Records every debug, warning and error line of the GUI thread (and still passes it on), so that
// tests can check the lines a component writes and that it raises no script errors.
#pragma once

#include <QObject>
#include <QStringList>

class MessageLog : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList messages READ messages NOTIFY messagesChanged)

public:
    ~MessageLog() override;

    QStringList messages() const { return m_messages; }

    // Forgets what was recorded. The first call puts the recorder in front of the current handler;
    // tests call it once the test logger, which takes over the handler when it starts, is running.
    Q_INVOKABLE void start();

signals:
    void messagesChanged();

private:
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &message);

    QStringList m_messages;
};
