// A new event in one call: its first day and relay, name, classes, shooting
// program, prize lists, series types, result type and exchange prefix, and
// the final event linked to it when the program has one.
//
// Several computers may create events in one competition at once: the event
// numbers are drawn and counted in one lock bracket of Comp.bvc, and each
// prefix is chosen and stored in one lock bracket of Exch.bvc, so no two
// events share a number or a prefix.
#include "results/data/CompetitionItems.h"
#include "results/data/DataEvent.h"
#include "results/data/EventItems.h"
#include "results/events/TemplateTypes.h"

#include "foundation/files/BVLog.h"
#include "platform/system/Clock.h"
#include "platform/system/Codepage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace results {
namespace {

constexpr int kLastEventNumber = 999;  // the highest index of a settings item
constexpr int kPrefixTries = 10;
// User.bvc (2, v, 570..578): the KME folder of prefix v, in nine pieces.
constexpr int kKmeFolderSection = 2;
constexpr int kKmeFolderKey = 570;

int Today()
{
    platform::LocalTime now = platform::Now();
    return now.year * 10000 + now.month * 100 + now.day;
}

// The file's lock bracket; another computer's bracket is short, so a busy
// lock is asked for again a few times before giving up.
int LockPatiently(CBVConfig& file)
{
    int rc = -1;
    for (int attempt = 0; attempt < 10; ++attempt) {
        rc = file.Lock();
        if (rc != -3)
            break;
    }
    return rc;
}

bool SameNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (platform::Upper1252(static_cast<unsigned char>(a[i])) != platform::Upper1252(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Under Exch.bvc's lock: the prefix of the first try that no other event of
// the competition uses; empty when none is left.
std::string FreePrefix(CBVConfig& exch, int events, int self, int orgType, int kind, int exchType, int firstTry)
{
    for (int t = 0; t < kPrefixTries; ++t) {
        std::string prefix = CDataEvent::MakePrefix(orgType, firstTry + t, kind, exchType);
        // An empty prefix would name exchange files with nothing to tell
        // the events apart: no prefix at all.
        if (prefix.empty())
            return {};
        bool used = false;
        for (int j = 1; j <= events && !used; ++j)
            used = j != self && SameNoCase(::ReadItem(exch, ExchItems::EventPrefix(j)), prefix);
        if (!used)
            return prefix;
    }
    return {};
}

// The exchange items of a new main or final event; the exchange type the
// event ended up with (0 when no prefix was free).
int SetExchange(CBVConfig& exch, CBVConfig& comp, CBVConfig& user, int event, bool final, int orgType, int kind,
                int exchType)
{
    if (LockPatiently(exch) != 0) {
        BV_LOG(ProgramLog(), 80, "Can't lock %s - event %d made without exchange", exch.Path().c_str(), event);
        return CDataEvent::kExchangeNone;
    }
    if (exchType != CDataEvent::kExchangeNone) {
        std::string prefix;
        if (final && exchType == CDataEvent::kExchangeKme) {
            // A KME final shares the prefix of its main event.
            prefix = CDataEvent::MakePrefix(orgType, CDataEvent::kFinalTry, kind, exchType);
        } else {
            // Events drawn by other computers meanwhile count too.
            comp.Refresh();
            int events = std::max(::ReadItem(comp, CompItems::kEventCount), event);
            prefix = FreePrefix(exch, events, event, orgType, kind, exchType, final ? CDataEvent::kFinalTry : 0);
            if (prefix.empty()) {
                BV_LOG(ProgramLog(), 80, "Can't find prefix");
                exchType = CDataEvent::kExchangeNone;
            }
        }
        ::WriteItem(exch, ExchItems::EventPrefix(event), prefix);
        if (!final && exchType == CDataEvent::kExchangeKme) {
            int v = std::atoi(prefix.c_str());
            ConfigNinePieces folder = ExchItems::EventFolder(event);
            for (int i = 0; i < 9; ++i) {
                char piece[CBVConfig::kValueSize];
                user.ReadString(kKmeFolderSection, v, kKmeFolderKey + i, "", piece, sizeof piece);
                exch.WriteString(folder.section, folder.index, folder.key + i, piece);
            }
        }
        if (final)
            ::WriteItem(exch, ExchItems::StartScore(event), CDataEvent::IsFinalPair(orgType, kind));
    } else {
        ::WriteItem(exch, ExchItems::EventPrefix(event), std::string());
    }
    ::WriteItem(exch, ExchItems::EventType(event), exchType);
    if (final && exchType == CDataEvent::kExchangeKme)
        ::WriteItem(exch, ExchItems::KmeFinal(event), 1);
    exch.Unlock();
    return exchType;
}

// A first day dated today and a first relay at 08:00 on it.
void AddDayAndRelay(CBVConfig& comp, CBVConfig& settings, int event, int today)
{
    int day = ::ReadItem(comp, CompItems::EventDays(event)) + 1;
    ::WriteItem(comp, CompItems::EventDays(event), day);
    ::WriteItem(settings, EventItems::DayDate(day), today);
    int relay = ::ReadItem(comp, CompItems::EventRelays(event)) + 1;
    ::WriteItem(comp, CompItems::EventRelays(event), relay);
    ::WriteItem(settings, EventItems::RelayNumber(relay), relay);
    ::WriteItem(settings, EventItems::RelayDay(relay), day);
    ::WriteItem(settings, EventItems::RelayTime(relay), std::string(EventItems::kRelayTimeWhenCreated));
}

int SeriesTypeAt(const std::string& types, int i)
{
    return i >= 0 && static_cast<size_t>(i) < types.size() ? static_cast<unsigned char>(types[static_cast<size_t>(i)])
                                                           : 0;
}

std::string EventFile(const std::string& folder, int event)
{
    char name[24];
    std::snprintf(name, sizeof name, "Event%d.bvc", event);
    return folder + name;
}

}  // namespace

int CDataEvent::CreateEvent(int competition, int orgType, int kind, int exchType, const std::string& seriesTypes,
                            int holds, int extraHolds)
{
    const int today = Today();
    char folderText[32];
    std::snprintf(folderText, sizeof folderText, ".\\Comp%d\\", competition);
    const std::string folder = folderText;
    CBVConfig exch, comp, user;
    exch.Open(folder + "Exch.bvc", 1);
    comp.Open(folder + "Comp.bvc", 1);
    user.Open(".\\Common\\User.bvc", 1);

    // The numbers of the event and its final, drawn and counted at once.
    const bool withFinal = (kind & templates::kKindHasFinal) != 0;
    if (LockPatiently(comp) != 0) {
        BV_LOG(ProgramLog(), 80, "Can't lock %s - no event made", comp.Path().c_str());
        return -1;
    }
    const int n = ::ReadItem(comp, CompItems::kEventCount) + 1;
    const int last = withFinal ? n + 1 : n;
    int drawn = last <= kLastEventNumber ? ::WriteItem(comp, CompItems::kEventCount, last) : -1;
    comp.Unlock();
    if (drawn != 0) {
        BV_LOG(ProgramLog(), 80, "No event number left in %s", comp.Path().c_str());
        return -1;
    }
    const int classes = ::ReadItem(comp, CompItems::kClassCount);
    const int compOrg = ::ReadItem(comp, CompItems::kOrgType);
    const int number = kind & templates::kKindNumber;

    CBVConfig settings;
    settings.Open(EventFile(folder, n), 1);
    ::WriteItem(comp, CompItems::EventInUse(n), 1);
    ::WriteItem(comp, CompItems::EventFirstTarget(n), 1);
    ::WriteItem(comp, CompItems::EventLastTarget(n), compOrg == 3 && number == 5 ? 1 : compOrg == 3 && kind == 4 ? 4 : 10);
    m_number = n;
    AddDayAndRelay(comp, settings, n, today);
    ::WriteItem(settings, EventItems::kKind, kind);
    ::WriteItem(comp, CompItems::EventName(n), EventNameFor(orgType, 0, kind));
    for (int i = 1; i <= classes; ++i)
        if (ClassesFor(orgType, 0, kind, ::ReadItem(comp, CompItems::ClassName(i))) == 1)
            ::WriteItem(settings, EventItems::ClassUsed(i), 1);
    int subs = 0;
    const int series = BuildProgram(orgType, 0, kind, settings, subs, n, holds, extraHolds);
    ::WriteItem(comp, CompItems::EventSeries(n), series);
    BuildPrizes(orgType, 0, kind, n, competition, comp);
    ::WriteItem(comp, CompItems::EventSubEvents(n), subs);

    exchType = SetExchange(exch, comp, user, n, false, orgType, kind, exchType);

    bool has7 = false, has8 = false, has9 = false, has11 = false;
    for (int s = 1; s <= series; ++s) {
        int type = SeriesTypeAt(seriesTypes, s - 1);
        ::WriteItem(settings, EventItems::SeriesType(s), type);
        has7 |= type == 7;
        has8 |= type == 8;
        has9 |= type == 9;
        has11 |= type == 11;
    }
    const bool noExchange = exchType == CDataEvent::kExchangeNone;
    const bool decimalTypes = has7 || has8 || (noExchange && has11);
    int resultType;
    if (orgType == 1)
        resultType = noExchange && has9 ? 5 : decimalTypes ? 4 : 0;
    else if (orgType == 3)
        resultType = noExchange && has9 ? 5 : has7 || has8 || has11 ? 6 : 3;
    else
        resultType = has7 ? 7 : 1;
    ::WriteItem(settings, EventItems::ResultType(n), resultType);

    if (!withFinal)
        return n;

    const int f = n + 1;
    ::WriteItem(comp, CompItems::EventFirstTarget(f), 1);
    ::WriteItem(comp, CompItems::EventLastTarget(f), compOrg == 3 && number == 5 ? 1 : 10);
    CBVConfig finalSettings;
    finalSettings.Open(EventFile(folder, f), 1);
    ::WriteItem(comp, CompItems::EventInUse(f), 1);
    ::WriteItem(comp, CompItems::EventName(f), EventNameFor(orgType, 1, kind));
    for (int i = 1; i <= classes; ++i)
        if (ClassesFor(orgType, 1, kind, ::ReadItem(comp, CompItems::ClassName(i))) == 1)
            ::WriteItem(finalSettings, EventItems::ClassUsed(i), 1);
    int finalSubs = 0;
    const int finalSeries = BuildProgram(orgType, n, kind, finalSettings, finalSubs, f, holds, extraHolds);
    ::WriteItem(comp, CompItems::EventSeries(f), finalSeries);
    BuildPrizes(orgType, n, kind, f, competition, comp);
    ::WriteItem(comp, CompItems::EventSubEvents(f), finalSubs);
    ::WriteItem(finalSettings, EventItems::kSeparateFinal, 1);

    for (int s = 1; s <= finalSeries; ++s)
        ::WriteItem(finalSettings, EventItems::SeriesType(s), SeriesTypeAt(seriesTypes, series + s - 1));
    const templates::KindSet decimalFinals{1, 3, 4, 5, 6, 7, 10, 11, 12, 14};
    const templates::KindSet fieldPistolFinals{15, 16};
    if (orgType == 1) {
        ::WriteItem(finalSettings, EventItems::ResultType(f), decimalTypes ? 4 : 0);
    } else if (orgType == 2 || orgType == 6) {
        if (decimalFinals.Has(number) || fieldPistolFinals.Has(number)) {
            ::WriteItem(finalSettings, EventItems::Final(f), 1);
            ::WriteItem(finalSettings, EventItems::ResultType(f), fieldPistolFinals.Has(number) ? 7 : 1);
        }
    } else if (orgType == 3 && number == 5) {
        ::WriteItem(finalSettings, EventItems::Final(f), 0);
        ::WriteItem(finalSettings, EventItems::ResultType(f), 3);
    }

    m_number = f;
    AddDayAndRelay(comp, finalSettings, f, today);
    SetExchange(exch, comp, user, f, true, orgType, kind, exchType);
    return n;
}

}  // namespace results
