#include "platform/ui/controls/TreeAdapter.h"

#include "platform/ui/ControlWidgets.h"
#include "platform/ui/KitWindow.h"
#include "platform/ui/UiText.h"

namespace platform {
namespace {

QTreeWidgetItem* TreeItemOf(TreeItem item)
{
    return reinterpret_cast<QTreeWidgetItem*>(item);
}

TreeItem HandleOf(QTreeWidgetItem* item)
{
    return reinterpret_cast<TreeItem>(item);
}

}  // namespace

std::unique_ptr<ControlAdapter> TreeAdapter::Build(const ControlTemplate& t, ControlBuild& build)
{
    return std::make_unique<TreeAdapter>(new TreeCtrl(build.parent), t.id);
}

TreeAdapter::TreeAdapter(TreeCtrl* tree, int id) : ControlAdapter(tree, id), m_tree(tree) {}

void TreeAdapter::Wire(KitWindow& window, QObject* context)
{
    auto tell = [w = &window, id = Id()](Notify code) { return [w, id, code] { w->SendNotify(id, code); }; };
    QObject::connect(m_tree, &QTreeWidget::currentItemChanged, context, tell(Notify::SelChange));
    QObject::connect(m_tree, &QTreeWidget::itemClicked, context, tell(Notify::Click));
    QObject::connect(m_tree, &QTreeWidget::itemDoubleClicked, context, tell(Notify::DoubleClick));
}

int TreeAdapter::Count() const
{
    return m_tree->topLevelItemCount();
}

void TreeAdapter::ResetContent()
{
    m_tree->clear();
}

void TreeAdapter::EnsureVisible(int row)
{
    if (row >= 0 && row < m_tree->topLevelItemCount())
        m_tree->scrollToItem(m_tree->topLevelItem(row));
}

TreeItem TreeAdapter::InsertTreeItem(TreeItem parent, std::string_view text, intptr_t data)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, ToQt(text));
    item->setData(0, kDataRole, DataValue(data));
    if (parent == kTreeRoot)
        m_tree->addTopLevelItem(item);
    else
        TreeItemOf(parent)->addChild(item);
    return HandleOf(item);
}

void TreeAdapter::DeleteTreeItem(TreeItem item)
{
    if (item != kTreeRoot)
        delete TreeItemOf(item);
}

TreeItem TreeAdapter::TreeChild(TreeItem parent, int index) const
{
    if (index < 0 || index >= TreeChildCount(parent))
        return 0;
    return HandleOf(parent == kTreeRoot ? m_tree->topLevelItem(index) : TreeItemOf(parent)->child(index));
}

int TreeAdapter::TreeChildCount(TreeItem parent) const
{
    return parent == kTreeRoot ? m_tree->topLevelItemCount() : TreeItemOf(parent)->childCount();
}

TreeItem TreeAdapter::SelectedTreeItem() const
{
    return HandleOf(m_tree->currentItem());
}

void TreeAdapter::SelectTreeItem(TreeItem item)
{
    m_tree->setCurrentItem(item == kTreeRoot ? nullptr : TreeItemOf(item));
}

std::string TreeAdapter::TextOf(TreeItem item)
{
    return item == kTreeRoot ? std::string() : FromQt(TreeItemOf(item)->text(0));
}

intptr_t TreeAdapter::ItemDataOf(TreeItem item)
{
    return item == kTreeRoot ? 0 : DataOf(TreeItemOf(item)->data(0, kDataRole));
}

void TreeAdapter::SetStateOf(TreeItem item, int state)
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

int TreeAdapter::StateOf(TreeItem item)
{
    if (item == kTreeRoot)
        return 0;
    QVariant v = TreeItemOf(item)->data(0, Qt::CheckStateRole);
    if (!v.isValid())
        return 0;
    return v.toInt() == Qt::Checked ? 2 : 1;
}

TreeItem TreeAdapter::ParentOf(TreeItem item)
{
    return item == kTreeRoot ? 0 : HandleOf(TreeItemOf(item)->parent());
}

void TreeAdapter::Expand(TreeItem item, bool on)
{
    if (item != kTreeRoot)
        TreeItemOf(item)->setExpanded(on);
}

}  // namespace platform
