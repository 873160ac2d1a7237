// Any bytes as a message from a target unit, on any of the channels, with a
// competition open so that shots reach the shot file: the dispatcher checks
// and handles it without reading or writing outside the message, the lanes
// and the competition's files, and no message ever counts as coming from
// lane 0.
#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"
#include "fuzz/FuzzScratch.h"
#include "platform/files/FileSystem.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/run/RangeControl.h"
#include "range/run/TickSchedule.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include <unistd.h>

namespace {

// The window's side, with no window: the question box's state is the
// fuzzer's to choose.
class NoWindow : public FrameServices, private QuestionBox {
public:
    AskState asking = AskState::None;

    void ShowStatusKey(const char*) override {}
    void ShowStatusFor(const char*, int) override {}
    void ShowStatusText(const std::string&) override {}
    void ShowStatusKeys(const char*, const char*, const char*) override {}
    void Message(const std::string&) override {}
    void Beep(bool) override {}
    void Busy(bool) override {}
    void RedrawRow(int) override {}
    void RefreshPanel() override {}
    void RankLanes() override {}
    void RefreshViews() override {}
    void OnLightMsg(const LineMessage&) override {}
    void OnUnitMsg(const LineMessage&) override {}
    QuestionBox& Questions() override { return *this; }

private:
    AskState Asking() const override { return asking; }
    void Ask(AskState) override {}
    void CloseAsk() override {}
    void OnAskCountdown() override {}
    void AskProgress() override {}
    bool AskCountdownEnd() override { return true; }
};

// A range folder in the working folder: program 1 of two series of five
// shots, competition 1 on it with lanes 1..100 taking part.
void MakeRangeFolder()
{
    CBVConfig programs;
    programs.Open(".\\Program.BVC", 1);
    programs.WriteString(ProgramItems::kProgramSection, 1, ProgramItems::kKeyName, "Fuzz");
    programs.WriteInt(ProgramItems::kProgramSection, 1, ProgramItems::kKeySerieCount, 2);
    programs.WriteInt(ProgramItems::kProgramSection, 1, ProgramItems::kKeySize, 10);
    for (int series = 1; series <= 2; ++series)
        programs.WriteInt(ProgramItems::kSerieShots, 1, series + 1, 5);
    CBVConfig range;
    range.Open(".\\BVLeder.bvc", 1);
    WriteItem(range, RangeItems::kCurrentCompetition, 1);
    if (platform::CreateFolders(CompSettings::FolderOf(".\\", 1)) != 0)
        std::abort();
    CBVConfig comp;
    comp.Open(CompSettings::FileOf(".\\", 1), 1);
    WriteItem(comp, CompSettings::kProgram, 1);
    WriteItem(comp, CompSettings::kCurrentSeries, 1);
    for (int lane = 1; lane <= 100; ++lane)
        WriteItem(comp, CompSettings::LaneActive(lane), 1);
}

RangeObjects* g_objects;
NoWindow* g_window;
RangeControl* g_range;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // A folder of its own, with the log off: refused messages are logged.
    fuzz::AbsoluteArguments(argc, argv);
    static const fuzz::ScratchFolder scratch("fuzz-target-message");
    if (chdir(scratch.Path().c_str()) != 0)
        std::abort();
    std::ofstream("BVLog.ini") << "[BVLog]\r\nLevel=200\r\n";
    MakeRangeFolder();
    g_objects = new RangeObjects;
    g_objects->settings.OpenConfig();
    if (g_objects->comp.Open(1, 1) != 0)
        std::abort();
    g_window = new NoWindow;
    g_range = new RangeControl(*g_objects, *g_window, *new TickSchedule);
    PortTable& ports = g_objects->ports;
    const int channels[4][3] = {{1, 1, 40}, {2, 30, 60}, {12, 61, 100}, {10, 90, 100}};
    for (int k = 0; k < 4; ++k) {
        ports[k].type = static_cast<uint8_t>(channels[k][0]);
        ports[k].firstLane = static_cast<uint8_t>(channels[k][1]);
        ports[k].lastLane = static_cast<uint8_t>(channels[k][2]);
    }
    g_objects->lanes.AssignChannels(ports);
    g_range->files.CheckFiles(true);
    g_range->files.ReloadShots(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    LaneTable& lanes = g_objects->lanes;
    int channel = data[0] & 3;
    // Some lanes take part, so the handlers that look at it run both ways.
    for (int lane = 1; lane <= 100; ++lane)
        lanes[lane].enabled = static_cast<uint8_t>((lane + data[1]) & 1);
    g_window->asking = static_cast<AskState>(data[1] >> 6);
    auto m = std::make_unique<LineMessage>();
    std::memset(m.get(), 0, sizeof *m);
    size_t n = size - 2 < sizeof m->data ? size - 2 : sizeof m->data;
    std::memcpy(m->data, data + 2, n);
    g_range->dispatcher.Dispatch(channel, *m);
    fuzz::Check(lanes[0].lineStatus == LineStatus::kNoContact && lanes[0].sensitivity == 0 &&
                lanes[0].liftPosition == 0);
    return 0;
}
