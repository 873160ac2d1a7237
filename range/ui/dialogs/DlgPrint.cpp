#include "range/ui/dialogs/DlgPrint.h"

#include "platform/system/TextTable.h"

#include <QGridLayout>

#include <string>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgPrint;

constexpr int kProperties = D::IDC_PROPERTIES;

const ControlTemplate kControls[] = {
    {.id = D::IDC_RELAY_LABEL, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_PRINT_STATIC_RELAY"},
    {.id = D::IDC_RELAY_FROM, .kind = ControlKind::Edit, .row = 0, .col = 1, .style = platform::CS_NUMBER, .limit = 4},
    {.id = D::IDC_RELAY_FROM_SPIN, .kind = ControlKind::Spin, .row = 0, .col = 2, .buddy = D::IDC_RELAY_FROM, .min = 1,
     .max = 9999},
    {.id = D::IDC_RELAY_TO_LABEL, .kind = ControlKind::Static, .row = 0, .col = 3, .key = "IDS_PRINT_STATIC_RELAY2"},
    {.id = D::IDC_RELAY_TO, .kind = ControlKind::Edit, .row = 0, .col = 4, .style = platform::CS_NUMBER, .limit = 4},
    {.id = D::IDC_RELAY_TO_SPIN, .kind = ControlKind::Spin, .row = 0, .col = 5, .buddy = D::IDC_RELAY_TO, .min = 1,
     .max = 9999},
    {.id = D::IDC_LANE_LABEL, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_PRINT_STATIC_LANE"},
    {.id = D::IDC_LANE_FROM, .kind = ControlKind::Edit, .row = 1, .col = 1, .style = platform::CS_NUMBER, .limit = 3},
    {.id = D::IDC_LANE_FROM_SPIN, .kind = ControlKind::Spin, .row = 1, .col = 2, .buddy = D::IDC_LANE_FROM, .min = 1,
     .max = 100},
    {.id = D::IDC_LANE_TO_LABEL, .kind = ControlKind::Static, .row = 1, .col = 3, .key = "IDS_PRINT_STATIC_LANE2"},
    {.id = D::IDC_LANE_TO, .kind = ControlKind::Edit, .row = 1, .col = 4, .style = platform::CS_NUMBER, .limit = 3},
    {.id = D::IDC_LANE_TO_SPIN, .kind = ControlKind::Spin, .row = 1, .col = 5, .buddy = D::IDC_LANE_TO, .min = 1,
     .max = 100},
    {.id = D::IDC_ALL, .kind = ControlKind::Check, .row = 2, .col = 0, .colSpan = 6, .key = "IDS_PRINT_CHECK_ALL"},
    {.id = D::IDC_GRAPHICAL, .kind = ControlKind::Radio, .row = 3, .col = 0, .colSpan = 3,
     .key = "IDS_PRINT_RADIO_GRAPHICAL", .style = platform::CS_GROUP},
    {.id = D::IDC_LIST, .kind = ControlKind::Radio, .row = 3, .col = 3, .colSpan = 3, .key = "IDS_PRINT_RADIO_LIST"},

    {.id = kProperties, .kind = ControlKind::Group, .row = 4, .col = 0, .colSpan = 6,
     .key = "IDS_PRINT_STATIC_PROPERTIES"},
    {.id = D::IDC_PAGE_LABEL, .kind = ControlKind::Static, .parent = kProperties, .row = 0, .col = 0, .colSpan = 3,
     .key = "IDS_PRINT_STATIC_PAGESIZE"},
    {.id = D::IDC_PAGE, .kind = ControlKind::Edit, .parent = kProperties, .row = 0, .col = 3, .colSpan = 2,
     .style = platform::CS_NUMBER, .limit = 2},
    {.id = D::IDC_PAGE_SPIN, .kind = ControlKind::Spin, .parent = kProperties, .row = 0, .col = 5,
     .buddy = D::IDC_PAGE, .min = 1, .max = 20},
    {.id = D::IDC_MARGIN_LABEL, .kind = ControlKind::Static, .parent = kProperties, .row = 1, .col = 0, .colSpan = 3,
     .key = "IDS_PRINT_STATIC_MARGIN"},
    {.id = D::IDC_MARGIN, .kind = ControlKind::Edit, .parent = kProperties, .row = 1, .col = 3, .colSpan = 2,
     .style = platform::CS_NUMBER, .limit = 2},
    {.id = D::IDC_MARGIN_SPIN, .kind = ControlKind::Spin, .parent = kProperties, .row = 1, .col = 5,
     .buddy = D::IDC_MARGIN, .min = 0, .max = 50},
    {.id = D::IDC_MARGIN_UNIT, .kind = ControlKind::Static, .parent = kProperties, .row = 1, .col = 6, .text = "mm"},
    {.id = D::IDC_BLACK, .kind = ControlKind::Check, .parent = kProperties, .row = 2, .col = 0, .colSpan = 5,
     .key = "IDS_PRINT_CHECK_BLACK"},
    {.id = D::IDC_PRACTICE, .kind = ControlKind::Check, .parent = kProperties, .row = 2, .col = 5, .colSpan = 5,
     .key = "IDS_PRINT_CHECK_PRACTICE"},
    {.id = D::IDC_NAMES, .kind = ControlKind::Check, .parent = kProperties, .row = 3, .col = 0, .colSpan = 5,
     .key = "IDS_PRINT_CHECK_NAMES"},
    {.id = D::IDC_TRUE_SIZE, .kind = ControlKind::Check, .parent = kProperties, .row = 3, .col = 5, .colSpan = 5,
     .key = "IDS_PRINT_CHECK_ONETOONE"},
    {.id = D::IDC_GAUGE_LABEL, .kind = ControlKind::Static, .parent = kProperties, .row = 4, .col = 0, .colSpan = 3,
     .key = "IDS_PRINT_STATIC_GAUGE"},
    {.id = D::IDC_GAUGE, .kind = ControlKind::ComboList, .parent = kProperties, .row = 4, .col = 3, .colSpan = 7},
    {.id = D::IDC_ZOOM_LABEL, .kind = ControlKind::Static, .parent = kProperties, .row = 5, .col = 0, .colSpan = 3,
     .key = "IDS_PRINT_STATIC_ZOOM"},
    {.id = D::IDC_COMPLETE, .kind = ControlKind::Check, .parent = kProperties, .row = 5, .col = 3, .colSpan = 7,
     .key = "IDS_PRINT_CHECK0"},
    {.id = D::IDC_ZOOM1, .kind = ControlKind::Check, .parent = kProperties, .row = 6, .col = 0, .text = "1"},
    {.id = D::IDC_ZOOM1 + 1, .kind = ControlKind::Check, .parent = kProperties, .row = 6, .col = 1, .text = "2"},
    {.id = D::IDC_ZOOM1 + 2, .kind = ControlKind::Check, .parent = kProperties, .row = 6, .col = 2, .text = "3"},
    {.id = D::IDC_ZOOM1 + 3, .kind = ControlKind::Check, .parent = kProperties, .row = 6, .col = 3, .text = "4"},
    {.id = D::IDC_ZOOM1 + 4, .kind = ControlKind::Check, .parent = kProperties, .row = 6, .col = 4, .text = "5"},
    {.id = D::IDC_ZOOM1 + 5, .kind = ControlKind::Check, .parent = kProperties, .row = 6, .col = 5, .text = "6"},
    {.id = D::IDC_ZOOM1 + 6, .kind = ControlKind::Check, .parent = kProperties, .row = 6, .col = 6, .text = "7"},
    {.id = D::IDC_ZOOM1 + 7, .kind = ControlKind::Check, .parent = kProperties, .row = 6, .col = 7, .text = "8"},
    {.id = D::IDC_ZOOM1 + 8, .kind = ControlKind::Check, .parent = kProperties, .row = 6, .col = 8, .text = "9"},
    {.id = D::IDC_ZOOM1 + 9, .kind = ControlKind::Check, .parent = kProperties, .row = 6, .col = 9, .text = "10"},

    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 5, .col = 0, .colSpan = 3, .key = "IDS_PRINT_BUTTON_OK",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_CANCEL, .kind = ControlKind::Button, .row = 5, .col = 3, .colSpan = 3,
     .key = "IDS_PRINT_BUTTON_CANCEL"},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_LANESEL_TITLE_PRINT", .cx = 250, .cy = 195, .controls = kControls};

// What only graphical cards have, and what goes with each of true size on and off.
const int kCardControls[] = {D::IDC_TRUE_SIZE, D::IDC_BLACK,  D::IDC_PRACTICE,     D::IDC_PAGE,
                             D::IDC_PAGE_SPIN, D::IDC_PAGE_LABEL, D::IDC_MARGIN,   D::IDC_MARGIN_SPIN,
                             D::IDC_MARGIN_LABEL, D::IDC_MARGIN_UNIT};
const int kGaugeControls[] = {D::IDC_GAUGE, D::IDC_GAUGE_LABEL};
const int kLaneControls[] = {D::IDC_LANE_FROM, D::IDC_LANE_FROM_SPIN, D::IDC_LANE_TO,
                             D::IDC_LANE_TO_SPIN, D::IDC_LANE_LABEL, D::IDC_LANE_TO_LABEL};

}  // namespace

CDlgPrint::CDlgPrint(QWidget* parent, const CompOptions& options)
    : platform::Dialog(kTemplate, parent), m_startNumbers(options.IsOn(CompOptions::StartNumbers))
{
    OnClick(IDC_ALL, [this] { OnAllTargets(); });
    for (int id : {IDC_TRUE_SIZE, IDC_GRAPHICAL, IDC_LIST})
        OnClick(id, [this] { OnProperty(); });
    OnSelChange(IDC_GAUGE, [this] { m_gauge = item(IDC_GAUGE).selection(); });
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
}

bool CDlgPrint::OnInitDialog()
{
    if (!m_caption.empty())
        SetCaption(m_caption);
    if (m_startNumbers) {
        for (int id : kLaneControls)
            item(id).hide();
        item(IDC_RELAY_LABEL).setTextKey("IDS_PRINT_STATIC_RELAYB");
    }
    platform::Control gauge = item(IDC_GAUGE);
    gauge.resetContent();
    for (int i = 0; i < kGauges; ++i)
        gauge.addItem(platform::TextOfKey("IDS_PRINT_GAUGE_" + std::to_string(i)), i);
    // What stays of the properties keeps to the top of its frame.
    if (auto* properties = qobject_cast<QGridLayout*>(item(IDC_PROPERTIES).widget()->layout()))
        properties->setRowStretch(7, 1);
    UpdateData(false);
    ShowProperties();
    return true;
}

void CDlgPrint::DoDataExchange(platform::DataExchange& dx)
{
    dx.Text(IDC_RELAY_FROM, m_relayFrom);
    dx.Text(IDC_RELAY_TO, m_relayTo);
    dx.Text(IDC_LANE_FROM, m_laneFrom);
    dx.Text(IDC_LANE_TO, m_laneTo);
    dx.Check(IDC_ALL, m_allTargets);
    dx.Radio(IDC_GRAPHICAL, m_asList);
    dx.Text(IDC_PAGE, m_seriesPerPage);
    dx.Text(IDC_MARGIN, m_margin);
    dx.Check(IDC_BLACK, m_blackMark);
    dx.Check(IDC_PRACTICE, m_practice);
    dx.Check(IDC_NAMES, m_names);
    dx.Check(IDC_TRUE_SIZE, m_trueSize);
    dx.ComboIndex(IDC_GAUGE, m_gauge);
    dx.Check(IDC_COMPLETE, m_completeTarget);
    for (int i = 0; i < 10; ++i)
        dx.Check(IDC_ZOOM1 + i, m_zoom[i]);
}

// A list has no layout to choose; a card printed true size has no zoom but
// a gauge to draw its holes with.
void CDlgPrint::ShowProperties()
{
    bool cards = m_asList != 1;
    for (int id : kCardControls)
        item(id).show(cards);
    for (int id : kGaugeControls)
        item(id).show(cards && m_trueSize != 0);
    bool zoom = cards && m_trueSize == 0;
    item(IDC_ZOOM_LABEL).show(zoom);
    item(IDC_COMPLETE).show(zoom);
    for (int i = 0; i < 10; ++i)
        item(IDC_ZOOM1 + i).show(zoom);
}

void CDlgPrint::OnProperty()
{
    UpdateData(true);
    ShowProperties();
}

void CDlgPrint::OnAllTargets()
{
    UpdateData(true);
    bool ranges = m_allTargets == 0;
    for (int id : {IDC_RELAY_FROM_SPIN, IDC_RELAY_TO_SPIN, IDC_LANE_FROM_SPIN, IDC_LANE_TO_SPIN})
        item(id).enable(ranges);
    for (int id : {IDC_RELAY_FROM, IDC_RELAY_TO, IDC_LANE_FROM, IDC_LANE_TO})
        item(id).setReadOnly(!ranges);
}

void CDlgPrint::OnOK()
{
    if (UpdateData(true))
        EndDialog(platform::IDOK);
}

// The caller keeps what was chosen as its print settings, even when nothing
// is printed.
void CDlgPrint::OnCancel()
{
    UpdateData(true);
    EndDialog(platform::IDCANCEL);
}
