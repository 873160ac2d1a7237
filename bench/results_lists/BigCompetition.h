#pragma once
// The large competition the lists' benchmarks work on, made once in a
// working folder of its own through the program's own data objects: the
// competition's settings and classes, the club register, events of relays
// of targets with a shooter on every target, their entries and result
// cards, and the prize lists and teams a benchmark asks for. Each benchmark
// keeps its own shape, so that its figures stay comparable from run to run:
// a change to a shape is a change to what the benchmark measures.
#include "foundation/files/ConfigItem.h"
#include "foundation/text/FieldText.h"
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
#include "results/registers/DataClub.h"

#include "BenchFolder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// What a benchmark's competition holds. The defaults are what most of them
// share; the hooks add what one of them needs besides.
struct BigCompetitionShape {
    std::string folder;  // the working folder's name, "bvbench-<benchmark>"
    std::vector<std::string> classes{"Senior", "Junior", "Veteran"};

    // The shooters belong to clubs 1 .. clubs (by start number); the club
    // register of each organisation type listed names them "Skytterlag k".
    int clubs = 100;
    std::vector<int> clubRegisters{1};
    // What club k's record holds besides (or instead of) that name.
    std::function<void(results::ClubRecord& club, int k)> clubDetails;

    int events = 2;
    int relays = 25;
    int targets = 100;
    int days = 1;                // each event's days; its relays split evenly over them
    int firstDate = 20260516;    // event 1's first day; its later days follow
    int daysBetweenEvents = 1;   // how much later each event starts than the one before
    std::function<std::string(int event)> eventName = [](int e) { return "Øvelse " + std::to_string(e); };
    // The shots of each series of an event.
    std::function<std::vector<int>(int event)> seriesShots = [](int) { return std::vector<int>{10}; };
    bool sumOfAllSeries = false;                       // a sub-event "Sum" of every series
    std::function<std::string(int relay)> relayTime;   // none written when empty
    std::function<int(int classNr)> classFee;          // hundredths; none written when empty

    // Competition settings after the classes.
    std::function<void(results::CCompetition& comp)> competitionSettings;
    // Items of an event in the competition's files after its own.
    std::function<void(results::CCompetition& comp, int event)> eventInCompetition;
    // An event's settings after its days, series and sub-event, before its classes.
    std::function<void(CBVConfig& settings, int event)> eventSettings;
    std::function<void(CBVConfig& prizes, int event)> prizeLists;

    // Every event has the shooters of event 1 on the same targets, under
    // the same start numbers; otherwise each target has a shooter of its own.
    bool sameShootersEveryEvent = false;
    std::function<std::string(int32_t startNr)> category = [](int32_t nr) { return std::string(nr % 2 ? "A" : "B"); };
    std::function<int32_t(int32_t startNr)> entryState;  // 0 when empty
    // The shooter's result card: loaded and stored by the hook, if at all.
    std::function<void(results::CDataRes& card, int event, int relay, int target, int32_t startNr)> shots;

    // What comes after the shooters (team competitions).
    std::function<void(results::CCompetition& comp)> finish;
};

class BigCompetition {
public:
    // Makes the working folder, enters it and makes the competition there.
    explicit BigCompetition(const BigCompetitionShape& shape) : m_folder(shape.folder) { Make(shape); }

    int Shooters() const { return m_shooters; }
    const std::string& Folder() const { return m_folder.Path(); }

    // The list object over the competition, opened on first use; it goes
    // before the folder does.
    results::CDataList& List()
    {
        if (!m_list) {
            m_list = std::make_unique<results::CDataList>();
            m_list->OpenCompetition();
        }
        return *m_list;
    }

private:
    void Make(const BigCompetitionShape& shape)
    {
        using namespace results;
        CCompetition comp;
        if (comp.Open() != 0)
            std::abort();
        CBVConfig& c = comp.Comp();
        ::WriteItem(c, CompItems::kName, std::string("Landsskytterstevnet"));
        ::WriteItem(c, CompItems::kOrgType, 1);
        comp.orgType = 1;
        const int classes = static_cast<int>(shape.classes.size());
        ::WriteItem(c, CompItems::kClassCount, classes);
        for (int k = 1; k <= classes; ++k)
            ::WriteItem(c, CompItems::ClassName(k), shape.classes[k - 1]);
        if (shape.competitionSettings)
            shape.competitionSettings(comp);

        CDataClub clubs;
        for (int org : shape.clubRegisters) {
            clubs.LoadClubs(org);
            for (int k = 1; k <= shape.clubs; ++k) {
                ClubRecord club{};
                SetFieldText(club.name, sizeof club.name, "Skytterlag " + std::to_string(k));
                if (shape.clubDetails)
                    shape.clubDetails(club, k);
                clubs.Put(&club, k, CDataClub::kClubs);
            }
        }

        ::WriteItem(c, CompItems::kEventCount, shape.events);
        for (int e = 1; e <= shape.events; ++e) {
            ::WriteItem(c, CompItems::EventInUse(e), 1);
            ::WriteItem(c, CompItems::EventName(e), shape.eventName(e));
            ::WriteItem(c, CompItems::EventRelays(e), shape.relays);
            ::WriteItem(c, CompItems::EventDays(e), shape.days);
            ::WriteItem(c, CompItems::EventSeries(e), static_cast<int>(shape.seriesShots(e).size()));
            if (shape.sumOfAllSeries)
                ::WriteItem(c, CompItems::EventSubEvents(e), 1);
            ::WriteItem(c, CompItems::EventFirstTarget(e), 1);
            ::WriteItem(c, CompItems::EventLastTarget(e), shape.targets);
            if (shape.eventInCompetition)
                shape.eventInCompetition(comp, e);
        }
        comp.RefreshEvents();

        const int shootersPerEvent = shape.relays * shape.targets;
        int32_t nr = 0;
        for (int e = 1; e <= shape.events; ++e) {
            CDataEvent* event = comp.GetEvent(e);
            CBVConfig& s = event->Settings();
            for (int d = 1; d <= shape.days; ++d)
                ::WriteItem(s, EventItems::DayDate(d), shape.firstDate + (e - 1) * shape.daysBetweenEvents + d - 1);
            const std::vector<int> series = shape.seriesShots(e);
            std::string allSeries;
            for (int k = 1; k <= static_cast<int>(series.size()); ++k) {
                ::WriteItem(s, EventItems::SeriesShots(k), series[k - 1]);
                allSeries += static_cast<char>(k);
            }
            if (shape.sumOfAllSeries) {
                ::WriteItem(s, EventItems::SubEventName(1), std::string("Sum"));
                ::WriteItem(s, EventItems::SubSeries(1), allSeries);
            }
            if (shape.eventSettings)
                shape.eventSettings(s, e);
            for (int k = 1; k <= classes; ++k) {
                ::WriteItem(s, EventItems::ClassUsed(k), 1);
                if (shape.classFee)
                    ::WriteItem(s, EventItems::ClassFee(k), shape.classFee(k));
            }
            for (int r = 1; r <= shape.relays; ++r) {
                ::WriteItem(s, EventItems::RelayNumber(r), r);
                ::WriteItem(s, EventItems::RelayDay(r), DayOfRelay(r, shape.relays, shape.days));
                if (shape.relayTime)
                    ::WriteItem(s, EventItems::RelayTime(r), shape.relayTime(r));
            }
            if (shape.prizeLists)
                shape.prizeLists(event->Prizes(), e);

            CDataRes& card = event->Card();
            card.LoadEvent(e);
            for (int r = 1; r <= shape.relays; ++r) {
                for (int t = 1; t <= shape.targets; ++t) {
                    ++nr;
                    const int32_t start = shape.sameShootersEveryEvent ? nr - (e - 1) * shootersPerEvent : nr;
                    const std::string category = shape.category(start);
                    if (e == 1 || !shape.sameShootersEveryEvent) {
                        comp.Shooters().Put(start, "", "Skytter " + std::to_string(start), 1 + start % shape.clubs,
                                            1 + start % classes, category);
                        ++m_shooters;
                    }
                    RegRecord entry{};
                    entry.relay = static_cast<int16_t>(r);
                    entry.target = static_cast<int16_t>(t);
                    entry.startNr = start;
                    entry.classNr = static_cast<uint8_t>(1 + start % classes);
                    entry.state = shape.entryState ? shape.entryState(start) : 0;
                    SetFieldText(entry.category, sizeof entry.category, category);
                    event->Entries().File().WriteRecKey(&entry);
                    if (shape.shots)
                        shape.shots(card, e, r, t, start);
                }
            }
        }
        if (shape.finish)
            shape.finish(comp);
    }

    // Day d has the relays up to d x relays / days (rounded down); the
    // last day takes the rest.
    static int DayOfRelay(int r, int relays, int days)
    {
        int day = 1;
        while (day < days && r > day * relays / days)
            ++day;
        return day;
    }

    BenchFolder m_folder;  // made and entered before Make runs
    int m_shooters = 0;
    std::unique_ptr<results::CDataList> m_list;
};

// Relay r's start time, two an hour from 08:00 round the clock.
inline std::string RelayTimeThroughTheDay(int r)
{
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", 8 + r % 12, r % 2 ? 0 : 30);
    return time;
}

// A series of ten shots of 8.0 to 10.8 for every other shooter (the even
// start numbers); the others have no card yet.
inline void TenShotsForEveryOther(results::CDataRes& card, int, int r, int t, int32_t nr)
{
    if (nr % 2 != 0)
        return;
    results::ShotEntry shots[10];
    for (int k = 0; k < 10; ++k)
        shots[k] = {1, static_cast<uint8_t>(k + 1), static_cast<uint8_t>(80 + (nr + k) % 29), 0, 0, 0};
    card.LoadCard(r, t);
    card.StoreSeries(r, t, 1, shots, 10);
}

// The team competition of automatic teams by club: the best three of each
// club in event 1, with one more term of the benchmark's own.
inline void AddBestThreeOfEachClub(results::CCompetition& comp, const ConfigIntItem& term, int value)
{
    using namespace results;
    CBVConfig& team = comp.Team();
    ::WriteItem(team, TeamItems::kCount, 1);
    ::WriteItem(team, TeamItems::Name(1), std::string("Beste lag"));
    ::WriteItem(team, TeamItems::BestOnly(1), 1);
    ::WriteItem(team, TeamItems::Size(1), 3);
    ::WriteItem(team, term, value);
    ::WriteItem(team, TeamItems::RowCount(1), 1);
    ::WriteItem(team, TeamItems::RowEvent(1, 1), 1);
    ::WriteItem(team, TeamItems::RowSubEvent(1, 1), 1);
    ::WriteItem(team, TeamItems::RowOption(1, 1), 3);
    ::WriteItem(team, TeamItems::RowCodes(1, 1), std::string("\x01\x02\x03"));
}

// The whole web site of the competition's events as the web screen's
// "Oppdater websider" makes it, without upload.
inline void MakeWholeSite(results::CDataList& list, int events, bool cards)
{
    results::CCompetition& comp = list.Competition();
    comp.awebOn = comp.pwebOn = 1;
    comp.cardsOn = cards ? 1 : 0;
    comp.ftpOn = 0;
    comp.webRebuildAll = 1;
    list.MakeWebIndex();
    for (int e = 1; e <= events; ++e) {
        list.MakeWebPages(e, 1, 0);
        list.MakeWebPages(e, 0, 0);
    }
    list.MakeFramePages(static_cast<uint16_t>(events * 5));
    comp.webRebuildAll = 0;
}
