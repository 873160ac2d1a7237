#pragma once
// The RTF list file: A4 portrait with 1 cm margins, each definition a table
// (in a section of its own unless compact), with the printout's page header
// and footer as RTF header and footer groups when asked for. The fixed text
// is the same byte for byte as it has always been, every line ending in
// CR LF; the cells' texts are escaped (CellText.h).
#include "results/print/ReportModel.h"

#include <string>
#include <vector>

namespace results {

struct RtfFileOptions {
    bool header = false;     // the page header group of every definition
    bool footer = false;     // the page footer group
    bool compact = false;    // definitions share one section unless they ask for a page
    bool pressList = false;  // the rows as the press list's running text
};

// The RTF writer keeps its row and cell texts in the model's lines and
// columns while it writes, hence the definitions it changes.
std::string RtfListFile(std::vector<ListDef>& defs, const RtfFileOptions& options);

// Pieces of the RTF document for writers of one definition per file: the
// page header group of header row 1 (with the result lists' caption row
// when captions is set and the definition has one), the page footer group
// of footer row 1, and the body rows from firstRow (from 1) on.
void RtfPageHeader(std::string& out, const ListDef& def, bool captions);
void RtfPageFooter(std::string& out, const ListDef& def);
void RtfBody(std::string& out, ListDef& def, int firstRow);

}  // namespace results
