#include "groundstationframe.h"

#include <command.h>
#include <gimbal_manager.h>
#include <gimbal_v2.h>
#include <messages.h>
#include <param.h>

bool isGroundStationFrame(const mavlink_message_t &msg)
{
    switch (msg.msgid) {
    case MAVLINK_MSG_ID_GIMBAL_CONTROL:
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE:
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_ATTITUDE:
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW:
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_MANUAL_CONTROL:
    case MAVLINK_MSG_ID_COMMAND_LONG:
    case MAVLINK_MSG_ID_PARAM_REQUEST_READ:
    case MAVLINK_MSG_ID_PARAM_REQUEST_LIST:
    case MAVLINK_MSG_ID_PARAM_SET:
        return true;
    case MAVLINK_MSG_ID_HEARTBEAT:
        return mavlink_msg_heartbeat_decode(&msg).type == MAV_TYPE_GCS;
    default:
        return false;
    }
}
