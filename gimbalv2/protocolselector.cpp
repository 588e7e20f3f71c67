#include "protocolselector.h"

#include "v2managers.h"

#include <gimbal_manager.h>
#include <gimbal_v2.h>
#include <messages.h>

#include <QMetaEnum>

ProtocolSelector::ProtocolSelector(QObject *parent) : QObject(parent) {}

void ProtocolSelector::setChoice(Choice choice)
{
    if (choice == m_choice)
        return;
    m_choice = choice;
    emit choiceChanged();
    enter(forcedProtocol());
}

QString ProtocolSelector::protocolName() const
{
    return QString::fromLatin1(QMetaEnum::fromType<Protocol>().valueToKey(m_protocol)).toLower();
}

void ProtocolSelector::restart()
{
    enter(forcedProtocol());
}

void ProtocolSelector::frameReceived(const mavlink_message_t &msg)
{
    if (m_protocol == Undecided)
        enter(protocolOf(msg));
}

ProtocolSelector::Protocol ProtocolSelector::protocolOf(const mavlink_message_t &msg)
{
    switch (msg.msgid) {
    case MAVLINK_MSG_ID_GIMBAL_REPORT:
        return Report;
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS:
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION:
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS:
        return V2;
    case MAVLINK_MSG_ID_HEARTBEAT: {
        // A vehicle's gimbals speak the standard protocol through its autopilot.
        const mavlink_heartbeat_t heartbeat = mavlink_msg_heartbeat_decode(&msg);
        const bool gimbal =
            heartbeat.type == MAV_TYPE_GIMBAL && mavlink_is_gimbal_component(msg.compid);
        return gimbal || V2Managers::isAutopilotHeartbeat(heartbeat.autopilot, heartbeat.type)
                   ? V2
                   : Undecided;
    }
    default:
        return Undecided;
    }
}

namespace {
const QString ChoiceNames[] = {QStringLiteral("auto"), QStringLiteral("report"),
                               QStringLiteral("v2")};
} // namespace

std::optional<ProtocolSelector::Choice> ProtocolSelector::choiceNamed(const QString &name)
{
    for (int choice = Auto; choice <= ForceV2; ++choice) {
        if (name == ChoiceNames[choice])
            return static_cast<Choice>(choice);
    }
    return std::nullopt;
}

QString ProtocolSelector::nameOf(Choice choice)
{
    return ChoiceNames[choice];
}

void ProtocolSelector::enter(Protocol protocol)
{
    if (protocol == m_protocol)
        return;
    m_protocol = protocol;
    emit protocolChanged();
}

ProtocolSelector::Protocol ProtocolSelector::forcedProtocol() const
{
    switch (m_choice) {
    case ForceReport:
        return Report;
    case ForceV2:
        return V2;
    default:
        return Undecided;
    }
}
