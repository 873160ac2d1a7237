// The pages of the web folders written as fixed text: the slide show's
// start and frame pages, the framed site's start frame, blank page, banner
// and contents, and the page of an empty list. Every page is replaced whole,
// since a browser may read it while it is written.
#include "results/lists/web/WebSitePages.h"

#include "foundation/files/BVLog.h"
#include "platform/files/FileSystem.h"
#include "platform/system/Clock.h"
#include "platform/system/StringFormat.h"
#include "results/lists/web/WebChoices.h"
#include "results/lists/web/WebFiles.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace results {
namespace {

// The class numbers of a class string, one byte each.
std::vector<int> ClassesOf(const std::string& codes)
{
    std::vector<int> classes;
    for (char c : codes)
        classes.push_back(static_cast<unsigned char>(c));
    return classes;
}

// One slide: the list it shows, as seen from the AWeb folder's data folder.
struct Slide {
    std::string page;  // "1-Relay-1.htm"
    int seconds = 10;
};

std::string SlidePage(const std::string& refresh, const std::string& frame)
{
    return "<HTML>\r\n<HEAD>\r\n" + refresh + WebTitleLine() + "</HEAD>\r\n<FRAMESET ROWS=\"100%\" COLS=\"100%\">\r\n" +
           frame + "</FRAMESET>\r\n </HTML>\r\n";
}

}  // namespace

void WebSitePages::MakeFramePages(uint16_t pageCount)
{
    m_list.PrepareRows();
    CBVConfig& comp = m_comp.Comp();
    const int n = pageCount;
    int written = 1;   // the number of the next page written
    int candidates = 0;
    bool failed = false;

    auto write = [&](const Slide& slide) {
        if (failed)
            return;
        const int p = written++;
        const int next = p + 1 > n ? 1 : p + 1;
        std::string refresh, frame;
        if (p == 1) {
            refresh = next == 1 ? platform::StringFormat("<META HTTP-EQUIV=\"REFRESH\" CONTENT=\"%d; URL=./Startpage.htm\">\r\n", slide.seconds)
                                : platform::StringFormat("<META HTTP-EQUIV=\"REFRESH\" CONTENT=\"%d; URL=./data/Framepage%d.htm\">\r\n",
                                         slide.seconds, next);
            frame = "<FRAME SRC=\"./data/" + slide.page + "\">\r\n";
        } else {
            refresh = next == 1 ? platform::StringFormat("<META HTTP-EQUIV=\"REFRESH\" CONTENT=\"%d; URL=../Startpage.htm\">\r\n", slide.seconds)
                                : platform::StringFormat("<META HTTP-EQUIV=\"REFRESH\" CONTENT=\"%d; URL=./Framepage%d.htm\">\r\n",
                                         slide.seconds, next);
            frame = "<FRAME SRC=\"./" + slide.page + "\">\r\n";
        }
        const std::string path = p == 1 ? kAWebFolder + "Startpage.htm" : kAWebDataFolder + platform::StringFormat("Framepage%d.htm", p);
        failed = !WriteWebFile(m_list, path, SlidePage(refresh, frame), nullptr);
    };

    const int events = EventCount(comp);
    for (int e = 1; e <= events && !failed; ++e) {
        if (::ReadItem(comp, CompItems::EventInUse(e)) == 0 || ::ReadItem(comp, CompItems::EventExcluded(e)) == 1)
            continue;
        CDataEvent* event = m_comp.GetEvent(e);
        if (!event)
            continue;
        CBVConfig& prizes = event->Prizes();
        prizes.Refresh();
        ++candidates;
        if (::ReadItem(prizes, WebChoice::kRelayInShow))
            write({platform::StringFormat("%d-Relay-%d.htm", e, ::ReadItem(m_comp.Web(), WebItems::ActiveRelay(e))),
                   ::ReadItem(prizes, WebChoice::kRelaySeconds)});
        const int lists = ::ReadItem(prizes, PrizeItems::kClassCount);
        for (int p = 1; p <= lists; ++p) {
            if (::ReadItem(prizes, PrizeItems::ClassSource(p)) == 0)
                continue;
            const std::vector<int> classes = ClassesOf(::ReadItem(prizes, PrizeItems::ClassClasses(p)));
            for (size_t c = 1; c <= classes.size(); ++c) {
                const int k = classes[c - 1];
                ++candidates;
                if (::ReadItem(prizes, WebChoice::ClassInShow(p, k)))
                    write({platform::StringFormat("%d-Class-%d-%d.htm", e, p, static_cast<int>(c)),
                           ::ReadItem(prizes, WebChoice::ClassSeconds(p, k))});
            }
        }
        const int groups = ::ReadItem(prizes, PrizeItems::kGroupCount);
        for (int g = 1; g <= groups; ++g) {
            if (::ReadItem(prizes, PrizeItems::GroupName(g)).empty())
                continue;
            ++candidates;
            if (::ReadItem(prizes, WebChoice::GroupInShow(g)))
                write({platform::StringFormat("%d-Common-%d.htm", e, g), ::ReadItem(prizes, WebChoice::GroupSeconds(g))});
        }
    }
    CBVConfig& team = m_comp.Team();
    team.Refresh();
    const int teams = ::ReadItem(team, TeamItems::kCount);
    for (int t = 1; t <= teams && !failed; ++t) {
        if (::ReadItem(team, TeamItems::Name(t)).empty())
            continue;
        ++candidates;
        if (::ReadItem(team, TeamItems::WebInShow(t)))
            write({platform::StringFormat("Team-%d.htm", t), ::ReadItem(team, TeamItems::WebSeconds(t))});
    }
    // The pages no longer in the show lead back to its start.
    for (int p = written; p <= candidates && !failed; ++p)
        failed = !WriteWebFile(m_list, kAWebDataFolder + platform::StringFormat("Framepage%d.htm", p),
                               "<HTML>\r\n<HEAD>\r\n<META HTTP-EQUIV=\"REFRESH\" CONTENT=\"1; URL=../Startpage.htm\">\r\n" +
                                   WebTitleLine() + "</HEAD>\r\nSiden er fjernet !!!</HTML>\r\n",
                               nullptr);
}

void WebSitePages::MakeIndex()
{
    m_list.PrepareRows();
    const platform::LocalTime now = platform::Now();
    const std::string time =
        platform::StringFormat("%02d:%02d - %02d.%02d.%04d", now.hour, now.minute, now.day, now.month, now.year);
    const std::string noCache = "<meta http-equiv=\"pragma\" content=\"no-cache\">\r\n"
                                "<meta http-equiv=\"expires\" content=\"0\">\r\n";

    if (!WriteWebFile(m_list, kPWebFolder + kStartFrameName,
                      "<html>\r\n<head>\r\n" + WebTitleLine() +
                          "</head>\r\n<frameset rows=\"90,*\">\r\n"
                          "<frame name=\"banner\" scrolling=\"no\" noresize target=\"contents\" src=\"./data/banner.htm\">\r\n"
                          "<frameset cols=\"200,*\">\r\n"
                          "<frame name=\"contents\" src=\"./data/contents.htm\">\r\n"
                          "<frame name=\"main\" src=\"./data/blank.htm\">\r\n"
                          "</frameset>\r\n<noframes>\r\n<body>\r\n"
                          "<p>This side uses framse, but your browser doesn't support them.</p>\r\n</body>\r\n</noframes>\r\n"
                          "</frameset>\r\n</html>\r\n",
                      nullptr))
        return;
    if (m_list.StopRequested())
        return;
    if (!WriteWebFile(m_list, kPWebDataFolder + "blank.htm",
                      "<html>\r\n<head>\r\n" + WebTitleLine() +
                          "</head>\r\n<body bgcolor=\"#FFFFDF\">\r\n</body>\r\n</html>\r\n",
                      nullptr))
        return;
    CBVConfig& comp = m_comp.Comp();
    m_comp.User().Refresh();
    if (!WriteWebFile(m_list, kPWebDataFolder + "banner.htm",
                      "<html>\r\n<head>\r\n" + noCache + WebTitleLine() + "</head>\r\n<body bgcolor=\"#FFFFDF\">\r\n" +
                          "<p><center><h1>" + ::ReadItem(comp, CompItems::kName) + " - " +
                          ::ReadItem(m_comp.User(), UserItems::kOrganiser) + "</h1></center></p>\r\n" +
                          "<p><FONT SIZE=\"2\" Align=Right>Sist oppdatert " + time + "</font></p></body>\r\n",
                      "Error writing to file"))
        return;
    if (m_list.StopRequested())
        return;

    std::string page = "<html>\r\n<head>\r\n<base target=\"main\">\r\n" + noCache + WebTitleLine() +
                       "</head>\r\n<body bgcolor=\"#FFFFDF\">\r\n";
    const int events = EventCount(comp);
    auto shown = [&](int e) {
        return ::ReadItem(comp, CompItems::EventInUse(e)) != 0 && ::ReadItem(comp, CompItems::EventExcluded(e)) != 1 &&
               m_comp.GetEvent(e) != nullptr;
    };
    for (int e = 1; e <= events; ++e) {
        if (!shown(e))
            continue;
        CDataEvent* event = m_comp.GetEvent(e);
        CBVConfig& prizes = event->Prizes();
        prizes.Refresh();
        const int lists = ::ReadItem(prizes, PrizeItems::kClassCount);
        const int groups = ::ReadItem(prizes, PrizeItems::kGroupCount);
        bool anySource = false;
        for (int p = 1; p <= lists; ++p)
            anySource = anySource || ::ReadItem(prizes, PrizeItems::ClassSource(p)) != 0;
        for (int g = 1; g <= groups; ++g)
            anySource = anySource || ::ReadItem(prizes, PrizeItems::GroupSource(g)) != 0;
        if (anySource)
            page += "<p>\r\n<font size=\"5\">" + ::ReadItem(comp, CompItems::EventName(e)) + "</font><br>\r\n";
        CDataRes* card = m_list.GetResultCard(e);
        card->LoadEvent(e);
        for (int g = 1; g <= groups; ++g)
            if (::ReadItem(prizes, PrizeItems::GroupSource(g)) != 0)
                page += platform::StringFormat("<a href=\"./%d-Common-%d.htm\">", e, g) + ::ReadItem(prizes, PrizeItems::GroupName(g)) +
                        "</a><br>\r\n";
        page += "</p>\r\n</p>\r\n";
        std::string firstHeading;
        bool headingWritten = false;
        for (int p = 1; p <= lists; ++p) {
            const int source = ::ReadItem(prizes, PrizeItems::ClassSource(p));
            if (source == 0 || ::ReadItem(prizes, PrizeItems::ClassNoSettlement(p)) != 0)
                continue;
            const std::string name = source >= 256 ? card->GetSubEventName(source & 0x7F) : card->GetSeriesName(source);
            const bool sameAsBefore = p > 1 && source == ::ReadItem(prizes, PrizeItems::ClassSource(p - 1));
            if (!sameAsBefore && !(headingWritten && name == firstHeading)) {
                page += "<b>" + name + ":</b><br>\r\n";
                if (!headingWritten) {
                    firstHeading = name;
                    headingWritten = true;
                }
            }
            const std::vector<int> classes = ClassesOf(::ReadItem(prizes, PrizeItems::ClassClasses(p)));
            for (size_t c = 1; c <= classes.size(); ++c) {
                const int k = classes[c - 1];
                if (::ReadItem(event->Settings(), EventItems::ClassUsed(k)))
                    page += platform::StringFormat("<a href=\"./%d-Class-%d-%d.htm\">klasse ", e, p, static_cast<int>(c)) +
                            m_comp.GetClassName(k) + "</a><br>\r\n";
            }
        }
        page += "</p>\r\n";
    }

    page += "<p>\r\n";
    CBVConfig& team = m_comp.Team();
    team.Refresh();
    const int teams = ::ReadItem(team, TeamItems::kCount);
    bool firstTeam = true;
    for (int t = 1; t <= teams; ++t) {
        const std::string name = ::ReadItem(team, TeamItems::Name(t));
        if (name.empty())
            continue;
        if (firstTeam)
            page += "<font size=\"5\">" + ResString(IDS_TEAM_SHOOTING) + "</font><br>\r\n";
        firstTeam = false;
        page += platform::StringFormat("<a href=\"./Team-%d.htm\">", t) + name + "</a><br>\r\n";
    }

    page += "<p>\r\n<font size=\"5\">" + ResString(IDS_WEB_RELAY_LISTS) + "</font>\r\n";
    for (int e = 1; e <= events; ++e) {
        if (!shown(e))
            continue;
        CDataEvent* event = m_comp.GetEvent(e);
        CBVConfig& settings = event->Settings();
        settings.Refresh();
        page += "<br><br><font size=\"4\">" + ::ReadItem(comp, CompItems::EventName(e)) + "</font>\r\n";
        struct Day {
            int number, date;
        };
        std::vector<Day> days;
        for (int d = 1; d <= ::ReadItem(comp, CompItems::EventDays(e)); ++d)
            if (const int date = ::ReadItem(settings, EventItems::DayDate(d)); date != 0)
                days.push_back({d, date});
        std::stable_sort(days.begin(), days.end(), [](const Day& a, const Day& b) { return a.date < b.date; });
        const int relays = ::ReadItem(comp, CompItems::EventRelays(e));
        for (const Day& day : days) {
            struct Relay {
                int index, number;
            };
            std::vector<Relay> onDay;
            for (int i = 1; i <= relays; ++i) {
                const int number = ::ReadItem(settings, EventItems::RelayNumber(i));
                if (number != 0 && ::ReadItem(settings, EventItems::RelayDay(i)) == day.number)
                    onDay.push_back({i, number});
            }
            std::stable_sort(onDay.begin(), onDay.end(),
                             [](const Relay& a, const Relay& b) { return a.number < b.number; });
            if (!onDay.empty())
                page += "<br>" + event->DayLabel(day.date) + "<br>\r\n";
            for (const Relay& r : onDay)
                page += platform::StringFormat("<nobr><a href=\"./%d-Relay-%d.htm\">%d<font size=\"1\">(", e, r.number, r.number) +
                        ::ReadItem(settings, EventItems::RelayTime(r.index)) + ")</font></a>&nbsp;</nobr>\r\n";
        }
    }
    page += "</p>\r\n<p>&nbsp;</p>\r\n<p>\r\n<font size=\"2\" color = \"red\">\r\nBVRes - ";
    page += kMakerWebAddress;
    page += "\r\n</font>\r\n</p>\r\n</body>\r\n</html>\r\n";
    WriteWebFile(m_list, kPWebDataFolder + "contents.htm", page, nullptr);
}

}  // namespace results
