#pragma once
// A class's or sub-sum's Def text as a list of numbers, the way the program
// exchange file writes it: "1 0 1 " (each value and one blank) for series
// 1, 2, 3. The store keeps the value of series p at character p - 1, plus
// 32; these two follow that layout, so a list read in and written out again
// is the same list.
#include <string>
#include <string_view>

namespace ProgramDef {

// The stored text as a list: for series 1 to `positions`, as long as the
// text has a character there, that character - 32 and a blank.
std::string ToList(std::string_view def, int positions);

// A list as the stored text: the numbers in order up to the first empty
// one, at most 20, each + 32. A number outside 0..maxValue is taken as 0,
// so no value can end the stored text early or fill it with bytes the
// programs do not expect.
std::string FromList(std::string_view list, int maxValue);

}  // namespace ProgramDef
