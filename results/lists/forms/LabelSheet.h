#pragma once
// Where the address labels sit on a sheet of 21 (three across, seven down),
// in 0.1 mm from the paper's top-left corner.
namespace results {

struct LabelPlace {
    int page = 1;    // from 1
    int column = 1;  // 1 to 3
    int row = 1;     // 1 to 7
    int Left() const { return 660 * column - 560; }
    int Top() const { return 380 * row - 230; }
};

inline constexpr int kLabelsAcross = 3;
inline constexpr int kLabelsDown = 7;
inline constexpr int kLabelsPerSheet = kLabelsAcross * kLabelsDown;
inline constexpr int kLabelWidth = 600;     // the text is cut at the label's right edge
inline constexpr int kLabelLineStep = 60;   // each line's bottom, 6 mm below the one before
inline constexpr int kLabelLines = 4;

// Label n (from 0): the sheets fill row by row, left to right.
inline LabelPlace LabelPlaceOf(int n)
{
    const int onSheet = n % kLabelsPerSheet;
    return {n / kLabelsPerSheet + 1, onSheet % kLabelsAcross + 1, onSheet / kLabelsAcross + 1};
}

// The sheets n labels take. A full last sheet is not followed by an empty
// one; without labels there is one empty sheet.
inline int LabelSheets(int labels)
{
    return labels <= 0 ? 1 : (labels + kLabelsPerSheet - 1) / kLabelsPerSheet;
}

}  // namespace results
