#pragma once
// The range control's logic on a range folder of the test's own, with its
// competition open and its lanes served by a channel, but no line open, no
// timer running and no window: the window's side is a recording stand-in.
// The test hands it messages and calls its operations directly.
#include "RangeFolder.h"
#include "RecordingServices.h"
#include "TempFolder.h"

#include "platform/ports/SerialPort.h"
#include "platform/ui/ScriptedPrompter.h"
#include "range/base/RangeObjects.h"
#include "range/run/RangeControl.h"
#include "range/run/TickSchedule.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace bvtest {

class RangeOnFolder : public InTempFolder {
protected:
    void SetUp() override { platform::SetPrompter(&prompter); }
    void TearDown() override
    {
        Close();
        platform::SetPrompter(nullptr);
        platform::SetComDevice(1, "");
    }

    void Open(RangeFolderSetup setup = {})
    {
        setup.shotsPerSeries = 2;
        MakeRangeFolder(setup);
        objects = std::make_unique<RangeObjects>();
        ASSERT_GE(objects->language.Load(".\\BVRange.bvt", "EN"), 0);
        objects->settings.OpenConfig();
        ASSERT_EQ(objects->comp.Open(setup.competition, 1), 0);
        tick = TickSchedule();
        services = std::make_unique<RecordingServices>(objects->language, notes);
        range = std::make_unique<RangeControl>(*objects, *services, tick);
        // The channel's line has no port behind it: its lanes are served,
        // nothing is sent.
        platform::SetComDevice(1, folder.File("no-such-port"));
        range->channels.OpenPorts();
        range->files.CheckFiles(true);
        range->files.ReloadShots(true);
    }
    void Close()
    {
        range.reset();
        services.reset();
        objects.reset();
    }

    LaneBlock& Lane(int lane) { return objects->lanes[lane]; }
    ShotListRecord Stored(int relay, int lane)
    {
        ShotListRecord list;
        objects->comp.ReadShots(relay, lane, list);
        return list;
    }
    std::string Warning() { return services->warning; }
    static std::string Log() { return TempFolder::Read("BVLog.txt"); }

    platform::ScriptedPrompter prompter;
    CallLog notes;
    TickSchedule tick;
    std::unique_ptr<RangeObjects> objects;
    std::unique_ptr<RecordingServices> services;
    std::unique_ptr<RangeControl> range;
};

}  // namespace bvtest
