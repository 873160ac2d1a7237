// The graphic shooting cards: one card per registered shooter of the
// request's relays and targets, drawn by the shooting-card printer on
// paper or as PNG pictures (the competition's Print folder, or the framed
// web site's data folder). Only this file of the lists draws through the
// kit's card printer; what goes on a card is filled in CardPictures.
#include "results/lists/relays/GraphicCards.h"

#include "foundation/ui/cards/CardPrinter.h"
#include "platform/files/FileSystem.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListPaths.h"
#include "results/lists/relays/CardPictures.h"

namespace results {

int GraphicCards::Print(bool pictures, bool web)
{
    m_list.picturesWritten.clear();
    const int eventNr = m_request.event;
    CDataEvent* event = m_comp.GetEvent(eventNr);
    CDataRes* card = m_list.GetResultCard(eventNr);
    if (!event || !card)
        return 0;
    CBVConfig& comp = m_comp.Comp();

    CCardPrinter printer;
    // The competition's one Print folder, with its list files: on a file
    // system that minds case, "print" would be a second folder.
    printer.outputFolder = web ? ".\\PWeb\\data\\" : PrintFolder(m_comp.competition) + "\\";
    printer.documentName = ResString(IDS_CARD_DOCUMENT);
    printer.language = ResString(IDS_CARD_LANGUAGE);
    printer.captions[CardPrintSettings::kSeriesSum] = ResString(IDS_CARD_SERIES);
    printer.captions[CardPrintSettings::kTotal] = ResString(IDS_CARD_SUM);
    printer.captions[CardPrintSettings::kLane] = ResString(IDS_CARD_TARGET);
    printer.captions[CardPrintSettings::kRelay] = ResString(IDS_CARD_RELAY);
    printer.captions[CardPrintSettings::kStartNumber] = ResString(IDS_CARD_START_NR);
    printer.decimalSign = ResString(IDS_CARD_DECIMAL);
    printer.seriesPerSheet = m_request.seriesPerSheet;
    printer.greyBlack = m_request.aimingMark ? 1 : 0;
    std::string competition = ::ReadItem(comp, CompItems::kName);
    if (competition.empty())
        competition = "Comp";
    printer.SetResultsTitles(::ReadItem(m_comp.User(), UserItems::kOrganiser), competition,
                             ::ReadItem(comp, CompItems::kTitle2), ::ReadItem(comp, CompItems::EventName(eventNr)),
                             ReadItem(comp, CompItems::kSponsor1), ReadItem(comp, CompItems::kSponsor2));
    printer.layout = CardPrintSettings::kSheets;
    card->LoadEvent(eventNr);
    const int seriesCount = ::ReadItem(comp, CompItems::EventSeries(eventNr));

    int made = 0;
    for (int r = m_request.firstRelay; r <= m_request.lastRelay; ++r) {
        const int i = event->RelayIndex(r);
        if (i == 0)
            continue;
        for (int t = m_request.firstTarget; t <= m_request.lastTarget; ++t) {
            if (card->LoadCard(i, t) != 0)
                continue;
            const int k = m_list.FindShooterRow(i, t);
            if (k < 0 || m_list.shooterRows[static_cast<size_t>(k)].startNr == 0)
                continue;
            const ShooterRow& shooter = m_list.shooterRows[static_cast<size_t>(k)];
            PrintCard* print = printer.AddCard();
            ++made;
            FillPrintCard(*print, *card, &shooter, r, t, event->Entries().GetStartScore(shooter.startNr), seriesCount,
                          printer.TargetTypes());
        }
    }

    if (pictures) {
        platform::CreateFolders(printer.outputFolder);
        if (printer.SavePng() == CCardPrinter::kPrinted) {
            // The files as they stand: a sheet that could not be written is not named.
            for (const PrintCard* print = printer.FirstCard(); print != nullptr; print = print->next) {
                for (int sheet = 0; sheet <= PrintCard::kLastSeries; ++sheet) {
                    const std::string name = printer.PictureName(*print, sheet);
                    if (platform::FileExists(name))
                        m_list.picturesWritten.push_back(name);
                    else if (sheet > 0)
                        break;
                }
            }
        }
    } else if (m_list.printTarget != nullptr) {
        printer.PrintTo(*m_list.printTarget);
    } else {
        printer.Print();
    }
    printer.FreeCards();
    return made;
}

}  // namespace results
