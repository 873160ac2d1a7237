#pragma once
// The columns of the score card's shot list: which columns each detail level
// shows, their headers, sample texts and alignment, and the text and colour
// of every cell, all as functions of the card, the row and the settings. The
// list draws what these give, and the shot log file writes the same texts.
#include "range/scorecard/ScoreCard.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

// What a column shows.
enum CardColumnKind : int {
    kCardSeries = 1,       // ordinal in the fired series and the series name
    kCardCounting = 2,     // ordinal in the counting series and its name
    kCardValue = 3,
    kCardSensors = 4,
    kCardTemperature = 5,
    kCardX = 6,
    kCardY = 7,
    kCardRadius = 8,
    kCardBand = 9,         // only on ranges with a motor
    kCardHardware = 10,
    kCardTime = 11,        // turn time, run number or time of the shot
    kCardDate = 12,
    kCardStatus = 13,
    kCardCheck = 14,       // check box: counts in the selected series
};

struct CardColumn {
    int kind = 0;
    const char* headerKey = nullptr;  // nullptr: the header is two blanks
    const char* sample = "";          // the widest text expected
    bool leftAligned = false;
};

// Detail levels 0 (the few), 1 and 2 (everything).
std::vector<int> CardColumnKinds(int detail, bool motor);
// A column of the kind; the time column's header and sample depend on the
// range's equipment (1 turning targets, 2 running targets).
CardColumn CardColumnOf(int kind, int equipment);

enum class CardColour { WindowText, Red, Green, Blue };
// As red, green, blue: 0xRRGGBB.
uint32_t CardColourRgb(CardColour colour);

// What the cells are read against besides the card.
struct CardCellSettings {
    int equipment = 0;          // the range's (1,1,1): 1 turning targets, 2 running targets
    int programEquipment = 0;   // the program's; 129 turning targets with run counters
    double distanceScale = 1.0; // simulated distance / actual distance
    std::string separator = ",";
    int selectedSeries = 0;     // of the series list; 128 the out entry
    std::array<std::string, CDataComp::kMaxSeries> seriesNames;
};

class CardCells {
public:
    // values: the value texts (with its separator) and the sensor ratings;
    // text: a language text by key.
    CardCells(const CDataComp& values, std::function<std::string(const char*)> text);

    CardCellSettings settings;

    std::string Text(const ScoreCard& card, int row, int kind) const;
    CardColour Colour(const ScoreCard& card, int row, int kind) const;
    std::string Status(const ScoreCard& card, int row) const;

private:
    bool Turning() const { return settings.equipment == 1; }
    std::string SeriesName(int series) const;
    int Rating(const ScoreCard& card, int row) const;
    std::string TimeText(const ScoreCard& card, int row) const;

    const CDataComp& m_values;
    std::function<std::string(const char*)> m_text;
};
