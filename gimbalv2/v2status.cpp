#include "v2status.h"

#include <gimbal_v2.h>
#include <linkclock.h>

#include <limits>

namespace {
constexpr qint64 SilentAfterUs = 1000000;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
} // namespace

V2Status::V2Status(const LinkClock &clock, QObject *parent)
    : QObject(parent), m_clock(clock), m_angles{NaN, NaN, NaN}
{
    m_quiet.setSingleShot(true);
    connect(&m_quiet, &QTimer::timeout, this, &V2Status::checkQuiet);
}

bool V2Status::acceptsEarthYaw() const
{
    return m_flags & GIMBAL_DEVICE_FLAGS_ACCEPTS_YAW_IN_EARTH_FRAME;
}

void V2Status::clear()
{
    m_quiet.stop();
    m_angles = {NaN, NaN, NaN};
    m_flags = 0;
    m_failureFlags = 0;
    const bool wasAny = m_any;
    m_any = false;
    setSilent(false);
    if (wasAny)
        emit talkingChanged();
    emit statusChanged();
}

void V2Status::take(const mavlink_message_t &msg)
{
    const mavlink_gimbal_device_attitude_status_t status =
        mavlink_msg_gimbal_device_attitude_status_decode(&msg);
    m_angles = vehicleAngles(status);
    m_flags = status.flags;
    m_failureFlags = status.failure_flags;
    m_lastUs = m_clock.nowUs();
    m_quiet.start(static_cast<int>(SilentAfterUs / 1000));
    if (!m_any) {
        m_any = true;
        emit talkingChanged();
    }
    setSilent(false);
    emit statusChanged();
}

void V2Status::setSilent(bool silent)
{
    if (silent == m_silent)
        return;
    m_silent = silent;
    emit talkingChanged();
}

// The timer runs on the wall clock: when it fires, the link's time says whether the second has
// passed there too (a replay may be paused, or slower), and else when to look again.
void V2Status::checkQuiet()
{
    const qint64 quiet = m_clock.nowUs() - m_lastUs;
    if (quiet >= SilentAfterUs)
        setSilent(true);
    else
        m_quiet.start(static_cast<int>((SilentAfterUs - quiet + 999) / 1000));
}
