#pragma once
// A page of the main dialog: a child dialog without caption in the tab
// control's page area, with the steps the main dialog runs when the user
// leaves it and enters it, and its texts set again after a language change.
#include "remote/settings/EventChooser.h"
#include "remote/settings/RemoteSettings.h"

#include "platform/ui/Dialog.h"

class RemotePage : public platform::Dialog {
public:
    RemotePage(const platform::DialogTemplate& tmpl, RemoteSettings& settings, QWidget* parent);
    virtual void OnLeavePage() {}
    virtual void OnEnterPage() {}
    virtual void SetTexts() {}

protected:
    RemoteSettings& m_settings;
};

// The event and competition boxes of the print, name and exchange pages,
// shown from the shared chooser.
class ChooserBoxes {
public:
    ChooserBoxes(platform::KitWindow& window, RemoteSettings& settings, int eventBox, int compBox);
    EventChooser chooser;
    void FillEvents();
    void FillCompetitions();
    // The user's choice in a box; false when nothing is selected.
    bool EventChosen();
    bool CompChosen();
    // The selected competition's number, or -1.
    int SelectedComp() const;

private:
    void ShowComps();
    platform::KitWindow& m_window;
    int m_eventBox;
    int m_compBox;
};
