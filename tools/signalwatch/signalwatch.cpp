#include "signalwatch.h"

#include <QSocketNotifier>

#include <sys/signalfd.h>
#include <unistd.h>

sigset_t SignalWatch::block(std::initializer_list<int> numbers)
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : numbers)
        sigaddset(&set, signal);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    return set;
}

SignalWatch::SignalWatch(const sigset_t &blocked, QObject *parent)
    : QObject(parent), m_descriptor(signalfd(-1, &blocked, SFD_CLOEXEC))
{
    if (m_descriptor < 0)
        return;
    m_notifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatch::read);
}

SignalWatch::~SignalWatch()
{
    // The notifier goes before the descriptor it watches.
    delete m_notifier;
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void SignalWatch::read()
{
    signalfd_siginfo info{};
    if (::read(m_descriptor, &info, sizeof info) == sizeof info)
        emit caught(static_cast<int>(info.ssi_signo));
}
