// New events from the built-in templates: every item written for a table of
// organisation types, kinds, exchange types, series types and class
// switches; result types; prefixes running out; two programs creating
// events in one competition at once.
#include "ResultsFixture.h"
#include "SettingsItems.h"
#include "platform/system/Clock.h"
#include "platform/system/Codepage.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace results;
using restest::Changes;
using restest::ReadFolder;

struct Creation {
    int kind;
    int exch = 0;
    std::string types = {};  // series types, one byte each
    bool national = false;
    bool international = false;
    int holds = 0;
    int extraHolds = 0;
};

class EventCreationTest : public restest::CompetitionTest {
protected:
    // Every item is written through to the disk; in memory the many items
    // of a new event cost the tests no disk time.
    bvtest::TempFolder memory{bvtest::TempFolder::InMemory};

    void SetUp() override
    {
        CompetitionTest::SetUp();
        clock.now = {2026, 3, 14, 9, 0, 0, 0, 6};
        platform::SetClock(&clock);
    }
    void TearDown() override { platform::SetClock(nullptr); }

    // The competition's organisation type and classes, by their short names.
    void Competition(int org, const std::vector<std::string>& classes)
    {
        ::WriteItem(comp.Comp(), CompItems::kOrgType, org);
        ::WriteItem(comp.Comp(), CompItems::kClassCount, static_cast<int>(classes.size()));
        for (size_t i = 0; i < classes.size(); ++i)
            ::WriteItem(comp.Comp(), CompItems::ClassName(static_cast<int>(i) + 1), classes[i]);
    }

    // The event wizard's call, on a temporary event object; the main event's number.
    int Create(int org, const Creation& c)
    {
        CDataEvent event;
        event.nationalClasses = c.national;
        event.internationalClasses = c.international;
        return event.CreateEvent(1, org, c.kind, c.exch, c.types, c.holds, c.extraHolds);
    }

    int Read(const std::string& file, int section, int index, int key)
    {
        CBVConfig settings;
        settings.Open(".\\Comp1\\" + file, 0);
        return settings.ReadInt(section, index, key, -999);
    }
    std::string Text(const std::string& file, int section, int index, int key)
    {
        CBVConfig settings;
        settings.Open(".\\Comp1\\" + file, 0);
        return settings.ReadString(section, index, key, "<none>");
    }

    platform::ManualClock clock;
};

std::string Types(std::initializer_list<int> types)
{
    std::string bytes;
    for (int t : types)
        bytes += static_cast<char>(t);
    return bytes;
}

struct GoldenCase {
    const char* what;
    int org;
    std::vector<std::string> classes;
    std::vector<Creation> creations;
    std::string expected;
    std::vector<std::pair<int, std::string>> kmeFolder = {};  // User.bvc (2,1,570 + i)
};

// The prize file of a main event of organisation type 1, kind 1 (100m): the
// class lists of template A and the youth championships on sub-event 3.
const char* const kOrg1Kind1Prizes = R"(3,1: 530=6 531=5
10,1: 1=258 2=\x01 7=0 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 530=1/1 640=1
10,2: 1=257 2=\x02\x03\x04 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 530=1/3 640=2
10,3: 1=257 2=\x05\x06 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 530=1/3 640=2
10,4: 1=4 2=\x02\x03\x04 7=2 8=\x01\x03\x04\x07\x0a 9=0 10=\x01\x03\x04\x07\x0a 530=1/3 640=2
10,5: 1=4 2=\x05\x06 7=2 8=\x01\x03\x04\x07\x0a 9=0 10=\x01\x03\x04\x07\x0a 530=1/3 640=2
10,6: 1=258 2=\x02\x03\x04\x05\x06 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 11=1 530=1/1 640=0
11,1: 1=259 2=\x02 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 500=Mesterskap Rekrutt 530=3 531=3 640=1
11,2: 1=259 2=\x03 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 500=Mesterskap Eldre rekrutt 530=3 531=3 640=1
11,3: 1=259 2=\x04 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 500=Mesterskap Junior 530=3 531=3 640=1
11,4: 1=259 2=\x05 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 500=Mesterskap V65 530=1 531=1 640=1
11,5: 1=259 2=\x06 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 500=Mesterskap V73 530=1 531=1 640=1
13,1: 2=Gylt medalje 3=Sølv medalje 4=Bronse medalje
13,2: 2=Gylt medalje 3=Sølv medalje 4=Bronse medalje
13,3: 2=Gylt medalje 3=Sølv medalje 4=Bronse medalje
13,4: 2=Sølv medalje
13,5: 2=Sølv medalje
35,1: 2=1
35,6: 3=1 4=1 5=1 6=1 7=1
36,1: 1=1
36,2: 1=1
36,3: 1=1
36,4: 1=1
36,5: 1=1
37,1: 2=99
37,6: 3=99 4=99 5=99 6=99 7=99
38,1: 1=3
38,2: 1=3
38,3: 1=3
38,4: 1=3
38,5: 1=3
)";

// Kind 2 (200m): the class lists of template B and the class championships.
const char* const kOrg1Kind2Prizes = R"(3,1: 530=3 531=4
10,1: 1=257 2=\x07\x08\x09\x0a\x0b\x0c\x0d 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 530=1/3 640=2
10,2: 1=4 2=\x07\x08\x09\x0a\x0b\x0c\x0d 7=2 8=\x01\x03\x04\x07\x0a 9=0 10=\x01\x03\x04\x07\x0a 530=1/3 640=2
10,3: 1=258 2=\x07\x08\x09\x0a\x0b\x0c\x0d 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 11=1 530=1/1 640=0
11,1: 1=259 2=\x09\x0a\x0b 7=2 8=\x01\x03\x04\x05\x08\x0a 9=0 10=\x01\x03\x04\x05\x08\x0a 500=Mesterskap Klasse 3-5 530=3 531=3 640=1
11,2: 1=258 2=\x07 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 500=Mesterskap Klasse 1 530=1 531=1 640=1
11,3: 1=258 2=\x08 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 500=Mesterskap Klasse 2 530=1 531=1 640=1
11,4: 1=259 2=\x0c 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 500=Mesterskap V55 530=1 531=1 640=1
13,1: 2=Gylt medalje 3=Sølv medalje 4=Bronse medalje
13,2: 2=Sølv medalje
13,3: 2=Sølv medalje
13,4: 2=Sølv medalje
35,3: 8=1 9=1 10=1 11=1 12=1 13=1 14=1
36,1: 1=1
36,2: 1=1
36,3: 1=1
36,4: 1=1
37,3: 8=99 9=99 10=99 11=99 12=99 13=99 14=99
38,1: 1=5
38,2: 1=3
38,3: 1=3
38,4: 1=3
)";

// The lines of a prize file's items under the file's name.
std::string Prize(int event, const char* lines)
{
    std::istringstream in(lines);
    std::string text, line;
    while (std::getline(in, line))
        text += "Prize" + std::to_string(event) + ".bvc " + line + "\n";
    return text;
}

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.what; }

class GoldenTest : public EventCreationTest, public testing::WithParamInterface<GoldenCase> {};

// Every item the events' creation writes into the competition's settings
// files, in an empty competition.
TEST_P(GoldenTest, EveryItemWrittenMatchesTheTemplate)
{
    const GoldenCase& c = GetParam();
    Competition(c.org, c.classes);
    CBVConfig user;
    user.Open(".\\Common\\User.bvc", 1);
    for (const auto& [i, piece] : c.kmeFolder)
        user.WriteString(2, 1, 570 + i, piece.c_str());
    auto before = ReadFolder("Comp1");
    for (const Creation& creation : c.creations)
        Create(c.org, creation);
    EXPECT_EQ(Changes(before, ReadFolder("Comp1")), c.expected);
}

const GoldenCase kGoldenCases[] = {
    // The first event of an empty competition: 60 skudd, six series of ten, two sub-events.
    {"Org2Kind1", 2, {"A", "M"}, {{1}},
     std::string(R"(Comp.bvc 2,1: 1=1
Comp.bvc 3,1: 11=1 12=1 13=6 14=1 15=10 16=2 500=60 skudd 680=1
Event1.bvc 3,1: 20=1 21=1
Event1.bvc 4,1: 510=20260314
Event1.bvc 5,1: 520=08:00 530=1 531=1
Event1.bvc 8,1: 500=Serie 1 530=10 650=0
Event1.bvc 8,2: 500=Serie 2 530=10 650=0
Event1.bvc 8,3: 500=Serie 3 530=10 650=0
Event1.bvc 8,4: 500=Serie 4 530=10 650=0
Event1.bvc 8,5: 500=Serie 5 530=10 650=0
Event1.bvc 8,6: 500=Serie 6 530=10 650=0
Event1.bvc 9,1: 21=\x01\x02\x03 22=0 500=30 Skudd
Event1.bvc 9,2: 21=\x01\x02\x03\x04\x05\x06 22=1 500=60 Skudd
Exch.bvc 12,1: 630= 640=0
)") +
         "Prize1.bvc -\n"},
    // With its final, whose series type comes after the main event's six; the
    // international classes only.
    {"Org2Kind129International", 2, {"A", "M", "JM", "W"}, {{129, 0, Types({0, 0, 0, 0, 0, 0, 5}), false, true}},
     std::string(R"(Comp.bvc 2,1: 1=2
Comp.bvc 3,1: 11=1 12=1 13=6 14=1 15=10 16=2 500=60 skudd 680=1
Comp.bvc 3,2: 11=1 12=1 13=1 14=1 15=10 16=2 500=Finale 60 skudd 680=1
Event1.bvc 3,1: 20=1 21=129
Event1.bvc 4,1: 510=20260314
Event1.bvc 5,1: 520=08:00 530=1 531=1
Event1.bvc 6,2: 680=1
Event1.bvc 6,3: 680=1
Event1.bvc 6,4: 680=1
Event1.bvc 8,1: 500=Serie 1 530=10 650=0
Event1.bvc 8,2: 500=Serie 2 530=10 650=0
Event1.bvc 8,3: 500=Serie 3 530=10 650=0
Event1.bvc 8,4: 500=Serie 4 530=10 650=0
Event1.bvc 8,5: 500=Serie 5 530=10 650=0
Event1.bvc 8,6: 500=Serie 6 530=10 650=0
Event1.bvc 9,1: 21=\x01\x02\x03 22=0 500=30 Skudd
Event1.bvc 9,2: 21=\x01\x02\x03\x04\x05\x06 22=1 500=60 Skudd
Event2.bvc 3,1: 680=1
Event2.bvc 3,2: 19=1 20=1
Event2.bvc 4,1: 510=20260314
Event2.bvc 5,1: 520=08:00 530=1 531=1
Event2.bvc 6,2: 680=1
Event2.bvc 6,3: 680=1
Event2.bvc 6,4: 680=1
Event2.bvc 8,1: 500=Finale 530=10 650=5
Event2.bvc 9,1: 21=\x82\x01 22=0 500=Hovedskyting
Event2.bvc 9,2: 21=\x82\x01\x01 22=0 500=Mesterskap
Exch.bvc 12,1: 630= 640=0
Exch.bvc 12,2: 630= 640=0
)") +
         R"(Prize1.bvc 3,1: 530=1
Prize1.bvc 10,1: 1=258 2=\x01\x02\x03\x04\x05\x06\x07 7=2 8=\x01\x03\x04\x08\x0a 9=0 10=\x01\x03\x04\x08\x0a 530=1/3 640=2
)" + "Prize2.bvc -\n"},
    // Three 100m events get H1, H2, H3; a 200m event tries H2, H3 and gets H4.
    {"Org1ThreeKind1ThenKind2", 1, {"R", "ER", "J", "1", "AG3"}, {{1, 1}, {1, 1}, {1, 1}, {2, 1}},
     std::string(R"(Comp.bvc 2,1: 1=4
Comp.bvc 3,1: 11=1 12=1 13=5 14=1 15=10 16=3 500=100m 680=1
Comp.bvc 3,2: 11=1 12=1 13=5 14=1 15=10 16=3 500=100m 680=1
Comp.bvc 3,3: 11=1 12=1 13=5 14=1 15=10 16=3 500=100m 680=1
Comp.bvc 3,4: 11=1 12=1 13=5 14=1 15=10 16=3 500=200m 680=1
Event1.bvc 3,1: 20=0 21=1
Event1.bvc 4,1: 510=20260314
Event1.bvc 5,1: 520=08:00 530=1 531=1
Event1.bvc 6,1: 680=1
Event1.bvc 6,2: 680=1
Event1.bvc 6,3: 680=1
Event1.bvc 7,4: 680=1
Event1.bvc 7,5: 680=1
Event1.bvc 8,1: 500=Serie 1 530=5 650=0
Event1.bvc 8,2: 500=Serie 2 530=5 650=0
Event1.bvc 8,3: 500=Serie 3 530=5 650=0
Event1.bvc 8,4: 500=10 Skudd 530=10 650=0
Event1.bvc 8,5: 500=Omgang 530=10 650=0
Event1.bvc 9,1: 21=\x01\x02\x03 22=0 500=15 Skudd
Event1.bvc 9,2: 21=\x01\x02\x03\x04 22=1 500=25 Skudd
Event1.bvc 9,3: 21=\x01\x02\x03\x04\x05 22=1 500=35 Skudd
Event2.bvc 3,1: 21=1
Event2.bvc 3,2: 20=0
Event2.bvc 4,1: 510=20260314
Event2.bvc 5,1: 520=08:00 530=1 531=1
Event2.bvc 6,1: 680=1
Event2.bvc 6,2: 680=1
Event2.bvc 6,3: 680=1
Event2.bvc 7,4: 680=1
Event2.bvc 7,5: 680=1
Event2.bvc 8,1: 500=Serie 1 530=5 650=0
Event2.bvc 8,2: 500=Serie 2 530=5 650=0
Event2.bvc 8,3: 500=Serie 3 530=5 650=0
Event2.bvc 8,4: 500=10 Skudd 530=10 650=0
Event2.bvc 8,5: 500=Omgang 530=10 650=0
Event2.bvc 9,1: 21=\x01\x02\x03 22=0 500=15 Skudd
Event2.bvc 9,2: 21=\x01\x02\x03\x04 22=1 500=25 Skudd
Event2.bvc 9,3: 21=\x01\x02\x03\x04\x05 22=1 500=35 Skudd
Event3.bvc 3,1: 21=1
Event3.bvc 3,3: 20=0
Event3.bvc 4,1: 510=20260314
Event3.bvc 5,1: 520=08:00 530=1 531=1
Event3.bvc 6,1: 680=1
Event3.bvc 6,2: 680=1
Event3.bvc 6,3: 680=1
Event3.bvc 7,4: 680=1
Event3.bvc 7,5: 680=1
Event3.bvc 8,1: 500=Serie 1 530=5 650=0
Event3.bvc 8,2: 500=Serie 2 530=5 650=0
Event3.bvc 8,3: 500=Serie 3 530=5 650=0
Event3.bvc 8,4: 500=10 Skudd 530=10 650=0
Event3.bvc 8,5: 500=Omgang 530=10 650=0
Event3.bvc 9,1: 21=\x01\x02\x03 22=0 500=15 Skudd
Event3.bvc 9,2: 21=\x01\x02\x03\x04 22=1 500=25 Skudd
Event3.bvc 9,3: 21=\x01\x02\x03\x04\x05 22=1 500=35 Skudd
Event4.bvc 3,1: 21=2
Event4.bvc 3,4: 20=0
Event4.bvc 4,1: 510=20260314
Event4.bvc 5,1: 520=08:00 530=1 531=1
Event4.bvc 6,4: 680=1
Event4.bvc 6,5: 680=1
Event4.bvc 7,4: 680=1
Event4.bvc 8,1: 500=Ligg 530=5 650=0
Event4.bvc 8,2: 500=Stå 530=5 650=0
Event4.bvc 8,3: 500=Kne 530=5 650=0
Event4.bvc 8,4: 500=Grunnlag 530=10 650=0
Event4.bvc 8,5: 500=Omgang 530=10 650=0
Event4.bvc 9,1: 21=\x01\x02\x03 22=0 500=15 Skudd
Event4.bvc 9,2: 21=\x01\x02\x03\x04 22=1 500=25 Skudd
Event4.bvc 9,3: 21=\x01\x02\x03\x04\x05 22=1 500=35 Skudd
Exch.bvc 12,1: 630=H1 640=1
Exch.bvc 12,2: 630=H2 640=1
Exch.bvc 12,3: 630=H3 640=1
Exch.bvc 12,4: 630=H4 640=1
)") +
         Prize(1, kOrg1Kind1Prizes) + Prize(2, kOrg1Kind1Prizes) + Prize(3, kOrg1Kind1Prizes) + Prize(4, kOrg1Kind2Prizes)},
    // A KME event takes the folder of its prefix from User.bvc; a second event
    // wanting the same prefix is made without exchange.
    {"Org1Kme", 1, {"R"}, {{1, 4}, {6, 4}},
     std::string(R"(Comp.bvc 2,1: 1=2
Comp.bvc 3,1: 11=1 12=1 13=5 14=1 15=10 16=3 500=100m 680=1
Comp.bvc 3,2: 11=1 12=1 13=1 14=1 15=10 16=0 500=10sk. 100m 680=1
Event1.bvc 3,1: 20=0 21=1
Event1.bvc 4,1: 510=20260314
Event1.bvc 5,1: 520=08:00 530=1 531=1
Event1.bvc 6,1: 680=1
Event1.bvc 7,4: 680=1
Event1.bvc 7,5: 680=1
Event1.bvc 8,1: 500=Serie 1 530=5 650=0
Event1.bvc 8,2: 500=Serie 2 530=5 650=0
Event1.bvc 8,3: 500=Serie 3 530=5 650=0
Event1.bvc 8,4: 500=10 Skudd 530=10 650=0
Event1.bvc 8,5: 500=Omgang 530=10 650=0
Event1.bvc 9,1: 21=\x01\x02\x03 22=0 500=15 Skudd
Event1.bvc 9,2: 21=\x01\x02\x03\x04 22=1 500=25 Skudd
Event1.bvc 9,3: 21=\x01\x02\x03\x04\x05 22=1 500=35 Skudd
Event2.bvc 3,1: 21=6
Event2.bvc 3,2: 20=0
Event2.bvc 4,1: 510=20260314
Event2.bvc 5,1: 520=08:00 530=1 531=1
Event2.bvc 6,1: 680=1
Event2.bvc 7,4: 680=1
Event2.bvc 7,5: 680=1
Event2.bvc 8,1: 500=10 skudd 100m 530=10 650=0
Exch.bvc 1,1: 570=C:\KME\Bane 571=1 572= 573= 574= 575= 576= 577= 578=
Exch.bvc 12,1: 630=1 640=4
Exch.bvc 12,2: 630= 640=0
)") +
         Prize(1, kOrg1Kind1Prizes) + "Prize2.bvc -\n",
     {{0, "C:\\KME\\Bane"}, {1, "1"}}},
    // Moose targets: one and four lanes; Totalt sums the previous event's
    // first sub-event; the final of kind 133.
    {"Org3Kinds4And5ThenFinal", 3, {"A", "JA", "X"}, {{4}, {5}, {133}},
     std::string(R"(Comp.bvc 2,1: 1=4
Comp.bvc 3,1: 11=1 12=1 13=2 14=1 15=4 16=1 500=Fasthold elg 680=1
Comp.bvc 3,2: 11=1 12=1 13=2 14=1 15=1 16=2 500=Løpende elg 680=1
Comp.bvc 3,3: 11=1 12=1 13=2 14=1 15=1 16=2 500=Løpende elg 680=1
Comp.bvc 3,4: 11=1 12=1 13=2 14=1 15=1 16=2 500=Finale elgbane 680=1
Event1.bvc 3,1: 20=3 21=4
Event1.bvc 4,1: 510=20260314
Event1.bvc 5,1: 520=08:00 530=1 531=1
Event1.bvc 6,1: 680=1
Event1.bvc 6,2: 680=1
Event1.bvc 8,1: 500=Serie 1 530=5 650=0
Event1.bvc 8,2: 500=Serie 2 530=5 650=0
Event1.bvc 9,1: 21=\x01\x02 22=0 500=Fasthold
Event2.bvc 3,1: 21=5
Event2.bvc 3,2: 20=3
Event2.bvc 4,1: 510=20260314
Event2.bvc 5,1: 520=08:00 530=1 531=1
Event2.bvc 6,1: 680=1
Event2.bvc 6,2: 680=1
Event2.bvc 8,1: 500=Serie 1 530=5 650=0
Event2.bvc 8,2: 500=Serie 2 530=5 650=0
Event2.bvc 9,1: 21=\x01\x02 22=0 500=Løpende
Event2.bvc 9,2: 21=\x81\x01\x01\x02 22=1 500=Totalt
Event3.bvc 3,1: 21=133
Event3.bvc 3,3: 20=3
Event3.bvc 4,1: 510=20260314
Event3.bvc 5,1: 520=08:00 530=1 531=1
Event3.bvc 6,1: 680=1
Event3.bvc 6,2: 680=1
Event3.bvc 8,1: 500=Serie 1 530=5 650=0
Event3.bvc 8,2: 500=Serie 2 530=5 650=0
Event3.bvc 9,1: 21=\x01\x02 22=0 500=Løpende
Event3.bvc 9,2: 21=\x81\x02\x01\x02 22=1 500=Totalt
Event4.bvc 3,1: 680=1
Event4.bvc 3,4: 19=0 20=3
Event4.bvc 4,1: 510=20260314
Event4.bvc 5,1: 520=08:00 530=1 531=1
Event4.bvc 6,1: 680=1
Event4.bvc 6,2: 680=1
Event4.bvc 8,1: 500=1 Finaleserie 530=5 650=0
Event4.bvc 8,2: 500=2 Finaleserie 530=5 650=0
Event4.bvc 9,1: 21=\x82\x03 22=0 500=Hovedskyting
Event4.bvc 9,2: 21=\x82\x03\x01\x02 22=0 500=Mesterskap
Exch.bvc 12,1: 630= 640=0
Exch.bvc 12,2: 630= 640=0
Exch.bvc 12,3: 630= 640=0
Exch.bvc 12,4: 630= 640=0
)") +
         "Prize1.bvc -\n" + "Prize2.bvc -\n" + "Prize3.bvc -\n" + "Prize4.bvc -\n"},
    // Field pistol with three holds and two precision series, and a final
    // without a template of its own.
    {"Org2FieldPistolWithFinal", 2, {"A"}, {{144, 2, Types({7, 0, 0, 0, 0, 1}), false, false, 3, 2}},
     std::string(R"(Comp.bvc 2,1: 1=2
Comp.bvc 3,1: 11=1 12=1 13=5 14=1 15=10 16=1 500= 680=1
Comp.bvc 3,2: 11=1 12=1 13=0 14=1 15=10 16=2 500= 680=1
Event1.bvc 3,1: 20=7 21=144
Event1.bvc 4,1: 510=20260314
Event1.bvc 5,1: 520=08:00 530=1 531=1
Event1.bvc 8,1: 500=H 1 530=6 650=7
Event1.bvc 8,2: 500=H 2 530=6 650=0
Event1.bvc 8,3: 500=H 3 530=6 650=0
Event1.bvc 8,4: 500=P.Hold 1 530=99 650=0
Event1.bvc 8,5: 500=P.Hold 2 530=99 650=0
Event1.bvc 9,1: 21=\x01\x02\x03 22=1 500=Feltpistol
Event2.bvc 3,1: 680=1
Event2.bvc 3,2: 19=1 20=7
Event2.bvc 4,1: 510=20260314
Event2.bvc 5,1: 520=08:00 530=1 531=1
Event2.bvc 9,1: 21=\x81\x01 22=0 500=Hovedskyting
Event2.bvc 9,2: 21= 22=0 500=Mesterskap
Exch.bvc 12,1: 630=H1 640=2
Exch.bvc 12,2: 21=1 630=F1 640=2
)") +
         "Prize1.bvc -\n" + "Prize2.bvc -\n"},
    // An organisation type without templates: the generic kinds only.
    {"Org4Generic", 4, {"A", "B"}, {{128, 1}, {0}},
     std::string(R"(Comp.bvc 2,1: 1=3
Comp.bvc 3,1: 11=1 12=1 13=1 14=1 15=10 16=1 500=Hovedskyting 680=1
Comp.bvc 3,2: 11=1 12=1 13=1 14=1 15=10 16=2 500=Finale 680=1
Comp.bvc 3,3: 11=1 12=1 13=1 14=1 15=10 16=1 500=Øvelse 680=1
Event1.bvc 3,1: 20=1 21=128
Event1.bvc 4,1: 510=20260314
Event1.bvc 5,1: 520=08:00 530=1 531=1
Event1.bvc 6,1: 680=1
Event1.bvc 6,2: 680=1
Event1.bvc 8,1: 500=Serie 1 530=10 650=0
Event1.bvc 9,1: 21=\x01 22=0 500=Hoved
Event2.bvc 3,1: 680=1
Event2.bvc 4,1: 510=20260314
Event2.bvc 5,1: 520=08:00 530=1 531=1
Event2.bvc 6,1: 680=1
Event2.bvc 6,2: 680=1
Event2.bvc 8,1: 500=Serie 1 530=10 650=0
Event2.bvc 9,1: 21=\x81\x01 22=0 500=Innledende
Event2.bvc 9,2: 21=\x81\x01\x01 22=0 500=Mesterskap
Event3.bvc 3,1: 21=0
Event3.bvc 3,3: 20=1
Event3.bvc 4,1: 510=20260314
Event3.bvc 5,1: 520=08:00 530=1 531=1
Event3.bvc 6,1: 680=1
Event3.bvc 6,2: 680=1
Event3.bvc 8,1: 500=Serie 1 530=10 650=0
Event3.bvc 9,1: 21=\x01 22=0 500=Total
Exch.bvc 12,1: 630=H1 640=1
Exch.bvc 12,2: 21=1 630=F1 640=1
Exch.bvc 12,3: 630= 640=0
)") +
         "Prize1.bvc -\n" + "Prize2.bvc -\n" + "Prize3.bvc -\n"},
};

INSTANTIATE_TEST_SUITE_P(Events, GoldenTest, testing::ValuesIn(kGoldenCases),
                         [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.what); });

TEST_F(EventCreationTest, DefaultNames)
{
    struct Case {
        int org, final, kind;
        const char* name;  // UTF-8
    };
    const Case cases[] = {
        {2, 0, 1, "60 skudd"},
        {2, 1, 129, "Finale 60 skudd"},
        {6, 1, 129, "Finale 60 skudd"},
        {2, 0, 4, "Utvidet helmatch"},
        {2, 1, 132, "Finale Helmatch"},
        {2, 1, 134, "15m finale"},
        {2, 0, 7, "Hurtig (CISM)"},
        {2, 1, 135, "Finale Hurtig (CISM)"},
        {2, 1, 142, "Finale VM"},
        {2, 1, 141, ""},
        {2, 0, 9, ""},
        {1, 0, 129, "100m hoved"},
        {1, 1, 129, "100m omgang"},
        {1, 0, 9, "Finfelt"},
        {1, 1, 139, "Grovfelt mesterskap"},
        // Type 1 borrows the names of types 2 and 6 for kinds it has none of.
        {1, 0, 133, "Luft"},
        {1, 1, 133, "Finale Luft"},
        {3, 0, 133, "Løpende elg"},
        {3, 1, 133, "Finale elgbane"},
        {5, 0, 0, "Øvelse"},
        {5, 0, 128, "Hovedskyting"},
        {5, 1, 128, "Finale"},
        {5, 0, 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CDataEvent::EventNameFor(c.org, c.final, c.kind), platform::Ansi(c.name))
            << c.org << " " << c.final << " " << c.kind;
}

TEST_F(EventCreationTest, ClassSetsBySwitchesAndMainOrFinal)
{
    struct Case {
        int org, final, kind;
        bool national, international;
        const char* name;
        int takesPart;
    };
    const Case cases[] = {
        {1, 0, 1, false, false, "ASP", 1},
        {1, 1, 129, false, false, "ASP", 0},  // main events only
        {1, 1, 129, false, false, "V73", 1},
        {1, 0, 2, false, false, "JEG", 0},
        {1, 0, 4, false, false, "AG3", 1},
        {1, 0, 14, false, false, "R", 0},
        {2, 0, 3, true, false, "Jk", 1},
        {2, 0, 3, false, false, "Jk", 0},
        {2, 0, 3, false, true, "JW", 1},
        {2, 0, 5, false, true, "Wp", 1},
        {2, 1, 133, true, true, "Wp", 1},
        {2, 0, 3, false, true, "Wp", 0},
        {2, 0, 5, true, false, "Wp", 0},
        {2, 0, 1, true, false, "a", 0},  // names are compared exactly
        {6, 0, 1, true, false, "U12P", 1},
        {3, 0, 1, false, false, "JB", 1},
        {4, 0, 1, true, true, "A", 0},
        {4, 0, 128, false, false, "anything", 1},  // the generic event takes every class
        {1, 0, 0, false, false, "anything", 1},
    };
    for (const Case& c : cases) {
        CDataEvent event;
        event.nationalClasses = c.national;
        event.internationalClasses = c.international;
        EXPECT_EQ(event.ClassesFor(c.org, c.final, c.kind, c.name), c.takesPart)
            << c.org << " " << c.final << " " << c.kind << " " << c.name;
    }
}

// Programs the golden lists above do not show: the series as NAME:SHOTS,
// the sub-events as NAME=CODE (* when counted in the report, the code's
// bytes in decimal), the categories taking part.
TEST_F(EventCreationTest, ProgramTemplates)
{
    struct Case {
        int org, kind, finalIndex, event;
        bool national;
        const char* series;
        const char* subs;
        const char* categories;
    };
    const Case cases[] = {
        {2, 4, 0, 1, true,
         "Ligg 1:10 Ligg 2:10 Ligg 3:10 Ligg 4:10 Ligg 5:10 Ligg 6:10 Stå 1:10 Stå 2:10 Stå 3:10 Stå 4:10 "
         "Kne 1:10 Kne 2:10 Kne 3:10 Kne 4:10",
         "Halvmatch=1.2.7.8.11.12 Helmatch*=1.2.3.4.7.8.9.10.11.12.13.14 Ligg=1.2.3.4 Stå=7.8.9.10 "
         "Kne=11.12.13.14 Kvartmatch=1.7.11 60 Ligg*=1.2.3.4.5.6 30 Ligg=1.2.3",
         "1 2 3 4"},
        {6, 5, 0, 1, true, "Serie 1:10 Serie 2:10 Serie 3:10 Serie 4:10 Serie 5:10 Serie 6:10",
         "30 Skudd=1.2.3 40 Skudd=1.2.3.4 60 Skudd*=1.2.3.4.5.6", "1 2 3 4 5 6"},
        {2, 12, 0, 1, false,
         "8 sek 1 serie:10 6 sek 1 serie:10 4 sek 1 serie:10 8 sek 3 serie:10 6 sek 3 serie:10 4 sek 3 serie:10",
         "Stage 1=1.3.5 Stage 2=2.4.6 Silhuett*=1.2.3.4.5.6", ""},
        {2, 14, 0, 5, false, "Duell 1 serie:10 Duell 2 serie:10 Duell 3 serie:10", "Duell=1.2.3 VM*=129.4.1.2.3", ""},
        {2, 136, 7, 8, false, "1 Finaleserie:10 2 Finaleserie:10", "Hovedskyting=131.7 Mesterskap=131.7.1.2", ""},
        // Finals without a template of their own.
        {2, 128, 3, 4, false, "Serie 1:10",
         "Innledende=129.3 Mesterskap=129.3.1 Hovedskyting=131.3 Mesterskap=", ""},
        {2, 130, 2, 3, false, "", "Hovedskyting=130.2 Mesterskap=", ""},
        {3, 129, 1, 2, false, "", "Hovedskyting=130.1 Mesterskap=", ""},
        {1, 129, 1, 2, false, "Omgang:10", "Hovedskyting=130.1 Mesterskap*=130.1.1", "4 5"},
        {1, 137, 2, 3, false, "1 Hold:6 2 Hold:6", "Hovedskyting=129.2 Mesterskap*=129.2.1.2", "4"},
        {1, 133, 0, 1, false, "", "", "4"},
        {1, 132, 1, 2, false, "", "", "4"},
        {2, 9, 0, 1, true, "", "", ""},
        {5, 1, 0, 1, false, "", "", ""},
    };
    int file = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.org) + " kind " + std::to_string(c.kind));
        const std::string path = "Program" + std::to_string(++file) + ".bvc";
        CBVConfig settings;
        settings.Open(path, 1);
        CDataEvent event;
        event.nationalClasses = c.national;
        int subs = -1;
        int series = event.BuildProgram(c.org, c.finalIndex, c.kind, settings, subs, c.event, 0, 0);
        restest::Items items = restest::ReadItems(path);
        auto text = [&](int section, int index, int key) {
            auto it = items.find({section, index, key});
            return it == items.end() ? std::string("<none>") : platform::Cp1252ToUtf8(it->second);
        };
        std::string seriesText, subText, categories;
        for (int s = 1; s <= series; ++s)
            seriesText += (s > 1 ? " " : "") + text(8, s, 500) + ":" + text(8, s, 530);
        for (int k = 1; k <= subs; ++k) {
            std::string code;
            for (unsigned char b : items[{9, k, 21}])
                code += (code.empty() ? "" : ".") + std::to_string(b);
            subText += (k > 1 ? " " : "") + text(9, k, 500) + (text(9, k, 22) == "1" ? "*" : "") + "=" + code;
        }
        for (const auto& [key, value] : items)
            if (std::get<0>(key) == 7)
                categories += (categories.empty() ? "" : " ") + std::to_string(std::get<1>(key));
        EXPECT_EQ(seriesText, c.series);
        EXPECT_EQ(subText, c.subs);
        EXPECT_EQ(categories, c.categories);
        EXPECT_EQ(text(8, series + 1, 500), "<none>");
        EXPECT_EQ(text(9, subs + 1, 500), "<none>");
    }
}

// The result type by organisation type, exchange and series types; the
// final's by its main event's series types.
TEST_F(EventCreationTest, ResultTypes)
{
    struct Case {
        int org, kind, exch;
        std::string types;
        int main;
        int final = -999;       // -999: not written
        int finalScoring = -999;
    };
    const Case cases[] = {
        {1, 1, 0, Types({0, 9}), 5},
        {1, 1, 1, Types({0, 9}), 0},
        {1, 1, 1, Types({9, 7}), 4},
        {1, 1, 1, Types({0, 0, 8}), 4},
        {1, 1, 0, Types({11}), 4},
        {1, 1, 1, Types({11}), 0},
        {3, 1, 0, Types({9}), 5},
        {3, 1, 1, Types({9}), 3},
        {3, 1, 1, Types({0, 11}), 6},
        {3, 2, 0, Types({}), 3},
        {2, 1, 0, Types({0, 7}), 7},
        {2, 1, 0, Types({8, 9, 11}), 1},
        {6, 5, 0, Types({7}), 7},
        // The final of type 1 follows its main event's series, not its own.
        {1, 129, 0, Types({0, 0, 0, 8, 0}), 4, 4},
        {1, 129, 0, Types({0, 0, 0, 0, 8}), 0, 0},
        {2, 129, 0, Types({}), 1, 1, 1},
        {2, 143, 0, Types({}), 1, 7, 1},
        {2, 130, 0, Types({}), 1},
        {3, 133, 0, Types({}), 3, 3, 0},
        {3, 129, 0, Types({}), 3},
    };
    Competition(1, {"R"});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.org) + " kind " + std::to_string(c.kind));
        int n = Create(c.org, {c.kind, c.exch, c.types});
        ASSERT_GT(n, 0);
        EXPECT_EQ(Read("Event" + std::to_string(n) + ".bvc", 3, n, 20), c.main);
        if (c.kind & 0x80) {
            const std::string final = "Event" + std::to_string(n + 1) + ".bvc";
            EXPECT_EQ(Read(final, 3, n + 1, 20), c.final);
            EXPECT_EQ(Read(final, 3, n + 1, 19), c.finalScoring);
        }
    }
}

// The prefix's digit counts up to 9 and no further: the tenth 100m event
// and a 200m event whose H2..H9 are taken are made without exchange, and
// "Can't find prefix" is logged for each.
TEST_F(EventCreationTest, PrefixesRunOutAtTheDigitNine)
{
    Competition(1, {"R"});
    // Finfelt has no prefix at all: no exchange either, rather than exchange
    // files named without one.
    ASSERT_EQ(Create(1, {8, 1}), 1);
    for (int i = 2; i <= 11; ++i)
        ASSERT_EQ(Create(1, {1, 1}), i);
    ASSERT_EQ(Create(1, {2, 1}), 12);
    for (int n = 1; n <= 12; ++n) {
        SCOPED_TRACE(n);
        const bool prefixed = n >= 2 && n <= 10;
        EXPECT_EQ(Text("Exch.bvc", 12, n, 630), prefixed ? "H" + std::to_string(n - 1) : "");
        EXPECT_EQ(Read("Exch.bvc", 12, n, 640), prefixed ? 1 : 0);
    }
    std::string log = bvtest::TempFolder::Read("BVLog.txt");
    size_t lines = 0;
    for (size_t at = log.find("Can't find prefix"); at != std::string::npos; at = log.find("Can't find prefix", at + 1))
        ++lines;
    EXPECT_EQ(lines, 3u);
}

// Two programs creating ten events each in one competition at the same
// time: twenty events, each with its own number and none overwritten, and
// no prefix given twice.
TEST_F(EventCreationTest, TwoProgramsCreatingAtOnceGetDistinctEvents)
{
    Competition(2, {"A"});
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    auto child = [&](int which) {
        pid_t pid = fork();
        if (pid != 0)
            return pid;
        close(start[1]);
        char go;
        if (read(start[0], &go, 1) < 0)
            _exit(3);
        std::string numbers;
        for (int i = 0; i < 10; ++i) {
            CDataEvent event;
            int n = event.CreateEvent(1, 2, 1, 1, Types({0, 0, 0, 0, 0, which}), 0, 0);
            if (n <= 0)
                _exit(2);
            numbers += std::to_string(n) + "\n";
        }
        bvtest::TempFolder::Write("numbers" + std::to_string(which) + ".txt", numbers);
        _exit(0);
    };
    pid_t a = child(1), b = child(2);
    close(start[0]);
    close(start[1]);  // both start now
    int sa = 0, sb = 0;
    waitpid(a, &sa, 0);
    waitpid(b, &sb, 0);
    ASSERT_TRUE(WIFEXITED(sa) && WEXITSTATUS(sa) == 0);
    ASSERT_TRUE(WIFEXITED(sb) && WEXITSTATUS(sb) == 0);

    std::map<int, int> maker;  // event -> the program that made it
    for (int which : {1, 2}) {
        std::istringstream in(bvtest::TempFolder::Read("numbers" + std::to_string(which) + ".txt"));
        for (int n; in >> n;)
            EXPECT_TRUE(maker.emplace(n, which).second) << "event " << n << " made twice";
    }
    ASSERT_EQ(maker.size(), 20u);
    EXPECT_EQ(maker.begin()->first, 1);
    EXPECT_EQ(maker.rbegin()->first, 20);
    EXPECT_EQ(Read("Comp.bvc", 2, 1, 1), 20);
    std::set<std::string> prefixes;
    for (const auto& [n, which] : maker) {
        SCOPED_TRACE(n);
        const std::string event = "Event" + std::to_string(n) + ".bvc";
        EXPECT_EQ(Read("Comp.bvc", 3, n, 680), 1);
        EXPECT_EQ(Read("Comp.bvc", 3, n, 13), 6);
        EXPECT_EQ(Text("Comp.bvc", 3, n, 500), "60 skudd");
        EXPECT_EQ(Read("Comp.bvc", 3, n, 12), 1);
        EXPECT_EQ(Read(event, 5, 1, 530), 1);
        EXPECT_EQ(Text(event, 8, 6, 500), "Serie 6");
        // Its own maker's series types, so no other event's writes landed here.
        EXPECT_EQ(Read(event, 8, 6, 650), which);
        std::string prefix = Text("Exch.bvc", 12, n, 630);
        if (Read("Exch.bvc", 12, n, 640) == 1)
            EXPECT_TRUE(prefixes.insert(prefix).second) << prefix << " given twice";
        else
            EXPECT_EQ(prefix, "");
    }
    EXPECT_EQ(prefixes.size(), 9u);
}

}  // namespace
