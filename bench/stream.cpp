#include "stream.h"

#include "encoder.h"
#include "gimbal_manager.h"
#include "gimbal_v2.h"
#include "message_table.h"
#include "messages.h"
#include "quaternion.h"

#include <cstring>
#include <random>

namespace {
class StreamBuilder
{
public:
    explicit StreamBuilder(std::uint8_t componentId) : m_componentId(componentId) {}

    template <typename Record> void append(std::uint32_t msgid, const Record &record)
    {
        mavlink_message_t msg{};
        msg.msgid = msgid;
        std::memcpy(msg.payload, &record, sizeof record);
        mavlink_finalize_message_buffer(&msg, 1, m_componentId, &m_tx, sizeof record, sizeof record,
                                        mavlink_get_msg_entry(msgid)->crc_extra);
        std::uint8_t buf[MAVLINK_MAX_PACKET_LEN];
        const std::uint16_t n = mavlink_msg_to_send_buffer(buf, &msg);
        m_stream.bytes.insert(m_stream.bytes.end(), buf, buf + n);
        ++m_stream.frames;
    }

    void heartbeat(std::uint8_t type, std::uint8_t autopilot)
    {
        const mavlink_heartbeat_t hb{0, type, autopilot, 0, 4, 3};
        append(MAVLINK_MSG_ID_HEARTBEAT, hb);
    }

    // Noise up to a twentieth of the stream.
    void noise()
    {
        while (m_noise * 20 < m_stream.bytes.size()) {
            m_stream.bytes.push_back(static_cast<std::uint8_t>(m_noiseByte(m_random)));
            ++m_noise;
        }
    }

    float angle() { return m_angle(m_random); }
    TelemetryStream take() { return std::move(m_stream); }

private:
    TelemetryStream m_stream;
    std::uint8_t m_componentId = MAV_COMP_ID_GIMBAL;
    mavlink_status_t m_tx{};
    std::mt19937 m_random{7};
    std::uniform_real_distribution<float> m_angle{-3.1f, 3.1f};
    std::uniform_int_distribution<int> m_noiseByte{0, 0xFC};
    std::size_t m_noise = 0;
};
} // namespace

TelemetryStream makeTelemetryStream(std::size_t reports)
{
    StreamBuilder s(MAV_COMP_ID_GIMBAL);
    for (std::size_t i = 0; i < reports; ++i) {
        if (i % 50 == 0)
            s.heartbeat(MAV_TYPE_GIMBAL, MAV_AUTOPILOT_INVALID);
        mavlink_gimbal_report_t report{};
        report.delta_time = 0.02f;
        report.delta_angle_x = s.angle() * 0.01f;
        report.delta_angle_y = s.angle() * 0.01f;
        report.delta_angle_z = s.angle() * 0.01f;
        report.joint_roll = s.angle();
        report.joint_el = s.angle();
        report.joint_az = s.angle();
        report.target_system = 255;
        report.target_component = 1;
        s.append(MAVLINK_MSG_ID_GIMBAL_REPORT, report);
        s.noise();
    }
    return s.take();
}

TelemetryStream makeV2StatusStream(std::size_t statuses)
{
    StreamBuilder s(MAV_COMP_ID_GIMBAL);
    for (std::size_t i = 0; i < statuses; ++i) {
        if (i % 10 == 0)
            s.heartbeat(MAV_TYPE_GIMBAL, MAV_AUTOPILOT_INVALID);
        mavlink_gimbal_device_attitude_status_t status{};
        status.time_boot_ms = static_cast<std::uint32_t>(100 * i);
        mavlink_quaternion_from_euler(s.angle() * 0.2f, s.angle() * 0.4f, s.angle(), status.q);
        status.angular_velocity_x = s.angle() * 0.1f;
        status.angular_velocity_y = s.angle() * 0.1f;
        status.angular_velocity_z = s.angle() * 0.1f;
        status.flags = GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK |
                       GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME |
                       GIMBAL_DEVICE_FLAGS_ACCEPTS_YAW_IN_EARTH_FRAME;
        status.delta_yaw = 0.5f;
        status.delta_yaw_velocity = s.angle() * 0.01f;
        status.gimbal_device_id = 1;
        s.append(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, status);
        s.noise();
    }
    return s.take();
}

TelemetryStream makeManagerStream(std::size_t statuses)
{
    StreamBuilder s(MAV_COMP_ID_AUTOPILOT1);
    for (std::size_t i = 0; i < statuses; ++i) {
        if (i % 5 == 0)
            s.heartbeat(MAV_TYPE_QUADROTOR, MAV_AUTOPILOT_PX4);
        if (i % 50 == 0) {
            mavlink_gimbal_manager_information_t information{};
            information.time_boot_ms = static_cast<std::uint32_t>(200 * i);
            information.cap_flags = GIMBAL_DEVICE_CAP_FLAGS_HAS_PITCH_AXIS |
                                    GIMBAL_DEVICE_CAP_FLAGS_HAS_YAW_AXIS |
                                    GIMBAL_DEVICE_CAP_FLAGS_CAN_POINT_LOCATION_GLOBAL;
            information.pitch_min = -1.5708f;
            information.pitch_max = 0.5236f;
            information.yaw_min = -3.1416f;
            information.yaw_max = 3.1416f;
            information.gimbal_device_id = 1;
            s.append(MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION, information);
        }
        mavlink_gimbal_manager_status_t status{};
        status.time_boot_ms = static_cast<std::uint32_t>(200 * i);
        status.flags = GIMBAL_MANAGER_FLAGS_ROLL_LOCK | GIMBAL_MANAGER_FLAGS_PITCH_LOCK;
        status.gimbal_device_id = 1;
        status.primary_control_sysid = 255;
        status.primary_control_compid = 190;
        s.append(MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS, status);
        s.noise();
    }
    return s.take();
}
