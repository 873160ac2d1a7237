#include "range/scorecard/ShotLogFile.h"

namespace {

constexpr size_t kMostText = 30;

// The first two columns are 16 wide and always followed by a blank; a text
// too long for them is followed by a whole column of blanks instead.
std::string Padded(const std::string& text)
{
    size_t n = text.size();
    size_t blanks = n < 16 ? 16 - n : n == 16 ? 1 : 16;
    return text + std::string(blanks, ' ');
}

// The time column is 12 wide, right-aligned, with a blank at least before it.
std::string RightAligned(const std::string& text)
{
    size_t n = text.size();
    size_t blanks = n < 12 ? 12 - n : n == 12 ? 1 : 12;
    return std::string(blanks, ' ') + text;
}

}  // namespace

std::string ShotLogLine(const std::vector<ShotLogCell>& cells)
{
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        std::string text = cells[i].text.substr(0, kMostText);
        if (i == 0)
            line += Padded(text);
        else if (i == 1)
            line += "\t" + Padded(text);
        else if (cells[i].kind == kCardTime)
            line += "\t" + RightAligned(text);
        else
            line += "\t" + text;
    }
    return line + "\r\n";
}

std::string ShotLogText(const ScoreCard& card, const CardCells& cells, const std::vector<int>& kinds)
{
    std::string file;
    for (int row = 0; row < card.RowCount(); ++row) {
        std::vector<ShotLogCell> line;
        for (size_t column = 1; column < kinds.size(); ++column)
            line.push_back({kinds[column], cells.Text(card, row, kinds[column])});
        file += ShotLogLine(line);
    }
    return file;
}
