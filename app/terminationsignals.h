// SIGTERM and SIGHUP (a logout, `kill`, a service manager stopping the tool) end the tool the way
// the window's Close does: the event loop returns and everything is taken down in order, so that
// a recording keeps every row. A signal handler may do next to nothing, so it only writes the
// signal's number into a socket pair, which the event loop reads. Windows has no such signals;
// there this does nothing.
#pragma once

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    // One per process: it takes the two signals over until it is destroyed.
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signal);

#ifdef Q_OS_UNIX
private:
    void readSignals();

    QSocketNotifier *m_notifier = nullptr;
#endif
};
