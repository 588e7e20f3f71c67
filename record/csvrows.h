// The recording's file format: CSV with one header row, then one row for each received report and
// heartbeat and each sent command, and for the messages of a v2 gimbal both ways. Every row has
// the host time in microseconds since the recording started, the kind of row (report, heartbeat,
// command; v2_status, v2_information, command_ack, manager_information and manager_status
// received; v2_command, command_long, manager_setpoint and sent_heartbeat sent), the sender's
// system and component id and the frame's sequence number, then the fields of its message; the
// columns of the other kinds stay empty.
#pragma once

#include <QByteArray>

#include <cstdint>

struct mavlink_message_t;

namespace csvrows {
QByteArray header();
// The row for a message of one of the kinds above; empty for any other message.
QByteArray row(std::int64_t microseconds, const mavlink_message_t &msg, bool sent);
// The record writer's rule for this format: the whole lines at the start of bytes[0..size), their
// number added to `count`.
qint64 wholeRows(const char *bytes, qint64 size, qint64 &count);
} // namespace csvrows
