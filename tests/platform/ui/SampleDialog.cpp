#include "SampleDialog.h"

#include "platform/system/Codepage.h"
#include "platform/ui/Prompter.h"

#include <cctype>

namespace bvtest {
namespace {

using platform::ControlKind;
using K = platform::ControlKind;
using namespace platform;

const ControlTemplate kControls[] = {
    {.id = IDC_GROUP_SHOOTER, .kind = K::Group, .row = 0, .col = 0, .colSpan = 2, .key = "IDS_SAMPLE_SHOOTER"},
    {.id = IDC_LABEL_NAME, .kind = K::Static, .parent = IDC_GROUP_SHOOTER, .row = 0, .col = 0, .key = "IDS_SAMPLE_NAME"},
    {.id = IDC_NAME, .kind = K::Edit, .parent = IDC_GROUP_SHOOTER, .row = 0, .col = 1, .colSpan = 2},
    {.id = IDC_LABEL_LANE, .kind = K::Static, .parent = IDC_GROUP_SHOOTER, .row = 1, .col = 0, .key = "IDS_SAMPLE_LANE"},
    {.id = IDC_LANE, .kind = K::Edit, .parent = IDC_GROUP_SHOOTER, .row = 1, .col = 1, .style = CS_NUMBER | CS_RIGHT, .limit = 3},
    {.id = IDC_LANE_SPIN, .kind = K::Spin, .parent = IDC_GROUP_SHOOTER, .row = 1, .col = 2, .buddy = IDC_LANE, .min = 1, .max = 99},
    {.id = IDC_LABEL_CLASS, .kind = K::Static, .parent = IDC_GROUP_SHOOTER, .row = 2, .col = 0, .key = "IDS_SAMPLE_CLASS"},
    {.id = IDC_CLASS, .kind = K::ComboList, .parent = IDC_GROUP_SHOOTER, .row = 2, .col = 1, .colSpan = 2},
    {.id = IDC_LABEL_CLUB, .kind = K::Static, .parent = IDC_GROUP_SHOOTER, .row = 3, .col = 0, .key = "IDS_SAMPLE_CLUB"},
    {.id = IDC_CLUB, .kind = K::ComboEdit, .parent = IDC_GROUP_SHOOTER, .row = 3, .col = 1, .colSpan = 2, .style = CS_SORT, .limit = 30},
    {.id = IDC_COMMENT, .kind = K::Edit, .parent = IDC_GROUP_SHOOTER, .row = 4, .col = 0, .colSpan = 3, .style = CS_MULTILINE, .limit = 40},
    {.id = IDC_GROUP_OPTIONS, .kind = K::Group, .row = 0, .col = 2, .key = "IDS_SAMPLE_OPTIONS"},
    {.id = IDC_PRINT, .kind = K::Check, .parent = IDC_GROUP_OPTIONS, .row = 0, .col = 0, .colSpan = 2, .key = "IDS_SAMPLE_PRINT"},
    {.id = IDC_VALUE_INT, .kind = K::Radio, .parent = IDC_GROUP_OPTIONS, .row = 1, .col = 0, .colSpan = 2, .text = "Integer", .style = CS_GROUP},
    {.id = IDC_VALUE_DEC, .kind = K::Radio, .parent = IDC_GROUP_OPTIONS, .row = 2, .col = 0, .colSpan = 2, .text = "Decimal"},
    {.id = IDC_VALUE_HIT, .kind = K::Radio, .parent = IDC_GROUP_OPTIONS, .row = 3, .col = 0, .colSpan = 2, .text = "Hit/miss"},
    {.id = IDC_DATE, .kind = K::Date, .parent = IDC_GROUP_OPTIONS, .row = 4, .col = 0},
    {.id = IDC_TIME, .kind = K::Time, .parent = IDC_GROUP_OPTIONS, .row = 4, .col = 1},
    {.id = IDC_SERIES, .kind = K::ListBox, .row = 1, .col = 0, .style = CS_STRETCH},
    {.id = IDC_SHOTS, .kind = K::ListView, .row = 1, .col = 1, .style = CS_CHECKBOXES | CS_MULTISEL | CS_STRETCH},
    {.id = IDC_TREE, .kind = K::Tree, .row = 1, .col = 2, .style = CS_STRETCH},
    {.id = IDC_TABS, .kind = K::Tab, .row = 2, .col = 0, .colSpan = 3},
    {.id = IDC_PROGRESS, .kind = K::Progress, .row = 3, .col = 0, .colSpan = 2, .min = 0, .max = 99},
    {.id = IDC_STATUS, .kind = K::Static, .row = 3, .col = 2, .style = CS_READONLY},
    {.id = IDC_BROWSE, .kind = K::Button, .row = 4, .col = 0, .key = "IDS_SAMPLE_BROWSE"},
    {.id = IDC_CLEAR, .kind = K::Button, .row = 4, .col = 1, .key = "IDS_SAMPLE_CLEAR"},
    {.id = IDOK, .kind = K::Button, .row = 5, .col = 1, .text = "OK", .style = CS_DEFAULT},
    {.id = IDCANCEL, .kind = K::Button, .row = 5, .col = 2, .text = "Cancel"},
};

const DialogTemplate kTemplate{
    .id = IDD_SAMPLE, .captionKey = "IDS_SAMPLE_TITLE", .cx = 330, .cy = 230, .controls = kControls};

}  // namespace

SampleDialog::SampleDialog(QWidget* parent) : platform::Dialog(kTemplate, parent)
{
    OnClick(IDC_BROWSE, [this] { OnBrowse(); });
    OnClick(IDC_CLEAR, [this] { OnClear(); });
    OnKillFocus(IDC_NAME, [this] { OnNameLeft(); });
    OnChange(IDC_LANE, [this] {
        ++m_laneChanges;
        item(IDC_PROGRESS).setPos(item(IDC_LANE).number());
    });
    OnSelChange(IDC_CLASS, [this] {
        ++m_classChanges;
        Control c = item(IDC_CLASS);
        item(IDC_STATUS).setText("Class " + c.itemText(c.selection()));
    });
    OnClick(IDC_SHOTS, [this] { ++m_rowClicks; });
    // The third tab opens only for a shooter whose card is printed.
    OnSelChanging(IDC_TABS, [this] {
        bool refuse = item(IDC_PRINT).check() == 0;
        m_tabRefusals += refuse ? 1 : 0;
        return refuse;
    });
    OnSelChange(IDC_TABS, [this] { ++m_tabChanges; });
}

bool SampleDialog::OnInitDialog()
{
    Control classes = item(IDC_CLASS);
    const char* names[] = {"Senior", "Junior", "Veteran"};
    for (int i = 0; i < 3; ++i)
        classes.addItem(names[i], 10 + i);
    for (const char* club : {"Tromsø", "Alta", "Bodø"})
        item(IDC_CLUB).addItem(platform::Ansi(club));
    for (int s = 1; s <= 4; ++s)
        item(IDC_SERIES).addItem("Serie " + std::to_string(s), s);
    Control shots = item(IDC_SHOTS);
    shots.insertColumn(0, "Shot", 50);
    shots.insertColumn(1, "Value", 60, true);
    const int values[] = {104, 98, 109, 100};
    for (int i = 0; i < 4; ++i) {
        int row = shots.addItem(std::to_string(i + 1), values[i]);
        shots.setItemText(row, 1, std::to_string(values[i] / 10) + "." + std::to_string(values[i] % 10));
    }
    Control tree = item(IDC_TREE);
    platform::TreeItem comp = tree.insertTreeItem(platform::kTreeRoot, "Competition", 1);
    platform::TreeItem event = tree.insertTreeItem(comp, "Event 1", 2);
    tree.setTreeItemState(tree.insertTreeItem(event, "Relay 1", 3), 2);
    tree.setTreeItemState(tree.insertTreeItem(event, "Relay 2", 4), 1);
    tree.expandTreeItem(comp);
    tree.expandTreeItem(event);
    Control tabs = item(IDC_TABS);
    tabs.insertItem(0, "Card", 1);
    tabs.insertItem(1, "Series", 2);
    tabs.insertItem(2, "Print", 3);
    tabs.setSelection(0);
    return platform::Dialog::OnInitDialog();
}

void SampleDialog::DoDataExchange(platform::DataExchange& dx)
{
    dx.Text(IDC_NAME, m_name);
    dx.MaxChars(IDC_NAME, m_name, 12);
    dx.Text(IDC_LANE, m_lane);
    dx.MinMax(IDC_LANE, m_lane, 1, 99);
    dx.ComboIndex(IDC_CLASS, m_class);
    dx.ComboText(IDC_CLUB, m_club);
    dx.Text(IDC_COMMENT, m_comment);
    dx.Check(IDC_PRINT, m_print);
    dx.Radio(IDC_VALUE_INT, m_valueSystem);
    dx.Time(IDC_DATE, m_date);
}

void SampleDialog::OnBrowse()
{
    platform::FolderRequest request;
    request.title = "Exchange folder";
    request.initialFolder = m_folder;
    std::string folder;
    if (platform::CurrentPrompter().ChooseFolder(request, folder)) {
        m_folder = folder;
        item(IDC_STATUS).setText(folder);
    }
}

void SampleDialog::OnClear()
{
    if (item(IDC_SERIES).count() == 0) {
        platform::CurrentPrompter().Beep(platform::BeepKind::Default);
        return;
    }
    if (platform::MessageBox("Clear the series list?", {}, platform::MessageIcon::Question,
                             platform::MessageButtons::YesNo, 1) == platform::IDYES)
        item(IDC_SERIES).resetContent();
}

void SampleDialog::OnNameLeft()
{
    ++m_nameLeft;
    // Names are kept with a capital first letter, however they were typed.
    std::string name = item(IDC_NAME).text();
    if (!name.empty() && std::islower(static_cast<unsigned char>(name[0]))) {
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        item(IDC_NAME).setText(name);
    }
}

}  // namespace bvtest
