#include "display/ui/config/DlgProfil.h"

#include <QPainter>

#include "display/config/ConfigFiles.h"
#include "display/config/LongText.h"
#include "display/settings/VisSettings.h"
#include "display/ui/config/DlgConfig.h"
#include "foundation/text/TextUtil.h"
#include "foundation/ui/grid/GridList.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Prompter.h"

using namespace platform;

namespace {

using D = CDlgProfil;
enum { kDataGroup = 1130, kNameLabel = 1059, kPicturesLabel = 1131, kPlacesLabel = 1132 };

const ControlTemplate kControls[] = {
    // The spare width goes to the profile's data.
    {.id = D::IDC_PROFILES, .kind = ControlKind::ListView, .row = 0, .col = 0, .colSpan = 2},
    {.id = D::IDC_NEW, .kind = ControlKind::Button, .row = 1, .col = 0, .key = "IDS_PROFIL_NEW"},
    {.id = D::IDC_DELETE, .kind = ControlKind::Button, .row = 1, .col = 1, .key = "IDS_PROFIL_DEL"},
    {.id = kDataGroup, .kind = ControlKind::Group, .row = 0, .col = 2, .rowSpan = 2, .key = "IDS_PROFIL_DATA",
     .style = CS_STRETCH},
    {.id = kNameLabel, .kind = ControlKind::Static, .parent = kDataGroup, .row = 0, .col = 0,
     .key = "IDS_PROFIL_NAME"},
    {.id = D::IDC_NAME, .kind = ControlKind::Edit, .parent = kDataGroup, .row = 0, .col = 1, .limit = 31},
    {.id = kPicturesLabel, .kind = ControlKind::Static, .parent = kDataGroup, .row = 1, .col = 0,
     .key = "IDS_PROFIL_PICTS"},
    {.id = kPlacesLabel, .kind = ControlKind::Static, .parent = kDataGroup, .row = 1, .col = 1,
     .key = "IDS_PROFIL_SELECTED"},
    {.id = D::IDC_PICTURES, .kind = ControlKind::ListView, .parent = kDataGroup, .row = 2, .col = 0,
     .style = CS_STRETCH},
    {.id = D::IDC_PLACES, .kind = ControlKind::Custom, .parent = kDataGroup, .row = 2, .col = 1, .colSpan = 2,
     .style = CS_STRETCH},
    // Each button under the list it takes from.
    {.id = D::IDC_ADD, .kind = ControlKind::Button, .parent = kDataGroup, .row = 3, .col = 0,
     .key = "IDS_PROFIL_ADD"},
    {.id = D::IDC_REMOVE, .kind = ControlKind::Button, .parent = kDataGroup, .row = 3, .col = 1,
     .key = "IDS_PROFIL_REMOVE"},
};
const DialogTemplate kProfil{.id = D::IDD, .cx = 480, .cy = 300, .controls = kControls};

constexpr int kProfileWidth = 140;
constexpr int kPictureWidth = 155;
constexpr int kSecondsWidth = 80;

}  // namespace

CDlgProfil::CDlgProfil(CDlgConfig& config, QWidget* parent)
    : CConfigPage(kProfil, config, parent, true), m_grid(new CGridList(this))
{
    SetCustomControl(IDC_PLACES, m_grid);
    m_grid->SetControlId(IDC_PLACES);
    m_grid->SetDrawItem([this](QPainter& painter, int row, const QRect& rect) { DrawRow(painter, row, rect); });
    m_grid->setMinimumWidth(kPictureWidth + kSecondsWidth + 4);
    item(IDC_PROFILES).widget()->setMinimumWidth(kProfileWidth + 60);
    OnClick(IDC_PROFILES, [this] { ShowProfile(false); });
    OnSelChange(IDC_PROFILES, [this] {
        if (m_initialised)
            ShowProfile(true);
    });
    OnKillFocus(IDC_PROFILES, [this] {
        if (const int p = SelectedProfile())
            m_config.currentProfile = p;
    });
    OnKillFocus(IDC_PICTURES, [this] {
        if (const int i = SelectedPicture())
            m_config.currentPicture = i;
    });
    OnNotify(Notify::DoubleClick, IDC_PICTURES, [this] { OnAdd(); });
    OnKillFocus(IDC_NAME, [this] { SaveName(); });
    OnClick(IDC_NEW, [this] { OnNew(); });
    OnClick(IDC_DELETE, [this] { OnDelete(); });
    OnClick(IDC_ADD, [this] { OnAdd(); });
    OnClick(IDC_REMOVE, [this] { OnRemove(); });
}

bool CDlgProfil::OnInitDialog()
{
    Dialog::OnInitDialog();
    item(IDC_PROFILES).insertColumn(0, TextOfKey("IDS_PROFIL_LIST_H0"), kProfileWidth);
    item(IDC_PICTURES).insertColumn(0, TextOfKey("IDS_PROFIL_PICT_H0"), kPictureWidth);
    DefineGrid();
    SetTexts();
    FillProfiles();
    FillPictures();
    FillPlaces();
    m_initialised = true;
    return true;
}

void CDlgProfil::DefineGrid()
{
    CGridList& g = *m_grid;
    g.InsertColumn(kColName, TextOfKey("IDS_PROFIL_SELECTED_H0"), GridAlign::Left, kPictureWidth);
    g.InsertColumn(kColSeconds, TextOfKey("IDS_PROFIL_SELECTED_H1"), GridAlign::Left, kSecondsWidth);
    g.SetColumnType(kColName, GRID_FIXED, 0);
    g.SetColumnType(kColSeconds, GRID_TEXT, 0);
    g.Column(kColName)->m_leftAlign = 1;
    g.Column(kColSeconds)->m_leftAlign = 1;
    g.m_firstColumn = kColSeconds;
    g.m_defaultLastColumn = kColSeconds;
}

void CDlgProfil::SetTexts()
{
    CConfigPage::SetTexts();
    item(IDC_PROFILES).setColumnHeader(0, TextOfKey("IDS_PROFIL_LIST_H0"));
    item(IDC_PICTURES).setColumnHeader(0, TextOfKey("IDS_PROFIL_PICT_H0"));
    m_grid->SetColumnHeader(kColName, TextOfKey("IDS_PROFIL_SELECTED_H0"));
    m_grid->SetColumnHeader(kColSeconds, TextOfKey("IDS_PROFIL_SELECTED_H1"));
}

void CDlgProfil::OnShown()
{
    Files().Settings().Refresh();
    Files().Profiles().Refresh();
    FillProfiles();
    FillPictures();
    FillPlaces();
    for (int id : {IDC_PROFILES, IDC_PICTURES}) {
        Control list = item(id);
        list.ensureVisible(list.selection());
    }
}

int CDlgProfil::SelectedProfile() const
{
    Control list = item(IDC_PROFILES);
    const int row = list.selection();
    return row < 0 ? 0 : static_cast<int>(list.itemData(row));
}

int CDlgProfil::SelectedPicture() const
{
    Control list = item(IDC_PICTURES);
    const int row = list.selection();
    return row < 0 ? 0 : static_cast<int>(list.itemData(row));
}

void CDlgProfil::FillProfiles()
{
    CBVConfig& profiles = Files().Profiles();
    profiles.Refresh();
    Control list = item(IDC_PROFILES);
    m_filling = true;
    list.resetContent();
    for (const ProfilePlaces::ProfileRow& row : ProfilePlaces::Profiles(profiles))
        list.addItem(row.name, row.profile);
    int row = list.findItemData(m_config.currentProfile);
    if (row < 0 && list.count() > 0)
        row = 0;
    list.setSelection(row);
    m_filling = false;
    FillPlaces();
    item(IDC_NAME).setText(row >= 0 ? list.itemText(row) : "");
}

void CDlgProfil::FillPictures()
{
    Control list = item(IDC_PICTURES);
    m_filling = true;
    list.resetContent();
    CBVConfig& settings = Files().Settings();
    for (int i = 1; i <= Files().PictureSlots(); ++i) {
        CBVConfig* store = Files().Picture(i);
        if (!store || ReadItem(settings, VisItems::PictureInUse(i, 1)) == 0)
            continue;
        char name[CBVConfig::kValueSize];
        list.addItem(store->ReadString(31, 1, 500, "", name, sizeof name), i);
    }
    int row = list.findItemData(m_config.currentPicture);
    if (row < 0 && list.count() > 0)
        row = 0;
    list.setSelection(row);
    m_filling = false;
}

void CDlgProfil::FillPlaces()
{
    CGridList& g = *m_grid;
    g.DeleteAllItems();
    g.m_lastColumn.clear();
    m_places.clear();
    if (const int p = SelectedProfile()) {
        m_places = ProfilePlaces::Places(Files(), p);
        for (const ProfilePlaces::PlaceRow& place : m_places) {
            const int row = g.InsertItem(g.GetItemCount(), place.name);
            g.SetItemText(row, kColSeconds, std::to_string(place.seconds));
            g.SetItemData(row, place.picture);
            g.m_lastColumn.push_back(kColSeconds);
        }
    }
    g.m_rowCount = static_cast<int16_t>(g.GetItemCount());
    g.m_currentRow = 0;
    g.m_currentColumn = kColSeconds;
    g.viewport()->update();
}

void CDlgProfil::ShowProfile(bool focusList)
{
    if (m_filling)
        return;
    Control list = item(IDC_PROFILES);
    if (focusList)
        list.focus();
    const int row = list.selection();
    item(IDC_NAME).setText(row >= 0 ? list.itemText(row) : "");
    FillPlaces();
}

void CDlgProfil::OnNew()
{
    ProfilePlaces::NewProfile(Files().Profiles());
    FillProfiles();
}

void CDlgProfil::OnDelete()
{
    const int p = SelectedProfile();
    if (p == 0)
        return;
    if (!ProfilePlaces::DeleteProfile(Files().Profiles(), p)) {
        MessageBox(TextOfKey("IDS_PROFIL_WRN_DEL"), {}, MessageIcon::None, MessageButtons::OkCancel);
        return;
    }
    FillProfiles();
    item(IDC_NAME).setText("");
}

void CDlgProfil::SaveName()
{
    const int p = SelectedProfile();
    if (p == 0) {
        item(IDC_NAME).setText("");
        return;
    }
    ProfilePlaces::SaveName(Files(), p, item(IDC_NAME).text());
    FillProfiles();
}

void CDlgProfil::OnAdd()
{
    const int i = SelectedPicture();
    const int p = SelectedProfile();
    if (i == 0 || p == 0) {
        MessageBox(TextOfKey("IDS_PROFIL_WRN_ADD"), {}, MessageIcon::Stop);
        return;
    }
    ProfilePlaces::AddPicture(Files(), p, i);
    FillPlaces();
}

void CDlgProfil::OnRemove()
{
    const int p = SelectedProfile();
    const int r = m_grid->m_currentRow;
    if (p == 0 || r < 0 || r >= static_cast<int>(m_places.size())) {
        MessageBox(TextOfKey("IDS_PROFIL_WRN_REMOVE"), {}, MessageIcon::Stop);
        return;
    }
    ProfilePlaces::RemovePlace(Files(), p, m_places[static_cast<size_t>(r)].place);
    FillPlaces();
    const int rows = m_grid->GetItemCount();
    m_grid->m_currentRow = static_cast<int16_t>(r < rows ? r : rows - 1);
    m_grid->viewport()->update();
}

intptr_t CDlgProfil::OnMessage(int message, intptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case WM_GRID_BEGINEDIT: {
        const int row = BeginEditRow(wParam);
        if (BeginEditColumn(wParam) == kColSeconds && row < m_grid->GetItemCount())
            m_grid->Column(kColSeconds)->m_texts[0] = m_grid->GetItemText(row, kColSeconds);
        return 0;
    }
    case WM_GRID_ENDEDIT: {
        const GridEditRecord* r = GridRecordOf(wParam);
        if (r->column != kColSeconds || r->text == nullptr)
            return 0;
        const int p = SelectedProfile();
        if (p == 0 || r->row < 0 || r->row >= static_cast<int>(m_places.size()))
            return 0;
        const std::string typed = ConfigText::TrimBlanks(r->text).substr(0, 30);
        const int seconds = CTextUtil::ParseScaled(typed, 0);
        ProfilePlaces::SetSeconds(Files().Profiles(), p, m_places[static_cast<size_t>(r->row)].place, seconds);
        m_places[static_cast<size_t>(r->row)].seconds = seconds;
        m_grid->SetItemText(r->row, kColSeconds, std::to_string(seconds));
        m_grid->RedrawItems(r->row, r->row);
        return 0;
    }
    case WM_GRID_SELCHANGE:
        if (GridFocusLeft(wParam))
            m_grid->m_editMode = 0;
        return 0;
    default: return CConfigPage::OnMessage(message, wParam, lParam);
    }
}

void CDlgProfil::DrawRow(QPainter& painter, int row, const QRect& rect) const
{
    m_grid->DrawRowCells(painter, row, rect);
}
