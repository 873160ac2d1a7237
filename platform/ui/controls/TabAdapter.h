#pragma once
// A tab strip (TabCtrl): tabs with item data; the window is asked before the
// user changes tab (and may refuse) and told after.
#include "platform/ui/controls/ControlAdapter.h"

namespace platform {

class TabCtrl;

class TabAdapter : public ControlAdapter {
public:
    static std::unique_ptr<ControlAdapter> Build(const ControlTemplate& t, ControlBuild& build);
    TabAdapter(TabCtrl* tabs, int id);
    void Wire(KitWindow& window, QObject* context) override;
    void Choose(int index) override;
    int Count() const override;
    int InsertItem(int index, std::string_view text, intptr_t data) override;
    void DeleteItem(int index) override;
    void ResetContent() override;
    std::string ItemText(int index, int column) const override;
    void SetItemText(int index, int column, std::string_view text) override;
    intptr_t ItemData(int index) const override;
    void SetItemData(int index, intptr_t data) override;
    int Selection() const override;
    void SetSelection(int index) override;

private:
    TabCtrl* m_tabs;
};

}  // namespace platform
