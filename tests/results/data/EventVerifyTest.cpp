// The data check of an event on a scripted event: the rows in their order,
// the options and the relay limit.
#include "tests/results/ResultsFixture.h"
#include "platform/system/Codepage.h"
#include "results/data/DataShooter.h"
#include "results/events/VerifySink.h"
#include "results/values/ResultRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace results;

// Keeps each row as "RELAY TARGET TEXT", the text in UTF-8.
class RowList : public VerifySink {
public:
    void AddError(int event, const std::string& eventName, int relay, int target, const std::string& text) override
    {
        events.push_back(event);
        names.push_back(platform::Cp1252ToUtf8(eventName));
        rows.push_back(std::to_string(relay) + " " + std::to_string(target) + " " + platform::Cp1252ToUtf8(text));
    }
    std::vector<int> events;
    std::vector<std::string> names;
    std::vector<std::string> rows;
};

class EventVerifyTest : public restest::CompetitionTest {
protected:
    bvtest::TempFolder memory{bvtest::TempFolder::InMemory};

    void SetUp() override
    {
        CompetitionTest::SetUp();
        CBVConfig& c = comp.Comp();
        ::WriteItem(c, CompItems::kClassCount, 3);
        ::WriteItem(c, CompItems::ClassName(1), std::string("A"));
        ::WriteItem(c, CompItems::ClassName(2), std::string("B"));  // not in the event
        // class 3 takes part but has no name
        CDataEvent& e = Event(1, 4);
        ::WriteItem(c, CompItems::EventName(1), platform::Ansi("Prøve"));
        ::WriteItem(c, CompItems::EventFirstTarget(1), 3);
        ::WriteItem(c, CompItems::EventLastTarget(1), 6);
        ::WriteItem(c, CompItems::EventSeries(1), 1);
        CBVConfig& s = e.Settings();
        ::WriteItem(s, EventItems::SeriesShots(1), 3);
        ::WriteItem(s, EventItems::ShotCheck(1), 1);  // shots must not fall
        ::WriteItem(s, EventItems::ClassUsed(1), 1);
        ::WriteItem(s, EventItems::ClassUsed(3), 1);
        ::WriteItem(s, EventItems::ClassFee(1), 10000);
        ::WriteItem(s, EventItems::ClassFee(3), 10000);
        // Relay index 2 is not used; index 3 is numbered above the usual limit.
        const int numbers[] = {1, 0, 12000, 2};
        for (int r = 1; r <= 4; ++r)
            ::WriteItem(s, EventItems::RelayNumber(r), numbers[r - 1]);

        CDataShooter& shooters = comp.Shooters();
        shooters.Put(101, "", "Ola", 5, 1, "");
        shooters.Put(102, "", "Per", 5, 1, "");
        shooters.Put(103, "", "", 7, 1, "");        // no name
        shooters.Put(105, "", "Kari", 1, 1, "");
        shooters.Put(106, "", "Nils", 0, 1, "");    // no club

        // Relay index 1 (number 1).
        Enter(1, 1, 107, 1, 10000);   // outside the targets 3..6
        Enter(1, 2, 0, 1, 0);         // outside, a class without start number
        Enter(1, 8, 0, 0, 0);         // outside, but empty
        Enter(1, 100, 107, 1, 0);     // beyond the outside pass
        Shots(1, 7, {90, 80});          // outside, shots without entry
        Enter(1, 3, 101, 1, 12345);   // paid too much, shots falling
        Shots(1, 3, {90, 50, 70});
        Shots(1, 4, {90, 50});          // shots without entry, falling
        Enter(1, 5, 105, 1, 10000);   // no shots; entered again at 2:6
        Enter(1, 6, 102, 0, 0);       // no class
        // Relay index 2 (no number): never looked at.
        Enter(2, 1, 107, 1, 0);
        Enter(2, 3, 0, 0, 0);
        Shots(2, 4, {50, 90});
        // Relay index 3 (number 12000).
        Enter(3, 1, 107, 1, 0);
        // Relay index 4 (number 2).
        Enter(4, 3, 106, 1, 10000);   // no club
        Enter(4, 4, 103, 1, 10000);   // no name
        Enter(4, 5, 101, 2, 0);       // class not in the event; 101 is also at 1:3
        Enter(4, 6, 105, 3, 0);       // class without name; 105 is also at 1:5
        Shots(4, 6, {50, 60, 90});       // rising is allowed
    }

    void Enter(int relay, int target, int32_t startNr, int classNr, int32_t paid)
    {
        RegRecord entry{};
        entry.relay = static_cast<int16_t>(relay);
        entry.target = static_cast<int16_t>(target);
        entry.startNr = startNr;
        entry.classNr = static_cast<uint8_t>(classNr);
        entry.paid = paid;
        ASSERT_EQ(comp.GetEvent(1)->Entries().File().WriteRecKey(&entry), 0);
    }

    void Shots(int relay, int target, const std::vector<int>& values)
    {
        ResultRecord card = EmptyCard(relay, target);
        for (size_t i = 0; i < values.size(); ++i) {
            card.series[i] = 1;
            card.value[i] = static_cast<uint8_t>(values[i]);
        }
        ASSERT_EQ(comp.GetEvent(1)->ResultFile().WriteRecKey(&card), 0);
    }

    RowList Verify(int limit, int options)
    {
        RowList list;
        EXPECT_EQ(comp.GetEvent(1)->Verify(limit, options, &list, comp.Shooters()), 0);
        return list;
    }
};

const std::vector<std::string> kAllRows = {
    // Relay 1: the targets outside the range first, ascending.
    "1 1 Skytter funnet utenfor lovlig område",
    "1 2 Skytter funnet utenfor lovlig område",
    "1 7 Resultat funnet utenfor lovlig område",
    // Then those in the range, in the order of the checks.
    "1 3 Feil rekkefølge på skudd i serie   1",
    "1 3 Feil betaling. Beløp=  123.45",
    "1 3 Startnr finnes også på: 2:5",
    "1 4 Mangler skytter - resultat funnet",
    "1 4 Feil rekkefølge på skudd i serie   1",
    "1 5 Manger resultat - skytter funnet",
    "1 5 Startnr finnes også på: 2:6",
    "1 6 Manger resultat - skytter funnet",
    "1 6 Ugyldig klasse eller klasse mangler",
    // Relay 2.
    "2 3 Manger resultat - skytter funnet",
    "2 3 Forening er ikke registrert",
    "2 4 Manger resultat - skytter funnet",
    "2 4 Blankt navn",
    "2 5 Manger resultat - skytter funnet",
    "2 5 Ugyldig klasse eller klasse mangler",
    "2 5 Startnr finnes også på: 1:3",
    "2 6 Ugyldig klasse eller klasse mangler",
    "2 6 Startnr finnes også på: 1:5",
};

std::vector<std::string> Without(const std::string& text)
{
    std::vector<std::string> rows;
    for (const std::string& row : kAllRows)
        if (row.find(text) == std::string::npos)
            rows.push_back(row);
    return rows;
}

TEST_F(EventVerifyTest, RowsRelayByRelayInTheOrderOfTheChecks)
{
    RowList list = Verify(9999, 0);
    EXPECT_EQ(list.rows, kAllRows);
    EXPECT_EQ(list.events, std::vector<int>(kAllRows.size(), 1));
    EXPECT_EQ(list.names, std::vector<std::string>(kAllRows.size(), "Prøve"));
}

TEST_F(EventVerifyTest, OptionsLeaveOutMissingResultsAndPayments)
{
    EXPECT_EQ(Verify(9999, CDataEvent::kVerifySkipMissing).rows, Without("Manger resultat"));
    EXPECT_EQ(Verify(9999, CDataEvent::kVerifySkipPayment).rows, Without("Feil betaling"));
}

TEST_F(EventVerifyTest, TheRelayLimit)
{
    // Relay 2 is above a limit of 1; relay 12000 is within a limit of 12000.
    std::vector<std::string> first(kAllRows.begin(), kAllRows.begin() + 12);
    EXPECT_EQ(Verify(1, 0).rows, first);
    std::vector<std::string> all = kAllRows;
    all.insert(all.begin() + 12, "12000 1 Skytter funnet utenfor lovlig område");
    EXPECT_EQ(Verify(12000, 0).rows, all);
}

TEST_F(EventVerifyTest, AnEventWhoseFirstTargetIsAboveItsLastIsAllOutside)
{
    ::WriteItem(comp.Comp(), CompItems::EventFirstTarget(1), 7);
    ::WriteItem(comp.Comp(), CompItems::EventLastTarget(1), 2);
    std::vector<std::string> rows = Verify(1, 0).rows;
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "1 1 Skytter funnet utenfor lovlig område",
                        "1 2 Skytter funnet utenfor lovlig område",
                        "1 3 Skytter funnet utenfor lovlig område",
                        "1 3 Resultat funnet utenfor lovlig område",
                        "1 4 Resultat funnet utenfor lovlig område",
                        "1 5 Skytter funnet utenfor lovlig område",
                        "1 6 Skytter funnet utenfor lovlig område",
                        "1 7 Resultat funnet utenfor lovlig område",
                    }));
}

TEST_F(EventVerifyTest, WithoutASinkNothingIsChecked)
{
    EXPECT_EQ(comp.GetEvent(1)->Verify(9999, 0, nullptr, comp.Shooters()), -1);
}

}  // namespace
