#include "display/ui/config/DlgPict.h"

#include <QPainter>

#include <unistd.h>

#include <climits>

#include "display/config/ConfigFiles.h"
#include "display/config/PictureSlots.h"
#include "display/settings/VisSettings.h"
#include "display/ui/config/DlgConfig.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Prompter.h"

using namespace platform;

namespace {

using D = CDlgPict;
enum {
    kNameLabel = 1026,
    kDataGroup = 1028,
    kTypeGroup = 1033,
    kEventLabel = 1056,
    kTargetsLabel = 1058,
    kHtmlLabel = 1124,
    kInfoGroup = 1136,
    kNameStyleGroup = 1104,
    kListStyleGroup = 1110,
    kEstimateGroup = 1121,
    kLiveGroup = 1215,
};

const ControlTemplate kControls[] = {
    // The list fills its column; the spare height goes to the targets' row.
    {.id = D::IDC_LIST, .kind = ControlKind::ListView, .row = 0, .col = 0, .rowSpan = 5},
    {.id = D::IDC_NEW, .kind = ControlKind::Button, .row = 5, .col = 0, .key = "IDS_PICT_NEW"},
    {.id = D::IDC_DELETE, .kind = ControlKind::Button, .row = 6, .col = 0, .key = "IDS_PICT_DEL"},

    {.id = kDataGroup, .kind = ControlKind::Group, .row = 0, .col = 1, .colSpan = 3, .key = "IDS_PICT_DATA"},
    {.id = kNameLabel, .kind = ControlKind::Static, .parent = kDataGroup, .row = 0, .col = 0, .key = "IDS_PICT_NAME"},
    {.id = D::IDC_NAME, .kind = ControlKind::Edit, .parent = kDataGroup, .row = 0, .col = 1, .colSpan = 2,
     .limit = 31},
    {.id = kHtmlLabel, .kind = ControlKind::Static, .parent = kDataGroup, .row = 1, .col = 0,
     .key = "IDS_PICT_HTMNAME"},
    {.id = D::IDC_HTML, .kind = ControlKind::Edit, .parent = kDataGroup, .row = 1, .col = 1, .style = CS_STRETCH},
    {.id = D::IDC_FINDFILE, .kind = ControlKind::Button, .parent = kDataGroup, .row = 1, .col = 2,
     .key = "IDS_PICT_FINDFILE"},

    {.id = kEventLabel, .kind = ControlKind::Static, .row = 1, .col = 1, .key = "IDS_PICT_EVENT"},
    {.id = D::IDC_EVENT, .kind = ControlKind::ComboList, .row = 1, .col = 2, .colSpan = 2},
    {.id = D::IDC_LANES, .kind = ControlKind::ListView, .row = 2, .col = 1, .rowSpan = 5},
    {.id = kTargetsLabel, .kind = ControlKind::Static, .row = 2, .col = 2, .key = "IDS_PICT_SELECTED"},
    {.id = D::IDC_COUNT, .kind = ControlKind::Edit, .row = 2, .col = 3, .style = CS_READONLY | CS_NUMBER},
    {.id = D::IDC_ADD, .kind = ControlKind::Button, .row = 3, .col = 2, .key = "IDS_PICT_ADD"},
    {.id = D::IDC_REMOVE, .kind = ControlKind::Button, .row = 4, .col = 2, .key = "IDS_PICT_REMOVE"},
    {.id = D::IDC_SORT, .kind = ControlKind::Button, .row = 5, .col = 2, .key = "IDS_PICT_SORT"},
    {.id = D::IDC_CLONE, .kind = ControlKind::Button, .row = 6, .col = 2, .key = "IDS_PICT_CLONE"},
    {.id = D::IDC_TARGETS, .kind = ControlKind::Custom, .row = 3, .col = 3, .rowSpan = 4, .style = CS_STRETCH},

    {.id = kTypeGroup, .kind = ControlKind::Group, .row = 0, .col = 4, .key = "IDS_PICT_TYPE"},
    {.id = D::IDC_TYPE, .kind = ControlKind::Radio, .parent = kTypeGroup, .row = 0, .col = 0,
     .key = "IDS_PICT_TYPE1", .style = CS_GROUP},
    {.id = D::IDC_TYPE1, .kind = ControlKind::Radio, .parent = kTypeGroup, .row = 1, .col = 0,
     .key = "IDS_PICT_TYPE2", .style = CS_DISABLED},
    {.id = D::IDC_TYPE2, .kind = ControlKind::Radio, .parent = kTypeGroup, .row = 2, .col = 0,
     .key = "IDS_PICT_TYPE3"},
    {.id = D::IDC_TYPE3, .kind = ControlKind::Radio, .parent = kTypeGroup, .row = 3, .col = 0,
     .key = "IDS_PICT_TYPE4"},

    {.id = kInfoGroup, .kind = ControlKind::Group, .row = 1, .col = 4, .rowSpan = 3, .key = "IDS_PICT_INFO"},
    {.id = D::IDC_SHOWPLACE, .kind = ControlKind::Check, .parent = kInfoGroup, .row = 0, .col = 0,
     .key = "IDS_PICT_SHOWPLACE"},
    {.id = D::IDC_ONESHOT, .kind = ControlKind::Check, .parent = kInfoGroup, .row = 1, .col = 0,
     .key = "IDS_PICT_ONESHOT"},
    {.id = D::IDC_CLOCK, .kind = ControlKind::Check, .parent = kInfoGroup, .row = 2, .col = 0,
     .key = "IDS_PICT_CLOCK"},
    {.id = D::IDC_NOFINAL, .kind = ControlKind::Check, .parent = kInfoGroup, .row = 3, .col = 0,
     .key = "IDS_PICT_FINALSTOP"},

    {.id = kNameStyleGroup, .kind = ControlKind::Group, .row = 4, .col = 4, .rowSpan = 3,
     .key = "IDS_PICT_NAMESTYLE"},
    {.id = D::IDC_NAMECLUB, .kind = ControlKind::Radio, .parent = kNameStyleGroup, .row = 0, .col = 0,
     .key = "IDS_PICT_NAMECLUB", .style = CS_GROUP},
    {.id = D::IDC_NAMEONLY, .kind = ControlKind::Radio, .parent = kNameStyleGroup, .row = 1, .col = 0,
     .key = "IDS_PICT_NAMEONLY"},
    {.id = D::IDC_CLUBONLY, .kind = ControlKind::Radio, .parent = kNameStyleGroup, .row = 2, .col = 0,
     .key = "IDS_PICT_CLUBONLY"},

    {.id = kListStyleGroup, .kind = ControlKind::Group, .row = 0, .col = 5, .rowSpan = 2,
     .key = "IDS_PICT_LISTSTYLE"},
    {.id = D::IDC_CLASS, .kind = ControlKind::Check, .parent = kListStyleGroup, .row = 0, .col = 0,
     .key = "IDS_PICT_CLASS"},
    {.id = D::IDC_CATEGORY, .kind = ControlKind::Check, .parent = kListStyleGroup, .row = 1, .col = 0,
     .key = "IDS_PICT_CAT"},
    {.id = D::IDC_SHOTLIST, .kind = ControlKind::Check, .parent = kListStyleGroup, .row = 2, .col = 0,
     .key = "IDS_PICT_SHOTLIST"},
    {.id = D::IDC_SHOTCOUNT, .kind = ControlKind::Check, .parent = kListStyleGroup, .row = 3, .col = 0,
     .key = "IDS_PICT_SHOTCOUNT"},
    {.id = D::IDC_SERIESNAME, .kind = ControlKind::Check, .parent = kListStyleGroup, .row = 4, .col = 0,
     .key = "IDS_PICT_SERIENAME"},

    {.id = kEstimateGroup, .kind = ControlKind::Group, .row = 2, .col = 5, .rowSpan = 3,
     .key = "IDS_PICT_STATIC_ESTIMATE"},
    {.id = D::IDC_ESTIMATE, .kind = ControlKind::Radio, .parent = kEstimateGroup, .row = 0, .col = 0,
     .key = "IDS_PICT_RADIO_ESTIMATE", .style = CS_GROUP},
    {.id = D::IDC_ESTIMATE + 1, .kind = ControlKind::Radio, .parent = kEstimateGroup, .row = 1, .col = 0,
     .key = "IDS_PICT_RADIO_ESTIMATE1"},
    {.id = D::IDC_ESTIMATE + 2, .kind = ControlKind::Radio, .parent = kEstimateGroup, .row = 2, .col = 0,
     .key = "IDS_PICT_RADIO_ESTIMATE2"},
    {.id = D::IDC_ESTIMATE + 3, .kind = ControlKind::Radio, .parent = kEstimateGroup, .row = 3, .col = 0,
     .key = "IDS_PICT_RADIO_ESTIMATE3"},

    {.id = kLiveGroup, .kind = ControlKind::Group, .row = 5, .col = 5, .rowSpan = 2, .key = "IDS_PICT_LIVE"},
    {.id = D::IDC_PNG, .kind = ControlKind::Radio, .parent = kLiveGroup, .row = 0, .col = 0, .key = "IDS_PICT_PNG",
     .style = CS_GROUP},
    {.id = D::IDC_BIN, .kind = ControlKind::Radio, .parent = kLiveGroup, .row = 1, .col = 0, .key = "IDS_PICT_BIN"},
    {.id = D::IDC_PNGBIN, .kind = ControlKind::Radio, .parent = kLiveGroup, .row = 2, .col = 0,
     .key = "IDS_PICT_PNGBIN"},
};
const DialogTemplate kPict{.id = D::IDD, .cx = 480, .cy = 300, .controls = kControls};

constexpr int kListNameWidth = 115;
// Wide enough for the header of the second column in every language.
constexpr int kListProfileWidth = 70;
constexpr int kLaneWidth = 40;
constexpr int kHtmlType = 2;
constexpr int kNettcastType = 3;
const char* const kGridHeaders[] = {"IDS_PICT_SELECTED_H0", "IDS_PICT_SELECTED_H1", "IDS_PICT_SELECTED_H2",
                                    "IDS_PICT_SELECTED_H3"};
const int kGridWidths[] = {40, 80, 100, 95};
const char* const kViewTypes[] = {"IDS_PICT_GTYPE1", "IDS_PICT_GTYPE2", "IDS_PICT_GTYPE3", "IDS_PICT_GTYPE4"};
const char kRingChoices[] = "0123456789X";

// What each kind of picture shows: 1 shown, 0 hidden, -1 left as it is.
struct ShowRow {
    std::initializer_list<int> ids;
    int targets, reserved, html, nettcast;
};
const ShowRow kShowTable[] = {
    {{kHtmlLabel, D::IDC_HTML, D::IDC_FINDFILE}, 0, 0, 1, 0},
    {{kLiveGroup, D::IDC_PNG, D::IDC_BIN, D::IDC_PNGBIN}, 0, 0, 0, 1},
    {{kInfoGroup, D::IDC_SHOWPLACE, D::IDC_ONESHOT, D::IDC_CLOCK, D::IDC_NOFINAL, kNameStyleGroup, D::IDC_NAMECLUB,
      D::IDC_NAMEONLY, D::IDC_CLUBONLY, D::IDC_CLASS, D::IDC_CATEGORY, kListStyleGroup, D::IDC_SHOTLIST,
      D::IDC_SERIESNAME, D::IDC_SHOTCOUNT, kEstimateGroup, D::IDC_ESTIMATE, D::IDC_ESTIMATE + 1, D::IDC_ESTIMATE + 2,
      D::IDC_ESTIMATE + 3},
     1, 1, 0, 1},
    {{kEventLabel, kTargetsLabel, D::IDC_TARGETS}, 1, -1, 0, 1},
    {{D::IDC_LANES, D::IDC_SORT, D::IDC_CLONE, D::IDC_COUNT}, 1, 0, 0, 1},
    {{D::IDC_EVENT, D::IDC_ADD, D::IDC_REMOVE}, 1, 1, 0, 1},
};

}  // namespace

CDlgPict::CDlgPict(CDlgConfig& config, QWidget* parent)
    : CConfigPage(kPict, config, parent, false), m_grid(new CGridList(this))
{
    SetCustomControl(IDC_TARGETS, m_grid);
    m_grid->SetControlId(IDC_TARGETS);
    m_grid->SetDrawItem([this](QPainter& painter, int row, const QRect& rect) { DrawRow(painter, row, rect); });
    int gridWidth = 4;
    for (int w : kGridWidths)
        gridWidth += w;
    m_grid->setMinimumWidth(gridWidth);
    item(IDC_LIST).widget()->setMinimumWidth(kListNameWidth + kListProfileWidth + 8);

    OnClick(IDC_LIST, [this] { OnListClick(); });
    OnSelChange(IDC_LIST, [this] {
        if (!m_filling)
            ShowPicture();
    });
    OnKillFocus(IDC_LIST, [this] {
        if (const int b = SelectedPicture())
            m_config.currentPicture = b;
    });
    OnClick(IDC_NEW, [this] { OnNew(); });
    OnClick(IDC_DELETE, [this] { OnDelete(); });
    for (int id : {IDC_TYPE, IDC_TYPE1, IDC_TYPE2, IDC_TYPE3})
        OnClick(id, [this] { OnType(); });
    OnKillFocus(IDC_NAME, [this] { SaveName(); });
    OnKillFocus(IDC_HTML, [this] { SaveHtml(); });
    OnClick(IDC_FINDFILE, [this] { OnFindFile(); });
    OnClick(IDC_ADD, [this] { OnAdd(); });
    OnNotify(Notify::DoubleClick, IDC_LANES, [this] { OnAdd(); });
    OnClick(IDC_REMOVE, [this] { OnRemove(); });
    OnClick(IDC_SORT, [this] { OnSort(); });
    OnClick(IDC_CLONE, [this] { OnClone(); });
    for (int id : {IDC_SHOWPLACE, IDC_ONESHOT, IDC_CLOCK, IDC_PNG, IDC_BIN, IDC_PNGBIN})
        OnClick(id, [this, id] { OnOption(id); });
    for (int id : std::initializer_list<int>{IDC_NAMECLUB, IDC_NAMEONLY, IDC_CLUBONLY, IDC_CLASS, IDC_CATEGORY, IDC_SHOTLIST, IDC_SHOTCOUNT,
                   IDC_SERIESNAME, IDC_NOFINAL, IDC_ESTIMATE, IDC_ESTIMATE + 1, IDC_ESTIMATE + 2, IDC_ESTIMATE + 3})
        OnClick(id, [this] { SaveViewFlags(); });
}

bool CDlgPict::OnInitDialog()
{
    Dialog::OnInitDialog();
    Control list = item(IDC_LIST);
    list.insertColumn(0, TextOfKey("IDS_PICT_LIST_H0"), kListNameWidth);
    list.insertColumn(1, TextOfKey("IDS_PICT_LIST_H1"), kListProfileWidth);
    item(IDC_LANES).insertColumn(0, TextOfKey("IDS_PICT_TARGET_H0"), kLaneWidth, true);
    item(IDC_LANES).widget()->setMaximumWidth(kLaneWidth + 30);
    DefineGrid();
    SetTexts();
    return true;
}

void CDlgPict::DefineGrid()
{
    CGridList& g = *m_grid;
    for (int c = kColLane; c <= kColRings; ++c)
        g.InsertColumn(c, TextOfKey(kGridHeaders[c]), c == kColLane ? GridAlign::Right : GridAlign::Left,
                       kGridWidths[c]);
    g.SetColumnType(kColLane, GRID_FIXED, 0);
    g.SetColumnType(kColEvent, GRID_FIXED, 0);
    g.SetColumnType(kColView, GRID_CHOICE, 0);
    g.SetColumnType(kColRings, GRID_CHOICE, 0);
    g.Column(kColLane)->m_leftAlign = 0;
    for (int c : {kColEvent, kColView, kColRings})
        g.Column(c)->m_leftAlign = 1;
    CGridColumn& view = *g.Column(kColView);
    view.SetChoiceCount(4);
    for (int k = 0; k < 4; ++k)
        view.m_codes[static_cast<size_t>(k)] = static_cast<uint16_t>(k);
    view.m_listWidths[1] = static_cast<int16_t>(kGridWidths[kColView]);
    CGridColumn& rings = *g.Column(kColRings);
    rings.m_multiChoice = 1;
    rings.m_separator = "";
    rings.SetChoiceCount(11);
    for (int k = 0; k < 11; ++k) {
        rings.m_texts[static_cast<size_t>(k)] = std::string(1, kRingChoices[k]);
        rings.m_codes[static_cast<size_t>(k)] = static_cast<uint16_t>(k);
    }
    rings.m_listWidths[0] = 16;
    rings.m_listWidths[1] = 40;
    g.m_firstColumn = kColView;
    g.m_defaultLastColumn = kColRings;
}

void CDlgPict::SetTexts()
{
    CConfigPage::SetTexts();
    item(IDC_LIST).setColumnHeader(0, TextOfKey("IDS_PICT_LIST_H0"));
    item(IDC_LIST).setColumnHeader(1, TextOfKey("IDS_PICT_LIST_H1"));
    item(IDC_LANES).setColumnHeader(0, TextOfKey("IDS_PICT_TARGET_H0"));
    for (int c = kColLane; c <= kColRings; ++c)
        m_grid->SetColumnHeader(c, TextOfKey(kGridHeaders[c]));
    CGridColumn& view = *m_grid->Column(kColView);
    for (int k = 0; k < 4; ++k)
        view.m_texts[static_cast<size_t>(k)] = TextOfKey(kViewTypes[k]);
    if (Created()) {
        FillList();
        FillTargets();
    }
}

void CDlgPict::OnShown()
{
    Files().Settings().Refresh();
    FillList();
    ShowPicture();
    FillLanes();
    FillEvents();
}

int CDlgPict::SelectedPicture() const
{
    Control list = item(IDC_LIST);
    const int row = list.selection();
    return row < 0 ? 0 : static_cast<int>(list.itemData(row));
}

CBVConfig* CDlgPict::SelectedStore() const
{
    const int b = SelectedPicture();
    return b ? m_config.Files().Picture(b) : nullptr;
}

void CDlgPict::DoDataExchange(DataExchange& dx)
{
    dx.Text(IDC_HTML, m_html);
    dx.Text(IDC_NAME, m_name);
    dx.Radio(IDC_TYPE, m_type);
    dx.Check(IDC_SHOWPLACE, m_showPlace);
    if (!dx.Saving())
        dx.Text(IDC_COUNT, m_targetCount);
    dx.Radio(IDC_NAMECLUB, m_nameChoice);
    dx.Check(IDC_CATEGORY, m_category);
    dx.Check(IDC_CLASS, m_class);
    dx.Check(IDC_SERIESNAME, m_seriesName);
    dx.Check(IDC_SHOTCOUNT, m_shotCount);
    dx.Check(IDC_SHOTLIST, m_shotList);
    dx.Check(IDC_NOFINAL, m_noFinal);
    dx.Radio(IDC_ESTIMATE, m_estimate);
    dx.Check(IDC_ONESHOT, m_oneShot);
    dx.Check(IDC_CLOCK, m_clock);
    dx.Radio(IDC_PNG, m_export);
}

void CDlgPict::FillList()
{
    Control list = item(IDC_LIST);
    m_filling = true;
    list.resetContent();
    for (const PictureSlots::PictureRow& row : PictureSlots::Rows(Files())) {
        const int at = list.addItem(row.name, row.picture);
        list.setItemText(at, 1, TextOfKey(row.inProfile ? "IDS_JA" : "IDS_NEI"));
    }
    list.setSelection(list.findItemData(m_config.currentPicture));
    m_filling = false;
}

void CDlgPict::FillLanes()
{
    Control lanes = item(IDC_LANES);
    lanes.resetContent();
    for (int lane = 1; lane <= 100; ++lane)
        lanes.addItem(std::to_string(lane), lane);
    lanes.setSelection(0);
}

void CDlgPict::FillEvents()
{
    CBVConfig& settings = Files().Settings();
    Control events = item(IDC_EVENT);
    events.resetContent();
    const int n = ReadItem(settings, VisItems::kEventCount);
    for (int e = 1; e <= n; ++e) {
        std::string name = ReadItem(settings, VisItems::EventName(e));
        if (!name.empty())
            events.addItem(name, e);
    }
    events.setSelection(events.count() > 0 ? 0 : -1);
}

void CDlgPict::FillTargets()
{
    CGridList& g = *m_grid;
    g.DeleteAllItems();
    g.m_lastColumn.clear();
    CBVConfig* store = SelectedStore();
    if (store) {
        CBVConfig& settings = Files().Settings();
        for (const PictureSlots::TargetSlot& t : PictureSlots::ReadTargets(*store)) {
            const int row = g.InsertItem(g.GetItemCount(), std::to_string(t.lane));
            g.SetItemText(row, kColEvent, ReadItem(settings, VisItems::EventName(t.event)));
            g.SetItemText(row, kColView,
                          t.viewType >= 0 && t.viewType < 4 ? TextOfKey(kViewTypes[t.viewType]) : std::string());
            g.SetItemText(row, kColRings, t.rings);
            g.SetItemData(row, t.event);
            g.m_lastColumn.push_back(kColRings);
        }
    }
    g.m_rowCount = static_cast<int16_t>(g.GetItemCount());
    m_targetCount = g.GetItemCount();
    item(IDC_COUNT).setNumber(m_targetCount);
    g.RedrawItems(0, g.GetItemCount());
    g.viewport()->update();
}

void CDlgPict::SelectTarget(int row)
{
    CGridList& g = *m_grid;
    if (row < 0 || row >= g.GetItemCount())
        return;
    g.m_currentRow = static_cast<int16_t>(row);
    g.SelectItem(row);
    g.EnsureVisible(row);
}

void CDlgPict::ShowPicture()
{
    CBVConfig* store = SelectedStore();
    if (store) {
        store->Refresh();
        m_name = ReadItem(*store, VisItems::kPictName);
        m_html = VisItems::ReadLongItem(*store, VisItems::kHtmlFileSection, 1, VisItems::kHtmlFileKey);
        m_type = ReadItem(*store, VisItems::kPictType);
        m_showPlace = ReadItem(*store, VisItems::kShowPlace);
        m_oneShot = ReadItem(*store, VisItems::kOneShot);
        m_clock = ReadItem(*store, VisItems::kShowClock);
        m_export = ReadItem(*store, VisItems::kNettcastFormat);
        const PictureSlots::ViewOptions o = PictureSlots::ViewOptionsOf(ReadItem(*store, VisItems::kPictureFlags));
        m_nameChoice = o.nameChoice;
        m_class = o.showClass;
        m_category = o.category;
        m_seriesName = o.seriesName;
        m_shotCount = o.shotCount;
        m_shotList = o.shotList;
        m_estimate = ReadItem(*store, VisItems::kEstimateMode);
        m_noFinal = ReadItem(*store, VisItems::kNoFinal) != 0;
    } else {
        m_name.clear();
        m_html.clear();
    }
    FillTargets();
    UpdateData(false);
    ShowControls(m_type);
}

void CDlgPict::ShowControls(int type)
{
    for (const ShowRow& row : kShowTable) {
        const int show = type == kHtmlType ? row.html
                         : type == 1       ? row.reserved
                         : type == kNettcastType ? row.nettcast
                                                 : row.targets;
        if (show < 0)
            continue;
        for (int id : row.ids)
            item(id).show(show != 0);
    }
    update();
}

void CDlgPict::OnListClick()
{
    if (const int b = SelectedPicture())
        m_config.currentPicture = b;
    ShowPicture();
}

void CDlgPict::OnNew()
{
    const int b = PictureSlots::New(Files());
    if (b == 0) {
        CurrentPrompter().Beep(BeepKind::Stop);
        return;
    }
    FillList();
}

void CDlgPict::OnDelete()
{
    const int b = SelectedPicture();
    if (b == 0) {
        MessageBox(TextOfKey("IDS_PICT_WRN_DEL"), {}, MessageIcon::Stop);
        return;
    }
    if (PictureSlots::Delete(Files(), b) == PictureSlots::DeleteResult::InProfile) {
        MessageBox(TextOfKey("IDS_PICT_DEL_WRN"), {}, MessageIcon::None, MessageButtons::OkCancel);
        return;
    }
    m_name.clear();
    item(IDC_NAME).setText("");
    m_filling = true;
    item(IDC_LIST).setSelection(-1);
    m_filling = false;
    FillList();
    ShowPicture();
}

void CDlgPict::OnType()
{
    CBVConfig* store = SelectedStore();
    if (!store)
        return;
    m_type = item(IDC_TYPE).selection();
    WriteItem(*store, VisItems::kPictType, m_type);
    ShowControls(m_type);
}

void CDlgPict::SaveName()
{
    CBVConfig* store = SelectedStore();
    if (!store)
        return;
    const std::string name = item(IDC_NAME).text();
    if (name == ReadItem(*store, VisItems::kPictName))
        return;
    m_name = name;
    WriteItem(*store, VisItems::kPictName, name);
    FillList();
}

void CDlgPict::SaveHtml()
{
    CBVConfig* store = SelectedStore();
    if (!store)
        return;
    m_html = PictureSlots::SaveHtmlFile(*store, item(IDC_HTML).text());
}

void CDlgPict::OnFindFile()
{
    CBVConfig* store = SelectedStore();
    if (!store)
        return;
    FileRequest request;
    request.title = TextOfKey("IDS_PICT_ADVERTISE") + " " + ReadItem(*store, VisItems::kPictName);
    request.initialPath = ".\\";
    request.filter = "HTM filer|*.htm";
    // The chooser may move the working folder; the settings files are
    // named relative to it.
    char cwd[PATH_MAX];
    const bool known = ::getcwd(cwd, sizeof cwd) != nullptr;
    std::string path;
    const bool chosen = CurrentPrompter().ChooseFile(request, path);
    if (known && ::chdir(cwd) != 0)
        return;
    if (!chosen)
        return;
    item(IDC_HTML).setText(path);
    SaveHtml();
}

void CDlgPict::OnAdd()
{
    CBVConfig* store = SelectedStore();
    if (!store) {
        MessageBox(TextOfKey("IDS_PICT_WRN_ADD"), {}, MessageIcon::Stop);
        return;
    }
    Control lanes = item(IDC_LANES);
    const int laneRow = lanes.selection();
    if (laneRow < 0) {
        MessageBox(TextOfKey("IDS_PICT_WRN_ADDLANE"), {}, MessageIcon::Stop);
        return;
    }
    Control events = item(IDC_EVENT);
    const int eventRow = events.selection();
    const int event = eventRow < 0 ? 0 : static_cast<int>(events.itemData(eventRow));
    const int selected = m_grid->GetSelectedItem();
    int viewType = 0;
    if (selected >= 0)
        viewType = ReadItem(*store, VisItems::SlotViewType(selected + 1));
    PictureSlots::AddTarget(*store, static_cast<int>(lanes.itemData(laneRow)), event, viewType);
    // Repeated adds take the lanes one after the other.
    if (laneRow + 1 < lanes.count()) {
        lanes.setSelection(laneRow + 1);
        lanes.ensureVisible(laneRow + 1);
    }
    FillTargets();
    SelectTarget(m_grid->GetItemCount() - 1);
}

void CDlgPict::OnRemove()
{
    CBVConfig* store = SelectedStore();
    if (!store) {
        MessageBox(TextOfKey("IDS_PICT_WRN_REMOVE"), {}, MessageIcon::Stop);
        return;
    }
    const int row = m_grid->GetSelectedItem();
    if (row < 0) {
        MessageBox(TextOfKey("IDS_PICT_WRN_REMOVELANE"), {}, MessageIcon::Stop);
        return;
    }
    PictureSlots::RemoveTarget(*store, row + 1);
    FillTargets();
    SelectTarget(row < m_grid->GetItemCount() ? row : m_grid->GetItemCount() - 1);
}

void CDlgPict::OnSort()
{
    CBVConfig* store = SelectedStore();
    if (!store)
        return;
    Control events = item(IDC_EVENT);
    const int eventRow = events.selection();
    PictureSlots::SortTargets(*store, eventRow < 0 ? 0 : static_cast<int>(events.itemData(eventRow)));
    FillTargets();
}

void CDlgPict::OnClone()
{
    CBVConfig* store = SelectedStore();
    if (!store) {
        MessageBox(TextOfKey("IDS_PICT_WRN_ADD"), {}, MessageIcon::Stop);
        return;
    }
    const int row = m_grid->GetSelectedItem();
    if (row < 0 || !PictureSlots::CopyToNext(*store, row + 1))
        return;
    FillTargets();
    SelectTarget(row + 1);
}

void CDlgPict::OnOption(int id)
{
    CBVConfig* store = SelectedStore();
    if (!store)
        return;
    switch (id) {
    case IDC_SHOWPLACE: WriteItem(*store, VisItems::kShowPlace, item(id).check()); break;
    case IDC_ONESHOT: WriteItem(*store, VisItems::kOneShot, item(id).check()); break;
    case IDC_CLOCK: WriteItem(*store, VisItems::kShowClock, item(id).check()); break;
    default: WriteItem(*store, VisItems::kNettcastFormat, item(IDC_PNG).selection()); break;
    }
}

void CDlgPict::SaveViewFlags()
{
    CBVConfig* store = SelectedStore();
    if (!store) {
        MessageBox(TextOfKey("IDS_PICT_WRN_PICT"), {}, MessageIcon::Stop);
        return;
    }
    UpdateData(true);
    PictureSlots::ViewOptions o;
    o.nameChoice = m_nameChoice < 0 ? 0 : m_nameChoice;
    o.showClass = m_class;
    o.category = m_category;
    o.seriesName = m_seriesName;
    o.shotCount = m_shotCount;
    o.shotList = m_shotList;
    WriteItem(*store, VisItems::kPictureFlags, PictureSlots::PictureFlagsOf(o));
    WriteItem(*store, VisItems::kEstimateMode, m_estimate < 0 ? 0 : m_estimate);
    WriteItem(*store, VisItems::kNoFinal, m_noFinal ? 1 : 0);
}

intptr_t CDlgPict::OnMessage(int message, intptr_t wParam, intptr_t lParam)
{
    CGridList& g = *m_grid;
    switch (message) {
    case WM_GRID_SELCHANGE: {
        if (GridFocusLeft(wParam)) {
            g.m_editMode = 0;
            return 0;
        }
        // The event box follows the one target selected.
        const int row = g.GetSelectedItem();
        if (wParam == -2 && row >= 0) {
            Control events = item(IDC_EVENT);
            const int at = events.findItemData(g.GetItemData(row));
            if (at >= 0)
                events.setSelection(at);
        }
        return 0;
    }
    case WM_GRID_BEGINEDIT: {
        CBVConfig* store = SelectedStore();
        const int row = BeginEditRow(wParam);
        const int column = BeginEditColumn(wParam);
        if (!store || row >= g.GetItemCount())
            return 0;
        if (column == kColView) {
            g.Column(kColView)->m_currentChoice = static_cast<int16_t>(ReadItem(*store, VisItems::SlotViewType(row + 1)));
        } else if (column == kColRings) {
            CGridColumn& rings = *g.Column(kColRings);
            const std::string present = ReadItem(*store, VisItems::SlotZoom(row + 1));
            for (int k = 0; k < 11; ++k)
                rings.m_checks[static_cast<size_t>(k)] = present.find(kRingChoices[k]) != std::string::npos;
            rings.m_currentChoice = 0;
        }
        return 0;
    }
    case WM_GRID_ENDEDIT: {
        const GridEditRecord* r = GridRecordOf(wParam);
        CBVConfig* store = SelectedStore();
        if (!store || r->row < 0 || r->row >= g.GetItemCount())
            return 0;
        if (r->column == kColView && r->param >= 0 && r->param < 4) {
            PictureSlots::SetViewType(*store, r->row + 1, static_cast<int>(r->param));
            g.SetItemText(r->row, kColView, TextOfKey(kViewTypes[r->param]));
        } else if (r->column == kColRings && r->text != nullptr && r->param != -1) {
            // A cancelled choice leaves the rings as they were.
            PictureSlots::SetRings(*store, r->row + 1, r->text);
            g.SetItemText(r->row, kColRings, r->text);
        }
        g.RedrawItems(r->row, r->row);
        return 0;
    }
    default: return CConfigPage::OnMessage(message, wParam, lParam);
    }
}

void CDlgPict::DrawRow(QPainter& painter, int row, const QRect& rect) const
{
    m_grid->DrawRowCells(painter, row, rect);
}
