// The frame's set-up dialogs: the competition choice with the switch to
// the competition chosen, and the interface dialog.
#include "range/ui/MainFrm.h"

#include "foundation/settings/RangeSettings.h"
#include "platform/files/ProfileStore.h"
#include "platform/system/Codepage.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/ScreenPrompter.h"
#include "range/ui/dialogs/DlgComp.h"
#include "range/ui/dialogs/DlgDefComp.h"
#include "range/ui/dialogs/DlgInterface.h"

#include <QTimer>

#include <cstdio>

namespace {

// Runs a dialog the frame opens by itself. On a screen nobody sees, the
// program says so on standard error and takes Cancel in time, as its boxes
// do, instead of waiting for good.
int RunModal(platform::Dialog& dialog)
{
    if (platform::BoxesUnseen() && dynamic_cast<platform::ScreenPrompter*>(&platform::CurrentPrompter())) {
        const int ms = platform::UnseenAnswerMs();
        std::fprintf(stderr, "%s: %s\n", platform::ProgramName().c_str(), platform::Cp1252ToUtf8(dialog.Caption()).c_str());
        QTimer::singleShot(ms, &dialog, [&dialog, ms] {
            std::fprintf(stderr, "No one to answer: Cancel after %d ms\n", ms);
            dialog.OnCancel();
        });
    }
    return dialog.DoModal();
}

// The lanes' periodic work waits while the competition data changes hands.
class PauseScope {
public:
    explicit PauseScope(TickSchedule& tick) : m_tick(tick), m_was(tick.pause) { m_tick.pause = true; }
    ~PauseScope() { m_tick.pause = m_was; }
    PauseScope(const PauseScope&) = delete;
    PauseScope& operator=(const PauseScope&) = delete;

private:
    TickSchedule& m_tick;
    bool m_was;
};

}  // namespace

void CMainFrame::OnCompetitionChoice()
{
    CDlgComp choice(Window(), m_obj, [this](int n) { return CreateCompetition(n); });
    if (RunModal(choice) != platform::IDOK) {
        UpdateTitle();
        return;
    }
    PauseScope pause(m_tick);
    const int chosen = choice.ChosenCompetition();
    // A competition made just now gets its settings before the range goes to it.
    if (choice.Created() && chosen > 0) {
        CDlgDefComp settings(Window(), m_obj, chosen);
        if (RunModal(settings) != platform::IDOK) {
            UpdateTitle();
            return;
        }
    }
    if (chosen == 0) {
        SwitchToPractice();
        CheckFiles(true);
        ReloadShots(true);
        RefreshViews();
        RefreshChangedRows();
    } else if (chosen > 0 &&
               platform::MessageBox(m_obj.Text("IDS_COMP_WRNSEL"), {}, platform::MessageIcon::None,
                                    platform::MessageButtons::YesNo) == platform::IDYES) {
        CBVConfig& config = m_obj.settings.Config();
        if (config.IsOpen())
            WriteItem(config, RangeItems::kCurrentCompetition, chosen);
        m_obj.comp.Close();
        m_obj.comp.Open(chosen, 1);
        SetComputerName(true);
        CheckFiles(true);
        ReloadShots(true);
        RefreshViews();
        RefreshChangedRows();
    }
    m_range.channels.UpdateOutsideControl();
    UpdateTitle();
}

int CMainFrame::RunInterfaceDialog()
{
    CDlgInterface dialog(Window(), m_obj, {[this] { ClosePorts(); }, [this] { OpenPorts(); }});
    return RunModal(dialog);
}
