#include "telemetryhistory.h"

#include <messages.h>
#include <ravik.h>

#include <cstring>

TelemetryHistory::TelemetryHistory(Ravik &ravik, QObject *parent) : QObject(parent)
{
    m_clock.start();
    connect(&ravik, &Ravik::frameReceived, this, [this](const mavlink_message_t &msg) {
        if (msg.msgid != MAVLINK_MSG_ID_GIMBAL_REPORT)
            return;
        const mavlink_gimbal_report_t report = mavlink_msg_gimbal_report_decode(&msg);
        m_angles.append(now(), report.joint_roll, report.joint_el, report.joint_az);
        ++m_revision;
    });
    connect(&ravik, &Ravik::commandSent, this, [this](const mavlink_message_t &msg) {
        mavlink_gimbal_control_t command;
        std::memcpy(&command, msg.payload, sizeof command);
        m_rates.append(now(), command.demanded_rate_x, command.demanded_rate_y,
                       command.demanded_rate_z);
        ++m_revision;
    });
}
