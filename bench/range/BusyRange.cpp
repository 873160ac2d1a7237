// A busy range: the range control with 50 simulated target units on one
// serial bus at 9600 baud, every unit always holding another shot, so the
// bus carries shots as fast as it can. Measured over BV_BUSY_SECONDS
// (60 unless set): the CPU the range control uses (its user-interface thread
// and its line's threads, in percent of one core) and, per shot, the time
// from the unit's last byte on the wire until the shot is on the card in
// Shot.BVD, written through and exported to the exchange folder.
//
// Counters: cpu_bvleder, cpu_ui, cpu_line in percent of one core; shots_s
// stored per second; lat_* in milliseconds.
#include "foundation/files/BVConfig.h"
#include "foundation/settings/CompOptions.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/system/Clock.h"
#include "platform/files/FileSystem.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/system/Thread.h"
#include "platform/ui/FrameWnd.h"
#include "platform/files/ProfileStore.h"
#include "platform/ui/Prompter.h"
#include "range/ui/MainFrm.h"
#include "tools/bvsim/lib/Bus.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include "bench/OffscreenBench.h"
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
constexpr int kShotsPerUnit = 250;

// Message boxes and beeps go nowhere.
class Silent : public platform::Prompter {
public:
    int Message(const platform::MessageRequest&) override { return platform::IDOK; }
    void Beep(platform::BeepKind) override {}
    bool ChooseFile(const platform::FileRequest&, std::string&) override { return false; }
    bool ChooseFolder(const platform::FolderRequest&, std::string&) override { return false; }
    bool ChooseColour(platform::ColourRequest&) override { return false; }
    bool ChoosePrinter(platform::PrinterChoice&) override { return false; }
};

// The frame, noting when each shot is on its card: a stored shot moves its
// lane's card counter and redraws the lane's row.
class TimedFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    std::mutex lock;
    std::map<int, int64_t> storedAt;  // lane * 1000 + shot number

private:
    void RedrawRow(int lane) override
    {
        CMainFrame::RedrawRow(lane);
        const LaneBlock& b = Objects().lanes[lane];
        if (b.cardCounter == m_counterSeen[lane])
            return;
        m_counterSeen[lane] = b.cardCounter;
        int64_t now = platform::HighResCounter();
        std::lock_guard<std::mutex> hold(lock);
        for (const ShotRecord& shot : b.shots.shots)
            if (shot.state == CDataComp::kSlotShot)
                storedAt.emplace(lane * 1000 + shot.shotNumber, now);
    }

    std::map<int, int32_t> m_counterSeen;
};

struct Rig {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path folder =
        std::filesystem::path(BV_BINARY_DIR) / ("busy-range-" + std::to_string(getpid()));
    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    std::unique_ptr<RangeObjects> objects;
    std::unique_ptr<TimedFrame> frame;
    Silent silent;
    platform::MemoryProfileStore profile;
    std::mutex lock;
    std::map<int, int64_t> sentAt;

    // A range folder of one competition on lanes 1 to 50, its results sent
    // to the exchange folder after every shot.
    bool MakeRange()
    {
        std::filesystem::create_directories(folder / "BV");
        std::filesystem::current_path(folder);
        platform::CopyFile(std::string(BV_BINARY_DIR) + "/lang/BVRange.bvt", "BVRange.bvt");
        CBVConfig range;
        range.Open(".\\BVLeder.bvc", 1);
        CRangeSettings::WriteChannel(range, 0, {1, 1, kUnits});
        WriteItem(range, RangeItems::kCurrentCompetition, 1);
        CRangeSettings::WriteExchangeFolder(range, ".\\BV\\");
        CBVConfig programs;
        programs.Open(".\\Program.BVC", 1);
        programs.WriteString(29, 1, 500, "Busy");
        programs.WriteInt(29, 1, 531, 1);
        programs.WriteInt(25, 1, 2, kShotsPerUnit);
        platform::CreateFolders(CompSettings::FolderOf(".\\", 1));
        CBVConfig comp;
        comp.Open(CompSettings::FileOf(".\\", 1), 1);
        WriteItem(comp, CompSettings::kProgram, 1);
        WriteItem(comp, CompSettings::kCurrentSeries, 1);
        CompOptions options;
        options.Set(CompOptions::SendResultsAutomatically, true);
        CompSettings::WriteOptions(comp, options);
        for (int lane = 1; lane <= kUnits; ++lane)
            WriteItem(comp, CompSettings::LaneActive(lane), 1);
        return range.IsOpen() && comp.IsOpen();
    }

    bool Start()
    {
        if (!MakeRange() || pty.Open() != 0)
            return false;
        auto master = std::make_unique<platform::SerialPort>();
        if (master->Adopt(pty.ReleaseMaster()) != 0)
            return false;
        bus = std::make_unique<bvsim::Bus>(std::move(master));
        bus->SetListener([this](const bvsim::BusEvent& e) {
            if (e.kind == bvsim::BusEvent::MessageSent && e.bytes.size() > 8 && e.bytes[1] == 'C') {
                std::lock_guard<std::mutex> hold(lock);
                sentAt.emplace(e.lane * 1000 + e.bytes[8], e.time);  // payload byte 8: the shot number
            }
        });
        for (int lane = 1; lane <= kUnits; ++lane)
            bus->AddUnit(lane);
        // The units are on the range's competition and its relay 1, running.
        bus->SetTarget(0, 1, 1, 1, 1);
        if (bus->Start() != 0)
            return false;
        platform::SetComDevice(1, pty.SlavePath());
        platform::SetPrompter(&silent);
        // Nobody sees the range control's own question box either: a start-up
        // question, should one come, is cancelled at once (the range as it is)
        // rather than after the minute an unseen question waits.
        setenv("BV_UNSEEN_ANSWER_MS", "0", 0);
        // A range that chose its language: the first start would ask.
        platform::SetProfile(&profile);
        profile.WriteString("Context", "Language", "EN");

        objects = std::make_unique<RangeObjects>();
        objects->settings.LoadProfile();
        objects->language.Load(".\\BVRange.bvt", "EN");
        frame = std::make_unique<TimedFrame>(*objects);
        frame->m_clockPort = 0;
        frame->CreateWindowFrame()->show();
        frame->OnSetFocus();
        return Pump([&] { return frame->m_tick.startState == TickSchedule::StartState::Running; }, 10.0) &&
               frame->Objects().ports[0].state == PortState::Open;
    }

    // Runs the range control's event loop until test holds or the time is up.
    template <typename Test> bool Pump(Test test, double seconds)
    {
        int64_t end = platform::HighResCounter() + static_cast<int64_t>(seconds * platform::HighResFrequency());
        while (!test()) {
            if (platform::HighResCounter() >= end)
                return false;
            // The event loop sleeps until the range control's next event.
            QEventLoop loop;
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return true;
    }

    ~Rig()
    {
        frame.reset();
        objects.reset();
        if (bus)
            bus->Stop();
        platform::SetComDevice(1, "");
        platform::SetPrompter(nullptr);
        platform::SetProfile(nullptr);
        std::error_code ec;
        std::filesystem::current_path(previous, ec);
        std::filesystem::remove_all(folder, ec);
    }
};

void BM_BusyRange(benchmark::State& state)
{
    StartOffscreenApplication<QApplication>();
    const double window = SecondsFromEnvironment("BV_BUSY_SECONDS", 60.0);

    Rig rig;
    if (!rig.Start()) {
        state.SkipWithError("no pseudo-terminal, or the range control did not start");
        return;
    }
    // The start-up question waits until every unit has told its lane state
    // (about 7.5 s for 50 units on one 9600-baud bus) and, the units being on
    // the range's competition and relay, closes without asking. The shots
    // come after it, so that they do not hold those answers back behind 250
    // shots each.
    if (!rig.Pump([&] { return rig.frame->Questions().Asking() == AskState::None; }, 30.0)) {
        state.SkipWithError("the start-up question did not end");
        return;
    }
    for (int shot = 1; shot <= kShotsPerUnit; ++shot)
        for (int lane = 1; lane <= kUnits; ++lane)
            rig.bus->QueueShot(lane, shot, 900 + shot % 200, shot * 150, -shot * 100);
    // The first shots on the cards make their shot lists; measure after them.
    rig.Pump([&] {
        std::lock_guard<std::mutex> hold(rig.frame->lock);
        return rig.frame->storedAt.size() >= static_cast<size_t>(kUnits);
    }, 30.0);
    {
        std::lock_guard<std::mutex> hold(rig.frame->lock);
        rig.frame->storedAt.clear();
    }
    {
        std::lock_guard<std::mutex> hold(rig.lock);
        rig.sentAt.clear();
    }

    double uiBefore = 0, lineBefore = 0, uiAfter = 0, lineAfter = 0;
    for (auto _ : state) {
        uiBefore = UiThreadCpu();
        lineBefore = platform::ThreadCpuSeconds("bvline");
        rig.Pump([] { return false; }, window);
        uiAfter = UiThreadCpu();
        lineAfter = platform::ThreadCpuSeconds("bvline");
        state.SetIterationTime(window);
    }

    std::vector<double> latencies;
    {
        std::lock_guard<std::mutex> a(rig.lock);
        std::lock_guard<std::mutex> b(rig.frame->lock);
        for (const auto& [key, stored] : rig.frame->storedAt) {
            auto sent = rig.sentAt.find(key);
            if (sent != rig.sentAt.end())
                latencies.push_back(static_cast<double>(stored - sent->second) * 1000.0 /
                                    platform::HighResFrequency());
        }
    }
    double ui = 100.0 * (uiAfter - uiBefore) / window;
    double line = 100.0 * (lineAfter - lineBefore) / window;
    state.counters["cpu_ui"] = ui;
    state.counters["cpu_line"] = line;
    state.counters["cpu_bvleder"] = ui + line;
    state.counters["shots_s"] = static_cast<double>(latencies.size()) / window;
    if (!latencies.empty()) {
        std::sort(latencies.begin(), latencies.end());
        double sum = 0;
        for (double l : latencies)
            sum += l;
        state.counters["lat_mean"] = sum / static_cast<double>(latencies.size());
        state.counters["lat_p50"] = latencies[latencies.size() / 2];
        state.counters["lat_p99"] = latencies[std::min(latencies.size() - 1, latencies.size() * 99 / 100)];
        state.counters["lat_max"] = latencies.back();
    }
}

BENCHMARK(BM_BusyRange)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
