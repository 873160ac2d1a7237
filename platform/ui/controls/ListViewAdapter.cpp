#include "platform/ui/controls/ListViewAdapter.h"

#include "platform/ui/ControlWidgets.h"
#include "platform/ui/KitWindow.h"
#include "platform/ui/UiText.h"

#include <QHeaderView>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace platform {

namespace {

// The room a heading needs: its text and the header section's margins.
int HeadingWidth(QTreeWidget* list, const QString& text)
{
    QHeaderView* header = list->header();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    return header->fontMetrics().horizontalAdvance(text) + 2 * margin + 4;
}

}  // namespace

std::unique_ptr<ControlAdapter> ListViewAdapter::Build(const ControlTemplate& t, ControlBuild& build)
{
    auto* list = new ListViewCtrl(build.parent);
    list->checkBoxes = (t.style & CS_CHECKBOXES) != 0;
    SetSelectionMode(list, t.style);
    return std::make_unique<ListViewAdapter>(list, t.id);
}

ListViewAdapter::ListViewAdapter(ListViewCtrl* list, int id) : ControlAdapter(list, id), m_list(list) {}

void ListViewAdapter::Wire(KitWindow& window, QObject* context)
{
    auto tell = [w = &window, id = Id()](Notify code) { return [w, id, code] { w->SendNotify(id, code); }; };
    QObject::connect(m_list, &QTreeWidget::itemSelectionChanged, context, tell(Notify::SelChange));
    // A row's check box ticked is a change of the row, as the screens see it.
    QObject::connect(m_list, &QTreeWidget::itemChanged, context, tell(Notify::SelChange));
    QObject::connect(m_list, &QTreeWidget::itemClicked, context, tell(Notify::Click));
    QObject::connect(m_list, &QTreeWidget::itemDoubleClicked, context, tell(Notify::DoubleClick));
}

int ListViewAdapter::Count() const
{
    return m_list->topLevelItemCount();
}

int ListViewAdapter::InsertItem(int index, std::string_view text, intptr_t data)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, ToQt(text));
    item->setData(0, kDataRole, DataValue(data));
    item->setFlags(item->flags() | (m_list->checkBoxes ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
    if (m_list->checkBoxes)
        item->setCheckState(0, Qt::Unchecked);
    for (int c = 1; c < m_list->columnCount(); ++c)
        item->setTextAlignment(c, Qt::Alignment(m_list->headerItem()->textAlignment(c)));
    item->setTextAlignment(0, Qt::Alignment(m_list->headerItem()->textAlignment(0)));
    m_list->insertTopLevelItem(index, item);
    return index;
}

void ListViewAdapter::DeleteItem(int index)
{
    delete m_list->takeTopLevelItem(index);
}

void ListViewAdapter::ResetContent()
{
    m_list->clear();
}

std::string ListViewAdapter::ItemText(int index, int column) const
{
    return FromQt(m_list->topLevelItem(index)->text(column));
}

void ListViewAdapter::SetItemText(int index, int column, std::string_view text)
{
    QTreeWidgetItem* item = m_list->topLevelItem(index);
    item->setText(column, ToQt(text));
    item->setTextAlignment(column, Qt::Alignment(m_list->headerItem()->textAlignment(column)));
}

intptr_t ListViewAdapter::ItemData(int index) const
{
    return DataOf(m_list->topLevelItem(index)->data(0, kDataRole));
}

void ListViewAdapter::SetItemData(int index, intptr_t data)
{
    m_list->topLevelItem(index)->setData(0, kDataRole, DataValue(data));
}

int ListViewAdapter::Selection() const
{
    QTreeWidgetItem* item = m_list->currentItem();
    return item && item->isSelected() ? m_list->indexOfTopLevelItem(item) : -1;
}

void ListViewAdapter::SetSelection(int index)
{
    m_list->clearSelection();
    if (index >= 0 && index < m_list->topLevelItemCount()) {
        m_list->setCurrentItem(m_list->topLevelItem(index));
        m_list->topLevelItem(index)->setSelected(true);
    }
}

bool ListViewAdapter::Selected(int index) const
{
    return m_list->topLevelItem(index)->isSelected();
}

void ListViewAdapter::SetSelected(int index, bool on)
{
    m_list->topLevelItem(index)->setSelected(on);
}

void ListViewAdapter::EnsureVisible(int row)
{
    if (row >= 0 && row < m_list->topLevelItemCount())
        m_list->scrollToItem(m_list->topLevelItem(row));
}

void ListViewAdapter::InsertColumn(int column, std::string_view header, int width, bool rightAligned)
{
    int n = m_list->columnCount();
    if (column < 0 || column > n)
        column = n;
    QTreeWidgetItem* head = m_list->headerItem();
    QStringList texts;
    std::vector<int> widths;
    std::vector<Qt::Alignment> aligns;
    for (int c = 0; c < n; ++c) {
        texts << head->text(c);
        widths.push_back(m_list->columnWidth(c));
        aligns.push_back(Qt::Alignment(head->textAlignment(c)));
    }
    texts.insert(column, ToQt(header));
    // A column is never narrower than its heading (the heading's text varies
    // with the language); a width of 0 still hides the column.
    if (width > 0)
        width = std::max(width, HeadingWidth(m_list, texts[column]));
    widths.insert(widths.begin() + column, width);
    Qt::Alignment align = (rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    aligns.insert(aligns.begin() + column, align);
    m_list->setColumnCount(n + 1);
    m_list->setHeaderLabels(texts);
    for (int c = 0; c <= n; ++c) {
        m_list->setColumnWidth(c, widths[static_cast<size_t>(c)]);
        head->setTextAlignment(c, aligns[static_cast<size_t>(c)]);
    }
}

void ListViewAdapter::SetColumnHeader(int column, std::string_view header)
{
    if (column < m_list->columnCount())
        m_list->headerItem()->setText(column, ToQt(header));
}

int ListViewAdapter::ColumnCount() const
{
    return m_list->columnCount();
}

void ListViewAdapter::SetItemCheck(int row, bool on)
{
    if (row >= 0 && row < m_list->topLevelItemCount())
        m_list->topLevelItem(row)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

bool ListViewAdapter::ItemCheck(int row) const
{
    return row >= 0 && row < m_list->topLevelItemCount() && m_list->topLevelItem(row)->checkState(0) == Qt::Checked;
}

void ListViewAdapter::SortItems(const std::function<int(intptr_t, intptr_t)>& compare)
{
    QTreeWidgetItem* current = m_list->currentItem();
    std::vector<QTreeWidgetItem*> rows;
    while (m_list->topLevelItemCount() > 0)
        rows.push_back(m_list->takeTopLevelItem(0));
    std::stable_sort(rows.begin(), rows.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return compare(DataOf(a->data(0, kDataRole)), DataOf(b->data(0, kDataRole))) < 0;
    });
    for (QTreeWidgetItem* row : rows)
        m_list->addTopLevelItem(row);
    if (current)
        m_list->setCurrentItem(current);
}

}  // namespace platform
