#include "range/print/CardPrintJob.h"

#include "range/base/RangeObjects.h"

void SetRangeCaptions(RangeObjects& objects, CardPrintSettings& settings)
{
    settings.language = objects.Text("IDS_LANG");
    settings.decimalSign = objects.Text("IDS_COMMA");
    settings.documentName = objects.Text("IDS_PRINT_DOC");
    settings.SetApplicationName(objects.Text("IDR_MAINFRAME"));
    settings.captions[CardPrintSettings::kTotal] = objects.Text("IDS_PRINT_TOTALSUM");
    settings.captions[CardPrintSettings::kSeriesSum] = objects.Text("IDS_PRINT_SERIESUM");
    settings.captions[CardPrintSettings::kLane] = objects.Text("IDS_PRINT_LANE");
    settings.captions[CardPrintSettings::kRelay] = objects.Text("IDS_PRINT_RELAY");
    settings.captions[CardPrintSettings::kStartNumber] = objects.Text("IDS_PRINT_STARTNR");
    settings.captions[CardPrintSettings::kState1] = objects.Text("IDS_CARD_STATE_1");
    settings.captions[CardPrintSettings::kState2] = objects.Text("IDS_CARD_STATE_2");
    settings.captions[CardPrintSettings::kState3] = objects.Text("IDS_CARD_STATE_3");
    settings.captions[CardPrintSettings::kState4] = objects.Text("IDS_CARD_STATE_4");
    settings.startNumberMode = objects.Options().IsOn(CompOptions::StartNumbers) ? 1 : 0;
}
