// The time schedule: a column per event and, day by day, a row per start
// time at which a relay starts, naming in each event's column the relays
// that start then. Relays of one event that start together share their
// cell; relays whose day has no date come last, under a day row of their
// own without a label.
#include "results/lists/overview/TimeSchedule.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"

#include <algorithm>
#include <cstdint>

namespace results {
namespace {

constexpr int kTimeWidth = 15;
constexpr int kEventWidthMax = 15;

struct ScheduledRelay {
    int index = 0;
    int number = 0;
    int date = 0;  // yyyymmdd; 0 = the relay's day has no date in the schedule
    int time = 0;  // the digits of the start time: 08:30 is 830
    std::string text;
};

struct ScheduledEvent {
    int number = 0;
    std::vector<ScheduledRelay> relays;  // by date, time and index
};

int TimeKey(const std::string& text)
{
    int key = 0;
    for (char c : text)
        if (c >= '0' && c <= '9' && key < 100000000)
            key = key * 10 + (c - '0');
    return key;
}

}  // namespace

void TimeSchedule::SetupPage(int d, int events)
{
    m_list.ReadMargins();
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    m_list.SetupBody(events + 1, d);
    ListDef& def = m_report.Def(d);
    const int eventWidth = events > 0 ? std::min(85 / events, kEventWidthMax) : kEventWidthMax;
    for (size_t c = 0; c < def.bodyColumns.size(); ++c) {
        ReportColumn& column = def.bodyColumns[c];
        column.frame = kFrameBox;
        column.fitChars = 15;
        if (c == 0) {
            column.align = kAlignRight;
            column.widthPercent = kTimeWidth;
        } else {
            column.align = kAlignCentre;
            column.widthPercent = eventWidth;
            column.face = "Arial";
        }
    }
    def.bodyLines.assign(1, ReportLine());
    def.bodyLines[0].firstColumn = 1;
    def.bodyLines[0].columnCount = events + 1;
}

void TimeSchedule::Make()
{
    m_list.ClearRows();
    m_report.aListDef.assign(1, ListDef());
    m_report.Def(1).footerRule = false;  // no line above this list's footer
    CBVConfig& comp = m_comp.Comp();

    std::vector<ScheduledEvent> events;
    std::vector<int> days;  // in the order the events first name them
    CDataEvent* anyEvent = nullptr;
    const int eventCount = EventCount(comp);
    for (int f = 1; f <= eventCount; ++f) {
        if (::ReadItem(comp, CompItems::EventInUse(f)) == 0 || ::ReadItem(comp, CompItems::EventExcluded(f)) != 0)
            continue;
        ScheduledEvent scheduled;
        scheduled.number = f;
        CDataEvent* event = m_comp.GetEvent(f);
        if (event) {
            anyEvent = anyEvent ? anyEvent : event;
            CBVConfig& settings = event->Settings();
            const int eventDays = ::ReadItem(comp, CompItems::EventDays(f));
            for (int d = 1; d <= eventDays; ++d) {
                const int date = ::ReadItem(settings, EventItems::DayDate(d));
                if (date > 0 && std::find(days.begin(), days.end(), date) == days.end())
                    days.push_back(date);
            }
            m_request.event = static_cast<uint16_t>(f);
            const int relays = ::ReadItem(comp, CompItems::EventRelays(f));
            for (int r = 1; r <= relays; ++r) {
                ScheduledRelay relay;
                relay.index = r;
                relay.number = ::ReadItem(settings, EventItems::RelayNumber(r));
                if (relay.number == 0)
                    continue;
                const std::string text = ::ReadItem(settings, EventItems::RelayText(r));
                relay.text = text.empty() ? std::string() : "(" + text + ")";
                relay.time = TimeKey(::ReadItem(settings, EventItems::RelayTime(r)));
                const int day = ::ReadItem(settings, EventItems::RelayDay(r));
                relay.date = day >= 1 && day <= eventDays ? ::ReadItem(settings, EventItems::DayDate(day)) : 0;
                scheduled.relays.push_back(relay);
            }
        }
        events.push_back(std::move(scheduled));
    }
    // A relay on a day without a date (or beyond the event's days) is not lost:
    // it comes under the undated day row after the dated days.
    for (ScheduledEvent& event : events)
        for (ScheduledRelay& relay : event.relays)
            if (std::find(days.begin(), days.end(), relay.date) == days.end())
                relay.date = 0;

    const int n = static_cast<int>(events.size());
    SetupPage(1, n);
    m_list.BuildPageHeader(ResString(IDS_TIME_SCHEDULE), "", 1, 0);

    const size_t columns = static_cast<size_t>(n) + 1;
    std::vector<ReportCell> names = Cells(columns);
    for (int l = 0; l < n; ++l) {
        const int event = events[static_cast<size_t>(l)].number;
        names[static_cast<size_t>(l) + 1].text = ::ReadItem(comp, CompItems::EventName(event));
    }
    m_report.AddRow(names, 1);

    bool undated = false;
    for (const ScheduledEvent& event : events)
        for (const ScheduledRelay& relay : event.relays)
            undated = undated || relay.date == 0;
    std::vector<int> dayRows = days;
    if (undated)
        dayRows.push_back(0);

    for (int date : dayRows) {
        std::vector<ReportCell> dayRow = Cells(columns);
        if (date != 0 && anyEvent)
            dayRow[0].text = anyEvent->DayLabel(date);
        m_report.AddRow(dayRow, 1);
        // The start times of the day, ascending.
        std::vector<int> times;
        for (const ScheduledEvent& event : events)
            for (const ScheduledRelay& relay : event.relays)
                if (relay.date == date)
                    times.push_back(relay.time);
        std::sort(times.begin(), times.end());
        times.erase(std::unique(times.begin(), times.end()), times.end());
        for (int time : times) {
            std::vector<ReportCell> row = Cells(columns);
            row[0].text = Format("%d:%02d", time / 100, time % 100);
            for (int l = 0; l < n; ++l) {
                std::string& cell = row[static_cast<size_t>(l) + 1].text;
                for (const ScheduledRelay& relay : events[static_cast<size_t>(l)].relays) {
                    if (relay.date != date || relay.time != time)
                        continue;
                    if (!cell.empty()) {
                        if (cell.back() == ' ')
                            cell.pop_back();  // "1, 2 (B-lag)", not "1 , 2 (B-lag)"
                        cell += ", ";
                    }
                    cell += Format("%d %s", relay.number, relay.text.c_str());
                }
            }
            m_report.AddRow(row, 1);
        }
    }
    m_report.ListComplete(1);
}

}  // namespace results
