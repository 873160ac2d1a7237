#pragma once
// A main frame on a range folder of the test's own, with its competition
// open and its lanes served by a channel, but no line open and no timer
// running: the test hands it messages and calls its operations directly.
#include "QtApp.h"
#include "RangeFolder.h"
#include "TempFolder.h"

#include "platform/ports/SerialPort.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/ScriptedPrompter.h"
#include "range/MainFrm.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace bvtest {

class FrameOnRange : public InTempFolder {
protected:
    void SetUp() override
    {
        bvtest::QtApp();
        platform::SetPrompter(&prompter);
    }
    void TearDown() override
    {
        frame.reset();
        objects.reset();
        platform::SetPrompter(nullptr);
        platform::SetComDevice(1, "");
    }

    void Open(bvtest::RangeFolderSetup setup = {})
    {
        setup.shotsPerSeries = 2;
        bvtest::MakeRangeFolder(setup);
        objects = std::make_unique<RangeObjects>();
        ASSERT_GE(objects->language.Load(".\\BVRange.bvt", "EN"), 0);
        objects->settings.OpenConfig();
        ASSERT_EQ(objects->comp.Open(setup.competition, 1), 0);
        frame = std::make_unique<CMainFrame>(*objects);
        frame->CreateWindowFrame();
        // The channel's line has no port behind it: its lanes are served,
        // nothing is sent.
        platform::SetComDevice(1, folder.File("no-such-port"));
        frame->OpenPorts();
        frame->CheckFiles(true);
        frame->ReloadShots(true);
    }

    LaneBlock& Lane(int lane) { return frame->Lanes()[lane]; }
    ShotListRecord Stored(int relay, int lane)
    {
        ShotListRecord list;
        objects->comp.ReadShots(relay, lane, list);
        return list;
    }
    std::string Warning() { return frame->Window()->PaneText(CMainFrame::kWarningPane); }
    static std::string Log() { return bvtest::TempFolder::Read("BVLog.txt"); }

    platform::ScriptedPrompter prompter;
    std::unique_ptr<RangeObjects> objects;
    std::unique_ptr<CMainFrame> frame;
};

}  // namespace bvtest
