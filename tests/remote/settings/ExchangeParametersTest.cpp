// The exchange parameters as the exchange page saves them into the range's
// own files: only what changed, each into the file that keeps it, and
// nothing for a competition that is not there.
#include "remote/settings/ExchangeParameters.h"

#include "tests/remote/RemoteRangeFixture.h"
#include "TempFolder.h"

#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class ExchangeParametersTest : public bvtest::InTempFolder {
protected:
    ExchangeParametersTest()
    {
        range.MakeComp(1, false, 2);
        CBVConfig settings;
        settings.Open(range.Win("BVLeder.BVC"), 1);
        WriteItem(settings, RangeItems::kResultsProgram, 3);
        settings.WriteString(1, 1, RangeItems::kExchangeFolderKey, "\\\\office\\results\\");
    }
    std::string Leder() const { return bvtest::TempFolder::Read("range/BVLeder.BVC"); }
    std::string Comp() const { return bvtest::TempFolder::Read("range/Comp1/Comp.Bvc"); }
    bvtest::RemoteRange range{"range"};
};

TEST_F(ExchangeParametersTest, OnlyWhatChangedIsWrittenWhereTheRangeKeepsIt)
{
    ExchangeParameters stored = ExchangeParameters::Load(range.Folder(), 1);
    EXPECT_EQ(stored.resultsProgram, 3);
    EXPECT_EQ(stored.officeFolder, "\\\\office\\results\\");
    EXPECT_EQ(stored.prefix, "H1");
    EXPECT_EQ(stored.startScoreMode, 2);

    struct Case {
        const char* what;
        void (*change)(ExchangeParameters&);
        bool range, competition;
        int startScoreMode;  // stored afterwards
        const char* prefix;
    };
    const Case cases[] = {
        {"nothing", [](ExchangeParameters&) {}, false, false, 2, "H1"},
        {"no radio checked", [](ExchangeParameters& p) { p.startScoreMode = -1; }, false, false, 2, "H1"},
        {"prefix, no radio", [](ExchangeParameters& p) {
             p.prefix = "K7";
             p.startScoreMode = -1;
         }, false, true, 2, "K7"},
        {"start score mode", [](ExchangeParameters& p) { p.startScoreMode = 0; }, false, true, 0, "H1"},
        {"no program selected", [](ExchangeParameters& p) { p.resultsProgram = -1; }, false, false, 2, "H1"},
    };
    for (const Case& c : cases) {
        range.MakeComp(1, false, 2);
        {
            CBVConfig comp;
            comp.Open(range.Win("Comp1\\Comp.Bvc"), 1);
            WriteItem(comp, CompSettings::kPrefix, "H1");
        }
        std::string leder = Leder(), compFile = Comp();
        ExchangeParameters p = stored;
        c.change(p);
        ExchangeParameters::Written written = p.Save(range.Folder(), 1);
        EXPECT_EQ(written.range, c.range) << c.what;
        EXPECT_EQ(written.competition, c.competition) << c.what;
        EXPECT_EQ(Leder(), leder) << c.what;
        if (!c.competition)
            EXPECT_EQ(Comp(), compFile) << c.what;
        ExchangeParameters now = ExchangeParameters::Load(range.Folder(), 1);
        EXPECT_EQ(now.startScoreMode, c.startScoreMode) << c.what;
        EXPECT_EQ(now.prefix, c.prefix) << c.what;
        EXPECT_EQ(now.resultsProgram, 3) << c.what;
    }
}

TEST_F(ExchangeParametersTest, FolderInPiecesAndBVResGetsItsOwnFolder)
{
    ExchangeParameters p = ExchangeParameters::Load(range.Folder(), 1);
    p.officeFolder = std::string(30, 'a') + std::string(10, 'b');
    EXPECT_TRUE(p.Save(range.Folder(), 1).range);
    {
        CBVConfig settings;
        settings.Open(range.Win("BVLeder.BVC"), 0);
        EXPECT_STREQ(settings.ReadString(1, 1, 570, "?"), std::string(30, 'a').c_str());
        EXPECT_STREQ(settings.ReadString(1, 1, 571, "?"), std::string(10, 'b').c_str());
        for (int key = 572; key <= 578; ++key)
            EXPECT_STREQ(settings.ReadString(1, 1, key, "?"), "") << key;
    }

    // From another program to BVRes, with a folder typed without its backslash.
    p.resultsProgram = 0;
    p.officeFolder = "C:\\Office";
    EXPECT_TRUE(p.Save(range.Folder(), 1).range);
    ExchangeParameters now = ExchangeParameters::Load(range.Folder(), 1);
    EXPECT_EQ(now.resultsProgram, 0);
    EXPECT_EQ(now.officeFolder, "C:\\Office\\BV\\");
}

TEST_F(ExchangeParametersTest, ACompetitionThatIsNotThereIsNotMade)
{
    ExchangeParameters p = ExchangeParameters::Load(range.Folder(), 4);
    EXPECT_EQ(p.startScoreMode, -1);
    EXPECT_EQ(p.resultsProgram, -1);
    EXPECT_EQ(p.prefix, "");
    p.prefix = "K7";
    p.startScoreMode = 1;
    p.resultsProgram = 0;
    std::string leder = Leder();
    ExchangeParameters::Written written = p.Save(range.Folder(), 4);
    EXPECT_FALSE(written.range);
    EXPECT_FALSE(written.competition);
    EXPECT_FALSE(std::filesystem::exists("range/Comp4"));
    EXPECT_EQ(Leder(), leder);
}

}  // namespace
