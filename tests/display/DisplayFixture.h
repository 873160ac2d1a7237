#pragma once
// A display's working folder with its settings files, range folders written
// the way the range control writes them, and a frame that records what the
// loop asked of it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "display/loop/DisplayLoop.h"
#include "display/settings/VisSettings.h"
#include "foundation/comp/DataComp.h"
#include "foundation/settings/CompSettings.h"
#include "platform/files/FileSystem.h"

namespace bvtest {

class RecordingPort : public DisplayPort {
public:
    std::vector<std::string> calls;
    int profile = 1;
    bool byCountdown = false;
    bool exitNext = false;
    View view = kNoView;

    SelectResult RunSelectDialog(bool, CBVConfig&, CBVConfig&) override
    {
        calls.push_back("select");
        return {profile, exitNext, byCountdown};
    }
    void ShowError(const std::string& key) override { calls.push_back("error " + key); }
    void SetTitle(const std::string& title) override { this->title = title; }
    void SetFullScreen(bool on) override { calls.push_back(on ? "fullscreen" : "windowed"); }
    void Minimise() override {}
    void CloseFrame() override { calls.push_back("close"); }
    void RestoreWindow() override {}
    void StartTimer(int) override {}
    void StopTimer() override {}
    View ActiveView() override { return view; }
    bool ShowPictureView() override
    {
        view = kPictureView;
        return true;
    }
    bool ShowHtmlPage(const std::string& file) override
    {
        view = kHtmlView;
        calls.push_back("html " + file);
        return true;
    }
    void SetViewStarted(bool) override {}
    void ExportNettcast() override {}
    void LayoutPicture() override { calls.push_back("layout"); }
    void RedrawAll() override {}
    void DrawHeader() override {}
    void DrawClockLine() override {}
    void LayoutPanel(CVisTarget&) override {}
    void DrawPanel(CVisTarget&) override {}
    void DrawMessageScreen() override { calls.push_back("message"); }
    void HideCursorTick() override {}
    std::string title;
};

// One target slot of a picture.
struct Slot {
    int lane;
    int event = 1;
    int viewType = 0;
};

// The display's own files in the working folder.
struct DisplayFiles {
    static void Event(int n, const std::string& name, const std::string& folder)
    {
        CBVConfig s;
        s.Open(".\\BVVis.bvc", 1);
        s.WriteInt(3, 1, 530, n > s.ReadInt(3, 1, 530, 0) ? n : s.ReadInt(3, 1, 530, 0));
        s.WriteInt(3, n, 640, 1);
        s.WriteString(3, n, 500, name.c_str());
        s.WriteLong(3, n, VisItems::kEventFolderKey, folder);
    }
    // Profile 1 with the pictures and their display times.
    static void Profile(const std::vector<std::pair<int, int>>& places)
    {
        CBVConfig p;
        p.Open(".\\Profil.bvc", 1);
        p.WriteInt(31, 1, 530, 1);
        p.WriteString(31, 1, 500, "Finale");
        p.WriteInt(31, 1, 531, static_cast<int>(places.size()));
        for (size_t k = 0; k < places.size(); ++k) {
            p.WriteInt(500, 1, static_cast<int>(k + 1), places[k].first);
            p.WriteInt(501, 1, static_cast<int>(k + 1), places[k].second);
        }
    }
    static void Picture(int b, const std::string& name, const std::vector<Slot>& targetSlots,
                        std::vector<std::pair<ConfigIntItem, int>> options = {})
    {
        CBVConfig p;
        p.Open(".\\Pict" + std::to_string(b) + ".bvc", 1);
        p.WriteString(31, 1, 500, name.c_str());
        p.WriteInt(31, 1, 530, static_cast<int>(targetSlots.size()));
        for (size_t i = 0; i < targetSlots.size(); ++i) {
            int n = static_cast<int>(i + 1);
            p.WriteInt(503, 1, n, targetSlots[i].lane);
            p.WriteInt(502, 1, n, targetSlots[i].event);
            p.WriteInt(500, n, 640, targetSlots[i].viewType);
        }
        for (auto& [item, value] : options)
            WriteItem(p, item, value);
    }
};

// A range folder as the range control leaves it: its settings naming the
// competition, the competition with a program, cards and shots.
class RangeFolder {
public:
    explicit RangeFolder(std::string folder, int comp = 1) : folder(std::move(folder)), comp(comp)
    {
        platform::CreateFolders(this->folder);
        CBVConfig rs;
        rs.Open(this->folder + "\\BVLeder.bvc", 1);
        rs.WriteInt(1, 1, 680, comp);
        // One line channel serving lanes 1-100.
        rs.WriteString(1, 1, 530, std::string("\x01\x01\x64").c_str());
        Program(1, {10, 10}, 10);
        data.SetBasePath(this->folder);
        Open(comp);
    }

    void Open(int competition)
    {
        data.Close();
        comp = competition;
        platform::CreateFolders(folder + "\\Comp" + std::to_string(comp));
        ASSERT_EQ(data.Open(comp, 1), 0);
        WriteItem(data.CompConfig(), CompSettings::kProgram, 1);
        for (int lane = 1; lane <= 100; ++lane)
            WriteItem(data.CompConfig(), CompSettings::LaneActive(lane), 1);
        data.SetCurrentProgram(1);
    }
    void SwitchTo(int competition)
    {
        Open(competition);
        CBVConfig rs;
        rs.Open(folder + "\\BVLeder.bvc", 1);
        rs.WriteInt(1, 1, 680, competition);
    }

    // Program p: shots per series, shots per line, sub-sum definitions.
    void Program(int p, const std::vector<int>& series, int perLine, const std::vector<std::string>& subs = {})
    {
        CBVConfig prog;
        prog.Open(folder + "\\Program.BVC", 1);
        for (int s = 1; s <= 28; ++s)
            prog.WriteInt(25, p, s + 1, s <= static_cast<int>(series.size()) ? series[s - 1] : 0);
        prog.WriteInt(29, p, 550, perLine);
        prog.WriteInt(29, p, 533, static_cast<int>(subs.size()));
        for (size_t k = 0; k < subs.size(); ++k)
            prog.WriteString(34, p, static_cast<int>(k + 2), subs[k].c_str());
    }

    // The card of (relay, lane); the lane shows it from now on.
    void Card(int relay, int lane, int valueSystem = 1, int status = 0)
    {
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = static_cast<int16_t>(relay);
        card.lane = static_cast<int16_t>(lane);
        card.valueSystem = static_cast<uint8_t>(valueSystem);
        card.targetType = 1;
        card.resultState = static_cast<uint8_t>(status);
        ASSERT_GE(data.GetCard(card, 1), 0);
    }
    // Series state of a lane, as the range control writes it.
    void Series(int lane, int series)
    {
        ActiveRecord a;
        ASSERT_EQ(data.ReadActive(lane, a), 0);
        a.seriesState = static_cast<uint8_t>(series);
        data.ActiveFile().WriteRecKey(&a);
        data.ActiveFile().ReadRecKey(&a);
        data.ActiveFile().IncrementField(data.ActiveFile().LastKeyHit(), 8, 2);
    }
    // A shot stored as the intake stores it: shown (0x80), counting in its
    // series up to the program's planned shots.
    void Shot(int relay, int lane, int series, int value, uint16_t extraFlags = 0, int limit = 10)
    {
        ShotRecord s;
        std::memset(&s, 0, sizeof s);
        s.state = CDataComp::kSlotShot;
        s.flags = static_cast<uint16_t>(CDataComp::kFlagFromTarget | 0x80 | extraFlags);
        s.value = static_cast<int16_t>(value);
        s.series = static_cast<uint8_t>(series);
        s.temperature = 12700;
        ASSERT_GT(data.AddShot(relay, lane, s, nullptr, limit, 0), 0);
    }
    void Final(int relay, int cardField)
    {
        ActiveRecord a;
        CDataComp::ClearActive(a);
        a.lane = 0;
        a.relay = static_cast<int16_t>(relay);
        a.cardRec = static_cast<int16_t>(cardField);
        data.ActiveFile().WriteRecKey(&a);
    }

    std::string folder;
    int comp;
    CDataComp data;
};

// A display over a working folder: tick by tick, every interval one tick.
struct Display {
    RecordingPort port;
    CVisData data;
    DisplayLoop loop{data, port};

    explicit Display(LoopIntervals intervals = {1, 1, 1, 10}) { loop.OnFirstFocus(intervals); }
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            loop.DisplayTick();
    }
    CVisPicture& Picture() { return *data.current; }
    CVisTarget& Target(int k) { return *data.current->targets.at(static_cast<size_t>(k)); }
};

}  // namespace bvtest
