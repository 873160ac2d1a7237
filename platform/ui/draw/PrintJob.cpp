#include "platform/ui/draw/PrintJob.h"

#include "platform/ui/draw/DefaultPrinter.h"

#include "platform/files/FileSystem.h"
#include "platform/files/NativeFile.h"
#include "platform/files/SystemPath.h"
#include "platform/ui/UiText.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

// ---- the printer as a drawing target ----------------------------------------

PrintTarget::PrintTarget(QPrinter* printer, std::string pdfPath) : m_printer(printer), m_pdfPath(std::move(pdfPath)) {}

PrintTarget::~PrintTarget()
{
    if (m_inDoc)
        AbortDoc();
}

DeviceCaps PrintTarget::Caps() const
{
    return m_printer == nullptr ? DeviceCaps() : CapsOf(*m_printer);
}

QPainter* PrintTarget::Painter()
{
    return m_inPage ? &m_painter : nullptr;
}

int PrintTarget::StartDoc(const std::string& documentName)
{
    if (m_printer == nullptr || m_inDoc)
        return -1;
    m_printer->setDocName(ToQt(documentName));
    if (!m_pdfPath.empty()) {
        std::string folder = FolderOf(m_pdfPath);
        m_tempPath = MakeTempFile(folder.empty() ? "." : folder, "~bv");
        if (m_tempPath.empty())
            return -1;
        m_printer->setOutputFileName(QString::fromStdString(NativePath(m_tempPath)));
    }
    m_inDoc = true;
    m_inPage = false;
    m_pages = 0;
    return 1;
}

int PrintTarget::StartPage()
{
    if (!m_inDoc || m_inPage)
        return -1;
    // The printer's first page comes with the start of its output, which
    // waits for the first page so that a document without pages prints
    // nothing at all.
    if (!m_painter.isActive()) {
        if (!m_painter.begin(m_printer))
            return -1;
    } else if (!m_printer->newPage()) {
        return -1;
    }
    m_inPage = true;
    ++m_pages;
    return 1;
}

int PrintTarget::EndPage()
{
    if (!m_inPage)
        return -1;
    m_inPage = false;
    if (m_abortProc && !m_abortProc()) {
        AbortDoc();
        return -1;
    }
    return 1;
}

int PrintTarget::EndDoc()
{
    if (!m_inDoc)
        return -1;
    m_inDoc = m_inPage = false;
    bool written = true;
    if (m_painter.isActive())
        written = m_painter.end();
    if (m_pdfPath.empty())
        return written ? 1 : -1;
    if (!written || m_pages == 0) {
        Discard();
        return written ? 1 : -1;
    }
    NativeFile file;
    int rc = file.OpenExisting(m_tempPath, NativeFile::Access::ReadWrite);
    if (rc == 0)
        rc = file.Sync();
    file.Close();
    if (rc == 0)
        rc = ReplaceFile(m_tempPath, m_pdfPath);
    if (rc != 0) {
        Discard();
        return -1;
    }
    std::string folder = FolderOf(m_pdfPath);
    SyncFolder(folder.empty() ? "." : folder);
    m_tempPath.clear();
    return 1;
}

int PrintTarget::AbortDoc()
{
    if (!m_inDoc)
        return -1;
    m_inDoc = m_inPage = false;
    if (m_painter.isActive()) {
        m_printer->abort();
        m_painter.end();
    }
    Discard();
    return 1;
}

void PrintTarget::SetAbortProc(std::function<bool()> proc)
{
    m_abortProc = std::move(proc);
}

void PrintTarget::Discard()
{
    if (!m_tempPath.empty())
        RemoveFile(m_tempPath);
    m_tempPath.clear();
}

// ---- the job ------------------------------------------------------------------

PrintJob::PrintJob() = default;

PrintJob::~PrintJob()
{
    m_target.reset();
    m_printer.reset();
}

bool PrintJob::ChoosePrinter(Prompter& prompter)
{
    m_target.reset();
    m_printer.reset();
    PrinterChoice choice;
    choice.printerName = FromQt(QPrinterInfo::defaultPrinterName());
    m_cancelled = !prompter.ChoosePrinter(choice);
    if (m_cancelled)
        return false;
    m_choice = choice;
    if (!choice.pdfPath.empty()) {
        PdfPage page;
        page.landscape = choice.landscape;
        std::string path = choice.pdfPath;
        bool ok = UsePdfFile(path, page);
        m_choice = choice;
        return ok;
    }
    return UsePrinter(choice.printerName);
}

bool PrintJob::UseDefaultPrinter()
{
    m_choice = PrinterChoice();
    return UsePrinter({});
}

bool PrintJob::UsePrinter(const std::string& name)
{
    m_target.reset();
    m_printer.reset();
    QPrinterInfo info = name.empty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(ToQt(name));
    if (info.isNull())
        return false;
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    m_printer->setCopyCount(std::max(1, m_choice.copies));
    m_printer->setPageOrientation(m_choice.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    m_printer->setFullPage(false);
    m_target = std::make_unique<PrintTarget>(m_printer.get());
    m_choice.printerName = FromQt(info.printerName());
    return true;
}

bool PrintJob::UsePdfFile(const std::string& systemPath, const PdfPage& page)
{
    m_target.reset();
    m_printer.reset();
    if (systemPath.empty())
        return false;
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setResolution(page.dotsPerInch > 0 ? page.dotsPerInch : 600);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    m_printer->setPageMargins(QMarginsF(page.leftMm, page.topMm, page.rightMm, page.bottomMm), QPageLayout::Millimeter);
    m_printer->setFullPage(false);
    m_target = std::make_unique<PrintTarget>(m_printer.get(), systemPath);
    m_choice = PrinterChoice();
    m_choice.pdfPath = systemPath;
    m_choice.landscape = page.landscape;
    return true;
}

}  // namespace platform
