#include "platform/ui/FrameWnd.h"

#include "platform/system/TextTable.h"
#include "platform/ui/UiText.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace platform {

FrameWnd::FrameWnd(QWidget* parent) : QMainWindow(parent), KitWindow(this)
{
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || !IsInside(now))
            return;
        KitWindow* view = KitWindow::Of(now);
        if (view && view != this)
            SetActiveView(view);
    });
    // The tool bar's buttons follow their commands' state while the program
    // is idle, as the menu items do when their menu opens.
    m_idle = new QTimer(this);
    m_idle->setInterval(300);
    connect(m_idle, &QTimer::timeout, this, [this] {
        if (m_toolBar && m_toolBar->isVisible())
            UpdateCommandUI();
    });
    m_idle->start();
}

FrameWnd::~FrameWnd()
{
    disconnect(m_focusWatch);
    m_idle->stop();
}

bool FrameWnd::IsInside(QWidget* widget) const
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (w == this)
            return true;
    return false;
}

QAction* FrameWnd::ActionFor(int id, const QString& text)
{
    auto it = m_actions.find(id);
    if (it != m_actions.end())
        return it->second;
    auto* action = new QAction(text, this);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    m_actions[id] = action;
    return action;
}

void FrameWnd::LoadMenu(std::span<const MenuItem> items)
{
    QMenuBar* bar = menuBar();
    bar->clear();
    m_keyedActions.clear();
    m_keyedPopups.clear();
    std::vector<QMenu*> popups;  // the open popup of each depth
    for (const MenuItem& item : items) {
        QString text = ToQt(item.key ? TextOfKey(item.key) : std::string(item.text ? item.text : ""));
        popups.resize(static_cast<size_t>(item.depth));
        QMenu* parent = item.depth > 0 && !popups.empty() ? popups.back() : nullptr;
        if (item.id == 0 && (item.text || item.key)) {
            QMenu* popup = parent ? parent->addMenu(text) : bar->addMenu(text);
            connect(popup, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });
            popups.push_back(popup);
            if (item.key)
                m_keyedPopups.emplace_back(popup, item.key);
        } else if (item.id == 0) {
            if (parent)
                parent->addSeparator();
        } else if (parent) {
            QAction* action = ActionFor(item.id, text);
            action->setText(text);
            parent->addAction(action);
            if (item.key)
                m_keyedActions.emplace_back(action, item.key);
        }
    }
}

QAction* FrameWnd::MenuAction(int id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void FrameWnd::SetMenuText(int id, std::string_view text)
{
    if (QAction* a = MenuAction(id))
        a->setText(ToQt(text));
}

QMenu* FrameWnd::Popup(std::initializer_list<int> path) const
{
    QList<QAction*> entries = menuBar()->actions();
    QMenu* menu = nullptr;
    for (int position : path) {
        if (position < 0 || position >= entries.size())
            return nullptr;
        menu = entries[position]->menu();
        if (!menu)
            return nullptr;
        entries = menu->actions();
    }
    return menu;
}

void FrameWnd::SetPopupText(std::initializer_list<int> path, std::string_view text)
{
    if (QMenu* m = Popup(path))
        m->setTitle(ToQt(text));
}

void FrameWnd::SetMenuTexts()
{
    for (auto& [action, key] : m_keyedActions)
        action->setText(ToQt(TextOfKey(key)));
    for (auto& [popup, key] : m_keyedPopups)
        popup->setTitle(ToQt(TextOfKey(key)));
}

void FrameWnd::LoadAccelerators(std::span<const Accelerator> table)
{
    for (QShortcut* s : m_shortcuts)
        delete s;
    m_shortcuts.clear();
    for (const Accelerator& a : table) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(a.keys)), this);
        shortcut->setContext(Qt::WindowShortcut);
        int id = a.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { RouteCommand(id); });
        m_shortcuts.push_back(shortcut);
    }
}

void FrameWnd::LoadToolBar(std::span<const ToolButton> buttons)
{
    if (!m_toolBar) {
        m_toolBar = addToolBar(QStringLiteral("Tools"));
        m_toolBar->setMovable(false);
        m_toolBar->setObjectName(QStringLiteral("toolbar"));
    }
    m_toolBar->clear();
    for (const ToolButton& b : buttons) {
        if (b.id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = ActionFor(b.id, ToQt(b.text ? b.text : ""));
        if (action->text().isEmpty())
            action->setText(ToQt(b.text ? b.text : ""));
        m_toolBar->addAction(action);
    }
}

void FrameWnd::ShowToolBar(bool show)
{
    if (m_toolBar)
        m_toolBar->setVisible(show);
}

void FrameWnd::SetStatusPanes(std::span<const int> widths)
{
    QStatusBar* bar = statusBar();
    for (QLabel* pane : m_panes)
        delete pane;
    m_panes.clear();
    QFontMetrics fm(bar->font());
    for (size_t i = 0; i < widths.size(); ++i) {
        auto* pane = new QLabel(bar);
        if (i == 0) {
            pane->setMinimumWidth(widths[i]);
            bar->addWidget(pane, 1);
        } else {
            pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            pane->setMinimumWidth(fm.averageCharWidth() * widths[i]);
            bar->addPermanentWidget(pane);
        }
        m_panes.push_back(pane);
    }
}

void FrameWnd::SetPaneText(int pane, std::string_view text)
{
    if (pane >= 0 && pane < static_cast<int>(m_panes.size()))
        m_panes[static_cast<size_t>(pane)]->setText(ToQt(text));
}

std::string FrameWnd::PaneText(int pane) const
{
    if (pane < 0 || pane >= static_cast<int>(m_panes.size()))
        return {};
    return FromQt(m_panes[static_cast<size_t>(pane)]->text());
}

void FrameWnd::ShowStatusBar(bool show)
{
    statusBar()->setVisible(show);
}

void FrameWnd::SetClient(QWidget* client)
{
    setCentralWidget(client);
}

void FrameWnd::SetActiveView(KitWindow* view)
{
    m_activeView = view ? view->Host() : nullptr;
}

KitWindow* FrameWnd::ActiveView() const
{
    return m_activeView ? dynamic_cast<KitWindow*>(m_activeView.data()) : nullptr;
}

bool FrameWnd::RouteCommand(int id)
{
    CommandUI ui = QueryCommand(id);
    if (!ui.handled || !ui.enabled)
        return false;
    return OnCmdMsg(id);
}

bool FrameWnd::OnCmdMsg(int id)
{
    KitWindow* view = ActiveView();
    if (view && view != this && view->OnCmdMsg(id))
        return true;
    return KitWindow::OnCmdMsg(id);
}

bool FrameWnd::OnUpdateCmdUI(CommandUI& ui)
{
    KitWindow* view = ActiveView();
    if (view && view != this && view->OnUpdateCmdUI(ui))
        return true;
    return KitWindow::OnUpdateCmdUI(ui);
}

CommandUI FrameWnd::QueryCommand(int id)
{
    CommandUI ui;
    ui.id = id;
    if (!OnUpdateCmdUI(ui)) {
        ui.enabled = false;
        ui.handled = false;
    }
    return ui;
}

void FrameWnd::UpdateCommandUI()
{
    for (auto& [id, action] : m_actions) {
        CommandUI ui = QueryCommand(id);
        action->setEnabled(ui.enabled);
        if (ui.checked >= 0) {
            action->setCheckable(true);
            action->setChecked(ui.checked != 0);
        }
    }
}

void FrameWnd::SetFullScreen(bool on)
{
    if (on == m_fullScreen)
        return;
    if (on) {
        m_menuWasShown = menuBar()->isVisibleTo(this) || !menuBar()->isHidden();
        m_toolBarWasShown = m_toolBar && !m_toolBar->isHidden();
        m_statusWasShown = !statusBar()->isHidden();
        menuBar()->hide();
        if (m_toolBar)
            m_toolBar->hide();
        statusBar()->hide();
        showFullScreen();
    } else {
        menuBar()->setVisible(m_menuWasShown);
        if (m_toolBar)
            m_toolBar->setVisible(m_toolBarWasShown);
        statusBar()->setVisible(m_statusWasShown);
        showNormal();
    }
    m_fullScreen = on;
}

}  // namespace platform
