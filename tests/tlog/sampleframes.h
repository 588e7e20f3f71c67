// Frames for the telemetry log tests, in turn: a HEARTBEAT and a GIMBAL_DEVICE_ATTITUDE_STATUS as
// the codec frames them, the same HEARTBEAT as MAVLink 1, and the status signed.
#pragma once

#include "frames.h"

#include <encoder.h>
#include <gimbal_v2.h>
#include <messages.h>

namespace sampleframes {
// 2026-03-01T12:00:00Z.
constexpr std::uint64_t StartUs = 1772366400ULL * 1000000;
// An id that the codec's table does not hold.
constexpr std::uint32_t UnknownId = 42000;

inline QByteArray known(int i)
{
    mavlink_gimbal_device_attitude_status_t status{};
    status.time_boot_ms = static_cast<std::uint32_t>(i);
    mavlink_message_t msg{};
    if (i % 2)
        mavlink_msg_gimbal_device_attitude_status_pack(1, MAV_COMP_ID_GIMBAL, &msg, &status);
    else
        mavlink_msg_heartbeat_pack(255, 190, &msg, MAV_TYPE_GCS, MAV_AUTOPILOT_INVALID, 0, 0, 4);
    QByteArray frame(MAVLINK_MAX_PACKET_LEN, 0);
    frame.resize(mavlink_msg_to_send_buffer(reinterpret_cast<std::uint8_t *>(frame.data()), &msg));
    const QByteArray payload = frame.mid(MAVLINK_NUM_HEADER_BYTES, msg.len);
    if (i % 4 == 2)
        return frames::v1(MAVLINK_MSG_ID_HEARTBEAT, payload);
    // A signature block (link id, timestamp, signature) after the checksum.
    if (i % 4 == 3)
        return frames::v2(msg.msgid, payload, MAVLINK_IFLAG_SIGNED) +
               QByteArray::fromHex("07a1b2c3d4e5f6112233445566");
    return frame;
}
} // namespace sampleframes
