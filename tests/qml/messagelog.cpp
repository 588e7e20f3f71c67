#include "messagelog.h"

#include <QThread>

namespace {
MessageLog *s_log = nullptr;
QtMessageHandler s_previous = nullptr;
} // namespace

MessageLog::~MessageLog()
{
    if (s_log == this) {
        qInstallMessageHandler(s_previous);
        s_log = nullptr;
    }
}

void MessageLog::start()
{
    if (!s_log) {
        s_log = this;
        s_previous = qInstallMessageHandler(&MessageLog::record);
    }
    m_messages.clear();
    emit messagesChanged();
}

void MessageLog::record(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (QThread::currentThread() != s_log->thread()) {
        s_previous(type, context, message);
        return;
    }
    // Script errors name their file in the text; console lines name it in the context.
    const QString file = QString::fromUtf8(context.file ? context.file : "");
    s_log->m_messages.append(file.isEmpty() ? message : file + QLatin1String(": ") + message);
    emit s_log->messagesChanged();
    s_previous(type, context, message);
}
