#pragma once
// How the kit works on one kind of control. Every control gets the adapter of
// its kind once, when it is built (ControlKinds.h has the table), and Control
// forwards each call to it. This base is what every widget does and what a
// kind without the feature answers: no entries, no selection, no check, the
// window title as its text. A new control kind is one adapter and one row of
// the table.
#include "platform/system/Clock.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DialogTemplate.h"

#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QAbstractItemView;
class QButtonGroup;
class QGridLayout;
class QObject;
class QString;
class QWidget;

namespace platform {

class KitWindow;

// What building one control of a template needs besides the template.
struct ControlBuild {
    QWidget* parent = nullptr;  // the window or the group box the control lies in
    QWidget* window = nullptr;  // the window itself, owner of the radio groups
    QButtonGroup* radios = nullptr;  // the radio group being filled
    ControlKind previous = ControlKind::Static;  // the kind of the control before
};

class ControlAdapter {
public:
    ControlAdapter(QWidget* widget, int id) : m_widget(widget), m_id(id) {}
    virtual ~ControlAdapter() = default;
    ControlAdapter(const ControlAdapter&) = delete;
    ControlAdapter& operator=(const ControlAdapter&) = delete;

    QWidget* Widget() const { return m_widget; }
    int Id() const { return m_id; }

    // Connects the widget's signals to the window's notifications; context
    // holds the connections and filters the events of inner widgets.
    virtual void Wire(KitWindow& window, QObject* context) {}
    // After the whole template is built: finds the controls this one works
    // with (a spin its buddy).
    virtual void Bind(const KitWindow& window) {}
    // The grid that the controls inside this one are laid out in (a group box).
    virtual QGridLayout* ChildLayout() const { return nullptr; }

    virtual void SetText(std::string_view text);
    virtual std::string Text() const;
    virtual void LimitText(int chars);
    virtual void SetReadOnly(bool on) {}
    virtual void SelectAll() {}

    virtual void SetCheck(int state) {}
    virtual int Check() const { return 0; }
    virtual void Click() {}

    // Entries. The index of ItemText and the like is checked by Control.
    virtual void Choose(int index) { SetSelection(index); }
    virtual int Count() const { return 0; }
    // Where a new entry with this text goes: the end, or its sorted place.
    virtual int AddIndex(std::string_view text) const { return Count(); }
    virtual int InsertItem(int index, std::string_view text, intptr_t data) { return -1; }
    virtual void DeleteItem(int index) {}
    virtual void ResetContent() {}
    virtual std::string ItemText(int index, int column) const { return {}; }
    virtual void SetItemText(int index, int column, std::string_view text) {}
    virtual intptr_t ItemData(int index) const { return 0; }
    virtual void SetItemData(int index, intptr_t data) {}
    virtual int Selection() const { return -1; }
    virtual void SetSelection(int index) {}
    virtual bool Selected(int index) const { return Selection() == index; }
    virtual void SetSelected(int index, bool on);
    virtual void EnsureVisible(int row) {}

    virtual void InsertColumn(int column, std::string_view header, int width, bool rightAligned) {}
    virtual void SetColumnHeader(int column, std::string_view header) {}
    virtual int ColumnCount() const { return 0; }
    virtual void SetItemCheck(int row, bool on) {}
    virtual bool ItemCheck(int row) const { return false; }
    virtual void SortItems(const std::function<int(intptr_t, intptr_t)>& compare) {}

    virtual TreeItem InsertTreeItem(TreeItem parent, std::string_view text, intptr_t data) { return 0; }
    virtual void DeleteTreeItem(TreeItem item) {}
    virtual TreeItem TreeChild(TreeItem parent, int index) const { return 0; }
    virtual int TreeChildCount(TreeItem parent) const { return 0; }
    virtual TreeItem SelectedTreeItem() const { return 0; }
    virtual void SelectTreeItem(TreeItem item) {}

    virtual void SetRange(int lower, int upper) {}
    virtual int Pos() const { return 0; }
    virtual void SetPos(int pos) {}

    virtual void SetTime(const LocalTime& time) {}
    virtual LocalTime Time() const { return {}; }

    // The adapter of a handle that names no control.
    static ControlAdapter& None();

protected:
    // Item data rides in the user role of an entry.
    static constexpr int kDataRole = Qt::UserRole;
    static QVariant DataValue(intptr_t data) { return QVariant::fromValue<qlonglong>(data); }
    static intptr_t DataOf(const QVariant& v) { return static_cast<intptr_t>(v.toLongLong()); }
    // The place of text among count sorted entries, after those equal to it,
    // letter case aside.
    static int SortedPlace(std::string_view text, int count, const std::function<QString(int)>& textAt);
    // List boxes and list views take several rows with CS_MULTISEL, else one.
    static void SetSelectionMode(QAbstractItemView* view, uint32_t style);

private:
    QWidget* m_widget;
    int m_id;
};

}  // namespace platform
