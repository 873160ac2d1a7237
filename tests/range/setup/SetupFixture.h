#pragma once
// The range control's set-up screens in a range folder of the test's own:
// the program's objects with the English texts, the range configuration
// open, a scripted prompter and a profile in memory. Files are read back
// with bvtool, as someone looking at the range folder would.
#include "tests/support/EventLoop.h"
#include "QtApp.h"
#include "RunCommand.h"
#include "TempFolder.h"
#include "tests/range/RangeFolder.h"

#include "platform/files/ProfileStore.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Help.h"
#include "platform/ui/ScriptedPrompter.h"
#include "range/base/RangeObjects.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace bvtest {

class SetupTest : public InTempFolder {
protected:
    void SetUp() override
    {
        QtApp();
        platform::SetPrompter(&prompter);
        platform::SetProfile(&profile);
        CopyLanguageFile();
        objects = std::make_unique<RangeObjects>();
        ASSERT_GT(objects->language.Load("BVRange.bvt", "EN"), 0);
        platform::SetTextTable(&objects->language);
        objects->settings.OpenConfig();
        ASSERT_TRUE(objects->settings.Config().IsOpen());
    }
    void TearDown() override
    {
        objects.reset();
        platform::SetTextTable(nullptr);
        platform::SetProfile(nullptr);
        platform::SetPrompter(nullptr);
    }

    CBVConfig& Range() { return objects->settings.Config(); }

    // Where an item is not in the file at all.
    static constexpr const char* kNoItem = "(no item)";

    struct Item {
        int section, index, key;
    };
    // Items as bvtool shows them (each its line without the line end), one
    // bvtool per item, all at once.
    static std::vector<std::string> CfgItems(const std::string& file, const std::vector<Item>& items)
    {
        const std::string tool = std::string("'") + BV_BINARY_DIR + "/tools/bvtool/bvtool'";
        std::filesystem::create_directory("cfg-out");
        std::string script;
        for (size_t i = 0; i < items.size(); ++i) {
            std::string n = "cfg-out/" + std::to_string(i);
            script += "(" + tool + " cfg get " + file + " " + std::to_string(items[i].section) + " " +
                      std::to_string(items[i].index) + " " + std::to_string(items[i].key) + " > " + n +
                      ".out 2> " + n + ".err; echo $? > " + n + ".rc) & ";
        }
        RunCommand(script + "wait");
        std::vector<std::string> values;
        for (size_t i = 0; i < items.size(); ++i) {
            std::string n = "cfg-out/" + std::to_string(i);
            std::string out = TempFolder::Read(n + ".out");
            std::string rc = TempFolder::Read(n + ".rc");
            std::string err = TempFolder::Read(n + ".err");
            if (rc != "0\n") {
                // bvtool's one line for an item that is not there.
                EXPECT_NE(err.find("no item"), std::string::npos) << err;
                values.push_back(kNoItem);
                continue;
            }
            if (!out.empty() && out.back() == '\n')
                out.pop_back();
            values.push_back(out);
        }
        std::filesystem::remove_all("cfg-out");
        return values;
    }
    static std::string Cfg(const std::string& file, int section, int index, int key)
    {
        return CfgItems(file, {{section, index, key}})[0];
    }
    // The item's bytes in decimal, as od shows them (without bvtool's line end).
    static std::string CfgBytes(const std::string& file, int section, int index, int key)
    {
        std::string out = RunCommand(std::string("'") + BV_BINARY_DIR + "/tools/bvtool/bvtool' cfg get " + file +
                                     " " + std::to_string(section) + " " + std::to_string(index) + " " +
                                     std::to_string(key) + " | head -c -1 | od -An -tu1");
        // od pads its columns; one blank between the numbers is enough.
        std::string squeezed;
        for (char c : out)
            if (!(c == ' ' && (squeezed.empty() || squeezed.back() == ' ')) && c != '\n')
                squeezed += c;
        while (!squeezed.empty() && squeezed.back() == ' ')
            squeezed.pop_back();
        return squeezed;
    }

    // Lets the event loop run until the test holds.
    static bool RunUntil(const std::function<bool()>& test, int ms = 30000)
    {
        return bvtest::RunEventsUntil(test, ms);
    }

    // A picture of a screen for docs/screens, made as it shows now.
    static void SaveScreen(QWidget& window, const std::string& name)
    {
        window.show();
        QCoreApplication::processEvents();
        QImage shot = window.grab().toImage();
        ASSERT_FALSE(shot.isNull());
        std::filesystem::create_directories(BV_BINARY_DIR "/screens");
        EXPECT_TRUE(shot.save(QString::fromStdString(std::string(BV_BINARY_DIR "/screens/") + name)));
    }

    platform::ScriptedPrompter prompter;
    platform::MemoryProfileStore profile;
    std::unique_ptr<RangeObjects> objects;
};

// The help requests that reach the program's help, from the service in use
// while it lives.
class HelpInUse : public platform::HelpService {
public:
    HelpInUse() { platform::SetHelpService(this); }
    ~HelpInUse() override { platform::SetHelpService(nullptr); }
    void ShowHelp(uint32_t topic, int command) override { requests.emplace_back(topic, command); }
    std::vector<std::pair<uint32_t, int>> requests;
};

}  // namespace bvtest
