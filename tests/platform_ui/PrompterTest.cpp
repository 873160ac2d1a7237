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
    uint32_t colour = 0;
    EXPECT_TRUE(CurrentPrompter().ChooseColour(colour));
    EXPECT_EQ(colour, 0x0000FFu);
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
                           "Colour -> 255",
                           "Message Exclamation YesNo default 1 [] Delete? -> 7 (unanswered)",
                           "Beep 1",
                           "Printer -> cancelled (unanswered)",
                       }));
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
