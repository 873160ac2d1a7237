#include "platform/ui/ScreenPrompter.h"
#include "platform/ui/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(ScriptedPrompter, AnswersInOrderAndCountsWhatItCouldNotAnswer)
{
    ScriptedPrompter p;
    ScopedPrompter scoped(p);
    p.AnswerMessage(IDNO).AnswerFile("C:\\Data\\names.txt").AnswerColour(true, 0x0000FF);
    EXPECT_EQ(MessageBox("Save?", "BVRes", MessageIcon::Question, MessageButtons::YesNoCancel), IDNO);
    std::string path;
    FileRequest open;
    open.title = "Import";
    EXPECT_TRUE(CurrentPrompter().ChooseFile(open, path));
    EXPECT_EQ(path, "C:\\Data\\names.txt");
    // Next in the queue is a colour: a folder chooser gets no answer of its own.
    std::string chosen = "unchanged";
    EXPECT_FALSE(CurrentPrompter().ChooseFolder({"Folder", ""}, chosen));
    EXPECT_EQ(chosen, "unchanged");
    ColourRequest colour;
    colour.colour = 0x808080;
    EXPECT_TRUE(CurrentPrompter().ChooseColour(colour));
    EXPECT_EQ(colour.colour, 0x0000FFu);
    // Nothing queued: the box is answered with its default button.
    EXPECT_EQ(MessageBox("Delete?", {}, MessageIcon::Exclamation, MessageButtons::YesNo, 1), IDNO);
    CurrentPrompter().Beep(BeepKind::Stop);
    PrinterChoice printer;
    EXPECT_FALSE(CurrentPrompter().ChoosePrinter(printer));
    EXPECT_EQ(p.Unanswered(), 3);
    EXPECT_EQ(p.Pending(), 0u);
    EXPECT_EQ(p.Log(), (std::vector<std::string>{
                           "Message Question YesNoCancel default 0 [BVRes] Save? -> 7",
                           "File [Import] -> C:\\Data\\names.txt",
                           "Folder [Folder] from  -> cancelled (unanswered)",
                           "Colour from 0x808080 -> 0x0000FF",
                           "Message Exclamation YesNo default 1 [] Delete? -> 7 (unanswered)",
                           "Beep 1",
                           "Printer -> cancelled (unanswered)",
                       }));
}

TEST(ScriptedPrompter, ColourQuestionKeepsTheCustomBoxes)
{
    ScriptedPrompter p;
    ScopedPrompter scoped(p);
    p.AnswerColour(false, 0, {{3, 0x123456}}).AnswerColour(true, 0x00FF00, {{15, 0xABCDEF}, {16, 0x1}});
    ColourRequest r;
    r.colour = 0x0000FF;
    r.fullOpen = true;
    r.solidOnly = true;
    r.customColours.assign(16, 0xE0E0E0);
    // Cancelled: the colour stays, a box the user filled comes back.
    EXPECT_FALSE(CurrentPrompter().ChooseColour(r));
    EXPECT_EQ(r.colour, 0x0000FFu);
    EXPECT_EQ(r.customColours[3], 0x123456u);
    // Chosen; a box past the sixteen is no box.
    EXPECT_TRUE(CurrentPrompter().ChooseColour(r));
    EXPECT_EQ(r.colour, 0x00FF00u);
    EXPECT_EQ(r.customColours[3], 0x123456u);
    EXPECT_EQ(r.customColours[15], 0xABCDEFu);
    EXPECT_EQ(r.customColours.size(), 16u);
    EXPECT_EQ(p.Questions()[1].colour.customColours[3], 0x123456u);  // as asked
    EXPECT_EQ(p.Log(), (std::vector<std::string>{"Colour from 0x0000FF full solid custom 16 -> cancelled",
                                                 "Colour from 0x0000FF full solid custom 16 -> 0x00FF00"}));
}

TEST(ScreenPrompter, FileFiltersInQtsForm)
{
    struct Case {
        const char* filter;
        const char* qt;
    };
    const Case cases[] = {
        {"Text files (*.txt)|*.txt|All files (*.*)|*.*", "Text files (*.txt);;All files (*)"},
        {"Backups|*.zip;*.bak|", "Backups (*.zip *.bak)"},
        {"Language files|*.bvt", "Language files (*.bvt)"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QtFileFilter(c.filter), c.qt) << c.filter;
}

}  // namespace
