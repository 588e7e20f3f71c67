// The rate-command stream as the gimbal sees it: commands read at the far end of a
// pseudo-terminal while the controller runs its 20 ms timer. CommandCadence opens a bare terminal
// (the report protocol's GIMBAL_CONTROL); CommandCadenceV2 opens a simulated gimbal protocol v2
// device, whose log holds the GIMBAL_DEVICE_SET_ATTITUDE commands addressed to it.
#include "commandlog.h"
#include "framereader.h"
#include "gimbalsimulator.h"
#include "gimbalv2link.h"
#include "pseudoterminal.h"
#include "ravik.h"

#include <benchmark/benchmark.h>
#include <messages.h>

#include <QEventLoop>
#include <QTimer>

namespace {
void runFor(int seconds)
{
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void report(benchmark::State &state, const CommandLog &log, int badFrames)
{
    state.counters["frames"] = log.commands();
    state.counters["frames_per_s"] = log.rate();
    state.counters["p50_ms"] = log.intervalMs(0.5);
    state.counters["p99_ms"] = log.intervalMs(0.99);
    state.counters["min_ms"] = log.minIntervalMs();
    state.counters["max_ms"] = log.intervalMs(1.0);
    state.counters["seq_gaps"] = log.sequenceGaps();
    state.counters["bad_frames"] = badFrames;
}

void BM_CommandCadence(benchmark::State &state)
{
    const int seconds = static_cast<int>(state.range(0));
    CommandLog log;
    FrameReader reader;
    for (auto _ : state) {
        PseudoTerminal pty;
        Ravik ravik;
        QObject::connect(&pty, &PseudoTerminal::received, [&] {
            const auto arrival = CommandLog::Clock::now();
            for (const mavlink_message_t &msg : reader.feed(pty.takeReceived())) {
                if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_CONTROL)
                    log.record(msg.seq, arrival);
            }
        });
        ravik.switchSerial(pty.devicePath(), QStringLiteral("115200"));
        if (!ravik.serialIsOpen()) {
            state.SkipWithError("the pseudo-terminal did not open");
            return;
        }
        runFor(seconds);
    }
    report(state, log, reader.badFrames());
}

void BM_CommandCadenceV2(benchmark::State &state)
{
    const int seconds = static_cast<int>(state.range(0));
    SimulatorOptions options;
    options.protocol = SimulatedProtocol::V2;
    GimbalSimulator sim(options);
    for (auto _ : state) {
        Ravik ravik;
        GimbalV2Link v2(ravik, GimbalV2Link::Ids{});
        ravik.switchSerial(sim.devicePath(), QStringLiteral("115200"));
        if (!ravik.serialIsOpen()) {
            state.SkipWithError("the simulator's terminal did not open");
            return;
        }
        runFor(seconds);
    }
    if (sim.commands().commands() == 0)
        state.SkipWithError("no GIMBAL_DEVICE_SET_ATTITUDE reached the device: the tool did not "
                            "take it for a v2 gimbal");
    report(state, sim.commands(), sim.badFrames());
}
} // namespace

BENCHMARK(BM_CommandCadence)
    ->Name("CommandCadence")
    ->Arg(30)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(BM_CommandCadenceV2)
    ->Name("CommandCadenceV2")
    ->Arg(30)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
