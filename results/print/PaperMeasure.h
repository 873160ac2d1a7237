#pragma once
// What a list producer may ask of the default printer before it lays a
// list out: the printable size of its paper, and how wide a run of "X"
// comes out in Arial there. Lists that size their columns to the paper
// measure here; without a printer the run is measured on an A4 sheet.
// The kit's fonts measure: the program runs its window system.
#include <optional>

namespace results {

struct PaperSize {
    int widthMm = 0;   // printable width
    int heightMm = 0;  // printable height
};

// The default printer's printable area; nullopt when there is no printer.
std::optional<PaperSize> DefaultPaperSize();

// The width in millimetres of `chars` "X" in Arial of `points`, weight 400.
// false (and 0) when the font cannot be made.
bool MeasureXRunMm(int chars, int points, int& widthMm);

}  // namespace results
