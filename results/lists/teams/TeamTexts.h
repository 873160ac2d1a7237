#pragma once
// How a team competition shows a result, by its ranking rule: hits and
// inner hits "12/7" (rule 4), hunting-field points (6), pistol-field
// hits (7), else whole rings of a result kept in tenths.
#include <string>

namespace results {

std::string TeamResultText(int rule, int result);

}  // namespace results
