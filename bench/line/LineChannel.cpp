// A line channel against 50 simulated target units on a pseudo-terminal at
// 9600 baud: what its threads cost, idle (every unit polled, nothing to
// send) and under a storm of shots (every unit always has one), and how long
// a shot takes from its last byte on the wire to the received queue.
//
// Counters: cpu_prot, cpu_rx, cpu_tx and cpu_line are the threads' CPU in
// percent of one core (a polling line runs in its protocol thread alone, so
// cpu_rx and cpu_tx stay 0 there); lat_* the shot latency in milliseconds;
// shots_s the shots received per second.
#include "line/BVSerCom.h"
#include "platform/system/Clock.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/system/Thread.h"
#include "tools/bvsim/lib/Bus.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kUnits = 50;
constexpr int kCom = 1;
constexpr double kWindowSeconds = 5.0;

struct Rig {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("bvbench-" + std::to_string(getpid()));
    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    CBVSerCom line;
    std::mutex lock;
    std::map<int, int64_t> sentAt;  // lane * 1000 + shot number -> counter when on the wire

    bool Start()
    {
        // The line logs into the working folder; keep it out of the caller's.
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        if (pty.Open() != 0)
            return false;
        auto master = std::make_unique<platform::SerialPort>();
        if (master->Adopt(pty.ReleaseMaster()) != 0)
            return false;
        bus = std::make_unique<bvsim::Bus>(std::move(master));
        bus->SetListener([this](const bvsim::BusEvent& e) {
            if (e.kind == bvsim::BusEvent::MessageSent && e.bytes.size() > 8) {
                std::lock_guard<std::mutex> hold(lock);
                sentAt.emplace(e.lane * 1000 + e.bytes[8], e.time);  // byte 8 of the payload: position 10, the shot
            }
        });
        for (int lane = 1; lane <= kUnits; ++lane)
            bus->AddUnit(lane);
        if (bus->Start() != 0)
            return false;
        platform::SetComDevice(kCom, pty.SlavePath());
        if (line.PortOpen(kCom, 0x81, 0) != 1)
            return false;
        for (int lane = 1; lane <= kUnits; ++lane)
            line.AddLane(lane);
        // One round of polls before measuring.
        return bus->WaitFor([&] {
            bvsim::UnitStats s;
            return bus->Stats(kUnits, s) && s.polls >= 1;
        }, 30000);
    }
    ~Rig()
    {
        line.PortClose();
        if (bus)
            bus->Stop();
        platform::SetComDevice(kCom, "");
        std::error_code ec;
        std::filesystem::current_path(previous, ec);
        std::filesystem::remove_all(folder, ec);
    }
};

void Measure(benchmark::State& state, bool storm)
{
    Rig rig;
    if (!rig.Start()) {
        state.SkipWithError("no pseudo-terminal or the line did not start");
        return;
    }
    if (storm)
        for (int lane = 1; lane <= kUnits; ++lane)
            for (int shot = 1; shot <= 250; ++shot)
                rig.bus->QueueShot(lane, shot, 1000 + shot, shot * 100, -shot * 100);
    std::vector<double> latencies;
    std::map<std::string, double> before, after;
    int shots = 0;
    for (auto _ : state) {
        before = platform::ThreadCpuByName("bvline");
        int64_t start = platform::HighResCounter();
        int64_t end = start + static_cast<int64_t>(kWindowSeconds * platform::HighResFrequency());
        while (platform::HighResCounter() < end) {
            while (auto m = rig.line.GetMsg()) {
                int64_t now = platform::HighResCounter();
                std::lock_guard<std::mutex> hold(rig.lock);
                auto it = rig.sentAt.find(m->targetAddress * 1000 + m->data[10]);
                if (it != rig.sentAt.end()) {
                    latencies.push_back(static_cast<double>(now - it->second) * 1000.0 / platform::HighResFrequency());
                    rig.sentAt.erase(it);
                }
                ++shots;
            }
            // The reader looks every quarter millisecond; its own CPU is
            // not the line's.
            timespec pause{0, 250000};
            nanosleep(&pause, nullptr);
        }
        after = platform::ThreadCpuByName("bvline");
        state.SetIterationTime(kWindowSeconds);
    }
    auto pct = [&](const std::string& suffix) {
        double sum = 0;
        for (const auto& [name, seconds] : after)
            if (suffix.empty() || (name.size() >= suffix.size() &&
                                       name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0))
                sum += seconds - before[name];
        return 100.0 * sum / kWindowSeconds;
    };
    state.counters["cpu_prot"] = pct("-prot");
    state.counters["cpu_rx"] = pct("-rx");
    state.counters["cpu_tx"] = pct("-tx");
    state.counters["cpu_line"] = pct("");
    state.counters["shots_s"] = shots / kWindowSeconds;
    if (!latencies.empty()) {
        std::sort(latencies.begin(), latencies.end());
        state.counters["lat_p50"] = latencies[latencies.size() / 2];
        state.counters["lat_p99"] = latencies[std::min(latencies.size() - 1, latencies.size() * 99 / 100)];
        state.counters["lat_max"] = latencies.back();
    }
}

void BM_LineIdle(benchmark::State& state) { Measure(state, false); }
void BM_LineShotStorm(benchmark::State& state) { Measure(state, true); }

BENCHMARK(BM_LineIdle)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_LineShotStorm)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
