#pragma once
// The shot lists of a range control's result file: [Res] Ser%d with the
// values of one series, X%d, Y%d and T%d with the coordinates and times of
// the same shots, each a list separated by blanks. A series made from them
// is what the import stores on the card.
#include "results/values/ResultRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace results {

// A token the card cannot take, for the log.
struct ListFault {
    char list;          // 'S' (Ser), 'X', 'Y' or 'T'
    int shot;           // 1..
    std::string token;  // as it stood
};

struct SeriesFromLists {
    std::vector<ShotEntry> shots;  // shots 1..count of the series
    int given = 0;                 // values in Ser; the shots after them were not delivered
    std::vector<ListFault> faults;
};

// Splits a list at blanks and tabs; runs of them separate once.
std::vector<std::string_view> SplitList(std::string_view list);

// Shots 1..count of the series: shot m takes the m-th value of ser, which
// is a shot only as a whole number 0..255 (anything else is no shot, 255,
// and a fault), and the m-th items of x, y and t (0 when a list is
// shorter; a fault and 0 when the item is no number or outside 16 bits).
// Shots beyond the values given are no shot with 0 for X, Y and time.
SeriesFromLists ReadSeriesLists(int series, int count, std::string_view ser, std::string_view x, std::string_view y,
                                std::string_view t);

}  // namespace results
