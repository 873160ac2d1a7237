#include "range/ui/setup/DlgMedia.h"

#include "foundation/exchange/BVExch.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/ui/windows/FolderDialog.h"
#include "platform/files/ProfileStore.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Prompter.h"
#include "range/base/RangeObjects.h"
#include "range/exchange/MediaTransfer.h"
#include "range/run/RangeControl.h"

#include <QGridLayout>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgMedia;

const ControlTemplate kControls[] = {
    {.id = D::IDC_ACTIVE, .kind = ControlKind::Check, .row = 0, .col = 0, .colSpan = 3,
     .key = "IDS_MEDIA_CHECK_ACTIVE"},
    {.id = D::IDC_RELAY_LABEL, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_MEDIA_STATIC_RELAY"},
    {.id = D::IDC_RELAY, .kind = ControlKind::Edit, .row = 1, .col = 1, .style = platform::CS_NUMBER, .limit = 4},
    {.id = D::IDC_SPIN, .kind = ControlKind::Spin, .row = 1, .col = 2, .buddy = D::IDC_RELAY, .min = 1, .max = 9999},
    {.id = D::IDC_NAMES, .kind = ControlKind::Button, .row = 0, .col = 4, .key = "IDS_MEDIA_BUTTON_NAME"},
    {.id = D::IDC_RESULTS, .kind = ControlKind::Button, .row = 1, .col = 4, .key = "IDS_MEDIA_BUTTON_RES"},
    {.id = D::IDC_DELETE, .kind = ControlKind::Button, .row = 2, .col = 4, .key = "IDS_MEDIA_DEL"},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 0, .col = 5, .key = "IDS_MEDIA_BUTTON_OK",
     .style = platform::CS_DEFAULT},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .captionKey = "IDS_MEDIA_TITLE", .cx = 293, .cy = 62, .controls = kControls};

// The results formats of these programs are by relay: there is no active
// relay to send.
bool NeedsRelay(int resultsProgram)
{
    return (resultsProgram >= 3 && resultsProgram <= 5) || resultsProgram == 7;
}

}  // namespace

CDlgMedia::CDlgMedia(RangeObjects& objects, RangeControl& range, QWidget* parent) : platform::Dialog(kTemplate, parent), m_obj(objects), m_range(range)
{
    // The spare width goes between the relay and the buttons.
    if (auto* grid = dynamic_cast<QGridLayout*>(layout()))
        grid->setColumnStretch(3, 1);
    OnClick(IDC_ACTIVE, [this] { OnActive(); });
    OnClick(IDC_NAMES, [this] { OnNames(); });
    OnClick(IDC_RESULTS, [this] { OnResults(); });
    OnClick(IDC_DELETE, [this] { OnDelete(); });
    OnClick(IDC_OK, [this] { OnOK(); });
}

bool CDlgMedia::OnInitDialog()
{
    if (NeedsRelay(ResultsProgram())) {
        m_activeRelay = 0;
        item(IDC_ACTIVE).hide();
    }
    UpdateData(false);
    OnActive();
    return true;
}

void CDlgMedia::DoDataExchange(platform::DataExchange& dx)
{
    dx.Check(IDC_ACTIVE, m_activeRelay);
    dx.Text(IDC_RELAY, m_relay);
}

void CDlgMedia::OnActive()
{
    UpdateData(true);
    bool chosen = m_activeRelay == 0;
    for (int id : {IDC_RELAY_LABEL, IDC_RELAY, IDC_SPIN})
        item(id).show(chosen);
}

int CDlgMedia::ResultsProgram() { return m_obj.RangeInt(RangeItems::kResultsProgram); }

std::string CDlgMedia::Prefix()
{
    CBVConfig& comp = m_obj.comp.CompConfig();
    return comp.IsOpen() ? ReadItem(comp, CompSettings::kPrefix) : std::string(CompSettings::kPrefix.defaultValue);
}

std::string CDlgMedia::ExchangeFolder()
{
    CBVConfig& range = m_obj.settings.Config();
    return CBVExch::NormalizeFolder(range.IsOpen() ? CRangeSettings::ReadExchangeFolder(range) : "");
}

bool CDlgMedia::ChooseMedium(std::string& folder)
{
    UpdateData(true);
    std::string start = platform::Profile().GetString(kProfileSection, kProfileKey, "");
    std::string title = platform::TextOfKey("IDS_MEDIA_PATH");
    CFolderDialog dlg(title.c_str(), start.c_str(), this, 1);
    if (dlg.DoModal() != 1)
        return false;
    folder = dlg.GetFolderPath();
    return true;
}

void CDlgMedia::OnNames()
{
    std::string folder;
    if (!ChooseMedium(folder))
        return;
    platform::Profile().WriteString(kProfileSection, kProfileKey, folder);
    int program = ResultsProgram();
    if (!MediaTransfer::KnownResultsProgram(program)) {
        BV_LOG(m_obj.log, 90, "Ukjent resultatprogram valgt (%d) - bruker BVRes format", program);
        program = 0;
    }
    MediaTransfer::CopyNames(folder, ExchangeFolder(), program, Prefix());
}

void CDlgMedia::OnResults()
{
    std::string folder;
    if (!ChooseMedium(folder))
        return;
    platform::Profile().WriteString(kProfileSection, kProfileKey, folder);
    // Every lane up to the last one the range has.
    if (m_activeRelay != 0)
        m_range.exchange.SendResults(0, 0, m_obj.lanes.NextActiveLane(0), 0, folder.c_str());
    else
        m_range.exchange.SendResults(m_relay, m_relay, 1, 0, folder.c_str());
}

void CDlgMedia::OnDelete()
{
    std::string folder;
    if (!ChooseMedium(folder))
        return;
    // The exchange folder holds what the results program has still to read.
    if (MediaTransfer::SameFolder(folder, ExchangeFolder())) {
        platform::MessageBox(platform::TextOfKey("IDS_MEDIA_EXCHFOLDER"), {}, platform::MessageIcon::Stop);
        return;
    }
    std::string question = platform::TextOfKey("IDS_MEDIA_ASKDEL") + "\n" + CBVExch::NormalizeFolder(folder);
    if (platform::MessageBox(question, {}, platform::MessageIcon::Question, platform::MessageButtons::YesNo) !=
        platform::IDYES)
        return;
    MediaTransfer::DeleteFiles(folder, Prefix());
}
