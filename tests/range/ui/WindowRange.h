#pragma once
// BVLeder's window on a range folder of the test's own: the program as it
// runs (application, frame, views) on the offscreen platform, with target
// units simulated by bvsim on a pseudo-terminal for COM1 when a test wants
// shots, and a frame whose series operations are noted instead of done when
// a test wants to see what the panel and the list call.
#include "tests/range/FrameFixture.h"
#include "tests/range/RangeFolder.h"
#include "ModalDriver.h"

#include "foundation/comp/DataComp.h"
#include "foundation/settings/CompSettings.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/system/TextTable.h"
#include "platform/ui/FrameWnd.h"
#include "range/ui/views/FormList.h"
#include "range/ui/views/FormPanel.h"
#include "range/ui/views/FormTab.h"
#include "tools/bvsim/lib/Bus.h"

#include <QApplication>
#include <QImage>
#include <QKeySequence>
#include <QTest>

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace bvtest {

// A frame that notes the series operations, the welcome and the
// simulation dialog as "name args...".
class NotingFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    std::vector<std::string> calls;

    void SendClockMode(int lane) override { Note("clock", lane); }
    void ShootSeries(int kind, int index, bool ask) override { Note("shoot", kind, index, ask); }
    void MarkSeries(int kind, int index, bool ask) override { Note("mark", kind, index, ask); }
    void MarkTwinLane(int kind, int index) override { Note("twin", kind, index); }
    void OnNewShooter() override { Note("shooter"); }
    void Welcome(int lane) override { Note("welcome", lane); }
    void OnSimulate(int lane) override { Note("simulate", lane); }

    // With noteCommands the window's commands only note their handler.
    bool noteCommands = false;
    std::vector<std::string> commands;
    void RunCommand(const Command& command, int id) override
    {
        if (noteCommands)
            commands.push_back(command.handler);
        else
            CMainFrame::RunCommand(command, id);
    }

private:
    template <typename... T>
    void Note(const char* what, T... values)
    {
        std::string s = what;
        ((s += " " + std::to_string(values)), ...);
        calls.push_back(s);
    }
};

class WindowRangeTest : public RangeFrameTest {
protected:
    void TearDown() override
    {
        if (bus)
            bus->Stop();
        if (noting)
            platform::SetMainWindow(nullptr);
        noting.reset();
        RangeFrameTest::TearDown();
        platform::SetTextTable(nullptr);
    }

    // The range folder of the setup with simulated units on lanes first..last
    // (none when last is 0), which start set to the competition and relay 1.
    void StartUnits(int first, int last, int competition = 1)
    {
        ASSERT_EQ(pty.Open(), 0);
        auto master = std::make_unique<platform::SerialPort>();
        ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
        bus = std::make_unique<bvsim::Bus>(std::move(master));
        for (int lane = first; lane <= last; ++lane)
            ASSERT_TRUE(bus->AddUnit(lane));
        bus->SetTarget(0, 1, 1, 1, competition);
        bus->SetListener([this](const bvsim::BusEvent& e) {
            std::lock_guard<std::mutex> hold(m_heard);
            if (e.kind == bvsim::BusEvent::Command || e.kind == bvsim::BusEvent::Broadcast)
                heard.push_back(e);
        });
        ASSERT_EQ(bus->Start(), 0);
        platform::SetComDevice(1, pty.SlavePath());
    }

    // The program as BVLederApp starts it.
    void StartProgram()
    {
        Start();
        ASSERT_TRUE(RunUntil([&] { return Frame().m_tick.startState == TickSchedule::StartState::Running; }, 10000));
    }

    // The same with the noting frame in the app's place.
    void StartNoting(const std::string& language = "EN")
    {
        objects = std::make_unique<RangeObjects>();
        objects->settings.LoadProfile();
        objects->settings.profile.language = language;
        ASSERT_GE(objects->language.Load(".\\BVRange.bvt", language), 0);
        platform::SetTextTable(&objects->language);
        noting = std::make_unique<NotingFrame>(*objects);
        platform::FrameWnd* window = noting->CreateWindowFrame();
        platform::SetMainWindow(window);
        window->setGeometry(0, 0, 900, 600);
        window->show();
        noting->OnSetFocus();
        ASSERT_TRUE(RunUntil([&] { return noting->m_tick.startState == TickSchedule::StartState::Running; }, 10000));
    }

    CMainFrame& Main() { return noting ? *noting : Frame(); }
    LaneBlock& Lane(int lane) { return objects->lanes[lane]; }
    CFormList& List() { return *Main().Views().List(); }
    CFormPanel& Panel() { return *Main().Views().Panel(); }
    CFormTab& Tabs() { return *Main().Views().TabView(); }

    std::vector<bvsim::BusEvent> Heard()
    {
        std::lock_guard<std::mutex> hold(m_heard);
        return heard;
    }
    // Commands heard by a unit (lane) or by all (lane 0) with this command byte.
    int HeardCount(int lane, int command)
    {
        int n = 0;
        for (const bvsim::BusEvent& e : Heard())
            n += e.lane == lane && e.bytes.size() > 1 && e.bytes[1] == command;
        return n;
    }

    // The shots stored on a lane's card, as another program reads them.
    int StoredShots(int relay, int lane)
    {
        CDataComp reader;
        if (reader.Open(1, 0) != 0)
            return 0;
        ShotListRecord list;
        if (reader.ReadShots(relay, lane, list) != 0)
            return 0;
        int n = 0;
        for (const ShotRecord& s : list.shots)
            n += s.state == CDataComp::kSlotShot;
        return n;
    }

    // A command as the menu gives it, from the event loop, until every
    // dialog queued was answered and none is left open.
    void Command(int id, ModalDriver& dialogs)
    {
        QMetaObject::invokeMethod(
            Main().Window(), [this, id] { Main().Window()->RouteCommand(id); }, Qt::QueuedConnection);
        ASSERT_TRUE(RunUntil([&] { return dialogs.Done() && !QApplication::activeModalWidget(); }, 30000))
            << "command " << id;
        QCoreApplication::processEvents();
    }
    // A key pressed on the window.
    void Press(const char* keys)
    {
        QKeyCombination key = QKeySequence::fromString(QString::fromLatin1(keys))[0];
        QWidget* window = Main().Window();
        QApplication::setActiveWindow(window);
        window->activateWindow();
        QCoreApplication::processEvents();
        QTest::keyClick(window, key.key(), key.keyboardModifiers());
        QCoreApplication::processEvents();
    }
    // A window or dialog as it shows now, in the build's screens folder.
    static void Picture(QWidget& w, const std::string& name)
    {
        QCoreApplication::processEvents();
        std::filesystem::create_directories(BV_BINARY_DIR "/screens");
        EXPECT_TRUE(w.grab().toImage().save(QString::fromStdString(std::string(BV_BINARY_DIR "/screens/") + name)))
            << name;
    }

    // The window as a picture, in the build's screens folder.
    void Screenshot(const std::string& name)
    {
        QCoreApplication::processEvents();
        QImage shot = Main().Window()->grab().toImage();
        std::filesystem::create_directories(BV_BINARY_DIR "/screens");
        std::string path = std::string(BV_BINARY_DIR "/screens/") + name;
        ASSERT_TRUE(shot.save(QString::fromStdString(path), "PNG")) << path;
    }

    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    std::unique_ptr<NotingFrame> noting;
    std::vector<bvsim::BusEvent> heard;
    std::mutex m_heard;
};

}  // namespace bvtest
