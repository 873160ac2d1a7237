#include "platform/ui/Controls.h"

#include "platform/system/TextTable.h"
#include "platform/ui/KitWindow.h"
#include "platform/ui/TabCtrl.h"
#include "platform/ui/UiText.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace platform {
namespace {

constexpr int kDataRole = Qt::UserRole;

QVariant Data(intptr_t v)
{
    return QVariant::fromValue<qlonglong>(v);
}

intptr_t DataOf(const QVariant& v)
{
    return static_cast<intptr_t>(v.toLongLong());
}

QTreeWidgetItem* TreeItemOf(TreeItem item)
{
    return reinterpret_cast<QTreeWidgetItem*>(item);
}

TreeItem HandleOf(QTreeWidgetItem* item)
{
    return reinterpret_cast<TreeItem>(item);
}

}  // namespace

SpinCtrl::SpinCtrl(QWidget* parent) : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(16, 11);
        layout->addWidget(b);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void SpinCtrl::SetRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
}

int SpinCtrl::Pos() const
{
    if (!m_buddy)
        return m_lower;
    bool ok = false;
    int v = m_buddy->text().trimmed().toInt(&ok);
    return ok ? v : m_lower;
}

void SpinCtrl::SetPos(int pos)
{
    if (m_buddy)
        m_buddy->setText(QString::number(pos));
}

void SpinCtrl::Step(int delta)
{
    int lo = std::min(m_lower, m_upper);
    int hi = std::max(m_lower, m_upper);
    // A range given upside down counts the other way, as the arrows show it.
    if (m_lower > m_upper)
        delta = -delta;
    int next = std::clamp(Pos() + delta, lo, hi);
    if (!m_buddy || next == Pos())
        return;
    SetPos(next);
}

ListViewCtrl::ListViewCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
}

TreeCtrl::TreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
}

void Control::show(bool on)
{
    if (m_widget)
        m_widget->setVisible(on);
}

bool Control::visible() const
{
    return m_widget && !m_widget->isHidden();
}

void Control::enable(bool on)
{
    if (m_widget)
        m_widget->setEnabled(on);
}

bool Control::enabled() const
{
    return m_widget && m_widget->isEnabled();
}

void Control::focus()
{
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
}

void Control::setText(std::string_view text)
{
    QString t = ToQt(text);
    if (auto* w = dynamic_cast<QLineEdit*>(m_widget))
        w->setText(t);
    else if (auto* w = dynamic_cast<QPlainTextEdit*>(m_widget))
        w->setPlainText(t);
    else if (auto* w = dynamic_cast<QLabel*>(m_widget))
        w->setText(t);
    else if (auto* w = dynamic_cast<QAbstractButton*>(m_widget))
        w->setText(t);
    else if (auto* w = dynamic_cast<QGroupBox*>(m_widget))
        w->setTitle(t);
    else if (auto* w = dynamic_cast<QComboBox*>(m_widget)) {
        if (w->isEditable()) {
            w->setEditText(t);
        } else {
            QSignalBlocker quiet(w);
            w->setCurrentIndex(w->findText(t, Qt::MatchExactly));
        }
    } else if (m_widget) {
        m_widget->setWindowTitle(t);
    }
}

std::string Control::text() const
{
    if (auto* w = dynamic_cast<QLineEdit*>(m_widget))
        return FromQt(w->text());
    if (auto* w = dynamic_cast<QPlainTextEdit*>(m_widget))
        return FromQt(w->toPlainText());
    if (auto* w = dynamic_cast<QLabel*>(m_widget))
        return FromQt(w->text());
    if (auto* w = dynamic_cast<QAbstractButton*>(m_widget))
        return FromQt(w->text());
    if (auto* w = dynamic_cast<QGroupBox*>(m_widget))
        return FromQt(w->title());
    if (auto* w = dynamic_cast<QComboBox*>(m_widget))
        return FromQt(w->currentText());
    if (auto* w = dynamic_cast<QListWidget*>(m_widget))
        return w->currentItem() ? FromQt(w->currentItem()->text()) : std::string();
    return m_widget ? FromQt(m_widget->windowTitle()) : std::string();
}

void Control::setTextKey(std::string_view key)
{
    setText(TextOfKey(key));
}

int Control::number(bool* ok) const
{
    bool good = false;
    int v = ToQt(text()).trimmed().toInt(&good);
    if (ok)
        *ok = good;
    return good ? v : 0;
}

void Control::setNumber(int value)
{
    setText(std::to_string(value));
}

void Control::limitText(int chars)
{
    if (auto* w = dynamic_cast<QLineEdit*>(m_widget))
        w->setMaxLength(chars > 0 ? chars : 32767);
    else if (m_widget)
        m_widget->setProperty("bvLimit", chars);
}

void Control::setReadOnly(bool on)
{
    if (auto* w = dynamic_cast<QLineEdit*>(m_widget))
        w->setReadOnly(on);
    else if (auto* w = dynamic_cast<QPlainTextEdit*>(m_widget))
        w->setReadOnly(on);
}

void Control::setCheck(int state)
{
    auto* b = dynamic_cast<QAbstractButton*>(m_widget);
    if (!b)
        return;
    QButtonGroup* group = b->group();
    if (group && state == 0 && b->isChecked()) {
        // An exclusive group keeps one button ticked; clearing the last one
        // needs the group to let go for a moment.
        group->setExclusive(false);
        b->setChecked(false);
        group->setExclusive(true);
        return;
    }
    b->setChecked(state != 0);
}

int Control::check() const
{
    auto* b = dynamic_cast<QAbstractButton*>(m_widget);
    return b && b->isChecked() ? 1 : 0;
}

void Control::click()
{
    if (auto* b = dynamic_cast<QAbstractButton*>(m_widget)) {
        if (!b->isHidden())
            b->click();
    }
}

void Control::choose(int index)
{
    if (auto* w = dynamic_cast<TabCtrl*>(m_widget)) {
        w->ChooseTab(index);
        return;
    }
    if (auto* w = dynamic_cast<QComboBox*>(m_widget)) {
        w->setCurrentIndex(index);
        if (KitWindow* kit = KitWindow::Of(m_widget))
            kit->SendNotify(m_id, Notify::SelChange);
        return;
    }
    if (auto* w = dynamic_cast<QListWidget*>(m_widget)) {
        // The list tells its own change when the selection moves.
        w->setCurrentRow(index);
        return;
    }
    setSelection(index);
}

int Control::count() const
{
    if (auto* w = dynamic_cast<QComboBox*>(m_widget))
        return w->count();
    if (auto* w = dynamic_cast<QListWidget*>(m_widget))
        return w->count();
    if (auto* w = dynamic_cast<QTreeWidget*>(m_widget))
        return w->topLevelItemCount();
    if (auto* w = dynamic_cast<TabCtrl*>(m_widget))
        return w->GetItemCount();
    return 0;
}

int Control::addItem(std::string_view text, intptr_t data)
{
    if (auto* w = dynamic_cast<QComboBox*>(m_widget); w && w->property("bvSort").toBool()) {
        QString t = ToQt(text);
        int at = 0;
        while (at < w->count() && QString::compare(w->itemText(at), t, Qt::CaseInsensitive) <= 0)
            ++at;
        return insertItem(at, text, data);
    }
    if (auto* w = dynamic_cast<QListWidget*>(m_widget); w && w->property("bvSort").toBool()) {
        QString t = ToQt(text);
        int at = 0;
        while (at < w->count() && QString::compare(w->item(at)->text(), t, Qt::CaseInsensitive) <= 0)
            ++at;
        return insertItem(at, text, data);
    }
    return insertItem(count(), text, data);
}

int Control::insertItem(int index, std::string_view text, intptr_t data)
{
    if (index < 0 || index > count())
        index = count();
    QString t = ToQt(text);
    if (auto* w = dynamic_cast<QComboBox*>(m_widget)) {
        // A combo box gets no selection (and keeps its typed text) by being
        // filled; only the screen selects.
        QSignalBlocker quiet(w);
        int before = w->currentIndex();
        QString edit = w->isEditable() ? w->currentText() : QString();
        w->insertItem(index, t, Data(data));
        if (before < 0) {
            w->setCurrentIndex(-1);
            if (w->isEditable())
                w->setEditText(edit);
        }
        return index;
    }
    if (auto* w = dynamic_cast<QListWidget*>(m_widget)) {
        QSignalBlocker quiet(w);
        auto* item = new QListWidgetItem(t);
        item->setData(kDataRole, Data(data));
        w->insertItem(index, item);
        return index;
    }
    if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget)) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, t);
        item->setData(0, kDataRole, Data(data));
        item->setFlags(item->flags() | (w->checkBoxes ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
        if (w->checkBoxes)
            item->setCheckState(0, Qt::Unchecked);
        for (int c = 1; c < w->columnCount(); ++c)
            item->setTextAlignment(c, Qt::Alignment(w->headerItem()->textAlignment(c)));
        item->setTextAlignment(0, Qt::Alignment(w->headerItem()->textAlignment(0)));
        w->insertTopLevelItem(index, item);
        return index;
    }
    if (auto* w = dynamic_cast<TabCtrl*>(m_widget))
        return w->InsertItem(index, text, data);
    return -1;
}

void Control::deleteItem(int index)
{
    if (auto* w = dynamic_cast<QComboBox*>(m_widget)) {
        QSignalBlocker quiet(w);
        w->removeItem(index);
    } else if (auto* w = dynamic_cast<QListWidget*>(m_widget)) {
        QSignalBlocker quiet(w);
        delete w->takeItem(index);
    } else if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget)) {
        delete w->takeTopLevelItem(index);
    } else if (auto* w = dynamic_cast<TabCtrl*>(m_widget)) {
        w->DeleteItem(index);
    }
}

void Control::resetContent()
{
    if (auto* w = dynamic_cast<QComboBox*>(m_widget)) {
        QSignalBlocker quiet(w);
        w->clear();
    } else if (auto* w = dynamic_cast<QListWidget*>(m_widget)) {
        QSignalBlocker quiet(w);
        w->clear();
    } else if (auto* w = dynamic_cast<QTreeWidget*>(m_widget)) {
        w->clear();
    } else if (auto* w = dynamic_cast<TabCtrl*>(m_widget)) {
        w->DeleteAllItems();
    }
}

std::string Control::itemText(int index, int column) const
{
    if (index < 0 || index >= count())
        return {};
    if (auto* w = dynamic_cast<QComboBox*>(m_widget))
        return FromQt(w->itemText(index));
    if (auto* w = dynamic_cast<QListWidget*>(m_widget))
        return FromQt(w->item(index)->text());
    if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget))
        return FromQt(w->topLevelItem(index)->text(column));
    if (auto* w = dynamic_cast<TabCtrl*>(m_widget))
        return w->GetItemText(index);
    return {};
}

void Control::setItemText(int index, int column, std::string_view text)
{
    if (index < 0 || index >= count())
        return;
    if (auto* w = dynamic_cast<QComboBox*>(m_widget))
        w->setItemText(index, ToQt(text));
    else if (auto* w = dynamic_cast<QListWidget*>(m_widget))
        w->item(index)->setText(ToQt(text));
    else if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget)) {
        QTreeWidgetItem* item = w->topLevelItem(index);
        item->setText(column, ToQt(text));
        item->setTextAlignment(column, Qt::Alignment(w->headerItem()->textAlignment(column)));
    } else if (auto* w = dynamic_cast<TabCtrl*>(m_widget))
        w->SetItemText(index, text);
}

intptr_t Control::itemData(int index) const
{
    if (index < 0 || index >= count())
        return 0;
    if (auto* w = dynamic_cast<QComboBox*>(m_widget))
        return DataOf(w->itemData(index));
    if (auto* w = dynamic_cast<QListWidget*>(m_widget))
        return DataOf(w->item(index)->data(kDataRole));
    if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget))
        return DataOf(w->topLevelItem(index)->data(0, kDataRole));
    if (auto* w = dynamic_cast<TabCtrl*>(m_widget))
        return w->GetItemData(index);
    return 0;
}

void Control::setItemData(int index, intptr_t data)
{
    if (index < 0 || index >= count())
        return;
    if (auto* w = dynamic_cast<QComboBox*>(m_widget))
        w->setItemData(index, Data(data));
    else if (auto* w = dynamic_cast<QListWidget*>(m_widget))
        w->item(index)->setData(kDataRole, Data(data));
    else if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget))
        w->topLevelItem(index)->setData(0, kDataRole, Data(data));
    else if (auto* w = dynamic_cast<TabCtrl*>(m_widget))
        w->SetItemData(index, data);
}

int Control::findItemData(intptr_t data) const
{
    for (int i = 0; i < count(); ++i)
        if (itemData(i) == data)
            return i;
    return -1;
}

int Control::findText(std::string_view text) const
{
    for (int i = 0; i < count(); ++i)
        if (itemText(i) == text)
            return i;
    return -1;
}

int Control::selection() const
{
    if (m_radios) {
        QList<QAbstractButton*> buttons = m_radios->buttons();
        for (int i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked())
                return i;
        return -1;
    }
    if (auto* w = dynamic_cast<QComboBox*>(m_widget))
        return w->currentIndex();
    if (auto* w = dynamic_cast<QListWidget*>(m_widget)) {
        QListWidgetItem* item = w->currentItem();
        return item && item->isSelected() ? w->row(item) : -1;
    }
    if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget)) {
        QTreeWidgetItem* item = w->currentItem();
        return item && item->isSelected() ? w->indexOfTopLevelItem(item) : -1;
    }
    if (auto* w = dynamic_cast<TabCtrl*>(m_widget))
        return w->GetCurSel();
    return -1;
}

void Control::setSelection(int index)
{
    if (m_radios) {
        QList<QAbstractButton*> buttons = m_radios->buttons();
        if (index >= 0 && index < buttons.size()) {
            buttons[index]->setChecked(true);
        } else {
            m_radios->setExclusive(false);
            for (QAbstractButton* b : buttons)
                b->setChecked(false);
            m_radios->setExclusive(true);
        }
        return;
    }
    if (auto* w = dynamic_cast<QComboBox*>(m_widget)) {
        QSignalBlocker quiet(w);
        w->setCurrentIndex(index >= 0 && index < w->count() ? index : -1);
    } else if (auto* w = dynamic_cast<QListWidget*>(m_widget)) {
        QSignalBlocker quiet(w);
        w->clearSelection();
        if (index >= 0 && index < w->count()) {
            w->setCurrentRow(index);
            w->item(index)->setSelected(true);
        } else {
            w->setCurrentItem(nullptr);
        }
    } else if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget)) {
        w->clearSelection();
        if (index >= 0 && index < w->topLevelItemCount()) {
            w->setCurrentItem(w->topLevelItem(index));
            w->topLevelItem(index)->setSelected(true);
        }
    } else if (auto* w = dynamic_cast<TabCtrl*>(m_widget)) {
        w->SetCurSel(index);
    }
}

bool Control::selected(int index) const
{
    if (index < 0 || index >= count())
        return false;
    if (auto* w = dynamic_cast<QListWidget*>(m_widget))
        return w->item(index)->isSelected();
    if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget))
        return w->topLevelItem(index)->isSelected();
    return selection() == index;
}

void Control::setSelected(int index, bool on)
{
    if (index < 0 || index >= count())
        return;
    if (auto* w = dynamic_cast<QListWidget*>(m_widget)) {
        QSignalBlocker quiet(w);
        w->item(index)->setSelected(on);
    } else if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget)) {
        w->topLevelItem(index)->setSelected(on);
    } else if (on) {
        setSelection(index);
    }
}

std::vector<int> Control::selectedIndexes() const
{
    std::vector<int> rows;
    for (int i = 0; i < count(); ++i)
        if (selected(i))
            rows.push_back(i);
    return rows;
}

void Control::insertColumn(int column, std::string_view header, int width, bool rightAligned)
{
    auto* w = dynamic_cast<ListViewCtrl*>(m_widget);
    if (!w)
        return;
    int n = w->columnCount();
    if (column < 0 || column > n)
        column = n;
    QTreeWidgetItem* head = w->headerItem();
    QStringList texts;
    std::vector<int> widths;
    std::vector<Qt::Alignment> aligns;
    for (int c = 0; c < n; ++c) {
        texts << head->text(c);
        widths.push_back(w->columnWidth(c));
        aligns.push_back(Qt::Alignment(head->textAlignment(c)));
    }
    texts.insert(column, ToQt(header));
    widths.insert(widths.begin() + column, width);
    Qt::Alignment align = (rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    aligns.insert(aligns.begin() + column, align);
    w->setColumnCount(n + 1);
    w->setHeaderLabels(texts);
    for (int c = 0; c <= n; ++c) {
        w->setColumnWidth(c, widths[static_cast<size_t>(c)]);
        head->setTextAlignment(c, aligns[static_cast<size_t>(c)]);
    }
}

void Control::setColumnHeader(int column, std::string_view header)
{
    if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget); w && column < w->columnCount())
        w->headerItem()->setText(column, ToQt(header));
}

int Control::columnCount() const
{
    auto* w = dynamic_cast<ListViewCtrl*>(m_widget);
    return w ? w->columnCount() : 0;
}

void Control::setItemCheck(int row, bool on)
{
    if (auto* w = dynamic_cast<ListViewCtrl*>(m_widget); w && row >= 0 && row < w->topLevelItemCount())
        w->topLevelItem(row)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

bool Control::itemCheck(int row) const
{
    auto* w = dynamic_cast<ListViewCtrl*>(m_widget);
    return w && row >= 0 && row < w->topLevelItemCount() && w->topLevelItem(row)->checkState(0) == Qt::Checked;
}

void Control::sortItems(const std::function<int(intptr_t, intptr_t)>& compare)
{
    auto* w = dynamic_cast<ListViewCtrl*>(m_widget);
    if (!w)
        return;
    QTreeWidgetItem* current = w->currentItem();
    std::vector<QTreeWidgetItem*> rows;
    while (w->topLevelItemCount() > 0)
        rows.push_back(w->takeTopLevelItem(0));
    std::stable_sort(rows.begin(), rows.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return compare(DataOf(a->data(0, kDataRole)), DataOf(b->data(0, kDataRole))) < 0;
    });
    for (QTreeWidgetItem* row : rows)
        w->addTopLevelItem(row);
    if (current)
        w->setCurrentItem(current);
}

void Control::ensureVisible(int row)
{
    if (auto* w = dynamic_cast<QTreeWidget*>(m_widget); w && row >= 0 && row < w->topLevelItemCount())
        w->scrollToItem(w->topLevelItem(row));
    else if (auto* w = dynamic_cast<QListWidget*>(m_widget); w && row >= 0 && row < w->count())
        w->scrollToItem(w->item(row));
}

TreeItem Control::insertTreeItem(TreeItem parent, std::string_view text, intptr_t data)
{
    auto* w = dynamic_cast<TreeCtrl*>(m_widget);
    if (!w)
        return 0;
    auto* item = new QTreeWidgetItem;
    item->setText(0, ToQt(text));
    item->setData(0, kDataRole, Data(data));
    if (parent == kTreeRoot)
        w->addTopLevelItem(item);
    else
        TreeItemOf(parent)->addChild(item);
    return HandleOf(item);
}

void Control::deleteTreeItem(TreeItem item)
{
    if (dynamic_cast<TreeCtrl*>(m_widget) && item != kTreeRoot)
        delete TreeItemOf(item);
}

std::string Control::treeItemText(TreeItem item) const
{
    return item == kTreeRoot ? std::string() : FromQt(TreeItemOf(item)->text(0));
}

intptr_t Control::treeItemData(TreeItem item) const
{
    return item == kTreeRoot ? 0 : DataOf(TreeItemOf(item)->data(0, kDataRole));
}

void Control::setTreeItemState(TreeItem item, int state)
{
    if (item == kTreeRoot)
        return;
    QTreeWidgetItem* it = TreeItemOf(item);
    if (state == 0) {
        it->setData(0, Qt::CheckStateRole, QVariant());
        it->setFlags(it->flags() & ~Qt::ItemIsUserCheckable);
    } else {
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(0, state == 2 ? Qt::Checked : Qt::Unchecked);
    }
}

int Control::treeItemState(TreeItem item) const
{
    if (item == kTreeRoot)
        return 0;
    QVariant v = TreeItemOf(item)->data(0, Qt::CheckStateRole);
    if (!v.isValid())
        return 0;
    return v.toInt() == Qt::Checked ? 2 : 1;
}

TreeItem Control::treeChild(TreeItem parent, int index) const
{
    auto* w = dynamic_cast<TreeCtrl*>(m_widget);
    if (!w || index < 0 || index >= treeChildCount(parent))
        return 0;
    return HandleOf(parent == kTreeRoot ? w->topLevelItem(index) : TreeItemOf(parent)->child(index));
}

int Control::treeChildCount(TreeItem parent) const
{
    auto* w = dynamic_cast<TreeCtrl*>(m_widget);
    if (!w)
        return 0;
    return parent == kTreeRoot ? w->topLevelItemCount() : TreeItemOf(parent)->childCount();
}

TreeItem Control::treeParent(TreeItem item) const
{
    return item == kTreeRoot ? 0 : HandleOf(TreeItemOf(item)->parent());
}

TreeItem Control::selectedTreeItem() const
{
    auto* w = dynamic_cast<TreeCtrl*>(m_widget);
    return w ? HandleOf(w->currentItem()) : 0;
}

void Control::selectTreeItem(TreeItem item)
{
    if (auto* w = dynamic_cast<TreeCtrl*>(m_widget))
        w->setCurrentItem(item == kTreeRoot ? nullptr : TreeItemOf(item));
}

void Control::expandTreeItem(TreeItem item, bool on)
{
    if (item != kTreeRoot)
        TreeItemOf(item)->setExpanded(on);
}

void Control::setRange(int lower, int upper)
{
    if (auto* w = dynamic_cast<SpinCtrl*>(m_widget))
        w->SetRange(lower, upper);
    else if (auto* w = dynamic_cast<QProgressBar*>(m_widget))
        w->setRange(lower, upper);
}

int Control::pos() const
{
    if (auto* w = dynamic_cast<SpinCtrl*>(m_widget))
        return w->Pos();
    if (auto* w = dynamic_cast<QProgressBar*>(m_widget))
        return w->value();
    return 0;
}

void Control::setPos(int pos)
{
    if (auto* w = dynamic_cast<SpinCtrl*>(m_widget))
        w->SetPos(pos);
    else if (auto* w = dynamic_cast<QProgressBar*>(m_widget))
        w->setValue(pos);
}

void Control::setTime(const LocalTime& t)
{
    auto* w = dynamic_cast<QDateTimeEdit*>(m_widget);
    if (!w)
        return;
    QSignalBlocker quiet(w);
    w->setDateTime(QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second)));
}

LocalTime Control::time() const
{
    LocalTime t;
    if (auto* w = dynamic_cast<QDateTimeEdit*>(m_widget)) {
        QDateTime dt = w->dateTime();
        t.year = dt.date().year();
        t.month = dt.date().month();
        t.day = dt.date().day();
        t.dayOfWeek = dt.date().dayOfWeek() % 7;
        t.hour = dt.time().hour();
        t.minute = dt.time().minute();
        t.second = dt.time().second();
    }
    return t;
}

}  // namespace platform
