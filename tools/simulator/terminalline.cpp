#include "terminalline.h"

#include <QFile>

TerminalLine::TerminalLine(const QString &linkPath, QObject *parent)
    : SimulatorLine(parent), m_linkPath(linkPath)
{
}

TerminalLine::~TerminalLine()
{
    if (!m_linkPath.isEmpty())
        QFile::remove(m_linkPath);
}

bool TerminalLine::open()
{
    m_pty = std::make_unique<PseudoTerminal>();
    connect(m_pty.get(), &PseudoTerminal::received, this, &SimulatorLine::received);
    if (!m_pty->isOpen()) {
        setError(QStringLiteral("no pseudo-terminal could be opened"));
        return false;
    }
    if (!m_linkPath.isEmpty()) {
        QFile::remove(m_linkPath);
        QFile::link(m_pty->devicePath(), m_linkPath);
    }
    return true;
}

void TerminalLine::close()
{
    if (!m_linkPath.isEmpty())
        QFile::remove(m_linkPath);
    m_pty.reset();
}

QString TerminalLine::address() const
{
    return m_linkPath.isEmpty() ? currentAddress() : m_linkPath;
}

QString TerminalLine::currentAddress() const
{
    return isOpen() ? m_pty->devicePath() : QString();
}

bool TerminalLine::send(const QByteArray &bytes)
{
    if (!isOpen() || m_pty->pendingSize() > MaxQueuedBytes)
        return false;
    m_pty->write(bytes);
    return true;
}

QByteArray TerminalLine::takeReceived()
{
    return m_pty ? m_pty->takeReceived() : QByteArray();
}
