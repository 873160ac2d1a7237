#include "results/data/DataEvent.h"

#include "foundation/files/BVLog.h"
#include "platform/system/Clock.h"
#include "results/data/CompetitionItems.h"
#include "results/data/DataFileOpen.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace results {
namespace {

namespace chr = std::chrono;

int Today()
{
    platform::LocalTime now = platform::Now();
    return now.year * 10000 + now.month * 100 + now.day;
}

chr::year_month_day DateOf(int date)
{
    return chr::year_month_day{chr::year{date / 10000}, chr::month{static_cast<unsigned>(date / 100 % 100)},
                               chr::day{static_cast<unsigned>(date % 100)}};
}

// "08:30" as 8030 and "13:05" as 13005: the colon read as a zero. 0 for no
// time at all.
int StartTimeKey(const std::string& time)
{
    std::string text = time.empty() ? std::string("00:00") : time;
    if (text.size() > 2)
        text[2] = '0';
    text = text.substr(0, 5);
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

int NextCalendarDay(int date)
{
    if (date <= 0)
        return 0;
    chr::year_month_day ymd = DateOf(date);
    if (!ymd.ok())
        return 0;
    chr::year_month_day next{chr::sys_days{ymd} + chr::days{1}};
    return static_cast<int>(next.year()) * 10000 + static_cast<int>(static_cast<unsigned>(next.month())) * 100 +
           static_cast<int>(static_cast<unsigned>(next.day()));
}

CDataEvent::CDataEvent() : m_resultFile(std::make_unique<CBVFileEx>()) {}

CDataEvent::~CDataEvent() { m_resultFile.reset(); }

void CDataEvent::OpenFiles(const std::string& compFolder)
{
    char name[32];
    std::snprintf(name, sizeof name, "Event%d.bvc", m_number);
    OpenSettingsFile(m_settings, compFolder + name);
    std::snprintf(name, sizeof name, "Res%d.bvd", m_number);
    OpenResults(compFolder + name);
    m_card.SetFile(nullptr, m_number);
    std::snprintf(name, sizeof name, "Reg%d.bvd", m_number);
    m_entries.Open(compFolder + name);
    std::snprintf(name, sizeof name, "Prize%d.bvc", m_number);
    OpenSettingsFile(m_prizes, compFolder + name);
    std::snprintf(name, sizeof name, "Rank%d.bvd", m_number);
    m_ranks.Open(compFolder + name);
}

int CDataEvent::OpenResults(const std::string& path)
{
    if (!m_resultsOpen)
        m_resultsOpen =
            OpenDataFile(*m_resultFile, path, {kResultRecordSize, kResultVersion, true, false}) == OpenOutcome::Opened;
    if (!m_resultsOpen)
        return 1;
    m_resultFile->CacheVerify(1);
    return 0;
}

int CDataEvent::FirstTarget() { return m_comp ? ::ReadItem(*m_comp, CompItems::EventFirstTarget(m_number)) : 1; }

int CDataEvent::LastTarget() { return m_comp ? ::ReadItem(*m_comp, CompItems::EventLastTarget(m_number)) : 10; }

int CDataEvent::RelayIndex(int relayNumber)
{
    int relays = m_comp ? ::ReadItem(*m_comp, CompItems::EventRelays(m_number)) : 0;
    for (int r = 1; r <= relays; ++r)
        if (::ReadItem(m_settings, EventItems::RelayNumber(r)) == relayNumber)
            return r;
    return 0;
}

int CDataEvent::RelayLabel(int relay, std::string& label, int& state)
{
    label.clear();
    int number = ::ReadItem(m_settings, EventItems::RelayNumber(relay));
    // An unused relay index is not shown, whatever flags it kept.
    if (number == 0)
        return 0;
    {
        std::string time = ::ReadItem(m_settings, EventItems::RelayTime(relay));
        int first = FirstTarget();
        int last = LastTarget();
        int occupied = 0;
        for (int t = first; t <= last; ++t) {
            RegRecord entry;
            if (m_entries.Read(relay, t, entry) && entry.startNr != 0)
                ++occupied;
        }
        int targets = last - first + 1;
        char text[80];
        std::snprintf(text, sizeof text, "%3d %s   (%2d)", number, time.c_str(), targets - occupied);
        label = text;
        if (occupied <= 0)
            state = 1;
        else if (occupied >= targets)
            state = 5;
        else if (occupied <= 2)
            state = 2;
        else if (occupied >= targets - 2)
            state = 4;
        else
            state = 3;
    }
    int flags = ::ReadItem(m_settings, EventItems::RelayFlags(relay));
    if (flags & RelayFlag::kLocked) {
        if ((flags & RelayFlag::kLockedListed) && (flags & RelayFlag::kResultsLocked))
            state = 9;
        else if (flags & RelayFlag::kResultsLocked)
            state = 8;
        else if (flags & RelayFlag::kHasResults)
            state = 7;
        else
            state = 6;
    }
    return number;
}

int CDataEvent::NextDayDate()
{
    int days = m_comp ? ::ReadItem(*m_comp, CompItems::EventDays(m_number)) : 0;
    int latest = 0;
    for (int d = 1; d <= days; ++d)
        latest = std::max(latest, ::ReadItem(m_settings, EventItems::DayDate(d)));
    int next = latest > 0 ? NextCalendarDay(latest) : 0;
    return next > 0 ? next : Today();
}

std::string CDataEvent::DayLabel(int date)
{
    if (date <= 0)
        date = Today();
    chr::year_month_day ymd = DateOf(date);
    if (!ymd.ok())
        return {};
    unsigned weekday = chr::weekday{chr::sys_days{ymd}}.iso_encoding();  // Monday 1
    char text[80];
    std::snprintf(text, sizeof text, "%s %d/%d", ResString(IDS_MONDAY + static_cast<int>(weekday) - 1).c_str(),
                  date % 100, date / 100 % 100);
    return text;
}

int CDataEvent::FindOtherEntry(int32_t startNr, int& relay, int& target)
{
    CBVFileEx& file = m_entries.File();
    int count = m_entries.IsOpen() ? file.GetRecCount() : 0;
    for (int n = 1; n <= count; ++n) {
        RegRecord entry;
        if (file.ReadRec(n, &entry) != 0 || entry.startNr != startNr)
            continue;
        if (entry.relay != relay || entry.target != target) {
            relay = entry.relay;
            target = entry.target;
            return m_number;
        }
    }
    return 0;
}

void CDataEvent::ApplySeriesType()
{
    int type = ::ReadItem(m_settings, EventItems::SeriesTypeAll(m_number));
    if (type > 0) {
        int series = m_comp ? ::ReadItem(*m_comp, CompItems::EventSeries(m_number)) : 0;
        for (int s = 1; s <= series; ++s)
            ::WriteItem(m_settings, EventItems::SeriesType(s), type);
    }
    ::WriteItem(m_settings, EventItems::SeriesTypeAll(m_number), 0);
}

int CDataEvent::RenumberRelays()
{
    int days = m_comp ? ::ReadItem(*m_comp, CompItems::EventDays(m_number)) : 0;
    int relays = m_comp ? ::ReadItem(*m_comp, CompItems::EventRelays(m_number)) : 0;
    if (int rc = m_settings.Lock(); rc != 0)
        return rc;

    // Days by date; of two with one date the lower day number first.
    std::vector<std::pair<int, int>> dayOrder;  // (date, day)
    for (int d = 1; d <= days; ++d)
        dayOrder.emplace_back(::ReadItem(m_settings, EventItems::DayDate(d)), d);
    std::stable_sort(dayOrder.begin(), dayOrder.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<bool> placed(static_cast<size_t>(std::max(relays, 0)) + 1, false);
    std::vector<int> order;
    for (const auto& [date, day] : dayOrder) {
        std::vector<std::pair<int, int>> onDay;  // (start time key, relay index)
        for (int r = 1; r <= relays; ++r) {
            if (::ReadItem(m_settings, EventItems::RelayNumber(r)) == 0 ||
                ::ReadItem(m_settings, EventItems::RelayDay(r)) != day)
                continue;
            int key = StartTimeKey(::ReadItem(m_settings, EventItems::RelayTime(r)));
            if (key != 0)
                onDay.emplace_back(key, r);
        }
        // Relays starting at one time keep their index order.
        std::stable_sort(onDay.begin(), onDay.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [key, r] : onDay) {
            order.push_back(r);
            placed[static_cast<size_t>(r)] = true;
        }
    }
    // A numbered relay without start time or day still needs a number of its
    // own: its exchange files are named after it.
    for (int r = 1; r <= relays; ++r)
        if (!placed[static_cast<size_t>(r)] && ::ReadItem(m_settings, EventItems::RelayNumber(r)) != 0)
            order.push_back(r);

    int next = 1;
    int result = 0;
    for (int r : order)
        if (int rc = ::WriteItem(m_settings, EventItems::RelayNumber(r), next++); rc != 0 && result == 0)
            result = rc;
    m_settings.Unlock();
    return result;
}

}  // namespace results
