#include "remote/ui/RemotePrinter.h"

#include "remote/print/RangeCards.h"

#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/ui/cards/CardPrinter.h"
#include "foundation/ui/cards/ShotListPrinter.h"
#include "platform/system/TextTable.h"

#include <cstdio>

namespace {

std::string T(const char* key) { return platform::TextOfKey(key); }

std::string CompetitionName(RangeCards& range)
{
    std::string name = ReadItem(range.Data().CompConfig(), CompSettings::kName);
    return name.empty() ? "Comp" : name;
}

PrintOutcome PrintCards(RangeCards& range, const PrintOptions& options)
{
    PrintOutcome outcome;
    CBVConfig& comp = range.Data().CompConfig();
    CBVConfig& settings = range.Range();
    CCardPrinter printer;
    printer.decimalSign = T("IDS_PRINT_COMMA");
    printer.documentName = T("IDS_PRINT_DOCNAME");
    printer.SetApplicationName(T("IDS_APPLICATION"));
    printer.language = T("IDS_PRINT_LANG");
    printer.SetRangeTitles(ReadItem(settings, RangeItems::kUserName), CompetitionName(range),
                           ReadItem(comp, CompSettings::kDate), ReadItem(settings, RangeItems::kRangeName),
                           CRangeSettings::ReadSponsor(settings));
    printer.margin = options.margin;
    printer.seriesPerSheet = options.seriesPerPage;
    printer.greyBlack = options.black ? 1 : 0;
    printer.SetZoomOption(options.flags);
    printer.layout = options.kind == PrintOptions::kList ? CardPrintSettings::kListLines : CardPrintSettings::kSheets;
    printer.showDialog = 1;
    printer.startNumberMode = range.StartNumbers() ? 1 : 0;
    if (options.oneToOne)
        printer.trueSize = 1;
    printer.captions[CardPrintSettings::kTotal] = T("IDS_PRINT_TOTALSUM");
    printer.captions[CardPrintSettings::kSeriesSum] = T("IDS_PRINT_SERIESUM");
    printer.captions[CardPrintSettings::kLane] = T("IDS_PRINT_LANE");
    printer.captions[CardPrintSettings::kRelay] = T("IDS_PRINT_RELAY");
    printer.captions[CardPrintSettings::kStartNumber] = T("IDS_PRINT_STARTNR");

    auto keys = range.FillCards(options, SecondCompetition::Read(), [&] { return printer.AddCard(); });
    int i = 0;
    for (PrintCard* card = printer.FirstCard(); card != nullptr; card = card->next, ++i)
        outcome.cards.push_back({keys[static_cast<size_t>(i)].first, keys[static_cast<size_t>(i)].second,
                                 card->totalShots});
    if (outcome.cards.empty()) {
        outcome.status = PrintOutcome::kNoCards;
        return outcome;
    }
    outcome.status = printer.Print() == CCardPrinter::kPrinted ? PrintOutcome::kPrinted : PrintOutcome::kNotPrinted;
    printer.FreeCards();
    return outcome;
}

PrintOutcome PrintLogs(RangeCards& range, const PrintOptions& options)
{
    PrintOutcome outcome;
    CBVConfig& comp = range.Data().CompConfig();
    CShotListPrinter printer;
    printer.decimalSign = T("IDS_PRINT_COMMA");
    printer.documentName = T("IDS_PRINT_DOCNAME");
    printer.relayCaption = T(range.StartNumbers() ? "IDS_PRINT_STARTNR" : "IDS_PRINT_RELAY");
    printer.laneCaption = T("IDS_PRINT_LANE");
    printer.footerText = T("IDS_APPLICATION");
    printer.xCaption = T("IDS_LOG_X");
    printer.yCaption = T("IDS_LOG_Y");
    printer.valueCaption = T("IDS_LOG_VAL");
    printer.temperatureCaption = T("IDS_LOG_TEMP");
    printer.dateCaption = T("IDS_LOG_DATE");
    printer.timeCaption.clear();
    printer.commentCaption = T("IDS_LOG_COMMENT");
    printer.hardwareCaption = T("IDS_LOG_HW");
    printer.bandCaption = T("IDS_LOG_BAND");
    printer.turnCaption = T("IDS_LOG_TURN");
    printer.turnedText = T("IDS_LOG_ERRTURN");
    printer.shotAtCaption = T("IDS_LOG_SHOTIN");
    printer.manualText = T("IDS_LOG_GEN");
    printer.simulatedText = T("IDS_LOG_SIM");
    printer.frameText = T("IDS_LOG_FRAME");
    printer.smallAdvanceText = T("IDS_LOG_ADVANCE");
    printer.pressureTexts = {T("IDS_LOG_PRESERR"), T("IDS_LOG_PRESWARN"), T("IDS_LOG_PRESNOTICE")};
    printer.copiedText = T("IDS_LOG_COPY");
    printer.compOptions = ReadItem(comp, CompSettings::kOptions);
    const int program = range.Program();
    char name[CProgramStore::kNameSize];
    for (int s = 1; s <= 20; ++s)
        printer.seriesNames[static_cast<size_t>(s - 1)] = range.Programs().GetSerieName(s, name, program);
    const int equipment = range.Programs().GetEquipment(program) == 129 ? 129 : range.Equipment();
    CardFill::Options fill = range.FillOptions(options);

    outcome.status = PrintOutcome::kPrinted;
    for (auto key : range.Keys(options)) {
        RangeCards::Card card;
        if (!range.Read(key.first, key.second, card))
            continue;
        int actual = CardFill::Distance(fill.actualDistance, card.card.targetType, range.Types());
        int simulated = CardFill::Distance(fill.simulatedDistance, card.card.targetType, range.Types());
        std::string target = range.Types().GetName(card.card.targetType);
        if (actual != simulated) {
            char distances[32];
            std::snprintf(distances, sizeof distances, "   [%d:%d]", actual, simulated);
            target += distances;
        }
        printer.SetTitles(CompetitionName(range), ReadItem(comp, CompSettings::kDate),
                          ReadItem(range.Range(), RangeItems::kUserName),
                          ReadItem(range.Range(), RangeItems::kRangeName), target);
        printer.distanceScale = static_cast<double>(simulated) / actual;
        printer.mode = equipment;
        int shots = 0;
        for (const ShotRecord& shot : card.shots.shots)
            if (shot.state != CDataComp::kSlotFree)
                ++shots;
        outcome.cards.push_back({key.first, key.second, shots});
        if (printer.Print(card.card, card.named ? &card.name : nullptr, card.shots) != CShotListPrinter::kPrinted)
            outcome.status = PrintOutcome::kNotPrinted;
    }
    if (outcome.cards.empty())
        outcome.status = PrintOutcome::kNoCards;
    return outcome;
}

}  // namespace

PrintOutcome PrintRange(const std::string& folder, int comp, const PrintOptions& options)
{
    RangeCards range;
    if (!range.Open(folder, comp, T("IDS_PRINT_COMMA")))
        return {PrintOutcome::kNoCompetition, {}};
    PrintOptions o = options.Clamped();
    return o.kind == PrintOptions::kLog ? PrintLogs(range, o) : PrintCards(range, o);
}
