// The data pages of the web folders: per event its relay pages, class pages
// and combined pages, and the team competitions' pages, each a list made by
// its producer and written as an HTML list file; then the upload.
#include "results/lists/DataList.h"
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

bool CDataList::RelayHasShots(int relayIndex)
{
    CBVConfig& comp = m_comp.Comp();
    const int e = request.event;
    CDataRes* card = GetResultCard(e);
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

void CDataList::MakeWebPages(int number, int aweb, int prize)
{
    PrepareRows();
    request.selection = 0;
    ClearRows();
    request.file.html = 1;
    const int16_t savedKind = request.kind;
    const uint16_t savedEvent = request.event;
    const int32_t savedTree = request.treeSelection;
    CBVConfig& comp = m_comp.Comp();
    CBVConfig& web = m_comp.Web();
    web.Refresh();

    // Every list starts on an empty model; what a producer made is written,
    // and where it made nothing the page says so.
    auto fresh = [this] {
        ClearRows();
        Reset();
        m_currentDef = 0;
        m_defCount = 0;
    };
    auto write = [this](const std::string& path, const std::string& title, const std::string& message) {
        if (m_currentDef > 0) {
            if (WriteListFile(false, true, false, path, 0, 0, false) == 0 && onPageWritten)
                onPageWritten(path);
        } else {
            WriteEmptyPage(path, title, message);
        }
    };
    auto flagged = [this, &web](int e, int r) {
        const RelayWebFlags& flags = relayFlags ? *relayFlags : m_comp.WebFlags();
        return flags.Get(e, r) || (r <= 999 && ::ReadItem(web, WebItems::RelayChanged(e, r)) == 1);
    };
    auto clearFlag = [this, &web](int e, int r) {
        (relayFlags ? *relayFlags : m_comp.WebFlags()).Clear(e, r);
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
            request.event = static_cast<uint16_t>(e);
            request.firstTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventFirstTarget(e), 1));
            request.lastTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventLastTarget(e), 1));
            auto relayTitle = [&](int r) {
                char text[256];
                std::snprintf(text, sizeof text, "%s %d %s", ResString(IDS_WEB_RELAY_RESULTS).c_str(), r,
                              eventName.c_str());
                return std::string(text);
            };

            // The slide show's relay page, the event's active relay.
            if (::ReadItem(prizes, WebChoice::kRelayInShow)) {
                const int r = ::ReadItem(web, WebItems::ActiveRelay(e));
                request.firstRelay = request.lastRelay = static_cast<uint16_t>(r);
                fresh();
                MakeRelayList(kListRelayList, kOutputWebPage, false);
                write(kAWebDataFolder + Name("%d-Relay-%d.htm", e, r), relayTitle(r), ResString(IDS_WEB_NO_ENTRIES));
            }

            if (aweb == 0) {
                GetResultCard(e)->LoadEvent(e);
                const int relays = ::ReadItem(comp, CompItems::EventRelays(e));
                for (int i = 1; i <= relays && !StopRequested(); ++i) {
                    const int r = ::ReadItem(settings, EventItems::RelayNumber(i));
                    if (r <= 0 || !(flagged(e, r) || m_comp.webRebuildAll))
                        continue;
                    request.firstRelay = request.lastRelay = static_cast<uint16_t>(r);
                    fresh();
                    const int flags = ::ReadItem(settings, EventItems::RelayFlags(i));
                    if (flags & RelayFlag::kHasResults) {
                        MakeRelayList(kListRelayList, kOutputWebPage, false);
                    } else if (RelayHasShots(i)) {
                        ::WriteItem(settings, EventItems::RelayFlags(i), flags | RelayFlag::kHasResults);
                        MakeRelayList(kListRelayList, kOutputWebPage, false);
                    } else {
                        MakeRollCall(true);
                    }
                    if (!m_comp.cardsOn)
                        clearFlag(e, r);
                    // A relay the site links to always has its page.
                    write(kPWebDataFolder + Name("%d-Relay-%d.htm", e, r), relayTitle(r), ResString(IDS_WEB_NO_ENTRIES));
                }

                if (m_comp.cardsOn && ::ReadItem(m_comp.Exch(), ExchItems::EventType(e)) == 1) {
                    for (int j = 1; j <= relays && !StopRequested(); ++j) {
                        const int r = ::ReadItem(settings, EventItems::RelayNumber(j));
                        if (r == 0 || !(flagged(e, r) || m_comp.webRebuildAll))
                            continue;
                        const int flags = ::ReadItem(settings, EventItems::RelayFlags(j));
                        if (!m_comp.webRebuildAll && (flags & RelayFlag::kCardsMade))
                            continue;
                        request.firstRelay = request.lastRelay = static_cast<uint16_t>(r);
                        request.firstTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventFirstTarget(e), 0));
                        request.lastTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventLastTarget(e), 0));
                        request.seriesPerSheet = 14;
                        request.aimingMark = 0;
                        fresh();
                        PrintCards(true, true);
                        if (onPageWritten)
                            for (const std::string& picture : picturesWritten)
                                onPageWritten(picture);
                        ::WriteItem(settings, EventItems::RelayFlags(j), flags | RelayFlag::kCardsMade);
                        clearFlag(e, r);
                    }
                    request.firstTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventFirstTarget(e), 1));
                    request.lastTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventLastTarget(e), 1));
                }
            }

            const bool fixedLayout = UsesFixedResultList(e);
            auto makeResultList = [&](int kind) {
                fresh();
                if (fixedLayout)
                    MakeFixedResultList(kind, true, 0, prize != 0, false, true);
                else
                    MakeCodedResultList(kind, true, 0, prize != 0, false, true);
            };

            request.kind = kListResultsByClass;
            const int lists = ::ReadItem(prizes, PrizeItems::kClassCount);
            for (int p = 1; p <= lists && !StopRequested(); ++p) {
                if (::ReadItem(prizes, PrizeItems::ClassSource(p)) == 0)
                    continue;
                const std::string classes = ::ReadItem(prizes, PrizeItems::ClassClasses(p));
                for (size_t c = 1; c <= classes.size() && !StopRequested(); ++c) {
                    const int k = static_cast<unsigned char>(classes[c - 1]);
                    if (aweb && !::ReadItem(prizes, WebChoice::ClassInShow(p, k)))
                        continue;
                    request.seriesFilter = {p};
                    request.classFilter = {static_cast<uint8_t>(k)};
                    const int ci = static_cast<int>(c);
                    const std::string path = (aweb ? kAWebDataFolder : kPWebDataFolder) + Name("%d-Class-%d-%d.htm", e, p, ci);
                    request.variant = static_cast<uint16_t>(
                        aweb ? WebChoice::VariantOfRows(::ReadItem(prizes, WebChoice::ClassRows(p, k))) : 0);
                    makeResultList(kListResultsByClass);
                    write(path, m_comp.GetClassName(k), ResString(IDS_WEB_NO_ENTRIES));
                }
            }

            request.kind = kListResultsCombined;
            request.classFilter.clear();
            const int groups = ::ReadItem(prizes, PrizeItems::kGroupCount);
            for (int g = 1; g <= groups && !StopRequested(); ++g) {
                const std::string name = ::ReadItem(prizes, PrizeItems::GroupName(g));
                if (name.empty() || (aweb && !::ReadItem(prizes, WebChoice::GroupInShow(g))))
                    continue;
                request.seriesFilter = {g};
                request.variant = static_cast<uint16_t>(
                    aweb ? WebChoice::VariantOfRows(::ReadItem(prizes, WebChoice::GroupRows(g))) : 0);
                makeResultList(kListResultsCombined);
                write((aweb ? kAWebDataFolder : kPWebDataFolder) + Name("%d-Common-%d.htm", e, g), name,
                      ResString(IDS_WEB_NO_ENTRIES));
            }
            request.variant = 0;
            request.seriesFilter.clear();
        }
    } else {
        CBVConfig& team = m_comp.Team();
        team.Refresh();
        const int teams = ::ReadItem(team, TeamItems::kCount);
        request.kind = kListTeamShooting;
        for (int t = 1; t <= teams && !StopRequested(); ++t) {
            const std::string name = ::ReadItem(team, TeamItems::Name(t));
            if (name.empty() || (aweb && !::ReadItem(team, TeamItems::WebInShow(t))))
                continue;
            request.treeSelection = t;
            fresh();
            MakeTeamList(false, false);
            write((aweb ? kAWebDataFolder : kPWebDataFolder) + Name("Team-%d.htm", t),
                  ResString(IDS_TEAM_SHOOTING) + " " + name, ResString(IDS_WEB_NO_TEAM_RESULTS));
        }
    }

    if (m_comp.ftpOn && m_comp.context[kCtxWebExchange] && !StopRequested())
        UploadWeb();

    fresh();
    request.treeSelection = savedTree;
    request.event = savedEvent;
    request.kind = savedKind;
}

}  // namespace results
