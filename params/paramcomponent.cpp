#include "paramcomponent.h"

#include <gimbal_v2.h>

namespace {
// AUTOPILOT_VERSION comes within a round trip where a component sends it at all; a component
// that neither sends it nor refuses the request is decided by its heartbeat after this long.
constexpr qint64 kVersionWaitMs = 1000;
} // namespace

ParamComponent::ParamComponent(std::uint8_t system, std::uint8_t component, Role role)
    : m_system(system), m_component(component), m_role(role)
{
}

QString ParamComponent::name() const
{
    QString what;
    switch (m_role) {
    case Role::GimbalDevice:
        what = tr("v2 云台设备");
        break;
    case Role::ReportGimbal:
        what = tr("云台（GIMBAL_REPORT）");
        break;
    case Role::Autopilot:
        what = tr("自动驾驶仪");
        break;
    case Role::Named:
        what = tr("组件");
        break;
    }
    return QStringLiteral("%1/%2 %3").arg(m_system).arg(m_component).arg(what);
}

void ParamComponent::setHeartbeat(std::uint8_t autopilot, std::uint8_t type)
{
    m_autopilot = autopilot;
    m_type = type;
}

void ParamComponent::versionAsked(qint64 now)
{
    m_versionState = Version::Asked;
    m_versionAskedAt = now;
}

void ParamComponent::takeCapabilities(std::uint64_t capabilities)
{
    m_capabilities = capabilities;
    m_versionState = Version::Answered;
}

void ParamComponent::versionRefused()
{
    if (m_versionState == Version::Asked)
        m_versionState = Version::Answered;
}

void ParamComponent::startDownload(qint64 now)
{
    m_download.start(now);
    m_hasValues = false;
    m_values.clear();
    m_positions.clear();
}

QStringList ParamComponent::startWrite(const QVector<ParamValue> &values)
{
    QStringList left;
    if (!m_hasValues || writing())
        return left;
    m_writer.emplace(m_encoding->encoding);
    for (const ParamValue &value : values) {
        if (!m_writer->add(value))
            left.append(value.name());
    }
    return left;
}

void ParamComponent::take(const mavlink_param_value_t &value, qint64 now)
{
    m_download.take(value, now);
    if (m_writer)
        m_writer->take(value);
    if (!m_hasValues)
        return;
    // Whatever made it, this is the value the component holds now.
    const ParamValue held = ParamValue::fromMessage(value, m_encoding->encoding);
    const auto position = m_positions.constFind(held.name());
    if (position != m_positions.constEnd())
        m_values[*position] = held;
}

bool ParamComponent::settle(qint64 now)
{
    bool changed = false;
    if (!m_encoding && m_versionState != Version::Due &&
        (m_versionState == Version::Answered || now - m_versionAskedAt >= kVersionWaitMs)) {
        changed = true;
        // A gimbal device that has not sent its heartbeat yet is known from its own protocol.
        const bool gimbal = m_role == Role::GimbalDevice && !m_autopilot;
        m_encoding = chooseParamEncoding(m_capabilities,
                                         gimbal ? MAV_AUTOPILOT_INVALID : m_autopilot.value_or(0),
                                         gimbal ? MAV_TYPE_GIMBAL : m_type);
    }
    const bool ended = m_download.state() == ParamDownload::State::Complete ||
                       m_download.state() == ParamDownload::State::Failed;
    if (m_hasValues || !m_encoding || !ended)
        return changed;
    m_values = m_download.values(m_encoding->encoding);
    for (int i = 0; i < m_values.size(); ++i)
        m_positions.insert(m_values[i].name(), i);
    m_hasValues = true;
    return true;
}
