#include "csvrows.h"

#include <command.h>
#include <gimbal_manager.h>
#include <gimbal_v2.h>
#include <messages.h>
#include <v2attitude.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace {
// Columns after the common five: GIMBAL_REPORT's, then HEARTBEAT's, then GIMBAL_CONTROL's.
constexpr int ReportColumns = 12;
constexpr int HeartbeatColumns = 6;
constexpr int CommandColumns = 5;
// The v2 messages' columns, after those: the attitude status (with the angles the window shows),
// the information, COMMAND_ACK, then what the tool sends: GIMBAL_DEVICE_SET_ATTITUDE and
// COMMAND_LONG. The tool's own heartbeat uses HEARTBEAT's columns.
constexpr int StatusColumns = 18;
constexpr int InformationColumns = 17;
constexpr int AckColumns = 6;
constexpr int SetAttitudeColumns = 10;
constexpr int CommandLongColumns = 11;
constexpr int V2Columns =
    StatusColumns + InformationColumns + AckColumns + SetAttitudeColumns + CommandLongColumns;
// The gimbal manager's, after the v2 device's: its information and status received, the set
// points sent. Its commands (1000, 1001) and their answers use COMMAND_LONG's and COMMAND_ACK's.
constexpr int ManagerInformationColumns = 9;
constexpr int ManagerStatusColumns = 7;
constexpr int SetPointColumns = 8;
constexpr int ManagerColumns = ManagerInformationColumns + ManagerStatusColumns + SetPointColumns;

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

void addFloats(QByteArray &row, std::initializer_list<float> values)
{
    for (float value : values)
        addFloat(row, value);
}

void addIntegers(QByteArray &row, std::initializer_list<unsigned long long> values)
{
    for (unsigned long long value : values)
        addInteger(row, value);
}

// A name field of up to N bytes, quoted, with its quotes doubled.
template <std::size_t N> void addText(QByteArray &row, const char (&field)[N])
{
    QByteArray text(field, static_cast<int>(strnlen(field, N)));
    row.append(",\"");
    row.append(text.replace('"', "\"\""));
    row.append('"');
}

const char *v2Kind(const mavlink_message_t &msg, bool sent)
{
    switch (msg.msgid) {
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS:
        return sent ? nullptr : "v2_status";
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION:
        return sent ? nullptr : "v2_information";
    case MAVLINK_MSG_ID_COMMAND_ACK:
        return sent ? nullptr : "command_ack";
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE:
        return sent ? "v2_command" : nullptr;
    case MAVLINK_MSG_ID_COMMAND_LONG:
        return sent ? "command_long" : nullptr;
    case MAVLINK_MSG_ID_HEARTBEAT:
        return sent ? "sent_heartbeat" : nullptr;
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION:
        return sent ? nullptr : "manager_information";
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS:
        return sent ? nullptr : "manager_status";
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW:
        return sent ? "manager_setpoint" : nullptr;
    default:
        return nullptr;
    }
}

// The manager's columns of a row, empty but for its own messages.
void addManagerFields(QByteArray &row, const mavlink_message_t &msg)
{
    switch (msg.msgid) {
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION: {
        const mavlink_gimbal_manager_information_t i =
            mavlink_msg_gimbal_manager_information_decode(&msg);
        addIntegers(row, {i.time_boot_ms, i.cap_flags});
        addFloats(row, {i.roll_min, i.roll_max, i.pitch_min, i.pitch_max, i.yaw_min, i.yaw_max});
        addInteger(row, i.gimbal_device_id);
        skip(row, ManagerStatusColumns + SetPointColumns);
        break;
    }
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS: {
        const mavlink_gimbal_manager_status_t st = mavlink_msg_gimbal_manager_status_decode(&msg);
        skip(row, ManagerInformationColumns);
        addIntegers(row, {st.time_boot_ms, st.flags, st.gimbal_device_id, st.primary_control_sysid,
                          st.primary_control_compid, st.secondary_control_sysid,
                          st.secondary_control_compid});
        skip(row, SetPointColumns);
        break;
    }
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW: {
        const mavlink_gimbal_manager_set_pitchyaw_t p =
            mavlink_msg_gimbal_manager_set_pitchyaw_decode(&msg);
        skip(row, ManagerInformationColumns + ManagerStatusColumns);
        addInteger(row, p.flags);
        addFloats(row, {p.pitch, p.yaw, p.pitch_rate, p.yaw_rate});
        addIntegers(row, {p.target_system, p.target_component, p.gimbal_device_id});
        break;
    }
    default:
        skip(row, ManagerColumns);
        break;
    }
}

// The v2 columns of a row: a v2 message's fields where v2Kind() named it, empty otherwise.
void addV2Fields(QByteArray &row, const mavlink_message_t &msg)
{
    switch (msg.msgid) {
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS: {
        const mavlink_gimbal_device_attitude_status_t s =
            mavlink_msg_gimbal_device_attitude_status_decode(&msg);
        const mavlink_euler_t shown = vehicleAngles(s);
        addInteger(row, s.time_boot_ms);
        addFloats(row, {s.q[0], s.q[1], s.q[2], s.q[3], s.angular_velocity_x, s.angular_velocity_y,
                        s.angular_velocity_z});
        addIntegers(row, {s.failure_flags, s.flags, s.target_system, s.target_component});
        addFloats(row, {s.delta_yaw, s.delta_yaw_velocity});
        addInteger(row, s.gimbal_device_id);
        addFloats(row, {shown.roll, shown.pitch, shown.yaw});
        skip(row, V2Columns - StatusColumns);
        break;
    }
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION: {
        const mavlink_gimbal_device_information_t i =
            mavlink_msg_gimbal_device_information_decode(&msg);
        skip(row, StatusColumns);
        addIntegers(row, {i.uid, i.time_boot_ms, i.firmware_version, i.hardware_version});
        addFloats(row, {i.roll_min, i.roll_max, i.pitch_min, i.pitch_max, i.yaw_min, i.yaw_max});
        addIntegers(row, {i.cap_flags, i.custom_cap_flags});
        addText(row, i.vendor_name);
        addText(row, i.model_name);
        addText(row, i.custom_name);
        addIntegers(row, {i.gimbal_device_id, i.cap_flags2});
        skip(row, AckColumns + SetAttitudeColumns + CommandLongColumns);
        break;
    }
    case MAVLINK_MSG_ID_COMMAND_ACK: {
        const mavlink_command_ack_t a = mavlink_msg_command_ack_decode(&msg);
        skip(row, StatusColumns + InformationColumns);
        addIntegers(row, {a.command, a.result, a.progress});
        row.append(',');
        row.append(QByteArray::number(a.result_param2));
        addIntegers(row, {a.target_system, a.target_component});
        skip(row, SetAttitudeColumns + CommandLongColumns);
        break;
    }
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE: {
        const mavlink_gimbal_device_set_attitude_t c =
            mavlink_msg_gimbal_device_set_attitude_decode(&msg);
        skip(row, StatusColumns + InformationColumns + AckColumns);
        addFloats(row, {c.q[0], c.q[1], c.q[2], c.q[3], c.angular_velocity_x, c.angular_velocity_y,
                        c.angular_velocity_z});
        addIntegers(row, {c.flags, c.target_system, c.target_component});
        skip(row, CommandLongColumns);
        break;
    }
    case MAVLINK_MSG_ID_COMMAND_LONG: {
        const mavlink_command_long_t c = mavlink_msg_command_long_decode(&msg);
        skip(row, V2Columns - CommandLongColumns);
        addFloats(row, {c.param1, c.param2, c.param3, c.param4, c.param5, c.param6, c.param7});
        addIntegers(row, {c.command, c.target_system, c.target_component, c.confirmation});
        break;
    }
    default:
        skip(row, V2Columns);
        break;
    }
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
        "command_target_component,"
        "time_boot_ms,q_w,q_x,q_y,q_z,angular_velocity_x,angular_velocity_y,angular_velocity_z,"
        "failure_flags,flags,status_target_system,status_target_component,delta_yaw,"
        "delta_yaw_velocity,gimbal_device_id,shown_roll,shown_pitch,shown_yaw,"
        "uid,info_time_boot_ms,firmware_version,hardware_version,roll_min,roll_max,pitch_min,"
        "pitch_max,yaw_min,yaw_max,cap_flags,custom_cap_flags,vendor_name,model_name,custom_name,"
        "info_gimbal_device_id,cap_flags2,"
        "ack_command,ack_result,ack_progress,ack_result_param2,ack_target_system,"
        "ack_target_component,"
        "set_q_w,set_q_x,set_q_y,set_q_z,set_angular_velocity_x,set_angular_velocity_y,"
        "set_angular_velocity_z,set_flags,set_target_system,set_target_component,"
        "param1,param2,param3,param4,param5,param6,param7,long_command,long_target_system,"
        "long_target_component,confirmation,"
        "mgr_time_boot_ms,mgr_cap_flags,mgr_roll_min,mgr_roll_max,mgr_pitch_min,mgr_pitch_max,"
        "mgr_yaw_min,mgr_yaw_max,mgr_gimbal_device_id,"
        "mgr_status_time_boot_ms,mgr_flags,mgr_status_gimbal_device_id,primary_control_sysid,"
        "primary_control_compid,secondary_control_sysid,secondary_control_compid,"
        "setpoint_flags,setpoint_pitch,setpoint_yaw,setpoint_pitch_rate,setpoint_yaw_rate,"
        "setpoint_target_system,setpoint_target_component,setpoint_gimbal_device_id\n");
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
    else if (!(kind = v2Kind(msg, sent)))
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
    } else if (msg.msgid != MAVLINK_MSG_ID_GIMBAL_CONTROL) {
        skip(row, ReportColumns + HeartbeatColumns + CommandColumns);
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
    addV2Fields(row, msg);
    addManagerFields(row, msg);
    row.append('\n');
    return row;
}

qint64 csvrows::wholeRows(const char *bytes, qint64 size, qint64 &count)
{
    // One past the last line end, or the start when there is none.
    const char *end =
        std::find(std::make_reverse_iterator(bytes + size), std::make_reverse_iterator(bytes), '\n')
            .base();
    count += std::count(bytes, end, '\n');
    return end - bytes;
}
