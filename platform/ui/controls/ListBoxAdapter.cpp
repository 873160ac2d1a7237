#include "platform/ui/controls/ListBoxAdapter.h"

#include "platform/ui/KitWindow.h"
#include "platform/ui/UiText.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace platform {

std::unique_ptr<ControlAdapter> ListBoxAdapter::Build(const ControlTemplate& t, ControlBuild& build)
{
    auto* list = new QListWidget(build.parent);
    SetSelectionMode(list, t.style);
    return std::make_unique<ListBoxAdapter>(list, t.id, (t.style & CS_SORT) != 0);
}

ListBoxAdapter::ListBoxAdapter(QListWidget* list, int id, bool sorted) : ControlAdapter(list, id), m_list(list), m_sorted(sorted)
{
}

void ListBoxAdapter::Wire(KitWindow& window, QObject* context)
{
    auto tell = [w = &window, id = Id()](Notify code) { return [w, id, code] { w->SendNotify(id, code); }; };
    QObject::connect(m_list, &QListWidget::itemSelectionChanged, context, tell(Notify::SelChange));
    QObject::connect(m_list, &QListWidget::itemDoubleClicked, context, tell(Notify::DoubleClick));
}

std::string ListBoxAdapter::Text() const
{
    return m_list->currentItem() ? FromQt(m_list->currentItem()->text()) : std::string();
}

void ListBoxAdapter::Choose(int index)
{
    // The list tells its own change when the selection moves.
    m_list->setCurrentRow(index);
}

int ListBoxAdapter::Count() const
{
    return m_list->count();
}

int ListBoxAdapter::AddIndex(std::string_view text) const
{
    if (!m_sorted)
        return Count();
    return SortedPlace(text, Count(), [this](int i) { return m_list->item(i)->text(); });
}

int ListBoxAdapter::InsertItem(int index, std::string_view text, intptr_t data)
{
    QSignalBlocker quiet(m_list);
    auto* item = new QListWidgetItem(ToQt(text));
    item->setData(kDataRole, DataValue(data));
    m_list->insertItem(index, item);
    return index;
}

void ListBoxAdapter::DeleteItem(int index)
{
    QSignalBlocker quiet(m_list);
    delete m_list->takeItem(index);
}

void ListBoxAdapter::ResetContent()
{
    QSignalBlocker quiet(m_list);
    m_list->clear();
}

std::string ListBoxAdapter::ItemText(int index, int column) const
{
    return FromQt(m_list->item(index)->text());
}

void ListBoxAdapter::SetItemText(int index, int column, std::string_view text)
{
    m_list->item(index)->setText(ToQt(text));
}

intptr_t ListBoxAdapter::ItemData(int index) const
{
    return DataOf(m_list->item(index)->data(kDataRole));
}

void ListBoxAdapter::SetItemData(int index, intptr_t data)
{
    m_list->item(index)->setData(kDataRole, DataValue(data));
}

int ListBoxAdapter::Selection() const
{
    QListWidgetItem* item = m_list->currentItem();
    return item && item->isSelected() ? m_list->row(item) : -1;
}

void ListBoxAdapter::SetSelection(int index)
{
    QSignalBlocker quiet(m_list);
    m_list->clearSelection();
    if (index >= 0 && index < m_list->count()) {
        m_list->setCurrentRow(index);
        m_list->item(index)->setSelected(true);
    } else {
        m_list->setCurrentItem(nullptr);
    }
}

bool ListBoxAdapter::Selected(int index) const
{
    return m_list->item(index)->isSelected();
}

void ListBoxAdapter::SetSelected(int index, bool on)
{
    QSignalBlocker quiet(m_list);
    m_list->item(index)->setSelected(on);
}

void ListBoxAdapter::EnsureVisible(int row)
{
    if (row >= 0 && row < m_list->count())
        m_list->scrollToItem(m_list->item(row));
}

}  // namespace platform
