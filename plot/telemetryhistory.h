// The history that the plot draws: the three joint angles of every report (or a v2 gimbal's
// pitch, roll and yaw from its attitude statuses) and the three rates of every rate command
// (GIMBAL_CONTROL, a v2 gimbal's GIMBAL_DEVICE_SET_ATTITUDE, or a manager's set point), each for
// the last minute, on one steady clock. Fed by the link's session; costs a few stores per report
// and nothing else until a plot reads it.
#pragma once

#include "samplehistory.h"

#include <QObject>

class LinkClock;
class MavlinkSession;
class V2Devices;

class TelemetryHistory : public QObject
{
    Q_OBJECT

public:
    explicit TelemetryHistory(MavlinkSession &session, QObject *parent = nullptr);

    // With several v2 gimbals on the link, only the controlled one's statuses are drawn.
    void followChosen(const V2Devices *devices) { m_devices = devices; }

    const SampleHistory &angles() const { return m_angles; }
    const SampleHistory &rates() const { return m_rates; }
    // Seconds on the clock of the samples.
    double now() const;
    // Goes up with every sample, so that a plot can tell whether it has anything new.
    quint64 revision() const { return m_revision; }

private:
    const LinkClock &m_clock;
    SampleHistory m_angles;
    SampleHistory m_rates;
    quint64 m_revision = 0;
    const V2Devices *m_devices = nullptr;
};
