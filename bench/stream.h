// Realistic receive streams for the codec benchmarks, each with noise bytes between frames making
// up about 5 % of the stream. Noise never holds a start byte, so every frame in a stream is intact
// and the count of delivered messages is known.
// - The report protocol: GIMBAL_REPORT frames as MAVLink 2 and one HEARTBEAT for every 50 reports
//   (one second at the gimbal's 50 Hz).
// - The gimbal protocol v2: GIMBAL_DEVICE_ATTITUDE_STATUS frames with their extension fields and
//   one HEARTBEAT for every 10 statuses (one second at the device's 10 Hz).
// - The gimbal manager of an autopilot: GIMBAL_MANAGER_STATUS frames with a ground station in
//   primary control, one autopilot HEARTBEAT for every 5 statuses (one second at the manager's
//   5 Hz) and one GIMBAL_MANAGER_INFORMATION for every 50, as a panel that asks again would get.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TelemetryStream
{
    std::vector<std::uint8_t> bytes;
    std::size_t frames = 0;
};

TelemetryStream makeTelemetryStream(std::size_t reports);
TelemetryStream makeV2StatusStream(std::size_t statuses);
TelemetryStream makeManagerStream(std::size_t statuses);
