#include "platform/ui/KitWindow.h"

#include "platform/system/TextTable.h"
#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/UiText.h"
#include "platform/ui/controls/ControlKinds.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

KitWindow* g_mainWindow = nullptr;

QEvent::Type MessageEventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

class KitMessageEvent : public QEvent {
public:
    KitMessageEvent(int message, intptr_t wParam, intptr_t lParam)
        : QEvent(MessageEventType()), message(message), wParam(wParam), lParam(lParam) {}
    int message;
    intptr_t wParam;
    intptr_t lParam;
};

}  // namespace

namespace detail {

// Watches the window and its controls: messages, sizes, keys, focus.
class KitHub : public QObject {
public:
    explicit KitHub(KitWindow* window) : QObject(window->Host()), m_window(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        QWidget* host = m_window->Host();
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (watched == host) {
                // A key that a control already saw reaches the window again
                // when the control leaves it; it was offered once already.
                QWidget* focus = QApplication::focusWidget();
                for (QWidget* w = focus; w && w != host; w = w->parentWidget())
                    if (m_window->ControlIdOf(w) != 0)
                        return false;
            }
            return m_window->PreTranslateKey(key);
        }
        case QEvent::FocusOut:
            if (watched != host && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
                int id = m_window->ControlIdOf(static_cast<QWidget*>(watched));
                if (id != 0)
                    m_window->SendNotify(id, Notify::KillFocus);
            }
            return false;
        case QEvent::Resize:
            if (watched == host)
                m_window->OnSize(host->width(), host->height());
            return false;
        default:
            if (watched == host && event->type() == MessageEventType()) {
                auto* m = static_cast<KitMessageEvent*>(event);
                m_window->OnMessage(m->message, m->wParam, m->lParam);
                return true;
            }
            return false;
        }
    }

private:
    KitWindow* m_window;
};

}  // namespace detail

void PostMessage(QWidget* target, int message, intptr_t wParam, intptr_t lParam)
{
    KitWindow* window = target ? KitWindow::Of(target) : nullptr;
    if (window)
        QCoreApplication::postEvent(window->Host(), new KitMessageEvent(message, wParam, lParam));
}

intptr_t SendMessage(QWidget* target, int message, intptr_t wParam, intptr_t lParam)
{
    KitWindow* window = target ? KitWindow::Of(target) : nullptr;
    return window ? window->OnMessage(message, wParam, lParam) : 0;
}

KitWindow* MainWindow()
{
    return g_mainWindow;
}

void SetMainWindow(KitWindow* window)
{
    g_mainWindow = window;
}

QSize DialogUnitsToPixels(const QWidget* widget, int cx, int cy)
{
    // The base units of a dialog: the average width of the letters and the
    // height of the dialog's font; a dialog unit is a quarter of the one
    // across and an eighth of the other down.
    QFontMetrics fm(widget->font());
    int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    int baseX = (letters / 26 + 1) / 2;
    int baseY = fm.height();
    return QSize((cx * baseX + 2) / 4, (cy * baseY + 4) / 8);
}

KitWindow::KitWindow(QWidget* host) : m_host(host), m_hub(new detail::KitHub(this))
{
    m_host->installEventFilter(m_hub);
}

KitWindow::~KitWindow()
{
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
    // The host (a base of the screen's class) is still alive here. With the
    // hub go its filters and every connection of the controls and timers, so
    // nothing calls into a window that is going away.
    for (auto& [id, timer] : m_timers)
        timer->stop();
    delete m_hub;
}

KitWindow* KitWindow::Of(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* kit = dynamic_cast<KitWindow*>(w))
            return kit;
    return nullptr;
}

Control KitWindow::item(int id) const
{
    auto it = m_controls.find(id);
    return it == m_controls.end() ? Control() : Control(it->second.get());
}

int KitWindow::ControlIdOf(const QWidget* widget) const
{
    for (auto& [id, control] : m_controls)
        if (control->Widget() == widget)
            return id;
    return 0;
}

void KitWindow::RegisterControl(std::unique_ptr<ControlAdapter> control)
{
    control->Widget()->installEventFilter(m_hub);
    int id = control->Id();
    m_controls[id] = std::move(control);
}

void KitWindow::SetCustomControl(int id, QWidget* widget)
{
    auto it = m_controls.find(id);
    if (it != m_controls.end() && it->second->Widget() != widget) {
        QWidget* old = it->second->Widget();
        QWidget* parent = old->parentWidget();
        if (parent && parent->layout()) {
            if (auto* grid = dynamic_cast<QGridLayout*>(parent->layout())) {
                int index = grid->indexOf(old);
                int row = 0, col = 0, rowSpan = 1, colSpan = 1;
                if (index >= 0) {
                    grid->getItemPosition(index, &row, &col, &rowSpan, &colSpan);
                    grid->removeWidget(old);
                    grid->addWidget(widget, row, col, rowSpan, colSpan);
                }
            } else {
                parent->layout()->replaceWidget(old, widget);
            }
        } else {
            widget->setParent(parent ? parent : m_host);
            widget->setGeometry(old->geometry());
        }
        widget->setVisible(!old->isHidden());
        old->removeEventFilter(m_hub);
        delete old;
    }
    std::unique_ptr<ControlAdapter> control = AdoptControl(widget, id);
    control->Wire(*this, m_hub);
    RegisterControl(std::move(control));
}

void KitWindow::SetCaption(std::string_view text)
{
    m_host->setWindowTitle(ToQt(text));
}

std::string KitWindow::Caption() const
{
    return FromQt(m_host->windowTitle());
}

void KitWindow::Relabel()
{
    if (m_captionKey)
        SetCaption(TextOfKey(m_captionKey));
    for (auto& [id, t] : m_templates)
        if (t->key)
            item(id).setText(TextOfKey(t->key));
}

void KitWindow::BuildControls(const DialogTemplate& tmpl)
{
    m_templateId = tmpl.id;
    m_captionKey = tmpl.captionKey;
    if (tmpl.captionKey)
        SetCaption(TextOfKey(tmpl.captionKey));
    else if (tmpl.caption)
        SetCaption(tmpl.caption);

    auto* grid = new QGridLayout(m_host);
    std::map<int, QGridLayout*> layouts{{0, grid}};
    ControlBuild build;
    build.window = m_host;
    for (const ControlTemplate& t : tmpl.controls) {
        QGridLayout* layout = grid;
        if (auto it = layouts.find(t.parent); it != layouts.end())
            layout = it->second;
        build.parent = layout == grid ? m_host : layout->parentWidget();
        std::unique_ptr<ControlAdapter> control = BuildControl(t, build);
        build.previous = t.kind;
        QWidget* w = control->Widget();
        if (QGridLayout* inner = control->ChildLayout())
            layouts[t.id] = inner;
        layout->addWidget(w, t.row, t.col, t.rowSpan, t.colSpan);
        if (t.style & CS_STRETCH) {
            layout->setRowStretch(t.row, 1);
            layout->setColumnStretch(t.col, 1);
            w->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        }
        ControlAdapter* built = control.get();
        RegisterControl(std::move(control));
        m_templates[t.id] = &t;
        if (t.key)
            item(t.id).setText(TextOfKey(t.key));
        else if (t.text)
            item(t.id).setText(t.text);
        if (t.style & CS_HIDDEN)
            w->setVisible(false);
        if (t.style & CS_DISABLED)
            w->setEnabled(false);
        // Wired last: the template's own text is no change to tell.
        built->Wire(*this, m_hub);
    }
    for (auto& [id, control] : m_controls)
        control->Bind(*this);
    if (tmpl.cx > 0 && tmpl.cy > 0)
        m_host->resize(DialogUnitsToPixels(m_host, tmpl.cx, tmpl.cy).expandedTo(m_host->minimumSizeHint()));
}

void KitWindow::OnNotify(Notify code, int id, std::function<void()> handler)
{
    m_notify.push_back({code, id, std::move(handler)});
}

void KitWindow::OnSelChanging(int id, std::function<bool()> handler)
{
    m_selChanging[id] = std::move(handler);
}

bool KitWindow::SendNotify(int id, Notify code)
{
    if (code == Notify::SelChanging) {
        auto it = m_selChanging.find(id);
        return it != m_selChanging.end() && it->second && it->second();
    }
    for (const NotifyEntry& e : m_notify)
        if (e.code == code && e.id == id) {
            // A copy: the handler may add handlers of its own.
            auto handler = e.handler;
            handler();
            return true;
        }
    return OnUnhandledNotify(id, code);
}

bool KitWindow::UpdateData(bool saveAndValidate)
{
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void KitWindow::OnCommand(int id, std::function<void()> handler)
{
    m_commands.push_back({id, id, [h = std::move(handler)](int) { h(); }, {}});
}

void KitWindow::OnCommandRange(int first, int last, std::function<void(int)> handler)
{
    m_commands.push_back({first, last, std::move(handler), {}});
}

void KitWindow::OnUpdateCommand(int id, std::function<void(CommandUI&)> handler)
{
    m_commands.push_back({id, id, {}, std::move(handler)});
}

void KitWindow::OnUpdateCommandRange(int first, int last, std::function<void(CommandUI&)> handler)
{
    m_commands.push_back({first, last, {}, std::move(handler)});
}

bool KitWindow::OnCmdMsg(int id)
{
    for (const CommandEntry& e : m_commands)
        if (e.handler && id >= e.first && id <= e.last) {
            auto handler = e.handler;
            handler(id);
            return true;
        }
    return false;
}

bool KitWindow::OnUpdateCmdUI(CommandUI& ui)
{
    bool known = false;
    for (const CommandEntry& e : m_commands) {
        if (ui.id < e.first || ui.id > e.last)
            continue;
        if (e.update) {
            e.update(ui);
            return true;
        }
        known = known || e.handler != nullptr;
    }
    // A command with a handler and no update handler is simply enabled.
    if (known) {
        ui.enabled = true;
        ui.handled = true;
    }
    return known;
}

void KitWindow::SetTimer(int id, int milliseconds)
{
    KillTimer(id);
    auto* timer = new QTimer(m_host);
    timer->setInterval(milliseconds);
    QObject::connect(timer, &QTimer::timeout, m_hub, [this, id] { OnTimer(id); });
    m_timers[id] = timer;
    timer->start();
}

void KitWindow::KillTimer(int id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
}

void KitWindow::WinHelp(uint32_t data, int command)
{
    KitWindow* main = MainWindow();
    if (main && main != this)
        main->WinHelp(data, command);
    else
        RequestHelp(data, command);
}

bool KitWindow::OnHelpInfo(int controlId)
{
    WinHelp(static_cast<uint32_t>(controlId), HELP_CONTROL_TOPIC);
    return true;
}

bool KitWindow::PreTranslateKey(QKeyEvent* event)
{
    if (event->key() != Qt::Key_F1)
        return false;
    if (event->modifiers() & Qt::ShiftModifier) {
        int id = 0;
        for (QWidget* w = QApplication::focusWidget(); w && w != m_host && id == 0; w = w->parentWidget())
            id = ControlIdOf(w);
        return OnHelpInfo(id);
    }
    WinHelp(static_cast<uint32_t>(HelpTopic()), HELP_WINDOW_TOPIC);
    return true;
}

// Takes the member from the control when saving, else shows it there.
template <typename T, typename Get, typename Set>
void DataExchange::Exchange(int id, T& value, Get get, Set set)
{
    if (Skip())
        return;
    Control c = m_window.item(id);
    if (m_save)
        value = (c.*get)();
    else
        (c.*set)(value);
}

void DataExchange::Refuse(int id, const char* message)
{
    MessageRequest request;
    request.text = message;
    request.icon = MessageIcon::Exclamation;
    CurrentPrompter().Message(request);
    Fail(id);
}

void DataExchange::Text(int id, std::string& value)
{
    Exchange(id, value, &Control::text, &Control::setText);
}

void DataExchange::Text(int id, int& value)
{
    if (Skip())
        return;
    Control c = m_window.item(id);
    if (!m_save) {
        c.setNumber(value);
        return;
    }
    std::string text = c.text();
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    if (text.empty() || end == text.c_str() || (end && *end != '\0') || v < INT32_MIN || v > INT32_MAX) {
        Refuse(id, "Enter a whole number.");
        return;
    }
    value = static_cast<int>(v);
}

void DataExchange::Text(int id, unsigned& value)
{
    int v = static_cast<int>(value);
    Text(id, v);
    if (m_save && !Skip()) {
        if (v < 0) {
            Refuse(id, "Enter a whole number that is not negative.");
            return;
        }
        value = static_cast<unsigned>(v);
    }
}

void DataExchange::MinMax(int id, int value, int lower, int upper)
{
    if (Skip() || !m_save)
        return;
    if (value < lower || value > upper) {
        char text[96];
        std::snprintf(text, sizeof text, "Enter a whole number from %d to %d.", lower, upper);
        Refuse(id, text);
    }
}

void DataExchange::MaxChars(int id, const std::string& value, int most)
{
    // Only a check of the taken text: the edit's own limit, where the
    // template sets one, keeps typing within bounds.
    if (Skip() || !m_save)
        return;
    if (static_cast<int>(value.size()) > most) {
        char text[96];
        std::snprintf(text, sizeof text, "Enter no more than %d characters.", most);
        Refuse(id, text);
    }
}

void DataExchange::Check(int id, int& value)
{
    Exchange(id, value, &Control::check, &Control::setCheck);
}

void DataExchange::Radio(int id, int& index)
{
    Exchange(id, index, &Control::selection, &Control::setSelection);
}

void DataExchange::ComboIndex(int id, int& index)
{
    Exchange(id, index, &Control::selection, &Control::setSelection);
}

void DataExchange::ComboText(int id, std::string& value)
{
    Text(id, value);
}

void DataExchange::ListIndex(int id, int& index)
{
    ComboIndex(id, index);
}

void DataExchange::Time(int id, LocalTime& value)
{
    Exchange(id, value, &Control::time, &Control::setTime);
}

void DataExchange::Fail(int id)
{
    m_failed = true;
    Control c = m_window.item(id);
    c.focus();
    c.selectAll();
}

}  // namespace platform
