// The line monitor on a simulated bus: frames as the list and the log file
// show them, the list size, polls left out, the copies switched with the
// channel and the view, and the counters cleared for the lanes' line status.
#include "QtApp.h"
#include "TempFolder.h"

#include "foundation/settings/LanguageTable.h"
#include "foundation/settings/RangeSettings.h"
#include "line/BVSerCom.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/system/Clock.h"
#include "platform/system/TextTable.h"
#include "platform/ui/ScriptedPrompter.h"
#include "range/base/RangeObjects.h"
#include "range/run/RangeControl.h"
#include "range/run/TickSchedule.h"
#include "range/ui/DlgLineSpy.h"
#include "tools/bvsim/lib/Bus.h"

#include "tests/range/RecordingServices.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

LineMessage Copy(bool sent, int slot, std::initializer_list<uint8_t> bytes)
{
    LineMessage m;
    std::memset(&m, 0, sizeof m);
    int i = 1;
    for (uint8_t b : bytes)
        m.data[i++] = b;
    // A sent copy is the raw frame (position 0 its last byte); a received
    // one is decoded (position 0 the last payload byte, checksum and CR after).
    m.data[0] = static_cast<uint8_t>(sent ? i - 1 : i - 3);
    m.copyDirection = sent ? 1 : 0;
    m.slot = static_cast<uint8_t>(slot);
    return m;
}

class LineSpyTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        bvtest::QtApp();
        // The outside system's channel cannot open here and says so.
        platform::SetPrompter(&prompter);
        ASSERT_EQ(pty.Open(), 0);
        auto master = std::make_unique<platform::SerialPort>();
        ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
        bus = std::make_unique<bvsim::Bus>(std::move(master));
        ASSERT_EQ(bus->Start(), 0);
        for (int lane : {4, 5, 6})
            ASSERT_TRUE(bus->AddUnit(lane));
        platform::SetComDevice(1, pty.SlavePath());

        objects = std::make_unique<RangeObjects>();
        objects->settings.OpenConfig();
        ASSERT_EQ(CRangeSettings::WriteChannel(objects->settings.Config(), 0, {1, 4, 6}), 0);
        ASSERT_EQ(CRangeSettings::WriteChannel(objects->settings.Config(), 1, {10, 7, 8}), 0);
        services = std::make_unique<bvtest::RecordingServices>(objects->language, notes);
        range = std::make_unique<RangeControl>(*objects, *services, tick);
        range->channels.OpenPorts();
        ASSERT_NE(Line(), nullptr);
        spy = std::make_unique<CDlgLineSpy>(nullptr, *objects);
        ASSERT_TRUE(spy->Create());
        spy->ShowWindow(true);
    }
    void TearDown() override
    {
        spy.reset();
        range.reset();
        if (bus)
            bus->Stop();
        platform::SetComDevice(1, "");
        platform::SetPrompter(nullptr);
    }
    CBVSerCom* Line() { return objects->ports[0].line.get(); }
    platform::Control List() { return spy->item(CDlgLineSpy::IDC_LIST); }
    // Two ticks: the monitor works on every second one at the high rate.
    void Ticks()
    {
        spy->ShowFrames();
        spy->ShowFrames();
    }
    static std::string LogFile() { return bvtest::TempFolder::Read(CDlgLineSpy::kLogName); }

    platform::ScriptedPrompter prompter;
    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    std::unique_ptr<RangeObjects> objects;
    bvtest::CallLog notes;
    TickSchedule tick;
    std::unique_ptr<bvtest::RecordingServices> services;
    std::unique_ptr<RangeControl> range;
    std::unique_ptr<CDlgLineSpy> spy;
};

}  // namespace

TEST(LineSpyFormat, FramesAsTheMonitorShowsThem)
{
    struct Case {
        LineMessage m;
        const char* direction;
        const char* frame;
    };
    const Case cases[] = {
        // The escape stands for the byte after it, less its 0x10 bit.
        {Copy(true, 5, {0x85, 0x0F, 0x13, 0x0D}), ">", "     M05 03 0D "},
        {Copy(false, 5, {0xC5, 0x40, 0x21, 0x05, 0x66, 0x0D}), "<", "     S05 40 21 05 66 0D "},
        // Received frames keep their 0x0F bytes; slot 60 is not indented.
        {Copy(false, 60, {0xC0, 0x0F, 0x13, 0x22, 0x0D}), "<", "S00 0F 13 22 0D "},
        {Copy(true, 0, {0x12, 0x40, 0x0D}), ">", "  12 40 0D "},
    };
    for (const Case& c : cases) {
        CDlgLineSpy::Row row = CDlgLineSpy::FormatFrame(c.m, 7);
        EXPECT_EQ(row.direction, c.direction);
        EXPECT_EQ(row.time, "    7");
        EXPECT_EQ(row.frame, c.frame);
    }
}

TEST_F(LineSpyTest, FramesGoToTheListAndTheLogWithoutPolls)
{
    // The channels by their port settings; the outside system by its key.
    EXPECT_EQ(spy->item(CDlgLineSpy::IDC_CHANNEL0).text(), "COM1");
    EXPECT_EQ(spy->item(CDlgLineSpy::IDC_CHANNEL0 + 1).text(), "IDS_SPY_SIUS");
    EXPECT_EQ(spy->item(CDlgLineSpy::IDC_CHANNEL0 + 2).text(), "IDS_SPY_NONE");
    ASSERT_TRUE(spy->LogOpen());
    // The real line's own traffic (polls and answers) comes through its
    // copies too; take it first, then only the frames of the test.
    Ticks();
    spy->item(CDlgLineSpy::IDC_CLEAR).click();
    std::filesystem::resize_file(CDlgLineSpy::kLogName, 0);
    bus->Stop();
    platform::SleepMs(100);
    Ticks();
    spy->item(CDlgLineSpy::IDC_CLEAR).click();
    std::filesystem::resize_file(CDlgLineSpy::kLogName, 0);

    Line()->QueueCopy(Copy(true, 5, {0x85, 0x0F, 0x13, 0x0D}));
    Line()->QueueCopy(Copy(false, 5, {0x85, 0x0D}));  // a poll
    Line()->QueueCopy(Copy(false, 5, {0xC5, 0x40, 0x21, 0x05, 0x66, 0x0D}));
    Ticks();
    ASSERT_EQ(List().count(), 2);
    EXPECT_EQ(List().itemText(0, 0), ">");
    EXPECT_EQ(List().itemText(0, 2), "     M05 03 0D ");
    EXPECT_EQ(List().itemText(1, 0), "<");
    EXPECT_EQ(List().itemText(1, 2), "     S05 40 21 05 66 0D ");
    std::string log = LogFile();
    EXPECT_NE(log.find("     M05 03 0D \r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("     S05 40 21 05 66 0D \r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("M05 0D"), std::string::npos) << log;
    EXPECT_EQ(log.rfind("> ", 0), 0u);

    // A size of 3 keeps exactly the last three frames.
    spy->item(CDlgLineSpy::IDC_SIZE).setText("3");
    for (uint8_t b = 0x20; b < 0x25; ++b)
        Line()->QueueCopy(Copy(true, 4, {0x84, b, 0x0D}));
    Ticks();
    ASSERT_EQ(List().count(), 3);
    EXPECT_EQ(List().itemText(0, 2), "    M04 22 0D ");
    EXPECT_EQ(List().itemText(2, 2), "    M04 24 0D ");

    // Closing ends the log: nothing more is written.
    spy->Close();
    EXPECT_FALSE(spy->LogOpen());
    size_t before = LogFile().size();
    Line()->QueueCopy(Copy(true, 4, {0x84, 0x30, 0x0D}));
    Ticks();
    EXPECT_EQ(LogFile().size(), before);
}

TEST_F(LineSpyTest, StatisticsShowAndClearTheLaneCounters)
{
    ASSERT_TRUE(bus->WaitFor([&] {
        bvsim::UnitStats s;
        bus->Stats(6, s);
        return s.polls > 3;
    }, 30000));
    spy->item(CDlgLineSpy::IDC_STATISTICS).click();
    EXPECT_EQ(spy->View(), 1);
    // The statistics view turns the copies off, and with them the log.
    EXPECT_FALSE(spy->LogOpen());
    ASSERT_EQ(List().count(), 3);
    EXPECT_EQ(List().columnCount(), 8);
    EXPECT_EQ(List().itemText(1, 0), "5");
    Ticks();
    EXPECT_GT(std::atoi(List().itemText(2, 2).c_str()), 0);

    LaneSlot* slot = Line()->GetLaneSlot(5);
    ASSERT_NE(slot, nullptr);
    for (std::atomic<uint32_t>* c : {&slot->consecutiveFailures, &slot->okPoll, &slot->okSend, &slot->okReceive,
                                     &slot->failedPoll, &slot->failedSend, &slot->failedReceive})
        c->store(100000);
    spy->item(CDlgLineSpy::IDC_CLEAR).click();
    // What the lanes' line status is rated from starts again from nothing.
    for (std::atomic<uint32_t>* c : {&slot->consecutiveFailures, &slot->okPoll, &slot->okSend, &slot->okReceive,
                                     &slot->failedPoll, &slot->failedSend, &slot->failedReceive})
        EXPECT_LT(c->load(), 1000u);

    // Another channel: the copies of the one left are off, active cleared.
    spy->item(CDlgLineSpy::IDC_MESSAGES).click();
    ASSERT_EQ(spy->item(CDlgLineSpy::IDC_ACTIVE).check(), 1);
    spy->item(CDlgLineSpy::IDC_CHANNEL0 + 2).click();
    EXPECT_EQ(spy->Channel(), 2);
    EXPECT_EQ(spy->item(CDlgLineSpy::IDC_ACTIVE).check(), 0);
    while (Line()->GetCopy()) {
    }
    Line()->QueueCopy(Copy(true, 4, {0x84, 0x30, 0x0D}));
    EXPECT_EQ(Line()->GetCopy(), nullptr);
}

// Every heading has its room in every language, and the time column its
// five digits of milliseconds.
TEST_F(LineSpyTest, ColumnsFitTheirHeadingsInEveryLanguage)
{
    for (const char* code : {"NO", "DK", "SE", "EN", "DE"}) {
        CLanguageTable texts;
        ASSERT_GE(texts.Load(BV_BINARY_DIR "/lang/BVRange.bvt", code), 0) << code;
        platform::SetTextTable(&texts);
        spy = std::make_unique<CDlgLineSpy>(nullptr, *objects);
        ASSERT_TRUE(spy->Create());
        auto* tree = qobject_cast<QTreeWidget*>(List().widget());
        ASSERT_NE(tree, nullptr);
        const QFontMetrics metrics = tree->header()->fontMetrics();
        for (int id : {CDlgLineSpy::IDC_MESSAGES, CDlgLineSpy::IDC_STATISTICS}) {
            spy->item(id).click();
            for (int c = 0; c < tree->columnCount(); ++c)
                EXPECT_GE(tree->columnWidth(c), metrics.horizontalAdvance(tree->headerItem()->text(c)))
                    << code << " column " << c;
        }
        spy->item(CDlgLineSpy::IDC_MESSAGES).click();
        EXPECT_GE(tree->columnWidth(1), QFontMetrics(tree->font()).horizontalAdvance("99999") + 8) << code;
        spy.reset();
    }
    platform::SetTextTable(nullptr);
}

// The monitor as the officer sees it, in English, on the simulated line:
// a command to lane 5, the shot and lane state the units send back, and no
// polls among them.
TEST_F(LineSpyTest, ScreenshotOfTheLiveLine)
{
    CLanguageTable english;
    ASSERT_EQ(english.Load(BV_BINARY_DIR "/lang/BVRange.bvt", "EN"), 3);
    platform::SetTextTable(&english);
    spy = std::make_unique<CDlgLineSpy>(nullptr, *objects);
    ASSERT_TRUE(spy->Create());
    spy->ShowWindow(true);
    spy->resize(720, 360);
    EXPECT_EQ(spy->Caption(), english.GetText("IDS_SPY_TITLE"));
    EXPECT_EQ(spy->item(CDlgLineSpy::IDC_CHANNEL0 + 1).text(), english.GetText("IDS_SPY_SIUS"));

    auto mode = std::make_unique<LineMessage>();
    *mode = LineMessage{};
    const uint8_t payload[] = {0x40, 0x57, 5, 0x30};
    mode->data[0] = sizeof payload + 1;
    std::memcpy(mode->data + 2, payload, sizeof payload);
    mode->targetAddress = 5;
    Line()->SendMsg(std::move(mode));
    ASSERT_TRUE(bus->QueueShot(5, 1, 104, 1200, -800));
    ASSERT_TRUE(bus->QueueLaneState(4, 2));
    auto shown = [&](const std::string& start) {
        for (int r = 0; r < List().count(); ++r)
            if (List().itemText(r, 2).rfind(start, 0) == 0)
                return true;
        return false;
    };
    for (int k = 0; k < 300 && !(shown("     M05 40 57") && shown("     S05 40") && shown("    S04 40")); ++k) {
        Ticks();
        platform::SleepMs(20);
    }
    EXPECT_TRUE(shown("     M05 40 57")) << LogFile();
    EXPECT_TRUE(shown("     S05 40")) << LogFile();
    EXPECT_TRUE(shown("    S04 40")) << LogFile();
    EXPECT_NE(LogFile().find("< "), std::string::npos);
    QImage shot = spy->grab().toImage();
    platform::SetTextTable(nullptr);
    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    EXPECT_TRUE(shot.save(BV_BINARY_DIR "/screens/line-monitor.png"));
}
