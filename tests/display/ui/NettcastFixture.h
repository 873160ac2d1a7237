#pragma once
// A display folder with a Nettcast picture of two events and twelve
// targets over two range folders, and the display loop running it in this
// process: the export draws its status line into a picture window.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FtpServer.h"
#include "QtApp.h"
#include "TempFolder.h"
#include "display/draw/NettcastExport.h"
#include "platform/system/Clock.h"
#include "tests/display/DisplayFixture.h"
#include "PaintFixture.h"

namespace bvtest {

inline const std::string kFtpPassword = "s3cret-Pa55";

// The targets of the picture in list order: (event, lane).
inline const std::vector<std::pair<int, int>> kNettcastSlots = {
    {1, 1}, {1, 2}, {2, 1}, {1, 3}, {2, 2}, {2, 3}, {1, 4}, {2, 4}, {1, 5}, {2, 5}, {1, 6}, {2, 6},
};

// One shot as the intake stores it, with its place in micrometres.
inline void StoreShot(RangeFolder& range, int relay, int lane, int value, int32_t x, int32_t y)
{
    ShotRecord s;
    std::memset(&s, 0, sizeof s);
    s.state = CDataComp::kSlotShot;
    s.flags = static_cast<uint16_t>(CDataComp::kFlagFromTarget | 0x80);
    s.value = static_cast<int16_t>(value);
    s.x = x;
    s.y = y;
    s.series = 1;
    s.temperature = 12700;
    ASSERT_GT(range.data.AddShot(relay, lane, s, nullptr, 100, 0), 0);
}

// The display loop in this process with the export on a picture window.
struct NettcastDisplay {
    class Port : public RecordingPort {
    public:
        std::function<void()> onExport;
        void ExportNettcast() override
        {
            calls.push_back("export");
            onExport();
        }
    };
    CVisData data;
    PictureWindow window{480, 120};
    PicturePainter painter{data, window};
    NettcastExport exporter{data, painter};
    Port port;
    DisplayLoop loop{data, port};

    NettcastDisplay()
    {
        port.view = DisplayPort::kPictureView;
        port.onExport = [this] { exporter.ExportNettcast(); };
        data.drawRect = {0, 0, 480, 120};
        exporter.limits = {2, 3, 5};
        loop.OnFirstFocus({1, 1, 1, 10});
    }
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            loop.DisplayTick();
    }
    // Ticks until the test holds, at most n; false when it never did.
    bool TickUntil(const std::function<bool()>& test, int n)
    {
        for (int i = 0; i < n; ++i) {
            if (test())
                return true;
            loop.DisplayTick();
        }
        return test();
    }
    NettcastState& State() { return data.nettcast; }
    CVisTarget& Target(int k) { return *data.current->targets.at(static_cast<size_t>(k)); }
};

class NettcastTest : public InTempFolder {
protected:
    void SetUp() override
    {
        QtApp();
        r1 = std::make_unique<RangeFolder>("R1");
        r2 = std::make_unique<RangeFolder>("R2");
        // R1's program names its first two series.
        {
            CBVConfig prog;
            prog.Open("R1\\Program.BVC", 1);
            prog.WriteString(8, 1, 2, "Pr\xF8ve");
            prog.WriteString(8, 1, 3, "Hovedskyting");
        }
        // R1's shooters come from its exchange folder.
        platform::CreateFolders("R1/X");
        {
            CBVConfig rs;
            rs.Open("R1\\BVLeder.bvc", 1);
            rs.WriteLong(1, 1, 570, "X");
        }
        Shooter(1, 1, 7, "Kari Nordmann", "Brevandi", "Senior", "V55");
        Shooter(1, 5, 8, "Ola \xC5s", "Sk\xF8yen", "", "");
        for (int lane = 1; lane <= 6; ++lane) {
            r1->Card(1, lane);
            r1->Series(lane, 1);
        }
        for (int lane = 1; lane <= 6; ++lane) {
            r2->Card(lane <= 3 ? 2 : 3, lane);
            r2->Series(lane, 1);
        }
        StoreShot(*r1, 1, 1, 1000, 1200, -3400);
        StoreShot(*r1, 1, 1, 900, 15000, 20000);
        // Far beyond what three bytes hold.
        StoreShot(*r1, 1, 2, 0, 9000000, -8400000);
        StoreShot(*r1, 1, 5, 1000, -500, 700);
        StoreShot(*r2, 2, 2, 800, 40000, 0);
        DisplayFiles::Event(1, "Hold 1: 50m/Fin.", "R1");
        DisplayFiles::Event(2, "Bane 2", "R2");
    }

    // A shooter of the range's results program, by relay and lane.
    static void Shooter(int relay, int lane, int start, const std::string& name, const std::string& club,
                        const std::string& cls, const std::string& cat)
    {
        char file[32];
        std::snprintf(file, sizeof file, "R1/X/H1R%03d%02d.txt", relay, lane);
        TempFolder::Write(file, "[Def]\r\nStartNr=" + std::to_string(start) + "\r\n");
        std::snprintf(file, sizeof file, "R1/X/N%05d.txt", start);
        TempFolder::Write(file, "[Shooter]\r\nName=" + name + "\r\nClub=" + club + "\r\n[H1]\r\nClass=" + cls +
                                    "\r\nCat=" + cat + "\r\n");
    }

    // The Nettcast account of BVVis.bvc.
    static void Account(const std::string& local, const std::string& remote, const std::string& server,
                        const std::string& user = "range", const std::string& password = kFtpPassword)
    {
        CBVConfig s;
        s.Open(".\\BVVis.bvc", 1);
        s.WriteLong(31, 1, VisItems::kNettcastFolderKey, local);
        s.WriteLong(31, 1, VisItems::kFtpFolderKey, remote);
        s.WriteString(31, 1, 501, server.c_str());
        s.WriteString(31, 1, 502, user.c_str());
        s.WriteString(31, 1, 503, password.c_str());
    }

    // Picture 1, a Nettcast picture of the twelve targets (faces, or list
    // rows with view type 2), alone in profile 1.
    static void Picture(int format, int displaySeconds = 60, int viewType = 0)
    {
        std::vector<Slot> panels;
        for (const auto& [event, lane] : kNettcastSlots)
            panels.push_back({lane, event, viewType});
        DisplayFiles::Picture(1, "Nettcast", panels,
                              {{VisItems::kPictType, CVisPicture::kNettcast}, {VisItems::kNettcastFormat, format}});
        DisplayFiles::Profile({{1, displaySeconds}});
    }

    // The stems of the two events.
    static std::string Stem(int event) { return event == 1 ? "Hold_1__50m_Fin_" : "Bane_2"; }
    static std::string TargetFile(int event, int lane, const char* extension)
    {
        return Stem(event) + "_" + std::to_string(lane) + extension;
    }

    std::unique_ptr<RangeFolder> r1, r2;
};

// True as soon as test() holds, looking every 50 ms and once more at the end
// of the ms milliseconds.
inline bool Within(const std::function<bool()>& test, int ms)
{
    for (int waited = 0; waited < ms; waited += 50) {
        if (test())
            return true;
        platform::SleepMs(50);
    }
    return test();
}

}  // namespace bvtest
