// The table of control kinds: each kind builds the widget it stands for, and
// a control answers only for what its kind has; everything else, and a handle
// of no control at all, does nothing and answers empty.
#include "QtApp.h"

#include "platform/ui/ControlWidgets.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TabCtrl.h"
#include "platform/ui/controls/ControlKinds.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include <string>

namespace bvtest {
namespace {

using platform::Control;
using platform::ControlKind;
using K = platform::ControlKind;

constexpr int kId = 1200;

// What a kind is built as and which groups of calls it answers.
struct KindCase {
    ControlKind kind;
    const char* widget;  // Qt class it is, or inherits from
    bool text;           // text() gives back setText's text
    bool entries;        // insertItem adds an entry
    bool check;          // setCheck ticks it
    bool position;       // setPos moves it (within its range)
};

const KindCase kKinds[] = {
    {K::Static, "QLabel", true, false, false, false},
    {K::Edit, "QLineEdit", true, false, false, false},
    {K::ComboList, "QComboBox", false, true, false, false},
    {K::ComboEdit, "QComboBox", true, true, false, false},
    {K::ListBox, "QListWidget", false, true, false, false},
    {K::Check, "QCheckBox", true, false, true, false},
    {K::Radio, "QRadioButton", true, false, true, false},
    {K::Group, "QGroupBox", true, false, false, false},
    {K::Button, "QPushButton", true, false, false, false},
    {K::Spin, "platform::SpinCtrl", true, false, false, false},
    {K::Progress, "QProgressBar", true, false, false, true},
    {K::ListView, "platform::ListViewCtrl", true, true, false, false},
    {K::Tree, "platform::TreeCtrl", true, false, false, false},
    {K::Tab, "platform::TabCtrl", true, true, false, false},
    {K::Date, "QDateEdit", true, false, false, false},
    {K::Time, "QTimeEdit", true, false, false, false},
    {K::Custom, "QWidget", true, false, false, false},
};

bool Is(QWidget* w, const char* name)
{
    // Our own widgets carry no meta-object of their own: the type tells.
    std::string n = name;
    if (n == "platform::SpinCtrl")
        return dynamic_cast<platform::SpinCtrl*>(w) != nullptr;
    if (n == "platform::ListViewCtrl")
        return dynamic_cast<platform::ListViewCtrl*>(w) != nullptr;
    if (n == "platform::TreeCtrl")
        return dynamic_cast<platform::TreeCtrl*>(w) != nullptr;
    if (n == "platform::TabCtrl")
        return dynamic_cast<platform::TabCtrl*>(w) != nullptr;
    return w->inherits(name);
}

TEST(ControlKindsTest, EachKindBuildsItsWidgetAndAnswersOnlyForWhatItHas)
{
    QtApp();
    ASSERT_EQ(platform::ControlKinds().size(), std::size(kKinds));
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        const platform::ControlTemplate controls[] = {{.id = kId, .kind = c.kind, .max = 50}};
        platform::Dialog dlg(platform::DialogTemplate{.id = 1, .controls = controls});
        Control ctl = dlg.item(kId);
        ASSERT_TRUE(ctl);
        EXPECT_EQ(ctl.id(), kId);
        EXPECT_TRUE(Is(ctl.widget(), c.widget)) << ctl.widget()->metaObject()->className();

        ctl.setText("Lane 7");
        EXPECT_EQ(ctl.text() == "Lane 7", c.text);

        EXPECT_EQ(ctl.insertItem(0, "Senior", 42) == 0, c.entries);
        EXPECT_EQ(ctl.count(), c.entries ? 1 : 0);
        EXPECT_EQ(ctl.itemData(0), c.entries ? 42 : 0);
        EXPECT_EQ(ctl.itemText(0), c.entries ? "Senior" : "");

        ctl.setCheck(1);
        EXPECT_EQ(ctl.check(), c.check ? 1 : 0);

        ctl.setPos(30);
        EXPECT_EQ(ctl.pos(), c.position ? 30 : 0);
    }
}

TEST(ControlKindsTest, AHandleOfNoControlDoesNothingAndAnswersEmpty)
{
    QtApp();
    const platform::ControlTemplate controls[] = {{.id = kId, .kind = K::Edit}};
    platform::Dialog dlg(platform::DialogTemplate{.id = 1, .controls = controls});
    Control none = dlg.item(kId + 1);
    EXPECT_FALSE(none);
    EXPECT_EQ(none.widget(), nullptr);
    EXPECT_EQ(none.id(), 0);
    none.setText("x");
    none.show();
    none.click();
    none.choose(0);
    EXPECT_EQ(none.text(), "");
    EXPECT_FALSE(none.visible());
    EXPECT_FALSE(none.enabled());
    EXPECT_EQ(none.insertItem(0, "x"), -1);
    EXPECT_EQ(none.count(), 0);
    EXPECT_EQ(none.selection(), -1);
    EXPECT_EQ(none.insertTreeItem(platform::kTreeRoot, "x"), platform::kTreeRoot);
    EXPECT_EQ(none.time().year, 0);
}

TEST(ControlKindsTest, AScreensOwnWidgetInAControlsPlaceWorksByWhatItIs)
{
    QtApp();
    const platform::ControlTemplate controls[] = {{.id = kId, .kind = K::Custom},
                                                  {.id = kId + 1, .kind = K::Custom}};
    platform::Dialog dlg(platform::DialogTemplate{.id = 1, .controls = controls});
    // A tab strip of the screen's own is a tab strip ...
    dlg.SetCustomControl(kId, new platform::TabCtrl);
    Control tabs = dlg.item(kId);
    tabs.insertItem(0, "Card", 1);
    tabs.insertItem(1, "Series", 2);
    int changes = 0;
    dlg.OnSelChange(kId, [&] { ++changes; });
    tabs.choose(1);
    EXPECT_EQ(tabs.selection(), 1);
    EXPECT_EQ(changes, 1);
    // ... and any other widget, even one Qt has entries for, is custom: the
    // kit works on it only as a window.
    auto* combo = new QComboBox;
    dlg.SetCustomControl(kId + 1, combo);
    Control own = dlg.item(kId + 1);
    EXPECT_EQ(own.widget(), combo);
    EXPECT_EQ(own.insertItem(0, "Senior"), -1);
    EXPECT_EQ(combo->count(), 0);
}

// Spin arrows step their buddy within the range: a plain spin stops at either
// end, a wrapping one goes on from the other end. Each step is a text change
// of the buddy, as typing is.
TEST(ControlKindsTest, ASpinStopsAtTheEndsOrWrapsAround)
{
    QtApp();
    enum { kPlainEdit = kId, kPlain, kWrapEdit, kWrap };
    const platform::ControlTemplate controls[] = {
        {.id = kPlainEdit, .kind = K::Edit, .row = 0, .col = 0},
        {.id = kPlain, .kind = K::Spin, .row = 0, .col = 1, .buddy = kPlainEdit, .min = 1, .max = 9999},
        {.id = kWrapEdit, .kind = K::Edit, .row = 1, .col = 0},
        {.id = kWrap, .kind = K::Spin, .row = 1, .col = 1, .style = platform::CS_WRAP, .buddy = kWrapEdit,
         .min = 1, .max = 9999},
    };
    platform::Dialog dlg(platform::DialogTemplate{.id = 1, .controls = controls});
    struct Case {
        int spin;
        int start;
        int step;
        int after;
    };
    const Case cases[] = {
        {kPlain, 9999, 1, 9999}, {kPlain, 1, -1, 1},    {kPlain, 41, 1, 42},
        {kWrap, 9999, 1, 1},     {kWrap, 1, -1, 9999},  {kWrap, 41, -1, 40},
        {kWrap, 9998, 1, 9999},
    };
    int changes = 0;
    dlg.OnChange(kPlainEdit, [&] { ++changes; });
    dlg.OnChange(kWrapEdit, [&] { ++changes; });
    for (const Case& c : cases) {
        int edit = c.spin - 1;
        dlg.item(edit).setText(std::to_string(c.start));
        changes = 0;
        static_cast<platform::SpinCtrl*>(dlg.item(c.spin).widget())->Step(c.step);
        EXPECT_EQ(dlg.item(c.spin).pos(), c.after) << c.spin << " from " << c.start;
        EXPECT_EQ(changes, c.after == c.start ? 0 : 1) << c.spin << " from " << c.start;
    }
}

}  // namespace
}  // namespace bvtest
