// The rate-command stream as the gimbal sees it: commands read at the far end of a
// pseudo-terminal while the controller runs its 20 ms timer.
#include "commandlog.h"
#include "framereader.h"
#include "pseudoterminal.h"
#include "ravik.h"

#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTimer>

namespace {
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
            for (const mavlink_message_t &msg : reader.feed(pty.takeReceived()))
                log.record(msg.seq, arrival);
        });
        ravik.switchSerial(pty.devicePath(), QStringLiteral("115200"));
        if (!ravik.serialIsOpen()) {
            state.SkipWithError("the pseudo-terminal did not open");
            return;
        }
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
    state.counters["frames"] = log.commands();
    state.counters["frames_per_s"] = log.rate();
    state.counters["p50_ms"] = log.intervalMs(0.5);
    state.counters["p99_ms"] = log.intervalMs(0.99);
    state.counters["min_ms"] = log.minIntervalMs();
    state.counters["max_ms"] = log.intervalMs(1.0);
    state.counters["seq_gaps"] = log.sequenceGaps();
    state.counters["bad_frames"] = reader.badFrames();
}
} // namespace

BENCHMARK(BM_CommandCadence)
    ->Name("CommandCadence")
    ->Arg(30)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
