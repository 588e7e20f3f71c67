// Parser throughput on a realistic telemetry stream, against the floor of running the same bytes
// through the CRC alone: every byte the parser sees must pass the CRC anyway.
#include "parser.h"
#include "stream.h"

#include <benchmark/benchmark.h>

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
