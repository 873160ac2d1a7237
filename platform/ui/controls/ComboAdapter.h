#pragma once
// Drop-down lists and drop-down combos: entries with item data, sorted with
// CS_SORT; a combo also has a text of its own. Filling one selects nothing
// and tells nothing; only the user's choice (or choose()) tells the window.
#include "platform/ui/controls/ControlAdapter.h"

class QComboBox;

namespace platform {

class ComboAdapter : public ControlAdapter {
public:
    // ComboList or ComboEdit.
    static std::unique_ptr<ControlAdapter> Build(const ControlTemplate& t, ControlBuild& build);
    ComboAdapter(QComboBox* combo, int id, bool sorted);
    void Wire(KitWindow& window, QObject* context) override;
    void SetText(std::string_view text) override;
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

private:
    QComboBox* m_combo;
    bool m_sorted;
};

}  // namespace platform
