// The prize lists a new event starts with, by organisation type, kind and
// class switches: how many lists of each family, and the items that tell
// the templates apart.
#include "ResultsFixture.h"
#include "SettingsItems.h"
#include "platform/system/Codepage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace results;

class PrizeTemplateTest : public restest::CompetitionTest {
protected:
    bvtest::TempFolder memory{bvtest::TempFolder::InMemory};

    // BuildPrizes for event n in use, as event creation calls it; the
    // prize file's items afterwards.
    restest::Items Build(int org, int finalIndex, int kind, bool national, bool international, int n)
    {
        ::WriteItem(comp.Comp(), CompItems::EventInUse(n), 1);
        CDataEvent event;
        event.nationalClasses = national;
        event.internationalClasses = international;
        event.BuildPrizes(org, finalIndex, kind, n, 1, comp.Comp());
        EXPECT_TRUE(event.Prizes().IsOpen());
        return restest::ReadItems("Comp1/Prize" + std::to_string(n) + ".bvc");
    }

    // An item as the lists show it; "<none>" when the file does not have it.
    static std::string Item(const restest::Items& items, int section, int index, int key)
    {
        auto it = items.find({section, index, key});
        return it == items.end() ? "<none>" : restest::Shown(it->second);
    }
};

struct Check {
    int section, index, key;
    const char* shown;
};

struct Case {
    const char* what;
    int org;
    bool final;
    int kind;
    bool national, international;
    const char* classLists;  // PrizeClassCount, "<none>" when not written
    const char* groupLists;  // PrizeGroupCount
    std::vector<Check> checks;
};

TEST_F(PrizeTemplateTest, ListsByOrganisationKindAndSwitches)
{
    const Case cases[] = {
        {"type 1 kind 129 main: the class lists, the championships go to the final", 1, false, 129, false, false,
         "6", "<none>",
         {{10, 1, 1, "258"}, {10, 6, 640, "0"}, {10, 6, 11, "1"},
          // The press choice of class 1 sits at index 2.
          {35, 1, 1, "<none>"}, {35, 1, 2, "1"}, {37, 1, 2, "99"}, {11, 1, 500, "<none>"}}},
        {"type 1 kind 129 final: the youth championships on sub-event 2", 1, true, 129, false, false, "<none>", "5",
         {{11, 1, 1, "258"}, {11, 5, 1, "258"}, {11, 1, 500, "Mesterskap Rekrutt"}, {11, 1, 7, "2"},
          {13, 1, 2, "Gylt medalje"}, {13, 1, 3, "Sølv medalje"}, {13, 1, 4, "Bronse medalje"},
          // The single-place lists give silver to the winner.
          {13, 4, 2, "Sølv medalje"}, {13, 4, 3, "<none>"}, {11, 4, 530, "1"}, {11, 4, 531, "1"},
          {36, 4, 1, "1"}, {38, 4, 1, "3"}, {10, 1, 1, "<none>"}}},
        {"type 1 kind 5: two class lists", 1, false, 5, false, false, "2", "<none>",
         {{10, 1, 2, "\\x01\\x02\\x03\\x04"}, {10, 2, 2, "\\x05\\x06\\x07\\x08\\x09\\x0a\\x0b"}}},
        {"type 1 kind 133 main: none", 1, false, 133, false, false, "<none>", "<none>", {}},
        {"type 1 kind 133 final: none", 1, true, 133, false, false, "<none>", "<none>", {}},
        {"type 1 kind 2: Klasse 3-5 is classes 9-11 on a main event", 1, false, 2, false, false, "3", "4",
         {{11, 1, 2, "\\x09\\x0a\\x0b"}, {11, 1, 1, "259"}, {11, 2, 1, "258"}, {11, 4, 1, "259"}, {38, 1, 1, "5"}}},
        {"type 1 kind 130 main: class lists only", 1, false, 130, false, false, "3", "<none>", {}},
        {"type 1 kind 130 final: Klasse 3-5 is classes 8-11", 1, true, 130, false, false, "<none>", "4",
         {{11, 1, 2, "\\x08\\x09\\x0a\\x0b"}, {11, 1, 1, "258"}, {11, 4, 1, "258"}}},
        {"type 1 kind 4: the nine championships", 1, false, 4, false, false, "3", "9",
         {{11, 5, 500, "Mesterskap V73"}, {11, 6, 500, "Mesterskap Klasse 1"},
          {11, 8, 500, "Mesterskap Klasse 3-5"}, {11, 8, 8, "\\x01\\x03\\x04\\x08\\x0a"}, {38, 8, 1, "5"},
          {11, 9, 2, "\\x0c"}, {11, 9, 1, "258"}, {35, 3, 13, "1"}}},
        {"type 1 kind 11 main", 1, false, 11, false, false, "1", "3",
         {{11, 1, 500, "Mesterskap Klasse 2-5/V55"}, {11, 1, 2, "\\x08\\x09\\x0a\\x0b\\x0c"}, {11, 1, 7, "2"}}},
        {"type 1 kind 139 final: by final sum", 1, true, 139, false, false, "<none>", "3",
         {{11, 1, 500, "Mesterskap Klasse 2-5/V55"}, {11, 1, 7, "1"}, {11, 3, 1, "258"}}},
        {"type 1 kind 137 final: youth by final sum", 1, true, 137, false, false, "<none>", "5",
         {{11, 2, 7, "1"}, {11, 2, 1, "258"}}},
        {"type 2 without switches: nothing", 2, false, 1, false, false, "<none>", "<none>", {}},
        {"type 2 kind 4 national: the match lists", 2, false, 4, true, false, "5", "4",
         {{10, 1, 1, "264"}, {10, 1, 2, "\\x09\\x0a\\x0b"}, {10, 1, 530, "1/3"}, {10, 1, 640, "2"},
          {35, 1, 10, "<none>"}, {11, 1, 500, "Match klasse A"}, {11, 4, 500, "Match klasse D"},
          {11, 1, 2, "\\x01\\x02\\x03\\x04"}, {11, 4, 3, "\\x04"}, {11, 1, 8, "\\x01\\x02\\x03\\x04\\x08\\x0a"},
          {11, 1, 530, "1/3"}, {11, 1, 640, "2"}, {11, 1, 531, "<none>"}, {13, 1, 2, "<none>"},
          {36, 1, 1, "<none>"}}},
        {"type 2 kind 132 both switches", 2, false, 132, true, true, "5", "4",
         {{10, 5, 2, "\\x01\\x02\\x05\\x06\\x07\\x08\\x09\\x0a\\x0b"}, {11, 2, 2, "\\x01\\x05\\x06\\x07\\x08"},
          {11, 2, 3, "\\x02"}}},
        {"type 2 kind 4 international: no match lists", 2, false, 4, false, true, "3", "<none>",
         {{10, 1, 1, "263"}, {10, 1, 2, "\\x01\\x02\\x03\\x04\\x05\\x06\\x07"}}},
        {"type 2 final of kind 133 national", 2, true, 133, true, false, "<none>", "8",
         {{11, 1, 500, "Mesterskap Rifle Menn"}, {11, 1, 2, "\\x01\\x02\\x03\\x04"}, {11, 1, 3, "<none>"},
          {11, 5, 2, "\\x15\\x16\\x17\\x18"}, {11, 5, 3, "\\x01"}, {11, 7, 3, "\\x03"}, {11, 8, 3, "\\x03"},
          // 32 characters: the first 31 are kept.
          {11, 8, 500, "Mesterskap Pistol Junior Kvinne"}, {11, 1, 7, "1"}, {11, 1, 530, "3"},
          {11, 1, 640, "1"}, {38, 1, 1, "3"}}},
        {"type 2 final of kind 133 international", 2, true, 133, false, true, "<none>", "8",
         {{11, 5, 2, "\\x05"}, {11, 5, 3, "<none>"}}},
        {"type 2 final of kind 133 without switches", 2, true, 133, false, false, "<none>", "8",
         {{11, 1, 2, "<none>"}, {11, 5, 3, "<none>"}, {11, 1, 500, "Mesterskap Rifle Menn"}}},
        {"type 2 final of kind 129: none", 2, true, 129, true, true, "<none>", "<none>", {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restest::Items items = Build(c.org, c.final ? 99 : 0, c.kind, c.national, c.international, ++n);
        EXPECT_EQ(Item(items, 3, 1, 530), c.classLists);
        EXPECT_EQ(Item(items, 3, 1, 531), c.groupLists);
        for (const Check& check : c.checks)
            EXPECT_EQ(Item(items, check.section, check.index, check.key), check.shown)
                << check.section << "," << check.index << "," << check.key;
        if (c.classLists == std::string("<none>") && c.groupLists == std::string("<none>"))
            EXPECT_TRUE(items.empty());
    }
}

// Type 6 shares every template of type 2; types 3, 4 and 5 have none.
TEST_F(PrizeTemplateTest, TypeSixIsTypeTwoAndOthersGetNone)
{
    int n = 0;
    for (int kind : {1, 2, 3, 4, 5, 6, 129, 133})
        for (int switches = 0; switches < 4; ++switches)
            for (bool final : {false, true}) {
                SCOPED_TRACE(std::to_string(kind) + " switches " + std::to_string(switches) + (final ? " final" : ""));
                bool national = switches & 1, international = switches & 2;
                restest::Items type2 = Build(2, final ? 1 : 0, kind, national, international, ++n);
                restest::Items type6 = Build(6, final ? 1 : 0, kind, national, international, ++n);
                EXPECT_EQ(type6, type2);
                for (int org : {3, 4, 5})
                    EXPECT_TRUE(Build(org, final ? 1 : 0, kind, national, international, ++n).empty()) << org;
            }
}

TEST_F(PrizeTemplateTest, AnEventNotInUseGetsNoPrizeFile)
{
    CDataEvent event;
    event.BuildPrizes(1, 0, 1, 7, 1, comp.Comp());
    EXPECT_FALSE(event.Prizes().IsOpen());
    EXPECT_FALSE(std::filesystem::exists("Comp1/Prize7.bvc"));
}

// A second run writes the template's items again and leaves every other
// item as it was: a stake, a place text's second half, a list beyond the
// template's count.
TEST_F(PrizeTemplateTest, ASecondRunKeepsWhatTheTemplateDoesNotName)
{
    ::WriteItem(comp.Comp(), CompItems::EventInUse(1), 1);
    {
        CBVConfig prizes;
        prizes.Open(".\\Comp1\\Prize1.bvc", 1);
        ::WriteItem(prizes, PrizeItems::ClassSource(1), 999);
        ::WriteItem(prizes, PrizeItems::ClassStake(1), 5000);
        prizes.WriteString(14, 1, 2, "for beste skive");
        ::WriteItem(prizes, PrizeItems::ClassSource(9), 3);
        ::WriteItem(prizes, PrizeItems::GroupName(6), std::string("Egen liste"));
    }
    restest::Items items = Build(1, 0, 1, false, false, 1);
    EXPECT_EQ(Item(items, 10, 1, 1), "258");
    EXPECT_EQ(Item(items, 10, 1, 670), "5000");
    EXPECT_EQ(Item(items, 13, 1, 2), "Gylt medalje");
    EXPECT_EQ(Item(items, 14, 1, 2), "for beste skive");
    EXPECT_EQ(Item(items, 10, 9, 1), "3");
    EXPECT_EQ(Item(items, 11, 6, 500), "Egen liste");
    EXPECT_EQ(Item(items, 3, 1, 530), "6");
    EXPECT_EQ(Item(items, 3, 1, 531), "5");
}

}  // namespace
