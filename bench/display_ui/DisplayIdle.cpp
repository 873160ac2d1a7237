// BVVis's cost on the audience PC: the display's frame (window, timer, loop,
// picture view) showing a list of 100 lanes with places, measured over
// BV_VIS_SECONDS (60 unless set) twice: with nothing changing on the range,
// then with a shot a second stored by `bvtool shots add` (another process).
// The settings are the display's defaults (shots looked at every 500 ms).
//
// Counters: cpu_idle and cpu_shots, the user-interface thread's CPU in
// percent of one core; shots, the shots stored during the second window.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include "bench/OffscreenBench.h"
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <time.h>

#include "display/settings/VisSettings.h"
#include "display/ui/DisplayText.h"
#include "display/ui/DlgSelect.h"
#include "display/ui/MainFrm.h"
#include "foundation/files/BVConfig.h"
#include "platform/files/ProfileStore.h"
#include "platform/system/Clock.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"

namespace {

const std::string kBvtool = BV_BINARY_DIR "/tools/bvtool/bvtool";

bool Tool(const std::string& args)
{
    return std::system((kBvtool + " " + args + " >/dev/null 2>&1").c_str()) == 0;
}

void Pump(double seconds)
{
    const int64_t end =
        platform::HighResCounter() + static_cast<int64_t>(seconds * platform::HighResFrequency());
    while (platform::HighResCounter() < end) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

struct Rig {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("bv_display_idle_" + std::to_string(getpid()));
    platform::MemoryProfileStore profile;
    std::unique_ptr<CMainFrame> frame;

    bool Make()
    {
        std::filesystem::create_directories(folder / "R1");
        std::filesystem::current_path(folder);
        std::error_code ec;
        std::filesystem::copy_file(BV_BINARY_DIR "/lang/BVView.bvt", "BVView.bvt", ec);
        if (!Tool("comp create R1 1 1-100") || !Tool("cfg set R1/BVLeder.bvc 1 1 680 1"))
            return false;
        CBVConfig settings, profiles, picture;
        settings.Open(".\\BVVis.bvc", 1);
        settings.WriteInt(3, 1, 530, 1);
        settings.WriteInt(3, 1, 640, 1);
        settings.WriteString(3, 1, 500, "Bane 1");
        settings.WriteLong(3, 1, VisItems::kEventFolderKey, "R1");
        picture.Open(".\\Pict1.bvc", 1);
        picture.WriteString(31, 1, 500, "Liste");
        picture.WriteInt(31, 1, 530, 100);
        for (int lane = 1; lane <= 100; ++lane) {
            picture.WriteInt(503, 1, lane, lane);
            picture.WriteInt(502, 1, lane, 1);
            picture.WriteInt(500, lane, 640, 2);
        }
        WriteItem(picture, VisItems::kShowPlace, 1);
        profiles.Open(".\\Profil.bvc", 1);
        profiles.WriteInt(31, 1, 530, 1);
        profiles.WriteString(31, 1, 500, "Hele banen");
        profiles.WriteInt(31, 1, 531, 1);
        profiles.WriteInt(500, 1, 1, 1);
        profiles.WriteInt(501, 1, 1, 60);
        return true;
    }

    bool Start()
    {
        if (!Make())
            return false;
        DisplayText::SetProfile(&profile);
        frame = std::make_unique<CMainFrame>();
        // The select dialog starts profile 1 as soon as it is up.
        frame->onSelectDialog = [](CDlgSelect& d) { QTimer::singleShot(50, &d, [&d] { d.OnStart(); }); };
        platform::FrameWnd* window = frame->CreateWindowFrame();
        platform::SetMainWindow(window);
        window->resize(1280, 720);
        window->show();
        frame->OnFirstFocus();
        Pump(3.0);
        return frame->Data().current && frame->Data().current->targets.size() == 100;
    }

    ~Rig()
    {
        frame.reset();
        platform::SetMainWindow(nullptr);
        DisplayText::SetProfile(nullptr);
        std::error_code ec;
        std::filesystem::current_path(previous, ec);
        std::filesystem::remove_all(folder, ec);
    }
};

void BM_DisplayIdle(benchmark::State& state)
{
    StartOffscreenApplication<QApplication>();
    const double window = SecondsFromEnvironment("BV_VIS_SECONDS", 60.0);

    Rig rig;
    if (!rig.Start()) {
        state.SkipWithError("the display did not start on its 100-lane picture");
        return;
    }
    double idle = 0, busy = 0;
    std::atomic<int> stored{0};
    for (auto _ : state) {
        double before = UiThreadCpu();
        Pump(window);
        idle = UiThreadCpu() - before;

        // Another process stores a shot a second, lane after lane.
        std::atomic<bool> stop{false};
        std::thread shooter([&] {
            for (int n = 0; !stop; ++n) {
                char line[80];
                std::snprintf(line, sizeof line, "1 %d 1 9.%d %d.000 %d.000\n", n % 100 + 1, n % 10, n % 30 - 15,
                              15 - n % 25);
                if (FILE* f = std::fopen("shot.txt", "w")) {
                    std::fputs(line, f);
                    std::fclose(f);
                }
                if (Tool("shots add R1 1 shot.txt"))
                    ++stored;
                for (int i = 0; i < 10 && !stop; ++i)
                    platform::SleepMs(100);
            }
        });
        before = UiThreadCpu();
        Pump(window);
        busy = UiThreadCpu() - before;
        stop = true;
        shooter.join();
        state.SetIterationTime(2 * window);
    }
    state.counters["cpu_idle"] = 100.0 * idle / window;
    state.counters["cpu_shots"] = 100.0 * busy / window;
    state.counters["shots"] = stored.load();
}

BENCHMARK(BM_DisplayIdle)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
