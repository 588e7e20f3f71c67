#include "telemetryhistory.h"

#include <gimbal_manager.h>
#include <gimbal_v2.h>
#include <mavlinksession.h>
#include <messages.h>
#include <v2attitude.h>
#include <v2devices.h>

#include <cstring>

TelemetryHistory::TelemetryHistory(MavlinkSession &session, QObject *parent)
    : QObject(parent), m_clock(session.clock())
{
    connect(&session, &MavlinkSession::frameReceived, this, [this](const mavlink_message_t &msg) {
        if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_REPORT) {
            const mavlink_gimbal_report_t report = mavlink_msg_gimbal_report_decode(&msg);
            m_angles.append(now(), report.joint_roll, report.joint_el, report.joint_az);
        } else if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS &&
                   (!m_devices || m_devices->isChosen(msg))) {
            // In the order of the captions, as the window's labels show a v2 gimbal's angles.
            const mavlink_euler_t angles =
                vehicleAngles(mavlink_msg_gimbal_device_attitude_status_decode(&msg));
            m_angles.append(now(), angles.pitch, angles.roll, angles.yaw);
        } else {
            return;
        }
        ++m_revision;
    });
    connect(&session, &MavlinkSession::frameSent, this, [this](const mavlink_message_t &msg) {
        if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_CONTROL) {
            mavlink_gimbal_control_t command;
            std::memcpy(&command, msg.payload, sizeof command);
            m_rates.append(now(), command.demanded_rate_x, command.demanded_rate_y,
                           command.demanded_rate_z);
        } else if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE) {
            // On the sticks' axes, as for GIMBAL_CONTROL: x the right stick across (yaw), y up
            // and down (pitch), z the left stick across (roll).
            const mavlink_gimbal_device_set_attitude_t command =
                mavlink_msg_gimbal_device_set_attitude_decode(&msg);
            m_rates.append(now(), command.angular_velocity_z, command.angular_velocity_y,
                           command.angular_velocity_x);
        } else if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW) {
            // A manager's set point has no roll.
            const mavlink_gimbal_manager_set_pitchyaw_t command =
                mavlink_msg_gimbal_manager_set_pitchyaw_decode(&msg);
            m_rates.append(now(), command.yaw_rate, command.pitch_rate, 0.0f);
        } else {
            return;
        }
        ++m_revision;
    });
}

double TelemetryHistory::now() const
{
    return static_cast<double>(m_clock.nowUs()) / 1e6;
}
