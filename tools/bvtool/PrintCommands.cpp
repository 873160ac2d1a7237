// bvtool print: the shooting cards of a competition, or the shot log of a
// lane's card, printed into a PDF file as the range control prints them,
// without a dialog and without a screen.
#include "Command.h"
#include "tools/bvtool/RangeDefaults.h"

#include "foundation/files/BVConfig.h"
#include "foundation/cards/CardFill.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/comp/DataComp.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/targets/TargetTypes.h"
#include "foundation/ui/cards/CardPrinter.h"
#include "foundation/ui/cards/ShotListPrinter.h"
#include "platform/files/FileSystem.h"
#include "platform/ui/draw/DefaultPrinter.h"
#include "platform/ui/draw/PrintJob.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace bvtool {
namespace {

constexpr const char* kUsage =
    "bvtool print cards RANGEFOLDER COMP OUT.pdf\n"
    "bvtool print log RANGEFOLDER COMP LANE OUT.pdf";
constexpr const char* kUsageLine =
    "usage: bvtool print cards RANGEFOLDER COMP OUT.pdf | bvtool print log RANGEFOLDER COMP LANE OUT.pdf";

// Printing draws with the window kit's fonts. What the tool lays out must
// not depend on the printers of the machine it runs on: its default printer
// is an A4 sheet at 600 dpi.
void StartPrinting()
{
    if (StartQt())
        platform::SetDefaultPrinter(platform::A4Printer(600, 0, 0));
}

// A range folder with one of its competitions open for reading.
struct Range {
    std::string folder;  // ends in a backslash
    CDataComp data;
    CBVConfig settings;  // BVLeder.bvc
    CProgramStore programs;
    CTargetTypes types;
};

int OpenRange(const std::string& folderArg, const std::string& compArg, Range& range)
{
    long comp = 0;
    if (!ParseInt(compArg, comp) || comp < 0 || comp > CompSettings::kMaxCompetition)
        return Fail("a competition is 0 to 99");
    std::string folder = ToFile(folderArg);
    if (!platform::FolderExists(folder))
        return Fail("no folder " + folderArg);
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    range.folder = folder;
    if (!platform::FileExists(CompSettings::FileOf(folder, static_cast<int>(comp))))
        return Fail("no competition " + compArg + " in " + folderArg);
    if (std::string fault = CompetitionFault(folder, static_cast<int>(comp), false); !fault.empty())
        return Fail("cannot read competition " + compArg + " in " + folderArg + ": " + ToScreen(fault));
    range.data.SetBasePath(folder);
    range.data.Open(static_cast<int>(comp), 0);
    if (!range.data.CardFile().IsOpen())
        return Fail("the cards of competition " + compArg + " cannot be read");
    range.settings.Open(folder + "BVLeder.bvc", 0);
    range.programs.SetBasePath(folder);
    range.programs.OpenFiles();
    return 0;
}

// The card's shots; false when it has a list that cannot be read.
bool ShotsOf(Range& range, const CardRecord& card, ShotListRecord& list)
{
    CDataComp::ClearShots(list);
    if (card.shotRec != 0 && range.data.ShotFile().ReadRecDirect(card.shotRec, &list) != 0) {
        CDataComp::ClearShots(list);
        return false;
    }
    return true;
}

std::string CardText(const CardRecord& card)
{
    return "relay " + std::to_string(card.relay) + " lane " + std::to_string(card.lane);
}

std::string CompetitionName(Range& range)
{
    std::string name = ReadItem(range.data.CompConfig(), CompSettings::kName);
    return name.empty() ? "Comp" : name;
}

bool PdfJob(const std::string& out, platform::PrintJob& job)
{
    return job.UsePdfFile(ToFile(out));
}

int PrintCards(const Args& args)
{
    if (args.size() != 4)
        return Fail(kUsageLine);
    Range range;
    if (int rc = OpenRange(args[1], args[2], range))
        return rc;
    StartPrinting();

    CBVConfig& comp = range.data.CompConfig();
    CCardPrinter printer;
    CardFill::ApplyPrintSettings(range.settings, printer);
    printer.decimalSign = ",";
    printer.documentName = CompetitionName(range);
    printer.startNumberMode = range.data.StartNumberMode() ? 1 : 0;
    printer.SetRangeTitles(ReadItem(range.settings, RangeItems::kUserName), CompetitionName(range),
                           ReadItem(comp, CompSettings::kDate), ReadItem(range.settings, RangeItems::kRangeName),
                           CRangeSettings::ReadSponsor(range.settings));
    CardFill::Options options = CardFill::ReadOptions(range.settings, comp);
    // A list of the cards shows the match only.
    if (printer.layout == CardPrintSettings::kListLines)
        options.practice = false;
    range.programs.SetCurrentProgram(options.program);

    std::vector<CardRecord> cards;
    CBVFileEx& file = range.data.CardFile();
    for (int n = 1; n <= file.GetRecCount(); ++n) {
        CardRecord card;
        if (file.ReadRec(n, &card) != 0)
            return Fail("cannot read card " + std::to_string(n) + " of Card.BVD");
        if (card.relay != 0)
            cards.push_back(card);
    }
    std::stable_sort(cards.begin(), cards.end(), [](const CardRecord& a, const CardRecord& b) {
        return a.relay != b.relay ? a.relay < b.relay : a.lane < b.lane;
    });
    for (const CardRecord& card : cards) {
        NameRecord name;
        bool named = range.data.ReadName(card, name) == 0;
        if (!named && card.nameRec != 0)
            return Fail("cannot read the name of " + CardText(card) + " in Name.BVD");
        ShotListRecord shots;
        if (!ShotsOf(range, card, shots))
            return Fail("cannot read the shots of " + CardText(card) + " in Shot.BVD");
        CardFill::Fill(card, named ? &name : nullptr, shots, range.programs, range.types, options, *printer.AddCard());
    }
    int count = printer.CardCount();

    platform::PrintJob job;
    if (!PdfJob(args[3], job))
        return Fail("cannot print into " + args[3]);
    switch (printer.Print(job)) {
    case CCardPrinter::kPrinted:
        std::printf("cards: %d\npages: %d\n", count, job.Target()->PagesPrinted());
        return 0;
    case CCardPrinter::kEmpty:
        return Fail("no cards in competition " + args[2]);
    default:
        return Fail("cannot print into " + args[3]);
    }
}

int PrintLog(const Args& args)
{
    long lane = 0;
    if (args.size() != 5)
        return Fail(kUsageLine);
    if (!ParseInt(args[3], lane) || !CDataComp::IsLane(static_cast<int>(lane)))
        return Fail("a lane is 1 to 100");
    Range range;
    if (int rc = OpenRange(args[1], args[2], range))
        return rc;
    ActiveRecord active;
    CardRecord card;
    if (range.data.ReadActive(static_cast<int>(lane), active) != 0 || active.cardRec <= 0)
        return Fail("lane " + args[3] + " has no card");
    if (range.data.CardFile().ReadRec(active.cardRec, &card) != 0)
        return Fail("cannot read card " + std::to_string(active.cardRec) + " of Card.BVD");
    ShotListRecord shots;
    if (!ShotsOf(range, card, shots))
        return Fail("cannot read the shots of " + CardText(card) + " in Shot.BVD");
    StartPrinting();

    CBVConfig& comp = range.data.CompConfig();
    CShotListPrinter printer;
    printer.decimalSign = ",";
    std::string target = range.types.GetName(card.targetType);
    CardFill::Options options = CardFill::ReadOptions(range.settings, comp);
    int actual = CardFill::Distance(options.actualDistance, card.targetType, range.types);
    int simulated = CardFill::Distance(options.simulatedDistance, card.targetType, range.types);
    if (actual != simulated) {
        char distances[32];
        std::snprintf(distances, sizeof distances, "   [%d:%d]", actual, simulated);
        target += distances;
    }
    printer.SetTitles(CompetitionName(range), ReadItem(comp, CompSettings::kDate),
                      ReadItem(range.settings, RangeItems::kUserName), ReadItem(range.settings, RangeItems::kRangeName),
                      target);
    printer.distanceScale = static_cast<double>(simulated) / actual;
    printer.mode = range.programs.GetEquipment(options.program) == 129 ? 129 : options.equipment;
    char name[CProgramStore::kNameSize];
    for (int s = 1; s <= ShotListSettings::kSeriesNames; ++s)
        printer.seriesNames[s - 1] = range.programs.GetSerieName(s, name, options.program);

    platform::PrintJob job;
    if (!PdfJob(args[4], job))
        return Fail("cannot print into " + args[4]);
    if (printer.Print(job, card, shots) != CShotListPrinter::kPrinted)
        return Fail("cannot print into " + args[4]);
    std::printf("pages: %d\n", job.Target()->PagesPrinted());
    return 0;
}

int RunPrint(const Args& args)
{
    if (!args.empty() && args[0] == "cards")
        return PrintCards(args);
    if (!args.empty() && args[0] == "log")
        return PrintLog(args);
    return Fail(kUsageLine);
}

[[maybe_unused]] const bool registered =
    Register({"print", kUsage, "prints a competition's cards, or a lane's shot log, into a PDF file", &RunPrint});

}  // namespace
}  // namespace bvtool
