#pragma once
// The tree: items with item data and state images (none, clear, ticked),
// held by the screens as TreeItem handles.
#include "platform/ui/controls/ControlAdapter.h"

namespace platform {

class TreeCtrl;

class TreeAdapter : public ControlAdapter {
public:
    static std::unique_ptr<ControlAdapter> Build(const ControlTemplate& t, ControlBuild& build);
    TreeAdapter(TreeCtrl* tree, int id);
    void Wire(KitWindow& window, QObject* context) override;
    // The top-level items count as the entries.
    int Count() const override;
    void ResetContent() override;
    void EnsureVisible(int row) override;
    TreeItem InsertTreeItem(TreeItem parent, std::string_view text, intptr_t data) override;
    void DeleteTreeItem(TreeItem item) override;
    TreeItem TreeChild(TreeItem parent, int index) const override;
    int TreeChildCount(TreeItem parent) const override;
    TreeItem SelectedTreeItem() const override;
    void SelectTreeItem(TreeItem item) override;

    // What a handle tells by itself, whatever tree it came from.
    static std::string TextOf(TreeItem item);
    static intptr_t ItemDataOf(TreeItem item);
    static void SetStateOf(TreeItem item, int state);
    static int StateOf(TreeItem item);
    static TreeItem ParentOf(TreeItem item);
    static void Expand(TreeItem item, bool on);

private:
    TreeCtrl* m_tree;
};

}  // namespace platform
