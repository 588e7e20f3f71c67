#include "pseudoterminal.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

PseudoTerminal::PseudoTerminal(QObject *parent) : QObject(parent)
{
    termios raw{};
    cfmakeraw(&raw);
    char name[128] = {};
    if (openpty(&m_farEnd, &m_deviceEnd, name, &raw, nullptr) != 0) {
        m_farEnd = m_deviceEnd = -1;
        return;
    }
    m_devicePath = QString::fromLocal8Bit(name);
    fcntl(m_farEnd, F_SETFL, fcntl(m_farEnd, F_GETFL) | O_NONBLOCK);

    m_readNotifier = new QSocketNotifier(m_farEnd, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::readFarEnd);
    m_writeNotifier = new QSocketNotifier(m_farEnd, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::flushPending);
}

PseudoTerminal::~PseudoTerminal()
{
    closeFarEnd();
    if (m_deviceEnd >= 0)
        ::close(m_deviceEnd);
}

void PseudoTerminal::write(const QByteArray &bytes)
{
    m_pending.append(bytes);
    flushPending();
}

QByteArray PseudoTerminal::takeReceived()
{
    QByteArray bytes;
    bytes.swap(m_received);
    return bytes;
}

bool PseudoTerminal::waitForReceived(int bytes, int timeoutMs)
{
    if (m_received.size() >= bytes)
        return true;
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    connect(this, &PseudoTerminal::received, &loop, [&] {
        if (m_received.size() >= bytes)
            loop.quit();
    });
    loop.exec();
    return m_received.size() >= bytes;
}

void PseudoTerminal::closeFarEnd()
{
    if (m_farEnd < 0)
        return;
    delete m_readNotifier;
    delete m_writeNotifier;
    m_readNotifier = m_writeNotifier = nullptr;
    ::close(m_farEnd);
    m_farEnd = -1;
    m_pending.clear();
}

void PseudoTerminal::setReading(bool reading)
{
    if (m_readNotifier)
        m_readNotifier->setEnabled(reading);
    if (reading)
        readFarEnd();
}

void PseudoTerminal::readFarEnd()
{
    char buffer[4096];
    qint64 total = 0;
    for (;;) {
        const ssize_t n = ::read(m_farEnd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        m_received.append(buffer, static_cast<int>(n));
        total += n;
    }
    if (total > 0)
        emit received();
}

void PseudoTerminal::flushPending()
{
    while (!m_pending.isEmpty() && m_farEnd >= 0) {
        const ssize_t n = ::write(m_farEnd, m_pending.constData(), m_pending.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        m_pending.remove(0, static_cast<int>(n));
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_pending.isEmpty());
}
