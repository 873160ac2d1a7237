// Long runs of random keys, clicks and focus changes against the grid, with
// an owner that refuses some edits: editors end while their own code runs,
// open others, and are freed later, so this is where a dangling editor or a
// lost end of an edit would show (the sanitizers watch the memory side).
#include "foundation/grid/GridEditorCore.h"
#include "GridHarness.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using gridtest::LaneGrid;

TEST(GridRandomTest, RandomStrokesKeepOneEditorAndPairEveryBeginWithAnEnd)
{
    const int keys[] = {GK_TAB, GK_RETURN, GK_ESCAPE, GK_SPACE, GK_PRIOR, GK_NEXT, GK_END, GK_HOME,
                        GK_LEFT, GK_UP, GK_RIGHT, GK_DOWN, GK_DELETE, GK_F4, GK_BACK};
    const char typed[] = "01279cCtT,.*'+ xAbq";
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        LaneGrid g;
        g.grid.Column(2)->m_freeText = seed % 3 == 0;
        g.grid.Column(2)->m_multiChoice = seed % 4 == 0;
        g.grid.SetItemData(2, seed % 9);
        g.owner.vetoes = {{1, 2}, {3, 4}};
        g.StartAt(0, 1);
        int ended = 0;
        for (int step = 0; step < 400; ++step) {
            size_t logBefore = g.owner.log.size();
            switch (pick(10)) {
            case 0:
            case 1:
            case 2:
                g.Press(keys[pick(std::size(keys))], pick(3) == 0 ? GM_SHIFT : GM_NONE);
                break;
            case 3:
            case 4:
                g.Type(std::string(1, typed[pick(sizeof typed - 1)]));
                break;
            case 5:
                g.grid.OnLButtonDown(pick(380), pick(90));
                break;
            case 6:
                g.grid.OnLButtonDblClk(pick(380), pick(90));
                break;
            case 7:
                g.grid.OnRButtonDown(pick(380), pick(90));
                break;
            case 8:
                if (CGridEditorCore* editor = g.grid.Editor())
                    g.grid.EditorFocusOut(*editor);
                else
                    pick(2) ? g.grid.WindowFocusOut() : g.grid.WindowFocusIn();
                break;
            default:
                g.grid.OnScrollRequest();
                break;
            }
            for (size_t i = logBefore; i < g.owner.log.size(); ++i) {
                const std::string& line = g.owner.log[i];
                if (line.rfind("end", 0) == 0 && line.find("@1138") == std::string::npos)
                    ++ended;
            }
            CGridEditorCore* editor = g.grid.Editor();
            ASSERT_EQ(g.view.openEditors, editor ? 1 : 0) << "seed " << seed << " step " << step;
            if (editor) {
                ASSERT_FALSE(editor->Closed());
                ASSERT_EQ(g.grid.m_editMode, 1) << "seed " << seed << " step " << step;
                ASSERT_FALSE(g.owner.vetoes.count({editor->Row(), editor->ColumnNumber()}));
            }
        }
        // End the last edit: every editor that opened has ended, and each
        // reported exactly once (a cancelled value reports nothing).
        size_t logBefore = g.owner.log.size();
        if (CGridEditorCore* editor = g.grid.Editor())
            g.grid.EditorFocusOut(*editor);
        for (size_t i = logBefore; i < g.owner.log.size(); ++i)
            ended += g.owner.log[i].rfind("end", 0) == 0;
        EXPECT_EQ(g.view.openEditors, 0);
        EXPECT_GT(g.view.opened, 5) << "seed " << seed;
        EXPECT_EQ(ended, g.view.opened - g.view.silent) << "seed " << seed;
    }
}

}  // namespace
