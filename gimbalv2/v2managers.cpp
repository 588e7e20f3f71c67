#include "v2managers.h"

#include <command.h>
#include <gimbal_manager.h>
#include <gimbal_v2.h>
#include <mavsender.h>
#include <messages.h>
#include <tickbudget.h>

#include <algorithm>
#include <cstring>

namespace {
constexpr int TicksPerSecond = 50;
constexpr int QuickRequests = 10;
constexpr int SlowRequestTicks = 10 * TicksPerSecond;
// A few vehicles with a few gimbals each; more is noise that passed the checksum.
constexpr std::size_t MaxAutopilots = 8;
constexpr std::size_t MaxGimbals = 12;

constexpr std::uint8_t MavTypeGeneric = 0;
} // namespace

bool V2Managers::isAutopilotHeartbeat(std::uint8_t autopilot, std::uint8_t type)
{
    if (autopilot == MAV_AUTOPILOT_ARDUPILOTMEGA || autopilot == MAV_AUTOPILOT_PX4)
        return true;
    return autopilot != MAV_AUTOPILOT_INVALID && type != MavTypeGeneric && type != MAV_TYPE_GCS &&
           type != MAV_TYPE_GIMBAL;
}

V2Managers::V2Managers(QObject *parent) : QObject(parent) {}

void V2Managers::clear()
{
    m_settled = false;
    m_autopilots.clear();
    if (!m_gimbals.empty()) {
        m_gimbals.clear();
        emit changed();
    }
}

void V2Managers::frameReceived(const mavlink_message_t &msg)
{
    switch (msg.msgid) {
    case MAVLINK_MSG_ID_HEARTBEAT:
        takeHeartbeat(msg);
        break;
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION:
        takeInformation(msg);
        break;
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS:
        takeStatus(msg);
        break;
    default:
        break;
    }
}

void V2Managers::takeHeartbeat(const mavlink_message_t &msg)
{
    const mavlink_heartbeat_t heartbeat = mavlink_msg_heartbeat_decode(&msg);
    if (!isAutopilotHeartbeat(heartbeat.autopilot, heartbeat.type) ||
        findAutopilot(msg.sysid, msg.compid) || m_autopilots.size() == MaxAutopilots)
        return;
    m_autopilots.push_back({msg.sysid, msg.compid, heartbeat.autopilot});
}

void V2Managers::takeInformation(const mavlink_message_t &msg)
{
    const mavlink_gimbal_manager_information_t info =
        mavlink_msg_gimbal_manager_information_decode(&msg);
    if (Autopilot *autopilot = findAutopilot(msg.sysid, msg.compid))
        autopilot->answered = true;
    Gimbal *known = nullptr;
    for (Gimbal &gimbal : m_gimbals) {
        if (gimbal.system == msg.sysid && gimbal.manager == msg.compid &&
            gimbal.deviceId == info.gimbal_device_id)
            known = &gimbal;
    }
    if (!known) {
        if (m_gimbals.size() == MaxGimbals)
            return;
        m_gimbals.push_back({msg.sysid, msg.compid, info.gimbal_device_id, 0, {}});
        known = &m_gimbals.back();
    }
    known->capabilities = info.cap_flags;
    const float limits[6] = {info.roll_min,  info.roll_max, info.pitch_min,
                             info.pitch_max, info.yaw_min,  info.yaw_max};
    std::copy(std::begin(limits), std::end(limits), known->limits);
    emit changed();
    emit gimbalAdded();
}

// A status for device 0 speaks for every gimbal of the manager.
void V2Managers::takeStatus(const mavlink_message_t &msg)
{
    const mavlink_gimbal_manager_status_t status = mavlink_msg_gimbal_manager_status_decode(&msg);
    bool any = false;
    for (Gimbal &gimbal : m_gimbals) {
        if (gimbal.system != msg.sysid || gimbal.manager != msg.compid ||
            (status.gimbal_device_id != 0 && gimbal.deviceId != status.gimbal_device_id))
            continue;
        any |= !gimbal.statusKnown || gimbal.primarySystem != status.primary_control_sysid ||
               gimbal.primaryComponent != status.primary_control_compid;
        gimbal.primarySystem = status.primary_control_sysid;
        gimbal.primaryComponent = status.primary_control_compid;
        gimbal.statusKnown = true;
    }
    if (any)
        emit changed();
}

void V2Managers::serve(TickBudget &budget, MavSender &sender)
{
    for (Autopilot &autopilot : m_autopilots) {
        if (autopilot.answered || autopilot.ticksToNext-- > 0)
            continue;
        const bool sent = sender.send(
            [&](mavlink_message_t *msg) {
                mavlink_msg_command_long_pack(
                    sender.system(), sender.component(), msg, autopilot.system, autopilot.component,
                    MAV_CMD_REQUEST_MESSAGE, 0, MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION, 0, 0, 0,
                    0, 0, 0);
            },
            &budget);
        if (!sent) {
            autopilot.ticksToNext = 0;
            continue;
        }
        ++autopilot.requests;
        autopilot.ticksToNext =
            autopilot.requests < QuickRequests ? TicksPerSecond - 1 : SlowRequestTicks - 1;
    }
}

bool V2Managers::isAutopilot(std::uint8_t system, std::uint8_t component) const
{
    return component == MAV_COMP_ID_AUTOPILOT1 || findAutopilot(system, component);
}

void V2Managers::settle()
{
    if (m_settled)
        return;
    m_settled = true;
    emit changed();
}

bool V2Managers::asking(std::uint8_t system) const
{
    return std::any_of(m_autopilots.begin(), m_autopilots.end(), [system](const Autopilot &a) {
        return a.system == system && !a.answered && a.requests < QuickRequests;
    });
}

const V2Managers::Gimbal *V2Managers::gimbal(std::uint8_t system, std::uint8_t manager,
                                             std::uint8_t deviceId) const
{
    for (const Gimbal &gimbal : m_gimbals) {
        if (gimbal.system == system && gimbal.manager == manager && gimbal.deviceId == deviceId)
            return &gimbal;
    }
    return nullptr;
}

const V2Managers::Gimbal *V2Managers::gimbalOfDevice(std::uint8_t system,
                                                     std::uint8_t component) const
{
    for (const Gimbal &gimbal : m_gimbals) {
        if (gimbal.system == system && gimbal.deviceId == component)
            return &gimbal;
    }
    return nullptr;
}

QString V2Managers::firmwareOf(std::uint8_t system, std::uint8_t component) const
{
    const Autopilot *autopilot = findAutopilot(system, component);
    if (!autopilot)
        return {};
    if (autopilot->firmware == MAV_AUTOPILOT_ARDUPILOTMEGA)
        return QStringLiteral("ArduPilot");
    if (autopilot->firmware == MAV_AUTOPILOT_PX4)
        return QStringLiteral("PX4");
    return {};
}

V2Managers::Autopilot *V2Managers::findAutopilot(std::uint8_t system, std::uint8_t component)
{
    const auto found =
        std::find_if(m_autopilots.begin(), m_autopilots.end(), [&](const Autopilot &a) {
            return a.system == system && a.component == component;
        });
    return found != m_autopilots.end() ? &*found : nullptr;
}

const V2Managers::Autopilot *V2Managers::findAutopilot(std::uint8_t system,
                                                       std::uint8_t component) const
{
    return const_cast<V2Managers *>(this)->findAutopilot(system, component);
}
