#pragma once
// The shot log of one shooting card on paper: a line per shot with its
// number, value, coordinates, radius, date and time, turning or run data,
// temperature, sensor levels, hardware data, band position and remarks,
// grouped by the series the shots count in, then the card's result state and
// comment. The card dialog of the range control and the remote program print
// it; each print is one complete job.
#include "foundation/comp/DataComp.h"
#include "foundation/cards/ShotListLayout.h"
#include "platform/ui/draw/DrawSurface.h"

namespace platform {
class DrawTarget;
class PrintJob;
}  // namespace platform

class CShotListPrinter : public ShotListSettings {
public:
    // As the card printer's results.
    enum Result { kPrinted = 0, kCancelled = 1, kNoPrinter = 3, kFailed = 4 };

    CShotListPrinter() = default;
    virtual ~CShotListPrinter() = default;
    CShotListPrinter(const CShotListPrinter&) = delete;
    CShotListPrinter& operator=(const CShotListPrinter&) = delete;

    // Through the print dialog. The name record is not read: the log names
    // the card by relay and lane.
    int Print(const CardRecord& card, const NameRecord* name, const ShotListRecord& shots);
    // On a printer (or PDF file) chosen beforehand, without asking.
    int Print(platform::PrintJob& job, const CardRecord& card, const ShotListRecord& shots);
    // The job itself on any printing target.
    int PrintTo(platform::DrawTarget& target, const CardRecord& card, const ShotListRecord& shots);

private:
    void DrawHead(const CardRecord& card);
    void Text(int x, int y, std::string_view text, unsigned align);
    void Frame(int x1, int y1, int x2, int y2);

    CDataComp m_values;  // value texts and signal ratings; never opened
    platform::DrawSurface* m_dc = nullptr;
    ShotListLayout::Page m_page;
    platform::DrawFont m_headFont;
    platform::DrawFont m_rowFont;
};
