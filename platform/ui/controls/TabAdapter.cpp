#include "platform/ui/controls/TabAdapter.h"

#include "platform/ui/KitWindow.h"
#include "platform/ui/TabCtrl.h"

namespace platform {

std::unique_ptr<ControlAdapter> TabAdapter::Build(const ControlTemplate& t, ControlBuild& build)
{
    return std::make_unique<TabAdapter>(new TabCtrl(build.parent), t.id);
}

TabAdapter::TabAdapter(TabCtrl* tabs, int id) : ControlAdapter(tabs, id), m_tabs(tabs) {}

void TabAdapter::Wire(KitWindow& window, QObject* context)
{
    m_tabs->onSelChanging = [w = &window, id = Id()] { return w->SendNotify(id, Notify::SelChanging); };
    m_tabs->onSelChange = [w = &window, id = Id()] { w->SendNotify(id, Notify::SelChange); };
}

void TabAdapter::Choose(int index)
{
    m_tabs->ChooseTab(index);
}

int TabAdapter::Count() const
{
    return m_tabs->GetItemCount();
}

int TabAdapter::InsertItem(int index, std::string_view text, intptr_t data)
{
    return m_tabs->InsertItem(index, text, data);
}

void TabAdapter::DeleteItem(int index)
{
    m_tabs->DeleteItem(index);
}

void TabAdapter::ResetContent()
{
    m_tabs->DeleteAllItems();
}

std::string TabAdapter::ItemText(int index, int column) const
{
    return m_tabs->GetItemText(index);
}

void TabAdapter::SetItemText(int index, int column, std::string_view text)
{
    m_tabs->SetItemText(index, text);
}

intptr_t TabAdapter::ItemData(int index) const
{
    return m_tabs->GetItemData(index);
}

void TabAdapter::SetItemData(int index, intptr_t data)
{
    m_tabs->SetItemData(index, data);
}

int TabAdapter::Selection() const
{
    return m_tabs->GetCurSel();
}

void TabAdapter::SetSelection(int index)
{
    m_tabs->SetCurSel(index);
}

}  // namespace platform
