// The data pages of the web folders: per event its relay pages, class pages
// and combined pages, and the team competitions' pages, each a list made by
// its producer and written as an HTML list file; then the upload.
#include "results/lists/web/WebListPages.h"

#include "results/lists/files/WriteListFile.h"
#include "results/lists/relays/GraphicCards.h"
#include "results/lists/relays/RelayLists.h"
#include "results/lists/resultlists/ResultLists.h"
#include "results/lists/teams/TeamList.h"
#include "results/lists/web/WebChoices.h"
#include "results/lists/web/WebFiles.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"

#include <cstdio>

namespace results {
namespace {

constexpr int kTeamBit = 0x80;

std::string Name(const char* format, int a, int b = 0, int c = 0)
{
    char name[64];
    std::snprintf(name, sizeof name, format, a, b, c);
    return name;
}

}  // namespace

bool WebListPages::RelayHasShots(int relayIndex)
{
    CBVConfig& comp = m_comp.Comp();
    const int e = m_request.event;
    CDataRes* card = m_list.GetResultCard(e);
    if (!card)
        return false;
    card->LoadEvent(e);
    const int first = ::ReadItem(comp, CompItems::EventFirstTarget(e), 0);
    const int last = ::ReadItem(comp, CompItems::EventLastTarget(e), 0);
    for (int t = first; t <= last; ++t)
        if (card->LoadCard(relayIndex, t) == 0 && card->CountAllShots() != 0)
            return true;
    return false;
}

void WebListPages::Make(int number, int aweb, int prize)
{
    m_list.PrepareRows();
    m_request.selection = 0;
    m_list.ClearRows();
    m_request.file.html = 1;
    const int16_t savedKind = m_request.kind;
    const uint16_t savedEvent = m_request.event;
    const int32_t savedTree = m_request.treeSelection;
    CBVConfig& comp = m_comp.Comp();
    CBVConfig& web = m_comp.Web();
    web.Refresh();

    // Every list starts on an empty model; what a producer made is written,
    // and where it made nothing the page says so.
    auto fresh = [this] {
        m_list.ClearRows();
        m_report.Reset();
        m_report.m_currentDef = 0;
        m_report.m_defCount = 0;
    };
    auto write = [this](const std::string& path, const std::string& title, const std::string& message) {
        if (m_report.m_currentDef > 0) {
            if (WriteListFile(m_list, false, true, false, path, false) == 0 && m_list.onPageWritten)
                m_list.onPageWritten(path);
        } else {
            WriteEmptyPage(m_list, path, title, message);
        }
    };
    auto flagged = [this, &web](int e, int r) {
        const RelayWebFlags& flags = m_list.relayFlags ? *m_list.relayFlags : m_comp.WebFlags();
        return flags.Get(e, r) || (r <= 999 && ::ReadItem(web, WebItems::RelayChanged(e, r)) == 1);
    };
    auto clearFlag = [this, &web](int e, int r) {
        (m_list.relayFlags ? *m_list.relayFlags : m_comp.WebFlags()).Clear(e, r);
        if (r <= 999 && ::ReadItem(web, WebItems::RelayChanged(e, r)) != 0)
            ::WriteItem(web, WebItems::RelayChanged(e, r), 0);
    };

    if ((number & kTeamBit) == 0) {
        const int e = number;
        CDataEvent* event = m_comp.GetEvent(e);
        if (event) {
            CBVConfig& settings = event->Settings();
            CBVConfig& prizes = event->Prizes();
            settings.Refresh();
            prizes.Refresh();
            const std::string eventName = ::ReadItem(comp, CompItems::EventName(e));
            m_request.event = static_cast<uint16_t>(e);
            m_request.firstTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventFirstTarget(e), 1));
            m_request.lastTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventLastTarget(e), 1));
            auto relayTitle = [&](int r) {
                char text[256];
                std::snprintf(text, sizeof text, "%s %d %s", ResString(IDS_WEB_RELAY_RESULTS).c_str(), r,
                              eventName.c_str());
                return std::string(text);
            };

            // The slide show's relay page, the event's active relay.
            if (::ReadItem(prizes, WebChoice::kRelayInShow)) {
                const int r = ::ReadItem(web, WebItems::ActiveRelay(e));
                m_request.firstRelay = m_request.lastRelay = static_cast<uint16_t>(r);
                fresh();
                RelayLists(m_list).MakeRelayList(kListRelayList, kOutputWebPage, false);
                write(kAWebDataFolder + Name("%d-Relay-%d.htm", e, r), relayTitle(r), ResString(IDS_WEB_NO_ENTRIES));
            }

            if (aweb == 0) {
                m_list.GetResultCard(e)->LoadEvent(e);
                const int relays = ::ReadItem(comp, CompItems::EventRelays(e));
                for (int i = 1; i <= relays && !m_list.StopRequested(); ++i) {
                    const int r = ::ReadItem(settings, EventItems::RelayNumber(i));
                    if (r <= 0 || !(flagged(e, r) || m_comp.webRebuildAll))
                        continue;
                    m_request.firstRelay = m_request.lastRelay = static_cast<uint16_t>(r);
                    fresh();
                    const int flags = ::ReadItem(settings, EventItems::RelayFlags(i));
                    if (flags & RelayFlag::kHasResults) {
                        RelayLists(m_list).MakeRelayList(kListRelayList, kOutputWebPage, false);
                    } else if (RelayHasShots(i)) {
                        ::WriteItem(settings, EventItems::RelayFlags(i), flags | RelayFlag::kHasResults);
                        RelayLists(m_list).MakeRelayList(kListRelayList, kOutputWebPage, false);
                    } else {
                        RelayLists(m_list).MakeRollCall(true);
                    }
                    if (!m_comp.cardsOn)
                        clearFlag(e, r);
                    // A relay the site links to always has its page.
                    write(kPWebDataFolder + Name("%d-Relay-%d.htm", e, r), relayTitle(r), ResString(IDS_WEB_NO_ENTRIES));
                }

                if (m_comp.cardsOn && ::ReadItem(m_comp.Exch(), ExchItems::EventType(e)) == 1) {
                    for (int j = 1; j <= relays && !m_list.StopRequested(); ++j) {
                        const int r = ::ReadItem(settings, EventItems::RelayNumber(j));
                        if (r == 0 || !(flagged(e, r) || m_comp.webRebuildAll))
                            continue;
                        const int flags = ::ReadItem(settings, EventItems::RelayFlags(j));
                        if (!m_comp.webRebuildAll && (flags & RelayFlag::kCardsMade))
                            continue;
                        m_request.firstRelay = m_request.lastRelay = static_cast<uint16_t>(r);
                        m_request.firstTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventFirstTarget(e), 0));
                        m_request.lastTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventLastTarget(e), 0));
                        m_request.seriesPerSheet = 14;
                        m_request.aimingMark = 0;
                        fresh();
                        GraphicCards(m_list).Print(true, true);
                        if (m_list.onPageWritten)
                            for (const std::string& picture : m_list.picturesWritten)
                                m_list.onPageWritten(picture);
                        ::WriteItem(settings, EventItems::RelayFlags(j), flags | RelayFlag::kCardsMade);
                        clearFlag(e, r);
                    }
                    m_request.firstTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventFirstTarget(e), 1));
                    m_request.lastTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventLastTarget(e), 1));
                }
            }

            const bool fixedLayout = ResultLists::UsesFixed(m_comp, e);
            auto makeResultList = [&](int kind) {
                fresh();
                if (fixedLayout)
                    ResultLists(m_list).MakeFixed(kind, {.withPrizes = prize != 0, .web = true});
                else
                    ResultLists(m_list).MakeCoded(kind, {.withPrizes = prize != 0, .web = true});
            };

            m_request.kind = kListResultsByClass;
            const int lists = ::ReadItem(prizes, PrizeItems::kClassCount);
            for (int p = 1; p <= lists && !m_list.StopRequested(); ++p) {
                if (::ReadItem(prizes, PrizeItems::ClassSource(p)) == 0)
                    continue;
                const std::string classes = ::ReadItem(prizes, PrizeItems::ClassClasses(p));
                for (size_t c = 1; c <= classes.size() && !m_list.StopRequested(); ++c) {
                    const int k = static_cast<unsigned char>(classes[c - 1]);
                    if (aweb && !::ReadItem(prizes, WebChoice::ClassInShow(p, k)))
                        continue;
                    m_request.seriesFilter = {p};
                    m_request.classFilter = {static_cast<uint8_t>(k)};
                    const int ci = static_cast<int>(c);
                    const std::string path = (aweb ? kAWebDataFolder : kPWebDataFolder) + Name("%d-Class-%d-%d.htm", e, p, ci);
                    m_request.variant = static_cast<uint16_t>(
                        aweb ? WebChoice::VariantOfRows(::ReadItem(prizes, WebChoice::ClassRows(p, k))) : 0);
                    makeResultList(kListResultsByClass);
                    write(path, m_comp.GetClassName(k), ResString(IDS_WEB_NO_ENTRIES));
                }
            }

            m_request.kind = kListResultsCombined;
            m_request.classFilter.clear();
            const int groups = ::ReadItem(prizes, PrizeItems::kGroupCount);
            for (int g = 1; g <= groups && !m_list.StopRequested(); ++g) {
                const std::string name = ::ReadItem(prizes, PrizeItems::GroupName(g));
                if (name.empty() || (aweb && !::ReadItem(prizes, WebChoice::GroupInShow(g))))
                    continue;
                m_request.seriesFilter = {g};
                m_request.variant = static_cast<uint16_t>(
                    aweb ? WebChoice::VariantOfRows(::ReadItem(prizes, WebChoice::GroupRows(g))) : 0);
                makeResultList(kListResultsCombined);
                write((aweb ? kAWebDataFolder : kPWebDataFolder) + Name("%d-Common-%d.htm", e, g), name,
                      ResString(IDS_WEB_NO_ENTRIES));
            }
            m_request.variant = 0;
            m_request.seriesFilter.clear();
        }
    } else {
        CBVConfig& team = m_comp.Team();
        team.Refresh();
        const int teams = ::ReadItem(team, TeamItems::kCount);
        m_request.kind = kListTeamShooting;
        for (int t = 1; t <= teams && !m_list.StopRequested(); ++t) {
            const std::string name = ::ReadItem(team, TeamItems::Name(t));
            if (name.empty() || (aweb && !::ReadItem(team, TeamItems::WebInShow(t))))
                continue;
            m_request.treeSelection = t;
            fresh();
            TeamList(m_list).Make(false, false);
            write((aweb ? kAWebDataFolder : kPWebDataFolder) + Name("Team-%d.htm", t),
                  ResString(IDS_TEAM_SHOOTING) + " " + name, ResString(IDS_WEB_NO_TEAM_RESULTS));
        }
    }

    if (m_comp.ftpOn && m_comp.context[kCtxWebExchange] && !m_list.StopRequested())
        m_list.UploadWeb();

    fresh();
    m_request.treeSelection = savedTree;
    m_request.event = savedEvent;
    m_request.kind = savedKind;
}

}  // namespace results
