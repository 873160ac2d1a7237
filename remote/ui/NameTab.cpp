#include "remote/ui/NameTab.h"

#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Prompter.h"

#include <QShowEvent>

using namespace platform;

namespace {

const ControlTemplate kControls[] = {
    {.id = 1095, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_NAME_EVENT"},
    {.id = 1097, .kind = ControlKind::ComboList, .row = 0, .col = 1, .colSpan = 3},
    {.id = 1096, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_NAME_COMP"},
    {.id = 1098, .kind = ControlKind::ComboList, .row = 1, .col = 1, .colSpan = 3},
    {.id = 1092, .kind = ControlKind::Static, .row = 2, .col = 0, .key = "IDS_NAME_STATIC_RELAY"},
    {.id = 1093, .kind = ControlKind::Edit, .row = 2, .col = 1, .style = CS_NUMBER},
    {.id = 1094, .kind = ControlKind::Spin, .row = 2, .col = 2, .buddy = 1093, .min = 1, .max = 9999},
    {.id = 1091, .kind = ControlKind::ListView, .row = 3, .col = 0, .colSpan = 4, .style = CS_STRETCH},
    {.id = 1099, .kind = ControlKind::Button, .row = 4, .col = 0, .key = "IDS_NAME_BUTTON_DEL"},
    {.id = 1100, .kind = ControlKind::Button, .row = 4, .col = 1, .key = "IDS_NAME_DELLINE"},
};
const DialogTemplate kName{.id = 132, .cx = 330, .cy = 214, .controls = kControls};

struct Column {
    const char* key;
    int width;
    bool right;
};
const Column kColumns[NameList::kColumns] = {{"IDS_NAME_H0", 40, true},  {"IDS_NAME_H1", 130, false},
                                             {"IDS_NAME_H2", 130, false}, {"IDS_NAME_H3", 55, false},
                                             {"IDS_NAME_H4", 55, false},  {"IDS_NAME_H5", 75, true}};

}  // namespace

CNameTab::CNameTab(RemoteSettings& settings, QWidget* parent)
    : RemotePage(kName, settings, parent), m_boxes(*this, settings, 1097, 1098)
{
    OnSelChange(1097, [this] {
        if (m_boxes.EventChosen()) {
            m_relay = -1;
            FillList();
        }
    });
    OnSelChange(1098, [this] {
        if (m_boxes.CompChosen()) {
            m_relay = -1;
            FillList();
        }
    });
    OnChange(1093, [this] {
        if (!m_initialised)
            return;
        bool ok = false;
        int relay = item(1093).number(&ok);
        if (ok && relay != m_relay) {
            m_relay = relay;
            FillList();
        }
    });
    OnClick(1099, [this] { OnClearRelay(); });
    OnClick(1100, [this] { OnClearLine(); });
}

bool CNameTab::OnInitDialog()
{
    Dialog::OnInitDialog();
    for (int c = 0; c < NameList::kColumns; ++c)
        item(1091).insertColumn(c, TextOfKey(kColumns[c].key), kColumns[c].width, kColumns[c].right);
    SetTexts();
    m_boxes.FillEvents();
    m_initialised = true;
    return true;
}

void CNameTab::SetTexts()
{
    Relabel();
    for (int c = 0; c < NameList::kColumns; ++c)
        item(1091).setColumnHeader(c, TextOfKey(kColumns[c].key));
}

void CNameTab::showEvent(QShowEvent* event)
{
    Dialog::showEvent(event);
    if (m_initialised)
        m_boxes.FillEvents();
}

void CNameTab::FillList()
{
    m_relay = m_list.Fill(m_boxes.chooser.rangeFolder, m_boxes.SelectedComp(), m_relay);
    Control list = item(1091);
    list.resetContent();
    for (int row = 0; row < static_cast<int>(m_list.Rows().size()); ++row) {
        list.addItem(m_list.CellText(row, 0), m_list.Rows()[static_cast<size_t>(row)].lane);
        for (int c = 1; c < NameList::kColumns; ++c)
            list.setItemText(row, c, m_list.CellText(row, c));
    }
    bool initialised = m_initialised;
    m_initialised = false;
    item(1093).setNumber(m_relay > 0 ? m_relay : 1);
    m_initialised = initialised;
}

bool CNameTab::BeginEdit(int row, int column)
{
    switch (m_list.CanEdit(row)) {
    case 0: return column >= 1 && column < NameList::kColumns;
    case 1: MessageBox(TextOfKey("IDS_NAME_ILLEGAL_CARD"), {}, MessageIcon::Stop); return false;
    case 2: MessageBox(TextOfKey("IDS_NAME_ILLEGAL"), {}, MessageIcon::Stop); return false;
    default: return false;
    }
}

void CNameTab::EndEdit(int row, int column, const std::string& text)
{
    if (m_list.Store(row, column, text))
        item(1091).setItemText(row, column, m_list.CellText(row, column));
}

void CNameTab::OnClearLine()
{
    int row = item(1091).selection();
    if (row < 0) {
        MessageBox(TextOfKey("IDS_NAME_NOSEL"), {}, MessageIcon::Stop);
        return;
    }
    m_list.Clear(row);
    FillList();
}

void CNameTab::OnClearRelay()
{
    m_list.ClearRelay();
    FillList();
}

void CNameTab::OnLeavePage() { m_boxes.chooser.Leave(); }

void CNameTab::OnEnterPage()
{
    m_boxes.chooser.chosenEvent = m_boxes.chooser.chosenComp = -1;
    m_relay = -1;
    m_boxes.FillEvents();
    FillList();
}
