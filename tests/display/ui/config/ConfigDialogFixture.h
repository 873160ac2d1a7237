#pragma once
// The settings dialog on the off-screen platform in a fresh working folder:
// the display's language file, a profile of its own, the scripted prompter
// and a help service that keeps what it was asked. Items written are read
// back with bvtool, the way another program sees them.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "QtApp.h"
#include "RunCommand.h"
#include "TempFolder.h"
#include "display/ui/DisplayText.h"
#include "display/ui/config/DlgConfig.h"
#include "platform/files/FileSystem.h"
#include "platform/files/ProfileStore.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Help.h"
#include "platform/ui/ScriptedPrompter.h"
#include "platform/ui/TabCtrl.h"

namespace bvtest {

struct HelpLog : platform::HelpService {
    std::vector<std::pair<uint32_t, int>> asked;
    void ShowHelp(uint32_t topic, int command) override { asked.emplace_back(topic, command); }
};

class ConfigDialogTest : public InTempFolder {
protected:
    ConfigDialogTest() : scoped(prompter)
    {
        QtApp();
        platform::CopyFile(std::string(BV_BINARY_DIR) + "/lang/BVView.bvt", "BVView.bvt");
        DisplayText::SetProfile(&profile);
        platform::SetHelpService(&help);
        Language("EN");
    }
    ~ConfigDialogTest() override
    {
        dlg.reset();
        platform::SetHelpService(nullptr);
        platform::SetTextTable(nullptr);
        DisplayText::SetProfile(nullptr);
    }
    static void Language(const std::string& code)
    {
        ASSERT_GE(DisplayText::Table().Load(DisplayText::kFile, code), 0);
        platform::SetTextTable(&DisplayText::Table());
    }
    // The dialog shown and active, as the user meets it.
    void Open(int page = 0, int currentProfile = 1)
    {
        dlg = std::make_unique<CDlgConfig>();
        dlg->initialPage = page;
        dlg->currentProfile = currentProfile;
        dlg->Create();
        dlg->resize(1180, 660);
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
        dlg->activateWindow();
        QApplication::processEvents();
    }
    platform::TabCtrl& Tabs() { return *dlg->Tabs(); }
    int Shown() { return Tabs().GetCurSel(); }

    // One item as bvtool reads it; "<none>" when the file has no such item.
    static std::string Cfg(const std::string& file, int section, int index, int key)
    {
        ToolRun run = RunTool("cfg get " + file + " " + std::to_string(section) + " " + std::to_string(index) + " " +
                              std::to_string(key));
        if (run.status != 0)
            return "<none>";
        if (!run.out.empty() && run.out.back() == '\n')
            run.out.pop_back();
        return run.out;
    }
    // Items and what bvtool must read for them; the calls run side by side.
    struct Item {
        std::string file;
        int section, index, key;
        std::string expected;
    };
    static void ExpectItems(const std::vector<Item>& items)
    {
        std::string script;
        for (size_t i = 0; i < items.size(); ++i) {
            const Item& it = items[i];
            const std::string out = "cfg." + std::to_string(i);
            script += "( '" BV_BINARY_DIR "/tools/bvtool/bvtool' cfg get " + it.file + " " +
                      std::to_string(it.section) + " " + std::to_string(it.index) + " " + std::to_string(it.key) +
                      " >" + out + " 2>/dev/null || echo '<none>' >" + out + " ) &\n";
        }
        RunCommand(script + "wait");
        for (size_t i = 0; i < items.size(); ++i) {
            std::string got = TempFolder::Read("cfg." + std::to_string(i));
            platform::RemoveFile("cfg." + std::to_string(i));
            if (!got.empty() && got.back() == '\n')
                got.pop_back();
            const Item& it = items[i];
            EXPECT_EQ(got, it.expected) << it.file << " (" << it.section << "," << it.index << "," << it.key << ")";
        }
    }
    static Item V(int section, int index, int key, std::string expected)
    {
        return {"BVVis.bvc", section, index, key, std::move(expected)};
    }
    static Item P(int section, int index, int key, std::string expected)
    {
        return {"Profil.bvc", section, index, key, std::move(expected)};
    }
    static Item B(int picture, int section, int index, int key, std::string expected)
    {
        return {"Pict" + std::to_string(picture) + ".bvc", section, index, key, std::move(expected)};
    }
    static std::string Vis(int section, int index, int key) { return Cfg("BVVis.bvc", section, index, key); }
    static std::string Prof(int section, int index, int key) { return Cfg("Profil.bvc", section, index, key); }
    static std::string Pict(int b, int section, int index, int key)
    {
        return Cfg("Pict" + std::to_string(b) + ".bvc", section, index, key);
    }

    // A click on a row of a list view, as the mouse gives it.
    static void ClickRow(platform::Control list, int row)
    {
        auto* view = qobject_cast<QTreeWidget*>(list.widget());
        ASSERT_NE(view, nullptr);
        ASSERT_LT(row, view->topLevelItemCount());
        view->scrollToItem(view->topLevelItem(row));
        QRect r = view->visualItemRect(view->topLevelItem(row));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    static void DoubleClickRow(platform::Control list, int row)
    {
        auto* view = qobject_cast<QTreeWidget*>(list.widget());
        ASSERT_NE(view, nullptr);
        view->scrollToItem(view->topLevelItem(row));
        QRect r = view->visualItemRect(view->topLevelItem(row));
        // Press and release, then the second press as a double click.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        QMouseEvent twice(QEvent::MouseButtonDblClick, r.center(), view->viewport()->mapToGlobal(r.center()),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &twice);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    // Types into an edit and leaves it for another control, so its focus
    // loss stores what was typed.
    static void TypeAndLeave(platform::Control edit, const std::string& text, platform::Control next)
    {
        edit.widget()->setFocus(Qt::MouseFocusReason);
        edit.setText("");
        QTest::keyClicks(edit.widget(), QString::fromStdString(text));
        next.widget()->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const platform::Question& q : prompter.Questions())
            texts.push_back(q.kind == platform::QuestionKind::Message ? q.text
                            : q.kind == platform::QuestionKind::Beep  ? "<beep>"
                                                                      : "<chooser>");
        return texts;
    }

    platform::MemoryProfileStore profile;
    platform::ScriptedPrompter prompter;
    platform::ScopedPrompter scoped;
    HelpLog help;
    std::unique_ptr<CDlgConfig> dlg;
};

}  // namespace bvtest
