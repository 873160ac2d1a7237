#pragma once
// A list box: entries with item data, sorted with CS_SORT, one or (with
// CS_MULTISEL) several selected. It tells its own selection changes.
#include "platform/ui/controls/ControlAdapter.h"

class QListWidget;

namespace platform {

class ListBoxAdapter : public ControlAdapter {
public:
    static std::unique_ptr<ControlAdapter> Build(const ControlTemplate& t, ControlBuild& build);
    ListBoxAdapter(QListWidget* list, int id, bool sorted);
    void Wire(KitWindow& window, QObject* context) override;
    std::string Text() const override;
    void Choose(int index) override;
    int Count() const override;
    int AddIndex(std::string_view text) const override;
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

private:
    QListWidget* m_list;
    bool m_sorted;
};

}  // namespace platform
