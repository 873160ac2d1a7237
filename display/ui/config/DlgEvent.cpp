#include "display/ui/config/DlgEvent.h"

#include "display/config/EventSlots.h"
#include "display/ui/config/DlgConfig.h"
#include "foundation/ui/windows/FolderDialog.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"

using namespace platform;

namespace {

using D = CDlgEvent;
enum { kDataGroup = 1068, kNameLabel = 1067, kFolderLabel = 1065, kFromLabel = 1070, kToLabel = 1071 };

const ControlTemplate kControls[] = {
    {.id = D::IDC_LIST, .kind = ControlKind::ListView, .row = 0, .col = 0, .colSpan = 5, .style = CS_STRETCH},
    {.id = D::IDC_NEW, .kind = ControlKind::Button, .row = 1, .col = 0, .key = "IDS_EVENT_NEW"},
    {.id = D::IDC_DELETE, .kind = ControlKind::Button, .row = 1, .col = 1, .key = "IDS_EVENT_DEL"},
    {.id = kDataGroup, .kind = ControlKind::Group, .row = 2, .col = 0, .colSpan = 5, .key = "IDS_EVENT_DATA"},
    {.id = kNameLabel, .kind = ControlKind::Static, .parent = kDataGroup, .row = 0, .col = 0, .key = "IDS_EVENT_NAME"},
    {.id = D::IDC_NAME, .kind = ControlKind::Edit, .parent = kDataGroup, .row = 0, .col = 1, .colSpan = 2,
     .limit = 31},
    {.id = kFolderLabel, .kind = ControlKind::Static, .parent = kDataGroup, .row = 1, .col = 0,
     .key = "IDS_EVENT_PATH"},
    {.id = D::IDC_FOLDER, .kind = ControlKind::Edit, .parent = kDataGroup, .row = 1, .col = 1, .colSpan = 3,
     .style = CS_STRETCH},
    {.id = D::IDC_BROWSE, .kind = ControlKind::Button, .parent = kDataGroup, .row = 1, .col = 4,
     .key = "IDS_EVENT_FIND"},
    {.id = kFromLabel, .kind = ControlKind::Static, .parent = kDataGroup, .row = 2, .col = 0, .key = "IDS_EVENT_FROM"},
    {.id = D::IDC_FIRST, .kind = ControlKind::Edit, .parent = kDataGroup, .row = 2, .col = 1, .style = CS_NUMBER,
     .limit = 3},
    {.id = D::IDC_FIRST_SPIN, .kind = ControlKind::Spin, .parent = kDataGroup, .row = 2, .col = 2,
     .buddy = D::IDC_FIRST, .min = EventSlots::kFirstLane, .max = EventSlots::kLastLane},
    {.id = kToLabel, .kind = ControlKind::Static, .parent = kDataGroup, .row = 3, .col = 0, .key = "IDS_EVENT_TO"},
    {.id = D::IDC_LAST, .kind = ControlKind::Edit, .parent = kDataGroup, .row = 3, .col = 1, .style = CS_NUMBER,
     .limit = 3},
    {.id = D::IDC_LAST_SPIN, .kind = ControlKind::Spin, .parent = kDataGroup, .row = 3, .col = 2,
     .buddy = D::IDC_LAST, .min = EventSlots::kFirstLane, .max = EventSlots::kLastLane},
};
const DialogTemplate kEvent{.id = D::IDD, .cx = 480, .cy = 300, .controls = kControls};

const char* const kHeaders[] = {"IDS_EVENT_LIST_H0", "IDS_EVENT_LIST_H1", "IDS_EVENT_LIST_H2", "IDS_EVENT_LIST_H3"};
const int kWidths[] = {150, 300, 40, 40};

}  // namespace

CDlgEvent::CDlgEvent(CDlgConfig& config, QWidget* parent) : CConfigPage(kEvent, config, parent, true)
{
    OnClick(IDC_LIST, [this] { ShowSelected(); });
    OnSelChange(IDC_LIST, [this] { ShowSelected(); });
    OnClick(IDC_NEW, [this] { OnNew(); });
    OnClick(IDC_DELETE, [this] { OnDelete(); });
    OnKillFocus(IDC_NAME, [this] { SaveName(); });
    OnKillFocus(IDC_FOLDER, [this] { SaveFolder(); });
    OnClick(IDC_BROWSE, [this] { OnBrowse(); });
    OnChange(IDC_FIRST, [this] { OnLane(true); });
    OnChange(IDC_LAST, [this] { OnLane(false); });
    for (int id : {IDC_FIRST, IDC_LAST})
        item(id).widget()->setMaximumWidth(60);
}

bool CDlgEvent::OnInitDialog()
{
    m_showing = true;
    Dialog::OnInitDialog();
    Control list = item(IDC_LIST);
    for (int c = 0; c < 4; ++c)
        list.insertColumn(c, TextOfKey(kHeaders[c]), kWidths[c], c >= 2);
    SetTexts();
    m_selectedRow = -1;
    item(IDC_FIRST_SPIN).setRange(EventSlots::kFirstLane, EventSlots::kLastLane);
    item(IDC_LAST_SPIN).setRange(EventSlots::kFirstLane, EventSlots::kLastLane);
    m_showing = false;
    FillList();
    m_initialised = true;
    return true;
}

void CDlgEvent::SetTexts()
{
    CConfigPage::SetTexts();
    for (int c = 0; c < 4; ++c)
        item(IDC_LIST).setColumnHeader(c, TextOfKey(kHeaders[c]));
}

void CDlgEvent::OnShown()
{
    // Field edits are not written until an event is chosen again.
    m_selectedRow = -1;
    FillList();
}

void CDlgEvent::DoDataExchange(DataExchange& dx)
{
    dx.Text(IDC_FOLDER, m_folder);
    dx.Text(IDC_NAME, m_name);
    dx.Text(IDC_FIRST, m_first);
    dx.Text(IDC_LAST, m_last);
}

void CDlgEvent::PutValues()
{
    m_showing = true;
    UpdateData(false);
    m_showing = false;
}

void CDlgEvent::FillList()
{
    CBVConfig& settings = Files().Settings();
    Control list = item(IDC_LIST);
    const bool wasShowing = m_showing;
    m_showing = true;
    list.resetContent();
    settings.Refresh();
    for (const EventSlots::EventRow& e : EventSlots::Rows(settings)) {
        const int row = list.addItem(e.name, e.event);
        list.setItemText(row, 1, e.folder);
        list.setItemText(row, 2, std::to_string(e.firstLane));
        list.setItemText(row, 3, std::to_string(e.lastLane));
    }
    if (m_selectedRow >= 0 && m_selectedRow < list.count())
        list.setSelection(m_selectedRow);
    m_showing = wasShowing;
}

int CDlgEvent::SelectedEvent()
{
    Control list = item(IDC_LIST);
    if (m_selectedRow < 0 || m_selectedRow >= list.count())
        return 0;
    return static_cast<int>(list.itemData(m_selectedRow));
}

void CDlgEvent::ShowSelected()
{
    if (m_showing)
        return;
    const int row = item(IDC_LIST).selection();
    if (row < 0)
        return;
    m_selectedRow = row;
    EventSlots::EventRow e = EventSlots::Row(Files().Settings(), SelectedEvent());
    m_folder = e.folder;
    m_name = e.name;
    m_first = e.firstLane;
    m_last = e.lastLane;
    PutValues();
}

void CDlgEvent::OnNew()
{
    EventSlots::New(Files().Settings());
    FillList();
}

void CDlgEvent::OnDelete()
{
    Control list = item(IDC_LIST);
    const int row = list.selection();
    if (row < 0)
        return;
    EventSlots::Delete(Files().Settings(), static_cast<int>(list.itemData(row)));
    m_name.clear();
    m_folder.clear();
    m_selectedRow = -1;
    PutValues();
    FillList();
}

void CDlgEvent::SaveName()
{
    if (m_showing)
        return;
    UpdateData(true);
    if (const int e = SelectedEvent()) {
        EventSlots::SaveName(Files().Settings(), e, m_name);
        FillList();
    }
}

void CDlgEvent::SaveFolder()
{
    if (m_showing)
        return;
    UpdateData(true);
    if (const int e = SelectedEvent()) {
        m_folder = EventSlots::SaveFolder(Files().Settings(), e, m_folder);
        FillList();
    }
}

void CDlgEvent::OnBrowse()
{
    UpdateData(true);
    CFolderDialog dlg(TextOfKey("IDS_EVENT_FIND_TITLE").c_str(), m_folder.c_str(), this);
    if (dlg.DoModal() != 1)
        return;
    m_folder = dlg.GetFolderPath();
    PutValues();
    SaveFolder();
}

void CDlgEvent::OnLane(bool first)
{
    if (!m_initialised || m_showing)
        return;
    // A number still being typed (nothing yet) is not stored.
    bool ok = false;
    const int typed = item(first ? IDC_FIRST : IDC_LAST).number(&ok);
    if (!ok)
        return;
    const int e = SelectedEvent();
    if (e == 0)
        return;
    int& lane = first ? m_first : m_last;
    lane = first ? EventSlots::SaveFirstLane(Files().Settings(), e, typed)
                 : EventSlots::SaveLastLane(Files().Settings(), e, typed);
    // 0 shows as 1, and a lane past the last as 100.
    if (lane != typed) {
        m_showing = true;
        item(first ? IDC_FIRST : IDC_LAST).setNumber(lane);
        m_showing = false;
    }
    FillList();
}
