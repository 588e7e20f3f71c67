#include "stream.h"

#include "encoder.h"
#include "message_table.h"
#include "messages.h"

#include <cstring>
#include <random>

namespace {
void appendFrame(std::vector<std::uint8_t> &out, std::uint32_t msgid, const void *payload,
                 std::uint8_t length, mavlink_status_t &tx)
{
    mavlink_message_t msg{};
    msg.msgid = msgid;
    std::memcpy(msg.payload, payload, length);
    mavlink_finalize_message_buffer(&msg, 1, 154, &tx, length, length,
                                    mavlink_get_msg_entry(msgid)->crc_extra);
    std::uint8_t buf[MAVLINK_MAX_PACKET_LEN];
    const std::uint16_t n = mavlink_msg_to_send_buffer(buf, &msg);
    out.insert(out.end(), buf, buf + n);
}
} // namespace

TelemetryStream makeTelemetryStream(std::size_t reports)
{
    TelemetryStream s;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> angle(-3.1f, 3.1f);
    std::uniform_int_distribution<int> noiseByte(0, 0xFC);
    mavlink_status_t tx{};
    std::size_t noise = 0;

    for (std::size_t i = 0; i < reports; ++i) {
        if (i % 50 == 0) {
            const mavlink_heartbeat_t hb{0, 26, 8, 0, 4, 3};
            appendFrame(s.bytes, MAVLINK_MSG_ID_HEARTBEAT, &hb, sizeof hb, tx);
            ++s.frames;
        }
        mavlink_gimbal_report_t report{};
        report.delta_time = 0.02f;
        report.delta_angle_x = angle(random) * 0.01f;
        report.delta_angle_y = angle(random) * 0.01f;
        report.delta_angle_z = angle(random) * 0.01f;
        report.joint_roll = angle(random);
        report.joint_el = angle(random);
        report.joint_az = angle(random);
        report.target_system = 255;
        report.target_component = 1;
        appendFrame(s.bytes, MAVLINK_MSG_ID_GIMBAL_REPORT, &report, sizeof report, tx);
        ++s.frames;
        while (noise * 20 < s.bytes.size()) {
            s.bytes.push_back(static_cast<std::uint8_t>(noiseByte(random)));
            ++noise;
        }
    }
    return s;
}
