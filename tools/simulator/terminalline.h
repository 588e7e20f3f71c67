// The gimbal's end of a pseudo-terminal standing in for a USB serial port, with a symbolic link,
// when asked for, that follows the terminal as a /dev/serial/by-id/ path follows a device.
#pragma once

#include "pseudoterminal.h"
#include "simulatorline.h"

#include <memory>

class TerminalLine : public SimulatorLine
{
    Q_OBJECT

public:
    // `linkPath` empty for no link.
    explicit TerminalLine(const QString &linkPath, QObject *parent = nullptr);
    ~TerminalLine() override;

    // A new terminal each time, as a device that is plugged in again gets a new one.
    bool open() override;
    // Hangs the terminal up and removes it; the link goes first, so that nobody opens the
    // terminal as it goes.
    void close() override;
    bool isOpen() const override { return m_pty && m_pty->isOpen(); }
    // The link when there is one, else the terminal's own path.
    QString address() const override;
    QString currentAddress() const override;
    bool send(const QByteArray &bytes) override;
    QByteArray takeReceived() override;

private:
    QString m_linkPath;
    std::unique_ptr<PseudoTerminal> m_pty;
};
