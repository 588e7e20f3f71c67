// The recording's file format: CSV with one header row, then one row for each received report and
// heartbeat and each sent command. Every row has the host time in microseconds since the
// recording started, the kind of row (report, heartbeat, command), the sender's system and
// component id and the frame's sequence number, then the fields of its message; the columns of
// the other kinds stay empty.
#pragma once

#include <QByteArray>

#include <cstdint>

struct mavlink_message_t;

namespace csvrows {
QByteArray header();
// The row for a received report or heartbeat, or a sent command; empty for any other message.
QByteArray row(std::int64_t microseconds, const mavlink_message_t &msg, bool sent);
} // namespace csvrows
