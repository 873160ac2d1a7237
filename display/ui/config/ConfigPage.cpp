#include "display/ui/config/ConfigPage.h"

#include <QShowEvent>

#include "display/ui/config/DlgConfig.h"

CConfigPage::CConfigPage(const platform::DialogTemplate& tmpl, CDlgConfig& config, QWidget* parent,
                         bool escapeExits)
    : Dialog(tmpl, parent), m_config(config), m_escapeExits(escapeExits)
{
    // A page lies inside the tab control, not in a window of its own.
    setWindowFlags(Qt::Widget);
}

void CConfigPage::SetTexts() { Relabel(); }

int CConfigPage::HelpTopic() const { return CDlgConfig::HelpContext(); }

void CConfigPage::OnCancel()
{
    if (m_escapeExits)
        m_config.OnExit();
}

CVisConfigFiles& CConfigPage::Files() { return m_config.Files(); }

void CConfigPage::showEvent(QShowEvent* event)
{
    Dialog::showEvent(event);
    if (Created() && !event->spontaneous())
        OnShown();
}
