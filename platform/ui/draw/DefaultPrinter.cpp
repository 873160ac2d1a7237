#include "platform/ui/draw/DefaultPrinter.h"

#include "platform/ui/UiText.h"
#include "platform/ui/draw/DrawRecorder.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {
namespace {

// What replaces the machine's default printer: nothing replaced, or a
// description, or (an empty optional) no printer.
bool g_replaced = false;
std::optional<PrinterDescription> g_printer;

double Millimetres(int pixels, int dotsPerInch)
{
    return dotsPerInch > 0 ? pixels * 25.4 / dotsPerInch : 0;
}

}  // namespace

std::optional<PrinterDescription> DefaultPrinter()
{
    if (g_replaced)
        return g_printer;
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return std::nullopt;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setFullPage(false);
    return PrinterDescription{FromQt(info.printerName()), CapsOf(printer)};
}

void SetDefaultPrinter(std::optional<PrinterDescription> printer)
{
    g_replaced = true;
    g_printer = std::move(printer);
}

void UseMachineDefaultPrinter()
{
    g_replaced = false;
    g_printer.reset();
}

PrinterDescription A4Printer(int dotsPerInch, int offsetX, int offsetY)
{
    return PrinterDescription{{}, DrawRecorder::A4(dotsPerInch, offsetX, offsetY)};
}

DeviceCaps CapsOf(const QPrinter& printer)
{
    DeviceCaps caps;
    int dpi = printer.resolution();
    QPageLayout layout = printer.pageLayout();
    QRect paper = layout.fullRectPixels(dpi);
    QRect printable = layout.paintRectPixels(dpi);
    caps.horzRes = printable.width();
    caps.vertRes = printable.height();
    caps.logPixelsX = caps.logPixelsY = dpi;
    caps.physicalWidth = paper.width();
    caps.physicalHeight = paper.height();
    caps.physicalOffsetX = printable.left() - paper.left();
    caps.physicalOffsetY = printable.top() - paper.top();
    caps.bitsPixel = 24;
    return caps;
}

void UseDescribedPaper(QPrinter& printer, const DeviceCaps& caps)
{
    int dpi = caps.logPixelsX > 0 ? caps.logPixelsX : 600;
    printer.setResolution(dpi);
    double width = Millimetres(caps.physicalWidth, dpi);
    double height = Millimetres(caps.physicalHeight, dpi);
    bool landscape = width > height;
    // A page size is given upright; a landscape sheet is an upright one turned.
    QSizeF upright = landscape ? QSizeF(height, width) : QSizeF(width, height);
    printer.setPageSize(QPageSize(upright, QPageSize::Millimeter));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    double left = Millimetres(caps.physicalOffsetX, dpi);
    double top = Millimetres(caps.physicalOffsetY, dpi);
    double right = Millimetres(caps.physicalWidth - caps.horzRes - caps.physicalOffsetX, dpi);
    double bottom = Millimetres(caps.physicalHeight - caps.vertRes - caps.physicalOffsetY, dpi);
    printer.setPageMargins(QMarginsF(left, top, std::max(0.0, right), std::max(0.0, bottom)), QPageLayout::Millimeter);
    printer.setFullPage(false);
}

}  // namespace platform
