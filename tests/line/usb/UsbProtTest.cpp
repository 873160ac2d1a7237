// A USB line against our stand-in of the driver library and its adapters:
// firmware check and loading, set-up, message frames and their results,
// what units send, failure counts, and an adapter pulled out and put back.
#include "ScopedEnv.h"
#include "line/BVSerCom.h"
#include "line/usb/CFTD2XX.h"
#include "line/usb/UsbFrame.h"
#include "line/usb/UsbInbox.h"
#include "platform/ports/MemoryPort.h"
#include "platform/system/Clock.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <regex>
#include <sstream>
#include <vector>

namespace {

const std::string kStandIn = std::string(BV_BINARY_DIR) + "/standin/libftd2xx.so";

void Command(const std::string& line)
{
    static auto command = [] {
        void* h = dlopen(kStandIn.c_str(), RTLD_NOW);
        return h ? reinterpret_cast<void (*)(const char*)>(dlsym(h, "BvFtd2xxCommand")) : nullptr;
    }();
    ASSERT_NE(command, nullptr) << dlerror();
    command(line.c_str());
}

bool Within(int ms, const std::function<bool()>& done)
{
    for (int waited = 0; waited < ms; waited += 10) {
        if (done())
            return true;
        platform::SleepMs(10);
    }
    return done();
}

// An image of three pages with the bytes that need escaping in it.
UsbFirmwareImage TestImage(uint8_t major, uint8_t minor)
{
    UsbFirmwareImage image;
    image.pages = 3;
    image.major = major;
    image.minor = minor;
    for (int i = 0; i < 3 * 64; ++i)
        image.bytes.push_back(static_cast<uint8_t>(i * 7 + (i % 5 == 0 ? 0xFE : 0)));
    image.bytes[10] = 0xFF;
    image.bytes[100] = 0xFE;
    return image;
}

class UsbProtTest : public bvtest::InTempFolder {
protected:
    // The driver the line loads; a test may point it elsewhere, and the
    // environment is as before once the test is over.
    bvtest::ScopedEnv driver{"BV_FTD2XX", kStandIn};

    void SetUp() override
    {
        Command("reset");
        Command("log " + folder.File("adapter.log"));
    }
    void TearDown() override
    {
        line.PortClose();
        Command("reset");
    }

    // Frames from the program in the stand-in's log, status requests left out.
    std::vector<std::string> Sent()
    {
        std::vector<std::string> frames;
        std::istringstream in(bvtest::TempFolder::Read(folder.File("adapter.log")));
        std::string l;
        while (std::getline(in, l)) {
            size_t at = l.find(" > ");
            if (at == std::string::npos)
                continue;
            std::string f = l.substr(at + 3);
            if (f != "FF" && f != "E0 03 FF")
                frames.push_back(f);
        }
        return frames;
    }
    std::string Log() { return bvtest::TempFolder::Read(folder.File("adapter.log")); }
    std::string ProgramLog() { return bvtest::TempFolder::Read(folder.File("BVLog.txt")); }

    void OpenRunning(const char* serial, std::initializer_list<int> lanes)
    {
        line.SetUsbFirmware(&image);
        line.SetUsbSerial(serial);
        ASSERT_EQ(line.PortOpen(11, 0xA1, 1), 1);
        for (int lane : lanes)
            ASSERT_EQ(line.AddLane(lane), 0);
        ASSERT_TRUE(Within(8000, [&] { return line.UsbState() == 1; })) << Log();
        // Running begins with the set-up.
        ASSERT_TRUE(Within(2000, [&] { return Log().find("> 10 06 ") != std::string::npos; })) << Log();
    }

    UsbFirmwareImage image = TestImage(6, 33);
    CBVSerCom line;
};

}  // namespace

TEST_F(UsbProtTest, AnAdapterAtTheCarriedVersionIsStartedAndGetsItsSetUpOnce)
{
    Command("adapter BV100001 version 6.33");
    OpenRunning("BV100001", {3, 5});
    EXPECT_EQ(line.LineState(), 2);
    // The set-up goes once the application reports, and only once.
    ASSERT_TRUE(Within(2000, [&] { return Sent().size() >= 2; }));
    platform::SleepMs(200);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"E9 03 FF", "10 06 01 03 05 FF"}));
    EXPECT_EQ(ProgramLog().find("Oppdaterer"), std::string::npos);

    // A lane added later gives the adapter its new range, from the USB thread.
    ASSERT_EQ(line.AddLane(9), 0);
    ASSERT_TRUE(Within(2000, [&] { return Sent().size() >= 3; }));
    EXPECT_EQ(Sent().back(), "10 06 01 03 09 FF");

    line.PortClose();
    std::vector<std::string> sent = Sent();
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(sent[sent.size() - 2], "10 06 80 00 00 FF");
    EXPECT_EQ(sent.back(), "19 03 FF");
}

TEST_F(UsbProtTest, AnAdapterAtAnotherVersionTakesTheImageHalfPageByHalfPage)
{
    Command("adapter BV100002 version 5.10 loads 6.33");
    OpenRunning("BV100002", {1});
    std::vector<std::string> sent = Sent();
    ASSERT_GE(sent.size(), 1u);
    EXPECT_EQ(sent[0], "19 03 FF");  // the application steps aside for the boot loader
    int halves = 0;
    for (const std::string& f : sent)
        halves += f.rfind("E2 ", 0) == 0;
    EXPECT_EQ(halves, 6);
    // Each half was acknowledged before the next went.
    std::string log = Log();
    std::regex halfThenAck(R"(> E2 [0-9A-F ]+\n[^\n]*< E2 )");
    EXPECT_EQ(std::distance(std::sregex_iterator(log.begin(), log.end(), halfThenAck), std::sregex_iterator()), 6);
    // The escaped page bytes arrived unchanged.
    Command("image BV100002 " + folder.File("image.bin"));
    std::string copy = bvtest::TempFolder::Read(folder.File("image.bin"));
    EXPECT_EQ(copy, std::string(image.bytes.begin(), image.bytes.end()));
    EXPECT_NE(ProgramLog().find("Oppdaterer SW Adapter=BV100002 fra ver 5.10 til ver 6.33"), std::string::npos);
    EXPECT_EQ(line.LineState(), 2);
}

TEST_F(UsbProtTest, AnUnacknowledgedPageEndsTheUpdateAfterEightSends)
{
    Command("adapter BV100003 version 5.10 mode boot");
    Command("ack BV100003 off");
    line.SetUsbFirmware(&image);
    line.SetUsbSerial("BV100003");
    ASSERT_EQ(line.PortOpen(12, 0xA1, 0), 1);
    ASSERT_TRUE(Within(15000, [&] { return ProgramLog().find("TIMEOUT:: Fikk ingen kvittering") != std::string::npos; }));
    EXPECT_NE(ProgramLog().find("USBSoftWareSend: TIMEOUT:: Fikk ingen kvittering p\xE5 Page 0, Pagedel: 1"),
              std::string::npos);
    EXPECT_EQ(line.LineState(), 1);  // shown as taking firmware until it runs
}

TEST_F(UsbProtTest, MessageFramesAreEscapedAndTheirResultsCounted)
{
    Command("adapter BV100004");
    OpenRunning("BV100004", {3});
    line.CopiesOn();

    struct Case { uint8_t result; uint32_t okSend; uint32_t failedSend; };
    const Case cases[] = {{1, 1, 0}, {0, 1, 1}};
    for (const Case& c : cases) {
        Command("result BV100004 " + std::to_string(c.result));
        auto m = std::make_unique<LineMessage>();
        *m = LineMessage{};
        const uint8_t payload[] = {5, 0, 0x40, 0x57, 3, 0xFF};
        std::memcpy(m->data, payload, sizeof payload);
        m->targetAddress = 3;
        m->agePosition = 4;
        m->ageMode = 0x21;
        size_t before = Sent().size();
        line.SendMsg(std::move(m));
        ASSERT_TRUE(Within(3000, [&] { return line.QueueCount(QueueKind::Send) == 0; }));
        std::vector<std::string> sent = Sent();
        ASSERT_EQ(sent.size(), before + 1);
        // 0xFF at position 15 goes as FE 0F; both length bytes count the escape.
        EXPECT_TRUE(std::regex_match(sent.back(), std::regex("12 12 02 03 03 00 04 21 .. .. 06 83 40 57 03 FE 0F FF")))
            << sent.back();
        LaneSlot* s = line.GetLaneSlot(3);
        EXPECT_EQ(s->okSend, c.okSend);
        EXPECT_EQ(s->failedSend, c.failedSend);
    }
    // A copy for the monitor of the delivered one only.
    auto copy = line.GetCopy();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->copyDirection, 1);
    EXPECT_EQ(copy->data[1], 0x83);
    EXPECT_EQ(line.GetCopy(), nullptr);

    // No result at all: dropped after a second, no failure counted.
    Command("result BV100004 none");
    auto m = std::make_unique<LineMessage>();
    *m = LineMessage{};
    m->data[0] = 3;
    m->data[2] = 0x40;
    m->data[3] = 0x10;
    m->targetAddress = 3;
    line.SendMsg(std::move(m));
    platform::SleepMs(500);
    EXPECT_EQ(line.QueueCount(QueueKind::Send), 1u);
    ASSERT_TRUE(Within(2000, [&] { return line.QueueCount(QueueKind::Send) == 0; }));
    EXPECT_EQ(line.GetLaneSlot(3)->failedSend, 1u);
}

TEST_F(UsbProtTest, WhatUnitsSendAndTheFailureCountsReachTheirLanes)
{
    Command("adapter BV100005");
    OpenRunning("BV100005", {3, 4, 5, 6, 40});
    line.GetLaneSlot(40)->consecutiveFailures = 2;

    Command("counts BV100005 3 7 8 9 10");  // length 9: four counts
    ASSERT_TRUE(Within(2000, [&] { return line.GetLaneSlot(6)->consecutiveFailures == 10; }));
    EXPECT_EQ(line.GetLaneSlot(3)->consecutiveFailures, 7u);
    EXPECT_EQ(line.GetLaneSlot(4)->consecutiveFailures, 8u);
    EXPECT_EQ(line.GetLaneSlot(5)->consecutiveFailures, 9u);

    Command("unit BV100005 40 405A28FEFF01");
    ASSERT_TRUE(Within(2000, [&] { return line.QueueCount(QueueKind::Received) == 1; }));
    auto m = line.GetMsg();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->data[0], 7);  // n: payload at 2..7
    const uint8_t expected[] = {0xC0 | 40, 0x40, 0x5A, 0x28, 0xFE, 0xFF, 0x01};
    EXPECT_EQ(std::memcmp(m->data + 1, expected, sizeof expected), 0);
    EXPECT_EQ(m->data[9], 0xFF);
    EXPECT_EQ(m->targetAddress, 40);
    EXPECT_EQ(m->slot, 40);
    EXPECT_EQ(m->portIndex, 1);
    EXPECT_EQ(line.GetLaneSlot(40)->okReceive, 1u);
    EXPECT_EQ(line.GetLaneSlot(40)->consecutiveFailures, 0u);

    // Addresses of lanes not registered here touch no slot.
    Command("counts BV100005 98 1 1 1");
    Command("raw BV100005 12 0E 00 C8 08 00 00 00 00 00 01 C8 40 FF");  // address 200
    Command("raw BV100005 12 05 00 03 FF");                             // too short to hold a message
    platform::SleepMs(300);
    EXPECT_EQ(line.QueueCount(QueueKind::Received), 0u);
    EXPECT_NE(ProgramLog().find("USB message from illegal ID (200) dropped"), std::string::npos);
}

TEST_F(UsbProtTest, AnUnpluggedAdapterFailsItsLanesAndRunsAgainWhenPluggedBack)
{
    Command("adapter BV100006");
    OpenRunning("BV100006", {2, 7});
    Command("unplug BV100006");
    ASSERT_TRUE(Within(2000, [&] { return line.GetLaneSlot(7)->consecutiveFailures == 250; }));
    EXPECT_EQ(line.GetLaneSlot(2)->consecutiveFailures, 250u);
    EXPECT_EQ(line.LineState(), 2);  // kept while the adapter is away
    platform::SleepMs(2500);
    std::string log = Log();
    size_t refused = 0;
    for (size_t at = 0; (at = log.find("BV100006 open refused", at)) != std::string::npos; ++at)
        ++refused;
    EXPECT_GE(refused, 2u);  // about once a second
    EXPECT_LE(refused, 4u);
    Command("plug BV100006");
    ASSERT_TRUE(Within(8000, [&] { return line.UsbState() == 1; }));
}

TEST_F(UsbProtTest, WithoutCarriedFirmwareAnAdapterRunsAtItsOwnVersion)
{
    Command("adapter BV100008 version 5.10");
    line.SetUsbFirmware(nullptr);
    line.SetUsbSerial("BV100008");
    ASSERT_EQ(line.PortOpen(11, 0xA1, 0), 1);
    ASSERT_TRUE(Within(8000, [&] { return line.UsbState() == 1; })) << Log();
    EXPECT_EQ(Sent().at(0), "E9 03 FF");
    EXPECT_EQ(Log().find("> E2"), std::string::npos);
    EXPECT_EQ(Log().find("> 19"), std::string::npos);
    EXPECT_NE(ProgramLog().find("No adapter firmware carried: adapter BV100008 keeps its version 5.10"),
              std::string::npos);
}

TEST_F(UsbProtTest, TheDriverIsBoundWhenItComesAndFailuresLeaveOutArgumentsAlone)
{
    std::string file = folder.File("driver/libftd2xx.so");
    setenv("BV_FTD2XX", file.c_str(), 1);
    Command("adapter BV100009");
    Command("adapter BV100010");
    CFTD2XX driver;
    DWORD count = 77;
    EXPECT_NE(driver.ListDevices(&count, nullptr, FT_LIST_NUMBER_ONLY), FT_OK);
    EXPECT_EQ(count, 77u);
    FT_HANDLE handle = reinterpret_cast<FT_HANDLE>(0x1234);
    EXPECT_NE(driver.OpenEx(const_cast<char*>("BV100009"), FT_OPEN_BY_SERIAL_NUMBER, &handle), FT_OK);
    EXPECT_EQ(handle, reinterpret_cast<FT_HANDLE>(0x1234));

    // Installed while the program runs: the next call finds it.
    ASSERT_EQ(mkdir(folder.File("driver").c_str(), 0755), 0);
    ASSERT_EQ(symlink(kStandIn.c_str(), file.c_str()), 0);
    ASSERT_EQ(driver.ListDevices(&count, nullptr, FT_LIST_NUMBER_ONLY), FT_OK);
    EXPECT_EQ(count, 2u);
    char serial[64] = {};
    ASSERT_EQ(driver.ListDevices(reinterpret_cast<void*>(uintptr_t{1}), serial, FT_LIST_BY_INDEX | FT_OPEN_BY_SERIAL_NUMBER),
              FT_OK);
    EXPECT_STREQ(serial, "BV100010");
    EXPECT_EQ(driver.OpenEx(const_cast<char*>("BV100009"), FT_OPEN_BY_SERIAL_NUMBER, &handle), FT_OK);
    EXPECT_EQ(driver.Close(handle), FT_OK);
}

TEST(UsbFirmwareTest, AnImageFileMustHoldWholePages)
{
    struct Case { std::vector<uint8_t> file; bool whole; };
    std::vector<uint8_t> two = {2, 0, 0, 0, 6, 33};
    two.resize(6 + 128, 0xAB);
    std::vector<uint8_t> cut = two;
    cut.pop_back();
    std::vector<uint8_t> none = {0, 0, 0, 0, 6, 33};
    const Case cases[] = {{two, true}, {cut, false}, {none, false}, {{2, 0}, false}};
    for (const Case& c : cases) {
        UsbFirmwareImage image;
        EXPECT_EQ(UsbFirmware::Parse(c.file.data(), c.file.size(), image), c.whole) << c.file.size();
        if (c.whole) {
            EXPECT_EQ(image.pages, 2u);
            EXPECT_EQ(image.major, 6);
            EXPECT_EQ(image.minor, 33);
            EXPECT_EQ(image.bytes.size(), 128u);
        }
    }
}

TEST_F(UsbProtTest, WithoutTheLibraryAUsbLineOpensAndWaits)
{
    setenv("BV_FTD2XX", (folder.Path() + "/none/libftd2xx.so").c_str(), 1);
    line.SetUsbSerial("BV100007");
    ASSERT_EQ(line.PortOpen(11, 0xA1, 0), 1);
    ASSERT_EQ(line.AddLane(1), 0);
    platform::SleepMs(300);
    EXPECT_EQ(line.LineState(), 0);
    EXPECT_EQ(line.UsbState(), 0);
    int64_t start = platform::MonotonicUs();
    EXPECT_EQ(line.PortClose(), 0);
    EXPECT_LT(platform::MonotonicUs() - start, 1000000);  // the retry pause gives way to the close
    EXPECT_NE(ProgramLog().find("USB driver library"), std::string::npos);
}

TEST(UsbInboxTest, FramesAreTakenOneByOneAndAFullInboxWithoutAnEndIsDropped)
{
    bvtest::TempFolder folder;
    auto [program, adapter] = platform::MemoryPort::MakePair();
    CBVLog log;
    UsbInbox inbox;
    size_t written = 0;
    const uint8_t two[] = {0x13, 5, 1, 3, 0xFF, 0xE0, 8, 6, 33, 2, 1, 0, 0xFF, 0x11};
    adapter->Write(two, sizeof two, 100, written);
    EXPECT_EQ(inbox.Take(*program, 100, log), 5u);
    EXPECT_EQ(inbox.Frame()[0], 0x13);
    EXPECT_EQ(inbox.Take(*program, 100, log), 8u);
    EXPECT_EQ(inbox.Frame()[0], 0xE0);
    EXPECT_EQ(inbox.Take(*program, 50, log), 0u);  // 0x11 waits for its end
    EXPECT_EQ(inbox.Fill(), 1u);

    std::vector<uint8_t> noise(500, 0x55);
    adapter->Write(noise.data(), noise.size(), 100, written);
    EXPECT_EQ(inbox.Take(*program, 100, log), 0u);
    EXPECT_NE(bvtest::TempFolder::Read("BVLog.txt").find("USBReadEvent: I er for stor. I=384"), std::string::npos);
    EXPECT_NE(bvtest::TempFolder::Read("BVLog.txt").find("USBReadEvent: Overflow RxBytes="), std::string::npos);
    // The rest of the noise goes too, and the next frame is read as it should.
    size_t more = 0;
    program->InputCount(more);
    std::vector<uint8_t> rest(more);
    program->Read(rest.data(), more, more);
    inbox.Clear();
    const uint8_t frame[] = {0xE2, 6, 0, 64, 1, 0xFF};
    adapter->Write(frame, sizeof frame, 100, written);
    EXPECT_EQ(inbox.Take(*program, 100, log), 6u);
}

TEST(UsbFrameTest, MessageFramesAndHalfPages)
{
    LineMessage m{};
    m.data[0] = 101;
    uint8_t out[UsbFrame::kMaxFrame];
    EXPECT_EQ(UsbFrame::Message(m, 0, out), 0u);  // longer than a frame carries

    m.data[0] = 3;
    m.data[2] = 0xFF;  // positions 12 and 13 go unescaped
    m.data[3] = 0xFE;
    m.broadcast = 1;
    m.tick = 100;
    ASSERT_EQ(UsbFrame::Message(m, 100 + 0x1234, out), 15u);
    const uint8_t broadcast[] = {0x12, 15, 2, 0, 60, 0, 0, 0, 0x12, 0x34, 3, 0xBC, 0xFF, 0xFE, 0xFF};
    EXPECT_EQ(std::memcmp(out, broadcast, sizeof broadcast), 0);

    uint8_t page[128] = {};
    page[64 + 32] = 0xFF;
    page[64 + 63] = 0xFE;
    size_t size = UsbFrame::HalfPage(page, 1, 2, out);
    ASSERT_EQ(size, 40u);
    const uint8_t head[] = {0xE2, 40, 0, 64, 2, 0xFE, 0x0F};
    EXPECT_EQ(std::memcmp(out, head, sizeof head), 0);
    EXPECT_EQ(out[37], 0xFE);
    EXPECT_EQ(out[38], 0x0E);
    EXPECT_EQ(out[39], 0xFF);
}
