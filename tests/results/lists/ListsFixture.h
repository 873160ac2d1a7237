#pragma once
// A competition made in a fresh working folder through the program's own
// data objects, and a list object that opens it afterwards, as the report
// form's does: events with relays and days, shooters, entries, clubs of the
// register and shots.
#include "platform/system/Clock.h"
#include "platform/system/Codepage.h"
#include "results/lists/DataList.h"
#include "results/registers/DataClub.h"
#include "tests/results/ResultsFixture.h"

#include "foundation/text/FieldText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace liststest {

using namespace results;

// A model's texts in UTF-8, row by row, cells joined by '|'.
inline std::vector<std::string> RowTexts(const ListDef& def)
{
    std::vector<std::string> rows;
    for (const ReportRow& row : def.bodyRows) {
        std::string text;
        for (size_t c = 0; c < row.cells.size(); ++c)
            text += (c ? "|" : "") + platform::Cp1252ToUtf8(row.cells[c].text);
        rows.push_back(text);
    }
    return rows;
}

class ListTest : public restest::CompetitionTest {
protected:
    void SetUp() override
    {
        restest::CompetitionTest::SetUp();
        clock.now = {2026, 5, 17, 9, 5, 0, 0, 0};
        platform::SetClock(&clock);
        ::WriteItem(comp.Comp(), CompItems::kOrgType, 1);
        comp.orgType = 1;
        ::WriteItem(comp.Comp(), CompItems::kClassCount, 3);
        for (int c = 1; c <= 3; ++c)
            ::WriteItem(comp.Comp(), CompItems::ClassName(c), std::string(kClasses[c - 1]));
    }
    void TearDown() override
    {
        list.reset();
        platform::SetClock(nullptr);
    }

    static constexpr const char* kClasses[3] = {"Senior", "Junior", "Veteran"};

    // Event n in use: relays 1..relays numbered 1.. on day 1 at 08:00, days
    // from 2026-05-16 on, targets first..last, series of ten shots.
    CDataEvent& AddEvent(int n, const std::string& name, int relays = 1, int days = 1, int first = 1, int last = 10,
                         int series = 1)
    {
        CDataEvent& event = Event(n, relays, days);
        CBVConfig& c = comp.Comp();
        ::WriteItem(c, CompItems::EventName(n), platform::Ansi(name));
        ::WriteItem(c, CompItems::EventFirstTarget(n), first);
        ::WriteItem(c, CompItems::EventLastTarget(n), last);
        ::WriteItem(c, CompItems::EventSeries(n), series);
        CBVConfig& s = event.Settings();
        for (int d = 1; d <= days; ++d)
            ::WriteItem(s, EventItems::DayDate(d), 20260515 + d);
        for (int r = 1; r <= relays; ++r)
            Relay(n, r, r, 1, "08:00");
        for (int k = 1; k <= series; ++k)
            ::WriteItem(s, EventItems::SeriesShots(k), 10);
        for (int cls = 1; cls <= 3; ++cls)
            ::WriteItem(s, EventItems::ClassUsed(cls), 1);
        return event;
    }

    void Relay(int n, int r, int number, int day, const std::string& time, const std::string& text = {})
    {
        CBVConfig& s = comp.GetEvent(n)->Settings();
        ::WriteItem(s, EventItems::RelayNumber(r), number);
        ::WriteItem(s, EventItems::RelayDay(r), day);
        ::WriteItem(s, EventItems::RelayTime(r), time);
        ::WriteItem(s, EventItems::RelayText(r), platform::Ansi(text));
    }

    void Shooter(int32_t nr, const std::string& name, int club, int classNr = 1, const std::string& category = "A",
                 const std::string& bib = {})
    {
        ASSERT_EQ(comp.Shooters().Put(nr, platform::Ansi(bib), platform::Ansi(name), club, classNr,
                                      platform::Ansi(category)),
                  0);
    }

    // The entry takes the shooter's class and category unless given.
    void Entry(int n, int relay, int target, int32_t nr, int classNr = -1, const std::string* category = nullptr,
               int32_t paid = 0)
    {
        RegRecord entry{};
        entry.relay = static_cast<int16_t>(relay);
        entry.target = static_cast<int16_t>(target);
        entry.startNr = nr;
        entry.classNr = static_cast<uint8_t>(classNr >= 0 ? classNr : comp.Shooters().GetClass(nr));
        SetFieldText(entry.category, sizeof entry.category,
                     category ? platform::Ansi(*category) : comp.Shooters().GetText(nr));
        entry.paid = paid;
        ASSERT_EQ(comp.GetEvent(n)->Entries().File().WriteRecKey(&entry), 0);
    }

    void Club(int number, const std::string& name, const std::string& address1 = {},
              const std::string& address3 = {})
    {
        CDataClub clubs;
        clubs.LoadClubs(comp.orgType);
        ClubRecord c{};
        SetFieldText(c.name, sizeof c.name, platform::Ansi(name));
        SetFieldText(c.address1, sizeof c.address1, platform::Ansi(address1));
        SetFieldText(c.address3, sizeof c.address3, platform::Ansi(address3));
        ASSERT_EQ(clubs.Put(&c, number, CDataClub::kClubs), 0);
    }

    // Shots 1.. of a series, values in tenths.
    void Shots(int n, int relay, int target, int series, const std::vector<int>& values)
    {
        CDataRes& card = comp.GetEvent(n)->Card();
        card.LoadEvent(n);
        std::vector<ShotEntry> shots;
        for (int v : values)
            shots.push_back({static_cast<uint8_t>(series), static_cast<uint8_t>(shots.size() + 1),
                             static_cast<uint8_t>(v), 0, 0, 0});
        card.LoadCard(relay, target);
        ASSERT_EQ(card.StoreSeries(relay, target, series, shots.data(), static_cast<int>(shots.size())), 0);
    }

    // The list object on the competition as it now stands; its messages kept.
    CDataList& List()
    {
        if (!list) {
            list = std::make_unique<CDataList>();
            list->Competition().SetProfile(&profile);
            EXPECT_EQ(list->OpenCompetition(), 0);
            list->SetReporter([this](const std::string& text, CDataList::Message kind) {
                messages.push_back((kind == CDataList::Message::Error ? "error: " : "info: ") +
                                   platform::Cp1252ToUtf8(text));
            });
        }
        return *list;
    }

    // Makes the list of the kind as a model only.
    int MakeModel(int kind)
    {
        List().request.kind = static_cast<int16_t>(kind);
        return List().MakeList(kOutputModel);
    }

    platform::ManualClock clock;
    std::unique_ptr<CDataList> list;
    std::vector<std::string> messages;
};

}  // namespace liststest
