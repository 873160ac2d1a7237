#pragma once
// One shooting card as the card printer takes it: the shooter, the target,
// up to 39 series with their sums, and up to 250 shots.
//
// Every program fills the same structure. The range control and the remote
// program count in hundredths of a ring, as the shot store does, and write
// the fields directly. The results program counts in tenths and has value
// systems of its own; it fills a card only through the ...Tenths members
// below, which turn its units into the card's at the edge. Whatever fills a
// card, the printer reads hundredths and the range control's value systems.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct PrintShot {
    uint8_t series = 0;      // series slot 1..39 of the card; 0 marks an empty entry
    uint8_t number = 0;      // number of the shot in its series (the run number on running targets)
    // Carried for the programs that fill and read cards; the printer does not
    // draw them. notCounted is 1 for a shot the target did not count; run is
    // the target's run counter, with 0x80 added for a shot turned away.
    uint8_t notCounted = 0;
    uint8_t run = 0;
    int16_t value = 255;     // hundredths of a ring with the value codes; 1300 and above: no value
    double x = 0;            // mm, positive to the right
    double y = 0;            // mm, positive upwards
    int32_t time = 0;        // hundredths of a second
};

struct PrintCard {
    static constexpr int kSeriesSlots = 40;  // series 1..39 are printed; slot 0 is never used
    static constexpr int kFirstSeries = 1;
    static constexpr int kLastSeries = 39;
    static constexpr int kShots = 250;
    static constexpr size_t kTextSize = 32;
    static constexpr size_t kCommentSize = 248;
    static constexpr int kNoValue = 1300;    // values from here on are neither drawn nor listed
    static constexpr int kLastPrintedValue = kNoValue - 1;

    int32_t lane = 0;
    uint16_t relay = 0;      // the start number when the printer's start-number mode is on
    char name[kTextSize] = {};
    char club[kTextSize] = {};
    char cls[kTextSize] = {};
    char category[kTextSize] = {};
    uint8_t targetType = 0;  // TargetTypeCode of the card
    double bulletRadius = 0; // mm
    // Shots were shot at the simulated distance on a face made for the actual
    // one: with both above 0 every coordinate is taken times numerator /
    // denominator (simulated / actual distance).
    int32_t scaleDenominator = -1;
    int32_t scaleNumerator = -1;
    // Not read by the printer; equipment is the range's kind of targets
    // (1 turning targets, 2 running targets).
    int32_t reserved = 0;
    int32_t equipment = 0;
    // Hundredths: the total before the first series; the running totals of
    // the series carry it.
    int32_t startScore = 0;

    // Per series slot. The value system is the range control's code (6 two
    // decimals, 3 the "11" system); seriesTarget is the slot's own
    // TargetTypeCode, -1 for the card's. matchSeries 0 marks a series that
    // does not count towards the result (the results program sets it to 1 on
    // every slot and calls it the print flag).
    uint8_t valueSystem[kSeriesSlots] = {};
    int32_t shotCount[kSeriesSlots] = {};
    int32_t seriesSum[kSeriesSlots] = {};     // hundredths
    int32_t runningTotal[kSeriesSlots] = {};  // hundredths
    int32_t seriesTarget[kSeriesSlots] = {};
    char seriesName[kSeriesSlots][kTextSize] = {};
    uint8_t matchSeries[kSeriesSlots] = {};

    // Totals over the slots: sum of the series sums (hundredths) and of their shots.
    int32_t totalSum = 0;
    int32_t totalShots = 0;

    PrintShot shots[kShots];
    int32_t shotEntries = 0;  // entries taken by AddShot and SetShot (the highest used + 1)

    uint8_t showTimes = 0;    // series tables show the shot times instead of the shot numbers
    PrintCard* next = nullptr;
    int32_t resultState = 0;  // 0 none, 1 DNF, 2 DNS, 3 DSQ, 4 NOE
    char comment[kCommentSize] = {};  // lines separated by CR LF; may fill the field without a NUL
    int16_t reserved2 = 0;

    PrintCard() { Clear(); }

    // All fields 0 or empty, except the scale pair -1, every slot's own
    // target -1, and every shot empty with the value 255.
    void Clear();

    static void SetText(char (&field)[kTextSize], std::string_view text);
    void SetComment(std::string_view text);
    // The comment as far as its field goes, terminator or not.
    std::string Comment() const;

    // A slot number the printer draws: 1..39.
    static bool IsSeries(int slot) { return slot >= kFirstSeries && slot <= kLastSeries; }
    bool InUse(int slot) const { return IsSeries(slot) && shotCount[slot] != 0; }
    // The slot's own target type, or the card's.
    int SeriesTargetType(int slot) const;
    // numerator / denominator when both are above 0, else 1.
    double Ratio() const;
    // A shot the printer draws and lists for the slot.
    bool Counts(const PrintShot& shot, int slot) const
    {
        return slot != 0 && shot.series == slot && shot.value <= kLastPrintedValue;
    }

    // Appends a shot in hundredths; its index, or -1 when the card already
    // holds its 250 shots or the slot is not 1..39 (nothing is stored then).
    int AddShot(int slot, int number, int value, double x, double y, int time);

    // Running totals from the start score over slots 1..39, the sum total
    // and the shot total: what a caller does after filling sums and counts.
    void SumUp();

    // --- The results program's edge: tenths and its own value systems ---
    // The start score in tenths of a ring.
    void SetStartScoreTenths(int tenths);
    // Series slot 1..39 with the results program's value system (0..11) and
    // its sum in tenths; false for another slot.
    bool SetSeriesTenths(int slot, int resultsValueSystem, int sumTenths);
    // Shot entry k (1..250) from a results card's value byte (tenths; 255 no
    // shot). A byte of 130 or more stores only the value, which is then not
    // printed. false for k outside 1..250.
    bool SetShotTenths(int k, int valueByte, int slot, int number, double x, double y, int time);
    // The card's value system for a results program value system: its "1-11"
    // system prints like the range's "11" system, every other one with one
    // decimal.
    static uint8_t ValueSystemOfResults(int resultsValueSystem);
};
