// The external media dialog on the range control's frame, with a "memory
// stick" folder of the test's own: the name files each results program
// reads copied into the exchange folder; results written onto the stick for
// the active relay and for a chosen relay; the name and result files on the
// stick deleted after a question, never those of the exchange folder; the
// folder chosen last remembered by names and results, not by delete.
#include "tests/range/dialogs/DialogRange.h"

#include "foundation/files/ConfigItem.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/FileSystem.h"
#include "range/exchange/MediaTransfer.h"
#include "range/ui/setup/DlgMedia.h"

#include <QImage>

#include <filesystem>
#include <memory>
#include <set>

namespace media_dialog_test {

using M = CDlgMedia;
using Files = std::set<std::string>;

// Files of a folder, by name.
Files FilesIn(const std::string& folder)
{
    Files out;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        out.insert(e.path().filename().string());
    return out;
}

// What a stick brought from the results office holds.
const Files kStick = {"H1R00101.TXT", "h1r00102.txt", "N00012.TXT", "n00013.txt", "Sponsor.txt", "H1-XX-s.001",
                      "h1-~2.003",    "X2R00101.TXT", "notes.txt",  "H1ISSF001.CSV.TXT"};

class MediaDialogTest : public bvtest::DialogRangeTest {
protected:
    void StartWith(int resultsProgram)
    {
        StartRange();
        WriteItem(Frame().Objects().settings.Config(), RangeItems::kResultsProgram, resultsProgram);
        stick = folder.Path() + "/stick";
        std::filesystem::create_directory(stick);
        for (const std::string& name : kStick)
            bvtest::TempFolder::Write(stick + "/" + name, "from the office: " + name);
    }
    std::unique_ptr<CDlgMedia> Open(int relay = 2)
    {
        auto d = std::make_unique<CDlgMedia>(Frame().Objects(), Frame().Range(), Frame().Window());
        d->m_activeRelay = 1;
        d->m_relay = relay;
        EXPECT_TRUE(d->Create());
        Activate(d.get());
        return d;
    }
    std::string MediaPath() { return profile.GetString("BVLeder", "MediaPath", "(none)"); }
    // The exchange folder's files, less what the range's own exports left there.
    Files Exchange() { return FilesIn(folder.Path() + "/BV"); }

    std::string stick;
};

TEST_F(MediaDialogTest, NamesFromTheMediumByResultsProgram)
{
    struct Case {
        int program;
        Files copied;
    };
    const Case cases[] = {
        {0, {"H1R00101.TXT", "h1r00102.txt", "N00012.TXT", "n00013.txt", "Sponsor.txt"}},
        {3, {"H1-XX-s.001", "h1-~2.003"}},
        {7, {"H1R00101.TXT", "h1r00102.txt", "N00012.TXT", "n00013.txt", "Sponsor.txt"}},
        // An unknown results program is logged and taken as 0.
        {9, {"H1R00101.TXT", "h1r00102.txt", "N00012.TXT", "n00013.txt", "Sponsor.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        StartWith(c.program);
        std::filesystem::remove_all(folder.Path() + "/BV");
        std::filesystem::create_directory(folder.Path() + "/BV");
        profile.WriteString("BVLeder", "MediaPath", "");
        auto d = Open();
        // Cancelled, then chosen.
        prompter.Clear();
        prompter.AnswerFolder("").AnswerFolder(stick);
        d->item(M::IDC_NAMES).click();
        EXPECT_EQ(Exchange(), Files{});
        EXPECT_EQ(MediaPath(), "");
        d->item(M::IDC_NAMES).click();
        EXPECT_EQ(Exchange(), c.copied);
        for (const std::string& name : c.copied)
            EXPECT_EQ(bvtest::TempFolder::Read("BV/" + name), "from the office: " + name);
        EXPECT_EQ(MediaPath(), stick);
        EXPECT_EQ(prompter.Log(), (std::vector<std::string>{
                                      "Folder [Choose the folder on the external medium] from  -> cancelled",
                                      "Folder [Choose the folder on the external medium] from  -> " + stick}));
        // A file there already is replaced.
        bvtest::TempFolder::Write(stick + "/N00012.TXT", "newer");
        prompter.Clear();
        prompter.AnswerFolder(stick);
        d->item(M::IDC_NAMES).click();
        EXPECT_EQ(prompter.Log(), std::vector<std::string>{"Folder [Choose the folder on the external medium] from " +
                                                           stick + " -> " + stick});
        EXPECT_EQ(bvtest::TempFolder::Read("BV/N00012.TXT"), c.program == 3 ? "" : "newer");
        if (c.program == 9)
            EXPECT_NE(Log().find("Ukjent resultatprogram valgt (9) - bruker BVRes format"), std::string::npos);
        d->item(M::IDC_OK).click();
        // The next case starts the range afresh.
        d.reset();
        app.reset();
        objects.reset();
    }
}

TEST_F(MediaDialogTest, ResultsOntoTheMedium)
{
    struct Case {
        int program;
        bool activeShown;
        Files active;  // written with the active relay (relay 1 on every lane)
        Files chosen;  // written for relay 4
    };
    const Files relay1 = {"H1R00101.txt", "H1R00102.txt", "H1R00103.txt", "H1R00104.txt", "H1R00105.txt",
                          "H1R00106.txt"};
    const Files relay4 = {"H1R00401.txt", "H1R00402.txt", "H1R00403.txt", "H1R00404.txt", "H1R00405.txt",
                          "H1R00406.txt"};
    const Case cases[] = {
        {0, true, relay1, relay4},
        {3, false, {}, {"H1-01-5.004"}},
        {7, false, {}, {"H1ISSF004.CSV"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        StartWith(c.program);
        std::string out = folder.Path() + "/out" + std::to_string(c.program);
        std::filesystem::create_directory(out);
        auto d = Open(4);
        EXPECT_EQ(d->item(M::IDC_ACTIVE).visible(), c.activeShown);
        EXPECT_EQ(d->item(M::IDC_RELAY).visible(), !c.activeShown);
        const Files exchangeBefore = Exchange();
        if (c.activeShown) {
            prompter.AnswerFolder(out);
            d->item(M::IDC_RESULTS).click();
            EXPECT_EQ(FilesIn(out), c.active);
            for (const std::string& name : c.active)
                std::filesystem::remove(out + "/" + name);
            d->item(M::IDC_ACTIVE).click();
            EXPECT_TRUE(d->item(M::IDC_RELAY).visible());
        }
        EXPECT_EQ(d->item(M::IDC_RELAY).text(), "4");
        prompter.AnswerFolder(out);
        d->item(M::IDC_RESULTS).click();
        EXPECT_EQ(FilesIn(out), c.chosen);
        EXPECT_EQ(MediaPath(), out);
        // Nothing went to the exchange folder.
        EXPECT_EQ(Exchange(), exchangeBefore);
        d->item(M::IDC_OK).click();
        // The next case starts the range afresh.
        d.reset();
        app.reset();
        objects.reset();
    }
}

TEST_F(MediaDialogTest, DeleteOnTheMediumAsksAndSparesTheExchangeFolder)
{
    StartWith(3);
    profile.WriteString("BVLeder", "MediaPath", "C:\\last");
    bvtest::TempFolder::Write("BV/H1R00101.TXT", "not read yet");
    bvtest::TempFolder::Write("BV/N00012.TXT", "not read yet");
    auto d = Open();
    const std::string question =
        "Message Question YesNo default 0 [] Delete the name and result files in this folder?\n" + stick + "\\ -> ";
    prompter.AnswerFolder(stick).AnswerMessage(platform::IDNO);
    d->item(M::IDC_DELETE).click();
    EXPECT_EQ(FilesIn(stick), kStick);
    prompter.AnswerFolder(stick).AnswerMessage(platform::IDYES);
    d->item(M::IDC_DELETE).click();
    // The prefix's result files and every name file, whatever the program.
    EXPECT_EQ(FilesIn(stick), (Files{"Sponsor.txt", "H1-XX-s.001", "h1-~2.003", "X2R00101.TXT", "notes.txt",
                                     "H1ISSF001.CSV.TXT"}));
    // The exchange folder itself is refused, and nothing asked.
    prompter.AnswerFolder(folder.Path() + "/BV/");
    d->item(M::IDC_DELETE).click();
    EXPECT_EQ(bvtest::TempFolder::Read("BV/H1R00101.TXT"), "not read yet");
    EXPECT_EQ(bvtest::TempFolder::Read("BV/N00012.TXT"), "not read yet");
    const std::string choose = "Folder [Choose the folder on the external medium] from C:\\last -> ";
    EXPECT_EQ(prompter.Log(),
              (std::vector<std::string>{
                  choose + stick, question + "7", choose + stick, question + "6", choose + folder.Path() + "/BV/",
                  "Message Stop Ok default 0 [] This is the exchange folder. The results program has not read its "
                  "files yet, so they are not deleted. -> 1 (unanswered)"}));
    // Delete leaves the starting folder as it was.
    EXPECT_EQ(MediaPath(), "C:\\last");
}

TEST_F(MediaDialogTest, Screenshot)
{
    StartWith(0);
    auto d = Open();
    d->item(M::IDC_ACTIVE).click();
    QCoreApplication::processEvents();
    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    ASSERT_TRUE(d->grab().toImage().save(BV_BINARY_DIR "/screens/media.png", "PNG"));
}

}  // namespace media_dialog_test
