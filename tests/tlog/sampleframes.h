// Frames for the telemetry log tests: a HEARTBEAT and GIMBAL_DEVICE_ATTITUDE_STATUS as the codec
// frames them, a MAVLink 1 HEARTBEAT, a signed MAVLink 2 frame, and a frame of an id the codec's
// table does not hold.
#pragma once

#include "frames.h"

#include <encoder.h>
#include <gimbal_v2.h>
#include <messages.h>
#include <parser.h>

#include <QByteArray>
#include <QVector>

namespace sampleframes {
// 2026-03-01T12:00:00Z.
constexpr std::uint64_t StartUs = 1772366400ULL * 1000000;
// An id above the table's last.
constexpr std::uint32_t UnknownId = 42000;

inline QByteArray encoded(const mavlink_message_t &msg)
{
    QByteArray frame(MAVLINK_MAX_PACKET_LEN, 0);
    frame.resize(mavlink_msg_to_send_buffer(reinterpret_cast<std::uint8_t *>(frame.data()), &msg));
    return frame;
}

inline QByteArray heartbeat()
{
    mavlink_message_t msg{};
    mavlink_msg_heartbeat_pack(255, 190, &msg, MAV_TYPE_GCS, MAV_AUTOPILOT_INVALID, 0, 0, 4);
    return encoded(msg);
}

inline mavlink_gimbal_device_attitude_status_t status(int i)
{
    mavlink_gimbal_device_attitude_status_t status{};
    status.time_boot_ms = 1000u + static_cast<std::uint32_t>(i);
    status.q[0] = 1.0f;
    status.q[3] = 0.001f * static_cast<float>(i);
    status.angular_velocity_z = 0.5f;
    status.flags = GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK;
    status.gimbal_device_id = 1;
    return status;
}

inline QByteArray attitudeStatus(int i)
{
    const mavlink_gimbal_device_attitude_status_t record = status(i);
    mavlink_message_t msg{};
    mavlink_msg_gimbal_device_attitude_status_pack(1, MAV_COMP_ID_GIMBAL, &msg, &record);
    return encoded(msg);
}

inline QByteArray heartbeatV1()
{
    const mavlink_heartbeat_t record{70000, MAV_TYPE_GIMBAL, MAV_AUTOPILOT_INVALID, 0, 4, 3};
    return frames::v1(MAVLINK_MSG_ID_HEARTBEAT,
                      QByteArray(reinterpret_cast<const char *>(&record), sizeof record));
}

// The signature block (link id, 48-bit timestamp, signature) follows the checksum; the link does
// not check it.
inline QByteArray signedStatus(int i)
{
    const mavlink_gimbal_device_attitude_status_t record = status(i);
    return frames::v2(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS,
                      QByteArray(reinterpret_cast<const char *>(&record), sizeof record),
                      MAVLINK_IFLAG_SIGNED) +
           QByteArray::fromHex("07a1b2c3d4e5f6112233445566");
}

inline QByteArray unknown()
{
    return frames::v2(UnknownId, QByteArray::fromHex("0102030405"));
}

// The four frames the codec knows, in turn, and their ids.
inline std::uint32_t knownId(int i)
{
    return i % 2 ? MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS : MAVLINK_MSG_ID_HEARTBEAT;
}

inline QByteArray known(int i)
{
    switch (i % 4) {
    case 0:
        return heartbeat();
    case 1:
        return attitudeStatus(i);
    case 2:
        return heartbeatV1();
    default:
        return signedStatus(i);
    }
}
} // namespace sampleframes
