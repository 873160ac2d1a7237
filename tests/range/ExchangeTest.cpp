// The range control's exchange with the results program: what an export's result
// shows, and names taken onto the lanes' cards.
#include "RangeOnFolder.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/FileSystem.h"

#include <filesystem>
#include <functional>

namespace {

class ExchangeTest : public bvtest::RangeOnFolder {
protected:
    // A name line of the fixed-column file of a relay.
    static std::string NameLine(int lane, const std::string& cls, const std::string& name, const std::string& club,
                                const std::string& score)
    {
        std::string line(63, ' ');
        std::string number = std::to_string(lane);
        line.replace(0, number.size(), number);
        line.replace(12, cls.size(), cls);
        line.replace(16, name.size(), name);
        line.replace(37, club.size(), club);
        line.replace(58, score.size(), score);
        return line + "\r\n";
    }
    // Lane 3 shoots relay 2; the others relay 1.
    void LaneThreeOnRelayTwo()
    {
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = 2;
        card.lane = 3;
        ASSERT_GE(objects->comp.GetCard(card, 1), 0);
        range->files.CheckFiles(true);
        ASSERT_EQ(Lane(3).card.relay, 2);
    }
    std::string StoredName(int relay, int lane)
    {
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = static_cast<int16_t>(relay);
        card.lane = static_cast<int16_t>(lane);
        NameRecord name;
        if (objects->comp.CardFile().ReadRecKey(&card) != 0 || objects->comp.ReadName(card, name) != 0)
            return "";
        return name.name;
    }
};

TEST_F(ExchangeTest, ExportOutcomes)
{
    struct Case {
        const char* name;
        int competition;
        int program;
        std::function<void(RangeControl&, RangeObjects&)> setUp;
        int firstRelay;
        int result;
        const char* warning;
        const char* message;
        const char* log;
        bool beep;
    };
    const Case cases[] = {
        {"exported", 1, 0, nullptr, 0, 0, "", nullptr, nullptr, true},
        {"practice competition", 0, 0, nullptr, 0, -1, "", "Not possible in the practice competition", nullptr,
         false},
        {"illegal prefix", 1, 0,
         [](RangeControl&, RangeObjects& o) { WriteItem(o.comp.CompConfig(), CompSettings::kPrefix, "1H"); }, 0, -1,
         "Illegal file prefix", nullptr, "Illegal prefix (1H)!", true},
        {"exchange folder missing", 1, 0,
         [](RangeControl&, RangeObjects& o) { CRangeSettings::WriteExchangeFolder(o.settings.Config(), ".\\Gone\\"); },
         0, -1, "Cannot write to .\\Gone\\", nullptr, nullptr, false},
        // The line formats hold one relay a file: the relays must be named.
        {"line format without relays", 1, 3, nullptr, 0, -1, "Choose the first and last relay", nullptr, nullptr,
         true},
        {"line format", 1, 3, nullptr, 1, 0, "", nullptr, nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bvtest::TempFolder caseFolder;  // each case on a range folder of its own
        bvtest::RangeFolderSetup setup;
        setup.competition = c.competition;
        setup.resultsProgram = c.program;
        Open(setup);
        if (c.setUp)
            c.setUp(*range, *objects);
        prompter.Clear();
        EXPECT_EQ(range->exchange.SendResults(c.firstRelay, c.firstRelay, 1, 0), c.result);
        EXPECT_EQ(Warning(), c.warning);
        bool beeped = false;
        std::string message;
        for (const platform::Question& q : prompter.Questions()) {
            beeped |= q.kind == platform::QuestionKind::Beep;
            if (q.kind == platform::QuestionKind::Message)
                message = q.text;
        }
        EXPECT_EQ(beeped, c.beep);
        EXPECT_EQ(message, c.message ? c.message : "");
        if (c.log)
            EXPECT_NE(Log().find(c.log), std::string::npos);
        Close();
    }
}

// Every shot tries the export again; the status bar says so each time, the
// log once, until the folder comes back and goes again.
TEST_F(ExchangeTest, AMissingExchangeFolderIsLoggedOnce)
{
    bvtest::RangeFolderSetup setup;
    Open(setup);
    CRangeSettings::WriteExchangeFolder(objects->settings.Config(), ".\\Gone\\");
    auto logged = [&] {
        std::string log = Log();
        size_t n = 0;
        for (size_t at = log.find("Exchange folder .\\Gone\\ missing"); at != std::string::npos;
             at = log.find("Exchange folder .\\Gone\\ missing", at + 1))
            ++n;
        return n;
    };
    for (int shot = 0; shot < 3; ++shot)
        EXPECT_EQ(range->exchange.SendResults(0, 0, 1, 0), -1);
    range->exchange.ImportNames(0);
    EXPECT_EQ(logged(), 1u);
    ASSERT_EQ(platform::CreateFolders("Gone"), 0);
    EXPECT_EQ(range->exchange.SendResults(0, 0, 1, 0), 0);
    std::filesystem::remove_all("Gone");
    EXPECT_EQ(range->exchange.SendResults(0, 0, 1, 0), -1);
    EXPECT_EQ(logged(), 2u);
}

TEST_F(ExchangeTest, NamesOfEveryLane)
{
    bvtest::RangeFolderSetup setup;
    setup.resultsProgram = 3;
    Open(setup);
    LaneThreeOnRelayTwo();
    bvtest::TempFolder::Write("BV/H1-XX-s.001", NameLine(1, "SEN", "Ola Nordmann", "Bygda", "12") +
                                                    NameLine(2, "JUN", "Per Hansen", "Byen", "") +
                                                    NameLine(3, "SEN", "Not this relay", "Byen", ""));
    EXPECT_EQ(range->exchange.ImportNames(0), 1);
    EXPECT_STREQ(Lane(1).name.name, "Ola Nordmann");
    EXPECT_EQ(static_cast<int>(Lane(1).name.startNumber), 101);
    EXPECT_EQ(static_cast<int>(Lane(1).name.competition), 1);
    EXPECT_EQ(StoredName(1, 1), "Ola Nordmann");
    EXPECT_EQ(StoredName(1, 2), "Per Hansen");
    // Lane 3 shoots relay 2, which the file is not about: it keeps what it had.
    EXPECT_EQ(StoredName(2, 3), "");
}

// One lane's import takes that lane with its own relay.
TEST_F(ExchangeTest, NamesOfOneLane)
{
    bvtest::RangeFolderSetup setup;
    setup.resultsProgram = 3;
    Open(setup);
    LaneThreeOnRelayTwo();
    bvtest::TempFolder::Write("BV/H1-XX-s.002", NameLine(3, "SEN", "Kari Nordmann", "Bygda", "97") +
                                                    NameLine(4, "SEN", "Other lane", "Byen", ""));
    EXPECT_EQ(range->exchange.ImportNames(3), 1);
    EXPECT_STREQ(Lane(3).name.name, "Kari Nordmann");
    EXPECT_EQ(static_cast<int>(Lane(3).name.startNumber), 203);
    EXPECT_EQ(static_cast<int>(Lane(3).name.startScore), 9700);
    EXPECT_EQ(StoredName(2, 3), "Kari Nordmann");
    EXPECT_NE(static_cast<int>(Lane(3).card.nameRec), 0);
    // The other lanes were not asked.
    EXPECT_EQ(StoredName(1, 4), "");
    EXPECT_STREQ(Lane(4).name.name, "");
}

TEST_F(ExchangeTest, ImportRefusals)
{
    bvtest::RangeFolderSetup setup;
    setup.resultsProgram = 3;
    Open(setup);
    WriteItem(objects->comp.CompConfig(), CompSettings::kPrefix, "H");
    EXPECT_EQ(range->exchange.ImportNames(0), 0);
    EXPECT_NE(Log().find("Illegal prefix (H)!"), std::string::npos);

    CRangeSettings::WriteExchangeFolder(objects->settings.Config(), ".\\Gone\\");
    EXPECT_EQ(range->exchange.ImportNames(0), 0);
    EXPECT_EQ(Warning(), "Cannot write to .\\Gone\\");
}

}  // namespace
