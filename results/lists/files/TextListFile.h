#pragma once
// The text list file: per definition its two titles, then a line per body
// row of the non-empty cells separated by ';', every line ending in CR LF.
#include "results/print/ReportModel.h"

#include <string>
#include <vector>

namespace results {

std::string TextListFile(const std::vector<ListDef>& defs);

}  // namespace results
