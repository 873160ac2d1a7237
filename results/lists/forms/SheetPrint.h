#pragma once
// Printing straight onto paper, without the report engine's page layout:
// pre-printed giro forms and label sheets, where every text has its fixed
// place on the sheet. Positions are tenths of a millimetre from the paper's
// top-left corner, whatever part of the sheet the printer reaches: the
// printer's physical offsets are taken off, so a form comes out the same on
// a printer whose printable area starts 3 mm from the edge and on one where
// it starts at 5 mm.
#include "results/print/ListPrintJob.h"

#include <functional>
#include <string>

namespace results {

// Where the printable area starts on the sheet, in 0.1 mm: the device's
// physical offsets in hundredths of a millimetre, divided by ten with the
// remainder dropped.
struct SheetOffsets {
    int x = 0;
    int y = 0;
};
SheetOffsets SheetOffsetsOf(const platform::DeviceCaps& caps);

// One text of a sheet: its bottom edge on y, starting at x (or ending there
// when right aligned), both from the paper's top-left corner in 0.1 mm.
struct SheetText {
    std::string text;  // Windows-1252
    int x = 0;
    int y = 0;
    bool rightAligned = false;
};

// A printout of a fixed number of sheets, each drawn by the caller. It is
// a print job like every list's: the print dialog through the prompter (or
// a target of the caller's), the document, its pages and the program's
// events between them. Each page starts in 0.1 mm units with y upwards, Arial
// 12 points, text aligned on its bottom edge, transparent background.
class CSheetPrintJob : public CPrintJob {
public:
    using DrawPage = std::function<void(CSheetPrintJob& job, platform::DrawSurface& dc, int page)>;

    // pages may be 0: the document is started and ended with nothing on it.
    CSheetPrintJob(std::string documentName, int pages, DrawPage drawPage);

    // On target without a dialog when given, else on the printer the print
    // dialog chooses. false when nothing was printed because the dialog was
    // cancelled or no printer could be had.
    bool Run(platform::DrawTarget* target);

    // Logical coordinates of a point of the sheet on the page being drawn.
    platform::Point At(int x, int y) const { return {x - m_offsets.x, m_offsets.y - y}; }
    // Writes a text of the sheet; with a clip (sheet coordinates, clipRight
    // > clipLeft) only what falls between its edges shows.
    void Write(platform::DrawSurface& dc, const SheetText& text) const;
    void WriteClipped(platform::DrawSurface& dc, const SheetText& text, int clipLeft, int clipTop, int clipRight,
                      int clipBottom) const;

    void OnBeginPrinting(platform::DrawSurface& dc, PrintInfo& info) override;
    void OnPrint(platform::DrawSurface& dc, PrintInfo& info) override;

private:
    int m_pages;
    DrawPage m_drawPage;
    SheetOffsets m_offsets;
    bool m_printed = false;
};

}  // namespace results
