#pragma once
// A cell's text as each list file format must carry it. The model's texts
// are Windows-1252 and may hold anything a user typed: the characters a
// format gives a meaning of its own are escaped, line breaks become the
// format's, other control characters a blank.
#include "results/print/ReportModel.h"

#include <string>
#include <string_view>

namespace results {

// RTF: '\', '{' and '}' escaped, line breaks "\par ", tabs "\tab ".
std::string RtfText(std::string_view text);
// HTML: '<', '>', '&' and '"' as entities, line breaks "<br>"; a cell with a
// link becomes an anchor to it.
std::string HtmlText(std::string_view text);
std::string HtmlCell(const ReportCell& cell);
// Text files: line breaks become a blank.
std::string PlainText(std::string_view text);

// A link target as an HTML attribute value: the text in UTF-8, every byte
// that cannot stand in a URL percent-encoded, '&' as an entity.
std::string LinkTarget(std::string_view target);

}  // namespace results
