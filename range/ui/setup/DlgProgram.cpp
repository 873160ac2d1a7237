#include "range/ui/setup/DlgProgram.h"

#include "foundation/files/BVConfig.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/TabCtrl.h"
#include "range/setup/ProgramEdits.h"
#include "range/setup/ProgramExchange.h"
#include "range/ui/dialogs/DlgInput.h"

#include <QGridLayout>

#include <cstdio>
#include <span>
#include <vector>

namespace PE = ProgramEdits;

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgProgram;

const ControlTemplate kControls[] = {
    {.id = D::IDC_ORG_LABEL, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_PROG_ORG"},
    {.id = D::IDC_ORG, .kind = ControlKind::ComboList, .row = 0, .col = 1},
    {.id = D::IDC_ADMIN_LABEL, .kind = ControlKind::Static, .row = 0, .col = 2, .key = "IDS_PROG_ADMIN"},
    {.id = D::IDC_ADMIN, .kind = ControlKind::Edit, .row = 0, .col = 3, .limit = 30},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 0, .col = 5, .key = "IDS_PROG_B_OK",
     .style = platform::CS_DEFAULT},
    {.id = D::IDC_NEWPROG, .kind = ControlKind::Button, .row = 1, .col = 0, .key = "IDS_PROG_NEWPROG"},
    {.id = D::IDC_DELPROG, .kind = ControlKind::Button, .row = 1, .col = 1, .key = "IDS_PROG_DELPROG"},
    {.id = D::IDC_EXPORT, .kind = ControlKind::Button, .row = 1, .col = 2, .key = "IDS_PROG_EXPORT"},
    {.id = D::IDC_IMPORT, .kind = ControlKind::Button, .row = 1, .col = 3, .key = "IDS_PROG_IMPORT"},
    {.id = D::IDC_PROGRAMS, .kind = ControlKind::Custom, .row = 2, .col = 0, .colSpan = 6,
     .style = platform::CS_STRETCH},
    {.id = D::IDC_NEWSERIE, .kind = ControlKind::Button, .row = 3, .col = 0, .key = "IDS_PROG_NEWSERIE"},
    {.id = D::IDC_DELSERIE, .kind = ControlKind::Button, .row = 3, .col = 1, .key = "IDS_PROG_DELSERIE"},
    {.id = D::IDC_NEWCOLUMN, .kind = ControlKind::Button, .row = 3, .col = 2, .key = "IDS_PROG_NEWSUBSUM"},
    {.id = D::IDC_DELCOLUMN, .kind = ControlKind::Button, .row = 3, .col = 3, .key = "IDS_PROG_DELSUBSUM"},
    {.id = D::IDC_TABS, .kind = ControlKind::Tab, .row = 4, .col = 0, .colSpan = 6, .style = platform::CS_STRETCH},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_PROG_TITLE", .cx = 428, .cy = 287, .controls = kControls};

// The organisation filter: item data is the organisation's code.
const char* const kOrganisations[] = {"IDS_ORG_PRIVAT", "IDS_ORG_DFS",  "IDS_ORG_NSF", "IDS_ORG_NJFF",
                                      "IDS_ORG_FSR",    "IDS_ORG_ISSF", "IDS_ORG_SSF", "IDS_ORG_USA"};
const char* const kTabKeys[PE::kTabs] = {"IDS_PROG_TAB1", "IDS_PROG_TAB2", "IDS_PROG_TAB3", "IDS_PROG_TAB4"};

struct ColumnSpec {
    const char* header;
    int width;
};
const ColumnSpec kProgramColumns[] = {
    {"IDS_PROG_HP1", 100}, {"IDS_PROG_HP2", 100}, {"IDS_PROG_HP3", 100}, {"IDS_PROG_HP4", 200}};
const ColumnSpec kSerieColumns[] = {{"IDS_PROG_H1", 35}, {"IDS_PROG_H2", 100}, {"IDS_PROG_H3", 60}, {"IDS_PROG_H4", 75}};
const ColumnSpec kTimingColumns[] = {{"IDS_PROG_H6", 60}, {"IDS_PROG_H6B", 50}, {"IDS_PROG_H7", 50},
                                     {"IDS_PROG_H8", 50}, {"IDS_PROG_H9", 50},  {"IDS_PROG_H10", 50}};
// The series grid never has more columns than these.
constexpr int kLastSerieColumn = 23;

std::string TextOf(const char* key) { return key ? platform::TextOfKey(key) : std::string(); }

void DefineChoices(CGridListCore& grid, int column, std::span<const PE::Choice> choices, int listWidth)
{
    grid.SetColumnType(column, GRID_CHOICE, 0);
    CGridColumn& def = *grid.Column(column);
    def.SetChoiceCount(static_cast<int>(choices.size()));
    for (size_t i = 0; i < choices.size(); ++i) {
        def.m_codes[i] = static_cast<uint16_t>(choices[i].code);
        def.m_texts[i] = TextOf(choices[i].key);
    }
    def.m_listWidths[0] = 0;
    def.m_listWidths[1] = static_cast<int16_t>(listWidth);
    def.m_listWidths[2] = 0;
    def.m_listWidths[3] = 0;
}

void Stop(const char* key) { platform::MessageBox(platform::TextOfKey(key), {}, platform::MessageIcon::Stop); }

}  // namespace

CDlgProgram::CDlgProgram(CBVConfig& range, QWidget* parent, const std::string& folder)
    : platform::Dialog(kTemplate, parent),
      m_range(range),
      m_programs(new CGridList(this)),
      m_series(new CGridList(this)),
      m_programShake(
          *m_programs, [this](const GridCellEdit& edit) { StoreProgramEdit(edit); },
          [this](int row, int column) {
              return column == PE::kColEquipment ? m_store.GetEquipment(static_cast<int>(m_programs->GetItemData(row)))
                                                 : -1;
          }),
      m_serieShake(
          *m_series, [this](const GridCellEdit& edit) { StoreSerieEdit(edit); },
          [this](int row, int column) {
              return PE::SerieCellCode(m_store, CurrentProgram(), CurrentTab(), row + 1, column);
          })
{
    m_store.SetBasePath(folder);
    SetCustomControl(IDC_PROGRAMS, m_programs);
    m_programs->SetControlId(IDC_PROGRAMS);
    // The series grid is the tab strip's page: it stands right under the tabs.
    auto* tabs = dynamic_cast<platform::TabCtrl*>(item(IDC_TABS).widget());
    if (tabs)
        tabs->AddPage(m_series);
    m_series->SetControlId(IDC_SERIES);
    if (auto* grid = dynamic_cast<QGridLayout*>(layout())) {
        grid->setColumnStretch(4, 1);
        grid->setRowStretch(2, 1);
        grid->setRowStretch(4, 1);
    }
    OnSelChange(IDC_ORG, [this] { FillPrograms(); });
    OnSelChanging(IDC_TABS, [this] {
        m_programs->m_editMode = 0;
        m_series->m_editMode = 0;
        m_series->setFocus();
        return false;
    });
    OnSelChange(IDC_TABS, [this] { FillSeries(); });
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_NEWPROG, [this] { OnNewProgram(); });
    OnClick(IDC_DELPROG, [this] { OnDeleteProgram(); });
    OnClick(IDC_NEWSERIE, [this] { OnNewSerie(); });
    OnClick(IDC_DELSERIE, [this] { OnDeleteSerie(); });
    OnClick(IDC_NEWCOLUMN, [this] { OnNewColumn(); });
    OnClick(IDC_DELCOLUMN, [this] { OnDeleteColumn(); });
    OnClick(IDC_EXPORT, [this] { OnExport(); });
    OnClick(IDC_IMPORT, [this] { OnImport(); });
}

CDlgProgram::~CDlgProgram() = default;

bool CDlgProgram::OnInitDialog()
{
    // The editor may make the program files of a range that has none.
    m_store.AllowCreate();
    m_store.OpenFiles(true);
    DefineProgramColumns();

    CGridList& s = *m_series;
    while (s.GetColumnCount() > 0)
        s.DeleteColumn(0);
    for (int c = 0; c < 4; ++c)
        s.InsertColumn(c, TextOf(kSerieColumns[c].header), c == PE::kColSerie ? GridAlign::Right : GridAlign::Left,
                       kSerieColumns[c].width);
    s.SetColumnType(PE::kColSerie, GRID_FIXED, 0);
    s.SetColumnType(PE::kColSerieName, GRID_TEXT, 0);
    s.SetColumnType(PE::kColShots, GRID_TEXT, 0);
    DefineChoices(s, PE::kColMark, PE::MarkChoices(), 75);
    s.Column(PE::kColSerieName)->m_leftAlign = 1;
    s.Column(PE::kColMark)->m_leftAlign = 1;
    s.m_firstColumn = PE::kColSerieName;
    s.m_defaultLastColumn = PE::kColFirstTab;

    platform::Control org = item(IDC_ORG);
    org.resetContent();
    for (int code = 0; code < static_cast<int>(std::size(kOrganisations)); ++code)
        org.addItem(platform::TextOfKey(kOrganisations[code]), code);
    org.setSelection(0);
    platform::Control tabs = item(IDC_TABS);
    tabs.resetContent();
    for (int t = 0; t < PE::kTabs; ++t)
        tabs.addItem(platform::TextOfKey(kTabKeys[t]), t);
    tabs.setSelection(0);

    FillPrograms();
    m_programs->m_currentRow = 0;
    m_programs->m_currentColumn = 0;
    return true;
}

void CDlgProgram::DefineProgramColumns()
{
    CGridList& g = *m_programs;
    while (g.GetColumnCount() > 0)
        g.DeleteColumn(0);
    for (int c = 0; c < 4; ++c)
        g.InsertColumn(c, TextOf(kProgramColumns[c].header), GridAlign::Left, kProgramColumns[c].width);
    g.SetColumnType(PE::kColName, GRID_TEXT, 0);
    g.SetColumnType(PE::kColSize, GRID_TEXT, 0);
    g.SetColumnType(PE::kColCommand, GRID_TEXT, 0);
    DefineChoices(g, PE::kColEquipment, PE::EquipmentChoices(), 75);
    g.Column(PE::kColName)->m_leftAlign = 1;
    g.m_firstColumn = PE::kColName;
    g.m_defaultLastColumn = PE::kColEquipment;
}

int CDlgProgram::Filter() const
{
    platform::Control org = item(IDC_ORG);
    int sel = org.selection();
    return sel < 0 ? PE::kPrivate : static_cast<int>(org.itemData(sel));
}

int CDlgProgram::CurrentProgram() const
{
    int row = m_programs->m_currentRow;
    if (row < 0 || row >= m_programs->GetItemCount())
        return 0;
    return static_cast<int>(m_programs->GetItemData(row));
}

int CDlgProgram::CurrentTab() const
{
    int tab = item(IDC_TABS).selection();
    return tab < 0 ? PE::kTabBasic : tab;
}

std::string CDlgProgram::ExchangeFile() const { return m_store.GetBasePath() + ProgramExchange::kFileName; }

void CDlgProgram::FillPrograms()
{
    m_store.Refresh();
    m_programs->DeleteAllItems();
    m_programs->m_lastColumn.clear();
    m_series->DeleteAllItems();
    m_series->m_lastColumn.clear();
    m_series->m_rowCount = 0;
    // The right follows the admin code as it stands now.
    const int filter = Filter();
    m_editRight = PE::EditRight(item(IDC_ADMIN).text(), m_range, filter);
    for (int n : PE::ListPrograms(m_store, filter)) {
        int row = m_programs->InsertItem(m_programs->GetItemCount(), "");
        m_programs->SetItemData(row, n);
        m_programs->m_lastColumn.push_back(m_editRight ? PE::kColEquipment : 0);
        ShowProgramRow(row);
    }
    m_programs->m_firstColumn = static_cast<int16_t>(m_editRight ? PE::kColName : PE::kColEquipment + 2);
    m_programs->m_rowCount = static_cast<int16_t>(m_programs->GetItemCount());
    if (m_programs->m_currentRow >= m_programs->GetItemCount())
        m_programs->m_currentRow = 0;
    FillSeries();
}

void CDlgProgram::ShowProgramRow(int row)
{
    int n = static_cast<int>(m_programs->GetItemData(row));
    for (int c = PE::kColName; c <= PE::kColEquipment; ++c)
        m_programs->SetItemText(row, c, PE::ProgramCellText(m_store, n, c, TextOf));
    m_programs->RedrawItems(row, row);
}

void CDlgProgram::FillSeries()
{
    CGridList& s = *m_series;
    const int n = CurrentProgram();
    if (n == 0)
        return;
    const int tab = CurrentTab();
    // The private programs and program 100 and above are the range's own.
    const bool editable = n >= CProgramStore::kProgramsPerFile || m_editRight;

    s.DeleteAllItems();
    s.m_lastColumn.clear();
    for (int c = std::min(s.GetColumnCount() - 1, kLastSerieColumn); c >= PE::kColFirstTab; --c)
        s.DeleteColumn(c);

    const int columns = PE::TabColumns(m_store, n, tab);
    for (int i = 0; i < columns; ++i) {
        const int c = PE::kColFirstTab + i;
        switch (tab) {
        case PE::kTabBasic:
            s.InsertColumn(c, TextOf(kTimingColumns[i].header), GridAlign::Left, kTimingColumns[i].width);
            if (c == PE::kColTarget)
                DefineChoices(s, c, PE::TargetChoices(), 75);
            else
                s.SetColumnType(c, GRID_TEXT, 0);
            break;
        case PE::kTabSubSums:
            s.InsertColumn(c, PE::ColumnName(m_store, n, tab, c), GridAlign::Left, 60);
            s.SetColumnType(c, GRID_TEXT, 0);
            break;
        case PE::kTabClasses:
            s.InsertColumn(c, PE::ColumnName(m_store, n, tab, c), GridAlign::Left, 40);
            DefineChoices(s, c, PE::ClassValueChoices(), 125);
            s.Column(c)->m_leftAlign = 1;
            break;
        default:
            s.InsertColumn(c, TextOf("IDS_PROG_H4B"), GridAlign::Left, 60);
            s.SetColumnType(c, GRID_TEXT, 0);
            break;
        }
    }
    // The column buttons serve the sub-sums and the classes.
    const bool columnTab = tab == PE::kTabSubSums || tab == PE::kTabClasses;
    item(IDC_NEWCOLUMN).show(columnTab);
    item(IDC_DELCOLUMN).show(columnTab);
    if (columnTab) {
        item(IDC_NEWCOLUMN).setTextKey(tab == PE::kTabSubSums ? "IDS_PROG_NEWSUBSUM" : "IDS_PROG_NEWCLASS");
        item(IDC_DELCOLUMN).setTextKey(tab == PE::kTabSubSums ? "IDS_PROG_DELSUBSUM" : "IDS_PROG_DELCLASS");
    }

    const int last = PE::kColFirstTab + columns - 1;
    s.m_defaultLastColumn = static_cast<uint8_t>(std::max(last, static_cast<int>(PE::kColMark)));
    const int rows = PE::SerieRows(m_store, n);
    for (int serie = 1; serie <= rows; ++serie) {
        int row = s.InsertItem(s.GetItemCount(), std::to_string(serie));
        s.SetItemData(row, serie);
        s.m_lastColumn.push_back(static_cast<uint8_t>(editable ? std::max(last, static_cast<int>(PE::kColMark)) : 0));
        ShowSerieRow(row);
    }
    s.m_firstColumn = static_cast<int16_t>(editable ? PE::kColSerieName : 10);
    s.m_rowCount = static_cast<int16_t>(s.GetItemCount());
    if (s.m_currentRow >= s.GetItemCount())
        s.m_currentRow = 0;
    s.RedrawItems(0, s.GetItemCount());
}

void CDlgProgram::ShowSerieRow(int row)
{
    const int n = CurrentProgram();
    const int tab = CurrentTab();
    const int serie = static_cast<int>(m_series->GetItemData(row));
    for (int c = 0; c < m_series->GetColumnCount(); ++c)
        m_series->SetItemText(row, c, PE::SerieCellText(m_store, n, tab, serie, c, TextOf));
    m_series->RedrawItems(row, row);
}

void CDlgProgram::StoreProgramEdit(const GridCellEdit& edit)
{
    const int n = edit.lane;
    PE::StoreProgramCell(m_store, n, edit.column, edit.text, edit.choice ? edit.code : 0);
    ShowProgramRow(edit.row);
    // A new equipment brings or takes the timing columns.
    if (edit.column == PE::kColEquipment && n == CurrentProgram())
        FillSeries();
}

void CDlgProgram::StoreSerieEdit(const GridCellEdit& edit)
{
    const int n = CurrentProgram();
    if (n == 0)
        return;
    PE::StoreSerieCell(m_store, n, CurrentTab(), edit.lane, edit.column, edit.text, edit.choice ? edit.code : 0);
    ShowSerieRow(edit.row);
}

intptr_t CDlgProgram::OnMessage(int message, intptr_t wParam, intptr_t lParam)
{
    const auto msg = static_cast<unsigned>(message);
    if (msg == WM_GRID_SELCHANGE || msg == WM_GRID_BEGINEDIT || msg == WM_GRID_ENDEDIT ||
        msg == WM_GRID_HEADERCLICK) {
        intptr_t result = 0;
        if (lParam == IDC_PROGRAMS) {
            m_programShake.Handle(msg, wParam, result);
            // Another program chosen: its series.
            if (msg == WM_GRID_SELCHANGE && wParam >= 0 && !GridFocusLeft(wParam))
                FillSeries();
        } else if (lParam == IDC_SERIES) {
            if (msg == WM_GRID_HEADERCLICK)
                OnHeaderClick(static_cast<int>(wParam));
            else
                m_serieShake.Handle(msg, wParam, result);
        }
        // Focus leaving either grid ends both edit modes.
        if (msg == WM_GRID_SELCHANGE && GridFocusLeft(wParam)) {
            m_programs->m_editMode = 0;
            m_series->m_editMode = 0;
        }
        return result;
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

void CDlgProgram::OnHeaderClick(int column)
{
    const int tab = CurrentTab();
    const int n = CurrentProgram();
    if (column < PE::kColFirstTab || n == 0 || !m_editRight || (tab != PE::kTabSubSums && tab != PE::kTabClasses))
        return;
    std::string name = PE::ColumnName(m_store, n, tab, column);
    if (!AskName(platform::TextOfKey(tab == PE::kTabSubSums ? "IDS_PROG_SUBSUM_INPUT" : "IDS_PROG_CLASS_INPUT"), name))
        return;
    PE::RenameColumn(m_store, n, tab, column, name);
    FillSeries();
}

bool CDlgProgram::AskName(const std::string& prompt, std::string& name)
{
    CDlgInput input(this);
    input.m_title = Caption();
    input.m_prompt = prompt;
    input.m_text = name;
    if (input.DoModal() != platform::IDOK)
        return false;
    name = input.m_text;
    return true;
}

bool CDlgProgram::Refuse()
{
    if (m_editRight)
        return false;
    Stop("IDS_PROG_NOEDIT");
    return true;
}

void CDlgProgram::OnNewProgram()
{
    if (Refuse())
        return;
    if (PE::AddProgram(m_store, Filter()) == 0) {
        Stop("IDS_PROG_FULL");
        return;
    }
    FillPrograms();
}

void CDlgProgram::OnDeleteProgram()
{
    if (Refuse())
        return;
    int row = m_programs->GetSelectedItem();
    if (row < 0) {
        Stop("IDS_PROG_WRNNOSEL");
        return;
    }
    if (platform::MessageBox(platform::TextOfKey("IDS_PROG_ASKDEL"), {}, platform::MessageIcon::Question,
                             platform::MessageButtons::YesNo) != platform::IDYES)
        return;
    PE::DeleteProgram(m_store, static_cast<int>(m_programs->GetItemData(row)));
    FillPrograms();
}

void CDlgProgram::OnNewSerie()
{
    if (Refuse())
        return;
    int n = CurrentProgram();
    if (n == 0)
        return;
    if (!PE::AddSerie(m_store, n)) {
        Stop("IDS_PROG_WRNMAXSERIE");
        return;
    }
    FillSeries();
}

void CDlgProgram::OnDeleteSerie()
{
    if (Refuse())
        return;
    if (int n = CurrentProgram(); n != 0 && PE::DeleteSerie(m_store, n))
        FillSeries();
}

void CDlgProgram::OnNewColumn()
{
    if (Refuse())
        return;
    // A sub-sum past ten or a class past twenty is not added.
    if (int n = CurrentProgram(); n != 0 && PE::AddColumn(m_store, n, CurrentTab()))
        FillSeries();
}

void CDlgProgram::OnDeleteColumn()
{
    if (Refuse())
        return;
    if (int n = CurrentProgram(); n != 0 && PE::DeleteColumn(m_store, n, CurrentTab()))
        FillSeries();
}

void CDlgProgram::OnExport()
{
    int row = m_programs->GetSelectedItem();
    if (row < 0) {
        Stop("IDS_PROG_WRNNOSEL");
        return;
    }
    if (ProgramExchange::Export(m_store, static_cast<int>(m_programs->GetItemData(row)), ExchangeFile()) != 0)
        Stop("IDS_PROG_NOEXPORT");
}

void CDlgProgram::OnImport()
{
    if (Refuse())
        return;
    const std::string name = ProgramExchange::ProgramName(ExchangeFile());
    if (name.empty()) {
        Stop("IDS_PROG_NOIMPORT");
        return;
    }
    const std::string question = platform::TextOfKey("IDS_PROG_CONFIRM_IMPORT") + " '" + name + "'";
    if (platform::MessageBox(question, {}, platform::MessageIcon::Question, platform::MessageButtons::YesNo) !=
        platform::IDYES)
        return;
    int n = ProgramExchange::Import(m_store, Filter(), ExchangeFile());
    if (n == ProgramExchange::kFull)
        Stop("IDS_PROG_FULL");
    else if (n == ProgramExchange::kNoProgram)
        Stop("IDS_PROG_NOIMPORT");
    FillPrograms();
}
