// The interface dialog on a range folder: what OK writes of the range
// configuration (read back with bvtool), the channel set-ups it refuses,
// the exchange folder, the USB adapter list against our stand-in of the
// driver library, the outside system's range type, help and the picture of
// the screen.
#include "tests/range/setup/SetupFixture.h"

#include "foundation/settings/RangeSettings.h"
#include "platform/system/Codepage.h"
#include "range/ui/setup/DlgInterface.h"

#include <QTest>

#include <cstdlib>
#include <dlfcn.h>

namespace interface_dialog_test {

using platform::IDCANCEL;
using platform::IDOK;
using D = CDlgInterface;

const std::string kStandIn = std::string(BV_BINARY_DIR) + "/standin/libftd2xx.so";

void StandIn(const std::string& line)
{
    static auto command = [] {
        void* h = dlopen(kStandIn.c_str(), RTLD_NOW);
        return h ? reinterpret_cast<void (*)(const char*)>(dlsym(h, "BvFtd2xxCommand")) : nullptr;
    }();
    ASSERT_NE(command, nullptr) << dlerror();
    command(line.c_str());
}

class DlgInterfaceTest : public bvtest::SetupTest {
protected:
    void SetUp() override
    {
        SetupTest::SetUp();
        setenv("BV_FTD2XX", kStandIn.c_str(), 1);
        StandIn("reset");
    }
    void TearDown() override
    {
        dlg.reset();
        StandIn("reset");
        unsetenv("BV_FTD2XX");
        SetupTest::TearDown();
    }

    // The dialog as the frame runs it, with the officer's doings.
    int Run(const std::function<void(D&)>& officer)
    {
        dlg = std::make_unique<D>(nullptr, *objects, D::FrameHooks{});
        QTimer::singleShot(0, dlg.get(), [this, officer] { officer(*dlg); });
        return dlg->DoModal();
    }
    static void Channel(D& d, int k, int device, int first, int last)
    {
        d.item(D::kDevice[k]).choose(device);
        d.item(D::kFirst[k]).setText(std::to_string(first));
        d.item(D::kLast[k]).setText(std::to_string(last));
    }
    static std::vector<std::string> Entries(D& d, int id)
    {
        std::vector<std::string> out;
        for (int i = 0; i < d.item(id).count(); ++i)
            out.push_back(d.item(id).itemText(i));
        return out;
    }

    std::unique_ptr<D> dlg;
};

TEST_F(DlgInterfaceTest, OKWritesTheRangeConfiguration)
{
    bvtest::TempFolder::Write("DADErevo.ini", "[RangeTypes]\r\n4=Rifle 300 m\r\n");
    const std::string folder = "C:\\Results\\" + std::string(240, 'f');  // 251 characters
    ASSERT_EQ(Run([&](D& d) {
                  EXPECT_EQ(d.Caption(), "Interface");
                  EXPECT_TRUE(d.item(D::IDC_SEARCH).visible());
                  d.item(D::IDC_USB_NAME).setText("BV100042");
                  d.item(D::IDC_USB_ADD).click();
                  Channel(d, 0, 3, 1, 10);
                  Channel(d, 1, 11, 11, 20);  // the adapter just added
                  Channel(d, 2, 10, 21, 100);
                  d.item(D::IDC_USER).setText("Brevandi skytterlag");
                  d.item(D::IDC_SPONSOR).setText("Sponsored by the local bakery and the sports shop ");
                  d.item(D::IDC_RANGE).setText(platform::Ansi("Ørneredet"));
                  d.item(D::IDC_PROGRAM).choose(0);
                  d.item(D::IDC_FOLDER).setText(folder);
                  d.item(D::IDC_EXTERNAL0 + 2).click();
                  d.item(D::IDC_MOTOR).setCheck(0);
                  d.item(D::IDC_SIMULATE).click();
                  d.item(D::IDC_OK).click();
              }),
              IDOK);
    EXPECT_TRUE(prompter.Questions().empty()) << testing::PrintToString(prompter.Log());
    const std::string f = "BVLeder.bvc";
    EXPECT_EQ(CfgBytes(f, 1, 1, 530), "3 1 10");
    EXPECT_EQ(CfgBytes(f, 1, 1, 531), "11 11 20");
    EXPECT_EQ(CfgBytes(f, 1, 1, 532), "10 21 100");
    EXPECT_EQ(CfgBytes(f, 1, 1, 533), "");
    const std::string stored = folder + "\\BV\\";
    std::vector<Item> items;
    std::vector<std::string> expected;
    for (int i = 0; i < 9; ++i) {
        size_t from = static_cast<size_t>(i) * 30;
        items.push_back({1, 1, 570 + i});
        expected.push_back(from < stored.size() ? stored.substr(from, 30) : "");
    }
    const std::pair<Item, const char*> rest[] = {
        {{1, 1, 621}, "Sponsored by the local bakery "}, {{1, 1, 622}, "and the sports shop "},
        {{1, 1, 500}, "Brevandi skytterlag"}, {{1, 1, 501}, "Ørneredet"},
        {{1, 1, 15}, "0"}, {{1, 1, 1}, "2"}, {{1, 1, 2}, "0"}, {{1, 1, 3}, "1"},
        {{1, 2, 530}, "0"}, {{1, 2, 531}, "42"}, {{1, 2, 532}, "0"}, {{1, 2, 533}, "0"},
        {{1, 1, 539}, "BV100042"}, {{1, 2, 539}, ""},
    };
    for (const auto& [item, value] : rest) {
        items.push_back(item);
        expected.push_back(value);
    }
    EXPECT_EQ(CfgItems(f, items), expected);

    // Opened again, the dialog shows what it wrote.
    Run([&](D& d) {
        EXPECT_EQ(d.item(D::kDevice[1]).selection(), 11);
        EXPECT_EQ(d.item(D::kDevice[1]).itemText(11), "USB: BV100042");
        EXPECT_EQ(d.item(D::kFirst[2]).text(), "21");
        EXPECT_EQ(d.item(D::kLast[2]).text(), "100");
        EXPECT_EQ(d.item(D::IDC_FOLDER).text(), stored);
        EXPECT_EQ(d.item(D::IDC_EXTERNAL0).selection(), 2);
        EXPECT_TRUE(d.item(D::IDC_RANGETYPE).visible());
        d.item(D::IDC_CANCEL).click();
    });
}

TEST_F(DlgInterfaceTest, ChannelSetUpsThatCannotRunAreRefused)
{
    struct Row {
        int device, first, last;
    };
    struct Case {
        const char* name;
        std::vector<Row> rows;
        const char* message;
    };
    const Case cases[] = {
        {"same COM", {{3, 1, 10}, {3, 11, 20}}, "The same port is used twice, channel 2"},
        {"first above last on channel 4", {{1, 1, 10}, {0, 1, 10}, {0, 1, 10}, {4, 40, 31}},
         "The first lane is above the last, channel 4"},
        {"overlap", {{1, 1, 10}, {2, 5, 20}}, "The lanes overlap another channel's, channel 2"},
        {"containment", {{1, 1, 20}, {2, 5, 8}}, "The lanes overlap another channel's, channel 2"},
        {"same adapter", {{11, 1, 10}, {11, 11, 20}}, "The same USB adapter is used twice, channel 2"},
        {"lane 101", {{1, 1, 101}}, "Enter a whole number from 1 to 100."},
    };
    CRangeSettings::WriteChannel(Range(), 0, {5, 1, 4});
    UsbAdapterList::Write(Range(), {"BV100042"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.Clear();
        prompter.AnswerMessage(IDOK);
        EXPECT_EQ(Run([&c](D& d) {
                      for (size_t k = 0; k < c.rows.size(); ++k)
                          Channel(d, static_cast<int>(k), c.rows[k].device, c.rows[k].first, c.rows[k].last);
                      d.item(D::IDC_OK).click();
                      EXPECT_TRUE(d.isVisible());
                      d.item(D::IDC_CANCEL).click();
                  }),
                  IDCANCEL);
        ASSERT_EQ(prompter.Questions().size(), 1u);
        EXPECT_EQ(prompter.Questions()[0].text, c.message);
        CBVConfig range;
        range.Open(".\\BVLeder.bvc", 0);
        EXPECT_EQ(ReadItem(range, RangeItems::Channel(0)), "\x05\x01\x04");
    }
    EXPECT_EQ(CfgBytes("BVLeder.bvc", 1, 1, 530), "5 1 4");
}

TEST_F(DlgInterfaceTest, TheExchangeFolderGetsItsBVFolderAndMayNotGrowTooLong)
{
    struct Case {
        const char* name;
        int program;
        std::string typed;
        std::string stored;  // empty: refused
    };
    const Case cases[] = {
        {"the system's own program", 0, "D:\\Res", "D:\\Res\\BV\\"},
        {"already there", 0, "D:\\Res\\BV\\", "D:\\Res\\BV\\"},
        {"another program", 3, "D:\\Res", "D:\\Res"},
        {"266 characters with BV", 0, std::string(266, 'x'), std::string(266, 'x') + "\\BV\\"},
        {"267 characters with BV", 0, std::string(267, 'x'), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.Clear();
        CRangeSettings::WriteExchangeFolder(Range(), "before");
        int result = Run([&c](D& d) {
            d.item(D::IDC_PROGRAM).choose(c.program);
            d.item(D::IDC_FOLDER).setText(c.typed);
            d.item(D::IDC_OK).click();
            if (d.isVisible())
                d.item(D::IDC_CANCEL).click();
        });
        Range().Refresh();
        if (c.stored.empty()) {
            EXPECT_EQ(result, IDCANCEL);
            ASSERT_EQ(prompter.Questions().size(), 1u);
            EXPECT_EQ(prompter.Questions()[0].text,
                      "The exchange folder is too long (270 characters at most with BV\\)");
            EXPECT_EQ(CRangeSettings::ReadExchangeFolder(Range()), "before");
        } else {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(CRangeSettings::ReadExchangeFolder(Range()), c.stored);
        }
    }
}

TEST_F(DlgInterfaceTest, ResultsProgramByItsValueStandardAndBrowse)
{
    WriteItem(Range(), RangeItems::kResultsProgram, 5);
    std::filesystem::create_directory("exchange");
    const std::string chosen = folder.File("exchange");
    prompter.AnswerFolder(chosen);
    ASSERT_EQ(Run([&chosen](D& d) {
                  platform::Control program = d.item(D::IDC_PROGRAM);
                  EXPECT_EQ(program.itemData(program.selection()), 5);
                  d.item(D::IDC_BROWSE).click();
                  EXPECT_EQ(d.item(D::IDC_FOLDER).text(), chosen);
                  d.item(D::IDC_STANDARD).click();
                  EXPECT_EQ(program.selection(), 0);
                  EXPECT_EQ(d.item(D::IDC_FOLDER).text(), ".\\BV\\");
                  // Nothing chosen keeps the stored program.
                  program.setSelection(-1);
                  d.item(D::IDC_OK).click();
              }),
              IDOK);
    EXPECT_EQ(Cfg("BVLeder.bvc", 1, 1, 15), "5");
    ASSERT_EQ(prompter.Questions().size(), 1u) << testing::PrintToString(prompter.Log());
    EXPECT_EQ(prompter.Questions()[0].text, "Choose the exchange folder");
    EXPECT_EQ(prompter.Questions()[0].folder.initialFolder, "");

    // A value the list does not have selects nothing, and stays as it is.
    WriteItem(Range(), RangeItems::kResultsProgram, 12);
    Run([](D& d) {
        EXPECT_EQ(d.item(D::IDC_PROGRAM).selection(), -1);
        d.item(D::IDC_OK).click();
    });
    EXPECT_EQ(Cfg("BVLeder.bvc", 1, 1, 15), "12");
}

TEST_F(DlgInterfaceTest, TheUsbAdapterList)
{
    UsbAdapterList::Write(Range(), {"BV100001"});
    CRangeSettings::WriteChannel(Range(), 0, {11, 1, 10});
    WriteItem(Range(), RangeItems::UsbAdapter(0), 1);
    StandIn("adapter BV100777");
    StandIn("adapter FT123456");  // another maker's device
    prompter.AnswerMessage(platform::IDOK).AnswerMessage(platform::IDOK).AnswerMessage(platform::IDOK);
    Run([](D& d) {
        EXPECT_EQ(d.item(D::kDevice[0]).selection(), 11);
        d.item(D::IDC_USB_NAME).setText("BV2");
        d.item(D::IDC_USB_ADD).click();  // refused
        d.item(D::IDC_USB_NAME).setText("BV100042");
        d.item(D::IDC_USB_ADD).click();
        d.item(D::IDC_USB_ADD).click();  // already there: nothing
        d.item(D::IDC_USB_REFRESH).click();
        EXPECT_EQ(Entries(d, D::IDC_USB_LIST), (std::vector<std::string>{"BV100001", "BV100042", "BV100777"}));
        EXPECT_EQ(d.item(D::kDevice[1]).count(), 14);
        EXPECT_EQ(d.item(D::kDevice[1]).itemText(13), "USB: BV100777");
        d.item(D::IDC_USB_LIST).setSelection(-1);
        d.item(D::IDC_USB_DELETE).click();  // nothing selected
        d.item(D::IDC_USB_LIST).choose(0);
        d.item(D::IDC_USB_DELETE).click();  // channel 1 uses it
        d.item(D::IDC_USB_LIST).choose(1);
        d.item(D::IDC_USB_DELETE).click();
        EXPECT_EQ(Entries(d, D::IDC_USB_LIST), (std::vector<std::string>{"BV100001", "BV100777"}));
        // Channel 1 kept its adapter through every change of the list.
        EXPECT_EQ(d.item(D::kDevice[0]).selection(), 11);
        d.item(D::IDC_CANCEL).click();
    });
    // The list is written as it changes, whatever OK or Cancel does.
    EXPECT_EQ(CfgItems("BVLeder.bvc", {{1, 1, 539}, {1, 2, 539}, {1, 3, 539}}),
              (std::vector<std::string>{"BV100001", "BV100777", ""}));
    EXPECT_EQ(prompter.Log(), (std::vector<std::string>{
                                  "Message Exclamation Ok default 0 [] A USB adapter name is BV1 and five digits -> 1",
                                  "Message Exclamation Ok default 0 [] Select an adapter in the list first -> 1",
                                  "Message Exclamation Ok default 0 [] The adapter is in use on a channel -> 1",
                              }));

    // Without the driver library the list stays and the officer is told.
    prompter.Clear();
    setenv("BV_FTD2XX", folder.File("none/libftd2xx.so").c_str(), 1);
    Run([](D& d) {
        d.item(D::IDC_USB_REFRESH).click();
        EXPECT_EQ(Entries(d, D::IDC_USB_LIST), (std::vector<std::string>{"BV100001", "BV100777"}));
        d.item(D::IDC_CANCEL).click();
    });
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0].caption, "Obs!");
    EXPECT_EQ(prompter.Questions()[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(platform::Cp1252ToUtf8(prompter.Questions()[0].text),
              "Det er ingen USB-Adaptere tilkoblet datamaskinen eller driverene er ikke installert.");
}

TEST_F(DlgInterfaceTest, TheOutsideSystemsRangeType)
{
    bvtest::TempFolder::Write("DADErevo.ini",
                              "[RangeTypes]\r\n0=Rifle 10 m\r\n2=\r\n4=Rifle 300 m\r\n7=Pistol 25 m\r\n");
    bvtest::TempFolder::Write("RCI.INI", "[BVLeder]\r\nRangeType=7\r\n");
    Run([](D& d) {
        EXPECT_FALSE(d.item(D::IDC_RANGETYPE).visible());
        d.item(D::kDevice[2]).choose(InterfaceForm::kOutsideDevice);
        platform::Control types = d.item(D::IDC_RANGETYPE);
        EXPECT_TRUE(types.visible());
        EXPECT_TRUE(d.item(D::IDC_RANGETYPE_LABEL).visible());
        EXPECT_EQ(Entries(d, D::IDC_RANGETYPE),
                  (std::vector<std::string>{"Rifle 10 m", "Rifle 300 m", "Pistol 25 m"}));
        EXPECT_EQ(types.itemText(types.selection()), "Pistol 25 m");
        types.choose(1);
        d.item(D::kDevice[2]).choose(0);
        EXPECT_FALSE(types.visible());
        EXPECT_EQ(types.count(), 0);
        // Written at once: Cancel keeps it.
        d.item(D::IDC_CANCEL).click();
    });
    EXPECT_EQ(bvtest::RunTool("ini get RCI.INI BVLeder RangeType").out, "4\n");
}

TEST_F(DlgInterfaceTest, UndoShowsTheStoredValuesAgain)
{
    WriteItem(Range(), RangeItems::kUserName, "Stored");
    Run([](D& d) {
        d.item(D::IDC_USER).setText("Typed");
        d.item(D::kFirst[0]).setText("7");
        d.item(D::IDC_UNDO).click();
        EXPECT_EQ(d.item(D::IDC_USER).text(), "Stored");
        EXPECT_EQ(d.item(D::kFirst[0]).text(), "1");
        d.item(D::IDC_CANCEL).click();
    });
}

TEST_F(DlgInterfaceTest, F1AsksForTheDialogsTopicAndShowsTheScreen)
{
    bvtest::HelpInUse help;
    WriteItem(Range(), RangeItems::kUserName, "Brevandi skytterlag");
    WriteItem(Range(), RangeItems::kRangeName, "Hall A");
    CRangeSettings::WriteChannel(Range(), 0, {3, 1, 10});
    CRangeSettings::WriteChannel(Range(), 1, {4, 11, 20});
    CRangeSettings::WriteExchangeFolder(Range(), "C:\\BVRes\\BV\\");
    UsbAdapterList::Write(Range(), {"BV100042", "BV100043"});
    Run([](D& d) {
        QTest::keyClick(&d, Qt::Key_F1);
        SaveScreen(d, "interface.png");
        d.item(D::IDC_CANCEL).click();
    });
    EXPECT_EQ(help.requests, (std::vector<std::pair<uint32_t, int>>{{131, 2}}));
}

}  // namespace
