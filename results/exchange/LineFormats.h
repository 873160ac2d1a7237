#pragma once
// The two line formats results arrive in besides the range control's result
// files: the Q-NET line file of a relay (a line per target, a character per
// shot) and the KME system's result file (a line per shooter, fields
// separated by ';', a field per series). Both readers take bytes from
// outside and turn them into shots for the cards; nothing here opens a file.
#include <string>
#include <string_view>
#include <vector>

namespace results {

// --- Q-NET ---

// The event's series as a Q-NET line is laid out by them.
struct QnetLayout {
    std::vector<int> shots;  // shots of series 1.., 0 for a series without shots
    std::vector<int> types;  // value system of series 1..
    bool hitSeries = false;  // EventResultType 7: a group of five characters per series
};

// One shot of a line, as typed text in the value system of its series: one
// character, or two for the hit layout's value of the last series; empty
// for no shot.
struct QnetShot {
    int series;
    int shot;
    std::string text;
};

struct QnetLine {
    int target = 0;
    int seriesRead = 0;  // series the line delivered
    std::vector<QnetShot> shots;
};

// Lines end at CR or LF; empty lines are dropped.
std::vector<std::string_view> SplitQnetLines(std::string_view bytes);

// A line longer than four characters: the target in the first two, two more
// characters, then the shots from position 4. False for a shorter line or
// one whose first two characters are not a target number.
bool ReadQnetLine(std::string_view line, const QnetLayout& layout, QnetLine& out);

// --- KME ---

// The fields of the lines of a KME result file. Fields end at ';'. A CR or
// LF followed by another CR or LF ends the current field; a single one ends
// the line and drops the field not yet ended, so "a;b;c\r\n" is a, b, c.
// Text after the last line end is left out (it may be half written);
// unfinished tells whether there was any.
std::vector<std::vector<std::string>> SplitKmeLines(std::string_view bytes, bool* unfinished = nullptr);

// Field positions of a KME line, from 0.
inline constexpr int kKmeId = 0;
inline constexpr int kKmeRelay = 1;
inline constexpr int kKmeTarget = 2;
inline constexpr int kKmeFirstSeries = 8;
// The KME system numbers a final's relays from 1000 up.
inline constexpr int kKmeFinalRelays = 1000;

// A KME shot character as a value in tenths: 'B' or 'b' a miss, 'X' or 'x'
// a ten (100), '*' an inner ten (110), a digit d the ring d; else 0.
int KmeShotValue(char c);

// A whole number field; false when the field is not one.
bool KmeNumber(std::string_view field, long& value);

}  // namespace results
