#include "remote/ui/ExchTab.h"

#include "foundation/exchange/BVExch.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Prompter.h"

#include <QShowEvent>

using namespace platform;

namespace {

const ControlTemplate kControls[] = {
    {.id = 1074, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_EXCH_EVENT"},
    {.id = 1072, .kind = ControlKind::ComboList, .row = 0, .col = 1, .colSpan = 3},
    {.id = 1075, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_EXCH_COMP"},
    {.id = 1073, .kind = ControlKind::ComboList, .row = 1, .col = 1, .colSpan = 3},
    {.id = 1077, .kind = ControlKind::Group, .row = 2, .col = 0, .colSpan = 4, .key = "IDS_EXCH_STATIC_SEND"},
    {.id = 1079, .kind = ControlKind::Static, .parent = 1077, .row = 0, .col = 0, .key = "IDS_EXCH_STATIC_RELAYFROM"},
    {.id = 1083, .kind = ControlKind::Edit, .parent = 1077, .row = 0, .col = 1, .style = CS_NUMBER},
    {.id = 1085, .kind = ControlKind::Spin, .parent = 1077, .row = 0, .col = 2, .buddy = 1083, .min = 1, .max = 9999},
    {.id = 1081, .kind = ControlKind::Static, .parent = 1077, .row = 0, .col = 3, .key = "IDS_EXCH_STATIC_RELAYTO"},
    {.id = 1087, .kind = ControlKind::Edit, .parent = 1077, .row = 0, .col = 4, .style = CS_NUMBER},
    {.id = 1089, .kind = ControlKind::Spin, .parent = 1077, .row = 0, .col = 5, .buddy = 1087, .min = 1, .max = 9999},
    {.id = 1080, .kind = ControlKind::Static, .parent = 1077, .row = 1, .col = 0, .key = "IDS_EXCH_STATIC_LANEFROM", .style = CS_HIDDEN},
    {.id = 1084, .kind = ControlKind::Edit, .parent = 1077, .row = 1, .col = 1, .style = CS_NUMBER | CS_HIDDEN},
    {.id = 1086, .kind = ControlKind::Spin, .parent = 1077, .row = 1, .col = 2, .style = CS_HIDDEN, .buddy = 1084, .min = 1, .max = 99},
    {.id = 1082, .kind = ControlKind::Static, .parent = 1077, .row = 1, .col = 3, .key = "IDS_EXCH_STATIC_LANETO", .style = CS_HIDDEN},
    {.id = 1088, .kind = ControlKind::Edit, .parent = 1077, .row = 1, .col = 4, .style = CS_NUMBER | CS_HIDDEN},
    {.id = 1090, .kind = ControlKind::Spin, .parent = 1077, .row = 1, .col = 5, .style = CS_HIDDEN, .buddy = 1088, .min = 1, .max = 99},
    {.id = 1071, .kind = ControlKind::Button, .parent = 1077, .row = 0, .col = 6, .key = "IDS_EXCH_BUTTON_SEND"},
    {.id = 1078, .kind = ControlKind::Group, .row = 3, .col = 0, .colSpan = 4, .key = "IDS_EXCH_STATIC_PARAM"},
    {.id = 1061, .kind = ControlKind::Static, .parent = 1078, .row = 0, .col = 0, .key = "IDS_EXCH_PROG"},
    {.id = 1066, .kind = ControlKind::ComboList, .parent = 1078, .row = 0, .col = 1, .colSpan = 2},
    {.id = 1062, .kind = ControlKind::Static, .parent = 1078, .row = 1, .col = 0, .key = "IDS_EXCH_PATH"},
    {.id = 1063, .kind = ControlKind::Edit, .parent = 1078, .row = 1, .col = 1, .limit = ExchangeParameters::kMaxFolder},
    {.id = 1067, .kind = ControlKind::Button, .parent = 1078, .row = 1, .col = 2, .text = "..."},
    {.id = 1060, .kind = ControlKind::Static, .parent = 1078, .row = 2, .col = 0, .key = "IDS_EXCH_PREFIX"},
    {.id = 1064, .kind = ControlKind::Edit, .parent = 1078, .row = 2, .col = 1, .limit = 31},
    {.id = 1068, .kind = ControlKind::Radio, .parent = 1078, .row = 3, .col = 0, .key = "IDS_EXCH_STARTSUM0", .style = CS_GROUP},
    {.id = 1069, .kind = ControlKind::Radio, .parent = 1078, .row = 3, .col = 1, .key = "IDS_EXCH_STARTSUM1"},
    {.id = 1070, .kind = ControlKind::Radio, .parent = 1078, .row = 3, .col = 2, .key = "IDS_EXCH_STARTSUM2", .style = CS_HIDDEN},
    {.id = 1076, .kind = ControlKind::Button, .parent = 1078, .row = 4, .col = 2, .key = "IDS_EXCH_BUTTON_SAVE", .style = CS_DEFAULT},
};
const DialogTemplate kExch{.id = 133, .cx = 330, .cy = 214, .controls = kControls};

}  // namespace

CExchTab::CExchTab(RemoteSettings& settings, QWidget* parent)
    : RemotePage(kExch, settings, parent), m_boxes(*this, settings, 1072, 1073)
{
    OnSelChange(1072, [this] {
        if (m_boxes.EventChosen())
            LoadParameters();
    });
    OnSelChange(1073, [this] {
        if (m_boxes.CompChosen())
            LoadParameters();
    });
    OnClick(1067, [this] { OnBrowse(); });
    OnClick(1076, [this] { OnSave(); });
    OnClick(1071, [this] { OnSend(); });
}

bool CExchTab::OnInitDialog()
{
    Dialog::OnInitDialog();
    item(1083).setNumber(1);
    item(1087).setNumber(1);
    item(1084).setNumber(1);
    item(1088).setNumber(10);
    SetTexts();
    m_initialised = true;
    return true;
}

void CExchTab::SetTexts()
{
    Relabel();
    Control programs = item(1066);
    int selected = programs.selection();
    programs.resetContent();
    for (int i = 0; i < 9; ++i)
        programs.addItem(TextOfKey("IDS_INTERFACE_RES" + std::to_string(i + 1)), i);
    programs.setSelection(selected);
    m_boxes.FillEvents();
}

void CExchTab::showEvent(QShowEvent* event)
{
    Dialog::showEvent(event);
    if (m_initialised)
        m_boxes.FillEvents();
}

void CExchTab::LoadParameters()
{
    ExchangeParameters p = ExchangeParameters::Load(m_boxes.chooser.rangeFolder, m_boxes.SelectedComp());
    item(1063).setText(p.officeFolder);
    item(1064).setText(p.prefix);
    item(1068).setSelection(p.startScoreMode);
    item(1066).setSelection(p.resultsProgram < 0 ? -1 : item(1066).findItemData(p.resultsProgram));
}

void CExchTab::OnBrowse()
{
    FolderRequest request{TextOfKey("IDS_EXCH_FIND_TITLE"), item(1063).text()};
    std::string folder;
    if (CurrentPrompter().ChooseFolder(request, folder) && !folder.empty())
        item(1063).setText(folder);
}

void CExchTab::OnSave()
{
    int comp = m_boxes.SelectedComp();
    // Without settings that were read there is nothing to change.
    if (comp <= 0 || ExchangeParameters::Load(m_boxes.chooser.rangeFolder, comp).startScoreMode < 0) {
        CurrentPrompter().Beep(BeepKind::Stop);
        return;
    }
    ExchangeParameters p;
    int program = item(1066).selection();
    p.resultsProgram = program < 0 ? -1 : static_cast<int>(item(1066).itemData(program));
    p.officeFolder = item(1063).text();
    p.prefix = item(1064).text();
    p.startScoreMode = item(1068).selection();
    p.Save(m_boxes.chooser.rangeFolder, comp);
    LoadParameters();
}

void CExchTab::OnSend()
{
    int comp = m_boxes.SelectedComp();
    if (comp <= 0 || ExchangeParameters::Load(m_boxes.chooser.rangeFolder, comp).startScoreMode < 0) {
        CurrentPrompter().Beep(BeepKind::Stop);
        return;
    }
    CBVExch exchange;
    exchange.SetFolder(m_boxes.chooser.rangeFolder);
    int result = exchange.ExportResults(comp, item(1083).number(), item(1087).number(), 1, 99, "");
    MessageBox(TextOfKey(result == CBVExch::kDone ? "IDS_EXCH_SENT" : "IDS_EXCH_NOTSENT"), {},
               result == CBVExch::kDone ? MessageIcon::Information : MessageIcon::Stop);
}

void CExchTab::OnLeavePage() { m_boxes.chooser.Leave(); }

void CExchTab::OnEnterPage()
{
    m_boxes.chooser.chosenEvent = m_boxes.chooser.chosenComp = -1;
    m_boxes.FillEvents();
    LoadParameters();
}
