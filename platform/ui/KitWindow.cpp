#include "platform/ui/KitWindow.h"

#include "platform/system/TextTable.h"
#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/TabCtrl.h"
#include "platform/ui/UiText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTimeEdit>
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

// List boxes and list views take several rows with CS_MULTISEL, else one.
QAbstractItemView::SelectionMode SelectionModeOf(uint32_t style)
{
    return (style & CS_MULTISEL) ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
}

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
    if (it == m_controls.end())
        return {};
    auto radio = m_radioGroups.find(id);
    return Control(it->second, id, radio == m_radioGroups.end() ? nullptr : radio->second);
}

int KitWindow::ControlIdOf(const QWidget* widget) const
{
    for (auto& [id, w] : m_controls)
        if (w == widget)
            return id;
    return 0;
}

void KitWindow::RegisterControl(int id, QWidget* widget)
{
    m_controls[id] = widget;
    widget->installEventFilter(m_hub);
}

void KitWindow::SetCustomControl(int id, QWidget* widget)
{
    auto it = m_controls.find(id);
    if (it != m_controls.end() && it->second != widget) {
        QWidget* old = it->second;
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
    RegisterControl(id, widget);
    if (dynamic_cast<TabCtrl*>(widget))
        WireControl(id, ControlKind::Tab, widget);
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
    QButtonGroup* radios = nullptr;
    ControlKind previous = ControlKind::Static;
    std::vector<std::pair<SpinCtrl*, int>> spins;

    for (const ControlTemplate& t : tmpl.controls) {
        QWidget* parentWidget = m_host;
        QGridLayout* layout = grid;
        if (auto it = layouts.find(t.parent); it != layouts.end() && t.parent != 0) {
            layout = it->second;
            parentWidget = layout->parentWidget();
        }
        QWidget* w = nullptr;
        switch (t.kind) {
        case ControlKind::Static: {
            auto* label = new QLabel(parentWidget);
            if (t.style & CS_RIGHT)
                label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (!(t.style & CS_NOBORDER) && (t.style & CS_READONLY))
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            w = label;
            break;
        }
        case ControlKind::Edit:
            if (t.style & CS_MULTILINE) {
                auto* edit = new QPlainTextEdit(parentWidget);
                edit->setTabChangesFocus(true);
                edit->setReadOnly(t.style & CS_READONLY);
                if (t.limit > 0)
                    edit->setProperty("bvLimit", t.limit);
                w = edit;
            } else {
                auto* edit = new QLineEdit(parentWidget);
                if (t.limit > 0)
                    edit->setMaxLength(t.limit);
                if (t.style & CS_NUMBER)
                    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
                edit->setReadOnly(t.style & CS_READONLY);
                edit->setFrame(!(t.style & CS_NOBORDER));
                if (t.style & CS_PASSWORD)
                    edit->setEchoMode(QLineEdit::Password);
                if (t.style & CS_RIGHT)
                    edit->setAlignment(Qt::AlignRight);
                w = edit;
            }
            break;
        case ControlKind::ComboList:
        case ControlKind::ComboEdit: {
            auto* combo = new QComboBox(parentWidget);
            combo->setEditable(t.kind == ControlKind::ComboEdit);
            combo->setProperty("bvSort", (t.style & CS_SORT) != 0);
            combo->setInsertPolicy(QComboBox::NoInsert);
            if (combo->isEditable() && t.limit > 0)
                combo->lineEdit()->setMaxLength(t.limit);
            w = combo;
            break;
        }
        case ControlKind::ListBox: {
            auto* list = new QListWidget(parentWidget);
            list->setProperty("bvSort", (t.style & CS_SORT) != 0);
            list->setSelectionMode(SelectionModeOf(t.style));
            w = list;
            break;
        }
        case ControlKind::Check:
            w = new QCheckBox(parentWidget);
            break;
        case ControlKind::Radio: {
            auto* radio = new QRadioButton(parentWidget);
            if (!radios || previous != ControlKind::Radio || (t.style & CS_GROUP))
                radios = new QButtonGroup(m_host);
            radios->addButton(radio);
            m_radioGroups[t.id] = radios;
            w = radio;
            break;
        }
        case ControlKind::Group: {
            auto* box = new QGroupBox(parentWidget);
            layouts[t.id] = new QGridLayout(box);
            w = box;
            break;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(parentWidget);
            button->setAutoDefault(false);
            if (t.style & CS_DEFAULT)
                button->setDefault(true);
            w = button;
            break;
        }
        case ControlKind::Spin: {
            auto* spin = new SpinCtrl(parentWidget);
            spin->SetRange(t.min, t.max);
            spins.emplace_back(spin, t.buddy);
            w = spin;
            break;
        }
        case ControlKind::Progress: {
            auto* bar = new QProgressBar(parentWidget);
            bar->setRange(t.min, t.max);
            bar->setValue(t.min);
            w = bar;
            break;
        }
        case ControlKind::ListView: {
            auto* list = new ListViewCtrl(parentWidget);
            list->checkBoxes = (t.style & CS_CHECKBOXES) != 0;
            list->setSelectionMode(SelectionModeOf(t.style));
            w = list;
            break;
        }
        case ControlKind::Tree:
            w = new TreeCtrl(parentWidget);
            break;
        case ControlKind::Tab:
            w = new TabCtrl(parentWidget);
            break;
        case ControlKind::Date: {
            auto* date = new QDateEdit(parentWidget);
            date->setCalendarPopup(true);
            date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
            w = date;
            break;
        }
        case ControlKind::Time: {
            auto* time = new QTimeEdit(parentWidget);
            time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
            w = time;
            break;
        }
        case ControlKind::Custom:
            w = new QWidget(parentWidget);
            break;
        }
        previous = t.kind;
        layout->addWidget(w, t.row, t.col, t.rowSpan, t.colSpan);
        if (t.style & CS_STRETCH) {
            layout->setRowStretch(t.row, 1);
            layout->setColumnStretch(t.col, 1);
            w->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        }
        RegisterControl(t.id, w);
        m_templates[t.id] = &t;
        if (t.key)
            item(t.id).setText(TextOfKey(t.key));
        else if (t.text)
            item(t.id).setText(t.text);
        if (t.style & CS_HIDDEN)
            w->setVisible(false);
        if (t.style & CS_DISABLED)
            w->setEnabled(false);
        WireControl(t.id, t.kind, w);
    }
    for (auto& [spin, buddy] : spins) {
        auto it = m_controls.find(buddy);
        if (it != m_controls.end())
            spin->SetBuddy(dynamic_cast<QLineEdit*>(it->second));
    }
    if (tmpl.cx > 0 && tmpl.cy > 0)
        m_host->resize(DialogUnitsToPixels(m_host, tmpl.cx, tmpl.cy).expandedTo(m_host->minimumSizeHint()));
}

void KitWindow::WireControl(int id, ControlKind kind, QWidget* w)
{
    QObject* ctx = m_hub;
    auto tell = [this, id](Notify code) { return [this, id, code] { SendNotify(id, code); }; };
    if (auto* b = dynamic_cast<QAbstractButton*>(w)) {
        QObject::connect(b, &QAbstractButton::clicked, ctx, tell(Notify::Click));
    } else if (auto* e = dynamic_cast<QLineEdit*>(w)) {
        QObject::connect(e, &QLineEdit::textChanged, ctx, tell(Notify::Change));
    } else if (auto* e = dynamic_cast<QPlainTextEdit*>(w)) {
        QObject::connect(e, &QPlainTextEdit::textChanged, ctx, [this, id, e] {
            int limit = e->property("bvLimit").toInt();
            if (limit > 0 && e->toPlainText().size() > limit) {
                // Too long a text is cut back, as an edit with a limit refuses
                // the characters past it.
                QSignalBlocker quiet(e);
                e->setPlainText(e->toPlainText().left(limit));
                e->moveCursor(QTextCursor::End);
            }
            SendNotify(id, Notify::Change);
        });
    } else if (auto* c = dynamic_cast<QComboBox*>(w)) {
        QObject::connect(c, &QComboBox::activated, ctx, tell(Notify::SelChange));
        if (c->isEditable()) {
            QObject::connect(c, &QComboBox::editTextChanged, ctx, tell(Notify::Change));
            c->lineEdit()->installEventFilter(m_hub);
        }
    } else if (auto* l = dynamic_cast<QListWidget*>(w)) {
        QObject::connect(l, &QListWidget::itemSelectionChanged, ctx, tell(Notify::SelChange));
        QObject::connect(l, &QListWidget::itemDoubleClicked, ctx, tell(Notify::DoubleClick));
    } else if (auto* t = dynamic_cast<QTreeWidget*>(w)) {
        if (kind == ControlKind::Tree)
            QObject::connect(t, &QTreeWidget::currentItemChanged, ctx, tell(Notify::SelChange));
        else {
            QObject::connect(t, &QTreeWidget::itemSelectionChanged, ctx, tell(Notify::SelChange));
            QObject::connect(t, &QTreeWidget::itemChanged, ctx, tell(Notify::SelChange));
        }
        QObject::connect(t, &QTreeWidget::itemClicked, ctx, tell(Notify::Click));
        QObject::connect(t, &QTreeWidget::itemDoubleClicked, ctx, tell(Notify::DoubleClick));
    } else if (auto* tab = dynamic_cast<TabCtrl*>(w)) {
        tab->onSelChanging = [this, id] { return SendNotify(id, Notify::SelChanging); };
        tab->onSelChange = tell(Notify::SelChange);
    } else if (auto* d = dynamic_cast<QDateTimeEdit*>(w)) {
        QObject::connect(d, &QDateTimeEdit::dateTimeChanged, ctx, tell(Notify::SelChange));
    }
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
    if (auto* edit = dynamic_cast<QLineEdit*>(c.widget()))
        edit->selectAll();
}

}  // namespace platform
