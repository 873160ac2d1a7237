#include "range/ui/scorecard/DlgCard.h"

#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/text/FieldText.h"
#include "foundation/ui/cards/ShotListPrinter.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/files/FileSystem.h"
#include "platform/system/Clock.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/UiText.h"
#include "range/base/RangeObjects.h"
#include "range/run/RangeControl.h"
#include "range/scorecard/ShotLogFile.h"
#include "range/ui/dialogs/DlgManual.h"
#include "range/ui/dialogs/DlgShotProperty.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgCard;

// Columns of the window's grid: the left-hand column (labels, edits and the
// buttons), the sums, then the shot list with the comment under it; the
// last column takes the room the window grows by.
const ControlTemplate kControls[] = {
    {.id = D::IDC_RELAY_LABEL, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_CARD_RELAY"},
    {.id = D::IDC_RELAY, .kind = ControlKind::Edit, .row = 0, .col = 1, .style = platform::CS_NUMBER, .limit = 5},
    {.id = D::IDC_RELAY_SPIN, .kind = ControlKind::Spin, .row = 0, .col = 2, .buddy = D::IDC_RELAY, .min = 1,
     .max = 9999},
    {.id = D::IDC_LANE_LABEL, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_CARD_LANE"},
    {.id = D::IDC_LANE, .kind = ControlKind::Edit, .row = 1, .col = 1, .style = platform::CS_NUMBER, .limit = 3},
    {.id = D::IDC_LANE_SPIN, .kind = ControlKind::Spin, .row = 1, .col = 2, .buddy = D::IDC_LANE, .min = 1,
     .max = 100},
    {.id = D::IDC_COUNT_LABEL, .kind = ControlKind::Static, .row = 0, .col = 4, .key = "IDS_CARD_COUNT"},
    {.id = D::IDC_SUM_LABEL, .kind = ControlKind::Static, .row = 0, .col = 5, .key = "IDS_CARD_SUM"},
    {.id = D::IDC_SERIE_LABEL, .kind = ControlKind::Static, .row = 1, .col = 3, .key = "IDS_CARD_SERIE"},
    {.id = D::IDC_SERIES_COUNT, .kind = ControlKind::Edit, .row = 1, .col = 4,
     .style = platform::CS_READONLY | platform::CS_RIGHT},
    {.id = D::IDC_SERIES_SUM, .kind = ControlKind::Edit, .row = 1, .col = 5,
     .style = platform::CS_READONLY | platform::CS_RIGHT},
    {.id = D::IDC_TOTAL_LABEL, .kind = ControlKind::Static, .row = 2, .col = 3, .key = "IDS_CARD_TOTAL"},
    {.id = D::IDC_TOTAL_COUNT, .kind = ControlKind::Edit, .row = 2, .col = 4,
     .style = platform::CS_READONLY | platform::CS_RIGHT},
    {.id = D::IDC_TOTAL_SUM, .kind = ControlKind::Edit, .row = 2, .col = 5,
     .style = platform::CS_READONLY | platform::CS_RIGHT},
    {.id = D::IDC_NAME, .kind = ControlKind::Edit, .row = 0, .col = 6, .colSpan = 4, .style = platform::CS_READONLY},
    {.id = D::IDC_DETAIL, .kind = ControlKind::ComboList, .row = 1, .col = 6},
    {.id = D::IDC_DETAIL_CHECK, .kind = ControlKind::Check, .row = 1, .col = 7, .key = "IDS_CARD_DETAIL",
     .style = platform::CS_HIDDEN},
    {.id = D::IDC_CLIPBOARD_LABEL, .kind = ControlKind::Static, .row = 2, .col = 6, .key = "IDS_CARD_CLIPBOARD"},
    {.id = D::IDC_CLIPBOARD, .kind = ControlKind::Edit, .row = 2, .col = 7,
     .style = platform::CS_READONLY | platform::CS_NOBORDER},
    {.id = D::IDC_SERIES, .kind = ControlKind::ListBox, .row = 3, .col = 0, .colSpan = 3},
    {.id = D::IDC_LIST, .kind = ControlKind::Custom, .row = 3, .col = 3, .rowSpan = 3, .colSpan = 7},
    {.id = D::IDC_MATCH_GROUP, .kind = ControlKind::Group, .row = 4, .col = 0, .colSpan = 3, .key = "IDS_CARD_AUTO"},
    {.id = D::IDC_BEST, .kind = ControlKind::Button, .parent = D::IDC_MATCH_GROUP, .row = 0, .col = 0,
     .key = "IDS_CARD_BEST"},
    {.id = D::IDC_LOWEST, .kind = ControlKind::Button, .parent = D::IDC_MATCH_GROUP, .row = 0, .col = 1,
     .key = "IDS_CARD_LOW"},
    {.id = D::IDC_FIRST, .kind = ControlKind::Button, .parent = D::IDC_MATCH_GROUP, .row = 1, .col = 0,
     .key = "IDS_CARD_FIRST"},
    {.id = D::IDC_LAST, .kind = ControlKind::Button, .parent = D::IDC_MATCH_GROUP, .row = 1, .col = 1,
     .key = "IDS_CARD_LAST"},
    {.id = D::IDC_NONE, .kind = ControlKind::Button, .parent = D::IDC_MATCH_GROUP, .row = 2, .col = 0,
     .key = "IDS_CARD_NONE"},
    {.id = D::IDC_PENALTY, .kind = ControlKind::Button, .parent = D::IDC_MATCH_GROUP, .row = 2, .col = 1,
     .key = "IDS_CARD_PENALTY", .style = platform::CS_HIDDEN},
    {.id = D::IDC_INSERT, .kind = ControlKind::Button, .row = 5, .col = 0, .key = "IDS_CARD_EXTRA"},
    {.id = D::IDC_TOFILE, .kind = ControlKind::Button, .row = 5, .col = 1, .colSpan = 2, .key = "IDS_CARD_TOFILE"},
    {.id = D::IDC_SAVE, .kind = ControlKind::Button, .row = 6, .col = 0, .key = "IDS_CARD_SAVE"},
    {.id = D::IDC_PRINT, .kind = ControlKind::Button, .row = 6, .col = 1, .colSpan = 2, .key = "IDS_CARD_PRINT"},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 7, .col = 0, .colSpan = 3, .key = "IDS_CARD_OK",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_COMMENT_LABEL, .kind = ControlKind::Static, .row = 6, .col = 3, .key = "IDS_CARD_COMMENT"},
    {.id = D::IDC_STATE, .kind = ControlKind::ComboEdit, .row = 7, .col = 3},
    {.id = D::IDC_COMMENT, .kind = ControlKind::Edit, .row = 6, .col = 4, .rowSpan = 2, .colSpan = 6,
     .style = platform::CS_MULTILINE, .limit = ScoreCard::kCommentLimit},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_CARD_TITLE", .cx = 460, .cy = 300, .controls = kControls};

constexpr int kStretchRow = 3;
constexpr int kTextInset = 5;
constexpr int kStretchColumn = 9;

std::string Text(const char* key) { return platform::TextOfKey(key); }

}  // namespace

CDlgCard::CDlgCard(RangeObjects& objects, RangeControl& range, QWidget* parent)
    : platform::Dialog(kTemplate, parent), m_obj(objects), m_range(range), m_cells(m_comp, [](const char* key) { return Text(key); })
{
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->setRowStretch(kStretchRow, 1);
        grid->setColumnStretch(kStretchColumn, 1);
    }
    m_grid = new CGridList(this);
    SetCustomControl(IDC_LIST, m_grid);
    m_grid->SetControlId(IDC_LIST);
    m_grid->SetDrawItem([this](QPainter& painter, int row, const QRect& rect) { DrawRow(painter, row, rect); });
    m_comp.decimalSeparator = Text("IDS_COMMA");

    // The officer's operations: while one of them waits on a question or a
    // dialog of its own, the dialog is busy and the card command leaves it.
    auto operation = [this](std::function<void()> f) {
        return [this, f = std::move(f)] { Work(f); };
    };
    OnChange(IDC_RELAY, operation([this] { OnKeyChange(); }));
    OnChange(IDC_LANE, operation([this] { OnKeyChange(); }));
    OnSelChange(IDC_SERIES, operation([this] { OnSeriesSelChange(); }));
    OnSelChange(IDC_DETAIL, operation([this] { OnDetailChange(item(IDC_DETAIL).selection()); }));
    OnClick(IDC_DETAIL_CHECK, operation([this] { OnDetailChange(item(IDC_DETAIL_CHECK).check() ? 1 : 0); }));
    OnClick(IDC_BEST, operation([this] { OnMatch(ScoreCard::Pick::Best); }));
    OnClick(IDC_LOWEST, operation([this] { OnMatch(ScoreCard::Pick::Lowest); }));
    OnClick(IDC_FIRST, operation([this] { OnMatch(ScoreCard::Pick::First); }));
    OnClick(IDC_LAST, operation([this] { OnMatch(ScoreCard::Pick::Last); }));
    OnClick(IDC_NONE, operation([this] { OnMatch(ScoreCard::Pick::None); }));
    OnClick(IDC_INSERT, operation([this] { InsertShot(); }));
    OnClick(IDC_SAVE, operation([this] { Save(); }));
    OnClick(IDC_PRINT, operation([this] { PrintLog(); }));
    OnClick(IDC_TOFILE, operation([this] { LogToFile(); }));
    OnClick(IDC_OK, operation([this] { OnOK(); }));
    OnChange(IDC_COMMENT, [this] {
        if (!m_filling)
            m_card.commentChanged = true;
    });
    OnSelChange(IDC_STATE, [this] {
        if (!m_filling)
            m_card.stateChanged = true;
    });
}

CDlgCard::~CDlgCard() = default;

void CDlgCard::Work(const std::function<void()>& operation)
{
    ++m_working;
    operation();
    --m_working;
}

// ---- Start

bool CDlgCard::OnInitDialog()
{
    platform::Control detail = item(IDC_DETAIL);
    detail.resetContent();
    for (const char* key : {"IDS_CARD_DETAIL0", "IDS_CARD_DETAIL1", "IDS_CARD_DETAIL2"})
        detail.addItem(Text(key));
    m_lastLane = std::max(1, m_lastLane);
    item(IDC_LANE_SPIN).setRange(1, m_lastLane);
    item(IDC_RELAY_SPIN).setRange(1, 9999);

    m_initialising = true;
    m_comp.SetBasePath(m_obj.comp.GetBasePath());
    m_comp.Open(m_obj.CompetitionNumber(), 1);
    m_startNumbers = m_comp.StartNumberMode();
    if (m_startNumbers) {
        // One card per start number: there is no lane to choose.
        item(IDC_RELAY_LABEL).setText(Text("IDS_CARD_RELAYB"));
        m_lane = 0;
        for (int id : {IDC_LANE_SPIN, IDC_LANE, IDC_LANE_LABEL})
            item(id).hide();
    } else {
        item(IDC_RELAY_LABEL).setText(Text("IDS_CARD_RELAY"));
    }
    item(IDC_CLIPBOARD_LABEL).hide();
    item(IDC_CLIPBOARD).hide();

    const CRangeSettings::Profile& place = m_obj.settings.profile;
    if (place.cardX1 - place.cardX0 >= 200 && place.cardY1 - place.cardY0 >= 150)
        setGeometry(place.cardX0, place.cardY0, place.cardX1 - place.cardX0, place.cardY1 - place.cardY0);
    m_card.relay = m_relay;
    m_card.lane = m_lane;
    ShowKey(m_relay, m_lane);
    BuildColumns();
    ReadCard();
    platform::Control state = item(IDC_STATE);
    state.resetContent();
    state.addItem("", 0);
    for (int s = 1; s <= kMostState; ++s) {
        std::string key = "IDS_CARD_STATE_" + std::to_string(s);
        state.addItem(Text(key.c_str()), s);
    }
    Fill(true, false);
    m_card.ClearChanges();
    TakeValues();  // the fill's exchange: set up
    m_initialised = true;
    m_open = true;
    return true;
}

void CDlgCard::BuildColumns()
{
    int detail = std::clamp(m_obj.settings.profile.cardDetail, 0, 2);
    item(IDC_DETAIL).setSelection(detail);
    CGridList& g = *m_grid;
    g.DeleteAllItems();
    g.m_lastColumn.clear();
    g.m_rowCount = 0;
    while (g.GetColumnCount() > 0)
        g.DeleteColumn(0);
    g.m_columns.clear();

    const int equipment = m_obj.RangeInt(RangeItems::kExternalEquipment);
    m_kinds = CardColumnKinds(detail, m_obj.RangeInt(RangeItems::kMotor) != 0);
    QFontMetrics metrics(g.font());
    for (size_t i = 0; i < m_kinds.size(); ++i) {
        const int column = static_cast<int>(i);
        CardColumn def = CardColumnOf(m_kinds[i], equipment);
        std::string header = def.headerKey ? Text(def.headerKey) : std::string("  ");
        // The sample's room counts the 5 pixels the text is drawn in from the edge.
        int width = std::max(metrics.horizontalAdvance(platform::ToQt(def.sample)) + 3 + kTextInset,
                             metrics.horizontalAdvance(platform::ToQt(header)) + 12);
        g.InsertColumn(column, header, def.leftAligned ? GridAlign::Left : GridAlign::Right, width);
        g.SetColumnType(column, column == 0 ? GRID_CHECK : 0, 0);
        g.Column(column)->m_leftAlign = def.leftAligned;
    }
    g.m_defaultLastColumn = static_cast<uint8_t>(m_kinds.size() - 1);
    g.m_firstColumn = 0;
    g.m_multiSelect = true;
}

// ---- Reading and showing

int CDlgCard::Program() const { return m_comp.GetCurrentProgram(); }

int CDlgCard::SeriesShots(int series) { return m_obj.programs.GetSerieShots(series, Program()); }

bool CDlgCard::TurningTargets() const
{
    return m_obj.settings.Config().IsOpen() &&
           ReadItem(m_obj.settings.Config(), RangeItems::kExternalEquipment) == 1;
}

void CDlgCard::ReadCard()
{
    m_comp.SetCurrentProgram(m_obj.comp.GetCurrentProgram());
    m_card.Read(m_comp);
}

void CDlgCard::Fill(bool read, bool keepWork)
{
    m_filling = true;
    CGridList& g = *m_grid;
    g.m_currentRow = -1;
    if (m_comp.CompConfig().IsOpen())
        m_comp.CompConfig().Refresh();
    if (read)
        ReadCard();

    g.DeleteAllItems();
    g.m_lastColumn.clear();
    m_comp.decimalSeparator = Text("IDS_COMMA");

    RangeObjects& objects = m_obj;
    CardCellSettings& cells = m_cells.settings;
    cells.separator = m_comp.decimalSeparator;
    cells.equipment = m_obj.RangeInt(RangeItems::kExternalEquipment);
    cells.programEquipment = objects.programs.GetEquipment(Program());
    const int typeDistance = objects.targetTypes.GetDistance(m_card.card.targetType);
    const int actual = ReadItem(m_comp.CompConfig(), CompSettings::kDistance, typeDistance);
    const int simulated = ReadItem(m_comp.CompConfig(), CompSettings::kSimulatedDistance, typeDistance);
    cells.distanceScale = actual > 0 ? static_cast<double>(simulated) / actual : 1.0;

    // The series of the program, then the entry of shots that count nowhere.
    char name[CProgramStore::kNameSize];
    for (int s = 1; s <= CDataComp::kMaxSeries; ++s)
        cells.seriesNames[static_cast<size_t>(s - 1)] = objects.programs.GetSerieName(s, name, Program());
    platform::Control series = item(IDC_SERIES);
    int remembered = m_initialised ? series.selection() : m_seriesIndex;
    series.resetContent();
    const int count = std::min(objects.programs.GetSerieCount(Program()), CDataComp::kMaxSeries);
    for (int s = 1; s <= count; ++s)
        series.addItem(cells.seriesNames[static_cast<size_t>(s - 1)], s);
    series.addItem(Text("IDS_CARD_OUT"), ScoreCard::kOut);
    series.setSelection(remembered);
    cells.selectedSeries = SelectedSeries();

    item(IDC_NAME).setText(FieldText(m_card.name.name, sizeof m_card.name.name));

    m_card.List(cells.equipment == 1 && cells.programEquipment == 129, keepWork);
    for (int row = 0; row < m_card.RowCount(); ++row) {
        int at = g.InsertItem(row, std::to_string(m_card.Slot(row)));
        g.SetItemData(at, m_card.Slot(row));
        g.m_lastColumn.push_back(0);  // only the check box can become current
    }
    g.m_rowCount = static_cast<int16_t>(m_card.RowCount());

    if (!keepWork || !m_card.stateChanged) {
        int state = m_card.card.resultState <= kMostState ? m_card.card.resultState : 0;
        item(IDC_STATE).setSelection(state);
        m_card.stateChanged = false;
    }
    if (!keepWork || !m_card.commentChanged) {
        m_comment = CommentForEdit(m_card.shots);
        item(IDC_COMMENT).setText(m_comment);
    }

    if (m_card.RowCount() > 0)
        g.EnsureVisible(m_card.RowCount() - 1);
    UpdateSums();
    RedrawList();
    m_filling = false;
}

int CDlgCard::SelectedSeries() const
{
    platform::Control series = item(IDC_SERIES);
    int selected = series.selection();
    return selected >= 0 ? static_cast<int>(series.itemData(selected)) : 0;
}

void CDlgCard::UpdateSums()
{
    const int s = SelectedSeries();
    m_cells.settings.selectedSeries = s;
    const bool startScore = ReadItem(m_comp.CompConfig(), CompSettings::kStartScore) != 0;
    CardSums sums = m_card.Sums(s, [this](int series) { return SeriesShots(series); }, startScore, TurningTargets());
    const int system = m_card.card.valueSystem;
    const std::string& sep = m_comp.decimalSeparator;
    item(IDC_SERIES_COUNT).setText(std::to_string(sums.seriesCount));
    item(IDC_SERIES_SUM).setText(SumText(sums.seriesSum, system, sep));
    item(IDC_TOTAL_COUNT).setText(std::to_string(sums.totalCount));
    item(IDC_TOTAL_SUM).setText(SumText(sums.totalSum, system, sep));
}

void CDlgCard::RedrawList() { m_grid->RedrawItems(0, std::max(0, m_grid->GetItemCount() - 1)); }

void CDlgCard::Refresh()
{
    if (!m_initialised || !m_grid)
        return;
    ReadCard();
    if (m_card.shots.updateCounter != m_card.shownCounter)
        Fill(false, true);
}

// ---- The list

void CDlgCard::DrawRow(QPainter& painter, int row, const QRect& rect)
{
    CGridList& g = *m_grid;
    if (row >= g.m_rowCount || row >= m_card.RowCount())
        return;
    // The cells sit one pixel up, so that the grid line below each row shows.
    QRect line = rect.translated(0, -1);
    for (int column = 0; column < g.GetColumnCount() && column < static_cast<int>(m_kinds.size()); ++column) {
        const int kind = m_kinds[static_cast<size_t>(column)];
        QRect cell = g.CellRect(row, column).translated(0, -1);
        cell.setTop(line.top());
        cell.setHeight(line.height());
        g.SetCellColors(painter, row, column);
        // The current row keeps the grid's colours but for the counting series.
        if (row != g.m_currentRow || column == 2) {
            CardColour colour = m_cells.Colour(m_card, row, kind);
            if (colour == CardColour::WindowText)
                painter.setPen(g.Color(GridColor::WindowText));
            else
                painter.setPen(QColor(static_cast<QRgb>(CardColourRgb(colour))));
        }
        g.DrawCell(painter, cell, column, m_cells.Text(m_card, row, kind));
    }
}

void CDlgCard::OnSeriesSelChange()
{
    const int s = SelectedSeries();
    m_cells.settings.selectedSeries = s;
    for (int row = 0; row < m_card.RowCount(); ++row)
        m_grid->SetItemSelected(row, m_card.Working(row) == s);
    UpdateSums();
    RedrawList();
}

void CDlgCard::OnMatch(ScoreCard::Pick pick)
{
    const int s = SelectedSeries();
    m_card.PickMatchShots(pick, s, SeriesShots(s), TurningTargets());
    UpdateSums();
    OnSeriesSelChange();
}

void CDlgCard::OnEndEdit(intptr_t wParam)
{
    const GridEditRecord* r = GridRecordOf(wParam);
    if (r->column != 0)
        return;
    BV_LOG(m_log, 10, "Form.Change Lane=%d", r->row + 1);
    if (r->row < 0)
        return;
    if (r->param == -1) {
        BV_LOG(m_log, 10, "Cancel?\r\n");
        return;
    }
    m_card.ToggleRow(r->row, SelectedSeries());
    UpdateSums();
    RedrawList();
}

intptr_t CDlgCard::OnBeginEdit(intptr_t wParam)
{
    const int row = BeginEditRow(wParam);
    BV_LOG(m_log, 10, "Edit %d EditMode=%d", row, m_grid->m_editMode);
    if (BeginEditColumn(wParam) == 1 && row < m_card.RowCount()) {
        if (CGridColumn* def = m_grid->Column(1))
            def->m_currentChoice = m_card.Working(row);
        return 0;
    }
    return -1;
}

intptr_t CDlgCard::OnMessage(int message, intptr_t wParam, intptr_t lParam)
{
    switch (static_cast<unsigned>(message)) {
    case WM_GRID_SELCHANGE:
        if (wParam != -2) {
            if (wParam & 0x8000)
                m_grid->m_editMode = 0;
            UpdateSums();
        }
        return 0;
    case WM_GRID_ENDEDIT:
        Work([&] { OnEndEdit(wParam); });
        return 0;
    case WM_GRID_BEGINEDIT:
        return OnBeginEdit(wParam);
    case WM_GRID_DBLCLK:
        Work([this] { EditShot(); });
        return 0;
    default:
        return Dialog::OnMessage(message, wParam, lParam);
    }
}

void CDlgCard::OnDetailChange(int detail)
{
    if (detail < 0)
        return;
    m_obj.settings.profile.cardDetail = detail;
    BuildColumns();
    ReadCard();
    // Another view of the same card: what the officer did stays.
    Fill(false, true);
}

// ---- The card key

bool CDlgCard::KeyOfEdits(int& relay, int& lane) const
{
    bool ok = false;
    relay = item(IDC_RELAY).number(&ok);
    if (!ok || relay < 1)
        return false;
    if (m_startNumbers) {
        lane = 0;
        return true;
    }
    lane = item(IDC_LANE).number(&ok);
    return ok && lane >= 1;
}

void CDlgCard::ShowKey(int relay, int lane)
{
    // The edits tell every change; these are the window's own.
    m_settingKey = true;
    if (item(IDC_RELAY).number() != relay || item(IDC_RELAY).text().empty())
        item(IDC_RELAY).setNumber(relay);
    if (!m_startNumbers && (item(IDC_LANE).number() != lane || item(IDC_LANE).text().empty()))
        item(IDC_LANE).setNumber(lane);
    m_settingKey = false;
}

void CDlgCard::TakeValues()
{
    m_initialising = false;
    m_comment = item(IDC_COMMENT).text();
}

void CDlgCard::OnKeyChange()
{
    if (!m_initialised || m_settingKey || !m_grid)
        return;
    int relay = 0, lane = 0;
    if (!KeyOfEdits(relay, lane))
        return;  // the officer is still typing
    if (relay == m_card.relay && lane == m_card.lane)
        return;
    if (!CheckDirty())
        return;  // Cancel: the old card and its changes stay
    m_card.relay = m_relay = relay;
    m_card.lane = m_lane = lane;
    m_card.ClearChanges();
    Fill(true, false);
}

bool CDlgCard::CheckDirty()
{
    m_card.ReviseMatchChanged();
    int relay = m_card.relay, lane = m_card.lane;
    KeyOfEdits(relay, lane);
    if (!m_card.Dirty()) {
        TakeValues();
        return true;
    }
    const int oldRelay = m_card.relay, oldLane = m_card.lane;
    ShowKey(oldRelay, oldLane);
    int answer = platform::MessageBox(Text("IDS_CARD_DIRTY"), {}, platform::MessageIcon::Question,
                                      platform::MessageButtons::YesNoCancel);
    if (answer == platform::IDCANCEL)
        return false;
    if (answer == platform::IDYES) {
        Save();
    } else if (relay == oldRelay && lane == oldLane) {
        // The changes go: the card shows again as stored.
        m_card.ClearChanges();
        Fill(true, false);
    }
    m_card.ClearChanges();
    ShowKey(relay, lane);
    TakeValues();
    return true;
}

// ---- Storing

void CDlgCard::Save()
{
    TakeValues();
    const bool matchChanged = m_card.matchChanged;
    if (m_card.stateChanged) {
        int state = std::max(0, item(IDC_STATE).selection());
        m_card.StoreState(m_comp, static_cast<uint8_t>(state));
        m_card.stateChanged = false;
    }
    // A card without rows still keeps its comment.
    if (m_card.matchChanged || m_card.commentChanged)
        m_card.StoreShots(m_comp, CommentForField(m_comment));
    m_range.ReadFilesAgain(true, true);
    const int lane = m_card.lane;
    if (CDataComp::IsLane(lane) && matchChanged) {
        const LaneBlock& b = m_obj.lanes[lane];
        if (b.card.relay == m_card.relay) {
            m_range.records.SendCardOverview(lane);
            m_range.intake.SendLaneText(lane, b.active.seriesState & 0x7F, true);
        }
    }
    m_card.ClearChanges();
    RedrawList();
}

void CDlgCard::InsertShot()
{
    if (m_obj.CompetitionNumber() == 0) {
        platform::MessageBox(Text("IDS_WRN_NOSIMTRAIN"));
        return;
    }
    CheckDirty();
    CDlgManual manual(this, m_obj.programs);
    manual.m_value = 0;
    manual.m_serie = static_cast<uint8_t>(SelectedSeries() <= CDataComp::kMaxSeries ? SelectedSeries() : 0);
    manual.m_shotNr = 1;
    manual.m_program = Program();
    manual.m_class = FieldText(m_card.name.cls, sizeof m_card.name.cls);
    if (manual.DoModal() != platform::IDOK)
        return;
    ShotRecord shot =
        ManualShot(manual.m_value, manual.m_serie, manual.m_shotNr, m_card.lane, m_range.files.markKind, platform::Now());
    m_comp.AddShot(m_card.relay, m_card.lane, shot, nullptr, 0, 0);
    m_range.ReadFilesAgain(true, true);
    Fill(true, true);
}

void CDlgCard::EditShot()
{
    int row = m_grid->GetFocusedItem();
    if (!m_grid->IsItemSelected(row))
        row = m_grid->GetSelectedItem();
    if (row < 0 || row >= m_card.RowCount())
        return;
    const int slot = m_card.Slot(row);
    const ShotRecord shot = m_card.shots.shots[slot];
    const bool copied = (shot.flags & CDataComp::kFlagCopied) != 0;
    if ((shot.flags & CDataComp::kFlagNoCoordinates) || copied) {
        CDlgManual manual(this, m_obj.programs);
        manual.m_value = static_cast<uint16_t>(shot.value);
        manual.m_serie = shot.series & 0x7F;
        manual.m_shotNr = shot.displayPos;
        manual.m_program = Program();
        manual.m_class = FieldText(m_card.name.cls, sizeof m_card.name.cls);
        if (manual.DoModal() != platform::IDOK)
            return;
        if (copied && manual.m_value != static_cast<uint16_t>(shot.value))
            platform::MessageBox(Text("IDS_WRN_COPYEDIT"), {}, platform::MessageIcon::Exclamation);
        const ShotEntry entered{manual.m_value, manual.m_serie, manual.m_shotNr};
        ShotRecord corrected = shot;
        if (!CorrectShot(corrected, entered, m_range.files.markKind))
            return;
        m_comp.ChangeShots(m_card.relay, m_card.lane, [&](ShotListRecord& list) {
            ShotRecord& stored = list.shots[slot];
            if (stored.state != CDataComp::kSlotFree)
                CorrectShot(stored, entered, m_range.files.markKind);
        });
        m_range.ReadFilesAgain(true, true);
        Refresh();
        return;
    }
    if (ReadItem(m_comp.CompConfig(), CompSettings::kSuperFinal) != 0)
        ToggleSuperFlag(slot);
}

void CDlgCard::ToggleSuperFlag(int slot)
{
    const bool flagged = (m_card.shots.shots[slot].flags & CDataComp::kFlagFlagged) != 0;
    CDlgShotProperty property(this);
    property.m_lowest = flagged ? 1 : 0;
    if (property.DoModal() != platform::IDOK || (property.m_lowest != 0) == flagged)
        return;
    m_comp.ChangeShots(m_card.relay, m_card.lane, [&](ShotListRecord& list) {
        ShotRecord& stored = list.shots[slot];
        if (stored.state == CDataComp::kSlotFree)
            return;
        if (flagged)
            stored.flags &= static_cast<uint16_t>(~CDataComp::kFlagFlagged);
        else
            stored.flags |= CDataComp::kFlagFlagged;
    });
    m_range.ReadFilesAgain(true, true);
    Refresh();
}

// ---- Copying shots between cards

void CDlgCard::ShowClipboard()
{
    const int count = m_clipboard.Count();
    item(IDC_CLIPBOARD).setText(count > 0 ? std::to_string(count) : std::string());
    item(IDC_CLIPBOARD_LABEL).show(count > 0);
    item(IDC_CLIPBOARD).show(count > 0);
}

void CDlgCard::CopyShots()
{
    m_clipboard.Copy(m_card, m_grid->GetSelectedItems());
    ShowClipboard();
}

void CDlgCard::PasteShots()
{
    if (m_clipboard.Empty())
        return;
    int answer = platform::MessageBox(Text("IDS_WRN_COPY"), {}, platform::MessageIcon::Exclamation,
                                      platform::MessageButtons::YesNo);
    if (answer != platform::IDYES)
        return;
    m_clipboard.Paste(m_comp, m_card.relay, m_card.lane);
    ShowClipboard();
    update();
    m_range.ReadFilesAgain(true, true);
    Fill(true, true);
}

bool CDlgCard::PreTranslateKey(QKeyEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->key() == Qt::Key_C) {
            Work([this] { CopyShots(); });
            return true;
        }
        if (event->key() == Qt::Key_V) {
            Work([this] { PasteShots(); });
            return true;
        }
    }
    return Dialog::PreTranslateKey(event);
}

// ---- The shot log

void CDlgCard::PrintLog()
{
    CheckDirty();
    RangeObjects& objects = m_obj;
    CBVConfig& comp = m_comp.CompConfig();
    CBVConfig& range = objects.settings.Config();
    CShotListPrinter printer;
    printer.documentName = Text("IDS_CARD_PRINTDOC");
    printer.valueCaption = Text("IDS_CARD_H2");
    printer.xCaption = Text("IDS_CARD_H5");
    printer.yCaption = Text("IDS_CARD_H6");
    printer.temperatureCaption = Text("IDS_CARD_H4");
    printer.timeCaption.clear();
    printer.commentCaption = Text("IDS_CARD_H10");
    printer.hardwareCaption = Text("IDS_CARD_H7");
    printer.bandCaption = Text("IDS_CARD_H11");
    printer.turnCaption = Text("IDS_CARD_H8Vende");
    printer.turnedText = Text("IDS_CARD_ERRTURN");
    printer.shotAtCaption = Text("IDS_CARD_H1");
    printer.dateCaption = Text("IDS_CARD_H9");
    printer.footerText = Text("IDR_MAINFRAME");
    printer.relayCaption = Text("IDS_CARD_RELAY");
    printer.laneCaption = Text("IDS_CARD_LANE");
    printer.manualText = Text("IDS_CARD_MANUALSHOT");
    printer.simulatedText = Text("IDS_CARD_SIMULATESHOT");
    printer.frameText = Text("IDS_CARD_FRAMESHOT");
    printer.smallAdvanceText = Text("IDS_CARD_ERRADVANCE");
    printer.pressureTexts = {Text("IDS_CARD_ERR_ENERGY3"), Text("IDS_CARD_ERRENERGY2"), Text("IDS_CARD_ERRENERGY1")};
    printer.copiedText = Text("IDS_CARD_COPYSHOT");
    for (int s = 1; s <= 4; ++s) {
        std::string key = "IDS_CARD_STATE_" + std::to_string(s);
        printer.resultTexts[static_cast<size_t>(s - 1)] = Text(key.c_str());
    }
    printer.decimalSign = Text("IDS_COMMA");

    const int targetType = m_card.card.targetType;
    const int typeDistance = objects.targetTypes.GetDistance(targetType);
    const int actual = ReadItem(comp, CompSettings::kDistance, typeDistance);
    const int simulated = ReadItem(comp, CompSettings::kSimulatedDistance, typeDistance);
    std::string target = objects.targetTypes.GetName(targetType);
    if (actual != simulated) {
        char distances[32];
        std::snprintf(distances, sizeof distances, "   [%d:%d]", actual, simulated);
        target += distances;
    }
    const ConfigTextItem competitionName{CompSettings::kName.section, CompSettings::kName.index,
                                         CompSettings::kName.key, "Comp"};
    std::string competition = ReadItem(comp, competitionName);
    printer.SetTitles(competition, ReadItem(comp, CompSettings::kDate),
                      ReadItem(range, RangeItems::kUserName), ReadItem(range, RangeItems::kRangeName), target);
    printer.distanceScale = actual > 0 ? static_cast<double>(simulated) / actual : 1.0;
    const int programEquipment = objects.programs.GetEquipment(Program());
    printer.mode = programEquipment == 129 ? 129 : m_obj.RangeInt(RangeItems::kExternalEquipment);
    char name[CProgramStore::kNameSize];
    for (int s = 1; s <= ShotListSettings::kSeriesNames; ++s)
        printer.seriesNames[static_cast<size_t>(s - 1)] = objects.programs.GetSerieName(s, name, Program());
    printer.compOptions = ReadItem(comp, CompSettings::kOptions);
    printer.Print(m_card.card, &m_card.name, m_card.shots);
}

void CDlgCard::LogToFile()
{
    platform::FileRequest request;
    request.save = true;
    request.initialPath = ".\\SHOTLOG.TXT";
    request.defaultExtension = "TXT";
    request.filter = "Txt-files (*.txt)|*.TXT|Alle filer (*.*)|*.*";
    request.confirmOverwrite = true;
    std::string path;
    if (!platform::CurrentPrompter().ChooseFile(request, path))
        return;
    // The rows as the officer sees them now, saved or not.
    std::string text = ShotLogText(m_card, m_cells, m_kinds);
    if (platform::WriteFileAtomically(path, text) != 0) {
        BV_LOG(m_log, 80, "Can't write %s", path.c_str());
        platform::MessageBox(Text("IDS_CARD_LOGFAIL") + "\r\n" + path, {}, platform::MessageIcon::Exclamation);
    }
}

// ---- Closing and the window's place

void CDlgCard::OnOK()
{
    CheckDirty();
    m_initialising = false;
    m_open = false;
    EndDialog(platform::IDOK);
}

void CDlgCard::OnCancel() { OnOK(); }

void CDlgCard::Close()
{
    if (m_open) {
        m_initialising = false;
        m_open = false;
        EndDialog(platform::IDCANCEL);
    }
}

void CDlgCard::RememberPlace()
{
    if (!m_initialised)
        return;
    CRangeSettings::Profile& place = m_obj.settings.profile;
    QRect r = geometry();
    place.cardX0 = r.left();
    place.cardY0 = r.top();
    place.cardX1 = r.left() + r.width();
    place.cardY1 = r.top() + r.height();
}

void CDlgCard::OnSize(int, int) { RememberPlace(); }

void CDlgCard::moveEvent(QMoveEvent* event)
{
    Dialog::moveEvent(event);
    RememberPlace();
}
