// A list model of any cell bytes written in all three list file formats.
// The first bytes shape the model (definitions, columns and their widths
// and lines, captions, file-page flags, the file options); the rest are the
// cells' texts, split at 0xFF. Whatever the cells hold: the RTF document's
// groups balance, every HTML cell holds text and the page's own <br> and
// anchors only, and no format breaks a line where it does not end one.
#include "fuzz/FuzzScratch.h"
#include "results/lists/files/HtmlListFile.h"
#include "results/lists/files/RtfListFile.h"
#include "results/lists/files/TextListFile.h"
#include "results/print/PageFrame.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace results;
using fuzz::Check;

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::string Text()
    {
        std::string text;
        while (m_at < m_size && m_data[m_at] != 0xFF && text.size() < 64)
            text += static_cast<char>(m_data[m_at++]);
        if (m_at < m_size && m_data[m_at] == 0xFF)
            ++m_at;
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

ReportCell Cell(Input& in)
{
    ReportCell cell;
    cell.text = in.Text();
    if (in.Byte() & 1)
        cell.link = in.Text();
    return cell;
}

// The RTF groups open and close in order, and all are closed at the end.
bool Balanced(const std::string& rtf)
{
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\')
            ++i;  // an escaped character, or the first letter of a control word
        else if (c == '{')
            ++depth;
        else if (c == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

// Lines end in CR LF and nowhere else.
bool OnlyWholeLines(const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    }
    return true;
}

// A cell's HTML: text with entities, <br>, and anchors whose target is a
// quoted value without quotes, angle brackets or blanks.
bool PlainHtml(std::string content)
{
    for (size_t at; (at = content.find("<br>")) != std::string::npos;)
        content.erase(at, 4);
    for (size_t at; (at = content.find("</a>")) != std::string::npos;)
        content.erase(at, 4);
    for (size_t at; (at = content.find("<a href=\"")) != std::string::npos;) {
        size_t end = content.find("\">", at + 9);
        if (end == std::string::npos)
            return false;
        for (size_t i = at + 9; i < end; ++i)
            if (std::string("<>\" \t").find(content[i]) != std::string::npos ||
                static_cast<unsigned char>(content[i]) < 0x20)
                return false;
        content.erase(at, end + 2 - at);
    }
    for (size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '<' || c == '>' || c == '"')
            return false;
        if (c == '&') {
            bool entity = false;
            for (const char* e : {"&lt;", "&gt;", "&amp;", "&quot;"})
                entity = entity || content.compare(i, std::string(e).size(), e) == 0;
            if (!entity)
                return false;
        }
    }
    return true;
}

void CheckHtmlCells(const std::string& page)
{
    size_t start = 0;
    while (start < page.size()) {
        size_t end = page.find("\r\n", start);
        if (end == std::string::npos)
            end = page.size();
        const std::string line = page.substr(start, end - start);
        start = end + 2;
        if (line.rfind("<TD WIDTH=", 0) == 0) {
            const std::string tail = "</FONT></TD>";
            size_t open = line.find("><FONT SIZE=\"");
            Check(open != std::string::npos);  // a cell without its font
            open = line.find('>', open + 13);
            Check(open != std::string::npos && line.size() >= tail.size() &&
                  line.compare(line.size() - tail.size(), tail.size(), tail) == 0);  // a cell not closed on its line
            Check(PlainHtml(line.substr(open + 1, line.size() - tail.size() - open - 1)));  // markup in a cell
        } else if (line.rfind("<center><font color=\"red\"><H2><u><b>", 0) == 0) {
            const std::string head = "<center><font color=\"red\"><H2><u><b>";
            const std::string tail = "</b></u></H2></font></center>";
            Check(line.size() >= head.size() + tail.size() &&
                  line.compare(line.size() - tail.size(), tail.size(), tail) == 0);  // a title not closed
            Check(PlainHtml(line.substr(head.size(), line.size() - head.size() - tail.size())));  // markup in a title
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size);
    const uint8_t options = in.Byte();
    const int defs = 1 + in.Byte() % 3;
    std::vector<ListDef> model(static_cast<size_t>(defs));
    for (ListDef& def : model) {
        const uint8_t shape = in.Byte();
        const int captions = shape & 0x3 ? (shape & 1 ? 7 : 9) : 0;
        CPageFrame::SetupHeader(def, captions);
        CPageFrame::SetupFooter(def);
        const int columns = 1 + in.Byte() % 6;
        const int lines = 1 + (shape >> 2) % 3;
        CPageFrame::SetupBody(def, columns, 8 + in.Byte() % 9);
        def.bodyLines.assign(static_cast<size_t>(lines), ReportLine());
        for (int c = 0; c < columns; ++c) {
            ReportColumn& column = def.bodyColumns[static_cast<size_t>(c)];
            column.line = 1 + c * lines / columns;
            column.widthPercent = in.Byte() % 101;  // 0 % too
            column.align = in.Byte() % 3;
            if (def.bodyLines[static_cast<size_t>(column.line) - 1].firstColumn == 0)
                def.bodyLines[static_cast<size_t>(column.line) - 1].firstColumn = c + 1;
            def.bodyLines[static_cast<size_t>(column.line) - 1].underline = (shape & 0x40) != 0;
        }
        def.filePage = (shape & 0x80) != 0;
        ReportRow head, foot;
        for (size_t c = 0; c < def.headerColumns.size(); ++c)
            head.cells.push_back(Cell(in));
        for (size_t c = 0; c < 4; ++c)
            foot.cells.push_back(Cell(in));
        def.headerRows.push_back(head);
        def.footerRows.push_back(foot);
        const int rows = in.Byte() % 6;
        for (int r = 0; r < rows; ++r) {
            ReportRow row;
            row.style = in.Byte();
            const int cells = in.Byte() % (columns + 2);  // short rows too
            for (int c = 0; c < cells; ++c)
                row.cells.push_back(Cell(in));
            def.bodyRows.push_back(row);
        }
    }

    RtfFileOptions rtf;
    rtf.header = options & 1;
    rtf.footer = options & 2;
    rtf.compact = options & 4;
    rtf.pressList = options & 8;
    const std::string document = RtfListFile(model, rtf);
    Check(Balanced(document));         // RTF groups do not balance
    Check(OnlyWholeLines(document));   // a cell broke an RTF line

    const std::string page = HtmlListFile(model, options & 16, 3, "12:00 - 01.01.2026");
    Check(OnlyWholeLines(page));  // a cell broke an HTML line
    CheckHtmlCells(page);

    const std::string text = TextListFile(model);
    Check(OnlyWholeLines(text));  // a cell broke a text line
    size_t lineCount = 0;
    for (const ListDef& def : model)
        lineCount += def.bodyRows.size() + 2;
    size_t ends = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++ends;
    Check(ends == lineCount);  // a row is not one line of the text file
    return 0;
}
