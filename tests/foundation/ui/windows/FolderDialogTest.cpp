#include "QtApp.h"
#include "TempFolder.h"

#include "foundation/ui/windows/FolderDialog.h"
#include "foundation/ui/windows/HtmlHelp.h"
#include "platform/ui/ScriptedPrompter.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace bvtest {
namespace {

using platform::IDNO;
using platform::IDYES;

class FolderDialogTest : public InTempFolder {
protected:
    FolderDialogTest() : scoped(prompter)
    {
        QtApp();
        std::filesystem::create_directories(folder.Path() + "/Exchange/BV");
    }
    platform::ScriptedPrompter prompter;
    platform::ScopedPrompter scoped;
};

TEST_F(FolderDialogTest, ResultsOfARun)
{
    const std::string exchange = folder.Path() + "/Exchange/BV";
    const std::string missing = folder.Path() + "/Nowhere";
    const std::string invalid = "Message Question YesNo default 1 [] The path entered is not valid! Continue ? -> ";
    struct Case {
        const char* name;
        std::function<void(platform::ScriptedPrompter&)> script;
        int result;
        std::string path;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"cancelled", [](auto& p) { p.AnswerFolder(""); }, -1, "", {"Folder [Find folder] from .\\Old -> cancelled"}},
        {"chosen", [&](auto& p) { p.AnswerFolder(exchange); }, 1, exchange,
         {"Folder [Find folder] from .\\Old -> " + exchange}},
        {"no file-system path", [](auto& p) { p.AnswerNoFolder(); }, 2, "", {"Folder [Find folder] from .\\Old -> "}},
        {"typed a wrong path, kept open, then chose", [&](auto& p) {
             p.AnswerFolder(missing).AnswerMessage(IDNO).AnswerFolder(exchange);
         },
         1, exchange,
         {"Folder [Find folder] from .\\Old -> " + missing, invalid + "7",
          "Folder [Find folder] from " + missing + " -> " + exchange}},
        {"typed a wrong path and closed", [&](auto& p) { p.AnswerFolder(missing).AnswerMessage(IDYES); }, -1, "",
         {"Folder [Find folder] from .\\Old -> " + missing, invalid + "6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.Clear();
        c.script(prompter);
        QWidget owner;
        CFolderDialog dialog("Find folder", ".\\Old", &owner);
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.GetFolderPath(), c.path);
        EXPECT_EQ(prompter.Log(), c.log);
        EXPECT_EQ(prompter.Unanswered(), 0);
        EXPECT_TRUE(owner.isEnabled());
        if (c.result == 1)
            EXPECT_EQ(dialog.GetDisplayName(), "BV");
    }
}

TEST_F(FolderDialogTest, HelpOpensTheTopicsPageOrLogsTheRequest)
{
    std::filesystem::create_directories(folder.Path() + "/Help/BVLederEN");
    TempFolder::Write(folder.Path() + "/Help/BVLederEN/136.html", "<html>Score card</html>");
    CHtmlHelp help(".\\Help\\BVLederEN");
    std::vector<std::string> opened;
    help.openPage = [&](const std::string& native) {
        opened.push_back(native);
        return true;
    };
    platform::SetHelpService(&help);
    platform::RequestHelp(136, 2);
    platform::RequestHelp(1146, 3);
    platform::SetHelpService(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(std::filesystem::path(opened[0]).filename(), "136.html");
    EXPECT_TRUE(std::filesystem::exists(opened[0]));
    std::string log = TempFolder::Read(folder.Path() + "/BVLog.txt");
    EXPECT_NE(log.find("Help 1146 (3): no page .\\Help\\BVLederEN\\1146.html"), std::string::npos) << log;
    EXPECT_EQ(log.find("Help 136"), std::string::npos);
    EXPECT_EQ(help.PagePath(0), ".\\Help\\BVLederEN\\index.html");
}

}  // namespace
}  // namespace bvtest
