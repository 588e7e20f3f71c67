// A realistic receive stream for the codec benchmarks: GIMBAL_REPORT frames as MAVLink 2, one
// HEARTBEAT for every 50 reports (one second at the gimbal's 50 Hz), and noise bytes between
// frames making up about 5 % of the stream. Noise never holds a start byte, so every frame in the
// stream is intact and the count of delivered messages is known.
#pragma once

#include <cstdint>
#include <vector>

struct TelemetryStream
{
    std::vector<std::uint8_t> bytes;
    std::size_t frames = 0;
};

TelemetryStream makeTelemetryStream(std::size_t reports);
