// The telemetry path through the core, without the interface: reports written at the far end of
// a pseudo-terminal by a thread that stands in for the gimbal, until the controller announces the
// new angles. Each report carries its index in joint_az, so every arrival finds its send time.
#include "commandlog.h"
#include "framewriter.h"
#include "pseudoterminal.h"
#include "ravik.h"
#include "recorder.h"

#include <benchmark/benchmark.h>
#include <messages.h>

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;

void writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n > 0) {
            data += n;
            left -= n;
        } else if (n < 0 && errno == EAGAIN) {
            pollfd writable{fd, POLLOUT, 0};
            ::poll(&writable, 1, 100);
        } else if (n < 0 && errno != EINTR) {
            return;
        }
    }
}

// Sends `total` reports at `rate` per second; the reports due at each wake-up go out in one write.
void feedReports(int fd, int rate, int total, std::vector<std::atomic<std::int64_t>> &sentAt)
{
    FrameWriter writer;
    mavlink_gimbal_report_t report{};
    const auto interval = std::chrono::nanoseconds(1'000'000'000LL / rate);
    const auto start = Clock::now();
    int next = 0;
    while (next < total) {
        const auto now = Clock::now();
        const int due = std::min<int>(total, static_cast<int>((now - start) / interval) + 1);
        QByteArray bytes;
        const std::int64_t stamp = now.time_since_epoch().count();
        for (; next < due; ++next) {
            report.joint_az = static_cast<float>(next);
            bytes += writer.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report);
            sentAt[next].store(stamp, std::memory_order_release);
        }
        writeAll(fd, bytes);
        std::this_thread::sleep_until(start + interval * due);
    }
}

struct TelemetryRun
{
    int delivered = 0;
    int outOfOrder = 0;
    double seconds = 0.0;
    std::vector<double> latencyUs;
};

TelemetryRun runTelemetry(int rate, int seconds, bool recording)
{
    const int total = rate * seconds;
    TelemetryRun run;
    run.latencyUs.reserve(static_cast<std::size_t>(total));
    std::vector<std::atomic<std::int64_t>> sentAt(static_cast<std::size_t>(total));

    PseudoTerminal pty;
    Ravik ravik;
    ravik.switchSerial(pty.devicePath(), QStringLiteral("115200"));
    QTemporaryDir folder;
    Recorder recorder(ravik.session(), nullptr);
    if (recording)
        recorder.startTo(folder.filePath(QStringLiteral("telemetry.csv")));
    QEventLoop loop;
    const auto start = Clock::now();
    QObject::connect(&ravik, &Ravik::gimbalImuAngleChanged, [&] {
        const std::int64_t now = Clock::now().time_since_epoch().count();
        const int index = static_cast<int>(ravik.gimbalImuAngle().at(2).toFloat());
        if (index != run.delivered)
            ++run.outOfOrder;
        ++run.delivered;
        if (index >= 0 && index < total) {
            const std::int64_t sent =
                sentAt[static_cast<std::size_t>(index)].load(std::memory_order_acquire);
            run.latencyUs.push_back(
                std::chrono::duration<double, std::micro>(Clock::duration(now - sent)).count());
        }
        if (run.delivered == total)
            loop.quit();
    });
    QTimer::singleShot((seconds + 5) * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);

    std::thread gimbal(feedReports, pty.farEndDescriptor(), rate, total, std::ref(sentAt));
    loop.exec();
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    gimbal.join();
    return run;
}

void report(benchmark::State &state, const TelemetryRun &run, int rate, int seconds)
{
    const int total = rate * seconds;
    state.counters["sent"] = total;
    state.counters["delivered"] = run.delivered;
    state.counters["lost"] = total - run.delivered;
    state.counters["out_of_order"] = run.outOfOrder;
    state.counters["delivered_per_s"] = run.delivered / run.seconds;
    state.counters["p50_us"] = quantile(run.latencyUs, 0.5);
    state.counters["p99_us"] = quantile(run.latencyUs, 0.99);
    state.counters["max_us"] = quantile(run.latencyUs, 1.0);
}

// Runs the stream at range(0) reports per second for range(1) seconds, recording the link when
// range(2) is 1.
void BM_Telemetry(benchmark::State &state)
{
    const int rate = static_cast<int>(state.range(0));
    const int seconds = static_cast<int>(state.range(1));
    TelemetryRun run;
    for (auto _ : state)
        run = runTelemetry(rate, seconds, state.range(2) == 1);
    report(state, run, rate, seconds);
}
} // namespace

// Latency from the write at the far end to gimbalImuAngleChanged at a fast gimbal's report rate.
BENCHMARK(BM_Telemetry)
    ->Name("TelemetryLatency")
    ->Args({200, 10, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
// What recording every row costs the telemetry at 2,000 reports a second: the same stream without
// and with a recording running.
BENCHMARK(BM_Telemetry)
    ->Name("TelemetryLatencyRecording")
    ->ArgsProduct({{2000}, {10}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
// Higher and higher report rates, each for ten seconds: a rate is sustained when every report
// arrives, in order, and the stream is taken as fast as it is sent (delivered_per_s = the rate).
BENCHMARK(BM_Telemetry)
    ->Name("TelemetrySustainedRate")
    ->ArgsProduct({{5000, 20000, 80000, 160000}, {10}, {0}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
