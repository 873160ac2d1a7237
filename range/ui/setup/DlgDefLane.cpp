#include "range/ui/setup/DlgDefLane.h"

#include "foundation/targets/TargetTypes.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Prompter.h"
#include "range/base/RangeObjects.h"

#include <QGridLayout>

#include <string>
#include <utility>
#include <vector>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgDefLane;

const ControlTemplate kControls[] = {
    {.id = D::IDC_ALL, .kind = ControlKind::Button, .row = 0, .col = 0, .key = "IDS_DEFLANE_ALL"},
    {.id = D::IDC_UPDATE, .kind = ControlKind::Button, .row = 0, .col = 1, .key = "IDS_DEFLANE_UPDATE",
     .style = platform::CS_HIDDEN},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 0, .col = 3, .key = "IDS_OK", .style = platform::CS_DEFAULT},
    {.id = D::IDC_NEXT, .kind = ControlKind::Button, .row = 1, .col = 0, .key = "IDS_DEFLANE_NEXT"},
    {.id = D::IDC_CANCEL, .kind = ControlKind::Button, .row = 1, .col = 3, .key = "IDS_CANCEL"},
    {.id = D::IDC_GRID, .kind = ControlKind::Custom, .row = 2, .col = 0, .colSpan = 4, .style = platform::CS_STRETCH},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_DEFLANE_TITLE", .cx = 410, .cy = 250, .controls = kControls};

struct ColumnSpec {
    const char* header;
    int width;
    bool leftAligned;
};
const ColumnSpec kColumnSpecs[D::kColumns] = {
    {"IDS_DEFLANE_H1", 50, false},  {"IDS_DEFLANE_H2", 150, true}, {"IDS_DEFLANE_H3", 100, true},
    {"IDS_DEFLANE_H4", 60, false},  {"IDS_DEFLANE_H5", 80, true},  {"IDS_DEFLANE_H6", 60, false},
    {"IDS_DEFLANE_H7", 60, false},
};

// A choice list shows the text column only.
constexpr int kChoiceTextWidth = 150;

std::string TextOf(const char* key) { return key ? platform::TextOfKey(key) : std::string(); }

// Fills a column's choice list with (code, text) pairs; a column without
// any choice takes typed text instead.
template <typename Choices>
void DefineChoices(CGridListCore& grid, int column, const Choices& choices)
{
    grid.SetColumnType(column, choices.empty() ? GRID_TEXT : GRID_CHOICE, 0);
    CGridColumn& def = *grid.Column(column);
    if (choices.empty())
        return;
    def.SetChoiceCount(static_cast<int>(choices.size()));
    for (size_t i = 0; i < choices.size(); ++i) {
        def.m_codes[i] = static_cast<uint16_t>(choices[i].first);
        def.m_texts[i] = choices[i].second;
    }
    def.m_listWidths[0] = 0;
    def.m_listWidths[1] = kChoiceTextWidth;
    def.m_listWidths[2] = 0;
    def.m_listWidths[3] = 0;
}

}  // namespace

CDlgDefLane::CDlgDefLane(RangeObjects& objects, QWidget* parent)
    : platform::Dialog(kTemplate, parent),
      m_obj(objects),
      m_grid(new CGridList(this)),
      m_handshake(
          *m_grid, [this](const GridCellEdit& edit) { StoreEdit(edit); },
          [this](int row, int column) { return RowCode(row, column); })
{
    SetCustomControl(IDC_GRID, m_grid);
    m_grid->SetControlId(IDC_GRID);
    // The spare width goes between the copy buttons and OK and Cancel.
    if (auto* grid = dynamic_cast<QGridLayout*>(layout())) {
        grid->setColumnStretch(0, 0);
        grid->setColumnStretch(2, 1);
    }
    OnClick(IDC_NEXT, [this] { OnCopyNext(); });
    OnClick(IDC_ALL, [this] { OnCopyAll(); });
    OnClick(IDC_UPDATE, [] {});
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
}

bool CDlgDefLane::CompetitionOpen() const { return m_obj.CompetitionNumber() >= 0; }

bool CDlgDefLane::OnInitDialog()
{
    CGridList& g = *m_grid;
    while (g.GetColumnCount() > 0)
        g.DeleteColumn(0);
    for (int c = 0; c < kColumns; ++c)
        g.InsertColumn(c, platform::TextOfKey(kColumnSpecs[c].header), GridAlign::Left, kColumnSpecs[c].width);
    Fill();
    UpdateData(false);
    return true;
}

void CDlgDefLane::DefineColumns()
{
    CGridList& g = *m_grid;
    const CTargetTypes& types = m_obj.targetTypes;

    std::vector<std::pair<int, std::string>> typeChoices;
    for (int group = 0; group < CTargetTypes::GetGroupCount(); ++group)
        for (int i = 0; i < CTargetTypes::GetGroupSize(group); ++i) {
            int code = CTargetTypes::MakeCode(group, i);
            const char* name = code >= 0 ? types.GetName(code) : nullptr;
            if (name && *name)
                typeChoices.emplace_back(code, name);
        }
    std::vector<std::pair<int, std::string>> valueSystems;
    for (int v = 0; v < LaneSettingsTable::kValueSystems; ++v)
        if (std::string text = TextOf(LaneSettingsTable::ValueSystemKey(v)); !text.empty())
            valueSystems.emplace_back(v, text);
    // Sensitivity 0 is shown, never offered.
    std::vector<std::pair<int, std::string>> sensitivities;
    for (int s = 1; s < LaneSettingsTable::kSensitivities; ++s)
        if (std::string text = TextOf(LaneSettingsTable::SensitivityKey(s)); !text.empty())
            sensitivities.emplace_back(s, text);

    g.SetColumnType(kColLane, 0, 0);
    DefineChoices(g, kColType, typeChoices);
    DefineChoices(g, kColValueSystem, valueSystems);
    g.SetColumnType(kColGauge, GRID_FIXED, 0);
    DefineChoices(g, kColSensitivity, sensitivities);
    g.SetColumnType(kColLength, GRID_TEXT, 0);
    g.SetColumnType(kColFrequency, GRID_TEXT, 0);
    for (int c = 0; c < kColumns; ++c)
        g.Column(c)->m_leftAlign = kColumnSpecs[c].leftAligned ? 1 : 0;
    g.m_firstColumn = kColType;
    g.m_defaultLastColumn = kColFrequency;
}

void CDlgDefLane::Fill()
{
    CGridList& g = *m_grid;
    DefineColumns();
    g.DeleteAllItems();
    g.m_lastColumn.clear();
    g.m_rowCount = 0;
    // Without a competition there are no cards to show.
    if (!CompetitionOpen())
        return;
    const LaneTable& lanes = m_obj.lanes;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        if (!lanes.IsActive(lane))
            continue;
        int row = g.InsertItem(g.GetItemCount(), std::to_string(lane));
        g.SetItemData(row, lane);
        g.m_lastColumn.push_back(kColFrequency);
    }
    g.m_rowCount = static_cast<int16_t>(g.GetItemCount());
    m_settings.Load(lanes);
    ShowAllRows();
}

void CDlgDefLane::ShowRow(int row)
{
    if (row < 0 || row >= m_grid->GetItemCount())
        return;
    const CTargetTypes& types = m_obj.targetTypes;
    const LaneSettingsRow& s = m_settings.Row(static_cast<int>(m_grid->GetItemData(row)));
    m_grid->SetItemText(row, kColType, types.GetName(s.targetType));
    m_grid->SetItemText(row, kColValueSystem, TextOf(LaneSettingsTable::ValueSystemKey(s.valueSystem)));
    m_grid->SetItemText(row, kColGauge,
                        LaneSettingsTable::GaugeText(s.targetType, types, platform::TextOfKey("IDS_DEFLANE_AUTO")));
    m_grid->SetItemText(row, kColSensitivity, TextOf(LaneSettingsTable::SensitivityKey(s.sensitivity)));
    m_grid->SetItemText(row, kColLength, std::to_string(s.advanceLength));
    m_grid->SetItemText(row, kColFrequency, std::to_string(s.advanceFrequency));
    m_grid->RedrawItems(row, row);
}

void CDlgDefLane::ShowAllRows()
{
    for (int row = 0; row < m_grid->GetItemCount(); ++row)
        ShowRow(row);
}

int CDlgDefLane::RowCode(int row, int column) const
{
    const LaneSettingsRow& s = m_settings.Row(static_cast<int>(m_grid->GetItemData(row)));
    switch (column) {
    case kColType:
        return s.targetType;
    case kColValueSystem:
        return s.valueSystem;
    case kColSensitivity:
        return s.sensitivity;
    default:
        return -1;
    }
}

void CDlgDefLane::StoreEdit(const GridCellEdit& edit)
{
    const CTargetTypes& types = m_obj.targetTypes;
    int lane = edit.lane;
    // A choice cell's code, or the number typed where no choice is offered;
    // the empty choice names no value and changes nothing.
    int code = edit.choice ? edit.code : GridHandshake::TypedNumber(edit.text);
    bool chose = !edit.choice || code >= 0;
    switch (edit.column) {
    case kColType:
        if (chose)
            m_settings.SetTargetType(lane, code, types);
        break;
    case kColValueSystem:
        if (chose)
            m_settings.SetValueSystem(lane, code);
        break;
    case kColSensitivity:
        if (chose)
            m_settings.SetSensitivity(lane, code, types);
        break;
    case kColLength:
        if (!m_settings.SetAdvanceLength(lane, GridHandshake::TypedNumber(edit.text)))
            platform::CurrentPrompter().Beep(platform::BeepKind::Default);
        break;
    case kColFrequency:
        if (!m_settings.SetAdvanceFrequency(lane, GridHandshake::TypedNumber(edit.text)))
            platform::CurrentPrompter().Beep(platform::BeepKind::Default);
        break;
    default:
        break;
    }
    // The range's defaults for new lanes follow every edit, also one that
    // changed nothing.
    m_settings.WriteDefaults(m_obj.settings.Config(), lane);
    ShowRow(edit.row);
}

void CDlgDefLane::OnCopyNext()
{
    int row = m_grid->GetSelectedItem();
    if (row < 0) {
        platform::MessageBox(platform::TextOfKey("IDS_DEFLANE_WRNSEL"), {}, platform::MessageIcon::Question);
        return;
    }
    m_settings.CopyToNext(static_cast<int>(m_grid->GetItemData(row)), m_obj.lanes);
    // On to the next row, so that pressing again walks down the lanes.
    if (row + 1 < m_grid->GetItemCount()) {
        m_grid->m_currentRow = static_cast<int16_t>(row + 1);
        m_grid->SelectRow(row + 1, 0);
    }
    ShowAllRows();
}

void CDlgDefLane::OnCopyAll()
{
    int row = m_grid->GetSelectedItem();
    if (row < 0) {
        platform::MessageBox(platform::TextOfKey("IDS_DEFLANE_WRNSEL"), {}, platform::MessageIcon::Question);
        return;
    }
    m_settings.CopyToAll(static_cast<int>(m_grid->GetItemData(row)), m_obj.lanes);
    ShowAllRows();
}

intptr_t CDlgDefLane::OnMessage(int message, intptr_t wParam, intptr_t lParam)
{
    intptr_t result = 0;
    if (m_handshake.Handle(static_cast<unsigned>(message), wParam, result))
        return result;
    return Dialog::OnMessage(message, wParam, lParam);
}

void CDlgDefLane::OnOK()
{
    // Without a competition the rows were never loaded: there is nothing to store.
    if (CompetitionOpen())
        m_settings.Store(m_obj.lanes);
    EndDialog(platform::IDOK);
}

void CDlgDefLane::OnCancel()
{
    if (CompetitionOpen() && m_settings.Differs(m_obj.lanes)) {
        int answer = platform::MessageBox(platform::TextOfKey("IDS_DEFLANE_WRNMOD"), {}, platform::MessageIcon::Stop,
                                          platform::MessageButtons::YesNo);
        if (answer == platform::IDYES) {
            OnOK();
            return;
        }
    }
    EndDialog(platform::IDCANCEL);
}
