#include "remote/ui/ConfigTab.h"

#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Prompter.h"

#include <QListView>
#include <QShowEvent>

using namespace platform;

namespace {

const ControlTemplate kControls[] = {
    {.id = 1051, .kind = ControlKind::ListView, .row = 0, .col = 0, .colSpan = 4, .style = CS_STRETCH},
    {.id = 1052, .kind = ControlKind::Button, .row = 1, .col = 0, .key = "IDS_CONFIG_ADD"},
    {.id = 1053, .kind = ControlKind::Button, .row = 1, .col = 1, .key = "IDS_CONFIG_DELETE"},
    {.id = 1054, .kind = ControlKind::Static, .row = 2, .col = 0, .key = "IDS_CONFIG_PATH"},
    {.id = 1055, .kind = ControlKind::Edit, .row = 2, .col = 1, .colSpan = 2, .limit = RemoteSettings::kMaxFolder},
    {.id = 1056, .kind = ControlKind::Button, .row = 2, .col = 3, .text = "..."},
    {.id = 1057, .kind = ControlKind::Static, .row = 3, .col = 0, .key = "IDS_CONFIG_NAME"},
    {.id = 1058, .kind = ControlKind::Edit, .row = 3, .col = 1, .colSpan = 2, .limit = 31},
};
const DialogTemplate kConfig{.id = 130, .cx = 322, .cy = 212, .controls = kControls};

}  // namespace

CConfigTab::CConfigTab(RemoteSettings& settings, QWidget* parent) : RemotePage(kConfig, settings, parent)
{
    OnClick(1052, [this] { OnAdd(); });
    OnClick(1053, [this] { OnDelete(); });
    OnClick(1056, [this] { OnBrowse(); });
    OnKillFocus(1058, [this] { SaveName(); });
    OnKillFocus(1055, [this] { SaveFolder(); });
    if (auto* view = qobject_cast<QAbstractItemView*>(item(1051).widget()))
        QObject::connect(view, &QAbstractItemView::clicked, view,
                         [this](const QModelIndex& index) { ClickRow(index.row()); });
}

bool CConfigTab::OnInitDialog()
{
    Dialog::OnInitDialog();
    Control list = item(1051);
    list.insertColumn(0, TextOfKey("IDS_CONFIG_H0"), 90);
    list.insertColumn(1, TextOfKey("IDS_CONFIG_H1"), 500);
    SetTexts();
    FillList();
    return true;
}

void CConfigTab::SetTexts()
{
    for (int id : {1052, 1053, 1054, 1057})
        item(id).setTextKey(id == 1052 ? "IDS_CONFIG_ADD" : id == 1053 ? "IDS_CONFIG_DELETE"
                                        : id == 1054 ? "IDS_CONFIG_PATH" : "IDS_CONFIG_NAME");
    item(1051).setColumnHeader(0, TextOfKey("IDS_CONFIG_H0"));
    item(1051).setColumnHeader(1, TextOfKey("IDS_CONFIG_H1"));
}

void CConfigTab::showEvent(QShowEvent* event)
{
    Dialog::showEvent(event);
    if (Created())
        FillList();
}

void CConfigTab::FillList()
{
    Control list = item(1051);
    list.resetContent();
    m_settings.Refresh();
    for (int e : m_settings.Events()) {
        int row = list.addItem(m_settings.EventName(e), e);
        list.setItemText(row, 1, m_settings.EventFolder(e));
    }
    if (m_clicked >= 0 && m_clicked < list.count())
        list.setSelection(m_clicked);
    else
        m_clicked = -1;
    int row = list.selection();
    if (row >= 0) {
        int e = static_cast<int>(list.itemData(row));
        item(1058).setText(m_settings.EventName(e));
        item(1055).setText(m_settings.EventFolder(e));
    } else {
        item(1058).setText("");
        item(1055).setText("");
    }
}

void CConfigTab::ClickRow(int row)
{
    if (row < 0 || row >= item(1051).count())
        return;
    m_clicked = row;
    item(1051).setSelection(row);
    int e = static_cast<int>(item(1051).itemData(row));
    item(1058).setText(m_settings.EventName(e));
    item(1055).setText(m_settings.EventFolder(e));
}

int CConfigTab::ClickedEvent() const
{
    if (m_clicked < 0 || m_clicked >= item(1051).count())
        return 0;
    return static_cast<int>(item(1051).itemData(m_clicked));
}

void CConfigTab::OnAdd()
{
    m_settings.AddEvent();
    FillList();
}

void CConfigTab::OnDelete()
{
    int row = item(1051).selection();
    if (row < 0) {
        MessageBox(TextOfKey("IDS_CONFIG_WRNNOSEL"), {}, MessageIcon::Stop);
        return;
    }
    m_settings.DeleteEvent(static_cast<int>(item(1051).itemData(row)));
    FillList();
}

void CConfigTab::SaveName()
{
    int e = ClickedEvent();
    if (e <= 0)
        return;
    m_settings.SetEventName(e, item(1058).text());
    FillList();
}

void CConfigTab::SaveFolder()
{
    int e = ClickedEvent();
    if (e <= 0)
        return;
    m_settings.SetEventFolder(e, item(1055).text());
    FillList();
}

void CConfigTab::OnBrowse()
{
    FolderRequest request{TextOfKey("IDS_CONFIG_FIND_TITLE"), item(1055).text()};
    std::string folder;
    if (!CurrentPrompter().ChooseFolder(request, folder) || folder.empty())
        return;
    item(1055).setText(folder);
    SaveFolder();
}

void CConfigTab::OnLeavePage()
{
    // A field being edited saves itself when it loses the focus; the page
    // may hide before the focus moves, so a changed field is saved here.
    int e = ClickedEvent();
    if (e > 0 && item(1058).text() != m_settings.EventName(e))
        SaveName();
    if (e > 0 && item(1055).text() != m_settings.EventFolder(e))
        SaveFolder();
    item(1051).focus();
}
