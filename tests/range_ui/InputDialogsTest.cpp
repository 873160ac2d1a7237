// The small asking dialogs of a running series: the text input, the lane
// selection and the lift. Each is driven by id; what it gives back, what it
// refuses and what it hides are checked against its caller's needs.
#include "DialogFixture.h"

#include "range/ui/dialogs/DlgInput.h"

#include <QTimer>

namespace {

using platform::IDCANCEL;
using platform::IDOK;

class InputDialogsTest : public bvtest::RangeDialogTest {};

TEST_F(InputDialogsTest, TextOnlyInputHidesTheLaneAndGivesBackTheText)
{
    using I = CDlgInput;
    CDlgInput d;
    d.m_title = "Password";
    ASSERT_TRUE(d.Create());
    EXPECT_EQ(d.Caption(), "Password");
    EXPECT_EQ(d.item(I::IDC_PROMPT).text(), "<>");
    for (int id : {I::IDC_LANE_LABEL, I::IDC_LANE, I::IDC_LANE_SPIN, I::IDC_ALL})
        EXPECT_FALSE(d.item(id).visible()) << id;
    EXPECT_TRUE(d.item(I::IDC_TEXT).visible());
    EXPECT_EQ(d.item(I::IDC_OK).text(), "OK");
    EXPECT_EQ(d.item(I::IDC_CANCEL).text(), "Cancel");
    Retype(d.item(I::IDC_TEXT).widget(), "Juniors \xC6\xD8\xC5");
    d.item(I::IDC_OK).click();
    EXPECT_EQ(d.Result(), IDOK);
    EXPECT_EQ(d.m_text, "Juniors \xC6\xD8\xC5");
    EXPECT_EQ(d.m_prompt, "<>");

    // Cancel, by Escape in a modal run, keeps the caller's values.
    CDlgInput cancelled;
    cancelled.m_prompt = "Name of the class";
    cancelled.m_text = "Seniors";
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(cancelled.item(I::IDC_PROMPT).text(), "Name of the class");
        cancelled.item(I::IDC_TEXT).setText("Veterans");
        QTest::keyClick(&cancelled, Qt::Key_Escape);
    });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.m_text, "Seniors");
    EXPECT_TRUE(prompter.Questions().empty());
    EXPECT_TRUE(FolderEmpty());
}

TEST_F(InputDialogsTest, LaneInputKeepsTheLaneWithinTheRange)
{
    using I = CDlgInput;
    struct Case {
        const char* typed;
        int all;
        int lane;
    };
    const Case cases[] = {{"7", 0, 7}, {"0", 0, 1}, {"", 0, 1}, {"100", 0, 100}, {"150", 0, 100}, {"12", 1, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CDlgInput d;
        d.m_textOnly = false;
        d.m_lane = 3;
        ASSERT_TRUE(d.Create());
        EXPECT_TRUE(d.item(I::IDC_LANE).visible());
        EXPECT_EQ(d.item(I::IDC_LANE_LABEL).text(), "Lane");
        EXPECT_EQ(d.item(I::IDC_ALL).text(), "All targets");
        EXPECT_EQ(d.item(I::IDC_LANE).text(), "3");
        d.item(I::IDC_LANE).setText(c.typed);
        if (c.all) {
            d.item(I::IDC_ALL).click();
            // Every lane: the lane field is left as it stands.
            EXPECT_FALSE(d.item(I::IDC_LANE_SPIN).enabled());
        }
        d.item(I::IDC_TEXT).setText("Stop firing");
        d.item(I::IDC_OK).click();
        EXPECT_EQ(d.Result(), IDOK);
        EXPECT_EQ(d.m_lane, c.lane);
        EXPECT_EQ(d.m_allTargets, c.all);
        EXPECT_EQ(d.m_text, "Stop firing");
    }
}

TEST_F(InputDialogsTest, HelpAsksForTheTemplate)
{
    CDlgInput input;
    ASSERT_TRUE(input.Create());
    PressHelp(&input, input.item(CDlgInput::IDC_TEXT).widget());
    EXPECT_EQ(help.requests, (bvtest::HelpLog{{152, 2}, {CDlgInput::IDC_TEXT, 3}}));
}

}  // namespace
