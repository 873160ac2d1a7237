#include "range/ui/setup/DlgBusy.h"

#include "range/setup/PortSearch.h"

namespace {

using platform::ControlKind;
using platform::ControlTemplate;

const ControlTemplate kControls[] = {
    // Nothing the search does writes here; the box keeps it out of sight.
    {.id = CDlgBusy::IDC_TEXT, .kind = ControlKind::Edit, .row = 0, .col = 0, .colSpan = 2,
     .style = platform::CS_READONLY | platform::CS_NOBORDER | platform::CS_HIDDEN},
    {.id = CDlgBusy::IDC_JOBS, .kind = ControlKind::ListBox, .row = 1, .col = 0, .colSpan = 2,
     .style = platform::CS_STRETCH},
    {.id = CDlgBusy::IDC_PROGRESS, .kind = ControlKind::Progress, .row = 2, .col = 0, .min = 0, .max = 100},
    {.id = CDlgBusy::IDC_CANCEL, .kind = ControlKind::Button, .row = 2, .col = 1, .key = "IDS_DLGBUSY_CANCEL"},
};

const platform::DialogTemplate kTemplate{.id = CDlgBusy::IDD, .cx = 220, .cy = 130, .controls = kControls};

}  // namespace

CDlgBusy::CDlgBusy(QWidget* parent) : platform::Dialog(kTemplate, parent)
{
    OnClick(IDC_CANCEL, [this] { Stop(); });
}

CDlgBusy::~CDlgBusy() { m_post.Close(); }

void CDlgBusy::Watch(PortSearch* search, std::function<void()> stop)
{
    m_search = search;
    m_stop = std::move(stop);
}

bool CDlgBusy::OnInitDialog()
{
    item(IDC_PROGRESS).setRange(0, 100);
    item(IDC_PROGRESS).setPos(0);
    item(IDC_CANCEL).setTextKey("IDS_DLGBUSY_CANCEL");
    m_cancelRequested = false;
    return true;
}

intptr_t CDlgBusy::OnMessage(int message, intptr_t, intptr_t)
{
    if (message == WM_SEARCHSTEPS)
        ShowSteps();
    return 0;
}

void CDlgBusy::ShowSteps()
{
    if (!m_search)
        return;
    platform::Control jobs = item(IDC_JOBS);
    for (const PortSearch::Step& step : m_search->TakeSteps()) {
        switch (step.kind) {
        case PortSearch::Step::Caption: SetCaption(step.text); break;
        case PortSearch::Step::AddLine: jobs.addItem(step.text); break;
        case PortSearch::Step::ReplaceLastLine:
            if (jobs.count() > 0)
                jobs.deleteItem(jobs.count() - 1);
            jobs.addItem(step.text);
            break;
        case PortSearch::Step::Progress: item(IDC_PROGRESS).setPos(step.value); break;
        }
    }
    if (jobs.count() > 0)
        jobs.setSelection(jobs.count() - 1);
}

std::vector<std::string> CDlgBusy::Lines() const
{
    std::vector<std::string> lines;
    platform::Control jobs = item(IDC_JOBS);
    for (int i = 0; i < jobs.count(); ++i)
        lines.push_back(jobs.itemText(i));
    return lines;
}

void CDlgBusy::Stop()
{
    m_cancelRequested = true;
    // The worker ends within its next look; what it did so far stays shown.
    if (m_stop)
        m_stop();
    ShowSteps();
    ShowWindow(false);
}
