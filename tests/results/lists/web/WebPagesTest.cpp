// The page writer on a small competition made through the program's own
// objects: which relays get a page and which flags it takes, the slide
// show's relay page on a framed-site call, card pictures only for events of
// the range control's exchange and written again only for cards that
// changed, every team page on one call, the empty page, and a page that
// cannot be written.
#include "tests/results/lists/ListsFixture.h"

#include "QtApp.h"
#include "RunCommand.h"
#include "TempFolder.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/web/WebChoices.h"
#include "results/lists/web/WebFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <sys/stat.h>

namespace {

using namespace results;
namespace fs = std::filesystem;

class WebPagesTest : public liststest::ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        bvtest::QtApp();  // the card pictures are drawn with the kit's fonts
        AddEvent(1, "Bane", 3);
        Club(11, "Fjellby");
        Shooter(1, "Arne Aas", 11);
        Shooter(2, "Bente Bø", 11);
        Entry(1, 1, 1, 1);  // relay 1: an entry with shots
        Shots(1, 1, 1, 1, {90, 91, 92});
        Entry(1, 2, 1, 2);  // relay 2: an entry without shots
        // Relay 3: results marked received, and shots.
        Entry(1, 3, 2, 1);
        Shots(1, 3, 2, 1, {80});
        ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::RelayFlags(3), RelayFlag::kHasResults);
        ::WriteItem(comp.Team(), TeamItems::kCount, 3);
        ::WriteItem(comp.Team(), TeamItems::Name(1), std::string("Lag A"));
        ::WriteItem(comp.Team(), TeamItems::Name(3), std::string("Lag C"));
        List().onPageWritten = [this](const std::string& path) { written.push_back(path); };
    }

    int RelayFlags(int r)
    {
        CBVConfig& s = comp.GetEvent(1)->Settings();
        s.Refresh();
        return ::ReadItem(s, EventItems::RelayFlags(r));
    }
    int WebItem(const ConfigIntItem& item)
    {
        comp.Web().Refresh();
        return ::ReadItem(comp.Web(), item);
    }
    std::string Text(const std::string& path) { return platform::Cp1252ToUtf8(bvtest::TempFolder::Read(folder.File(path))); }

    std::vector<std::string> written;
};

TEST_F(WebPagesTest, FlaggedRelaysBecomeRelayListsOrRollCalls)
{
    // Relay 1 flagged by this computer's import, relay 2 by another's (WEB.bvc), relay 3 by both.
    List().Competition().WebFlags().Set(1, 1);
    ::WriteItem(comp.Web(), WebItems::RelayChanged(1, 2), 1);
    ::WriteItem(comp.Web(), WebItems::RelayChanged(1, 3), 1);
    List().Competition().WebFlags().Set(1, 3);
    List().MakeWebPages(1, 0, 0);

    EXPECT_NE(Text("PWeb/data/1-Relay-1.htm").find("Arne Aas"), std::string::npos);
    EXPECT_NE(Text("PWeb/data/1-Relay-1.htm").find("Resultater lag 1"), std::string::npos) << Text("PWeb/data/1-Relay-1.htm");
    EXPECT_EQ(RelayFlags(1), RelayFlag::kHasResults);                              // newly marked
    EXPECT_NE(Text("PWeb/data/1-Relay-2.htm").find("Oppropsliste"), std::string::npos);
    EXPECT_EQ(RelayFlags(2), 0);
    EXPECT_NE(Text("PWeb/data/1-Relay-3.htm").find("Resultater lag 3"), std::string::npos);
    for (int r = 1; r <= 3; ++r) {
        EXPECT_FALSE(List().Competition().WebFlags().Get(1, r)) << r;
        EXPECT_EQ(WebItem(WebItems::RelayChanged(1, r)), 0) << r;
    }

    // Nothing flagged: no relay page is made again.
    written.clear();
    List().MakeWebPages(1, 0, 0);
    for (const std::string& path : written)
        EXPECT_EQ(path.find("Relay"), std::string::npos) << path;
    // WebRebuildAll makes them all.
    written.clear();
    List().Competition().webRebuildAll = 1;
    List().MakeWebPages(1, 0, 0);
    EXPECT_EQ(std::count_if(written.begin(), written.end(),
                            [](const std::string& p) { return p.find("Relay") != std::string::npos; }),
              3);
}

TEST_F(WebPagesTest, TheSlideShowsRelayPageIsMadeOnAFramedSiteCallToo)
{
    ::WriteItem(comp.GetEvent(1)->Prizes(), WebChoice::kRelayInShow, 1);
    ::WriteItem(comp.Web(), WebItems::ActiveRelay(1), 2);
    List().MakeWebPages(1, 0, 0);
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written.front(), ".\\AWeb\\data\\1-Relay-2.htm");
    EXPECT_NE(Text("AWeb/data/1-Relay-2.htm").find("Bente"), std::string::npos);
}

TEST_F(WebPagesTest, CardPicturesOnlyForTheRangeControlsExchange)
{
    List().Competition().cardsOn = 1;
    List().Competition().WebFlags().Set(1, 1);
    List().MakeWebPages(1, 0, 0);
    // No exchange of type 1: no pictures, and the flag stays for them.
    EXPECT_TRUE(List().Competition().WebFlags().Get(1, 1));
    EXPECT_EQ(RelayFlags(1) & RelayFlag::kCardsMade, 0);

    ::WriteItem(comp.Exch(), ExchItems::EventType(1), 1);
    List().Competition().Exch().Refresh();
    written.clear();
    List().MakeWebPages(1, 0, 0);
    EXPECT_FALSE(List().Competition().WebFlags().Get(1, 1));
    EXPECT_EQ(RelayFlags(1) & RelayFlag::kCardsMade, RelayFlag::kCardsMade);
    EXPECT_TRUE(std::any_of(written.begin(), written.end(),
                            [](const std::string& p) { return p.ends_with("_1_1.png"); }));
}

// Every pass over all relays draws every card, but a picture whose card did
// not change is not written again (its file stays the same file); a card
// with a new shot gets its picture anew.
TEST_F(WebPagesTest, AnotherPassWritesOnlyThePicturesOfChangedCards)
{
    ::WriteItem(comp.Exch(), ExchItems::EventType(1), 1);
    auto pass = [&] {
        List().Competition().Exch().Refresh();
        List().Competition().cardsOn = 1;
        List().Competition().webRebuildAll = 1;
        List().MakeWebPages(1, 0, 0);
        List().Competition().webRebuildAll = 0;
    };
    // The pictures by name, each with its file's inode: a written picture replaces its file.
    auto pictures = [&] {
        std::map<std::string, ino_t> found;
        for (const auto& entry : fs::directory_iterator(folder.File("PWeb/data"))) {
            struct stat st{};
            if (entry.path().extension() == ".png" && ::stat(entry.path().c_str(), &st) == 0)
                found[entry.path().filename().string()] = st.st_ino;
        }
        return found;
    };
    pass();
    const std::map<std::string, ino_t> first = pictures();
    ASSERT_EQ(first.size(), 2u);  // relay 1 and relay 3 hold shots
    ASSERT_TRUE(first.contains("Bane_1_1.png"));

    pass();
    EXPECT_EQ(pictures(), first);

    Shots(1, 1, 1, 1, {90, 91, 92, 100});
    list.reset();  // a list object that reads the new shot
    pass();
    const std::map<std::string, ino_t> third = pictures();
    ASSERT_EQ(third.size(), first.size());
    for (const auto& [name, inode] : first)
        EXPECT_EQ(third.at(name) != inode, name == "Bane_1_1.png") << name;
    int status = -1;
    const std::string check = bvtest::RunCommand("pngcheck '" + folder.File("PWeb/data/Bane_1_1.png") + "' 2>&1", &status);
    EXPECT_EQ(status, 0) << check;
}

TEST_F(WebPagesTest, OneTeamCallMakesEveryNamedTeamCompetition)
{
    List().MakeWebPages(2 | 0x80, 0, 0);
    EXPECT_EQ(written, (std::vector<std::string>{".\\PWeb\\data\\Team-1.htm", ".\\PWeb\\data\\Team-3.htm"}));
    // In the slide show only those in it.
    written.clear();
    ::WriteItem(comp.Team(), TeamItems::WebInShow(3), 1);
    List().MakeWebPages(0x80, 1, 0);
    EXPECT_EQ(written, (std::vector<std::string>{".\\AWeb\\data\\Team-3.htm"}));
}

TEST_F(WebPagesTest, EmptyPageAndPagesThatCannotBeWritten)
{
    ASSERT_TRUE(WriteEmptyPage(List(), ".\\PWeb\\data\\x.htm", "Tittel", "Ingen"));
    EXPECT_EQ(bvtest::TempFolder::Read(folder.File("PWeb/data/x.htm")),
              "<html>\r\n<head>\r\n<basefont face=\"arial\">\r\n<title>BVRes - www.brevandi.no</title>\r\n"
              "</head><body bgcolor=\"#FFFFDF\">\r\n"
              "<center><font color=\"red\"><H2><u><b>Tittel</b></u></H2></font></center>\r\n"
              "<center><font color=\"red\"><H3><u><b>Ingen</b></u></H3></font></center>\r\n</HTML>\r\n");

    // The slide show's data folder gone: the frame pages stop at the first
    // that cannot be written, with one message.
    fs::remove_all(folder.File("AWeb/data"));
    bvtest::TempFolder::Write(folder.File("AWeb/data"), "a file in the folder's place");
    ::WriteItem(comp.GetEvent(1)->Prizes(), WebChoice::kRelayInShow, 1);
    ::WriteItem(comp.Team(), TeamItems::WebInShow(1), 1);
    messages.clear();
    List().MakeFramePages(3);
    EXPECT_EQ(written.back(), ".\\AWeb\\Startpage.htm");
    EXPECT_EQ(messages, (std::vector<std::string>{"error: Feil ved skriving til fil !"}));
    // banner.htm has its own text.
    fs::remove_all(folder.File("PWeb/data"));
    bvtest::TempFolder::Write(folder.File("PWeb/data"), "x");
    messages.clear();
    List().MakeWebIndex();
    EXPECT_EQ(messages, (std::vector<std::string>{"error: Feil ved skriving til fil !"}));
    EXPECT_EQ(written.back(), ".\\PWeb\\StartFrame.htm");
}

TEST_F(WebPagesTest, AStopRequestEndsThePagesBetweenTwo)
{
    std::atomic<int> stop{1};
    List().stopFlag = &stop;
    List().Competition().webRebuildAll = 1;
    List().MakeWebPages(1, 0, 0);
    EXPECT_TRUE(written.empty());
}

}  // namespace
