// Parser throughput on a realistic telemetry stream, against the floor of running the same bytes
// through the CRC alone: every byte the parser sees must pass the CRC anyway.
#include "parser.h"
#include "stream.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {
const TelemetryStream &stream()
{
    static const TelemetryStream s = makeTelemetryStream(20000);
    return s;
}

void parseStream(benchmark::State &state)
{
    const TelemetryStream &s = stream();
    mavlink_message_t msg;
    std::size_t delivered = 0;
    for (auto _ : state) {
        for (std::uint8_t b : s.bytes)
            delivered += mavlink_parse_char(b, &msg) == MAVLINK_FRAMING_OK;
        benchmark::DoNotOptimize(msg);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(s.bytes.size()));
    state.counters["frames_per_pass"] = double(delivered) / double(state.iterations());
    if (delivered != s.frames * state.iterations())
        state.SkipWithError("the parser lost frames of an intact stream");
}
BENCHMARK(parseStream);

// The same stream as it comes off the serial port: in reads of state.range(0) bytes, each fed
// through the chunk parser.
void parseChunks(benchmark::State &state)
{
    const TelemetryStream &s = stream();
    const auto read = static_cast<std::size_t>(state.range(0));
    mavlink_message_t msg;
    std::size_t delivered = 0;
    for (auto _ : state) {
        for (std::size_t at = 0; at < s.bytes.size(); at += read) {
            const std::uint8_t *p = s.bytes.data() + at;
            std::size_t left = std::min(read, s.bytes.size() - at);
            while (left != 0) {
                std::uint8_t result;
                const std::size_t n = mavlink_parse_chunk(p, left, &msg, &result);
                p += n;
                left -= n;
                delivered += result == MAVLINK_FRAMING_OK;
            }
        }
        benchmark::DoNotOptimize(msg);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(s.bytes.size()));
    state.counters["frames_per_pass"] = double(delivered) / double(state.iterations());
    if (delivered != s.frames * state.iterations())
        state.SkipWithError("the chunk parser lost frames of an intact stream");
}
BENCHMARK(parseChunks)->Arg(64)->Arg(4096);

void crcOnly(benchmark::State &state)
{
    const TelemetryStream &s = stream();
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
