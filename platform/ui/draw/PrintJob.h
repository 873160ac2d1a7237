#pragma once
// Printing: the print dialog (through the prompter) or the default printer,
// and the printer as a drawing target with its documents and pages. A PDF
// file can stand in for the printer: that is how tests see what was printed.
#include "platform/ui/draw/DrawTarget.h"
#include "platform/ui/Prompter.h"

#include <QPainter>

#include <memory>
#include <string>

class QPrinter;

namespace platform {

// A printer's page (or a PDF file's) as a drawing target. The device's
// origin is the corner of the printable area, as on every printer.
class PrintTarget : public DrawTarget {
public:
    // Prints on printer, which is not owned. pdfPath: the system path of
    // the PDF file printer writes, or empty for a real printer (or a print
    // preview).
    explicit PrintTarget(QPrinter* printer, std::string pdfPath = {});
    ~PrintTarget() override;

    DeviceCaps Caps() const override;
    QPainter* Painter() override;
    bool IsRaster() const override { return false; }

    // A PDF file is written beside its name and takes it only when the
    // document ends, so nobody sees half a printout; an aborted document
    // leaves no file. A document without pages prints nothing.
    int StartDoc(const std::string& documentName) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    int AbortDoc() override;
    void SetAbortProc(std::function<bool()> proc) override;

    int PagesPrinted() const { return m_pages; }

private:
    void Discard();

    QPrinter* m_printer;
    std::string m_pdfPath;
    std::string m_tempPath;
    QPainter m_painter;
    std::function<bool()> m_abortProc;
    bool m_inDoc = false;
    bool m_inPage = false;
    int m_pages = 0;
};

// The paper of a PDF file that stands in for a printer. The margins are the
// part of the sheet a printer could not print on: the device's physical
// offsets.
struct PdfPage {
    int dotsPerInch = 600;
    bool landscape = false;
    double leftMm = 0;
    double topMm = 0;
    double rightMm = 0;
    double bottomMm = 0;
};

class PrintJob {
public:
    PrintJob();
    ~PrintJob();  // an unfinished document is aborted
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // The print dialog: the prompter (the one in use unless another is
    // given) is asked for printer and copies, starting from the default
    // printer. false when the user cancels or the chosen printer cannot be
    // reached. A choice with a PDF path prints into that file on A4.
    bool ChoosePrinter(Prompter& prompter = CurrentPrompter());
    // Whether the last ChoosePrinter failed because the user cancelled the
    // question, rather than because the chosen printer could not be reached.
    bool Cancelled() const { return m_cancelled; }
    // The default printer's settings without asking; false when the machine
    // has no printer.
    bool UseDefaultPrinter();
    // Prints into a PDF file (a system path) instead of a printer.
    bool UsePdfFile(const std::string& systemPath, const PdfPage& page = {});

    bool HasPrinter() const { return m_target != nullptr; }
    // The printer to attach to a surface; nullptr before a printer is chosen.
    PrintTarget* Target() { return m_target.get(); }
    const PrinterChoice& Choice() const { return m_choice; }

private:
    bool UsePrinter(const std::string& name);

    PrinterChoice m_choice;
    bool m_cancelled = false;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<PrintTarget> m_target;
};

}  // namespace platform
