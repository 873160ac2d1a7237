#pragma once
// The tab view above the lane list: one tab per list view, so that the
// officer can switch the list's columns with the mouse as well as with
// Alt+1 to Alt+6. The frame can hide it.
#include "platform/ui/Dialog.h"

class CFormTabCtrl;
class FrameNavigation;

class CFormTab : public platform::FormView {
public:
    static constexpr int IDD = 102;
    static constexpr int IDC_TABS = 1001;
    static constexpr int kTabs = 6;

    explicit CFormTab(FrameNavigation& navigation, QWidget* parent = nullptr);
    ~CFormTab() override;

    void OnInitialUpdate() override;
    // The six tabs' texts from the language table, in place of the old ones.
    void SetTabTexts();
    // Makes tab view - 1 the current one, without telling the frame.
    void SelectTab(int view);
    CFormTabCtrl* Tabs() const { return m_tabs; }
    // Set by the frame once its views stand; before that a tab change is no
    // choice of the officer.
    bool initialised = false;

    bool OnHelpInfo(int controlId) override;

private:
    void OnTabChanged();

    FrameNavigation& m_navigation;
    CFormTabCtrl* m_tabs;
};
