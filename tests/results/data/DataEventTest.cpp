// An event's own operations on relays and days: labels for the relay lists,
// the date of a new day, the search for another entry, the series type and
// the renumbering of relays.
#include "tests/results/ResultsFixture.h"
#include "platform/system/Clock.h"
#include "results/data/ResStrings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using namespace results;

class DataEventTest : public restest::CompetitionTest {
protected:
    void Enter(CDataEvent& event, int relay, int target, int32_t startNr)
    {
        RegRecord entry{};
        entry.relay = static_cast<int16_t>(relay);
        entry.target = static_cast<int16_t>(target);
        entry.startNr = startNr;
        ASSERT_EQ(event.Entries().File().WriteRecKey(&entry), 0);
    }
};

TEST_F(DataEventTest, RelayLabelByOccupancyAndFlags)
{
    struct Case {
        int entries;  // targets 1.. taken, of 10
        int flags;
        const char* label;
        int state;
    };
    const Case cases[] = {
        {10, 0, "  4 09:30   ( 0)", 5}, {9, 0, "  4 09:30   ( 1)", 4},  {8, 0, "  4 09:30   ( 2)", 4},
        {5, 0, "  4 09:30   ( 5)", 3},  {3, 0, "  4 09:30   ( 7)", 3},  {2, 0, "  4 09:30   ( 8)", 2},
        {1, 0, "  4 09:30   ( 9)", 2},  {0, 0, "  4 09:30   (10)", 1},
        // Flags count only with the relay locked for changes.
        {5, 0x110, "  4 09:30   ( 5)", 3},  {5, 0x111, "  4 09:30   ( 5)", 8}, {5, 0x1101, "  4 09:30   ( 5)", 9},
        {5, 0x1001, "  4 09:30   ( 5)", 6},  {5, 0x11, "  4 09:30   ( 5)", 7},  {5, 0x1, "  4 09:30   ( 5)", 6},
    };
    int event = 0;
    for (const Case& c : cases) {
        CDataEvent& e = Event(++event, 1);
        ::WriteItem(e.Settings(), EventItems::RelayNumber(1), 4);
        ::WriteItem(e.Settings(), EventItems::RelayTime(1), std::string("09:30"));
        ::WriteItem(e.Settings(), EventItems::RelayFlags(1), c.flags);
        for (int t = 1; t <= c.entries; ++t)
            Enter(e, 1, t, 100 + t);
        Enter(e, 1, 11, 999);  // outside the event's targets
        Enter(e, 2, 1, 998);   // another relay
        std::string label;
        int state = -1;
        EXPECT_EQ(e.RelayLabel(1, label, state), 4);
        EXPECT_EQ(label, c.label) << c.entries << " entries, flags " << std::hex << c.flags;
        EXPECT_EQ(state, c.state) << c.entries << " entries, flags " << std::hex << c.flags;
    }
}

TEST_F(DataEventTest, AnUnusedRelayIndexHasNoLabelAndLeavesTheState)
{
    CDataEvent& e = Event(1, 2);
    ::WriteItem(e.Settings(), EventItems::RelayFlags(2), 0x1101);
    std::string label = "old";
    int state = 42;
    EXPECT_EQ(e.RelayLabel(2, label, state), 0);
    EXPECT_EQ(label, "");
    EXPECT_EQ(state, 42);
}

TEST_F(DataEventTest, TargetRangeAndRelayLookUp)
{
    CDataEvent& e = Event(2, 3);
    EXPECT_EQ(e.FirstTarget(), 1);
    EXPECT_EQ(e.LastTarget(), 10);
    ::WriteItem(e.Settings(), EventItems::RelayNumber(2), 7);
    ::WriteItem(e.Settings(), EventItems::RelayNumber(3), 7);
    EXPECT_EQ(e.RelayIndex(7), 2);
    EXPECT_EQ(e.RelayIndex(8), 0);
}

class NextDayTest : public DataEventTest {
protected:
    void SetUp() override
    {
        DataEventTest::SetUp();
        const char* tz = std::getenv("TZ");
        m_tz = tz ? tz : "";
        m_hadTz = tz != nullptr;
        // The clocks go back in the night to 25 October 2026 here.
        setenv("TZ", "Europe/Oslo", 1);
        tzset();
        clock.now = {2026, 3, 14, 10, 0, 0, 0, 6};
        platform::SetClock(&clock);
    }
    void TearDown() override
    {
        platform::SetClock(nullptr);
        if (m_hadTz)
            setenv("TZ", m_tz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    platform::ManualClock clock;

private:
    std::string m_tz;
    bool m_hadTz = false;
};

TEST_F(NextDayTest, TheDayAfterTheLatestDayOrToday)
{
    struct Case {
        std::vector<int> dates;  // of days 1..n
        int next;
    };
    const Case cases[] = {
        {{20261231}, 20270101},
        {{20261025}, 20261026},            // a day of 25 hours
        {{20260328}, 20260329},            // and one of 23
        {{20240228}, 20240229},
        {{20260105, 20260103, 20260104}, 20260106},
        {{}, 20260314},                    // no days: today
        {{0, 0}, 20260314},                // days without dates: today
        {{20261399}, 20260314},            // not a date
    };
    int event = 0;
    for (const Case& c : cases) {
        CDataEvent& e = Event(++event, 1, static_cast<int>(c.dates.size()));
        for (size_t d = 0; d < c.dates.size(); ++d)
            ::WriteItem(e.Settings(), EventItems::DayDate(static_cast<int>(d) + 1), c.dates[d]);
        EXPECT_EQ(e.NextDayDate(), c.next) << (c.dates.empty() ? 0 : c.dates[0]);
    }
}

TEST_F(NextDayTest, DayLabelNamesTheWeekday)
{
    CDataEvent& e = Event(1);
    EXPECT_EQ(e.DayLabel(20240101), ResString(13100) + " 1/1");        // a Monday
    EXPECT_EQ(e.DayLabel(20261025), ResString(13106) + " 25/10");      // a Sunday
    EXPECT_EQ(e.DayLabel(0), ResString(13105) + " 14/3");              // today, a Saturday
    EXPECT_EQ(ResString(13106), "S\xf8ndag");
}

TEST_F(DataEventTest, FindOtherEntryLooksPastTheGivenPlace)
{
    CDataEvent& e = Event(3, 3);
    Enter(e, 1, 4, 70000);  // beyond 16 bits, and
    Enter(e, 2, 2, 4464);   // 70000's low 16 bits
    int relay = 2, target = 2;
    EXPECT_EQ(e.FindOtherEntry(4464, relay, target), 0);
    Enter(e, 3, 9, 70000);
    relay = 1, target = 4;
    EXPECT_EQ(e.FindOtherEntry(70000, relay, target), 3);
    EXPECT_EQ(relay, 3);
    EXPECT_EQ(target, 9);
}

TEST_F(DataEventTest, SeriesTypeForAllIsAppliedOnceWhenTheEventIsMade)
{
    ::WriteItem(comp.Comp(), CompItems::EventSeries(1), 3);
    CBVConfig settings;
    settings.Open(".\\Comp1\\Event1.bvc", 1);
    ::WriteItem(settings, EventItems::SeriesTypeAll(1), 5);
    CDataEvent& e = Event(1);
    for (int s = 1; s <= 3; ++s)
        EXPECT_EQ(::ReadItem(e.Settings(), EventItems::SeriesType(s)), 5);
    EXPECT_EQ(::ReadItem(e.Settings(), EventItems::SeriesType(4)), 0);
    EXPECT_EQ(::ReadItem(e.Settings(), EventItems::SeriesTypeAll(1)), 0);
}

TEST_F(DataEventTest, RenumberRelaysByDayDateAndStartTime)
{
    struct Relay {
        int number;  // before
        int day;
        const char* time;
        int renumbered;
    };
    struct Case {
        const char* what;
        std::vector<int> dayDates;
        std::vector<Relay> relays;
    };
    const Case cases[] = {
        {"days by date, relays by time",
         {20260702, 20260701, 20260703},
         {{1, 1, "09:00", 4}, {2, 1, "08:30", 3}, {3, 2, "10:00", 1}, {4, 2, "12:00", 2}, {5, 3, "08:00", 5}}},
        {"a day without relays",
         {20260701, 20260702, 20260703},
         {{1, 1, "08:00", 1}, {2, 3, "08:00", 3}, {3, 1, "09:00", 2}}},
        {"unused indexes keep 0",
         {20260701},
         {{0, 1, "08:00", 0}, {9, 1, "13:05", 2}, {7, 1, "08:30", 1}}},
        {"without time or outside the days: after the others, by index",
         {20260701, 20260702},
         {{5, 1, "", 4}, {6, 2, "11:00", 3}, {7, 9, "07:00", 5}, {8, 1, "10:00", 1}, {9, 2, "00:00", 6},
          {10, 2, "10:00", 2}}},
        {"one time twice: by index", {20260701}, {{4, 1, "08:00", 1}, {3, 1, "08:00", 2}}},
    };
    int event = 0;
    for (const Case& c : cases) {
        CDataEvent& e = Event(++event, static_cast<int>(c.relays.size()), static_cast<int>(c.dayDates.size()));
        for (size_t d = 0; d < c.dayDates.size(); ++d)
            ::WriteItem(e.Settings(), EventItems::DayDate(static_cast<int>(d) + 1), c.dayDates[d]);
        for (size_t i = 0; i < c.relays.size(); ++i) {
            int r = static_cast<int>(i) + 1;
            ::WriteItem(e.Settings(), EventItems::RelayNumber(r), c.relays[i].number);
            ::WriteItem(e.Settings(), EventItems::RelayDay(r), c.relays[i].day);
            ::WriteItem(e.Settings(), EventItems::RelayTime(r), std::string(c.relays[i].time));
        }
        ASSERT_EQ(e.RenumberRelays(), 0) << c.what;
        for (size_t i = 0; i < c.relays.size(); ++i)
            EXPECT_EQ(::ReadItem(e.Settings(), EventItems::RelayNumber(static_cast<int>(i) + 1)),
                      c.relays[i].renumbered)
                << c.what << ", relay index " << i + 1;
    }
}

TEST_F(DataEventTest, RenumberingHoldsTheSettingsLockThroughout)
{
    CDataEvent& e = Event(1, 2);
    ::WriteItem(e.Settings(), EventItems::RelayNumber(1), 5);
    ::WriteItem(e.Settings(), EventItems::RelayTime(1), std::string("08:00"));
    ::WriteItem(e.Settings(), EventItems::RelayDay(1), 1);
    // Another program holds the file: nothing is renumbered.
    CBVConfig other;
    other.Open(".\\Comp1\\Event1.bvc", 1);
    ASSERT_EQ(other.Lock(), 0);
    EXPECT_NE(e.RenumberRelays(), 0);
    other.Unlock();
    EXPECT_EQ(::ReadItem(e.Settings(), EventItems::RelayNumber(1)), 5);
    EXPECT_EQ(e.RenumberRelays(), 0);
    e.Settings().Refresh();
    EXPECT_EQ(::ReadItem(e.Settings(), EventItems::RelayNumber(1)), 1);
}

}  // namespace
