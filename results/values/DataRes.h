#pragma once
// The card object of one event: the event's series (shots, names, value
// systems), one loaded result card with the slot of every (series, shot),
// shots typed in one by one or stored a series at a time, and what the
// value systems make of them: texts, counted values, sums, sub-event totals
// over linked events and the figures a result list sorts by.
//
// A card object is used by one thread only.
#include "results/values/CardEvents.h"
#include "results/values/ResultRecord.h"

#include <cstdint>
#include <string>
#include <vector>

namespace results {

// A result row's figures. Ranking figures: [0] inner tens, [1] total,
// [2] shots of ten or more, [3..11] shots of 9 down to 1, [12] below one,
// then a pair per ring series or start score. Series figures: the pair
// [2s], [2s+1] of hit, time and number series s, the running totals in
// [1] and [0]. 32-bit words: long programs pass what 16 bits hold.
using RowFigures = std::vector<int32_t>;

class CDataRes {
public:
    // Result code of SetShot when every slot of the card is taken.
    static constexpr int kCardFull = -2048;
    static constexpr int kBadShot = -256;

    explicit CDataRes(CardEvents* events = nullptr);
    virtual ~CDataRes();
    CDataRes(const CDataRes&) = delete;
    CDataRes& operator=(const CDataRes&) = delete;

    void SetEvents(CardEvents* events) { m_events = events; }
    // Binds the result file (not owned); null binds the event's own.
    void SetFile(CBVFileEx* file, int event);
    void Clear();
    void SetSeries(int series, int shots, int type, int final, const std::string& name);
    int LoadEvent(int event);
    // 0 found; the keyed read's result with an empty card loaded otherwise.
    int LoadCard(int relay, int target);

    int GetShot(int series, int shot, ShotEntry& entry) const;
    int GetShotValue(int series, int shot) const;
    // Enters one typed shot and writes it: 0, -256 for a bad series or shot,
    // -2048 on a full card, or the value codes and write results ORed.
    int SetShot(int relay, int target, int series, int shot, const std::string& text);
    // Writes count shots as shots 1..count of the series on the loaded card;
    // LoadCard's result of the reload, or the write's failure.
    int StoreSeries(int relay, int target, int series, const ShotEntry* entries, int count);
    // Writes the shots given, each at its series and shot number (shots
    // below it that the card lacks become no shot), and the target type
    // bytes unless negative, on the card of (relay, target) read afresh
    // under the file's lock: one write for all of them. 0; kCardFull when a
    // shot found no free slot (the others are written); else the write's
    // failure.
    int StoreShots(int relay, int target, const std::vector<ShotEntry>& shots, int targetId = -1,
                   int targetIdDef = -1);

    int GetSeriesShots(int series) const;
    int GetSeriesCount() const { return static_cast<int>(m_shots.size()); }
    std::string GetSeriesName(int series) const;
    int GetSeriesType(int series) const;
    int GetSubEventCount();
    std::string GetSubEventName(int subEvent);

    // Values, texts and sums of the loaded card.
    int ValueMode(int kind) const;
    int SeriesFormat(int series, int event, int kind);
    std::string FormatShot(int series, int shot);
    std::string ShotText(int series, int shot, int kind);
    int CountedValue(int series, int shot) const;
    int SeriesSum(int series) const;
    std::string SeriesSumText(int series, int kind) const;
    int SeriesWidth(int series) const;
    int GetSumWidth() const;
    static int ParseValue(const std::string& text);
    int CountShots(int series) const;
    int CountAllShots() const;
    // A sub-event's total for one shooter; -1 when nothing was counted.
    int SubTotal(int32_t startNr, int event, int subEvent, std::vector<int>* visited = nullptr,
                 RowFigures* ranking = nullptr, RowFigures* seriesFigures = nullptr, int kind = 0, int linked = 0);
    std::string SubTotalText(int32_t startNr, int subEvent, int kind);
    int IsSubTotalComplete(int32_t startNr, int event, int subEvent);
    int AddSeriesStats(int series, RowFigures* ranking, RowFigures* seriesFigures, int kind, int linked,
                       int tieBreaks);
    // The first series whose shots break the order rule (1 must not fall,
    // 2 must not rise); 0 when none.
    int CheckShotOrder(int series, int shot, int rule) const;

    int Event() const { return m_event; }
    int CurrentRelay() const { return m_relay; }
    int CurrentTarget() const { return m_target; }
    int LastUsedSlot() const { return m_lastSlot; }
    const ResultRecord& Record() const { return m_record; }
    // The slot of (series, shot); -1 when none.
    int SlotOf(int series, int shot) const;

private:
    // The slot for (series, shot): its own, or the next one above the last used.
    int TakeSlot(int series, int shot);
    // Slots the series would need that it does not have yet.
    int NewSlotsFor(int series, int shots) const;
    int OrgType();
    CBVConfig* SettingsOf(int event);
    std::string SubCodes(int event, int subEvent);
    int SubTotalWalk(int32_t startNr, int event, int subEvent, std::vector<int>& visited, RowFigures* ranking,
                     RowFigures* seriesFigures, int kind, int linked);
    void CompleteWalk(int32_t startNr, int event, int subEvent, std::vector<int>& visited);
    // The write bracket: the card read afresh under the file's lock, change
    // applied to it, written, unlocked.
    template <typename Change>
    int WriteLocked(Change change);

    uint8_t m_complete = 0;
    int16_t m_event = 0;
    int16_t m_homeEvent = 0;
    uint16_t m_final = 0;
    uint8_t m_lastSlot = 0;
    int16_t m_target = 0;
    int16_t m_relay = 0;
    ResultRecord m_record;
    CBVFileEx* m_resFile = nullptr;
    std::vector<uint8_t> m_shots;
    std::vector<uint8_t> m_types;
    std::vector<std::string> m_names;
    std::vector<std::vector<uint8_t>> m_rows;
    int m_seriesDefined = 0;  // CompEventSeries when LoadEvent read it; 0 after Clear
    CardEvents* m_events = nullptr;
};

}  // namespace results
