// Parser throughput on realistic telemetry streams of both protocols (GIMBAL_REPORT at 50 Hz, and
// GIMBAL_DEVICE_ATTITUDE_STATUS at 10 Hz), against the floor of running the same bytes through the
// CRC alone: every byte the parser sees must pass the CRC anyway. The gimbal manager's stream
// (GIMBAL_MANAGER_STATUS at 5 Hz) is held to the device status stream's cost per byte, parsed and
// decoded as the panel does.
#include "gimbal_manager.h"
#include "gimbal_v2.h"
#include "messages.h"
#include "parser.h"
#include "stream.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {
// Streams of about the same size, so that both fit the caches alike.
const TelemetryStream &reports()
{
    static const TelemetryStream s = makeTelemetryStream(20000);
    return s;
}

const TelemetryStream &v2Statuses()
{
    static const TelemetryStream s = makeV2StatusStream(16000);
    return s;
}

const TelemetryStream &managerStatuses()
{
    static const TelemetryStream s = makeManagerStream(36000);
    return s;
}

using StreamSource = const TelemetryStream &(*)();

// Bytes/s of a run over `s`, the frames each pass delivered, and an error if any went missing.
void account(benchmark::State &state, const TelemetryStream &s, std::size_t delivered,
             const char *lost)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(s.bytes.size()));
    state.counters["frames_per_pass"] = double(delivered) / double(state.iterations());
    if (delivered != s.frames * state.iterations())
        state.SkipWithError(lost);
}

void parseStream(benchmark::State &state, StreamSource stream)
{
    const TelemetryStream &s = stream();
    mavlink_message_t msg;
    std::size_t delivered = 0;
    for (auto _ : state) {
        for (std::uint8_t b : s.bytes)
            delivered += mavlink_parse_char(b, &msg) == MAVLINK_FRAMING_OK;
        benchmark::DoNotOptimize(msg);
    }
    account(state, s, delivered, "the parser lost frames of an intact stream");
}
BENCHMARK_CAPTURE(parseStream, report, reports);
BENCHMARK_CAPTURE(parseStream, v2_status, v2Statuses);
BENCHMARK_CAPTURE(parseStream, manager, managerStatuses);

// One pass over `s` as it comes off the serial port: in reads of `read` bytes, each fed through
// the chunk parser. `onFrame` sees every good frame; returns how many there were.
template <typename OnFrame>
std::size_t readInChunks(const TelemetryStream &s, std::size_t read, OnFrame onFrame)
{
    mavlink_message_t msg;
    std::size_t delivered = 0;
    for (std::size_t at = 0; at < s.bytes.size(); at += read) {
        const std::uint8_t *p = s.bytes.data() + at;
        std::size_t left = std::min(read, s.bytes.size() - at);
        while (left != 0) {
            std::uint8_t result;
            const std::size_t n = mavlink_parse_chunk(p, left, &msg, &result);
            p += n;
            left -= n;
            if (result == MAVLINK_FRAMING_OK) {
                ++delivered;
                onFrame(msg);
            }
        }
    }
    return delivered;
}

void parseChunks(benchmark::State &state, StreamSource stream)
{
    const TelemetryStream &s = stream();
    std::size_t delivered = 0;
    for (auto _ : state)
        delivered += readInChunks(s, std::size_t(state.range(0)), [](const mavlink_message_t &) {});
    account(state, s, delivered, "the chunk parser lost frames of an intact stream");
}
BENCHMARK_CAPTURE(parseChunks, report, reports)->Arg(64)->Arg(4096);
BENCHMARK_CAPTURE(parseChunks, v2_status, v2Statuses)->Arg(64)->Arg(4096);
BENCHMARK_CAPTURE(parseChunks, manager, managerStatuses)->Arg(64)->Arg(4096);

// What the panel pays for each byte it receives: the chunk parser as above, then the decoder of
// every message it delivers.
void decode(const mavlink_message_t &msg)
{
    switch (msg.msgid) {
    case MAVLINK_MSG_ID_HEARTBEAT:
        benchmark::DoNotOptimize(mavlink_msg_heartbeat_decode(&msg));
        break;
    case MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS:
        benchmark::DoNotOptimize(mavlink_msg_gimbal_device_attitude_status_decode(&msg));
        break;
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_STATUS:
        benchmark::DoNotOptimize(mavlink_msg_gimbal_manager_status_decode(&msg));
        break;
    case MAVLINK_MSG_ID_GIMBAL_MANAGER_INFORMATION:
        benchmark::DoNotOptimize(mavlink_msg_gimbal_manager_information_decode(&msg));
        break;
    }
}

void decodeChunks(benchmark::State &state, StreamSource stream)
{
    const TelemetryStream &s = stream();
    std::size_t delivered = 0;
    for (auto _ : state)
        delivered += readInChunks(s, std::size_t(state.range(0)), decode);
    account(state, s, delivered, "the chunk parser lost frames of an intact stream");
}
BENCHMARK_CAPTURE(decodeChunks, v2_status, v2Statuses)->Arg(64)->Arg(4096);
BENCHMARK_CAPTURE(decodeChunks, manager, managerStatuses)->Arg(64)->Arg(4096);

void crcOnly(benchmark::State &state)
{
    const TelemetryStream &s = reports();
    for (auto _ : state) {
        std::uint16_t crc = MAVLINK_CRC_SEED;
        for (std::uint8_t b : s.bytes)
            crc = crc_accumulate(b, crc);
        benchmark::DoNotOptimize(crc);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(s.bytes.size()));
}
BENCHMARK(crcOnly);
} // namespace

BENCHMARK_MAIN();
