// What the controlled v2 gimbal last said about itself in its attitude status: its angles (see
// v2attitude.h), its flags and failure flags, and whether it has gone quiet (no status for more
// than a second of the link's time).
#pragma once

#include "v2attitude.h"

#include <QObject>
#include <QTimer>

#include <cstdint>

class LinkClock;
struct mavlink_message_t;

class V2Status : public QObject
{
    Q_OBJECT
    // Radians; NaN until the first status and where the status cannot tell.
    Q_PROPERTY(double roll READ roll NOTIFY statusChanged)
    Q_PROPERTY(double pitch READ pitch NOTIFY statusChanged)
    Q_PROPERTY(double yaw READ yaw NOTIFY statusChanged)
    // GIMBAL_DEVICE_FLAGS and GIMBAL_DEVICE_ERROR_FLAGS of the last status.
    Q_PROPERTY(int flags READ flags NOTIFY statusChanged)
    Q_PROPERTY(int failureFlags READ failureFlags NOTIFY statusChanged)
    // A status came, and another within the last second.
    Q_PROPERTY(bool talking READ talking NOTIFY talkingChanged)
    // A status came once and none for more than a second since.
    Q_PROPERTY(bool silent READ silent NOTIFY talkingChanged)
    // The device takes a yaw in the earth frame (ACCEPTS_YAW_IN_EARTH_FRAME in its flags).
    Q_PROPERTY(bool acceptsEarthYaw READ acceptsEarthYaw NOTIFY statusChanged)

public:
    explicit V2Status(const LinkClock &clock, QObject *parent = nullptr);

    mavlink_euler_t angles() const { return m_angles; }
    double roll() const { return static_cast<double>(m_angles.roll); }
    double pitch() const { return static_cast<double>(m_angles.pitch); }
    double yaw() const { return static_cast<double>(m_angles.yaw); }
    int flags() const { return m_flags; }
    int failureFlags() const { return static_cast<int>(m_failureFlags); }
    bool talking() const { return m_any && !m_silent; }
    bool silent() const { return m_silent; }
    bool acceptsEarthYaw() const;

    // Forgets the last device's status.
    void clear();
    // An attitude status of the controlled gimbal.
    void take(const mavlink_message_t &msg);

signals:
    void statusChanged();
    void talkingChanged();

private:
    void setSilent(bool silent);
    void checkQuiet();

    const LinkClock &m_clock;
    mavlink_euler_t m_angles;
    int m_flags = 0;
    std::uint32_t m_failureFlags = 0;
    bool m_any = false;
    bool m_silent = false;
    // The link's time of the last status.
    qint64 m_lastUs = 0;
    QTimer m_quiet;
};
