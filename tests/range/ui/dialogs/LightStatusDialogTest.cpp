// The light and unit status dialogs with the range control's frame and
// simulated target units on a bus behind a pseudo-terminal: what the units
// hear when the dialogs open and are used, and how their answers fill the
// dialogs.
#include "RecordingHelp.h"
#include "tests/range/FrameFixture.h"

#include "foundation/grid/GridEditCore.h"
#include "foundation/ui/grid/GridList.h"
#include "line/LineMessage.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Help.h"
#include "range/ui/dialogs/DlgLC.h"
#include "range/ui/dialogs/DlgStatus.h"
#include "tools/bvsim/lib/Bus.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace light_status_dialog_test {

using bvsim::Bytes;
using bvtest::RangeFolderSetup;
using L = CDlgLC;
using St = CDlgStatus;

using bvtest::RecordingHelp;

class LightStatusDialogTest : public bvtest::RangeFrameTest {
protected:
    void SetUp() override
    {
        RangeFrameTest::SetUp();
        platform::SetHelpService(&help);
    }
    void TearDown() override
    {
        if (bus)
            bus->Stop();
        platform::SetHelpService(nullptr);
        RangeFrameTest::TearDown();
    }

    // Lanes 1 to 4 on COM1, each with a unit on the simulated bus.
    void StartRange()
    {
        bvtest::MakeRangeFolder({});
        ASSERT_EQ(pty.Open(), 0);
        auto master = std::make_unique<platform::SerialPort>();
        ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
        bus = std::make_unique<bvsim::Bus>(std::move(master));
        for (int lane = 1; lane <= 4; ++lane)
            ASSERT_TRUE(bus->AddUnit(lane));
        // What every unit hears as a message to all, as "bcast HEX" tells it.
        bus->SetListener([this](const bvsim::BusEvent& e) {
            if (e.kind == bvsim::BusEvent::Broadcast) {
                std::lock_guard<std::mutex> hold(m_heard);
                heard.push_back(e.bytes);
            }
        });
        ASSERT_EQ(bus->Start(), 0);
        platform::SetComDevice(1, pty.SlavePath());
        Start();
        ASSERT_TRUE(RunUntil([&] { return Frame().m_tick.startState == TickSchedule::StartState::Running; }, 5000));
        ASSERT_EQ(Frame().Objects().ports[0].state, PortState::Open);
        // The start-up's own commands are not the dialogs'.
        RunUntil([] { return false; }, 300);
        Take();
    }

    // The commands of one kind heard since the last look, as
    // "lane:value,value,value" for light commands.
    std::vector<Bytes> Take()
    {
        std::lock_guard<std::mutex> hold(m_heard);
        return std::exchange(heard, {});
    }
    std::vector<std::string> Lights(size_t n)
    {
        std::vector<std::string> lights;
        RunUntil(
            [&] {
                for (const Bytes& p : Take())
                    if (p.size() >= 12 && p[1] == 'M')
                        lights.push_back(std::to_string(p[2]) + ":" + std::to_string(p[9]) + "," +
                                         std::to_string(p[10]) + "," + std::to_string(p[11]));
                return lights.size() >= n;
            },
            10000);
        // Anything more would come soon after.
        RunUntil([] { return false; }, 100);
        for (const Bytes& p : Take())
            if (p.size() >= 2 && p[1] == 'M')
                lights.push_back("more");
        return lights;
    }
    // A unit's light message: intensity A at byte 14, B at 15.
    void SendLight(int lane, int a, int b)
    {
        Bytes p(15, 0);
        p[0] = 0x40;
        p[1] = 'N';
        p[2] = static_cast<uint8_t>(lane);
        p[12] = static_cast<uint8_t>(a);
        p[13] = static_cast<uint8_t>(b);
        ASSERT_TRUE(bus->QueueMessage(lane, p));
    }
    CDlgLC& Light() { return *Frame().Dialogs().LightDialog(); }
    CGridList& Grid() { return Light().Grid(); }
    std::string Cell(int row, int column) { return Grid().GetItemText(row, column); }
    void SelectRow(int row)
    {
        Grid().m_currentRow = static_cast<int16_t>(row);
        Grid().SelectRow(row, 1);
    }
    // Types a value into a cell as the officer does: a click to make the
    // cell current, another to edit it, the text and Enter. Enter opens the
    // next cell's editor; Escape leaves it unchanged.
    void TypeInto(int row, int column, const char* text)
    {
        QWidget* rows = Grid().viewport();
        QPoint at = Grid().CellRect(row, column).center();
        QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, at);
        QWidget* editor = Grid().EditorWindow();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        if (QWidget* next = Grid().EditorWindow())
            QTest::keyClick(next, Qt::Key_Escape);
        EXPECT_EQ(Grid().EditorWindow(), nullptr);
    }
    static void Activate(QWidget* w)
    {
        w->show();
        QApplication::setActiveWindow(w);
        w->activateWindow();
        QCoreApplication::processEvents();
    }

    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    std::vector<Bytes> heard;
    std::mutex m_heard;
    RecordingHelp help;
};

TEST_F(LightStatusDialogTest, LightDialogSendsThroughTheFrameAndFillsFromTheTargets)
{
    StartRange();
    Frame().Dialogs().OpenLightDialog();
    ASSERT_NE(Frame().Dialogs().LightDialog(), nullptr);
    EXPECT_TRUE(Light().IsOpen());
    // Every unit is asked for its values: they come back in its light message.
    EXPECT_EQ(Lights(4), (std::vector<std::string>{"1:255,255,255", "2:255,255,255", "3:255,255,255",
                                                   "4:255,255,255"}));
    ASSERT_EQ(Grid().GetItemCount(), 4);
    EXPECT_EQ(Cell(1, L::kColLane), "2");
    EXPECT_EQ(Cell(1, L::kColA), "");

    SendLight(2, 40, 60);
    SendLight(3, 10, 20);
    ASSERT_TRUE(RunUntil([&] { return Cell(1, L::kColA) == "40" && Cell(2, L::kColB) == "20"; }, 10000));
    EXPECT_EQ(Cell(1, L::kColB), "60");
    EXPECT_EQ(Cell(2, L::kColA), "10");
    EXPECT_EQ(Cell(0, L::kColA), "");

    // A typed value goes to its lane alone, and the cell waits for the target.
    Activate(&Light());
    TypeInto(1, L::kColB, "75");
    EXPECT_EQ(Lights(1), std::vector<std::string>{"2:255,255,75"});
    EXPECT_EQ(Cell(1, L::kColB), "");
    EXPECT_EQ(Cell(1, L::kColA), "40");
    TypeInto(2, L::kColA, "33");
    EXPECT_EQ(Lights(1), std::vector<std::string>{"3:255,33,255"});
    EXPECT_EQ(Cell(2, L::kColA), "");
    SendLight(3, 33, 20);
    ASSERT_TRUE(RunUntil([&] { return Cell(2, L::kColA) == "33"; }, 10000));

    // The lamp test of every lane: none 0, red 2, green 1.
    const std::pair<int, int> radios[] = {{L::IDC_TEST_NONE, 0}, {L::IDC_TEST_RED, 2}, {L::IDC_TEST_GREEN, 1}};
    for (auto [id, value] : radios) {
        Light().item(id).click();
        std::string v = std::to_string(value) + ",255,255";
        EXPECT_EQ(Lights(4), (std::vector<std::string>{"1:" + v, "2:" + v, "3:" + v, "4:" + v})) << id;
    }

    // Copy to all: the current lane's values, 255 for what it has not reported.
    SelectRow(2);
    Light().item(L::IDC_COPY_ALL).click();
    EXPECT_EQ(Lights(4), (std::vector<std::string>{"1:255,33,20", "2:255,33,20", "3:255,33,20", "4:255,33,20"}));
    SelectRow(1);  // lane 2, whose B was typed and not confirmed
    Light().item(L::IDC_COPY_ALL).click();
    EXPECT_EQ(Lights(4), (std::vector<std::string>{"1:255,40,255", "2:255,40,255", "3:255,40,255", "4:255,40,255"}));

    // Copy to next: to the next row's lane, which becomes the current row.
    SelectRow(0);
    Light().item(L::IDC_COPY_NEXT).click();
    EXPECT_EQ(Lights(1), std::vector<std::string>{"2:255,255,255"});
    EXPECT_EQ(Grid().GetSelectedItem(), 1);
    Light().item(L::IDC_COPY_NEXT).click();
    EXPECT_EQ(Lights(1), std::vector<std::string>{"3:255,40,255"});
    EXPECT_EQ(Grid().GetSelectedItem(), 2);
    // On the last row nothing is sent and nothing said.
    SelectRow(3);
    Light().item(L::IDC_COPY_NEXT).click();
    EXPECT_EQ(Lights(0), std::vector<std::string>{});
    EXPECT_TRUE(prompter.Questions().empty());

    // Without a current row the officer is asked to pick one.
    Grid().SelectRow(-1, 0);
    Light().item(L::IDC_COPY_ALL).click();
    Light().item(L::IDC_COPY_NEXT).click();
    ASSERT_EQ(prompter.Questions().size(), 2u);
    EXPECT_EQ(prompter.Questions()[0].text, "Select a lane first");
    EXPECT_EQ(prompter.Questions()[1].icon, platform::MessageIcon::Question);
    EXPECT_EQ(Lights(0), std::vector<std::string>{});
}

TEST_F(LightStatusDialogTest, StatusDialogShowsWhatTheUnitsReport)
{
    StartRange();
    Frame().Dialogs().OpenStatusDialog();
    ASSERT_NE(Frame().Dialogs().StatusDialog(), nullptr);
    CDlgStatus& status = *Frame().Dialogs().StatusDialog();
    platform::Control list = status.item(St::IDC_LIST);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.itemText(3, St::kColLane), "4");
    EXPECT_EQ(list.columnCount(), St::kColumns);
    // The query goes to every unit at once.
    auto queried = [&] {
        return RunUntil(
            [&] {
                for (const Bytes& p : Take())
                    if (p.size() >= 4 && p[1] == '?' && p[2] == '<' && p[3] == 255)
                        return true;
                return false;
            },
            10000);
    };
    ASSERT_TRUE(queried());

    ASSERT_TRUE(bus->QueueMessage(2, {0x40, 0x86, 2, 3, 7, 20, 19, 4, 12}));
    // Lane 2: counter bytes 0, 1, 0, 2; old hardware counts the counters.
    Bytes reply(25, 0);
    reply[0] = 0x40;
    reply[1] = 0x87;
    const uint8_t version[] = {4, 1, 20, 23, 11, 30};
    std::memcpy(&reply[3], version, sizeof version);
    auto statusOf = [&](int lane, std::initializer_list<uint8_t> counters, int hardware, int flags, int model) {
        Bytes r = reply;
        r[2] = static_cast<uint8_t>(lane);
        int at = 11;
        for (uint8_t b : counters)
            r[static_cast<size_t>(at++ - 2)] = b;
        r[20] = static_cast<uint8_t>(hardware);
        r[23] = static_cast<uint8_t>(flags);
        r[24] = static_cast<uint8_t>(model);
        return r;
    };
    ASSERT_TRUE(bus->QueueMessage(2, statusOf(2, {0, 1, 0, 2, 0, 0, 1, 0}, 20, 0x0B, 8)));
    ASSERT_TRUE(bus->QueueMessage(3, statusOf(3, {0, 0, 0, 9, 0, 0, 0, 4}, 40, 0x4B, 0)));
    ASSERT_TRUE(bus->QueueMessage(4, statusOf(4, {0, 0, 0, 1, 0, 0, 0, 1}, 31, 0x4B, 12)));
    ASSERT_TRUE(RunUntil([&] { return list.itemText(3, St::kColModel) == "?????" && !list.itemText(1, 2).empty(); },
                         10000));
    EXPECT_EQ(list.itemText(1, St::kColVersion), "3.07 2019.04.12");
    EXPECT_EQ(list.itemText(1, St::kColStatusVersion), "4.01 2023.11.30 HW=20");
    EXPECT_EQ(list.itemText(1, St::kColCounter1), "10002");
    EXPECT_EQ(list.itemText(1, St::kColCounter2), "256");
    EXPECT_EQ(list.itemText(1, St::kColCount4), std::to_string((10002 + 256) & 15));
    EXPECT_EQ(list.itemText(1, St::kColModel), "BV-T8");
    // From hardware 32 on the count is the flags'.
    EXPECT_EQ(list.itemText(2, St::kColStatusVersion), "4.01 2023.11.30 HW=40H");
    EXPECT_EQ(list.itemText(2, St::kColCount4), "11");
    EXPECT_EQ(list.itemText(2, St::kColModel), "?????");
    EXPECT_EQ(list.itemText(3, St::kColCount4), "2");
    EXPECT_EQ(list.itemText(0, St::kColVersion), "");
    EXPECT_EQ(status.item(St::IDC_TOTAL1).text(), std::to_string(10002 + 9 + 1));
    EXPECT_EQ(status.item(St::IDC_TOTAL2).text(), std::to_string(256 + 4 + 1));

    // Fetch starts again: rows made anew, totals empty until replies come.
    status.item(St::IDC_FETCH).click();
    EXPECT_EQ(status.item(St::IDC_TOTAL1).text(), "");
    EXPECT_EQ(status.item(St::IDC_TOTAL2).text(), "");
    EXPECT_EQ(list.itemText(1, St::kColCounter1), "");
    ASSERT_TRUE(queried());

    // A hundred lanes of counters pass 2^31 in the totals.
    for (int lane = 1; lane <= 100; ++lane)
        Lane(lane).channelType = 1;
    status.item(St::IDC_FETCH).click();
    ASSERT_EQ(list.count(), 100);
    LineMessage m;
    std::memset(&m, 0, sizeof m);
    m.data[0] = 26;
    m.data[3] = 0x87;
    for (int at = 11; at <= 18; ++at)
        m.data[at] = 255;
    for (int lane = 1; lane <= 100; ++lane) {
        m.data[4] = static_cast<uint8_t>(lane);
        status.SetStatus(m);
    }
    EXPECT_EQ(status.item(St::IDC_TOTAL1).text(), "65541553500");
    EXPECT_EQ(status.item(St::IDC_TOTAL2).text(), "65541553500");
    EXPECT_EQ(status.Total1(), int64_t{65541553500});
    // A reply for a lane without a row changes no row; too short a reply nothing.
    m.data[4] = 101;
    status.SetStatus(m);
    m.data[4] = 5;
    m.data[0] = 25;
    m.data[11] = 0;
    status.SetStatus(m);
    EXPECT_EQ(list.itemText(4, St::kColCounter1), "655415535");
    EXPECT_EQ(status.Total1(), int64_t{65541553500});
}

TEST_F(LightStatusDialogTest, OpeningAgainReplacesAndClosingTheProgramEndsBoth)
{
    StartRange();
    Frame().Dialogs().OpenLightDialog();
    Frame().Dialogs().OpenStatusDialog();
    QPointer<CDlgLC> light = Frame().Dialogs().LightDialog();
    QPointer<CDlgStatus> status = Frame().Dialogs().StatusDialog();
    // A light message reaches only an open dialog.
    Light().item(L::IDC_OK).click();
    EXPECT_FALSE(light->IsOpen());
    EXPECT_FALSE(light->isVisible());
    SendLight(1, 9, 9);
    RunUntil([] { return false; }, 1500);
    EXPECT_EQ(light->Grid().GetItemText(0, L::kColA), "");

    Frame().Dialogs().OpenLightDialog();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(light.isNull());
    ASSERT_NE(Frame().Dialogs().LightDialog(), nullptr);
    EXPECT_TRUE(Frame().Dialogs().LightDialog()->isVisible());
    light = Frame().Dialogs().LightDialog();

    // F1 and a control's help request reach the program's help.
    help.requests.clear();
    for (platform::Dialog* d : {static_cast<platform::Dialog*>(light.data()), static_cast<platform::Dialog*>(status.data())}) {
        Activate(d);
        d->setFocus();
        QTest::keyClick(d, Qt::Key_F1);
        QWidget* control = d->item(d == light ? L::IDC_COPY_ALL : St::IDC_FETCH).widget();
        control->setFocus();
        QTest::keyClick(control, Qt::Key_F1, Qt::ShiftModifier);
    }
    EXPECT_EQ(help.requests, (std::vector<std::pair<uint32_t, int>>{
                                 {147, 2}, {L::IDC_COPY_ALL, 3}, {142, 2}, {St::IDC_FETCH, 3}}));

    Frame().CloseFrame(true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(light.isNull());
    EXPECT_TRUE(status.isNull());
    EXPECT_EQ(Frame().Dialogs().LightDialog(), nullptr);
    EXPECT_EQ(Frame().Dialogs().StatusDialog(), nullptr);
}

TEST_F(LightStatusDialogTest, Screenshots)
{
    StartRange();
    Frame().Dialogs().OpenLightDialog();
    SendLight(1, 40, 60);
    SendLight(2, 45, 60);
    SendLight(4, 40, 55);
    ASSERT_TRUE(RunUntil(
        [&] { return Cell(0, L::kColA) == "40" && Cell(1, L::kColA) == "45" && Cell(3, L::kColA) == "40"; }, 10000));
    Light().item(L::IDC_TEST_NONE).setSelection(0);
    SelectRow(1);
    Activate(&Light());
    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    EXPECT_TRUE(Light().grab().toImage().save(BV_BINARY_DIR "/screens/light.png"));

    Frame().Dialogs().OpenStatusDialog();
    CDlgStatus& status = *Frame().Dialogs().StatusDialog();
    ASSERT_TRUE(bus->QueueMessage(1, {0x40, 0x86, 1, 3, 7, 20, 19, 4, 12}));
    ASSERT_TRUE(bus->QueueMessage(2, {0x40, 0x86, 2, 3, 7, 20, 19, 4, 12}));
    Bytes r(25, 0);
    r[0] = 0x40;
    r[1] = 0x87;
    const uint8_t fields[] = {3, 7, 20, 19, 4, 12, 0, 12, 13, 88, 0, 0, 41, 17};
    std::memcpy(&r[3], fields, sizeof fields);
    r[20] = 40;
    r[23] = 0x45;
    r[24] = 8;
    for (int lane : {1, 2}) {
        r[2] = static_cast<uint8_t>(lane);
        ASSERT_TRUE(bus->QueueMessage(lane, r));
    }
    platform::Control list = status.item(St::IDC_LIST);
    ASSERT_TRUE(RunUntil(
        [&] {
            for (int row : {0, 1})
                if (list.itemText(row, St::kColModel).empty() || list.itemText(row, St::kColVersion).empty())
                    return false;
            return true;
        },
        10000));
    Activate(&status);
    EXPECT_TRUE(status.grab().toImage().save(BV_BINARY_DIR "/screens/unit-status.png"));
}

}  // namespace
