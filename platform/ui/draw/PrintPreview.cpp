#include "platform/ui/draw/PrintPreview.h"

#include "platform/ui/KitWindow.h"
#include "platform/ui/UiText.h"
#include "platform/ui/draw/DefaultPrinter.h"
#include "platform/ui/draw/PrintJob.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>
#include <QVBoxLayout>

namespace platform {

PrintPreview::PrintPreview(Render render, QWidget* parent) : QWidget(parent), m_render(std::move(render))
{
    // The pages are drawn as on the default printer's paper; the preview
    // never prints on the device itself.
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    std::optional<PrinterDescription> printer = DefaultPrinter();
    if (printer) {
        UseDescribedPaper(*m_printer, printer->caps);
    } else {
        m_printer->setPageSize(QPageSize(QPageSize::A4));
        m_printer->setFullPage(false);
    }
    // Closing the preview is no reason for the program to end, even while
    // it stands in for the main window.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QToolBar(this);
    layout->addWidget(tools);
    m_view = new QPrintPreviewWidget(m_printer.get(), this);
    layout->addWidget(m_view, 1);

    m_printAction = tools->addAction(tr("Print..."), this, [this] {
        if (m_print)
            m_print();
    });
    m_printAction->setVisible(false);
    tools->addAction(tr("Previous page"), this, [this] { ShowPage(CurrentPage() - 1); });
    tools->addAction(tr("Next page"), this, [this] { ShowPage(CurrentPage() + 1); });
    tools->addAction(tr("Zoom in"), this, [this] { m_view->zoomIn(); });
    tools->addAction(tr("Zoom out"), this, [this] { m_view->zoomOut(); });
    tools->addAction(tr("Close"), this, [this] { close(); });
    m_pageLabel = new QLabel(this);
    tools->addWidget(m_pageLabel);

    connect(m_view, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        PrintTarget page(printer);
        if (m_render)
            m_render(page);
    });
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, [this] { UpdatePageLabel(); });
    resize(800, 1000);
}

PrintPreview::~PrintPreview()
{
    if (m_hiddenMain)
        m_hiddenMain->show();
}

void PrintPreview::SetPrintAction(std::function<void()> print)
{
    m_print = std::move(print);
    m_printAction->setVisible(static_cast<bool>(m_print));
}

void PrintPreview::SetClosedAction(std::function<void()> closed)
{
    m_closed = std::move(closed);
}

void PrintPreview::SetCaption(std::string_view text)
{
    setWindowTitle(ToQt(text));
}

void PrintPreview::ShowInPlaceOfMainWindow()
{
    KitWindow* main = MainWindow();
    QWidget* host = main != nullptr ? main->Host() : nullptr;
    if (host != nullptr && host != this && host->isVisible()) {
        m_hiddenMain = host;
        host->hide();
    }
    show();
    BringToFront();
}

void PrintPreview::BringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void PrintPreview::Refresh()
{
    m_view->updatePreview();
    UpdatePageLabel();
}

int PrintPreview::PageCount() const
{
    return m_view->pageCount();
}

int PrintPreview::CurrentPage() const
{
    return m_view->currentPage();
}

void PrintPreview::ShowPage(int page)
{
    if (page >= 1 && page <= PageCount())
        m_view->setCurrentPage(page);
    UpdatePageLabel();
}

void PrintPreview::UpdatePageLabel()
{
    m_pageLabel->setText(QStringLiteral(" %1 / %2").arg(CurrentPage()).arg(PageCount()));
}

void PrintPreview::closeEvent(QCloseEvent* event)
{
    event->accept();
    // The main window is back before anyone hears of the close.
    if (m_hiddenMain) {
        m_hiddenMain->show();
        m_hiddenMain = nullptr;
    }
    if (m_closed) {
        auto closed = std::move(m_closed);
        m_closed = nullptr;
        closed();
    }
}

}  // namespace platform
