// The tool's end of a simulator's pseudo-terminal, as a ground station (system 255, component
// 190) opens it as a serial port: it sends frames and waits for the ones a test looks for.
#pragma once

#include <framereader.h>
#include <gimbal_v2.h>

#include <QSerialPort>

#include <deque>
#include <functional>

class GroundStation
{
public:
    using Accept = std::function<bool(const mavlink_message_t &)>;

    explicit GroundStation(const QString &path);

    bool isOpen() const { return m_port.isOpen(); }
    void send(const mavlink_message_t &msg);
    void heartbeat();
    // To the v2 device on component 154: `rate` on one axis (0 roll, 1 pitch, 2 yaw), the others
    // still.
    void rateOn(int axis, float rate);
    // To the v2 device on component 154: its GIMBAL_DEVICE_INFORMATION, please.
    void requestInformation();

    // Runs the event loop until a message `msgid` that `accept` (if any) takes arrives (those
    // before it are dropped), false after `timeoutMs`.
    bool waitFor(std::uint32_t msgid, mavlink_message_t *out, const Accept &accept = {},
                 int timeoutMs = 4000);
    // The next attitude status that `accept` takes.
    bool waitForStatus(
        mavlink_gimbal_device_attitude_status_t *status,
        const std::function<bool(const mavlink_gimbal_device_attitude_status_t &)> &accept);
    // True when any byte arrives within `ms`.
    bool hearsAnything(int ms);

private:
    QSerialPort m_port;
    FrameReader m_reader;
    std::deque<mavlink_message_t> m_inbox;
};
