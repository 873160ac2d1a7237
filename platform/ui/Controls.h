#pragma once
// Control, the handle by which a screen works on one of its controls by id:
// item(1414).show(), item(1002).setText(...), item(2005).itemData(i). Each
// call goes to the adapter of the control's kind (platform/ui/controls/),
// which the kit chose when it built the control; a call the kind has no use
// for does nothing and answers empty.
#include "platform/system/Clock.h"
#include "platform/ui/ControlWidgets.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ControlAdapter;

// A tree item as the screens hold it: 0 is the root (or none).
using TreeItem = intptr_t;
constexpr TreeItem kTreeRoot = 0;

class Control {
public:
    Control() = default;
    explicit Control(ControlAdapter* adapter) : m_adapter(adapter) {}

    explicit operator bool() const { return m_adapter != nullptr; }
    int id() const;
    QWidget* widget() const;

    void show(bool on = true);
    void hide() { show(false); }
    bool visible() const;  // not hidden by the screen (whether or not its window is shown)
    void enable(bool on = true);
    bool enabled() const;
    void focus();

    // Text of a label, edit, button, group or combo box (Windows-1252).
    void setText(std::string_view text);
    std::string text() const;
    void setTextKey(std::string_view key);
    int number(bool* ok = nullptr) const;
    void setNumber(int value);
    void limitText(int chars);
    void setReadOnly(bool on);
    // Selects an edit's whole text, as a refused entry is shown.
    void selectAll();

    // Check box and radio button: 0 clear, 1 ticked.
    void setCheck(int state);
    int check() const;
    // Presses a button, check box or radio button as the user would.
    void click();
    // Chooses an entry of a combo box, list box, list view or tab strip as the
    // user would: the window is told (and a tab strip asked first).
    void choose(int index);

    // Entries of a combo box, list box, list view (rows) or tab strip.
    int count() const;
    int addItem(std::string_view text, intptr_t data = 0);
    int insertItem(int index, std::string_view text, intptr_t data = 0);
    void deleteItem(int index);
    void resetContent();
    std::string itemText(int index, int column = 0) const;
    void setItemText(int index, int column, std::string_view text);
    intptr_t itemData(int index) const;
    void setItemData(int index, intptr_t data);
    int findItemData(intptr_t data) const;  // -1 when none
    int findText(std::string_view text) const;  // exact; -1 when none
    // The current entry (the radio group's index for a radio button); -1 for none.
    int selection() const;
    void setSelection(int index);
    bool selected(int index) const;
    void setSelected(int index, bool on);
    std::vector<int> selectedIndexes() const;

    // List view.
    void insertColumn(int column, std::string_view header, int width, bool rightAligned = false);
    void setColumnHeader(int column, std::string_view header);
    int columnCount() const;
    void setItemCheck(int row, bool on);
    bool itemCheck(int row) const;
    // Orders the rows by their item data; compare answers <0, 0 or >0.
    void sortItems(const std::function<int(intptr_t, intptr_t)>& compare);
    void ensureVisible(int row);

    // Tree.
    TreeItem insertTreeItem(TreeItem parent, std::string_view text, intptr_t data = 0);
    void deleteTreeItem(TreeItem item);
    std::string treeItemText(TreeItem item) const;
    intptr_t treeItemData(TreeItem item) const;
    // State image: 0 none, 1 clear, 2 ticked.
    void setTreeItemState(TreeItem item, int state);
    int treeItemState(TreeItem item) const;
    TreeItem treeChild(TreeItem parent, int index) const;  // 0 when none
    int treeChildCount(TreeItem parent) const;
    TreeItem treeParent(TreeItem item) const;
    TreeItem selectedTreeItem() const;
    void selectTreeItem(TreeItem item);
    void expandTreeItem(TreeItem item, bool on = true);

    // Spin and progress bar.
    void setRange(int lower, int upper);
    int pos() const;
    void setPos(int pos);

    // Date and time pickers.
    void setTime(const LocalTime& time);
    LocalTime time() const;

private:
    ControlAdapter& a() const;
    ControlAdapter* m_adapter = nullptr;
};

}  // namespace platform
