#include "platform/ui/Controls.h"

#include "platform/system/TextTable.h"
#include "platform/ui/UiText.h"
#include "platform/ui/controls/ControlAdapter.h"
#include "platform/ui/controls/TreeAdapter.h"

namespace platform {

ControlAdapter& Control::a() const
{
    return m_adapter ? *m_adapter : ControlAdapter::None();
}

int Control::id() const
{
    return a().Id();
}

QWidget* Control::widget() const
{
    return a().Widget();
}

void Control::show(bool on)
{
    if (QWidget* w = widget())
        w->setVisible(on);
}

bool Control::visible() const
{
    QWidget* w = widget();
    return w && !w->isHidden();
}

void Control::enable(bool on)
{
    if (QWidget* w = widget())
        w->setEnabled(on);
}

bool Control::enabled() const
{
    QWidget* w = widget();
    return w && w->isEnabled();
}

void Control::focus()
{
    if (QWidget* w = widget())
        w->setFocus(Qt::OtherFocusReason);
}

void Control::setText(std::string_view text)
{
    a().SetText(text);
}

std::string Control::text() const
{
    return a().Text();
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
    a().LimitText(chars);
}

void Control::setReadOnly(bool on)
{
    a().SetReadOnly(on);
}

void Control::selectAll()
{
    a().SelectAll();
}

void Control::setCheck(int state)
{
    a().SetCheck(state);
}

int Control::check() const
{
    return a().Check();
}

void Control::click()
{
    a().Click();
}

void Control::choose(int index)
{
    a().Choose(index);
}

int Control::count() const
{
    return a().Count();
}

int Control::addItem(std::string_view text, intptr_t data)
{
    return insertItem(a().AddIndex(text), text, data);
}

int Control::insertItem(int index, std::string_view text, intptr_t data)
{
    if (index < 0 || index > count())
        index = count();
    return a().InsertItem(index, text, data);
}

void Control::deleteItem(int index)
{
    a().DeleteItem(index);
}

void Control::resetContent()
{
    a().ResetContent();
}

std::string Control::itemText(int index, int column) const
{
    if (index < 0 || index >= count())
        return {};
    return a().ItemText(index, column);
}

void Control::setItemText(int index, int column, std::string_view text)
{
    if (index >= 0 && index < count())
        a().SetItemText(index, column, text);
}

intptr_t Control::itemData(int index) const
{
    if (index < 0 || index >= count())
        return 0;
    return a().ItemData(index);
}

void Control::setItemData(int index, intptr_t data)
{
    if (index >= 0 && index < count())
        a().SetItemData(index, data);
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
    return a().Selection();
}

void Control::setSelection(int index)
{
    a().SetSelection(index);
}

bool Control::selected(int index) const
{
    if (index < 0 || index >= count())
        return false;
    return a().Selected(index);
}

void Control::setSelected(int index, bool on)
{
    if (index >= 0 && index < count())
        a().SetSelected(index, on);
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
    a().InsertColumn(column, header, width, rightAligned);
}

void Control::setColumnHeader(int column, std::string_view header)
{
    a().SetColumnHeader(column, header);
}

int Control::columnCount() const
{
    return a().ColumnCount();
}

void Control::setItemCheck(int row, bool on)
{
    a().SetItemCheck(row, on);
}

bool Control::itemCheck(int row) const
{
    return a().ItemCheck(row);
}

void Control::sortItems(const std::function<int(intptr_t, intptr_t)>& compare)
{
    a().SortItems(compare);
}

void Control::ensureVisible(int row)
{
    a().EnsureVisible(row);
}

TreeItem Control::insertTreeItem(TreeItem parent, std::string_view text, intptr_t data)
{
    return a().InsertTreeItem(parent, text, data);
}

void Control::deleteTreeItem(TreeItem item)
{
    a().DeleteTreeItem(item);
}

std::string Control::treeItemText(TreeItem item) const
{
    return TreeAdapter::TextOf(item);
}

intptr_t Control::treeItemData(TreeItem item) const
{
    return TreeAdapter::ItemDataOf(item);
}

void Control::setTreeItemState(TreeItem item, int state)
{
    TreeAdapter::SetStateOf(item, state);
}

int Control::treeItemState(TreeItem item) const
{
    return TreeAdapter::StateOf(item);
}

TreeItem Control::treeChild(TreeItem parent, int index) const
{
    return a().TreeChild(parent, index);
}

int Control::treeChildCount(TreeItem parent) const
{
    return a().TreeChildCount(parent);
}

TreeItem Control::treeParent(TreeItem item) const
{
    return TreeAdapter::ParentOf(item);
}

TreeItem Control::selectedTreeItem() const
{
    return a().SelectedTreeItem();
}

void Control::selectTreeItem(TreeItem item)
{
    a().SelectTreeItem(item);
}

void Control::expandTreeItem(TreeItem item, bool on)
{
    TreeAdapter::Expand(item, on);
}

void Control::setRange(int lower, int upper)
{
    a().SetRange(lower, upper);
}

int Control::pos() const
{
    return a().Pos();
}

void Control::setPos(int pos)
{
    a().SetPos(pos);
}

void Control::setTime(const LocalTime& time)
{
    a().SetTime(time);
}

LocalTime Control::time() const
{
    return a().Time();
}

}  // namespace platform
