#include "v2status.h"

#include <gimbal_v2.h>

#include <limits>

namespace {
constexpr int SilentAfterMs = 1000;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
} // namespace

V2Status::V2Status(QObject *parent) : QObject(parent), m_angles{NaN, NaN, NaN}
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(SilentAfterMs);
    connect(&m_quiet, &QTimer::timeout, this, [this] { setSilent(true); });
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
    m_quiet.start();
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
