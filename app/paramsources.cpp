#include "paramsources.h"

#include "gimbalv2link.h"

#include <mavlinksession.h>
#include <messages.h>
#include <paramclient.h>

void feedParamComponents(ParamClient &client, GimbalV2Link &v2, MavlinkSession &session)
{
    V2Devices *devices = v2.devices();
    QObject::connect(devices, &V2Devices::devicesChanged, &client, [&client, devices] {
        // A gimbal that an autopilot speaks for (ArduPilot's) is no component of its own: its
        // ids are the autopilot's, which its heartbeat already names.
        for (const V2Devices::Id &id : devices->ids()) {
            if (id.deviceId == 0)
                client.addComponent(id.system, id.component, ParamClient::Role::GimbalDevice);
        }
    });
    session.subscribe(
        MAVLINK_MSG_ID_GIMBAL_REPORT, &client, [&client](const mavlink_message_t &msg) {
            client.addComponent(msg.sysid, msg.compid, ParamClient::Role::ReportGimbal);
        });
}
