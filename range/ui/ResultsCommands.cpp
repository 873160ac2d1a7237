#include "range/ui/ResultsCommands.h"

#include "foundation/settings/RangeSettings.h"
#include "platform/ui/FrameWnd.h"
#include "range/dialogs/SendPresets.h"
#include "range/print/CardPrintJob.h"
#include "range/print/RangeCardPrint.h"
#include "range/ui/FrameModal.h"
#include "range/ui/MainFrm.h"
#include "range/ui/dialogs/DlgName.h"
#include "range/ui/dialogs/DlgPrint.h"
#include "range/ui/dialogs/DlgSend.h"
#include "range/ui/setup/DlgMedia.h"

#include <string>

int ResultsCommands::FirstRelay() const
{
    const LaneTable& lanes = m_frame.Objects().lanes;
    const int lane = lanes.NextActiveLane(0);
    return LaneTable::IsLane(lane) && lanes[lane].active.relay > 0 ? lanes[lane].active.relay : 1;
}

int ResultsCommands::PrintCards(int firstRelay, int lastRelay, int firstLane, int lastLane, bool withDialog)
{
    RangeCardPrint::Selection selection;
    selection.firstRelay = firstRelay;
    selection.lastRelay = lastRelay;
    selection.firstLane = firstLane;
    selection.lastLane = lastLane;
    selection.withDialog = withDialog;
    RangeObjects& obj = m_frame.Objects();
    CardPrintJob job;
    int cards = RangeCardPrint::Fill(obj, selection, job);
    int printed = cards > 0 && m_frame.PrintCards(job) == CardPrintJob::kPrinted ? cards : 0;
    if (platform::FrameWnd* w = m_frame.Window()) {
        // Information goes to the second pane.
        std::string line = printed > 0 ? std::to_string(printed) + " " +
                                             obj.Text(printed == 1 ? "IDS_INFO_PRINTED1" : "IDS_INFO_PRINTED")
                                       : obj.Text("IDS_INFO_NOPRINT");
        w->SetPaneText(CMainFrame::kInfoPane, line);
    }
    return printed;
}

void ResultsCommands::OnPrintCards()
{
    RangeObjects& obj = m_frame.Objects();
    CBVConfig& range = obj.settings.Config();
    CDlgPrint dialog(m_frame.Window(), obj.Options());
    const int lane = obj.lanes.NextActiveLane(0);
    const int relay = FirstRelay();
    dialog.m_caption = obj.Text("IDS_LANESEL_TITLE_PRINT");
    dialog.m_relayFrom = relay;
    dialog.m_relayTo = relay;
    dialog.m_laneFrom = LaneTable::IsLane(lane) ? lane : LaneTable::kFirstLane;
    dialog.m_laneTo = dialog.m_laneFrom;
    if (range.IsOpen()) {
        dialog.m_asList = ReadItem(range, RangeItems::kPrintAsList) != 0 ? 1 : 0;
        dialog.m_seriesPerPage = ReadItem(range, RangeItems::kPrintSeriesPerPage);
        dialog.m_margin = ReadItem(range, RangeItems::kPrintMargin);
        dialog.m_blackMark = ReadItem(range, RangeItems::kPrintBlackMark);
        dialog.m_practice = ReadItem(range, RangeItems::kPrintPracticeShots);
        dialog.m_names = ReadItem(range, RangeItems::kPrintNames);
        dialog.m_trueSize = ReadItem(range, RangeItems::kPrintTrueSize);
        dialog.m_gauge = ReadItem(range, RangeItems::kPrintGauge);
        const std::string zoom = ReadItem(range, RangeItems::kPrintZoomLevels);
        dialog.m_completeTarget = zoom.size() > 0 && zoom[0] == '1';
        for (size_t i = 0; i < 10; ++i)
            dialog.m_zoom[i] = zoom.size() > i + 1 && zoom[i + 1] == '1';
    }
    const int rc = FrameModal::Run(dialog);
    // The settings are kept whatever the officer answered.
    if (range.IsOpen()) {
        WriteItem(range, RangeItems::kPrintAsList, dialog.m_asList == 1 ? 1 : 0);
        WriteItem(range, RangeItems::kPrintSeriesPerPage, dialog.m_seriesPerPage);
        WriteItem(range, RangeItems::kPrintMargin, dialog.m_margin);
        WriteItem(range, RangeItems::kPrintBlackMark, dialog.m_blackMark);
        WriteItem(range, RangeItems::kPrintPracticeShots, dialog.m_practice);
        WriteItem(range, RangeItems::kPrintNames, dialog.m_names);
        WriteItem(range, RangeItems::kPrintTrueSize, dialog.m_trueSize);
        WriteItem(range, RangeItems::kPrintGauge, dialog.m_gauge);
        std::string zoom(1, dialog.m_completeTarget ? '1' : '0');
        for (int z : dialog.m_zoom)
            zoom += z ? '1' : '0';
        WriteItem(range, RangeItems::kPrintZoomLevels, zoom);
    }
    if (rc != platform::IDOK)
        return;
    if (dialog.m_allTargets)
        PrintCards(0, 0, LaneTable::IsLane(lane) ? lane : LaneTable::kFirstLane, LaneTable::kLastLane, true);
    else
        PrintCards(dialog.m_relayFrom, dialog.m_relayTo, dialog.m_laneFrom, dialog.m_laneTo, true);
}

void ResultsCommands::OnSendToOffice()
{
    RangeObjects& obj = m_frame.Objects();
    ResultsExchange& exchange = m_frame.Range().exchange;
    const int lane = obj.lanes.NextActiveLane(0);
    const int relay = LaneTable::IsLane(lane) ? obj.lanes[lane].active.relay : 0;
    SendPresets presets = SendPresetsFor(obj.RangeInt(RangeItems::kResultsProgram), relay);
    CDlgSend dialog(m_frame.Window(), obj.Options());
    dialog.m_relayFrom = presets.relayFrom;
    dialog.m_relayTo = presets.relayTo;
    dialog.m_activeRelay = presets.activeRelay;
    dialog.m_hideActive = presets.hideActive ? 1 : 0;
    if (FrameModal::Run(dialog) != platform::IDOK)
        return;
    // Every lane up to the last one of the range, every card of the relays.
    const int rc = dialog.m_activeRelay != 0
                       ? exchange.SendResults(0, 0, LaneTable::IsLane(lane) ? lane : LaneTable::kFirstLane, 0)
                       : exchange.SendResults(dialog.m_relayFrom, dialog.m_relayTo, LaneTable::kFirstLane, 0);
    if (rc == 0)
        m_frame.ShowStatusKeys("IDS_INFO_SENT", "", nullptr);
}

void ResultsCommands::OnMedia()
{
    CDlgMedia media(m_frame.Objects(), m_frame.Range(), m_frame.Window());
    media.m_relay = FirstRelay();
    FrameModal::Run(media);
}

void ResultsCommands::OnNames()
{
    RangeObjects& obj = m_frame.Objects();
    RangeControl& range = m_frame.Range();
    // Names are kept here only when no results program keeps them.
    if (obj.RangeInt(RangeItems::kResultsProgram) != 8) {
        platform::MessageBox(obj.Text("IDS_WRN_ONLYLOCAL"));
        return;
    }
    RunNamesDialog();
    const int equipment = obj.programs.GetEquipment(0);
    if ((equipment == 3 || equipment == 131) && obj.RangeInt(RangeItems::kExternalEquipment) == 3) {
        range.exchange.ImportNames(0);
        for (int lane = obj.lanes.NextActiveLane(0); lane != 0; lane = obj.lanes.NextActiveLane(lane))
            range.commands.SendLaneSetup(lane, 90);
    }
    range.ReadFilesAgain(true, true);
}

void ResultsCommands::RunNamesDialog()
{
    CDlgName names(m_frame.Objects(), m_frame.Window());
    names.m_relayText = std::to_string(FirstRelay());
    FrameModal::Run(names);
}
