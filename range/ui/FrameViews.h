#pragma once
// The frame's client: the menu, keys and tool bar of resource 128, the outer
// locked splitter holding the inner one (tab view above the lane list) and
// the panel, their layout when the window changes, every text in the chosen
// language and the title, the choice of list view, the bars and the tab
// strip shown or hidden, the focus stepped through the panes, and help by
// where it is asked. The views get what they use: the range's objects and
// control, this navigation, and the frame's operations (ViewActions).
#include "foundation/files/BVLog.h"
#include "range/ui/views/FrameNavigation.h"

#include <cstdint>
#include <memory>

class CChildView;
class CFormList;
class CFormPanel;
class CFormTab;
class CHtmlHelp;
class CLockSplitter;
class CMainFrame;
class QRect;

class FrameViews : public FrameNavigation {
public:
    // The help topic of the tab view.
    static constexpr int kTabTopic = 1001;
    // The tab strip's height while it is shown: 21 pixels, or what its tabs
    // and the pane's border need in the kit's style.
    static constexpr int kTabHeight = 21;
    static int PageTopic(int page) { return 32791 + page; }

    explicit FrameViews(CMainFrame& frame);
    ~FrameViews() override;
    FrameViews(const FrameViews&) = delete;
    FrameViews& operator=(const FrameViews&) = delete;

    // Menu, accelerators and tool bar, the two splitters and the three views
    // on the frame's window; the stored list view selected.
    void Create();
    // Every menu item, popup, tool tip, tab and panel text from the language;
    // after the start also the panel, the list and the title.
    void SetMenuTexts(bool starting);
    // The splitters laid out in the window: the panel at its width, the tab
    // strip shown or not (OnSize).
    void LayoutClient();
    int TabStripHeight() const;
    // The window moved or changed its size: the rectangle goes into the profile.
    void OnSizing(const QRect& rectangle);
    // "<program> - <competition's name>".
    void UpdateTitle();
    // The lane list's columns and rows built again for the list view shown.
    void BuildList();

    // List view 1..6 (commands 32792..32797); 7..9 only beep.
    void SelectPage(int page) override;
    int Page() const override;
    void HelpAt(platform::KitWindow* view, int controlId) override;
    void RouteCommand(int id) override;
    // Help: command 2 and 3 open the topic given, 4 the current list view's;
    // a datum that carries a point is answered by the view under the point.
    void WinHelp(uint32_t data, int command);

    // The View menu: the bars and the tab strip on and off, the focus to the
    // next or previous pane (F6), help on the control with the focus.
    void OnViewToolBar();
    void OnViewStatusBar();
    void OnViewTabs();
    void OnNextPane(bool forward);
    void OnContextHelp();

    CFormList* List() const;
    CFormPanel* Panel() const;
    CFormTab* TabView() const;
    CLockSplitter* OuterSplitter() const { return m_outer; }
    CLockSplitter* InnerSplitter() const { return m_inner; }

private:
    CMainFrame& m_frame;
    CBVLog m_log;
    // Made by Create.
    CChildView* m_childView = nullptr;
    CLockSplitter* m_outer = nullptr;
    CLockSplitter* m_inner = nullptr;
    std::unique_ptr<CHtmlHelp> m_help;
};
