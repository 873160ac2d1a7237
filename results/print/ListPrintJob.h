#pragma once
// CPrintJob, the print job every printed list of BVRes is, on the kit's
// printer job (platform::PrintJob) that it drives. It owns its print settings
// and runs a printout by itself: printer and copies asked through the
// prompter (there is no page range: a list prints until it is complete), the
// document and its pages on the chosen printer or PDF file, the program's
// events kept flowing between pages. Or it shows its pages in a preview
// window of its own, which stands in for the main window while it is open.
//
// What is on the pages is the business of the class that derives from it
// (the report engine, Report.h), through the virtual steps below; the job
// calls them in this order for a printout:
//
//   OnPreparePrinting   the print dialog (or a preview instead)
//   OnBeginPrinting     once, with the printer attached
//   OnPrint             once per page, pages 1, 2, ... while the continue
//                       flag stays set; the drawing state is saved around it
//   OnEndPrinting       once, also when the document failed
//
// A preview calls OnBeginPrinting before its first page, OnPrint for every
// page it shows (it may show a page again), and OnEndPrinting when it closes.
#include "foundation/files/BVLog.h"
#include "platform/system/Geometry.h"
#include "platform/ui/draw/DrawSurface.h"
#include "platform/ui/draw/PrintJob.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class PrintPreview;
class PrintSession;
}

namespace results {

// What every step of a printout is told.
struct PrintInfo {
    int minPage = 1;          // the lowest page the dialog offers
    int maxPage = 0xFFFF;     // the highest; the page count once the last page is known
    int fromPage = 1;         // the pages asked for
    int toPage = 0xFFFF;
    int currentPage = 1;      // the page being drawn, from 1
    bool preview = false;     // drawn for the preview window
    bool continuePrinting = true;
    platform::Rect drawRect;  // the printable area, logical units
};

class CPrintJob {
public:
    // No end of pages in the page range: a list prints until its continue
    // flag drops.
    static constexpr int kLastPage = 0xFFFF;

    CPrintJob();
    virtual ~CPrintJob();
    CPrintJob(const CPrintJob&) = delete;
    CPrintJob& operator=(const CPrintJob&) = delete;

    // With noDialog set, true at once; otherwise the print dialog.
    virtual bool OnPreparePrinting(PrintInfo& info, bool noDialog, bool spare);
    virtual void OnBeginPrinting(platform::DrawSurface& dc, PrintInfo& info) {}
    virtual void OnEndPrinting(platform::DrawSurface& dc, PrintInfo& info) {}
    virtual void OnPrint(platform::DrawSurface& dc, PrintInfo& info) {}
    // The print loop on the chosen printer.
    virtual void PrintDocument(PrintInfo& info);
    // Prints (or previews, as the report decides in OnPreparePrinting).
    virtual void Print();

    // Prints on a target of the caller's without a dialog: a tool's PDF
    // file, a benchmark's or a test's recorder. The target is not owned.
    void PrintTo(platform::DrawTarget& target);

    // Opens the preview; with one open already, brings that one forward.
    void PrintPreview();

    // A question a list asks before it is made (through the prompter, with
    // Yes and No): true for Yes.
    static bool AskYesNo(const std::string& text);
    bool PreviewOpen() const { return m_previewOpen; }
    // The preview window, while one is open (for the program and its tests).
    platform::PrintPreview* Preview() const { return m_previewOpen ? m_preview.get() : nullptr; }

    // Asks for printer and copies; false when cancelled or the printer
    // cannot be had (nothing is printed then).
    bool DoPreparePrinting(PrintInfo& info);
    // Tells the printout whether to go on.
    void OnPrepareDC(platform::DrawSurface& dc, PrintInfo* info);
    // Between pages: lets the program's events through; false when the
    // program is to quit, which stops the printout.
    bool AbortProc();

    // Set by a producer when its list is complete; cleared by the report
    // after the last page of a printout.
    uint8_t m_continuePrinting = 0;
    PrintInfo m_printInfo;
    // The document's name in the print queue and in the PDF file.
    std::string m_docName;

protected:
    CBVLog m_log;

    // The whole printable area of the device, in logical units.
    static platform::Rect PrintableArea(const platform::DrawSurface& dc);

private:
    void RenderPreview(platform::DrawTarget& page);
    void EndPreview();

    platform::PrintJob m_printer;
    platform::DrawTarget* m_target = nullptr;
    std::unique_ptr<platform::PrintPreview> m_preview;
    bool m_previewOpen = false;
    bool m_previewBegun = false;
    platform::PrintSession* m_session = nullptr;
};

}  // namespace results
