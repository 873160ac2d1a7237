#pragma once
// The report list: rows of cells under column headers, item data per row,
// check boxes with CS_CHECKBOXES, several selected rows with CS_MULTISEL,
// sorting by item data.
#include "platform/ui/controls/ControlAdapter.h"

namespace platform {

class ListViewCtrl;

class ListViewAdapter : public ControlAdapter {
public:
    static std::unique_ptr<ControlAdapter> Build(const ControlTemplate& t, ControlBuild& build);
    ListViewAdapter(ListViewCtrl* list, int id);
    void Wire(KitWindow& window, QObject* context) override;
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
    bool Selected(int index) const override;
    void SetSelected(int index, bool on) override;
    void EnsureVisible(int row) override;
    void InsertColumn(int column, std::string_view header, int width, bool rightAligned) override;
    void SetColumnHeader(int column, std::string_view header) override;
    int ColumnCount() const override;
    void SetItemCheck(int row, bool on) override;
    bool ItemCheck(int row) const override;
    void SortItems(const std::function<int(intptr_t, intptr_t)>& compare) override;

private:
    ListViewCtrl* m_list;
};

}  // namespace platform
