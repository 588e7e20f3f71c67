#include "groundstation.h"

#include <command.h>
#include <encoder.h>
#include <messages.h>
#include <v2device.h>

#include <QDeadlineTimer>
#include <QSignalSpy>

#include <limits>

GroundStation::GroundStation(const QString &path)
{
    m_port.setPortName(path);
    m_port.open(QIODevice::ReadWrite);
    m_port.setBaudRate(115200);
}

void GroundStation::send(const mavlink_message_t &msg)
{
    std::uint8_t buf[MAVLINK_MAX_PACKET_LEN];
    const std::uint16_t n = mavlink_msg_to_send_buffer(buf, &msg);
    m_port.write(reinterpret_cast<const char *>(buf), n);
}

void GroundStation::heartbeat()
{
    mavlink_message_t msg{};
    mavlink_msg_heartbeat_pack(255, 190, &msg, MAV_TYPE_GCS, MAV_AUTOPILOT_INVALID, 0, 0, 4);
    send(msg);
}

void GroundStation::rateOn(int axis, float rate)
{
    const float NaN = std::numeric_limits<float>::quiet_NaN();
    const float q[4] = {NaN, NaN, NaN, NaN};
    float r[3] = {0, 0, 0};
    r[axis] = rate;
    mavlink_message_t msg{};
    mavlink_msg_gimbal_device_set_attitude_pack(
        255, 190, &msg, V2Device::SystemId, MAV_COMP_ID_GIMBAL,
        GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK |
            GIMBAL_DEVICE_FLAGS_YAW_IN_VEHICLE_FRAME,
        q, r[0], r[1], r[2]);
    send(msg);
}

void GroundStation::requestInformation()
{
    mavlink_message_t msg{};
    mavlink_msg_command_long_pack(
        255, 190, &msg, V2Device::SystemId, MAV_COMP_ID_GIMBAL, MAV_CMD_REQUEST_MESSAGE, 0,
        float(MAVLINK_MSG_ID_GIMBAL_DEVICE_INFORMATION), 0, 0, 0, 0, 0, 0);
    send(msg);
}

bool GroundStation::waitFor(std::uint32_t msgid, mavlink_message_t *out, const Accept &accept,
                            int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QSignalSpy arrived(&m_port, &QIODevice::readyRead);
    while (true) {
        for (const mavlink_message_t &msg : m_reader.feed(m_port.readAll()))
            m_inbox.push_back(msg);
        while (!m_inbox.empty()) {
            const mavlink_message_t msg = m_inbox.front();
            m_inbox.pop_front();
            if (msg.msgid == msgid && (!accept || accept(msg))) {
                *out = msg;
                return true;
            }
        }
        if (deadline.hasExpired() || !arrived.wait(int(deadline.remainingTime())))
            return false;
    }
}

bool GroundStation::waitForStatus(
    mavlink_gimbal_device_attitude_status_t *status,
    const std::function<bool(const mavlink_gimbal_device_attitude_status_t &)> &accept)
{
    mavlink_message_t msg{};
    const bool got = waitFor(
        MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, &msg, [&](const mavlink_message_t &m) {
            return accept(mavlink_msg_gimbal_device_attitude_status_decode(&m));
        });
    *status = mavlink_msg_gimbal_device_attitude_status_decode(&msg);
    return got;
}

bool GroundStation::hearsAnything(int ms)
{
    QSignalSpy arrived(&m_port, &QIODevice::readyRead);
    return m_port.bytesAvailable() > 0 || arrived.wait(ms);
}
