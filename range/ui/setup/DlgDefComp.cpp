#include "range/ui/setup/DlgDefComp.h"

#include "foundation/comp/DataComp.h"
#include "platform/system/TextTable.h"
#include "range/base/RangeObjects.h"

#include <string>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgDefComp;
using namespace platform;

// Labels without an id of their own in the program's screens.
enum { kLabelName = 65001, kLabelDate, kLabelDescription, kLabelOrganisation, kLabelProgram, kLabelPrefix,
       kLabelDistance, kLabelSimulated, kOptionGroup };

constexpr int kNumber = CS_NUMBER;

const ControlTemplate kControls[] = {
    // Lanes.
    {.id = D::IDC_LANE_GROUP, .kind = ControlKind::Group, .row = 0, .col = 0, .rowSpan = 5, .key = "IDS_DEFCOMP_LANE"},
    {.id = D::IDC_LANES, .kind = ControlKind::ListView, .parent = D::IDC_LANE_GROUP, .row = 0, .col = 0, .colSpan = 2,
     .style = CS_CHECKBOXES | CS_STRETCH},
    {.id = D::IDC_ALL, .kind = ControlKind::Button, .parent = D::IDC_LANE_GROUP, .row = 1, .col = 0,
     .key = "IDS_DEFCOMP_ALL"},
    {.id = D::IDC_NONE, .kind = ControlKind::Button, .parent = D::IDC_LANE_GROUP, .row = 1, .col = 1,
     .key = "IDS_DEFCOMP_NONE"},

    // The competition.
    {.id = D::IDC_COMP_GROUP, .kind = ControlKind::Group, .row = 0, .col = 1, .rowSpan = 5, .key = "IDS_DEFCOMP_COMP"},
    {.id = kLabelName, .kind = ControlKind::Static, .parent = D::IDC_COMP_GROUP, .row = 0, .col = 0,
     .key = "IDS_DEFCOMP_NAME"},
    {.id = D::IDC_NAME, .kind = ControlKind::Edit, .parent = D::IDC_COMP_GROUP, .row = 0, .col = 1, .colSpan = 2,
     .limit = 30},
    {.id = kLabelDate, .kind = ControlKind::Static, .parent = D::IDC_COMP_GROUP, .row = 1, .col = 0,
     .key = "IDS_DEFCOMP_DATE"},
    {.id = D::IDC_DATE, .kind = ControlKind::Edit, .parent = D::IDC_COMP_GROUP, .row = 1, .col = 1, .colSpan = 2,
     .limit = 30},
    {.id = kLabelDescription, .kind = ControlKind::Static, .parent = D::IDC_COMP_GROUP, .row = 2, .col = 0,
     .key = "IDS_DEFCOMP_DESCR"},
    {.id = D::IDC_DESCRIPTION, .kind = ControlKind::Edit, .parent = D::IDC_COMP_GROUP, .row = 2, .col = 1,
     .colSpan = 2, .style = CS_MULTILINE, .limit = 60},
    {.id = kLabelOrganisation, .kind = ControlKind::Static, .parent = D::IDC_COMP_GROUP, .row = 3, .col = 0,
     .key = "IDS_DEFCOMP_ORG"},
    {.id = D::IDC_ORGANISATION, .kind = ControlKind::ComboList, .parent = D::IDC_COMP_GROUP, .row = 3, .col = 1,
     .colSpan = 2},
    {.id = kLabelProgram, .kind = ControlKind::Static, .parent = D::IDC_COMP_GROUP, .row = 4, .col = 0,
     .key = "IDS_DEFCOMP_PROGRAM"},
    {.id = D::IDC_PROGRAM, .kind = ControlKind::ComboList, .parent = D::IDC_COMP_GROUP, .row = 4, .col = 1,
     .colSpan = 2},
    {.id = kLabelPrefix, .kind = ControlKind::Static, .parent = D::IDC_COMP_GROUP, .row = 5, .col = 0,
     .key = "IDS_DEFCOMP_PREFIX"},
    {.id = D::IDC_PREFIX, .kind = ControlKind::Edit, .parent = D::IDC_COMP_GROUP, .row = 5, .col = 1, .limit = 10},
    {.id = kLabelDistance, .kind = ControlKind::Static, .parent = D::IDC_COMP_GROUP, .row = 6, .col = 0,
     .key = "IDS_DEFCOMP_ACTUAL"},
    {.id = D::IDC_DISTANCE, .kind = ControlKind::Edit, .parent = D::IDC_COMP_GROUP, .row = 6, .col = 1,
     .style = kNumber, .limit = 4},
    {.id = D::IDC_DISTANCE_SPIN, .kind = ControlKind::Spin, .parent = D::IDC_COMP_GROUP, .row = 6, .col = 2,
     .buddy = D::IDC_DISTANCE, .min = 1, .max = 999},
    {.id = kLabelSimulated, .kind = ControlKind::Static, .parent = D::IDC_COMP_GROUP, .row = 7, .col = 0,
     .key = "IDS_DEFCOMP_SIMULATE"},
    {.id = D::IDC_SIMULATED, .kind = ControlKind::Edit, .parent = D::IDC_COMP_GROUP, .row = 7, .col = 1,
     .style = kNumber, .limit = 4},
    {.id = D::IDC_SIMULATED_SPIN, .kind = ControlKind::Spin, .parent = D::IDC_COMP_GROUP, .row = 7, .col = 2,
     .buddy = D::IDC_SIMULATED, .min = 1, .max = 999},
    {.id = D::IDC_STARTNR, .kind = ControlKind::Check, .parent = D::IDC_COMP_GROUP, .row = 8, .col = 0, .colSpan = 3,
     .key = "IDS_DEFCOMP_STARTNR"},
    {.id = D::IDC_TWIN, .kind = ControlKind::Check, .parent = D::IDC_COMP_GROUP, .row = 9, .col = 0,
     .key = "IDS_DEFCOMP_TWIN"},
    {.id = D::IDC_TWIN_LANE, .kind = ControlKind::Edit, .parent = D::IDC_COMP_GROUP, .row = 9, .col = 1,
     .style = kNumber, .limit = 3},
    {.id = D::IDC_TWIN_SPIN, .kind = ControlKind::Spin, .parent = D::IDC_COMP_GROUP, .row = 9, .col = 2,
     .buddy = D::IDC_TWIN_LANE, .min = 1, .max = CompSettingsForm::kMaxLane},
    {.id = D::IDC_SUPERFINAL, .kind = ControlKind::Check, .parent = D::IDC_COMP_GROUP, .row = 10, .col = 0,
     .key = "IDS_DEFCOMP_SUPERFINAL"},
    {.id = D::IDC_SUPERFINAL_NUMBER, .kind = ControlKind::Edit, .parent = D::IDC_COMP_GROUP, .row = 10, .col = 1,
     .style = kNumber, .limit = 1},
    {.id = D::IDC_SUPERFINAL_SPIN, .kind = ControlKind::Spin, .parent = D::IDC_COMP_GROUP, .row = 10, .col = 2,
     .buddy = D::IDC_SUPERFINAL_NUMBER, .min = 0, .max = 9},
    {.id = D::IDC_WARNING, .kind = ControlKind::Check, .parent = D::IDC_COMP_GROUP, .row = 11, .col = 0,
     .colSpan = 3, .key = "IDS_DEFCOMP_SUPERWARNING", .style = CS_HIDDEN},
    {.id = D::IDC_LANE_TEXT_LABEL, .kind = ControlKind::Static, .parent = D::IDC_COMP_GROUP, .row = 12, .col = 0,
     .key = "IDS_DEFCOMP_STOPMSG"},
    {.id = D::IDC_LANE_TEXT, .kind = ControlKind::Edit, .parent = D::IDC_COMP_GROUP, .row = 12, .col = 1,
     .colSpan = 2, .limit = 31},

    // Start score, zoom, series measure, marking, sensitivity.
    {.id = D::IDC_STARTSUM_GROUP, .kind = ControlKind::Group, .row = 0, .col = 2, .key = "IDS_DEFCOMP_STARTSUM"},
    {.id = D::IDC_STARTSUM0, .kind = ControlKind::Radio, .parent = D::IDC_STARTSUM_GROUP, .row = 0, .col = 0,
     .key = "IDS_DEFCOMP_STARTSUM0", .style = CS_GROUP},
    {.id = D::IDC_STARTSUM0 + 1, .kind = ControlKind::Radio, .parent = D::IDC_STARTSUM_GROUP, .row = 1, .col = 0,
     .key = "IDS_DEFCOMP_STARTSUM1"},
    {.id = D::IDC_STARTSUM0 + 2, .kind = ControlKind::Radio, .parent = D::IDC_STARTSUM_GROUP, .row = 2, .col = 0,
     .key = "IDS_DEFCOMP_STARTSUM2", .style = CS_HIDDEN},
    {.id = D::IDC_ZOOM_GROUP, .kind = ControlKind::Group, .row = 1, .col = 2, .key = "IDS_DEFCOMP_ZOOM"},
    {.id = D::IDC_ZOOM0, .kind = ControlKind::Radio, .parent = D::IDC_ZOOM_GROUP, .row = 0, .col = 0, .colSpan = 2,
     .key = "IDS_DEFCOMP_ZOOM0", .style = CS_GROUP},
    {.id = D::IDC_ZOOM0 + 1, .kind = ControlKind::Radio, .parent = D::IDC_ZOOM_GROUP, .row = 1, .col = 0,
     .colSpan = 2, .key = "IDS_DEFCOMP_ZOOM1"},
    {.id = D::IDC_ZOOM0 + 2, .kind = ControlKind::Radio, .parent = D::IDC_ZOOM_GROUP, .row = 2, .col = 0,
     .key = "IDS_DEFCOMP_ZOOM2"},
    {.id = D::IDC_ZOOM_LEVEL, .kind = ControlKind::Edit, .parent = D::IDC_ZOOM_GROUP, .row = 2, .col = 1,
     .style = kNumber, .limit = 2},
    {.id = D::IDC_ZOOM_SPIN, .kind = ControlKind::Spin, .parent = D::IDC_ZOOM_GROUP, .row = 2, .col = 2,
     .buddy = D::IDC_ZOOM_LEVEL, .min = 0, .max = 10},
    {.id = D::IDC_MEASURE_GROUP, .kind = ControlKind::Group, .row = 2, .col = 2, .key = "IDS_DEFCOMP_MEASSURE"},
    {.id = D::IDC_MEASURE0, .kind = ControlKind::Radio, .parent = D::IDC_MEASURE_GROUP, .row = 0, .col = 0,
     .colSpan = 3, .key = "IDS_DEFCOMP_MEASSURE0", .style = CS_GROUP},
    {.id = D::IDC_MEASURE0 + 1, .kind = ControlKind::Radio, .parent = D::IDC_MEASURE_GROUP, .row = 1, .col = 0,
     .colSpan = 3, .key = "IDS_DEFCOMP_MEASSURE1"},
    {.id = D::IDC_MEASURE0 + 2, .kind = ControlKind::Radio, .parent = D::IDC_MEASURE_GROUP, .row = 2, .col = 0,
     .colSpan = 3, .key = "IDS_DEFCOMP_MEASSURE2"},
    {.id = D::IDC_MEASURE3, .kind = ControlKind::Radio, .parent = D::IDC_MEASURE_GROUP, .row = 3, .col = 0,
     .colSpan = 3, .key = "IDS_DEFCOMP_MEASSURE3"},
    {.id = D::IDC_DEC_LABEL, .kind = ControlKind::Static, .parent = D::IDC_MEASURE_GROUP, .row = 4, .col = 0,
     .key = "IDS_DEFCOMP_DEC"},
    {.id = D::IDC_DECIMALS, .kind = ControlKind::Edit, .parent = D::IDC_MEASURE_GROUP, .row = 4, .col = 1,
     .style = kNumber, .limit = 1},
    {.id = D::IDC_DECIMALS_SPIN, .kind = ControlKind::Spin, .parent = D::IDC_MEASURE_GROUP, .row = 4, .col = 2,
     .buddy = D::IDC_DECIMALS, .min = 0, .max = 3},
    {.id = D::IDC_MARK_GROUP, .kind = ControlKind::Group, .row = 3, .col = 2, .key = "IDS_DEFCOMP_MARK"},
    {.id = D::IDC_TEMPO_LABEL, .kind = ControlKind::Static, .parent = D::IDC_MARK_GROUP, .row = 0, .col = 0,
     .key = "IDS_DEFCOMP_TEMPO"},
    {.id = D::IDC_TEMPO, .kind = ControlKind::Edit, .parent = D::IDC_MARK_GROUP, .row = 0, .col = 1,
     .style = kNumber, .limit = 1},
    {.id = D::IDC_TEMPO_SPIN, .kind = ControlKind::Spin, .parent = D::IDC_MARK_GROUP, .row = 0, .col = 2,
     .buddy = D::IDC_TEMPO, .min = 0, .max = 9},
    {.id = D::IDC_SENSITIVITY_GROUP, .kind = ControlKind::Group, .row = 4, .col = 2, .key = "IDS_DEFCOMP_SENSITIVITY",
     .style = CS_HIDDEN},
    {.id = D::IDC_SENSITIVITY0, .kind = ControlKind::Radio, .parent = D::IDC_SENSITIVITY_GROUP, .row = 0, .col = 0,
     .key = "IDS_DEFCOMP_SENSITIVITY0", .style = CS_GROUP | CS_HIDDEN},
    {.id = D::IDC_SENSITIVITY0 + 1, .kind = ControlKind::Radio, .parent = D::IDC_SENSITIVITY_GROUP, .row = 1,
     .col = 0, .key = "IDS_DEFCOMP_SENSITIVITY1", .style = CS_HIDDEN},
    {.id = D::IDC_SENSITIVITY0 + 2, .kind = ControlKind::Radio, .parent = D::IDC_SENSITIVITY_GROUP, .row = 2,
     .col = 0, .key = "IDS_DEFCOMP_SENSITIVITY2", .style = CS_HIDDEN},
    {.id = D::IDC_SENSITIVITY0 + 3, .kind = ControlKind::Radio, .parent = D::IDC_SENSITIVITY_GROUP, .row = 3,
     .col = 0, .key = "IDS_DEFCOMP_SENSITIVITY3", .style = CS_HIDDEN},

    // The option boxes, their texts and states from the options' table.
    {.id = kOptionGroup, .kind = ControlKind::Group, .row = 0, .col = 3, .rowSpan = 5},
    {.id = 1108, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 0, .col = 0},
    {.id = 1109, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 1, .col = 0},
    {.id = 1112, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 2, .col = 0},
    {.id = 1110, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 3, .col = 0},
    {.id = 1125, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 4, .col = 0},
    {.id = 1126, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 5, .col = 0},
    {.id = 1111, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 6, .col = 0},
    {.id = 1113, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 7, .col = 0},
    {.id = 1130, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 8, .col = 0},
    {.id = 1135, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 9, .col = 0},
    {.id = 1136, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 10, .col = 0},
    {.id = 1137, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 11, .col = 0},
    {.id = 1139, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 12, .col = 0},
    {.id = D::IDC_AUTOSEND, .kind = ControlKind::Check, .parent = kOptionGroup, .row = 13, .col = 0},

    {.id = D::IDC_DEFAULT, .kind = ControlKind::Button, .row = 5, .col = 0, .key = "IDS_DEFCOMP_DEFAULT"},
    {.id = D::IDC_CANCEL, .kind = ControlKind::Button, .row = 5, .col = 2, .key = "IDS_CANCEL"},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 5, .col = 3, .key = "IDS_OK", .style = CS_DEFAULT},
};

const DialogTemplate kTemplate{
    .id = CDlgDefComp::IDD, .captionKey = "IDS_DEFCOMP_TITLE", .cx = 520, .cy = 270, .controls = kControls};

const char* const kOrganisationKeys[] = {"IDS_ORG_PRIVAT", "IDS_ORG_DFS", "IDS_ORG_NSF",  "IDS_ORG_NJFF",
                                         "IDS_ORG_FSR",    "IDS_ORG_ISSF", "IDS_ORG_SSF", "IDS_ORG_USA"};

void Stop(const char* key) { MessageBox(TextOfKey(key), {}, MessageIcon::Stop); }

}  // namespace

const std::array<CDlgDefComp::OptionBox, 15>& CDlgDefComp::OptionBoxes()
{
    static const std::array<OptionBox, 15> boxes = {{
        {1130, CompOptions::BlockAllMarking},
        {1108, CompOptions::Resolution100},
        {1112, CompOptions::BlackAimingMark},
        {1111, CompOptions::ShooterClock},
        {1109, CompOptions::DisplayEnergy},
        {1110, CompOptions::RemoveFrameShots},
        {1125, CompOptions::RemindSendResults},
        {1126, CompOptions::RemindChangeSeries},
        {1113, CompOptions::AutoWelcomeText},
        {IDC_STARTNR, CompOptions::StartNumbers},
        {1135, CompOptions::EnglishDisplayText},
        {1136, CompOptions::ShooterSelectsSeries},
        {1137, CompOptions::RelayChangeAllLanes},
        {1139, CompOptions::Last10ShotsButton},
        {IDC_AUTOSEND, CompOptions::SendResultsAutomatically},
    }};
    return boxes;
}

CDlgDefComp::CDlgDefComp(QWidget* parent, RangeObjects& objects, int competition)
    : Dialog(kTemplate, parent), m_obj(objects), m_competition(competition)
{
    // Each option box shows and greys as the options' table has it.
    for (const OptionBox& box : OptionBoxes())
        for (const CompOptions::Info& info : CompOptions::Table())
            if (info.position == box.position) {
                Control c = item(box.id);
                c.setTextKey(info.textKey);
                c.show(info.box == CompOptions::Box::Shown || info.box == CompOptions::Box::ShownDisabled);
                c.enable(info.box == CompOptions::Box::Shown || info.box == CompOptions::Box::Hidden);
            }
    OnClick(IDC_ALL, [this] { OnAllLanes(true); });
    OnClick(IDC_NONE, [this] { OnAllLanes(false); });
    OnClick(IDC_DEFAULT, [this] { OnDefault(); });
    OnClick(IDC_AUTOSEND, [this] { OnAutoSend(); });
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
    OnSelChange(IDC_ORGANISATION, [this] { OnOrganisationChange(); });
}

CDlgDefComp::~CDlgDefComp() = default;

bool CDlgDefComp::HasChannel(int lane) const
{
    return LaneTable::IsLane(lane) && m_obj.lanes[lane].channelType != 0;
}

bool CDlgDefComp::OnInitDialog()
{
    // The dialog's own competition data: it edits this competition's file
    // whether or not the range has a competition open.
    m_data = std::make_unique<CDataComp>();
    m_data->Open(m_competition, 1);

    Control lanes = item(IDC_LANES);
    // Forty pixels for the lane number, as "100" needs, and the check box's
    // own room beside it: the box is drawn inside the column here.
    lanes.insertColumn(0, TextOfKey("IDS_DEFCOMP_H1"), 40 + 24);
    m_form.ListLanes([this](int lane) { return HasChannel(lane); });
    for (const CompSettingsForm::Lane& row : m_form.lanes)
        lanes.addItem(std::to_string(row.lane), row.lane);

    Control organisation = item(IDC_ORGANISATION);
    for (int o = 0; o < static_cast<int>(std::size(kOrganisationKeys)); ++o)
        organisation.addItem(TextOfKey(kOrganisationKeys[o]), o);

    m_form.Load(m_data->CompConfig());
    organisation.setSelection(m_form.organisation);
    FillPrograms();
    SelectProgram(m_form.program);
    m_warning = 0;
    UpdateData(false);
    ShowLanes();
    m_startNumbersAtLoad = m_form.options.IsOn(CompOptions::StartNumbers);
    return true;
}

void CDlgDefComp::DoDataExchange(DataExchange& dx)
{
    dx.Text(IDC_NAME, m_form.name);
    dx.MaxChars(IDC_NAME, m_form.name, 30);
    dx.Text(IDC_DATE, m_form.date);
    dx.MaxChars(IDC_DATE, m_form.date, 30);
    dx.Text(IDC_DESCRIPTION, m_form.description);
    dx.MaxChars(IDC_DESCRIPTION, m_form.description, 60);
    dx.Text(IDC_PREFIX, m_form.prefix);
    dx.MaxChars(IDC_PREFIX, m_form.prefix, 10);
    dx.Text(IDC_ZOOM_LEVEL, m_form.zoomLevel);
    dx.Text(IDC_TEMPO, m_form.tempo);
    for (size_t i = 0; i < OptionBoxes().size(); ++i) {
        const OptionBox& box = OptionBoxes()[i];
        if (!dx.Saving())
            m_boxes[i] = m_form.options.IsOn(box.position) ? 1 : 0;
        dx.Check(box.id, m_boxes[i]);
        if (dx.Saving())
            m_form.options.Set(box.position, m_boxes[i] != 0);
    }
    dx.Radio(IDC_SENSITIVITY0, m_form.sensitivity);
    dx.Radio(IDC_STARTSUM0, m_form.startScore);
    dx.Radio(IDC_ZOOM0, m_form.zoomMode);
    dx.Radio(IDC_MEASURE0, m_form.seriesMeasure);
    dx.Text(IDC_DISTANCE, m_form.distance);
    dx.Text(IDC_SIMULATED, m_form.simulatedDistance);
    dx.Check(IDC_TWIN, m_form.twinBox);
    dx.Text(IDC_TWIN_LANE, m_form.twinLane);
    dx.Text(IDC_DECIMALS, m_form.decimals);
    dx.Check(IDC_SUPERFINAL, m_form.superFinalBox);
    dx.Check(IDC_WARNING, m_warning);
    dx.Text(IDC_SUPERFINAL_NUMBER, m_form.superFinalNumber);
    dx.Text(IDC_LANE_TEXT, m_form.laneText);
}

void CDlgDefComp::ShowLanes()
{
    Control lanes = item(IDC_LANES);
    for (size_t row = 0; row < m_form.lanes.size(); ++row)
        lanes.setItemCheck(static_cast<int>(row), m_form.lanes[row].ticked);
}

void CDlgDefComp::TakeLanes()
{
    Control lanes = item(IDC_LANES);
    for (size_t row = 0; row < m_form.lanes.size(); ++row)
        m_form.lanes[row].ticked = lanes.itemCheck(static_cast<int>(row));
}

void CDlgDefComp::TakeOrganisationAndProgram()
{
    // A list that cannot show the stored value has no selection: the value
    // stays as it was, as the officer did not choose another.
    int organisation = item(IDC_ORGANISATION).selection();
    if (organisation >= 0)
        m_form.organisation = organisation;
    Control programs = item(IDC_PROGRAM);
    int row = programs.selection();
    if (row >= 0)
        m_form.program = static_cast<int>(programs.itemData(row));
}

void CDlgDefComp::FillPrograms()
{
    Control programs = item(IDC_PROGRAM);
    programs.resetContent();
    int organisation = item(IDC_ORGANISATION).selection();
    if (organisation < 0)
        return;
    for (const CompSettingsForm::ProgramEntry& e : CompSettingsForm::ProgramsOf(organisation, m_obj.programs))
        programs.addItem(e.name, e.number);
}

void CDlgDefComp::SelectProgram(int number)
{
    Control programs = item(IDC_PROGRAM);
    programs.setSelection(programs.findItemData(number));
}

void CDlgDefComp::OnOrganisationChange()
{
    Control programs = item(IDC_PROGRAM);
    int row = programs.selection();
    int chosen = row < 0 ? m_form.program : static_cast<int>(programs.itemData(row));
    FillPrograms();
    SelectProgram(chosen);
    // A program of another organisation is no choice: its first one is.
    if (programs.selection() < 0 && programs.count() > 0)
        programs.setSelection(0);
}

void CDlgDefComp::OnAllLanes(bool ticked)
{
    Control lanes = item(IDC_LANES);
    for (int row = 0; row < lanes.count(); ++row)
        lanes.setItemCheck(row, ticked);
}

void CDlgDefComp::OnDefault()
{
    if (!UpdateData(true))
        return;
    TakeOrganisationAndProgram();
    m_form.ApplyDefault();
    UpdateData(false);
}

void CDlgDefComp::OnAutoSend()
{
    Control box = item(IDC_AUTOSEND);
    if (box.check() == 0)
        return;
    int answer = MessageBox(TextOfKey("IDS_DEFCOMP_AUTOWRN"), {}, MessageIcon::Exclamation, MessageButtons::YesNo);
    if (answer != IDYES)
        box.setCheck(0);
}

void CDlgDefComp::OnOK()
{
    // A field the officer must correct keeps the dialog open.
    if (!UpdateData(true))
        return;
    TakeLanes();
    TakeOrganisationAndProgram();
    if (const char* refusal = m_form.Check([this](int lane) { return HasChannel(lane); })) {
        Stop(refusal);
        return;
    }
    m_reload = m_form.Write(m_data->CompConfig(), m_startNumbersAtLoad);
    m_data.reset();
    EndDialog(IDOK);
}

void CDlgDefComp::OnCancel()
{
    m_data.reset();
    EndDialog(IDCANCEL);
}
