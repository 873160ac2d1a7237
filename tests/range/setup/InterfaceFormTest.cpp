// What the interface dialog checks and writes of the range configuration,
// without its window: the channel set-ups refused, the exchange folder, the
// device codes, the USB adapter list and the outside system's range types.
#include "TempFolder.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/RangeSettings.h"
#include "range/setup/InterfaceForm.h"

#include <gtest/gtest.h>

namespace {

struct Channel {
    int device, first, last, adapter = 0;
};

InterfaceForm FormOf(std::initializer_list<Channel> channels)
{
    InterfaceForm form;
    size_t k = 0;
    for (const Channel& c : channels) {
        form.channels[k] = {c.device, c.first, c.last};
        form.adapters[k] = c.adapter;
        ++k;
    }
    return form;
}

TEST(InterfaceChannels, SetUpsThatCannotRunAreRefusedWithTheChannel)
{
    struct Case {
        const char* name;
        InterfaceForm form;
        const char* key;  // null: accepted
        int channel;
    };
    const Case cases[] = {
        {"one channel", FormOf({{1, 1, 10}}), nullptr, 0},
        {"two channels apart", FormOf({{1, 1, 10}, {2, 11, 20}}), nullptr, 0},
        {"two channels on COM3", FormOf({{3, 1, 10}, {3, 11, 20}}), "IDS_INTERFACE_WARN_PORT", 2},
        {"COM3 on channels 1 and 4", FormOf({{3, 1, 10}, {0, 1, 10}, {0, 1, 10}, {3, 31, 40}}),
         "IDS_INTERFACE_WARN_PORT", 4},
        {"two outside systems", FormOf({{10, 1, 10}, {10, 11, 20}}), nullptr, 0},
        {"first above last on channel 1", FormOf({{1, 10, 1}, {2, 11, 20}}), "IDS_INTERFACE_WARN_INC", 1},
        {"first above last on channel 4", FormOf({{1, 1, 10}, {0, 1, 10}, {0, 1, 10}, {4, 40, 31}}),
         "IDS_INTERFACE_WARN_INC", 4},
        {"overlap at the top", FormOf({{1, 1, 10}, {2, 5, 20}}), "IDS_INTERFACE_WARN_RANGE", 2},
        {"overlap at the bottom", FormOf({{1, 10, 20}, {2, 1, 10}}), "IDS_INTERFACE_WARN_RANGE", 2},
        {"one inside the other", FormOf({{1, 1, 20}, {2, 5, 8}}), "IDS_INTERFACE_WARN_RANGE", 2},
        {"the other inside one", FormOf({{1, 5, 8}, {2, 1, 20}}), "IDS_INTERFACE_WARN_RANGE", 2},
        {"an unused channel may share lanes", FormOf({{1, 1, 10}, {0, 1, 10}}), nullptr, 0},
        {"overlap with channel 3", FormOf({{1, 1, 10}, {2, 11, 20}, {5, 20, 30}}), "IDS_INTERFACE_WARN_RANGE", 3},
        {"one USB adapter twice", FormOf({{11, 1, 10, 7}, {12, 11, 20, 7}}), "IDS_INTERFACE_WARN_USB", 2},
        {"two USB adapters", FormOf({{11, 1, 10, 7}, {12, 11, 20, 8}}), nullptr, 0},
        {"lanes 1 to 100", FormOf({{1, 1, 50}, {2, 51, 100}}), nullptr, 0},
    };
    for (const Case& c : cases) {
        InterfaceForm::Refusal r = c.form.CheckChannels();
        if (!c.key) {
            EXPECT_EQ(r.key, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(r.key, nullptr) << c.name;
        EXPECT_STREQ(r.key, c.key) << c.name;
        EXPECT_EQ(r.channel, c.channel) << c.name;
    }
}

TEST(InterfaceExchangeFolder, TheSystemsOwnProgramGetsItsBVFolder)
{
    struct Case {
        int program;
        const char* typed;
        const char* stored;
    };
    const Case cases[] = {
        {0, "C:\\Res", "C:\\Res\\BV\\"},
        {0, "C:\\Res\\", "C:\\Res\\BV\\"},
        {0, "C:\\Res\\BV\\", "C:\\Res\\BV\\"},
        {0, "", ""},
        {3, "C:\\Res", "C:\\Res"},
    };
    for (const Case& c : cases) {
        InterfaceForm form;
        form.exchangeFolder = c.typed;
        EXPECT_EQ(form.StoredExchangeFolder(c.program), c.stored) << c.typed;
    }
}

TEST(InterfaceDeviceCodes, SurviveChangesOfTheAdapterList)
{
    const std::vector<int> usb = {501, 7, 42};
    struct Case {
        int device;
        int adapter;
        int code;
    };
    const Case cases[] = {{0, 0, 0}, {3, 0, -3}, {9, 0, -9}, {10, 0, -10}, {11, 501, 501}, {13, 42, 42}};
    for (const Case& c : cases) {
        EXPECT_EQ(InterfaceForm::CodeOfDevice(c.device, c.adapter), c.code) << c.device;
        EXPECT_EQ(InterfaceForm::DeviceOfCode(c.code, usb), c.device) << c.code;
    }
    // An adapter that left the list leaves its channel without a device.
    EXPECT_EQ(InterfaceForm::DeviceOfCode(99, usb), 0);
    EXPECT_EQ(InterfaceForm::DeviceOfCode(7, {}), 0);
}

TEST(InterfaceUsbNames, BV1AndFiveDigits)
{
    struct Case {
        const char* text;
        bool valid;
        int number;
    };
    const Case cases[] = {
        {"BV100042", true, 42}, {"BV199999", true, 99999}, {"BV10004", false, 0}, {"BV1000420", false, 0},
        {"BV200042", false, 0}, {"bv100042", false, 0},   {"BV1ABCDE", false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UsbAdapterList::IsAdapterName(c.text), c.valid) << c.text;
        if (c.valid)
            EXPECT_EQ(UsbAdapterList::NumberOf(c.text), c.number) << c.text;
    }
}

class InterfaceFormTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        range.Open(".\\BVLeder.bvc", 1);
        ASSERT_TRUE(range.IsOpen());
    }
    CBVConfig range;
};

TEST_F(InterfaceFormTest, LanesOfTheStoredChannels)
{
    range.WriteString(1, 1, 530, "\x03\x05\x14");            // COM3, lanes 5 to 20
    range.WriteString(1, 1, 531, "\x0C\x15\x64");            // the second USB entry, lanes 21 to 100
    range.WriteInt(1, 2, 531, 42);
    range.WriteString(1, 1, 532, "");                         // none: 1 to 10
    range.WriteString(1, 1, 533, "\x0A");                     // a type alone: no lanes
    InterfaceForm form;
    form.Load(range);
    EXPECT_EQ(form.channels[0].first, 5);
    EXPECT_EQ(form.channels[0].last, 20);
    EXPECT_EQ(form.channels[1].first, 21);
    EXPECT_EQ(form.channels[1].last, 100);
    EXPECT_EQ(form.channels[2].first, 1);
    EXPECT_EQ(form.channels[2].last, 10);
    EXPECT_EQ(form.channels[3].first, 0);
    EXPECT_EQ(form.channels[3].last, 10);
    EXPECT_EQ(InterfaceForm::ReadCodes(range), (std::array<int, 4>{-3, 42, 0, -10}));
}

TEST_F(InterfaceFormTest, TheAdapterListKeepsTwentyAndEmptiesTheRest)
{
    for (int j = 1; j <= 20; ++j)
        range.WriteString(1, j, 539, "BV100001");
    range.WriteString(1, 3, 539, "short");
    ASSERT_EQ(UsbAdapterList::Read(range).size(), 19u);
    ASSERT_EQ(UsbAdapterList::Write(range, {"BV100007", "BV100008"}), 0);
    EXPECT_EQ(UsbAdapterList::Read(range), (std::vector<std::string>{"BV100007", "BV100008"}));
    char value[32];
    EXPECT_STREQ(range.ReadString(1, 20, 539, "gone", value), "");
}

TEST_F(InterfaceFormTest, RangeTypesFromTheOutsideSystemsFiles)
{
    bvtest::TempFolder::Write("DADErevo.ini", "[RangeTypes]\r\n0=Rifle 10 m\r\n3=\r\n4=Pistol 25 m\r\n31=Running\r\n"
                                              "32=Beyond\r\n[Other]\r\n5=Not a type\r\n");
    auto offered = OutsideRangeTypes::Offered();
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[0], (std::pair<int, std::string>{0, "Rifle 10 m"}));
    EXPECT_EQ(offered[1], (std::pair<int, std::string>{4, "Pistol 25 m"}));
    EXPECT_EQ(offered[2], (std::pair<int, std::string>{31, "Running"}));
    // Without a choice the outside system takes type 4.
    EXPECT_EQ(OutsideRangeTypes::Chosen(), 4);
    bvtest::TempFolder::Write("RCI.INI", "[RCI_MarkII]\r\nName=Range\r\n");
    ASSERT_EQ(OutsideRangeTypes::Choose(31), 0);
    EXPECT_EQ(OutsideRangeTypes::Chosen(), 31);
    // The rest of the outside system's file stays.
    EXPECT_NE(bvtest::TempFolder::Read("RCI.INI").find("Name=Range"), std::string::npos);
}

}  // namespace
