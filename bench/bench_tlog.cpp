// Telemetry logs: the cost of recording entries (against 1 % of a core at 1,000 reports a
// second), and opening, reading, indexing and seeking a log of a few hundred megabytes, made for
// the run and deleted after it, from which a 1 GB log's figures follow in proportion.
#include "recordwriter.h"
#include "tlogentry.h"
#include "tlogindex.h"
#include "tlogreader.h"

#include <encoder.h>
#include <gimbal_v2.h>
#include <messages.h>

#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {
// 2026-03-01T12:00:00Z.
constexpr std::uint64_t StartUs = 1772366400ULL * 1000000;
constexpr int HandOverBytes = 256 * 1024;
constexpr qint64 BigLogBytes = 300LL * 1024 * 1024;

// The frames of a v2 gimbal's link: an attitude status every millisecond, a heartbeat every
// second.
QByteArray frame(int i)
{
    mavlink_message_t msg{};
    if (i % 1000 == 0) {
        mavlink_msg_heartbeat_pack(1, MAV_COMP_ID_GIMBAL, &msg, MAV_TYPE_GIMBAL,
                                   MAV_AUTOPILOT_INVALID, 0, 0, 4);
    } else {
        mavlink_gimbal_device_attitude_status_t status{};
        status.time_boot_ms = static_cast<std::uint32_t>(i);
        status.q[0] = 0.9f;
        status.q[3] = 0.01f * static_cast<float>(i % 100);
        status.angular_velocity_z = 0.25f;
        status.flags = GIMBAL_DEVICE_FLAGS_ROLL_LOCK | GIMBAL_DEVICE_FLAGS_PITCH_LOCK;
        status.gimbal_device_id = 1;
        mavlink_msg_gimbal_device_attitude_status_pack(1, MAV_COMP_ID_GIMBAL, &msg, &status);
    }
    QByteArray bytes(MAVLINK_MAX_PACKET_LEN, 0);
    bytes.resize(mavlink_msg_to_send_buffer(reinterpret_cast<std::uint8_t *>(bytes.data()), &msg));
    return bytes;
}

// What the recorder will do for each frame: make its entry, gather entries, and hand them to the
// writer in chunks, written to a file here on the same thread.
void recordEntries(benchmark::State &state)
{
    QTemporaryDir dir;
    auto *file = new QFile(dir.filePath(QStringLiteral("bench.tlog")));
    file->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    RecordWriter writer(file, tlog::wholeEntries);
    const QByteArray status = frame(1);
    QByteArray pending;
    std::uint64_t time = StartUs;
    for (auto _ : state) {
        pending += tlog::entry(time += 1000, status);
        if (pending.size() >= HandOverBytes) {
            writer.write(pending);
            pending.clear();
        }
    }
    const RecordWriter::Outcome outcome = writer.close(pending);
    if (!outcome.error.isEmpty())
        state.SkipWithError(qPrintable(outcome.error));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    // Seconds of a core for a thousand entries: the share of a core at 1,000 reports a second.
    state.counters["core_at_1000_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) / 1000.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(recordEntries);

struct BigLog
{
    BigLog() : path(dir.filePath(QStringLiteral("big.tlog")))
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        QByteArray chunk;
        for (int i = 0; file.size() < BigLogBytes; ++i) {
            lastUs = StartUs + 1000ULL * static_cast<std::uint64_t>(i);
            chunk += tlog::entry(lastUs, frame(i));
            if (chunk.size() >= 1024 * 1024) {
                file.write(chunk);
                chunk.clear();
            }
        }
        file.write(chunk);
    }

    QTemporaryDir dir;
    QString path;
    std::uint64_t firstUs = StartUs;
    std::uint64_t lastUs = 0;
};

const BigLog &bigLog()
{
    static const BigLog log;
    return log;
}

void openBigLog(benchmark::State &state)
{
    bigLog();
    for (auto _ : state) {
        TlogReader reader;
        if (!reader.open(bigLog().path))
            state.SkipWithError(qPrintable(reader.errorString()));
        benchmark::DoNotOptimize(reader.lastTime());
    }
}
BENCHMARK(openBigLog)->Unit(benchmark::kMillisecond);

void readBigLog(benchmark::State &state)
{
    qint64 entries = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        TlogReader reader;
        reader.open(bigLog().path);
        TlogEntry entry;
        while (reader.next(entry))
            ++entries;
        bytes += reader.size();
    }
    state.SetItemsProcessed(entries);
    state.SetBytesProcessed(bytes);
}
BENCHMARK(readBigLog)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void buildIndex(TlogIndex &index)
{
    QEventLoop loop;
    QObject::connect(&index, &TlogIndex::completeChanged, &loop, &QEventLoop::quit);
    index.build(bigLog().path);
    loop.exec();
}

// The index is built on a thread of its own; the time is the wall clock's until it is complete.
void indexBigLog(benchmark::State &state)
{
    qint64 bytes = 0;
    for (auto _ : state) {
        TlogIndex index;
        buildIndex(index);
        bytes += QFileInfo(bigLog().path).size();
        state.counters["points"] = index.points().size();
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(indexBigLog)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// Seeks to times anywhere in the log, with the index complete (range 1) or not begun (range 0, as
// beyond the part indexed so far).
void seekBigLog(benchmark::State &state)
{
    TlogIndex index;
    if (state.range(0) == 1)
        buildIndex(index);
    TlogReader reader;
    reader.open(bigLog().path);
    const std::uint64_t span = bigLog().lastUs - bigLog().firstUs;
    TlogEntry entry;
    QRandomGenerator random(1);
    for (auto _ : state) {
        const auto to =
            static_cast<std::uint64_t>(random.generateDouble() * static_cast<double>(span));
        reader.seek(bigLog().firstUs + to, index);
        reader.next(entry);
        benchmark::DoNotOptimize(entry.timeUs);
    }
}
BENCHMARK(seekBigLog)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(seekBigLog)->Arg(0)->Unit(benchmark::kMicrosecond);
} // namespace
