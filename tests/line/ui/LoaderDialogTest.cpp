// The software loader's dialog driven by id on the offscreen platform, on a
// line of its own to bvsim loader units on a pseudo-terminal: packages
// listed and sent with the technician's answers, Stop and closing while a
// load runs, the service commands as bvsim hears them, the port list with
// the USB adapters, and the settings in Admin.ini. The dialog's timer is
// driven by hand, a little faster than its 100 ms.
#include "QtApp.h"
#include "RunCommand.h"
#include "SoftwarePackage.h"
#include "TempFolder.h"

#include "line/UnitModels.h"
#include "line/ui/BVSWLoad.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/system/Clock.h"
#include "platform/ui/ScriptedPrompter.h"
#include "tools/bvsim/lib/Bus.h"
#include "tools/bvsim/lib/Control.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace {

using bvtest::TempFolder;
using C = CBVSWLoad;

constexpr int kCom = 4;
constexpr unsigned kTickMs = 30;
const std::string kStandIn = std::string(BV_BINARY_DIR) + "/standin/libftd2xx.so";

void Adapters(const std::string& line)
{
    static auto command = [] {
        void* h = dlopen(kStandIn.c_str(), RTLD_NOW);
        return h ? reinterpret_cast<void (*)(const char*)>(dlsym(h, "BvFtd2xxCommand")) : nullptr;
    }();
    ASSERT_NE(command, nullptr);
    command(line.c_str());
}

class LoaderDialogTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        bvtest::QtApp();
        platform::SetPrompter(&prompter);
        setenv("BV_FTD2XX", kStandIn.c_str(), 1);
        Adapters("reset");
        std::filesystem::copy_file(BV_BINARY_DIR "/lang/BVRange.bvt", "BVRange.bvt");
        ASSERT_EQ(texts.Load("BVRange.bvt", "NO"), 0);
        ASSERT_GT(texts.GetCount(), 0);
    }
    void TearDown() override
    {
        dialog.reset();
        if (bus)
            bus->Stop();
        platform::SetComDevice(kCom, "");
        platform::SetPrompter(nullptr);
        unsetenv("BV_FTD2XX");
    }

    // Loader units on lanes of a bus in the addressing mode of their kind.
    void StartBus(int addressing, std::initializer_list<int> lanes)
    {
        ASSERT_EQ(pty.Open(), 0);
        auto master = std::make_unique<platform::SerialPort>();
        ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
        bvsim::BusOptions options;
        options.addressingMode = addressing;
        bus = std::make_unique<bvsim::Bus>(std::move(master), options);
        bus->SetListener([this](const bvsim::BusEvent& e) {
            std::lock_guard<std::mutex> hold(lock);
            busLog.push_back(bvsim::FormatEvent(e));
        });
        for (int lane : lanes) {
            ASSERT_TRUE(bus->AddUnit(lane));
            ASSERT_TRUE(bus->SetLoader(lane, true));
            ASSERT_TRUE(bus->SetTwin(lane, lane));
        }
        ASSERT_EQ(bus->Start(), 0);
        platform::SetComDevice(kCom, pty.SlavePath());
    }
    void Open()
    {
        dialog = std::make_unique<CBVSWLoad>();
        ASSERT_TRUE(dialog->Create());
        dialog->ShowWindow(true);
    }
    // Lanes, port and kind chosen as the technician does.
    void Choose(int first, int last, int port, int kindButton)
    {
        Item(C::IDC_FROM).setText(std::to_string(first));
        Item(C::IDC_TO).setText(std::to_string(last));
        Item(C::IDC_PORT).choose(port);
        Item(kindButton).click();
    }
    platform::Control Item(int id) { return dialog->item(id); }
    SoftwareLoader& Loader() { return dialog->Loader(); }
    std::string Text(const char* key) { return texts.GetText(key); }
    std::string Cell(int row, int column) { return Item(C::IDC_LIST).itemText(row, column); }

    void Tick()
    {
        dialog->OnTimer(C::kTimer);
        highestProgress = std::max(highestProgress, Item(C::IDC_PROGRESS).pos());
        platform::SleepMs(kTickMs);
    }
    bool TickUntil(const std::function<bool()>& done, int most = 3000)
    {
        for (int k = 0; k < most && !done(); ++k)
            Tick();
        return done();
    }
    bool AllTakePart(int first, int last)
    {
        return TickUntil([&] {
            for (int lane = first; lane <= last; ++lane)
                if (!Loader().TakesPart(lane))
                    return false;
            return true;
        });
    }
    bool Heard(const std::string& line)
    {
        return bus->WaitFor(
            [&] {
                std::lock_guard<std::mutex> hold(lock);
                return std::find(busLog.begin(), busLog.end(), line) != busLog.end();
            },
            10000);
    }
    std::vector<std::string> Entries(int id)
    {
        std::vector<std::string> all;
        for (int k = 0; k < Item(id).count(); ++k)
            all.push_back(Item(id).itemText(k));
        return all;
    }
    // What a unit holds compared with the image by srec_cmp.
    void ExpectUnitHolds(int lane, const std::string& image)
    {
        std::string records;
        bus->InspectLoader(lane, [&](const bvsim::LoaderUnit& u) { records = u.ImageRecords(); });
        TempFolder::Write("source.s28", image);
        TempFolder::Write("unit.s28", records);
        int same = -1;
        std::string said = bvtest::RunCommand("srec_cmp source.s28 -motorola unit.s28 -motorola 2>&1", &same);
        EXPECT_EQ(same, 0) << "lane " << lane << ": " << said;
    }
    std::string LastQuestion() { return prompter.Questions().empty() ? "" : prompter.Questions().back().text; }

    platform::ScriptedPrompter prompter;
    CLanguageTable texts;
    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    std::unique_ptr<CBVSWLoad> dialog;
    std::mutex lock;
    std::vector<std::string> busLog;
    int highestProgress = 0;
};

TEST_F(LoaderDialogTest, AZippedAndASelfExtractingPackageGoToEveryUnit)
{
    StartBus(1, {1, 2, 3});
    std::string newer = bvtest::VersionedImage(2, 8, 30, 4);
    std::string older = bvtest::VersionedImage(1, 5, 12, 2);
    ASSERT_TRUE(bvtest::MakeSoftwarePackage("DU-NO0208.ZIP", "Display.s28", newer, false));
    ASSERT_TRUE(bvtest::MakeSoftwarePackage("DU-NO0105.EXE", "Display.s28", older, true));
    ASSERT_TRUE(bvtest::MakeSoftwarePackage("DU-SE0208.ZIP", "Display.s28", newer, false));
    ASSERT_TRUE(bvtest::MakeSoftwarePackage("CU-NO0301.ZIP", "Lydskive.s28", newer, false));
    Open();
    EXPECT_EQ(dialog->Caption(), Text("C_BVSWLOAD_STRING_CAPTION"));
    EXPECT_EQ(Item(C::IDC_SEND).text(), Text("C_BVSWLOAD_STRING_BUTTON_SEND"));
    EXPECT_EQ(Item(C::IDC_GREEN).text(), "Gr\xF8nn (F7)");
    EXPECT_FALSE(Item(C::IDC_SEND).enabled());

    Choose(1, 3, kCom, C::IDC_KIND_DISPLAY);
    ASSERT_EQ(Loader().Kind(), SoftwareLoader::kDisplayUnits);
    ASSERT_EQ(Item(C::IDC_LIST).count(), 3);
    EXPECT_EQ(Cell(0, 0), "1");
    EXPECT_EQ(Cell(1, SoftwareLoader::kColComment), Text("C_BVSWLOAD_STRING_SEND_VERSION"));
    ASSERT_TRUE(AllTakePart(1, 3));
    Tick();
    EXPECT_EQ(Cell(2, SoftwareLoader::kColComment), "2.07 14.03.2011");
    // The display packages in the loader's language, the last one chosen.
    EXPECT_EQ(Item(C::IDC_LANGUAGE).itemText(Item(C::IDC_LANGUAGE).selection()), "NO");
    EXPECT_EQ(Entries(C::IDC_PACKAGE), (std::vector<std::string>{"DU-NO0105", "DU-NO0208"}));
    EXPECT_EQ(Item(C::IDC_PACKAGE).selection(), 1);

    // The newer package: one question, with its version, answered Yes.
    prompter.AnswerMessage(platform::IDYES);
    Item(C::IDC_SEND).click();
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(LastQuestion(), Text("C_BVSWLOAD_STRING_ASKSW") + "DU-NO0208 2.08 14/3-2011 ?\r\n");
    EXPECT_EQ(prompter.Questions()[0].icon, platform::MessageIcon::Question);
    ASSERT_TRUE(Loader().Loading());
    int blocks = Loader().Image()->TotalBlocks();
    int firstPass = Loader().Image()->FirstPassBlocks();
    EXPECT_EQ(Item(C::IDC_INFO).text(),
              std::to_string(firstPass) + "+" + std::to_string(blocks - firstPass) + "=" + std::to_string(blocks));
    EXPECT_FALSE(Item(C::IDC_PORT).enabled());
    EXPECT_FALSE(Item(C::IDC_SEND).enabled());
    EXPECT_TRUE(Item(C::IDC_STOP).enabled());

    // Closing is refused while it runs.
    Item(C::IDC_EXIT).click();
    EXPECT_EQ(LastQuestion(), Text("C_BVSWLOAD_STRING_MSG_ACTIVE"));
    EXPECT_TRUE(dialog->isVisible());

    bool screenshot = false;
    ASSERT_TRUE(TickUntil([&] {
        if (!screenshot && Loader().State() == 0x42 && Item(C::IDC_PROGRESS).pos() > 12) {
            std::filesystem::create_directories(BV_BINARY_DIR "/screens");
            EXPECT_TRUE(dialog->grab().toImage().save(BV_BINARY_DIR "/screens/software-loader.png"));
            screenshot = true;
        }
        return Loader().State() == 1;
    }));
    EXPECT_TRUE(screenshot);
    EXPECT_EQ(highestProgress, blocks);
    EXPECT_EQ(Item(C::IDC_PROGRESS).pos(), 0);
    EXPECT_EQ(Item(C::IDC_INFO).text(), "");
    for (int row = 0; row < 3; ++row) {
        std::string sent = Cell(row, SoftwareLoader::kColSent);
        // Finished, or cleared by the answer to a commit sent again.
        EXPECT_TRUE(sent == Text("C_BVSWLOAD_STRING_MSG_FINISH") || sent.empty()) << row << " " << sent;
    }
    EXPECT_TRUE(Item(C::IDC_SEND).enabled());
    for (int lane = 1; lane <= 3; ++lane)
        ExpectUnitHolds(lane, newer);

    // The older, self-extracting package asks whether it is to go at all.
    Item(C::IDC_PACKAGE).choose(0);
    prompter.Clear();
    prompter.AnswerMessage(platform::IDYES).AnswerMessage(platform::IDYES);
    Item(C::IDC_SEND).click();
    ASSERT_EQ(prompter.Questions().size(), 2u);
    EXPECT_EQ(prompter.Questions()[0].text, Text("C_BVSWLOAD_STRING_ASKSW") + "DU-NO0105 1.05 14/3-2011 ?\r\n");
    EXPECT_EQ(LastQuestion(), Text("C_BVSWLOAD_STRING_ASKOLD"));
    ASSERT_TRUE(TickUntil([&] { return Loader().State() == 1; }));
    for (int lane = 1; lane <= 3; ++lane)
        ExpectUnitHolds(lane, older);
    EXPECT_EQ(prompter.Unanswered(), 0);

    // Back to the newer one, which no unit has: a No ends it untouched.
    Item(C::IDC_PACKAGE).choose(1);
    prompter.Clear();
    prompter.AnswerMessage(platform::IDNO);
    Item(C::IDC_SEND).click();
    EXPECT_EQ(Loader().State(), 1);
    EXPECT_EQ(Loader().Image(), nullptr);
}

TEST_F(LoaderDialogTest, StopAsksWhileLoadingAndClosingWaitsForIt)
{
    StartBus(1, {1});
    ASSERT_TRUE(bvtest::MakeSoftwarePackage("DU-EN0208.ZIP", "Display.s28", bvtest::VersionedImage(2, 8, 4, 1), false));
    TempFolder::Write("DU-EN0209.ZIP", "damaged");
    Open();
    // Lanes without units: nobody answers the version request.
    Choose(11, 12, kCom, C::IDC_KIND_DISPLAY);
    Item(C::IDC_LANGUAGE).choose(4);  // EN
    EXPECT_EQ(Entries(C::IDC_PACKAGE), (std::vector<std::string>{"DU-EN0208", "DU-EN0209"}));
    Item(C::IDC_SEND).click();
    EXPECT_EQ(LastQuestion(), Text("RetVal"));
    Item(C::IDC_PACKAGE).choose(0);
    prompter.AnswerMessage(platform::IDYES).AnswerMessage(platform::IDYES);
    Item(C::IDC_SEND).click();
    EXPECT_EQ(LastQuestion(), Text("C_BVSWLOAD_STRING_NOUNIT"));
    ASSERT_EQ(Loader().State(), 0x41);
    EXPECT_TRUE(Loader().TakesPart(12));
    EXPECT_EQ(Cell(1, SoftwareLoader::kColSent), Text("C_BVSWLOAD_STRING_PREPARE1"));

    prompter.Clear();
    prompter.AnswerMessage(platform::IDNO);
    Item(C::IDC_STOP).click();
    EXPECT_EQ(LastQuestion(), Text("C_BVSWLOAD_STRING_ASKSTOP"));
    EXPECT_EQ(Loader().State(), 0x41);
    prompter.AnswerMessage(platform::IDYES);
    Item(C::IDC_STOP).click();
    EXPECT_EQ(Loader().State(), 1);
    EXPECT_EQ(Cell(0, SoftwareLoader::kColComment), Text("C_BVSWLOAD_STRING_SEND_STOP"));
    EXPECT_EQ(Item(C::IDC_PROGRESS).pos(), 0);

    // Idle again: Escape closes it, and the line with it.
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(Loader().LineOpen());
    EXPECT_EQ(prompter.Unanswered(), 0);
}

TEST_F(LoaderDialogTest, ServiceCommandsReachTheControllersAsBytes)
{
    StartBus(3, {7, 8});
    Open();
    Choose(7, 8, kCom, C::IDC_KIND_CONTROLLER);
    ASSERT_TRUE(AllTakePart(7, 8));
    EXPECT_EQ(Item(C::IDC_UNITID).text(), "7");

    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<std::string> heard;
    };
    const Case cases[] = {
        {"set id 7", [&] { Item(C::IDC_SETID).click(); }, {"bcast 40 32 07 80 22 02"}},
        {"set id 8",
         [&] {
             Item(C::IDC_UNITID).setText("8");
             QTest::keyClick(dialog.get(), Qt::Key_F4);
         },
         {"bcast 40 32 08 80 2C 02", "cmd 8 40 60 08 42 03 00"}},
        {"green", [&] { Item(C::IDC_GREEN).click(); },
         {"bcast 40 4D 07 02 82 00 00 00 15 01 64 FF", "bcast 40 4D 08 02 84 00 00 00 15 01 64 FF"}},
        {"red by its key", [&] { QTest::keyClick(dialog.get(), Qt::Key_F8); },
         {"bcast 40 4D 07 02 82 00 00 00 15 02 FF 64"}},
        {"sensor set-up, small-bore type 9",
         [&] {
             Item(C::IDC_UNITTYPE).choose(10);
             Item(C::IDC_SENSOR).click();
         },
         {"cmd 7 40 3C 07 85 01 00 05 05 00 00",
          "cmd 8 40 33 08 09 25 80 25 80 00 64 12 C0 12 C0 0D 00 00 02", "cmd 8 40 34 08"}},
        {"fall figures 1 and 3",
         [&] {
             Item(C::IDC_FIGURE1).click();
             Item(C::IDC_FIGURE1 + 2).click();
             Item(C::IDC_SETFALL).click();
         },
         {"bcast 40 47 00 80 E5 FF"}},
        {"band advance", [&] { Item(C::IDC_ADVANCE).click(); }, {"bcast 40 5D 00 01"}},
    };
    for (const Case& c : cases) {
        c.act();
        for (const std::string& line : c.heard)
            EXPECT_TRUE(Heard(line)) << c.name << ": " << line;
    }
    ASSERT_EQ(kUnitTypes[10].code, 9);
    EXPECT_EQ(Item(C::IDC_SMALLBORE).check(), 1);
    EXPECT_EQ(Item(C::IDC_FREQUENCY).text(), "5");
    EXPECT_EQ(Cell(0, SoftwareLoader::kColSent), "Fremtrekk");

    // Configuration and counters come back into the comments.
    Item(C::IDC_GETCOUNTERS).click();
    ASSERT_TRUE(TickUntil([&] { return Cell(1, SoftwareLoader::kColComment) == "S= 12345 E=   678"; }));
    Item(C::IDC_GETCONFIG).click();
    ASSERT_TRUE(TickUntil([&] { return Cell(0, SoftwareLoader::kColComment).rfind(HardwareModelName(8), 0) == 0; }));
    EXPECT_TRUE(prompter.Questions().empty());

    // Display units are no target controllers: nothing goes out.
    Item(C::IDC_KIND_DISPLAY).click();
    auto lampMessages = [&] {
        std::vector<bvsim::Bytes> all = bus->BroadcastsHeard();
        return std::count_if(all.begin(), all.end(), [](const bvsim::Bytes& b) { return b.size() > 1 && b[1] == 0x4D; });
    };
    auto before = lampMessages();
    Item(C::IDC_GREEN).click();
    EXPECT_EQ(LastQuestion(), "Ikke gravkontroller");
    EXPECT_EQ(prompter.Questions().back().icon, platform::MessageIcon::Exclamation);
    for (int k = 0; k < 5; ++k)
        Tick();
    EXPECT_EQ(lampMessages(), before);
}

TEST_F(LoaderDialogTest, PortsListTheAdaptersAndRefuseAShortUsbNr)
{
    Adapters("adapter BV100042");
    Adapters("adapter BV100007");
    Adapters("adapter XY100001");
    Open();
    std::vector<std::string> ports = Entries(C::IDC_PORT);
    ASSERT_EQ(ports.size(), 13u);
    EXPECT_EQ(ports[0], "");
    EXPECT_EQ(ports[4], "COM4");
    EXPECT_EQ(ports[10], "USB");
    EXPECT_EQ(ports[11], "BV100042");
    EXPECT_EQ(ports[12], "BV100007");
    EXPECT_EQ(Item(C::IDC_PORT).itemData(11), C::kAdapterData + 42);

    struct Case {
        const char* name;
        int port;
        const char* usbNr;
        const char* key;
    };
    const Case refusals[] = {
        {"no port", 0, "", "C_BVSWLOAD_STRING_NOPORT"},
        {"seven characters", 10, "BV10004", "C_BVSWLOAD_STRING_NOUSBNR"},
        {"number 0", 10, "BV100000", "C_BVSWLOAD_STRING_NOUSBNR"},
    };
    for (const Case& c : refusals) {
        Item(C::IDC_PORT).choose(c.port);
        Item(C::IDC_USBNR).setText(c.usbNr);
        Item(C::IDC_KIND_CONTROLLER).click();
        EXPECT_EQ(LastQuestion(), Text(c.key)) << c.name;
        EXPECT_EQ(Loader().Kind(), SoftwareLoader::kNone) << c.name;
        EXPECT_EQ(Item(C::IDC_KIND_NONE).selection(), 0) << c.name;
        EXPECT_FALSE(Loader().LineOpen()) << c.name;
    }
    // An adapter of the list stands for the USB port with its name.
    Item(C::IDC_PORT).choose(12);
    EXPECT_EQ(Item(C::IDC_USBNR).text(), "BV100007");
    EXPECT_EQ(dialog->PortChoice(), C::kUsbEntry);
    EXPECT_EQ(dialog->m_usbNr, "BV100007");

    // Without the USB driver the serial ports still work.
    dialog.reset();
    setenv("BV_FTD2XX", folder.File("none.so").c_str(), 1);
    prompter.Clear();
    Open();
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0].caption, "Obs!");
    EXPECT_EQ(Entries(C::IDC_PORT).size(), 11u);
    EXPECT_EQ(Item(C::IDC_LIST).columnCount(), 5);
    EXPECT_EQ(Item(C::IDC_UNITTYPE).count(), 15);
}

TEST_F(LoaderDialogTest, SettingsComeFromAdminIniAndGoBack)
{
    TempFolder::Write("Admin.ini", "[Admin]\r\nUsbNr=BV100001\r\nFirst=7\r\nLast=12\r\nCom=4\r\nSensor=9\r\n");
    // As the range control's administration runs it, with its own adapter.
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* loader = dynamic_cast<CBVSWLoad*>(QApplication::activeModalWidget());
        if (!loader)
            return;
        checked = true;
        EXPECT_EQ(loader->LanguageCode(), "EN");
        EXPECT_EQ(loader->Caption(), "Software loader");
        EXPECT_EQ(loader->item(C::IDC_PORT).selection(), 10);
        EXPECT_EQ(loader->item(C::IDC_USBNR).text(), "BV100033");
        EXPECT_EQ(loader->item(C::IDC_FROM).text(), "7");
        EXPECT_EQ(loader->item(C::IDC_TO).text(), "12");
        EXPECT_EQ(loader->item(C::IDC_UNITTYPE).selection(), 9);
        EXPECT_EQ(loader->GetText("0"), "");
        EXPECT_EQ(loader->GetText("C_BVSWLOAD_NO_SUCH_KEY"), "");
        loader->item(C::IDC_TO).setText("9");
        loader->item(C::IDC_UNITTYPE).choose(3);
        loader->item(C::IDC_EXIT).click();
    });
    EXPECT_EQ(CBVSWLoad::RunLoader(nullptr, "EN", {}, C::kUsbEntry, "BV100033"), platform::IDOK);
    EXPECT_TRUE(checked);
    EXPECT_EQ(TempFolder::Read("Admin.ini"), "[Admin]\r\nUsbNr=BV100033\r\nFirst=7\r\nLast=9\r\nCom=10\r\nSensor=3\r\n");
    EXPECT_NE(TempFolder::Read("BVLog.txt").find("String NO.C_BVSWLOAD_NO_SUCH_KEY not found"), std::string::npos);
}

}  // namespace
