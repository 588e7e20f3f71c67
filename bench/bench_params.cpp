// Parameter transfers through the real controller, v2 link and parameter client at the simulated
// gimbal over a pseudo-terminal, the simulator pacing the line at the baud rate:
// - ParamDownload/BAUD/LOSS%: 500 parameters read, complete and exact, against the line's own
//   limit, the PARAM_VALUE frames' bytes at baud / 10 bytes a second;
// - ParamWrite/BAUD: 50 changed parameters written and confirmed, against the round trips' limit,
//   each PARAM_SET and its echo one after the other at the line's rate. The tool's share of the
//   line (half of it, the 20 ms command included) is a second limit, shown beside it.
// Each prints its time, the limit and their ratio.
#include "gimbalsimulator.h"
#include "gimbalv2link.h"
#include "paramclient.h"
#include "paramsources.h"
#include "ravik.h"

#include <benchmark/benchmark.h>
#include <gimbal_v2.h>
#include <mavlink_types.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <memory>

namespace {
constexpr int ParamCount = 500;
constexpr int Writes = 50;
constexpr int BitsPerByte = 10;
constexpr int FrameOverhead = MAVLINK_NUM_HEADER_BYTES + MAVLINK_NUM_CHECKSUM_BYTES;
constexpr int ValueFrameBytes = FrameOverhead + MAVLINK_MSG_ID_PARAM_VALUE_LEN;
constexpr int SetFrameBytes = FrameOverhead + MAVLINK_MSG_ID_PARAM_SET_LEN;
constexpr int CommandFrameBytes = FrameOverhead + MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE_LEN;

// The tool at the simulated gimbal, reading its parameters.
struct Rig
{
    Rig(int baud, double loss)
        : sim([&] {
              SimulatorOptions options;
              options.protocol = SimulatedProtocol::V2;
              options.baud = baud;
              options.paramLoss = loss;
              options.paramCount = ParamCount;
              return options;
          }()),
          v2(ravik, {}), client(ravik.session(), 255, 190)
    {
        feedParamComponents(client, v2, ravik.session());
        client.setActive(true);
        ravik.switchSerial(sim.devicePath(), QString::number(baud));
    }

    // Runs the loop until `done` holds or a minute has passed.
    static bool runUntil(const std::function<bool()> &done)
    {
        QElapsedTimer waited;
        waited.start();
        QEventLoop loop;
        while (!done() && waited.elapsed() < 60000)
            loop.processEvents(QEventLoop::WaitForMoreEvents, 50);
        return done();
    }

    ParamComponent *downloaded()
    {
        const bool ended = runUntil([this] {
            return !client.answered().empty() && client.answered().front()->hasValues();
        });
        return ended ? client.answered().front() : nullptr;
    }

    // Whether the values read are the simulator's, each once.
    bool exact(const ParamComponent &gimbal)
    {
        const SimParamSet &held = sim.params(MAV_COMP_ID_GIMBAL)->params();
        if (gimbal.values().size() != held.size())
            return false;
        for (int i = 0; i < held.size(); ++i) {
            const ParamValue &value = gimbal.values()[i];
            if (value.name().toStdString() != held.at(i).name ||
                float(value.text().toDouble()) != float(held.at(i).value))
                return false;
        }
        return true;
    }

    GimbalSimulator sim;
    Ravik ravik;
    GimbalV2Link v2;
    ParamClient client;
};

void BM_ParamDownload(benchmark::State &state)
{
    const int baud = static_cast<int>(state.range(0));
    const double loss = static_cast<double>(state.range(1)) / 100.0;
    const double limit = double(ParamCount) * ValueFrameBytes / (baud / BitsPerByte);
    double seconds = 0;
    for (auto _ : state) {
        Rig rig(baud, loss);
        ParamComponent *gimbal = rig.downloaded();
        if (!gimbal || gimbal->download().state() != ParamDownload::State::Complete ||
            !rig.exact(*gimbal)) {
            state.SkipWithError("the download did not end complete and exact");
            return;
        }
        seconds += gimbal->download().elapsed(rig.client.now()) / 1000.0;
        state.SetIterationTime(gimbal->download().elapsed(rig.client.now()) / 1000.0);
    }
    seconds /= double(state.iterations());
    state.counters["seconds"] = seconds;
    state.counters["limit_s"] = limit;
    state.counters["ratio"] = seconds / limit;
}

void BM_ParamWrite(benchmark::State &state)
{
    const int baud = static_cast<int>(state.range(0));
    const double bytesPerSecond = baud / BitsPerByte;
    const double roundTrips = Writes * (SetFrameBytes + ValueFrameBytes) / bytesPerSecond;
    // Half the line for everything the tool sends; what the commands leave of it for the writes.
    const double shareLeft = bytesPerSecond / 2 - CommandFrameBytes * 50.0;
    const double shareLimit = Writes * SetFrameBytes / shareLeft + ValueFrameBytes / bytesPerSecond;
    double seconds = 0;
    for (auto _ : state) {
        Rig rig(baud, 0.0);
        ParamComponent *gimbal = rig.downloaded();
        if (!gimbal) {
            state.SkipWithError("the download did not end");
            return;
        }
        // The padding parameters after the gimbal's own take any value of their type.
        QVector<ParamValue> changed;
        for (int i = gimbal->values().size() - Writes; i < gimbal->values().size(); ++i) {
            const ParamValue &value = gimbal->values()[i];
            changed.append(*ParamValue::parse(
                value.name(), QString::number(value.text().toDouble() + 1), value.type()));
        }
        QElapsedTimer took;
        took.start();
        rig.client.write(gimbal, changed);
        const bool ended = Rig::runUntil([gimbal] { return !gimbal->writing(); });
        const double elapsed = took.nsecsElapsed() / 1e9;
        const QVector<ParamWriter::Item> &items = gimbal->writer()->items();
        if (!ended || std::any_of(items.begin(), items.end(), [](const ParamWriter::Item &item) {
                return item.outcome != ParamWriter::Outcome::Confirmed;
            })) {
            state.SkipWithError("not every write was confirmed");
            return;
        }
        seconds += elapsed;
        state.SetIterationTime(elapsed);
    }
    seconds /= double(state.iterations());
    state.counters["seconds"] = seconds;
    state.counters["limit_s"] = roundTrips;
    state.counters["ratio"] = seconds / roundTrips;
    state.counters["share_limit_s"] = shareLimit;
    state.counters["share_ratio"] = seconds / shareLimit;
}
} // namespace

BENCHMARK(BM_ParamDownload)
    ->Name("ParamDownload")
    ->ArgNames({"baud", "loss%"})
    ->Args({115200, 0})
    ->Args({115200, 10})
    ->Args({57600, 0})
    ->Args({57600, 10})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_ParamWrite)
    ->Name("ParamWrite")
    ->ArgName("baud")
    ->Arg(115200)
    ->Arg(57600)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
