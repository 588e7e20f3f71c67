#include "csvrows.h"

#include <messages.h>

#include <cmath>
#include <cstring>

namespace {
// Columns after the common five: GIMBAL_REPORT's, then HEARTBEAT's, then GIMBAL_CONTROL's.
constexpr int ReportColumns = 12;
constexpr int HeartbeatColumns = 6;
constexpr int CommandColumns = 5;

// Appends `count` empty fields.
void skip(QByteArray &row, int count)
{
    row.append(count, ',');
}

// Single-precision values written so that they read back to the same float, with a decimal
// point whatever the system's locale (the C library's printf would write a decimal comma on a
// German system, which splits the field in two). Non-finite values have one spelling each; the
// sign of a NaN carries nothing.
void addFloat(QByteArray &row, float value)
{
    row.append(',');
    if (std::isnan(value))
        row.append("nan");
    else if (std::isinf(value))
        row.append(value > 0 ? "inf" : "-inf");
    else
        row.append(QByteArray::number(static_cast<double>(value), 'g', 9));
}

void addInteger(QByteArray &row, unsigned long long value)
{
    row.append(',');
    row.append(QByteArray::number(value));
}
} // namespace

QByteArray csvrows::header()
{
    return QByteArrayLiteral(
        "time_us,kind,sysid,compid,seq,"
        "delta_time,delta_angle_x,delta_angle_y,delta_angle_z,delta_velocity_x,"
        "delta_velocity_y,delta_velocity_z,joint_roll,joint_el,joint_az,target_system,"
        "target_component,"
        "custom_mode,type,autopilot,base_mode,system_status,mavlink_version,"
        "demanded_rate_x,demanded_rate_y,demanded_rate_z,command_target_system,"
        "command_target_component\n");
}

QByteArray csvrows::row(std::int64_t microseconds, const mavlink_message_t &msg, bool sent)
{
    const char *kind = nullptr;
    if (sent && msg.msgid == MAVLINK_MSG_ID_GIMBAL_CONTROL)
        kind = "command";
    else if (!sent && msg.msgid == MAVLINK_MSG_ID_GIMBAL_REPORT)
        kind = "report";
    else if (!sent && msg.msgid == MAVLINK_MSG_ID_HEARTBEAT)
        kind = "heartbeat";
    else
        return QByteArray();

    QByteArray row;
    row.reserve(256);
    row.append(QByteArray::number(static_cast<qlonglong>(microseconds)));
    row.append(',');
    row.append(kind);
    addInteger(row, msg.sysid);
    addInteger(row, msg.compid);
    addInteger(row, msg.seq);
    if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_REPORT) {
        const mavlink_gimbal_report_t r = mavlink_msg_gimbal_report_decode(&msg);
        for (float value :
             {r.delta_time, r.delta_angle_x, r.delta_angle_y, r.delta_angle_z, r.delta_velocity_x,
              r.delta_velocity_y, r.delta_velocity_z, r.joint_roll, r.joint_el, r.joint_az})
            addFloat(row, value);
        addInteger(row, r.target_system);
        addInteger(row, r.target_component);
        skip(row, HeartbeatColumns + CommandColumns);
    } else if (msg.msgid == MAVLINK_MSG_ID_HEARTBEAT) {
        const mavlink_heartbeat_t h = mavlink_msg_heartbeat_decode(&msg);
        skip(row, ReportColumns);
        addInteger(row, h.custom_mode);
        for (std::uint8_t value :
             {h.type, h.autopilot, h.base_mode, h.system_status, h.mavlink_version})
            addInteger(row, value);
        skip(row, CommandColumns);
    } else {
        mavlink_gimbal_control_t c;
        std::memcpy(&c, msg.payload, sizeof c);
        skip(row, ReportColumns + HeartbeatColumns);
        addFloat(row, c.demanded_rate_x);
        addFloat(row, c.demanded_rate_y);
        addFloat(row, c.demanded_rate_z);
        addInteger(row, c.target_system);
        addInteger(row, c.target_component);
    }
    row.append('\n');
    return row;
}
