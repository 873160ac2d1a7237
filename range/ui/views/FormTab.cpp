#include "range/ui/views/FormTab.h"

#include "foundation/ui/windows/FormTabCtrl.h"
#include "platform/system/TextTable.h"
#include "range/ui/views/FrameNavigation.h"

#include <QLayout>
#include <QTabBar>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;

const ControlTemplate kControls[] = {
    {.id = CFormTab::IDC_TABS, .kind = ControlKind::Custom, .row = 0, .col = 0, .style = platform::CS_STRETCH},
};
const platform::DialogTemplate kTemplate{.id = CFormTab::IDD, .cx = 300, .cy = 14, .controls = kControls};

}  // namespace

CFormTab::CFormTab(FrameNavigation& navigation, QWidget* parent)
    : platform::FormView(kTemplate, parent), m_navigation(navigation)
{
    m_tabs = new CFormTabCtrl(this);
    SetCustomControl(IDC_TABS, m_tabs);
    // The strip fills the view; no page area is shown below it.
    if (layout())
        layout()->setContentsMargins(0, 0, 0, 0);
    m_tabs->Bar()->setDrawBase(false);
    m_tabs->Bar()->setExpanding(false);
    OnSelChange(IDC_TABS, [this] { OnTabChanged(); });
}

CFormTab::~CFormTab() = default;

void CFormTab::OnInitialUpdate()
{
    platform::FormView::OnInitialUpdate();
    if (!initialised)
        SetTabTexts();
}

void CFormTab::SetTabTexts()
{
    int current = m_tabs->GetCurSel();
    for (int n = 1; n <= kTabs; ++n) {
        if (m_tabs->GetItemCount() >= n)
            m_tabs->DeleteItem(n - 1);
        m_tabs->InsertItem(n - 1, platform::TextOfKey("IDS_TAB_STRING" + std::to_string(n)));
    }
    if (current >= 0)
        m_tabs->SetCurSel(current);
}

void CFormTab::SelectTab(int view)
{
    if (view >= 1 && view <= kTabs)
        m_tabs->SetCurSel(view - 1);
}

void CFormTab::OnTabChanged()
{
    if (initialised)
        m_navigation.SelectPage(m_tabs->GetCurSel() + 1);
}

bool CFormTab::OnHelpInfo(int controlId)
{
    m_navigation.HelpAt(this, controlId);
    return true;
}
