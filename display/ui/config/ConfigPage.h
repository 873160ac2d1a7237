#pragma once
// A page of the settings dialog: a child dialog without a caption in the tab
// control's page area. It reads and writes the settings files through the
// dialog, sets its texts again after a language change, reloads its lists
// each time it is shown, and asks help for the page that is current.
#include "platform/ui/Dialog.h"

class CDlgConfig;
class CVisConfigFiles;
class QShowEvent;

class CConfigPage : public platform::Dialog {
public:
    CConfigPage(const platform::DialogTemplate& tmpl, CDlgConfig& config, QWidget* parent, bool escapeExits);

    // Labels, buttons and column headers from the language table.
    virtual void SetTexts();
    // The page is shown: its lists are filled again from the files.
    virtual void OnShown() {}

    // F1 on any page asks for the page that is current, not this one.
    int HelpTopic() const override;
    // Escape passes to the dialog's exit button on the pages that have it;
    // Enter on a page presses nothing.
    void OnCancel() override;
    void OnOK() override {}

protected:
    CVisConfigFiles& Files();
    void showEvent(QShowEvent* event) override;

    CDlgConfig& m_config;

private:
    bool m_escapeExits;
};
