#pragma once
// The default printer as the programs see it without asking: its paper,
// printable area, resolution and physical offsets, or no printer at all. The
// print preview shows its pages on this paper, and lists that size their
// columns to the paper measure on it. Tests and tools put a description of
// their own in place of the machine's, so that what they lay out does not
// depend on the printers of the machine they run on.
#include "platform/ui/draw/DrawTypes.h"

#include <optional>
#include <string>

class QPrinter;

namespace platform {

struct PrinterDescription {
    std::string name;  // Windows-1252; empty for a described printer of no name
    DeviceCaps caps;   // device pixels at caps.logPixelsX
};

// The default printer: the one put in place, else the machine's; nullopt when
// there is none.
std::optional<PrinterDescription> DefaultPrinter();

// Puts a description (or, with nullopt, "no printer") in place of the
// machine's default printer until UseMachineDefaultPrinter. Not thread-safe:
// set it before the code that reads it runs.
void SetDefaultPrinter(std::optional<PrinterDescription> printer);
void UseMachineDefaultPrinter();

// An A4 sheet at dotsPerInch whose printable area starts the given device
// pixels from the left and top edges and ends as far from the right and bottom.
PrinterDescription A4Printer(int dotsPerInch, int offsetX, int offsetY);

// What a printer object tells about its page, as a device's caps.
DeviceCaps CapsOf(const QPrinter& printer);

// Sets a printer (a PDF printer, or a preview's) to the described paper,
// printable area and resolution. PDF pages measure in points, so sizes come
// out within a third of a millimetre.
void UseDescribedPaper(QPrinter& printer, const DeviceCaps& caps);

// Puts a description in place for the life of a scope (a test's) and the
// machine's default printer back afterwards.
class ScopedDefaultPrinter {
public:
    explicit ScopedDefaultPrinter(std::optional<PrinterDescription> printer) { SetDefaultPrinter(std::move(printer)); }
    ~ScopedDefaultPrinter() { UseMachineDefaultPrinter(); }
    ScopedDefaultPrinter(const ScopedDefaultPrinter&) = delete;
    ScopedDefaultPrinter& operator=(const ScopedDefaultPrinter&) = delete;
};

}  // namespace platform
