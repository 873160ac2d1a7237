#include "range/ui/setup/DlgComp.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"
#include "foundation/files/BVLog.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/FileSystem.h"
#include "platform/files/ProfileStore.h"
#include "platform/system/Clock.h"
#include "platform/system/TextTable.h"
#include "range/base/RangeObjects.h"
#include "range/setup/CompetitionList.h"
#include "range/ui/setup/DlgDefComp.h"

#include <QGridLayout>

#include <cstdio>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;

const ControlTemplate kControls[] = {
    {.id = CDlgComp::IDC_SELECT, .kind = ControlKind::Button, .row = 0, .col = 0, .key = "IDS_COMP_SELECT",
     .style = platform::CS_DEFAULT},
    {.id = CDlgComp::IDC_NEW, .kind = ControlKind::Button, .row = 0, .col = 1, .key = "IDS_COMP_NEW"},
    {.id = CDlgComp::IDC_EDIT, .kind = ControlKind::Button, .row = 0, .col = 2, .key = "IDS_COMP_EDIT"},
    {.id = CDlgComp::IDC_DELETE, .kind = ControlKind::Button, .row = 0, .col = 3, .key = "IDS_COMP_DELETE"},
    {.id = CDlgComp::IDC_PRACTICE, .kind = ControlKind::Button, .row = 0, .col = 4, .key = "IDS_COMP_TRAIN"},
    {.id = CDlgComp::IDC_CANCEL, .kind = ControlKind::Button, .row = 0, .col = 6, .key = "IDS_CANCEL"},
    {.id = CDlgComp::IDC_LIST, .kind = ControlKind::ListView, .row = 1, .col = 0, .colSpan = 7,
     .style = platform::CS_STRETCH},
};

const platform::DialogTemplate kTemplate{
    .id = CDlgComp::IDD, .captionKey = "IDS_COMP_TITLE", .cx = 420, .cy = 200, .controls = kControls};

struct Column {
    const char* key;
    int width;
};
// The folder column is wider than the program's old 65 pixels: ">Comp01"
// must show whole in today's fonts.
const Column kColumns[] = {
    {"IDS_COMP_H1", 80}, {"IDS_COMP_H2", 140}, {"IDS_COMP_H3", 75},
    {"IDS_COMP_H4", 90}, {"IDS_COMP_H5", 50},  {"IDS_COMP_H6", 210},
};

int Ask(const char* key)
{
    return platform::MessageBox(platform::TextOfKey(key), {}, platform::MessageIcon::None,
                                platform::MessageButtons::YesNo);
}

void Stop(const char* key) { platform::MessageBox(platform::TextOfKey(key), {}, platform::MessageIcon::Stop); }

}  // namespace

CDlgComp::CDlgComp(QWidget* parent, RangeObjects& objects, std::function<bool(int)> createCompetition)
    : platform::Dialog(kTemplate, parent), m_obj(objects), m_create(std::move(createCompetition))
{
    // The buttons keep their size; the room between them and Cancel grows,
    // so Cancel stays at the list's right edge.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->setColumnStretch(0, 0);
        grid->setColumnStretch(5, 1);
    }
    OnClick(IDC_SELECT, [this] { OnSelect(); });
    OnClick(IDC_NEW, [this] { OnNew(); });
    OnClick(IDC_EDIT, [this] { OnEdit(); });
    OnClick(IDC_DELETE, [this] { OnDelete(); });
    OnClick(IDC_PRACTICE, [this] { OnPractice(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
}

CDlgComp::~CDlgComp() = default;

bool CDlgComp::OnInitDialog()
{
    platform::Control list = item(IDC_LIST);
    int column = 0;
    for (const Column& c : kColumns)
        list.insertColumn(column++, platform::TextOfKey(c.key), c.width);
    m_chosen = -1;
    m_created = false;
    Fill();
    return true;
}

void CDlgComp::Fill()
{
    platform::Control list = item(IDC_LIST);
    list.resetContent();
    for (const CompetitionRow& r : CompetitionList::Read(".\\", m_obj.CompetitionNumber(), m_obj.programs)) {
        int row = list.addItem(r.folder, r.number);
        list.setItemText(row, 1, r.name);
        list.setItemText(row, 2, r.date);
        list.setItemText(row, 3, r.program);
        list.setItemText(row, 4, r.prefix);
        list.setItemText(row, 5, r.description);
    }
}

int CDlgComp::SelectedCompetition()
{
    platform::Control list = item(IDC_LIST);
    int row = list.selection();
    if (row < 0) {
        Stop("IDS_COMP_WRNNOSEL");
        return -1;
    }
    return static_cast<int>(list.itemData(row));
}

void CDlgComp::OnSelect()
{
    int n = SelectedCompetition();
    if (n < 0)
        return;
    m_chosen = n;
    EndDialog(platform::IDOK);
}

void CDlgComp::OnNew()
{
    std::vector<int> used;
    platform::Control list = item(IDC_LIST);
    for (int row = 0; row < list.count(); ++row)
        used.push_back(static_cast<int>(list.itemData(row)));
    int n = CompetitionList::NextFree(m_obj.settings.profile.lastComp, used);
    if (n == 0) {
        Stop("IDS_COMP_WRNFULL");
        return;
    }
    // A competition that cannot be made is no choice; the officer stays here.
    if (!m_create || !m_create(n))
        return;
    m_created = true;
    m_chosen = n;
    m_obj.settings.profile.lastComp = n;
    platform::Profile().WriteInt(CRangeSettings::kProfileSection, "LastComp", n);
    EndDialog(platform::IDOK);
}

void CDlgComp::OnEdit()
{
    int n = SelectedCompetition();
    if (n < 0)
        return;
    CDlgDefComp settings(this, m_obj, n);
    if (settings.DoModal() == platform::IDOK)
        Fill();
}

void CDlgComp::OnDelete()
{
    int n = SelectedCompetition();
    if (n < 0)
        return;
    if (n == m_obj.CompetitionNumber()) {
        platform::MessageBox(platform::TextOfKey("IDS_COMP_WRNSWAP"));
        return;
    }
    if (Ask("IDS_COMP_WRNDEL") != platform::IDYES)
        return;
    if (int rc = CompetitionList::Delete(".\\", n); rc != 0) {
        CBVLog log;
        BV_LOG(log, 80, "%s not removed (%d)", CompSettings::FolderOf(".\\", n).c_str(), rc);
    }
    Fill();
}

void CDlgComp::OnPractice()
{
    if (Ask("IDS_COMP_WRNTRAIN") != platform::IDYES)
        return;
    CBVLog log;
    const std::string folder = CompSettings::FolderOf(".\\", 0);
    if (!platform::FolderExists(folder)) {
        BV_LOG(log, 70, "Can't find directory %s tries to create!", folder.c_str());
        platform::CreateFolder(folder);
    }
    if (!platform::FolderExists(folder) || CBVFileEx::TestFolder(folder) == 0) {
        Stop("IDS_COMP_WRNFAIL");
        if (platform::FileExists(folder))
            BV_LOG(log, 90, "%s is a file", folder.c_str());
        else
            BV_LOG(log, 90, "Can't find directory %s!", folder.c_str());
        return;
    }
    {
        CBVConfig practice;
        practice.Open(CompSettings::FileOf(".\\", 0), 1);
        WriteItem(practice, CompSettings::kName, platform::TextOfKey("IDS_COMP_TRAINNAME"));
        platform::LocalTime today = platform::Now();
        char date[16];
        std::snprintf(date, sizeof date, "%02d.%02d.%04d", today.day, today.month, today.year);
        WriteItem(practice, CompSettings::kDate, date);
    }
    CBVConfig& range = m_obj.settings.Config();
    if (range.IsOpen())
        WriteItem(range, RangeItems::kCurrentCompetition, 0);
    m_obj.comp.Close();
    m_obj.comp.Open(0, 1);
    m_chosen = 0;
    EndDialog(platform::IDOK);
}
