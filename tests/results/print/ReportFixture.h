#pragma once
// Reports for the engine's tests: synthetic definitions in the page frame,
// a report that keeps what it laid out before the end of printing empties
// it, and the texts of a recorded printout page by page.
#include "platform/system/Codepage.h"
#include "platform/ui/draw/DrawRecorder.h"
#include "results/print/PageFrame.h"
#include "results/print/Report.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace reporttest {

using namespace results;

// A report that keeps its pages and measured definitions past the end of
// the printout, and counts the steps the print job took.
class KeptReport : public CReport {
public:
    std::vector<ReportPage> pagesSeen;
    std::vector<ListDef> defsSeen;
    int begun = 0;
    int ended = 0;

    void OnBeginPrinting(platform::DrawSurface& dc, PrintInfo& info) override
    {
        ++begun;
        CReport::OnBeginPrinting(dc, info);
    }
    void OnEndPrinting(platform::DrawSurface& dc, PrintInfo& info) override
    {
        ++ended;
        pagesSeen = m_pages;
        defsSeen = aListDef;
        CReport::OnEndPrinting(dc, info);
    }
};

// The text of body row i, line l of definition d: one word, found again in
// a PDF file.
inline std::string RowText(int d, int i, int l)
{
    char text[32];
    std::snprintf(text, sizeof text, "D%dR%04dL%d", d, i, l);
    return text;
}

struct SyntheticDef {
    int rows = 20;
    int lines = 3;
    uint16_t compactStyle = 0;  // the style of rows 9 on
    int captions = 0;
    int pointSize = 10;
};

// Definition d in the page frame: per body line a name column (70 %) and a
// right-aligned number column (30 %), header and footer texts of its own,
// or the competition's when a frame is given.
inline void AddSyntheticDef(CReport& report, int d, const SyntheticDef& shape, CPageFrame* frame = nullptr)
{
    if (static_cast<int>(report.aListDef.size()) < d)
        report.aListDef.resize(static_cast<size_t>(d));
    ListDef& def = report.Def(d);
    CPageFrame::SetupHeader(def, shape.captions);
    CPageFrame::SetupFooter(def);
    CPageFrame::SetupBody(def, 2 * shape.lines, shape.pointSize);
    for (int c = 0; c < 2 * shape.lines; ++c) {
        ReportColumn& column = def.bodyColumns[static_cast<size_t>(c)];
        column.line = c / 2 + 1;
        bool number = c % 2 == 1;
        column.widthPercent = number ? 30 : 70;
        column.align = number ? kAlignRight : kAlignLeft;
        column.fitChars = number ? 6 : 20;
    }
    def.bodyLines.assign(static_cast<size_t>(shape.lines), ReportLine());
    for (int l = 1; l <= shape.lines; ++l)
        Nth(def.bodyLines, l).firstColumn = 2 * l - 1;

    if (frame != nullptr) {
        frame->BuildPageHeader(report, "Tittel" + std::to_string(d), "Klasse" + std::to_string(d), d, shape.captions);
    } else {
        std::vector<ReportCell> header(static_cast<size_t>(shape.captions) + 6);
        header[0].text = "Stevne" + std::to_string(d);
        header[1].text = platform::Ansi("Arrangør:Skytterlaget");
        header[2].text = "1.mai";
        header[4].text = "Tittel" + std::to_string(d);
        header[5].text = "Klasse" + std::to_string(d);
        for (int k = 0; k < shape.captions; ++k)
            header[static_cast<size_t>(6 + k)].text = "K" + std::to_string(k + 7);
        report.AddHeaderRow(header, d);
        report.AddFooterRow({{"Sponsor" + std::to_string(d)}, {"Bank" + std::to_string(d)}, {"12:00 - 01.05"},
                             {"www.brevandi.no"}},
                            d);
    }

    std::vector<ReportCell> cells(static_cast<size_t>(2 * shape.lines));
    for (int i = 1; i <= shape.rows; ++i) {
        for (int l = 1; l <= shape.lines; ++l) {
            cells[static_cast<size_t>(2 * l - 2)].text = RowText(d, i, l);
            cells[static_cast<size_t>(2 * l - 1)].text = std::to_string(i) + "." + std::to_string(l);
        }
        report.AddRow(cells, d, i >= 9 ? shape.compactStyle : 0);
    }
}

// Where each recorded DrawText text went: page and rectangle.
struct Placed {
    int page = 0;
    platform::Rect rect;
    platform::DrawFont font;
};

inline std::multimap<std::string, Placed> TextsOf(const platform::DrawRecorder& recorder)
{
    std::multimap<std::string, Placed> texts;
    for (const platform::DrawCall& call : recorder.Calls())
        if (call.name == "DrawText")
            texts.insert({call.text, {recorder.PageOf(&call), {call.args[0], call.args[1], call.args[2], call.args[3]}, call.font}});
    return texts;
}

}  // namespace reporttest
