// The frame's modeless dialogs that show what the targets answer: the light
// dialog and the unit status dialog. The frame keeps one of each, replaces an
// open one with a new one, asks the targets to answer, and hands their
// answers on while the dialog is open.
#include "range/ui/MainFrm.h"

#include "line/LineMessage.h"
#include "platform/ui/FrameWnd.h"
#include "range/lanes/TargetMessages.h"

namespace {

// A modeless dialog ends its run, then goes: later when it has a window to
// belong to (it may be handling its own click), at once without one.
template <typename Dlg>
void Dispose(QPointer<Dlg>& dlg, bool hasWindow)
{
    if (!dlg)
        return;
    dlg->Close();
    if (hasWindow)
        dlg->deleteLater();
    else
        delete dlg.data();
    dlg = nullptr;
}

}  // namespace

void CMainFrame::OpenLightDialog()
{
    CloseLightDialog();
    m_lightDlg = new CDlgLC(*this, Window());
    if (m_lightDlg->Create())
        m_lightDlg->ShowWindow(true);
    // Every target answers with its light message, which fills its row.
    const int unchanged[3] = {LampTable::kUnchanged, LampTable::kUnchanged, LampTable::kUnchanged};
    SendLight(0, unchanged);
}

void CMainFrame::OpenStatusDialog()
{
    CloseStatusDialog();
    m_statusDlg = new CDlgStatus(*this, Window());
    if (m_statusDlg->Create())
        m_statusDlg->ShowWindow(true);
    SendStatusQuery();
}

void CMainFrame::CloseLightDialog() { Dispose(m_lightDlg, Window() != nullptr); }

void CMainFrame::CloseStatusDialog() { Dispose(m_statusDlg, Window() != nullptr); }

void CMainFrame::OnLightMsg(const LineMessage& m)
{
    if (m_lightDlg && m_lightDlg->IsOpen())
        m_lightDlg->UpdateLane(m);
}

void CMainFrame::OnUnitMsg(const LineMessage& m)
{
    if (!m_statusDlg || !m_statusDlg->IsOpen())
        return;
    if (m.data[3] == Msg::kUnitVersion)
        m_statusDlg->SetVersion(m);
    else if (m.data[3] == Msg::kUnitStatus)
        m_statusDlg->SetStatus(m);
}
