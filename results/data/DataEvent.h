#pragma once
// One event of the open competition with everything that belongs to it: its
// settings (Event%d.bvc), prize settings (Prize%d.bvc), entries (Reg%d.bvd),
// result file (Res%d.bvd) and ranks (Rank%d.bvd), and the event's own small
// operations on days and relays.
#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"
#include "results/data/DataRank.h"
#include "results/data/DataReg.h"
#include "results/values/DataRes.h"
#include "results/data/EventCards.h"

#include <cstdint>
#include <memory>
#include <string>

namespace results {

class CDataShooter;
class VerifySink;

class CDataEvent {
public:
    static constexpr int16_t kResultRecordSize = 2008;
    static constexpr int16_t kResultVersion = 2;

    CDataEvent();
    virtual ~CDataEvent();
    CDataEvent(const CDataEvent&) = delete;
    CDataEvent& operator=(const CDataEvent&) = delete;

    // The competition's Comp.bvc, where the event's counts and target range
    // are kept, and how the event's card reaches linked events. Set by the
    // competition when it makes the event.
    void Bind(CBVConfig* compSettings, EventCards::Lookup others = {})
    {
        m_comp = compSettings;
        m_cardEvents.Bind(compSettings, std::move(others));
    }

    // Opens the event's files from the competition folder (".\Comp<n>\") in
    // the order the program has always used: settings, results, entries,
    // prizes, ranks.
    void OpenFiles(const std::string& compFolder);
    // Opens the result file once; 0 when open, 1 when not (an older file was
    // converted on this call and opens on the next).
    int OpenResults(const std::string& path);

    int FirstTarget();
    int LastTarget();
    // The first relay index with this relay number; 0 when none.
    int RelayIndex(int relayNumber);
    // The relay's number; label and state for the screens' relay lists. A
    // relay index without number gets an empty label and leaves state as it was.
    int RelayLabel(int relay, std::string& label, int& state);
    // yyyymmdd proposed for a new day: the day after the latest day, or today.
    int NextDayDate();
    // "Mandag 1/1"; a date of 0 or less is today.
    std::string DayLabel(int date);
    // Another entry of the shooter in this event than (relay, target): the
    // event's number with relay and target set to it, or 0.
    int FindOtherEntry(int32_t startNr, int& relay, int& target);
    // Gives every series the type asked for by EventSeriesTypeAll, then clears it.
    void ApplySeriesType();
    // New relay numbers 1.. by day date and start time. Relays without start
    // time or outside the days keep a number too, after the others in relay
    // index order, so that no two relays share a number (and an exchange
    // file). One lock of Event%d.bvc covers it; 0, or negative when the file
    // cannot be locked.
    int RenumberRelays();

    // Used only while events are created: which class sets are offered. The
    // event wizard sets them; an event made any other way has neither.
    uint8_t nationalClasses = 0;
    uint8_t internationalClasses = 0;

    // Event creation, from the built-in templates of the organisation type
    // (orgType) and program kind (kind: the low 7 bits the kind, 0x80 = with
    // a final event). The event wizard calls CreateEvent on a temporary
    // object that the competition does not hold; the frame's refresh makes
    // the real event objects afterwards.
    //
    // Appends event n (and its final n + 1 when the kind has one) to
    // competition `competition`: first day today, first relay at 08:00,
    // default name, classes and categories, series and sub-events, prize
    // lists, series types (one byte per series, the main event's first, then
    // the final's), result type and exchange prefix (exchType 0 none, 1
    // BV2000, 2 Q-NET, 3 Siusdata, 4 KME). holds and extraHolds are the hold
    // and additional precision series of a field pistol event. Returns n and
    // leaves the object numbered as the last event made; negative, with
    // nothing made, when no event number can be drawn.
    int CreateEvent(int competition, int orgType, int kind, int exchType, const std::string& seriesTypes, int holds,
                    int extraHolds);
    static constexpr int kExchangeNone = 0;
    static constexpr int kExchangeKme = 4;
    // MakePrefix's attempt with this bit draws the prefix of a final.
    static constexpr int kFinalTry = 128;
    // The default name of a main (final 0) or final (final 1) event; empty
    // for a kind without one. Windows-1252.
    static std::string EventNameFor(int orgType, int final, int kind);
    // 1 when a class of this name takes part in such an event, else 0.
    int ClassesFor(int orgType, int final, int kind, const std::string& className) const;
    // Writes the series, sub-events and categories of the program into the
    // event's settings; finalIndex is 0 for a main event, else the number of
    // the main event of this final. The number of series; subEvents gets the
    // number of sub-events.
    int BuildProgram(int orgType, int finalIndex, int kind, CBVConfig& eventSettings, int& subEvents, int event,
                     int holds, int extraHolds) const;
    // Fills Prize%d.bvc of the event with the prize lists of the template,
    // keeping every item the template does not name, and leaves it open in
    // this object. Nothing for an event not in use in comp.
    int BuildPrizes(int orgType, int finalIndex, int kind, int event, int competition, CBVConfig& comp);
    // The exchange prefix of a try: 0..9 for a main event, 128 + 0..9 for a
    // final. Empty when the kind has none, or when the try would run past
    // the digit 9 (no free prefix).
    static std::string MakePrefix(int orgType, int attempt, int kind, int exchType);
    // 1 when the kind has a final event, else -1 (kept as the final's start
    // score link).
    static int IsFinalPair(int orgType, int kind);

    // The data check: every mismatch between the event's entries, result
    // cards and settings becomes a row of the sink, relay by relay. Relays
    // numbered above relayLimit are left out; options: kVerifySkipMissing
    // and kVerifySkipPayment. 0, or -1 when no sink is given (nothing is
    // looked at beyond the settings).
    static constexpr int kVerifySkipMissing = 0x1;
    static constexpr int kVerifySkipPayment = 0x2;
    int Verify(int relayLimit, int options, VerifySink* sink, CDataShooter& shooters);

    CBVConfig& Settings() { return m_settings; }
    CBVConfig& Prizes() { return m_prizes; }
    CDataReg& Entries() { return m_entries; }
    CDataRank& Ranks() { return m_ranks; }
    // The event's card object, bound to its own Res%d.bvd.
    CDataRes& Card() { return m_card; }
    CBVFileEx& ResultFile() { return *m_resultFile; }
    bool ResultsOpen() const { return m_resultsOpen != 0; }

    int Number() const { return m_number; }
    void SetNumber(int n) { m_number = n; }

    // The folder last chosen for this event on the external-media screens.
    std::string mediaFolder;

private:
    CBVConfig m_settings;
    CBVConfig m_prizes;
    CDataReg m_entries;
    CDataRank m_ranks;
    int m_number = 0;
    std::unique_ptr<CBVFileEx> m_resultFile;
    uint8_t m_resultsOpen = 0;
    CBVConfig* m_comp = nullptr;
    EventCards m_cardEvents{*this};
    CDataRes m_card{&m_cardEvents};
};

// The calendar day after yyyymmdd (whatever the clocks do that night); 0 for
// a date that is not one.
int NextCalendarDay(int date);

}  // namespace results
