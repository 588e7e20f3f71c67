// The tool's own stream to a gimbal manager, as a telemetry radio carries it: the simulated PX4
// vehicle on a pseudo-terminal opened at 57,600 baud, control taken through the manager. Counted
// on the tool's side, frame by frame as they are written: the bytes per second while the sticks
// rest, while one is held still and while one moves all the time, against the budget of 10 % of
// the radio (576 bytes/s) at rest and 30 % (1,728 bytes/s) with a stick; and the time from a
// stick's move to the set point that carries it, median and p99, over moves made at random
// moments between ticks.
#include "gimbalsimulator.h"
#include "gimbalv2link.h"
#include "ravik.h"

#include <benchmark/benchmark.h>
#include <frameparser.h>
#include <gimbal_manager.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Bytes the tool writes during `seconds`, per second.
double bytesPerSecond(Ravik &ravik, int seconds)
{
    qint64 bytes = 0;
    const auto counting =
        QObject::connect(&ravik.session(), &MavlinkSession::frameSent,
                         [&bytes](const mavlink_message_t &msg) { bytes += wireLength(msg); });
    runFor(seconds * 1000);
    QObject::disconnect(counting);
    return static_cast<double>(bytes) / seconds;
}

void BM_ManagerStream(benchmark::State &state)
{
    SimulatorOptions options;
    options.protocol = SimulatedProtocol::V2;
    options.vehicle.autopilot = SimulatedAutopilot::Px4;
    GimbalSimulator sim(options);
    for (auto _ : state) {
        Ravik ravik;
        GimbalV2Link link(ravik, GimbalV2Link::Ids{});
        ravik.switchSerial(sim.devicePath(), QStringLiteral("57600"));
        ManagerControl *control = link.managerControl();
        QElapsedTimer waited;
        waited.start();
        while (control->holder() == ManagerControl::Unknown && waited.elapsed() < 5000)
            runFor(100);
        control->takeControl();
        while (!control->inControl() && waited.elapsed() < 8000)
            runFor(100);
        if (!control->inControl()) {
            state.SkipWithError("the simulated manager did not give control");
            return;
        }
        // Settled, with the information request answered.
        runFor(2000);
        state.counters["idle_Bps"] = bytesPerSecond(ravik, 10);
        ravik.setJoystick(0.3f, 0.5f, 0.0f);
        state.counters["held_Bps"] = bytesPerSecond(ravik, 10);
        int tick = 0;
        const auto moving = QObject::connect(&ravik, &Ravik::commandDue, [&] {
            const float phase = static_cast<float>(++tick) * 0.1f;
            ravik.setJoystick(std::sin(phase), std::cos(phase), 0.0f);
        });
        state.counters["moving_Bps"] = bytesPerSecond(ravik, 10);
        QObject::disconnect(moving);

        // Moves at random moments: each alternates the pitch rate's sign, and the set point that
        // first carries the new sign ends the measurement.
        std::mt19937 random(1);
        std::uniform_int_distribution<int> pause(20, 200);
        std::vector<double> latencies;
        QElapsedTimer since;
        float wanted = 0.0f;
        const auto watching = QObject::connect(
            &ravik.session(), &MavlinkSession::frameSent, [&](const mavlink_message_t &msg) {
                if (msg.msgid != MAVLINK_MSG_ID_GIMBAL_MANAGER_SET_PITCHYAW || wanted == 0.0f)
                    return;
                const float rate = mavlink_msg_gimbal_manager_set_pitchyaw_decode(&msg).pitch_rate;
                if (rate * wanted > 0.0f) {
                    latencies.push_back(static_cast<double>(since.nsecsElapsed()) / 1e6);
                    wanted = 0.0f;
                }
            });
        for (int move = 0; move < 200; ++move) {
            runFor(pause(random));
            wanted = move % 2 == 0 ? 1.0f : -1.0f;
            since.start();
            ravik.setJoystick(0.0f, wanted, 0.0f);
            while (wanted != 0.0f && since.elapsed() < 500)
                runFor(1);
        }
        QObject::disconnect(watching);
        std::sort(latencies.begin(), latencies.end());
        if (latencies.empty()) {
            state.SkipWithError("no set point carried a move");
            return;
        }
        state.counters["latency_p50_ms"] = latencies[latencies.size() / 2];
        state.counters["latency_p99_ms"] = latencies[latencies.size() * 99 / 100];
        state.counters["moves_measured"] = static_cast<double>(latencies.size());
        ravik.setJoystick(0.0f, 0.0f, 0.0f);
    }
    state.counters["budget_idle_Bps"] = 576;
    state.counters["budget_stick_Bps"] = 1728;
    state.counters["device_messages"] = sim.manager()->tally().deviceMessagesFromGround;
}
} // namespace

BENCHMARK(BM_ManagerStream)
    ->Name("ManagerStream")
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
