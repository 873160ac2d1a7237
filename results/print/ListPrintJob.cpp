#include "results/print/ListPrintJob.h"

#include "platform/ui/Prompter.h"
#include "platform/ui/draw/PrintPreview.h"
#include "platform/ui/draw/PrintSession.h"
#include "results/data/ResStrings.h"

#include <algorithm>
#include <optional>

namespace results {

CPrintJob::CPrintJob() : m_docName(TextPrintDocumentName()) {}

CPrintJob::~CPrintJob()
{
    // The report that drew the preview is gone by now: the window goes
    // without telling anyone.
    if (m_preview) {
        m_preview->SetClosedAction(nullptr);
        m_preview.reset();
    }
}

bool CPrintJob::OnPreparePrinting(PrintInfo& info, bool noDialog, bool spare)
{
    if (noDialog)
        return true;
    return DoPreparePrinting(info);
}

bool CPrintJob::DoPreparePrinting(PrintInfo& info)
{
    if (info.minPage > info.maxPage)
        info.maxPage = info.minPage;
    info.fromPage = info.minPage;
    info.toPage = info.maxPage;
    // Printer and copies only; a page range the dialog may offer is not
    // taken, the list decides where it ends.
    m_target = nullptr;
    if (!m_printer.ChoosePrinter())
        return false;
    m_target = m_printer.Target();
    return m_target != nullptr;
}

void CPrintJob::Print()
{
    if (OnPreparePrinting(m_printInfo, false, true))
        PrintDocument(m_printInfo);
}

void CPrintJob::PrintTo(platform::DrawTarget& target)
{
    m_target = &target;
    if (OnPreparePrinting(m_printInfo, true, true))
        PrintDocument(m_printInfo);
    m_target = nullptr;
}

platform::Rect CPrintJob::PrintableArea(const platform::DrawSurface& dc)
{
    platform::DeviceCaps caps = dc.GetDeviceCaps();
    platform::Rect area{0, 0, caps.horzRes, caps.vertRes};
    dc.DPtoLP(area);
    return area;
}

void CPrintJob::OnPrepareDC(platform::DrawSurface& dc, PrintInfo* info)
{
    if (info != nullptr)
        info->continuePrinting = m_continuePrinting != 0;
}

bool CPrintJob::AbortProc()
{
    return m_session == nullptr || m_session->Pump();
}

void CPrintJob::PrintDocument(PrintInfo& info)
{
    if (m_target == nullptr)
        return;
    platform::DrawSurface dc;
    dc.Attach(m_target);
    info.preview = false;
    info.drawRect = PrintableArea(dc);
    OnBeginPrinting(dc, info);

    std::optional<platform::PrintSession> session(std::in_place);
    m_session = &*session;
    auto endSession = [&] {
        m_session = nullptr;
        session.reset();
    };

    if (dc.StartDoc(m_docName) <= 0) {
        endSession();
        OnEndPrinting(dc, info);
        dc.Detach();
        m_target = nullptr;
        platform::MessageBox(TextCannotStartPrint(), {}, platform::MessageIcon::Exclamation);
        return;
    }

    info.fromPage = std::clamp(info.fromPage, info.minPage, std::max(info.minPage, info.maxPage));
    info.toPage = std::clamp(info.toPage, info.minPage, std::max(info.minPage, info.maxPage));
    int step = info.toPage >= info.fromPage ? 1 : -1;
    int end = info.toPage == kLastPage ? kLastPage : info.toPage + step;

    bool failed = false;
    for (info.currentPage = info.fromPage; info.currentPage != end; info.currentPage += step) {
        OnPrepareDC(dc, &info);
        if (!info.continuePrinting)
            break;
        info.drawRect = PrintableArea(dc);
        if (dc.StartPage() <= 0) {
            failed = true;
            break;
        }
        OnPrepareDC(dc, &info);
        int saved = dc.SaveDC();
        OnPrint(dc, info);
        if (dc.EndPage() <= 0 || !AbortProc()) {
            failed = true;
            break;
        }
        dc.RestoreDC(saved);
    }

    bool quit = session->QuitRequested();
    bool ended = failed ? (dc.AbortDoc(), false) : dc.EndDoc() > 0;
    endSession();
    OnEndPrinting(dc, info);
    dc.Detach();
    m_target = nullptr;
    // Paper that did not come out (or a PDF file that was not written) is
    // said so; a printout the program's end stopped is not.
    if (!ended && !quit) {
        BV_LOG(m_log, 80, "Printout \"%s\" failed at page %d", m_docName.c_str(), info.currentPage);
        platform::MessageBox(TextPrintFailed(), {}, platform::MessageIcon::Exclamation);
    }
}

// ---- the preview ------------------------------------------------------------

void CPrintJob::PrintPreview()
{
    if (m_previewOpen && m_preview) {
        m_preview->BringToFront();
        return;
    }
    m_preview.reset();
    m_previewBegun = false;
    m_previewOpen = true;
    m_preview = std::make_unique<platform::PrintPreview>([this](platform::DrawTarget& page) { RenderPreview(page); });
    m_preview->SetCaption(TextPreviewCaption());
    m_preview->SetClosedAction([this] { EndPreview(); });
    m_preview->ShowInPlaceOfMainWindow();
    if (m_preview->PageCount() == 0)
        m_preview->Refresh();
}

// The preview asks for every page it shows, from the first, until the page
// count is known (the report sets the highest page after the last one).
void CPrintJob::RenderPreview(platform::DrawTarget& page)
{
    platform::DrawSurface dc;
    dc.Attach(&page);
    PrintInfo& info = m_printInfo;
    info.preview = true;
    info.drawRect = PrintableArea(dc);
    if (!m_previewBegun) {
        m_previewBegun = true;
        OnBeginPrinting(dc, info);
    }
    if (dc.StartDoc(m_docName) <= 0)
        return;
    for (int p = 1; p <= std::min(info.maxPage, kLastPage - 1); ++p) {
        info.currentPage = p;
        OnPrepareDC(dc, &info);
        if (!info.continuePrinting)
            break;
        info.drawRect = PrintableArea(dc);
        if (dc.StartPage() <= 0)
            break;
        int saved = dc.SaveDC();
        OnPrint(dc, info);
        dc.RestoreDC(saved);
        if (dc.EndPage() <= 0)
            break;
    }
    dc.EndDoc();
}

void CPrintJob::EndPreview()
{
    platform::DrawSurface dc;
    OnEndPrinting(dc, m_printInfo);
    m_printInfo.preview = false;
    m_previewOpen = false;
}

bool CPrintJob::AskYesNo(const std::string& text)
{
    return platform::MessageBox(text, {}, platform::MessageIcon::Question, platform::MessageButtons::YesNo) ==
           platform::IDYES;
}

}  // namespace results
