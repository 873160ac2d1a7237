#pragma once
// The range control's frame on a small range of its own for the dialogs
// that work on its lanes: lanes 1 to 7 on one line channel, of which 1 to 6
// take part and 7 does not, and lane 9 taking part without a channel (so
// not active); competition 1 open. The lines stay closed (the range runs
// in simulation), the frame ticks only when the test lets the event loop
// run, and help requests are recorded.
#include "RecordingHelp.h"
#include "tests/range/FrameFixture.h"

#include "foundation/files/BVConfig.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Help.h"
#include "range/ui/DlgAsk.h"
#include "tests/support/GridDriver.h"
#include "tests/support/RunCommand.h"

#include <QApplication>
#include <QTest>

#include <string>
#include <utility>
#include <vector>

namespace bvtest {

class DialogRangeTest : public RangeFrameTest {
protected:
    static constexpr int kNotEnabled = 7;  // on the channel, not taking part
    static constexpr int kNoChannel = 9;   // taking part, no channel

    void SetUp() override
    {
        RangeFrameTest::SetUp();
        platform::SetHelpService(&help);
    }
    void TearDown() override
    {
        platform::SetHelpService(nullptr);
        RangeFrameTest::TearDown();
    }

    // The range, started; options are the competition's (start numbers,
    // relay change on all lanes), competition -1 none.
    void StartRange(const CompOptions& options = {}, int competition = 1)
    {
        RangeFolderSetup setup;
        setup.competition = competition;
        setup.lastLane = kNotEnabled;
        setup.simulation = true;
        MakeRangeFolder(setup);
        if (competition >= 0) {
            CBVConfig comp;
            comp.Open(CompSettings::FileOf(".\\", competition), 1);
            ASSERT_TRUE(comp.IsOpen());
            WriteItem(comp, CompSettings::LaneActive(kNotEnabled), 0);
            WriteItem(comp, CompSettings::LaneActive(kNoChannel), 1);
            CompOptions o = options;
            o.Set(CompOptions::SendResultsAutomatically, true);
            CompSettings::WriteOptions(comp, o);
        }
        Start();
        Ticks(1);
        ASSERT_FALSE(Frame().Closed());
        ASSERT_EQ(Frame().Objects().CompetitionNumber(), competition);
        for (int lane = 1; lane <= 100; ++lane)
            ASSERT_EQ(Frame().Objects().lanes.IsActive(lane), competition >= 0 && lane <= 6) << lane;
        if (CDlgAsk* box = Frame().Questions().AskBox(); box && box->IsOpen())
            box->item(CDlgAsk::IDC_BUTTON4).click();
        prompter.Clear();
    }

    // Shows a window as the one that has the keyboard, so keys go where
    // they go for the user.
    static void Activate(QWidget* w)
    {
        w->show();
        QApplication::setActiveWindow(w);
        w->activateWindow();
        QCoreApplication::processEvents();
    }

    // Opens the editor of a cell as the officer does: a click to make the
    // cell current, another to edit it.
    static QWidget* OpenEditor(CGridList& grid, int row, int column)
    {
        return bvtest::OpenGridEditor(grid, row, column);
    }
    // Ends an edit with Enter; the editor Enter opens on the next cell is
    // left with Escape.
    static void Enter(CGridList& grid, QWidget* editor) { bvtest::EnterGridEdit(grid, editor); }
    static void TypeInto(CGridList& grid, int row, int column, const std::string& text)
    {
        QWidget* editor = OpenEditor(grid, row, column);
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, QString::fromLatin1(text.c_str()));
        Enter(grid, editor);
        EXPECT_EQ(grid.EditorWindow(), nullptr);
    }

    // The range's defaults for new lanes as another program reads them from
    // BVLeder.bvc: type, sensitivity, value system, frequency, length; "-"
    // for one not written.
    static std::string NewLaneDefaults()
    {
        CBVConfig range;
        range.Open(".\\BVLeder.bvc", 0);
        std::string all;
        for (int key = 530; key <= 534; ++key)
            all += (key == 530 ? "" : ",") + std::string(range.ReadString(33, 1, key, "-"));
        return all;
    }
    // The same as bvtool reads them (the five reads run side by side: each
    // is a program start).
    static std::string NewLaneDefaultsByTool()
    {
        std::string tool = std::string(BV_BINARY_DIR) + "/tools/bvtool/bvtool";
        std::string script = "t=$(mktemp -d); for k in 530 531 532 533 534; do (\"" + tool +
                             "\" cfg get BVLeder.bvc 33 1 $k > $t/$k 2>/dev/null || echo - > $t/$k) & done; wait; "
                             "for k in 530 531 532 533 534; do tr -d '\\n' < $t/$k; [ $k = 534 ] || printf ,; done; "
                             "rm -r $t";
        return RunCommand(script);
    }

    RecordingHelp help;
};

}  // namespace bvtest
