#pragma once
// BVVis's frame as the program makes it (frame, window, picture view) on
// the offscreen platform, in a display folder of the test's own, with a
// profile in memory, a scripted prompter and a recording HTML pane. The
// frame runs on its own timer while the test lets the event loop run.
#include "tests/support/EventLoop.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "QtApp.h"
#include "TempFolder.h"
#include "display/ui/DisplayText.h"
#include "display/ui/DlgSelect.h"
#include "display/ui/MainFrm.h"
#include "platform/files/FileSystem.h"
#include "platform/files/ProfileStore.h"
#include "platform/system/TextTable.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/HtmlPane.h"
#include "platform/ui/ScriptedPrompter.h"
#include "tests/display/DisplayFixture.h"

namespace bvtest {

// An HTML pane that only notes where it was sent.
class RecordingPane : public platform::HtmlPane {
public:
    explicit RecordingPane(QWidget* parent, std::vector<std::string>& log) : m_widget(new QWidget(parent)), m_log(log)
    {
    }
    QWidget* Widget() override { return m_widget; }
    void Navigate(const std::string& nativePath) override
    {
        m_loaded = nativePath;
        m_log.push_back(nativePath);
    }
    std::string LoadedPage() const override { return m_loaded; }

private:
    QWidget* m_widget;
    std::vector<std::string>& m_log;
    std::string m_loaded;
};

// Lets the event loop run until the test holds; false after ms.
inline bool RunUntil(const std::function<bool()>& test, int ms = 20000)
{
    return bvtest::RunEventsUntil(test, ms);
}

inline void RunFor(int ms)
{
    RunUntil([] { return false; }, ms);
}

class VisFrameTest : public InTempFolder {
protected:
    // The application first: the tests' own timers need it.
    VisFrameTest() { QtApp(); }
    void SetUp() override
    {
        textTableBefore = platform::CurrentTextTable();
        DisplayText::SetProfile(&profile);
        platform::SetPrompter(&prompter);
        ASSERT_EQ(platform::CopyFile(std::string(BV_BINARY_DIR) + "/lang/BVView.bvt", "BVView.bvt"), 0);
        platform::SetHtmlPaneMaker(
            [this](QWidget* parent) { return std::make_unique<RecordingPane>(parent, navigations); });
        // Every interval one tick, pictures 10 s.
        TempFolder::Write("BVVis.ini", "[BVVis]\r\nConfig=100\r\nName=100\r\nShot=100\r\nPict=10000\r\n");
    }
    void TearDown() override
    {
        frame.reset();
        platform::SetMainWindow(nullptr);
        platform::SetHtmlPaneMaker(nullptr);
        platform::SetPrompter(nullptr);
        DisplayText::SetProfile(nullptr);
        // The frame put the display's language in use; the next test starts without it.
        platform::SetTextTable(textTableBefore);
    }

    // Profiles 1..names.size() (an empty name leaves a slot free), each
    // showing the pictures given with their display times.
    static void Profiles(const std::vector<std::string>& names, const std::vector<std::pair<int, int>>& places)
    {
        CBVConfig p;
        p.Open(".\\Profil.bvc", 1);
        p.WriteInt(31, 1, 530, static_cast<int>(names.size()));
        for (size_t k = 0; k < names.size(); ++k) {
            const int n = static_cast<int>(k + 1);
            p.WriteString(31, n, 500, names[k].c_str());
            p.WriteInt(31, n, 531, static_cast<int>(places.size()));
            for (size_t i = 0; i < places.size(); ++i) {
                p.WriteInt(500, n, static_cast<int>(i + 1), places[i].first);
                p.WriteInt(501, n, static_cast<int>(i + 1), places[i].second);
            }
        }
    }
    // A picture of lanes 1..n of event 1, or an HTML page.
    static void Faces(int b, const std::string& name, int lanes, bool clock = false)
    {
        std::vector<Slot> cells;
        for (int lane = 1; lane <= lanes; ++lane)
            cells.push_back({lane, 1, 0});
        DisplayFiles::Picture(b, name, cells, {{VisItems::kShowClock, clock ? 1 : 0}});
    }
    static void Html(int b, const std::string& name, const std::string& file)
    {
        CBVConfig p;
        p.Open(".\\Pict" + std::to_string(b) + ".bvc", 1);
        p.WriteString(31, 1, 500, name.c_str());
        p.WriteInt(31, 1, 2, CVisPicture::kHtml);
        p.WriteLong(501, 1, 570, file);
    }

    // The program's start: frame, window shown, first focus; the dialog's
    // second as short as given.
    void Start(int secondMs = 20)
    {
        frame = std::make_unique<CMainFrame>();
        frame->selectSecondMs = secondMs;
        frame->onSelectDialog = [this](CDlgSelect& d) {
            ++selectDialogs;
            if (onSelect)
                onSelect(d);
        };
        window = frame->CreateWindowFrame();
        platform::SetMainWindow(window);
        window->resize(640, 400);
        window->show();
        QApplication::setActiveWindow(window);
        frame->OnFirstFocus();
    }
    // Runs until the select dialog is up.
    CDlgSelect* Dialog(int ms = 20000)
    {
        RunUntil([&] { return frame->SelectDialog() && frame->SelectDialog()->isVisible(); }, ms);
        return frame->SelectDialog();
    }
    // Runs until the display shows a picture (the dialog gone).
    bool Showing(int ms = 20000)
    {
        return RunUntil([&] { return !frame->SelectDialog() && frame->Data().current && !frame->Data().rebuild; },
                        ms);
    }
    std::string Title() const { return window->Caption(); }
    static std::string Log() { return TempFolder::Read("BVLog.txt"); }

    platform::MemoryProfileStore profile;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<CMainFrame> frame;
    platform::FrameWnd* window = nullptr;
    std::vector<std::string> navigations;
    int selectDialogs = 0;
    std::function<void(CDlgSelect&)> onSelect;
    platform::TextTable* textTableBefore = nullptr;
};

}  // namespace bvtest
