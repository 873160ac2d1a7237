#pragma once
// The score card's list as a text file (SHOTLOG.TXT): a line per row with the
// texts of the list's columns after the check box, in the columns' fixed
// widths, ended by CR LF, in Windows-1252 as the texts are.
#include "range/scorecard/CardColumns.h"

#include <string>
#include <vector>

// One row: the texts of list columns 1 to the last, with their kinds.
struct ShotLogCell {
    int kind = 0;
    std::string text;
};
std::string ShotLogLine(const std::vector<ShotLogCell>& cells);

// The whole file: every row in list order, by the columns of `kinds` (the
// list's, the check box first).
std::string ShotLogText(const ScoreCard& card, const CardCells& cells, const std::vector<int>& kinds);
