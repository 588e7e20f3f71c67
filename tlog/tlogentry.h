// The entries of a telemetry log (.tlog): for every frame of the link, received or sent, its time
// as 8 bytes of microseconds since the Unix epoch, big-endian, then the frame's bytes exactly as
// they were on the link (MAVLink 1 or 2, a signature included). The file has no header.
#pragma once

#include <mavlink_types.h>

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace tlog {
constexpr std::size_t TimeBytes = 8;
// The bytes of a frame's header that tell its length: the start byte, the payload length and, in
// MAVLink 2, the flags that say whether a signature follows.
constexpr std::size_t LengthBytes = 3;
// The longest entry: a signed MAVLink 2 frame with 255 payload bytes.
constexpr std::size_t MaxEntryBytes = TimeBytes + MAVLINK_MAX_PACKET_LEN;

// The length of the frame whose header starts at `frame` (LengthBytes there), or 0 when they are
// not the start of a frame the codec reads: no start byte, or MAVLink 2 flags it does not know.
std::size_t frameLength(const std::uint8_t *frame);

// One entry for a frame at `timeUs`; empty when `frame` is not exactly one frame by its header.
QByteArray entry(std::uint64_t timeUs, const std::uint8_t *frame, std::size_t size);
QByteArray entry(std::uint64_t timeUs, const QByteArray &frame);

// The record writer's rule for this format: the whole entries at the start of bytes[0..size),
// their number added to `count`. The bytes are entries made by entry().
qint64 wholeEntries(const char *bytes, qint64 size, qint64 &count);
} // namespace tlog
