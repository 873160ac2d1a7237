#include "range/ui/FrameViews.h"

#include "foundation/files/ConfigItem.h"
#include "foundation/ui/grid/GridList.h"
#include "foundation/ui/windows/FormTabCtrl.h"
#include "foundation/ui/windows/HtmlHelp.h"
#include "foundation/ui/windows/LockSplitter.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Help.h"
#include "platform/ui/UiText.h"
#include "range/ui/FrameResources.h"
#include "range/ui/MainFrm.h"
#include "range/ui/views/ChildView.h"
#include "range/ui/views/FormList.h"
#include "range/ui/views/FormPanel.h"
#include "range/ui/views/FormTab.h"
#include "range/views/LaneColumns.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTabBar>
#include <QToolBar>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Help data that carries a point of the frame: 2^28 + y * 4096 + x.
constexpr uint32_t kHitBase = 1u << 28;
constexpr uint32_t kHitRange = 1u << 24;
// The help command of a request that asks for the topic by place.
constexpr int kHelpContext = 1;
// Views and splitters are made small and sized by the layout.
constexpr int kFirstSize = 20;

std::string HelpLanguage(const std::string& code)
{
    return code == "UK" || code == "US" || code.empty() ? "EN" : code;
}

bool Inside(const QWidget* widget, const QWidget* view)
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w == view)
            return true;
    return false;
}

}  // namespace

FrameViews::FrameViews(CMainFrame& frame) : m_frame(frame) {}

FrameViews::~FrameViews()
{
    if (m_help && platform::CurrentHelpService() == m_help.get())
        platform::SetHelpService(nullptr);
}

CFormList* FrameViews::List() const
{
    return m_inner ? dynamic_cast<CFormList*>(m_inner->Pane(1, 0)) : nullptr;
}

CFormPanel* FrameViews::Panel() const
{
    return m_outer ? dynamic_cast<CFormPanel*>(m_outer->Pane(0, 1)) : nullptr;
}

CFormTab* FrameViews::TabView() const
{
    return m_inner ? dynamic_cast<CFormTab*>(m_inner->Pane(0, 0)) : nullptr;
}

void FrameViews::Create()
{
    platform::FrameWnd* w = m_frame.Window();
    if (!w || m_outer)
        return;
    BV_LOG(m_log, 10, "Create client");
    w->LoadMenu(FrameResources::Menu());
    // F1 and Shift+F1 stay with the windows' own keys: each view answers
    // for its own topic and its controls'.
    std::vector<platform::Accelerator> keys;
    for (const platform::Accelerator& a : FrameResources::Accelerators())
        if (a.id != FrameResources::ID_HELP && a.id != FrameResources::ID_CONTEXT_HELP)
            keys.push_back(a);
    w->LoadAccelerators(keys);
    w->LoadToolBar(FrameResources::ToolBar());
    for (const platform::ToolButton& b : FrameResources::ToolBar())
        if (b.id != 0)
            if (QAction* a = w->MenuAction(b.id))
                a->setIcon(FrameResources::ToolIcon(b.id));
    if (QToolBar* bar = w->ToolBar())
        bar->setIconSize(QSize(16, 15));

    // The child window stays below the splitters that cover it.
    m_childView = new CChildView(w);
    m_childView->hide();

    m_outer = new CLockSplitter(1, 2, w);
    m_outer->m_bLocked = 1;
    m_outer->m_bFlatTopRight = 1;
    m_inner = new CLockSplitter(2, 1, m_outer);
    m_inner->m_bLocked = 1;
    m_inner->m_bFlatTopLeft = 1;
    m_inner->m_bFlatBottomLeft = 1;
    RangeObjects& obj = m_frame.Objects();
    auto* tab = new CFormTab(*this);
    auto* list = new CFormList(obj, m_frame.Range(), *this, m_frame);
    auto* panel = new CFormPanel(obj, *this, m_frame);
    m_inner->SetPane(0, 0, tab, QSize(kFirstSize, kFirstSize));
    m_inner->SetPane(1, 0, list, QSize(kFirstSize, kFirstSize));
    m_outer->SetPane(0, 0, m_inner, QSize(kFirstSize, kFirstSize));
    m_outer->SetPane(0, 1, panel, QSize(panel->PanelWidth(), kFirstSize));
    w->SetClient(m_outer);
    tab->InitialUpdate();
    list->InitialUpdate();
    panel->InitialUpdate();
    w->SetActiveView(list);

    // The help pages of the chosen language, unless the program has a
    // help service already.
    m_help = std::make_unique<CHtmlHelp>(".\\Help\\BVLeder" + HelpLanguage(obj.Text("IDS_LANG")));
    if (!platform::CurrentHelpService())
        platform::SetHelpService(m_help.get());

    m_frame.Commands().Register();

    int page = std::clamp(obj.settings.profile.tab, 1, LaneColumns::kLastView);
    obj.settings.profile.tab = page;
    list->BuildColumns(page);
    tab->SelectTab(page);
    tab->initialised = true;
    m_frame.m_tick.RestartPeriods();
    SetMenuTexts(true);
}

void FrameViews::SetMenuTexts(bool starting)
{
    platform::FrameWnd* w = m_frame.Window();
    RangeObjects& obj = m_frame.Objects();
    if (!w)
        return;
    w->SetMenuTexts();
    for (const platform::ToolButton& b : FrameResources::ToolBar()) {
        const char* key = FrameResources::ToolTipKey(b.id);
        QAction* a = key ? w->MenuAction(b.id) : nullptr;
        if (!a)
            continue;
        // A button without a menu item of its own takes its tip as its text.
        bool inMenu = false;
        for (const platform::MenuItem& m : FrameResources::Menu())
            inMenu |= m.id == b.id;
        if (!inMenu)
            a->setText(platform::ToQt(obj.Text(key)));
        a->setToolTip(platform::ToQt(obj.Text(key)));
    }
    if (CFormPanel* panel = Panel())
        panel->SetTexts();
    if (CFormTab* tab = TabView())
        tab->SetTabTexts();
    if (m_help)
        m_help->SetFolder(".\\Help\\BVLeder" + HelpLanguage(obj.Text("IDS_LANG")));
    if (!starting) {
        if (CFormPanel* panel = Panel())
            panel->Refresh();
        BuildList();
        UpdateTitle();
    }
    // Every pane lays itself out again.
    LayoutClient();
    w->update();
}

void FrameViews::LayoutClient()
{
    platform::FrameWnd* w = m_frame.Window();
    CFormPanel* panel = Panel();
    if (!w || !m_outer || !m_inner || !panel || m_frame.m_tick.startState == TickSchedule::StartState::Created)
        return;
    int left = std::max(50, w->width() - panel->PanelWidth() - 21);
    m_outer->SetColumnInfo(0, left, 20);
    m_outer->SetColumnInfo(1, std::max(0, m_outer->width() - left), 0);
    int tabs = m_frame.Objects().settings.profile.tabOn != 0 ? TabStripHeight() : 0;
    m_inner->SetRowInfo(0, tabs, 20);
    m_inner->SetRowInfo(1, std::max(0, m_inner->height() - tabs), 0);
    m_outer->RecalcLayout();
    m_inner->RecalcLayout();
}

int FrameViews::TabStripHeight() const
{
    CFormTab* tab = TabView();
    if (!tab)
        return kTabHeight;
    // Two pixels of the pane's border above and below the strip.
    return std::max(kTabHeight, tab->Tabs()->Bar()->sizeHint().height() + 4);
}

void FrameViews::OnSizing(const QRect& r)
{
    CRangeSettings::Profile& p = m_frame.Objects().settings.profile;
    p.windowX0 = r.left();
    p.windowY0 = r.top();
    p.windowX1 = r.left() + r.width();
    p.windowY1 = r.top() + r.height();
}

int FrameViews::Page() const { return std::clamp(m_frame.Objects().settings.profile.tab, 1, LaneColumns::kLastView); }

void FrameViews::SelectPage(int page)
{
    CFormList* list = List();
    if (list && page == list->View())
        return;
    if (page < LaneColumns::kFirstView || page > LaneColumns::kLastView) {
        m_frame.Beep(false);
        return;
    }
    m_frame.Objects().settings.profile.tab = page;
    if (list)
        list->BuildColumns(page);
    if (CFormTab* tab = TabView())
        tab->SelectTab(page);
    m_frame.RankLanes();
}

void FrameViews::WinHelp(uint32_t data, int command)
{
    if (command == platform::HELP_WINDOW_TOPIC || command == platform::HELP_CONTROL_TOPIC) {
        platform::RequestHelp(data, command);
        return;
    }
    if (command == 4) {
        platform::RequestHelp(static_cast<uint32_t>(PageTopic(Page())), command);
        return;
    }
    platform::FrameWnd* w = m_frame.Window();
    if (w && data >= kHitBase && data < kHitBase + kHitRange) {
        uint32_t at = data - kHitBase;
        QPoint point(static_cast<int>(at & 0xFFF), static_cast<int>(at >> 12));
        QWidget* under = w->childAt(point);
        uint32_t topic = 0;
        if (CFormList* list = List(); list && Inside(under, list)) {
            // The list's topic is its grid's.
            topic = Inside(under, &list->Grid()) ? CFormList::IDC_LIST : CFormList::IDD;
        } else if (CFormTab* tab = TabView(); tab && Inside(under, tab)) {
            topic = kTabTopic;
        } else if (CFormPanel* panel = Panel(); panel && Inside(under, panel)) {
            topic = static_cast<uint32_t>(PageTopic(Page()));
        }
        platform::RequestHelp(topic, command);
        return;
    }
    platform::RequestHelp(0, command);
}

void FrameViews::HelpAt(platform::KitWindow* view, int controlId)
{
    platform::FrameWnd* w = m_frame.Window();
    if (!w || !view)
        return;
    QWidget* where = view->item(controlId).widget();
    if (!where)
        where = view->Host();
    QPoint centre = where->mapTo(w, where->rect().center());
    uint32_t x = static_cast<uint32_t>(std::clamp(centre.x(), 0, 0xFFF));
    uint32_t y = static_cast<uint32_t>(std::clamp(centre.y(), 0, 0xFFF));
    WinHelp(kHitBase + (y << 12) + x, kHelpContext);
}

void FrameViews::BuildList()
{
    if (CFormList* list = List())
        list->BuildColumns(Page());
}

void FrameViews::RouteCommand(int id)
{
    if (platform::FrameWnd* w = m_frame.Window())
        w->RouteCommand(id);
}

void FrameViews::UpdateTitle()
{
    platform::FrameWnd* w = m_frame.Window();
    if (!w)
        return;
    RangeObjects& obj = m_frame.Objects();
    std::string name = "Comp";
    if (obj.comp.IsOpen() && obj.comp.CompConfig().IsOpen())
        name = ReadItem(obj.comp.CompConfig(), ConfigTextItem{2, 1, 500, "Comp"});
    w->SetCaption(obj.language.GetText("IDR_MAINFRAME") + " - " + name);
}

// ---- The View menu

void FrameViews::OnViewToolBar()
{
    CRangeSettings::Profile& p = m_frame.Objects().settings.profile;
    p.toolOn = p.toolOn != 0 ? 0 : 1;
    if (platform::FrameWnd* w = m_frame.Window())
        w->ShowToolBar(p.toolOn != 0);
    LayoutClient();
}

void FrameViews::OnViewStatusBar()
{
    CRangeSettings::Profile& p = m_frame.Objects().settings.profile;
    p.statusOn = p.statusOn != 0 ? 0 : 1;
    if (platform::FrameWnd* w = m_frame.Window())
        w->ShowStatusBar(p.statusOn != 0);
    LayoutClient();
}

void FrameViews::OnViewTabs()
{
    CRangeSettings::Profile& p = m_frame.Objects().settings.profile;
    p.tabOn = p.tabOn != 0 ? 0 : 1;
    LayoutClient();
}

void FrameViews::OnContextHelp()
{
    // As Shift+F1 on the control with the focus.
    QWidget* focus = QApplication::focusWidget();
    platform::KitWindow* view = focus ? platform::KitWindow::Of(focus) : nullptr;
    if (view) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_F1, Qt::ShiftModifier);
        view->PreTranslateKey(&key);
    }
}

void FrameViews::OnNextPane(bool forward)
{
    std::vector<QWidget*> panes;
    if (CFormTab* t = TabView(); t && m_frame.Objects().settings.profile.tabOn != 0)
        panes.push_back(t);
    if (CFormList* l = List())
        panes.push_back(l);
    if (CFormPanel* p = Panel())
        panes.push_back(p);
    if (panes.empty())
        return;
    QWidget* focus = QApplication::focusWidget();
    int at = -1;
    for (size_t i = 0; i < panes.size(); ++i)
        for (QWidget* w = focus; w; w = w->parentWidget())
            if (w == panes[i])
                at = static_cast<int>(i);
    const int n = static_cast<int>(panes.size());
    int next = at < 0 ? 0 : (at + (forward ? 1 : n - 1)) % n;
    panes[static_cast<size_t>(next)]->setFocus();
    if (auto* view = dynamic_cast<platform::KitWindow*>(panes[static_cast<size_t>(next)]))
        if (platform::FrameWnd* w = m_frame.Window())
            w->SetActiveView(view);
}
