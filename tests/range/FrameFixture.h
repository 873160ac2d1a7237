#pragma once
// The range control as the program runs it (application, frame and window on
// the offscreen platform), in a range folder of the test's own, with a
// scripted prompter and a profile in memory. Ticks run by hand unless a test
// lets the event loop run the frame's timer.
#include "tests/support/EventLoop.h"
#include "QtApp.h"
#include "RangeFolder.h"
#include "TempFolder.h"

#include "platform/files/ProfileStore.h"
#include "platform/ports/SerialPort.h"
#include "platform/ui/ScriptedPrompter.h"
#include "range/ui/BVLederApp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace bvtest {

class RangeFrameTest : public InTempFolder {
protected:
    void SetUp() override
    {
        QtApp();
        platform::SetProfile(&profile);
        // A range that chose its language; a test of the first start clears it.
        profile.WriteString("Context", "Language", "EN");
        platform::SetPrompter(&prompter);
        // Any free port: tests run side by side.
        setenv("BV_CLOCK_PORT", "0", 1);
    }
    void TearDown() override
    {
        app.reset();
        objects.reset();
        platform::SetPrompter(nullptr);
        platform::SetProfile(nullptr);
        unsetenv("BV_CLOCK_PORT");
        platform::SetComDevice(1, "");
    }

    // The program starts: its window shows and takes the focus.
    void Start(const std::string& commandLine = "BVLeder")
    {
        objects = std::make_unique<RangeObjects>();
        app = std::make_unique<CBVLederApp>(*objects);
        app->InitInstance(commandLine);
    }

    CMainFrame& Frame() { return *app->Frame(); }
    LaneBlock& Lane(int lane) { return Frame().Objects().lanes[lane]; }
    void Ticks(int n)
    {
        for (int i = 0; i < n && !Frame().Closed(); ++i)
            Frame().OnTick();
    }
    // Lets the program run on its own timer until the test holds.
    bool RunUntil(const std::function<bool()>& test, int ms = 30000)
    {
        return bvtest::RunEventsUntil(test, ms, 10);
    }
    static std::string Log() { return TempFolder::Read("BVLog.txt"); }
    std::string RangeText(const ConfigTextItem& item)
    {
        CBVConfig range;
        range.Open(".\\BVLeder.bvc", 0);
        return ReadItem(range, item);
    }

    platform::MemoryProfileStore profile;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<RangeObjects> objects;
    std::unique_ptr<CBVLederApp> app;
};

}  // namespace bvtest
