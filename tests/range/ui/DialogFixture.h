#pragma once
// The range control's dialogs on their own, on the offscreen platform: the
// program's English texts as the build made them, a scripted prompter, a
// help service that records what it is asked, and a working folder of the
// test's own (which must stay empty: these dialogs write no files).
#include "RecordingHelp.h"
#include "QtApp.h"
#include "TempFolder.h"

#include "foundation/settings/LanguageTable.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Help.h"
#include "platform/ui/ScriptedPrompter.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

namespace bvtest {

class RangeDialogTest : public InTempFolder {
protected:
    // Windows of a test's fixture may be made before SetUp.
    RangeDialogTest() { QtApp(); }
    void SetUp() override
    {
        ASSERT_GT(texts.Load(std::string(BV_BINARY_DIR) + "/lang/BVRange.bvt", "EN"), 0);
        platform::SetTextTable(&texts);
        platform::SetPrompter(&prompter);
        platform::SetHelpService(&help);
    }
    void TearDown() override
    {
        platform::SetHelpService(nullptr);
        platform::SetPrompter(nullptr);
        platform::SetTextTable(nullptr);
    }

    // Shows a window as the one that has the keyboard, so keys go where
    // they go for the user.
    static void Activate(QWidget* w)
    {
        w->show();
        QApplication::setActiveWindow(w);
        w->activateWindow();
        QCoreApplication::processEvents();
    }
    // Replaces an edit's text by typing, as the user does.
    static void Retype(QWidget* edit, const std::string& text)
    {
        auto* line = static_cast<QLineEdit*>(edit);
        line->setFocus();
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Delete);
        QTest::keyClicks(line, QString::fromLatin1(text.c_str()));
    }
    // F1 on the window, Shift+F1 on one of its controls.
    static void PressHelp(QWidget* window, QWidget* control)
    {
        Activate(window);
        window->setFocus();
        QTest::keyClick(window, Qt::Key_F1);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_F1, Qt::ShiftModifier);
    }
    // The screen as docs/screens shows it; the build keeps it in <build>/screens.
    static void SaveScreen(QWidget& w, const std::string& name)
    {
        Activate(&w);
        std::filesystem::create_directories(BV_BINARY_DIR "/screens");
        EXPECT_TRUE(w.grab().toImage().save(QString::fromStdString(std::string(BV_BINARY_DIR "/screens/") + name)));
    }
    bool FolderEmpty() const { return std::filesystem::is_empty(folder.Path()); }

    CLanguageTable texts;
    platform::ScriptedPrompter prompter;
    RecordingHelp help;
};

}  // namespace bvtest
