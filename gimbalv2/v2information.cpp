#include "v2information.h"

#include <gimbal_v2.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr int RequestsBeforeGivingUp = 5;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A name field is NUL-padded, or fills all its bytes without a NUL.
template <std::size_t N> QString nameOf(const char (&field)[N])
{
    return QString::fromUtf8(field, static_cast<int>(strnlen(field, N)));
}
} // namespace

V2Information::V2Information(QObject *parent) : QObject(parent)
{
    std::fill(std::begin(m_limits), std::end(m_limits), NaN);
}

bool V2Information::unanswered() const
{
    return !m_known && m_requests >= RequestsBeforeGivingUp;
}

double V2Information::clamped(int axis, double angle) const
{
    const double low = m_limits[2 * axis];
    const double high = m_limits[2 * axis + 1];
    if (std::isfinite(low))
        angle = std::max(angle, low);
    if (std::isfinite(high))
        angle = std::min(angle, high);
    return angle;
}

void V2Information::clear()
{
    m_known = false;
    m_requests = 0;
    m_vendor.clear();
    m_model.clear();
    m_firmware.clear();
    m_hardware.clear();
    std::fill(std::begin(m_limits), std::end(m_limits), NaN);
    m_capabilities = 0;
    emit requestsChanged();
    emit changed();
}

void V2Information::requestSent()
{
    ++m_requests;
    emit requestsChanged();
}

void V2Information::take(const mavlink_message_t &msg)
{
    const mavlink_gimbal_device_information_t info =
        mavlink_msg_gimbal_device_information_decode(&msg);
    m_known = true;
    m_vendor = nameOf(info.vendor_name);
    m_model = nameOf(info.model_name);
    m_firmware = versionText(info.firmware_version);
    m_hardware = versionText(info.hardware_version);
    const float limits[6] = {info.roll_min,  info.roll_max, info.pitch_min,
                             info.pitch_max, info.yaw_min,  info.yaw_max};
    std::copy(std::begin(limits), std::end(limits), std::begin(m_limits));
    m_capabilities = info.cap_flags2 != 0 ? info.cap_flags2 : info.cap_flags;
    emit requestsChanged();
    emit changed();
}

void V2Information::takeManaged(const float limits[6], std::uint32_t capabilities)
{
    m_known = true;
    std::copy(limits, limits + 6, std::begin(m_limits));
    m_capabilities = capabilities;
    emit requestsChanged();
    emit changed();
}

QString V2Information::versionText(std::uint32_t version)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(version & 0xFF)
        .arg((version >> 8) & 0xFF)
        .arg((version >> 16) & 0xFF)
        .arg(version >> 24);
}
