#include "v2devices.h"

#include "protocolselector.h"

#include <gimbal_v2.h>
#include <messages.h>

#include <algorithm>

namespace {
// Components 154 and 171 to 175 on a handful of systems; anything beyond is noise that happened
// to pass the checksum.
constexpr std::size_t MaxDevices = 12;

bool sameGimbal(const V2Devices::Id &a, const V2Devices::Id &b)
{
    return a.system == b.system && a.component == b.component && a.deviceId == b.deviceId;
}
} // namespace

V2Devices::V2Devices(const V2Managers &managers, QObject *parent)
    : QObject(parent), m_managers(managers)
{
    m_devices.reserve(MaxDevices);
}

QStringList V2Devices::names() const
{
    QStringList names;
    for (const Id &id : m_devices) {
        names.append(
            id.deviceId == 0
                ? QStringLiteral("%1/%2").arg(id.system).arg(id.component)
                : QStringLiteral("%1/%2#%3").arg(id.system).arg(id.component).arg(id.deviceId));
    }
    return names;
}

QStringList V2Devices::labels() const
{
    QStringList labels;
    const QStringList plain = names();
    for (std::size_t i = 0; i < m_devices.size(); ++i)
        labels.append(plain.at(static_cast<int>(i)) + QStringLiteral(" · ") +
                      pathText(m_devices[i]));
    return labels;
}

QString V2Devices::chosenPathText() const
{
    return hasChosen() ? pathText(chosenId()) : QString();
}

QString V2Devices::pathText(const Id &id) const
{
    switch (pathOf(id)) {
    case Direct:
        return tr("直连");
    case Pending:
        return tr("等待自动驾驶仪答复");
    case Settling:
        return tr("识别中");
    case Managed:
        break;
    }
    const Route route = routeOf(id);
    const QString firmware = m_managers.firmwareOf(route.system, route.manager);
    const QString manager = QStringLiteral("%1/%2").arg(route.system).arg(route.manager);
    return firmware.isEmpty() ? tr("经自动驾驶仪 %1").arg(manager)
                              : tr("经自动驾驶仪 %1（%2）").arg(manager, firmware);
}

void V2Devices::choose(int index)
{
    if (index == m_chosen || index < 0 || index >= static_cast<int>(m_devices.size()))
        return;
    m_chosen = index;
    emit chosenChanged();
}

V2Devices::Route V2Devices::chosenRoute() const
{
    return routeOf(chosenId());
}

const V2Managers::Gimbal *V2Devices::chosenManaged() const
{
    if (chosenPath() != Managed)
        return nullptr;
    const Route route = chosenRoute();
    if (const V2Managers::Gimbal *gimbal =
            m_managers.gimbal(route.system, route.manager, route.deviceId))
        return gimbal;
    return m_managers.gimbalOfDevice(route.system, route.deviceId);
}

// A status the autopilot forwards names the gimbal by its device id; ArduPilot counts its
// gimbals from 1.
V2Devices::Id V2Devices::idOf(const mavlink_message_t &msg) const
{
    if (!m_managers.isAutopilot(msg.sysid, msg.compid))
        return {msg.sysid, msg.compid, 0};
    std::uint8_t deviceId = 1;
    if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS) {
        const std::uint8_t named =
            mavlink_msg_gimbal_device_attitude_status_decode(&msg).gimbal_device_id;
        if (named != 0)
            deviceId = named;
    }
    return {msg.sysid, msg.compid, deviceId};
}

V2Devices::Path V2Devices::pathOf(const Id &id) const
{
    if (id.deviceId != 0 || m_managers.gimbalOfDevice(id.system, id.component))
        return Managed;
    // A manager on the device's system speaks for every gimbal there.
    const auto &gimbals = m_managers.gimbals();
    if (std::any_of(gimbals.begin(), gimbals.end(),
                    [&id](const V2Managers::Gimbal &g) { return g.system == id.system; }))
        return Managed;
    if (m_managers.asking(id.system))
        return Pending;
    return m_managers.settled() ? Direct : Settling;
}

V2Devices::Route V2Devices::routeOf(const Id &id) const
{
    if (id.deviceId != 0)
        return {id.system, id.component, id.deviceId};
    if (const V2Managers::Gimbal *gimbal = m_managers.gimbalOfDevice(id.system, id.component))
        return {gimbal->system, gimbal->manager, id.component};
    for (const V2Managers::Gimbal &gimbal : m_managers.gimbals()) {
        if (gimbal.system == id.system)
            return {gimbal.system, gimbal.manager, id.component};
    }
    return {id.system, MAV_COMP_ID_AUTOPILOT1, id.component};
}

bool V2Devices::isChosen(const mavlink_message_t &msg) const
{
    return hasChosen() && sameGimbal(idOf(msg), chosenId());
}

void V2Devices::clear()
{
    if (m_devices.empty())
        return;
    m_devices.clear();
    m_chosen = -1;
    emit devicesChanged();
    emit chosenChanged();
}

void V2Devices::frameReceived(const mavlink_message_t &msg)
{
    // A gimbal speaks in statuses or a gimbal device's heartbeat; what managers say comes through
    // managersChanged().
    const bool gimbalHeartbeat = msg.msgid == MAVLINK_MSG_ID_HEARTBEAT &&
                                 ProtocolSelector::protocolOf(msg) == ProtocolSelector::V2 &&
                                 !m_managers.isAutopilot(msg.sysid, msg.compid);
    if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS || gimbalHeartbeat)
        add(idOf(msg));
}

void V2Devices::managersChanged()
{
    // A gimbal that a manager answered for is listed before its statuses come: an autopilot
    // speaks for one that is no MAVLink device, a gimbal device for itself.
    for (const V2Managers::Gimbal &gimbal : m_managers.gimbals()) {
        if (mavlink_is_gimbal_component(gimbal.deviceId))
            add({gimbal.system, gimbal.deviceId, 0});
        else
            add({gimbal.system, gimbal.manager, gimbal.deviceId});
    }
    emit devicesChanged();
}

void V2Devices::add(const Id &id)
{
    const auto known = std::find_if(m_devices.begin(), m_devices.end(),
                                    [&id](const Id &other) { return sameGimbal(id, other); });
    if (known != m_devices.end() || m_devices.size() == MaxDevices)
        return;
    m_devices.push_back(id);
    emit devicesChanged();
    if (m_chosen < 0) {
        m_chosen = 0;
        emit chosenChanged();
    }
}
