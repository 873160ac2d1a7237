#pragma once
// The twelve value systems of a series (its EventSeriesType, 0..11), on bare
// value bytes: how a shot is shown, what it counts, how wide its texts are,
// how a series is summed and how a typed text becomes a value. The card
// object asks these; nothing here needs a card or a file.
//
// A value byte of 120 or more is no shot for counting; 255 is the stored
// "no shot". Types 0..3 hold tenths of a ring (100..109 a ten, 110..119 an
// inner ten with its tenths), 4 and 5 rings up to five (110..119 the inner
// five), 6 tenths counted as whole rings, 7 and 8 hit counts, 9 a time
// (seconds in shot 1, hundredths in shot 3), 10 and 11 whole numbers.
#include <cstdint>
#include <string>

namespace results::values {

inline constexpr int kTypeCount = 12;
inline constexpr uint8_t kNoShot = 255;
inline constexpr int kFirstAbsent = 120;  // values from here on are no shot

// Result codes of a typed entry; they may be combined with OR.
inline constexpr int kEntryBadText = -512;      // not a value of the series
inline constexpr int kEntryOutOfRange = -1024;  // 120..254
inline constexpr int kEntryRefused = -1280;     // not allowed in the value system

constexpr bool IsHitType(int type) { return type == 7 || type == 8; }
constexpr bool IsSpecialType(int type) { return type >= 7 && type <= 11; }  // hits, time, numbers
constexpr bool IsRingType(int type) { return type >= 0 && type < 7; }

// The shot's text; h is the value of shot 3 of a time series (its hundredths).
// orgType is the competition's organisation type (CompOrgType).
std::string FormatShot(int type, int value, int h, int orgType);
// The text shown in a list: mode 1 cuts tenths (before the first '.') and
// what follows an inner mark (after the first '*'), except for times; a
// text of no shot is empty in both modes.
std::string ShotText(const std::string& formatted, int type, int mode);
// What the shot counts; final: the event is scored in tenths.
int CountedValue(int type, int value, bool final);
// Characters of a shot text in value mode 1 or 2; 0 above type 11.
int ShotWidth(int type, int mode);
// The series sum from the counted values of shots 1..10 (cv[k-1] of shot k).
int SeriesSum(int type, const int (&cv)[10], int shots);
// Characters of a series sum.
int SeriesWidth(int type, int shots, bool final);
// The sum's text; kind is the ranking kind of the list that shows it.
std::string SeriesSumText(int type, int sum, int kind, bool final, int width);
// The width of a total.
constexpr int SumWidth(bool final) { return final ? 6 : 4; }
// Tenths of a ring from a typed text: 9.5 is 95, 10*3 is 113, 10.9 is 109;
// an empty text is 255 (no shot).
int ParseValue(const std::string& text);

// A typed shot in the value system of its series: the value to store and the
// entry's result code (0 or the codes above). A time gives its seconds in
// value and its hundredths in hundredths; other types leave hundredths 0.
struct Entry {
    int value = kNoShot;
    int hundredths = 0;
    int result = 0;
};
Entry EnterShot(const std::string& text, int type, int orgType);

}  // namespace results::values
