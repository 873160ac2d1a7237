#pragma once
// The widgets behind the control kinds that Qt has no exact match for, and
// Control, the handle by which a screen works on one of its controls by id:
// item(1414).show(), item(1002).setText(...), item(2005).itemData(i).
#include "platform/system/Clock.h"

#include <QTreeWidget>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QButtonGroup;
class QLineEdit;
class QToolButton;

namespace platform {

// Up-down arrows bound to a buddy edit: each step writes the new number into
// the buddy, so the screen sees an ordinary text change of that edit.
class SpinCtrl : public QWidget {
public:
    explicit SpinCtrl(QWidget* parent = nullptr);
    void SetBuddy(QLineEdit* buddy) { m_buddy = buddy; }
    QLineEdit* Buddy() const { return m_buddy; }
    void SetRange(int lower, int upper);
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }
    int Pos() const;
    void SetPos(int pos);
    void Step(int delta);

private:
    QLineEdit* m_buddy = nullptr;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_lower = 0;
    int m_upper = 100;
};

// The report list: rows of cells under column headers.
class ListViewCtrl : public QTreeWidget {
public:
    explicit ListViewCtrl(QWidget* parent = nullptr);
    bool checkBoxes = false;
};

class TreeCtrl : public QTreeWidget {
public:
    explicit TreeCtrl(QWidget* parent = nullptr);
};

// A tree item as the screens hold it: 0 is the root (or none).
using TreeItem = intptr_t;
constexpr TreeItem kTreeRoot = 0;

class Control {
public:
    Control() = default;
    Control(QWidget* widget, int id, QButtonGroup* radios = nullptr)
        : m_widget(widget), m_id(id), m_radios(radios) {}

    explicit operator bool() const { return m_widget != nullptr; }
    int id() const { return m_id; }
    QWidget* widget() const { return m_widget; }

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
    QWidget* m_widget = nullptr;
    int m_id = 0;
    QButtonGroup* m_radios = nullptr;
};

}  // namespace platform
