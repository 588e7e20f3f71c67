#include "v2devices.h"

#include "protocolselector.h"

#include <mavlink_types.h>

#include <algorithm>

namespace {
// Components 154 and 171 to 175 on a handful of systems; anything beyond is noise that happened
// to pass the checksum.
constexpr std::size_t MaxDevices = 12;
} // namespace

V2Devices::V2Devices(QObject *parent) : QObject(parent)
{
    m_devices.reserve(MaxDevices);
}

QStringList V2Devices::names() const
{
    QStringList names;
    for (const Id &id : m_devices)
        names.append(QStringLiteral("%1/%2").arg(id.system).arg(id.component));
    return names;
}

void V2Devices::choose(int index)
{
    if (index == m_chosen || index < 0 || index >= static_cast<int>(m_devices.size()))
        return;
    m_chosen = index;
    emit chosenChanged();
}

bool V2Devices::isChosen(const mavlink_message_t &msg) const
{
    if (!hasChosen())
        return false;
    const Id id = chosenId();
    return msg.sysid == id.system && msg.compid == id.component;
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
    if (ProtocolSelector::protocolOf(msg) != ProtocolSelector::V2)
        return;
    const auto known = std::find_if(m_devices.begin(), m_devices.end(), [&msg](const Id &id) {
        return id.system == msg.sysid && id.component == msg.compid;
    });
    if (known != m_devices.end() || m_devices.size() == MaxDevices)
        return;
    m_devices.push_back({msg.sysid, msg.compid});
    emit devicesChanged();
    if (m_chosen < 0) {
        m_chosen = 0;
        emit chosenChanged();
    }
}
