// POSIX signals delivered through the event loop: blocked for the whole process and read from a
// descriptor, so that a handler may do anything (print a summary, quit the application, reopen a
// line) rather than only what is safe inside a signal handler.
#pragma once

#include <QObject>

#include <initializer_list>

#include <signal.h>

class QSocketNotifier;

class SignalWatch : public QObject
{
    Q_OBJECT

public:
    // Blocks the signals `numbers` in this thread and in every thread it starts later; main() calls
    // it before QCoreApplication, which may start threads of its own.
    static sigset_t block(std::initializer_list<int> numbers);

    // Watches the signals that block() returned; needs the application's event loop.
    explicit SignalWatch(const sigset_t &blocked, QObject *parent = nullptr);
    ~SignalWatch() override;

signals:
    void caught(int signal);

private:
    void read();

    int m_descriptor = -1;
    QSocketNotifier *m_notifier = nullptr;
};
