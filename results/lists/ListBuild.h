#pragma once
// Small helpers the producers share to describe their lists.
#include "results/print/ReportModel.h"

#include "platform/system/StringFormat.h"

#include <cstdarg>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace results {

// A row of n cells, the first ones given.
inline std::vector<ReportCell> Cells(size_t n, std::initializer_list<std::string> texts = {})
{
    std::vector<ReportCell> cells(n);
    size_t i = 0;
    for (const std::string& text : texts) {
        if (i == n)
            break;
        cells[i++].text = text;
    }
    return cells;
}

// printf into a string (the platform's, under the name the producers use).
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
inline std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = platform::StringFormatV(format, args);
    va_end(args);
    return text;
}

// The rows a list's variant keeps: 1 the first ten, 2 the first twenty, any
// other all of them.
inline void KeepVariantRows(std::vector<ReportRow>& rows, int variant)
{
    const size_t kept = variant == 1 ? 10 : variant == 2 ? 20 : rows.size();
    if (rows.size() > kept)
        rows.resize(kept);
}

// A body column's look, as the producers' tables give it.
struct ColumnShape {
    int fitChars;
    int align;
    int widthPercent;
};

// Gives the body columns 1.. the looks of the table and puts them all on
// one line, without underline.
inline void OneLineOfColumns(ListDef& def, const ColumnShape* shapes, size_t count)
{
    for (size_t c = 0; c < count && c < def.bodyColumns.size(); ++c) {
        ReportColumn& column = def.bodyColumns[c];
        column.fitChars = shapes[c].fitChars;
        column.align = shapes[c].align;
        column.widthPercent = shapes[c].widthPercent;
    }
    def.bodyLines.assign(1, ReportLine());
    def.bodyLines[0].firstColumn = 1;
    def.bodyLines[0].columnCount = static_cast<int>(def.bodyColumns.size());
}

}  // namespace results
