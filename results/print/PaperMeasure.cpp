#include "results/print/PaperMeasure.h"

#include "platform/ui/draw/DefaultPrinter.h"
#include "platform/ui/draw/DrawRecorder.h"
#include "platform/ui/draw/DrawSurface.h"

#include <algorithm>
#include <string>

namespace results {

std::optional<PaperSize> DefaultPaperSize()
{
    const std::optional<platform::PrinterDescription> printer = platform::DefaultPrinter();
    if (!printer)
        return std::nullopt;
    return PaperSize{printer->caps.HorzSizeMm(), printer->caps.VertSizeMm()};
}

bool MeasureXRunMm(int chars, int points, int& widthMm)
{
    widthMm = 0;
    const std::optional<platform::PrinterDescription> printer = platform::DefaultPrinter();
    platform::DrawRecorder device(printer ? printer->caps : platform::DrawRecorder::A4(600, 0, 0));
    platform::DrawSurface dc;
    if (!dc.Attach(&device))
        return false;
    // Logical units of 0.1 mm.
    dc.SetMapMode(platform::MM_LOMETRIC);
    const bool made = points >= 1;
    if (made)
        dc.SelectFont(dc.PointFont(points * 10, "Arial", 400));
    widthMm = dc.GetTextExtent(std::string(static_cast<size_t>(std::max(chars, 0)), 'X')).cx / 10;
    dc.Detach();
    return made;
}

}  // namespace results
