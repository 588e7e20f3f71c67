#include "terminationsignals.h"

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int Handled[] = {SIGTERM, SIGHUP};
// The handler writes into [0], the event loop reads [1].
int s_socket[2] = {-1, -1};

void onSignal(int number)
{
    const int saved = errno;
    const char byte = static_cast<char>(number);
    // Non-blocking: should the socket ever be full, the signals waiting there end the tool anyway.
    [[maybe_unused]] const ssize_t written = ::write(s_socket[0], &byte, 1);
    errno = saved;
}

void handle(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : Handled)
        sigaction(number, &action, nullptr);
}
} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, s_socket) != 0)
        return;
    m_notifier = new QSocketNotifier(s_socket[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);
    handle(onSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    handle(SIG_DFL);
    delete m_notifier;
    ::close(s_socket[0]);
    ::close(s_socket[1]);
    s_socket[0] = s_socket[1] = -1;
}

void TerminationSignals::readSignals()
{
    char numbers[16];
    ssize_t count = 0;
    while ((count = ::read(s_socket[1], numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit received(numbers[i]);
    }
}
#else
TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent) {}

TerminationSignals::~TerminationSignals() = default;
#endif
