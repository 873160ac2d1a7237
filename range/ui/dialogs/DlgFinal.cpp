#include "range/ui/dialogs/DlgFinal.h"

#include "foundation/settings/CompSettings.h"
#include "platform/system/TextTable.h"
#include "range/base/RangeObjects.h"
#include "range/ui/dialogs/DlgLaneSel.h"

#include <cstdlib>
#include <string>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgFinal;

constexpr uint32_t kRO = platform::CS_READONLY;

const ControlTemplate kControls[] = {
    {.id = D::IDC_SERIE_LABEL, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_FINAL_STATIC_SERIE"},
    {.id = D::IDC_SERIE, .kind = ControlKind::Edit, .row = 0, .col = 1, .colSpan = 4, .style = kRO},

    {.id = D::IDC_LANE_LABEL, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_FINAL_STATIC_LANE"},
    {.id = D::IDC_LANE, .kind = ControlKind::Edit, .row = 1, .col = 1, .style = platform::CS_NUMBER, .limit = 4},
    {.id = D::IDC_LANE_SPIN, .kind = ControlKind::Spin, .row = 1, .col = 2, .buddy = D::IDC_LANE, .min = 0, .max = 9999},
    {.id = D::IDC_RELAY_LABEL, .kind = ControlKind::Static, .row = 1, .col = 3, .key = "IDS_FINAL_STATIC_RELAY"},
    {.id = D::IDC_RELAY, .kind = ControlKind::Edit, .row = 1, .col = 4, .style = kRO},

    {.id = D::IDC_LANE_FIRST, .kind = ControlKind::Button, .row = 2, .col = 0, .key = "IDS_FINAL_BUTTON_LANEFIRST"},
    {.id = D::IDC_LANE_PREV, .kind = ControlKind::Button, .row = 2, .col = 1, .key = "IDS_FINAL_BUTTON_LANEPREV"},
    {.id = D::IDC_LANE_NEXT, .kind = ControlKind::Button, .row = 2, .col = 2, .key = "IDS_FINAL_BUTTON_LANENEXT"},
    {.id = D::IDC_LANE_LAST, .kind = ControlKind::Button, .row = 2, .col = 3, .key = "IDS_FINAL_BUTTON_LANELAST"},
    {.id = D::IDC_GOTO, .kind = ControlKind::Button, .row = 2, .col = 4, .key = "IDS_FINAL_BUTTON_GOTORELAY"},

    {.id = D::IDC_SHOT_LABEL, .kind = ControlKind::Static, .row = 3, .col = 0, .key = "IDS_FINAL_STATIC_SHOT"},
    {.id = D::IDC_SHOT, .kind = ControlKind::Edit, .row = 3, .col = 1, .style = kRO},
    {.id = D::IDC_MAXSHOT_LABEL, .kind = ControlKind::Static, .row = 3, .col = 2, .key = "IDS_FINAL_STATIC_MAXSHOT"},
    {.id = D::IDC_MAXSHOT, .kind = ControlKind::Edit, .row = 3, .col = 3, .style = platform::CS_NUMBER, .limit = 2},
    {.id = D::IDC_MAXSHOT_SPIN, .kind = ControlKind::Spin, .row = 3, .col = 4, .buddy = D::IDC_MAXSHOT, .min = 0,
     .max = 99},

    {.id = D::IDC_SHOT_NONE, .kind = ControlKind::Button, .row = 4, .col = 0, .key = "IDS_FINAL_BUTTON_SHOTNONE"},
    {.id = D::IDC_SHOT_PREV, .kind = ControlKind::Button, .row = 4, .col = 1, .key = "IDS_FINAL_BUTTON_SHOTPREV"},
    {.id = D::IDC_SHOT_NEXT, .kind = ControlKind::Button, .row = 4, .col = 2, .key = "IDS_FINAL_BUTTON_SHOTNEXT",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_SHOT_ALL, .kind = ControlKind::Button, .row = 4, .col = 3, .key = "IDS_FINAL_BUTTON_SHOTALL"},
    {.id = D::IDC_START, .kind = ControlKind::Button, .row = 4, .col = 4, .key = "IDS_FINAL_BUTTON_START"},

    {.id = D::IDC_TEMPO_LABEL, .kind = ControlKind::Static, .row = 5, .col = 0, .key = "IDS_FINAL_STATIC_TEMPO"},
    {.id = D::IDC_TEMPO, .kind = ControlKind::Edit, .row = 5, .col = 1, .style = platform::CS_NUMBER, .limit = 1},
    {.id = D::IDC_TEMPO_SPIN, .kind = ControlKind::Spin, .row = 5, .col = 2, .buddy = D::IDC_TEMPO, .min = 0, .max = 9},
    {.id = D::IDC_SEC_LABEL, .kind = ControlKind::Static, .row = 5, .col = 3, .key = "IDS_FINAL_STATIC_SEC"},

    {.id = D::IDC_INFO, .kind = ControlKind::Group, .row = 6, .col = 0, .colSpan = 5, .key = "IDS_FINAL_STATIC_INFO"},
    {.id = D::IDC_INFO_LANE, .kind = ControlKind::Edit, .parent = D::IDC_INFO, .row = 0, .col = 0, .style = kRO},
    {.id = D::IDC_INFO_NAME, .kind = ControlKind::Edit, .parent = D::IDC_INFO, .row = 0, .col = 1, .colSpan = 4,
     .style = kRO},
    {.id = D::IDC_INFO_SHOT, .kind = ControlKind::Edit, .parent = D::IDC_INFO, .row = 1, .col = 0, .style = kRO},
    {.id = D::IDC_INFO_VALUE, .kind = ControlKind::Edit, .parent = D::IDC_INFO, .row = 1, .col = 1, .style = kRO},
    {.id = D::IDC_INFO_START, .kind = ControlKind::Edit, .parent = D::IDC_INFO, .row = 2, .col = 0, .style = kRO},
    {.id = D::IDC_INFO_START_LABEL, .kind = ControlKind::Static, .parent = D::IDC_INFO, .row = 2, .col = 1,
     .key = "IDS_FINAL_STATIC_INFOSTART"},
    {.id = D::IDC_INFO_MARKED, .kind = ControlKind::Edit, .parent = D::IDC_INFO, .row = 2, .col = 2, .style = kRO},
    {.id = D::IDC_INFO_TOTAL_LABEL, .kind = ControlKind::Static, .parent = D::IDC_INFO, .row = 2, .col = 3,
     .key = "IDS_FINAL_STATIC_INFOTOTAL"},
    {.id = D::IDC_INFO_TOTAL, .kind = ControlKind::Edit, .parent = D::IDC_INFO, .row = 2, .col = 4, .style = kRO},

    {.id = D::IDC_MARKTYPE, .kind = ControlKind::Group, .row = 7, .col = 0, .colSpan = 2,
     .key = "IDS_FINAL_STATIC_MARKTYPE", .style = platform::CS_HIDDEN},
    {.id = D::IDC_MARKTYPE0, .kind = ControlKind::Radio, .parent = D::IDC_MARKTYPE, .row = 0, .col = 0,
     .key = "IDS_FINAL_MARKTYPE0", .style = platform::CS_GROUP | platform::CS_HIDDEN},
    {.id = D::IDC_MARKTYPE1, .kind = ControlKind::Radio, .parent = D::IDC_MARKTYPE, .row = 1, .col = 0,
     .key = "IDS_FINAL_MARKTYPE1", .style = platform::CS_HIDDEN},
    {.id = D::IDC_SEND, .kind = ControlKind::Button, .row = 7, .col = 2, .colSpan = 2, .key = "IDS_FINAL_BUTTON_SEND"},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 7, .col = 4, .key = "IDS_FINAL_BUTTON_OK"},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_FINAL_TITLE", .cx = 300, .cy = 230, .controls = kControls};

}  // namespace

CDlgFinal::CDlgFinal(RangeObjects& objects, RangeControl& range, QWidget* parent)
    : platform::Dialog(kTemplate, parent), m_obj(objects), m_final(objects, range)
{
    OnClick(IDC_LANE_PREV, [this] { ChangeLane(std::max(m_final.FirstLane(), m_final.Lane() - 1)); });
    OnClick(IDC_LANE_NEXT, [this] { ChangeLane(std::min(m_final.LastLane(), m_final.Lane() + 1)); });
    OnClick(IDC_LANE_FIRST, [this] { ChangeLane(m_final.FirstLane()); });
    OnClick(IDC_LANE_LAST, [this] { ChangeLane(m_final.LastLane()); });
    OnClick(IDC_GOTO, [this] { OnGoTo(); });
    OnClick(IDC_SHOT_PREV, [this] {
        m_final.ShowUpTo(m_final.ShotIndex() - 1);
        ShowTexts();
    });
    OnClick(IDC_SHOT_NEXT, [this] {
        if (m_final.ShotIndex() < m_final.MaxShot())
            m_final.ShowUpTo(m_final.ShotIndex() + 1);
        ShowTexts();
    });
    OnClick(IDC_SHOT_NONE, [this] {
        m_final.UnmarkAll();
        ShowTexts();
    });
    OnClick(IDC_SHOT_ALL, [this] {
        m_final.ShowUpTo(m_final.MaxShot());
        ShowTexts();
    });
    OnClick(IDC_START, [this] {
        KillTimer(kTempoTimer);
        if (m_final.StartTempo())
            SetTimer(kTempoTimer, 1000);
        ShowTexts();
    });
    OnChange(IDC_TEMPO, [this] { OnTempoChange(); });
    OnChange(IDC_MAXSHOT, [this] {
        if (m_initialised)
            m_final.SetMaxShot(std::atoi(item(IDC_MAXSHOT).text().c_str()));
    });
    OnClick(IDC_MARKTYPE0, [this] { OnMarkType(); });
    OnClick(IDC_MARKTYPE1, [this] { OnMarkType(); });
    OnClick(IDC_SEND, [this] {
        if (onSendResults)
            onSendResults();
    });
    OnClick(IDC_OK, [this] { OnOK(); });
}

void CDlgFinal::Begin(int firstLane, int lastLane, int currentLane, int series)
{
    m_final.Begin(firstLane, lastLane, currentLane, series);
}

bool CDlgFinal::OnInitDialog()
{
    if (m_final.StartNumbers()) {
        item(IDC_LANE_LABEL).setTextKey("IDS_FINAL_STATIC_STARTNR");
        item(IDC_GOTO).setTextKey("IDS_FINAL_BUTTON_GOTO");
        for (int id : {IDC_RELAY_LABEL, IDC_RELAY, IDC_LANE_SPIN, IDC_LANE_PREV, IDC_LANE_NEXT, IDC_LANE_FIRST,
                       IDC_LANE_LAST})
            item(id).hide();
    } else {
        // Lanes change by the buttons and the go-to dialog.
        item(IDC_LANE).setReadOnly(true);
        item(IDC_LANE_SPIN).enable(false);
    }
    item(IDC_SERIE).setText(m_obj.programs.GetSerieName(m_final.Series(), nullptr, 0));
    item(IDC_TEMPO).setNumber(m_final.Tempo());
    item(IDC_MAXSHOT).setNumber(m_final.MaxShot());
    const int markType = m_obj.CompInt(CompSettings::kFinalMarkType);
    item(markType == 1 ? IDC_MARKTYPE1 : IDC_MARKTYPE0).setCheck(1);
    m_initialised = true;
    m_final.LoadLane(m_final.Lane(), -1);
    ShowTexts();
    return true;
}

void CDlgFinal::ShowTexts()
{
    const int lane = m_final.Lane();
    item(IDC_LANE).setNumber(lane);
    item(IDC_RELAY).setNumber(m_final.Relay());
    item(IDC_SHOT).setNumber(m_final.ShotIndex());
    item(IDC_INFO_NAME).setText(m_final.Name());
    item(IDC_INFO_LANE).setNumber(lane);
    item(IDC_INFO_SHOT).setNumber(m_final.ShotIndex());
    item(IDC_INFO_VALUE).setText(m_final.ShotValueText());
    const int start = m_final.StartValue();
    const int marked = m_final.MarkedSum();
    item(IDC_INFO_START).setText(FinalMarking::SumText(start));
    item(IDC_INFO_MARKED).setText(FinalMarking::SumText(marked));
    item(IDC_INFO_TOTAL).setText(FinalMarking::SumText(start + marked));
}

void CDlgFinal::ChangeLane(int lane, int relay)
{
    if (lane == m_final.Lane() && (relay < 0 || relay == m_final.Relay()))
        return;
    KillTimer(kTempoTimer);
    m_final.ChangeLane(lane, relay);
    ShowTexts();
}

void CDlgFinal::OnGoTo()
{
    if (m_final.StartNumbers()) {
        ChangeLane(std::atoi(item(IDC_LANE).text().c_str()));
        return;
    }
    CDlgLaneSel d(this);
    d.m_title = m_obj.Text("IDS_FINAL_TITLE_LANESEL");
    d.m_hideAll = true;
    d.m_lane = m_final.Lane();
    d.m_relay = m_final.Relay();
    if (d.DoModal() != platform::IDOK)
        return;
    ChangeLane(d.m_lane, d.m_relay);
}

void CDlgFinal::OnTempoChange()
{
    if (!m_initialised)
        return;
    const int typed = std::atoi(item(IDC_TEMPO).text().c_str());
    m_final.SetTempo(typed);
    if (m_final.Tempo() != typed && !item(IDC_TEMPO).text().empty())
        item(IDC_TEMPO).setNumber(m_final.Tempo());
}

void CDlgFinal::OnMarkType()
{
    CBVConfig& config = m_obj.comp.CompConfig();
    if (config.IsOpen())
        WriteItem(config, CompSettings::kFinalMarkType, item(IDC_MARKTYPE1).check() != 0 ? 1 : 0);
}

void CDlgFinal::OnTimer(int id)
{
    if (id != kTempoTimer)
        return;
    KillTimer(kTempoTimer);
    if (m_final.Tick())
        SetTimer(kTempoTimer, 1000);
    ShowTexts();
}

void CDlgFinal::Finish(int result)
{
    KillTimer(kTempoTimer);
    m_final.End();
    EndDialog(result);
}

void CDlgFinal::OnOK() { Finish(platform::IDOK); }

void CDlgFinal::OnCancel() { Finish(platform::IDCANCEL); }
