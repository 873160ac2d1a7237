// The data check of an event: targets outside its range that hold entries
// or shots, results without shooter and shooters without result, shots out
// of order, entries whose class, club, name or payment is wrong, and a
// shooter entered more than once. It changes nothing.
#include "results/data/CompetitionItems.h"
#include "results/data/DataEvent.h"
#include "results/data/DataShooter.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/events/VerifySink.h"

#include <cstdio>

namespace results {
namespace {

constexpr int kHighestTarget = 99;  // the pass over the targets outside the range

}  // namespace

int CDataEvent::Verify(int relayLimit, int options, VerifySink* sink, CDataShooter& shooters)
{
    const int relays = m_comp ? ::ReadItem(*m_comp, CompItems::EventRelays(m_number)) : 0;
    const int first = FirstTarget();
    const int last = LastTarget();
    const int rule = ::ReadItem(m_settings, EventItems::ShotCheck(m_number));
    const std::string name = m_comp ? ::ReadItem(*m_comp, CompItems::EventName(m_number)) : std::string();
    m_card.LoadEvent(m_number);
    if (!sink)
        return -1;

    // What other programs wrote since the files were last looked at counts.
    if (m_entries.IsOpen())
        m_entries.File().CacheVerify(0);
    if (m_resultsOpen)
        m_resultFile->CacheVerify(0);

    auto shotsAt = [this](int relay, int target) { return m_card.LoadCard(relay, target) == 0 ? m_card.CountShots(-1) : 0; };
    char text[160];
    for (int i = 1; i <= relays; ++i) {
        const int number = ::ReadItem(m_settings, EventItems::RelayNumber(i));
        if (number == 0 || static_cast<int16_t>(number) > static_cast<int16_t>(relayLimit))
            continue;

        // An event whose first target lies above its last has no range: every
        // target 1..99 is outside it.
        for (int j = 1; j <= kHighestTarget; ++j) {
            if (j >= first && j <= last)
                continue;
            RegRecord entry;
            if (m_entries.Read(i, j, entry) && (entry.classNr != 0 || entry.startNr != 0))
                sink->AddErrorId(m_number, name, number, j, IDS_VERIFY_SHOOTER_OUTSIDE);
            if (shotsAt(i, j) != 0)
                sink->AddErrorId(m_number, name, number, j, IDS_VERIFY_RESULT_OUTSIDE);
        }

        for (int j = first; j <= last; ++j) {
            RegRecord entry{};
            const bool entered = m_entries.Read(i, j, entry);
            const int32_t start = entered ? entry.startNr : 0;
            const int shots = shotsAt(i, j);
            if (start == 0 && shots == 0)
                continue;
            if (start == 0)
                sink->AddErrorId(m_number, name, number, j, IDS_VERIFY_NO_SHOOTER);
            else if (shots == 0 && !(options & kVerifySkipMissing))
                sink->AddErrorId(m_number, name, number, j, IDS_VERIFY_NO_RESULT);
            if (shots != 0) {
                if (int series = m_card.CheckShotOrder(0, 100, rule); series != 0) {
                    std::snprintf(text, sizeof text, "%s %2d", ResString(IDS_VERIFY_SHOT_ORDER).c_str(), series);
                    sink->AddError(m_number, name, number, j, text);
                }
            }
            if (start == 0)
                continue;

            const int classNr = entry.classNr;
            const int32_t paid = entry.paid;
            if (classNr == 0 || ::ReadItem(m_settings, EventItems::ClassUsed(classNr)) == 0 || !m_comp ||
                ::ReadItem(*m_comp, CompItems::ClassName(classNr)).empty()) {
                sink->AddErrorId(m_number, name, number, j, IDS_VERIFY_BAD_CLASS);
            } else if ((shooters.GetClub(start) & 0xFFFF) == 0) {
                sink->AddErrorId(m_number, name, number, j, IDS_VERIFY_NO_CLUB);
            } else if (shooters.GetName(start).empty()) {
                sink->AddErrorId(m_number, name, number, j, IDS_VERIFY_BLANK_NAME);
            } else if (!(options & kVerifySkipPayment) && paid != ::ReadItem(m_settings, EventItems::ClassFee(classNr))) {
                const auto amount = static_cast<uint32_t>(paid);
                std::snprintf(text, sizeof text, "%s %2u.%02u", ResString(IDS_VERIFY_BAD_PAYMENT).c_str(),
                              amount / 100, amount % 100);
                sink->AddError(m_number, name, number, j, text);
            }

            int relay = i, target = j;
            if (FindOtherEntry(start, relay, target) != 0) {
                std::snprintf(text, sizeof text, "%s %d:%d", ResString(IDS_VERIFY_ALSO_AT).c_str(),
                              ::ReadItem(m_settings, EventItems::RelayNumber(relay)), target);
                sink->AddError(m_number, name, number, j, text);
            }
        }
    }
    return 0;
}

}  // namespace results
