// The target software image: reading S-record files into blocks, the block
// messages, and the bookkeeping of what each unit has acknowledged.
#include "line/loader/BVSW.h"
#include "line/SerialFrame.h"
#include "SRecordText.h"
#include "SrecCat.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using bvtest::Counting;
using bvtest::Fill;
using bvtest::S2;
using bvtest::S8;
using bvtest::TempFolder;
using Bytes = std::vector<uint8_t>;

struct Block {
    uint32_t address;
    int length;
    bool operator==(const Block&) const = default;
};

void PrintTo(const Block& b, std::ostream* os) { *os << std::hex << b.address << std::dec << "/" << b.length; }

class ImageTest : public bvtest::InTempFolder {
protected:
    int Load(const std::string& text, uint8_t model = 'B')
    {
        TempFolder::Write("image.s28", text);
        return image.Load(model, "image.s28", nullptr);
    }
    std::vector<Block> Blocks()
    {
        std::vector<Block> all;
        for (int b = 1; b <= image.TotalBlocks(); ++b) {
            CBVSW::BlockView v{};
            EXPECT_TRUE(image.GetBlock(b, v));
            all.push_back({v.address, v.length});
        }
        return all;
    }
    static std::string Log() { return TempFolder::Read("BVLog.txt"); }

    CBVSW image;
};

TEST_F(ImageTest, RefusedFilesLeaveNoImage)
{
    struct Case {
        const char* name;
        std::string text;
        int status;
        const char* logged;
    };
    const Case cases[] = {
        {"no S8", S2(0x100, Counting(16, 1)), 12, nullptr},
        {"S1", S2(0x100, Counting(16, 1)) + bvtest::SRecord('1', 0x200, 2, Counting(4, 1)) + S8(), 3,
         "File corrupt at line 2: 'S1"},
        {"S3", bvtest::SRecord('3', 0x200, 4, Counting(4, 1)) + S8(), 3, "File corrupt at line 1: 'S3"},
        {"count too small", "S2030001FB\r\n" + S8(), 3, "File corrupt at line 1"},
        {"cut short", S2(0x100, Counting(16, 1)).substr(0, 20), 3, "File corrupt at line 1"},
        {"checksum", S2(0x100, Counting(8, 1)) + S2(0x200, Counting(8, 1)) + S2(0x300, Counting(8, 1), 1) + S8(), 3,
         "at line 3: 'S20C000300"},
        {"past the last sector", S2(0x20000, Counting(8, 1)) + S8(), 2, "Illegal sector = 8"},
        {"crossing the end of the last sector", S2(0x1FFF8, Counting(16, 1)) + S8(), 2, "AddRec failure at line 1!"},
        {"no data at all", S8(), 0, nullptr},
    };
    for (const Case& c : cases) {
        CBVSW fresh;
        TempFolder::Write("image.s28", c.text);
        EXPECT_EQ(fresh.Load('B', "image.s28", nullptr), 0) << c.name;
        EXPECT_EQ(fresh.Status(), c.status) << c.name;
        EXPECT_FALSE(fresh.IsLoaded()) << c.name;
        EXPECT_FALSE(fresh.SectorExists(0)) << c.name;
        if (c.logged)
            EXPECT_NE(Log().find(c.logged), std::string::npos) << c.name << "\n" << Log();
    }
    EXPECT_NE(Log().find("Checksum failure (=00) at line 3"), std::string::npos) << Log();
}

TEST_F(ImageTest, RecordsBecomeBlocksInFilingOrder)
{
    Bytes seventy = Counting(70, 0x20);
    Bytes seventyLow = seventy;
    for (int k = 0; k < 10; ++k)
        seventyLow[static_cast<size_t>(5 * k)] = 0x00;
    Bytes seventyEight = Fill(78, 0x40);
    for (int k = 0; k < 22; ++k)
        seventyEight[static_cast<size_t>(3 * k)] = 0xFF;
    struct Case {
        const char* name;
        std::string records;
        std::vector<Block> blocks;
    };
    const Case cases[] = {
        {"one record", S2(0x2000, Counting(32, 0x20)), {{0x2000, 32}}},
        {"across a page", S2(0x0FF0, Counting(32, 0x20)), {{0x1000, 16}, {0x0FF0, 16}}},
        {"last bytes below the end", S2(0x1FFF0, Counting(16, 0x20)), {{0x1FFF0, 16}}},
        {"120 bytes halved once", S2(0x3000, Counting(120, 0x20)), {{0x303C, 60}, {0x3000, 60}}},
        {"70 plain bytes stay whole", S2(0x3020, seventy), {{0x3020, 70}}},
        {"70 bytes with ten low ones", S2(0x3020, seventyLow), {{0x3043, 35}, {0x3020, 35}}},
        {"78 bytes with 22 high ones", S2(0x3020, seventyEight), {{0x3047, 39}, {0x3020, 39}}},
        {"odd length: the first half is the longer",
         S2(0x3000, Counting(121, 0x20)),
         {{0x303D, 60}, {0x3000, 61}}},
    };
    for (const Case& c : cases) {
        CBVSW fresh;
        TempFolder::Write("image.s28", c.records + S8());
        EXPECT_EQ(fresh.Load('B', "image.s28", nullptr), static_cast<int>(c.blocks.size())) << c.name;
        std::vector<Block> got;
        for (int b = 1; b <= fresh.TotalBlocks(); ++b) {
            CBVSW::BlockView v{};
            ASSERT_TRUE(fresh.GetBlock(b, v)) << c.name;
            got.push_back({v.address, v.length});
        }
        EXPECT_EQ(got, c.blocks) << c.name;
    }
}

TEST_F(ImageTest, BlocksReassembleSrecCatsBinary)
{
    const std::string binary = bvtest::ImageBinary(0x1F3A7);
    for (int recordBytes : {16, 32, 64, 200}) {
        SCOPED_TRACE(recordBytes);
        ASSERT_TRUE(bvtest::MakeSrecImage(binary, recordBytes, "image.s28"));
        CBVSW fresh;
        ASSERT_GT(fresh.Load('A', "image.s28", nullptr), 0);
        std::string rebuilt(binary.size(), '\0');
        std::vector<bool> seen(binary.size());
        for (int b = 1; b <= fresh.TotalBlocks(); ++b) {
            CBVSW::BlockView v{};
            ASSERT_TRUE(fresh.GetBlock(b, v));
            ASSERT_LE(v.address + static_cast<uint32_t>(v.length), binary.size());
            for (int k = 0; k < v.length; ++k) {
                ASSERT_FALSE(seen[v.address + static_cast<uint32_t>(k)]) << "twice: " << v.address + k;
                seen[v.address + static_cast<uint32_t>(k)] = true;
                rebuilt[v.address + static_cast<uint32_t>(k)] = static_cast<char>(v.data[k]);
            }
        }
        EXPECT_EQ(rebuilt, TempFolder::Read("image.s28.bin"));
        EXPECT_EQ(fresh.Version()[5], static_cast<uint8_t>(binary[0xBFFF]));
    }
}

TEST_F(ImageTest, SectorsCountTheirBlocksAndPassesSplitAtTheFourthSector)
{
    ASSERT_EQ(Load(S2(0x0100, Counting(16, 1)) + S2(0x8000, Counting(16, 1)) + S2(0x8100, Counting(16, 1)) +
                   S2(0x1C000, Counting(16, 1)) + S8()),
              4);
    EXPECT_EQ(image.FirstPassBlocks(), 3);
    EXPECT_EQ(image.TotalBlocks(), 4);
    const int counts[CBVSW::kSectors] = {1, 0, 2, 0, 0, 0, 0, 1};
    for (int s = 0; s < CBVSW::kSectors; ++s) {
        EXPECT_TRUE(image.SectorExists(s)) << s;
        EXPECT_EQ(image.GetSectorBlockCount(s), counts[s]) << s;
    }
    EXPECT_FALSE(image.SectorExists(8));
    EXPECT_EQ(image.Status(), 6);
    EXPECT_EQ(image.NextIndex(1), 1);
    EXPECT_EQ(image.NextIndex(2), 0);  // the first pass is not built yet

    CBVSW low;
    TempFolder::Write("low.s28", S2(0x0100, Counting(16, 1)) + S8());
    ASSERT_EQ(low.Load('B', "low.s28", nullptr), 1);
    uint8_t message[CBVSW::kMaxMessage];
    ASSERT_TRUE(low.SetTermIdRange(1, 1));
    ASSERT_GT(low.MakeBlockMessage(0, 1, message), 0);
    EXPECT_EQ(low.NextIndex(1), 0);
    EXPECT_EQ(low.NextIndex(2), 0);  // nothing above 0xFFFF
}

TEST_F(ImageTest, VersionBytesComeOnlyFromTheirSixAddresses)
{
    ASSERT_EQ(Load(S2(0xBFF0, Counting(10, 0x30)) + S8()), 1);
    EXPECT_EQ(image.Version(), (std::array<uint8_t, 6>{0, 0, 0, 0, 0, 0}));

    CBVSW across;
    TempFolder::Write("a.s28", bvtest::S0("2011") + S2(0xBFF8, Counting(10, 0x02)) + S8());
    ASSERT_GT(across.Load('B', "a.s28", nullptr), 0);
    EXPECT_EQ(across.Version(), (std::array<uint8_t, 6>{0x04, 0x05, 0x06, 0x07, 0x08, 0x09}));
    EXPECT_EQ(across.Year(), 2011);

    CBVSW part;
    TempFolder::Write("p.s28", S2(0xBFFD, {7, 8, 9, 10}) + S8());
    ASSERT_GT(part.Load('B', "p.s28", nullptr), 0);
    EXPECT_EQ(part.Version(), (std::array<uint8_t, 6>{0, 0, 0, 7, 8, 9}));
    EXPECT_EQ(part.Year(), 2003);
}

TEST_F(ImageTest, TheKeyOfTheImageYearUnlocksTheFirstDataByte)
{
    static const ImageKey keys[] = {{2008, 0x5A}, {2013, 0x11}};
    // As the image is written: the first data byte of each record carries
    // the key, and the checksum is over the keyed byte.
    Bytes keyed = {0x12 ^ 0x5A, 0x34, 0x56};
    struct Case {
        const char* year;
        uint8_t first;
    };
    const Case cases[] = {{"2008", 0x12}, {"2013", 0x12 ^ 0x5A}, {"2009", 0x12 ^ 0x5A}};
    for (const Case& c : cases) {
        CBVSW keyedImage;
        keyedImage.SetKeyTable(keys);
        // The record's checksum holds for the unlocked bytes.
        Bytes plain = keyed;
        plain[0] = c.first;
        std::string record = S2(0x400, plain);
        // Write the byte as the file carries it, leaving the checksum alone.
        char two[3];
        std::snprintf(two, sizeof two, "%02X", keyed[0]);
        record.replace(10, 2, two);
        TempFolder::Write("k.s28", bvtest::S0(c.year) + record + S8());
        if (std::string(c.year) == "2008") {
            ASSERT_EQ(keyedImage.Load('A', "k.s28", nullptr), 1) << c.year;
            CBVSW::BlockView v{};
            ASSERT_TRUE(keyedImage.GetBlock(1, v));
            EXPECT_EQ(Bytes(v.data, v.data + v.length), (Bytes{0x12, 0x34, 0x56}));
        } else {
            EXPECT_EQ(keyedImage.Load('A', "k.s28", nullptr), 1) << c.year;  // no key: taken as it stands
            CBVSW::BlockView v{};
            ASSERT_TRUE(keyedImage.GetBlock(1, v));
            EXPECT_EQ(v.data[0], keyed[0]) << c.year;
        }
    }
    // Without a table of its own no year has a key.
    CBVSW plainImage;
    TempFolder::Write("k.s28", bvtest::S0("2008") + S2(0x400, keyed) + S8());
    ASSERT_EQ(plainImage.Load('A', "k.s28", nullptr), 1);
    CBVSW::BlockView v{};
    ASSERT_TRUE(plainImage.GetBlock(1, v));
    EXPECT_EQ(v.data[0], keyed[0]);
}

TEST_F(ImageTest, TheBlockMessageCarriesTheLineChecksum)
{
    ASSERT_EQ(Load(S2(0x14A30, {0x01, 0x20, 0xFF}) + S8(), 'A'), 1);
    ASSERT_TRUE(image.SetTermIdRange(1, 10));
    ASSERT_TRUE(image.MapSector(5, 1));
    uint8_t m[CBVSW::kMaxMessage] = {};
    ASSERT_EQ(image.MakeBlockMessage(0, 1, m), 4);
    EXPECT_EQ(Bytes(m, m + 10), (Bytes{0x00, 'A', 0x00, 0x01, 3, 1 * 64 + 0x0A, 0x30, 0x01, 0x20, 0xFF}));
    LineMessage line{};
    line.data[2] = 0x40;
    line.data[3] = 0x61;
    for (int k = 0; k < 10; ++k)
        line.data[4 + k] = m[k];
    EXPECT_EQ(m[10], SerialFrame::Checksum(line.data, 13));
    EXPECT_EQ(image.LastBuilt(), 1);

    struct Failure {
        int id;
        int block;
        int status;
    };
    const Failure failures[] = {{100, 1, 6}, {11, 1, 8}, {0, 2, 9}, {0, 0, 9}};
    for (const Failure& f : failures) {
        EXPECT_EQ(image.MakeBlockMessage(f.id, f.block, m), 0) << f.id << "/" << f.block;
        EXPECT_EQ(image.Status(), f.status) << f.id << "/" << f.block;
    }
    CBVSW empty;
    EXPECT_EQ(empty.MakeBlockMessage(0, 1, m), 0);
    EXPECT_EQ(empty.Status(), 5);
}

TEST_F(ImageTest, EveryBlockMessageFitsBothCarriers)
{
    // Records of 200 bytes full of bytes that the carriers escape, at
    // addresses whose sector and low byte escape too, in every sector.
    std::string text;
    Bytes mixed;
    for (int k = 0; k < 200; ++k)
        mixed.push_back(k % 3 == 0 ? 0xFF : k % 3 == 1 ? 0x00 : 0xFE);
    Bytes seventyEight = Fill(78, 0x40);  // 21 of 0xFF: the halving test lets it pass
    for (int k = 0; k < 21; ++k)
        seventyEight[static_cast<size_t>(k)] = 0xFF;
    for (uint32_t s = 0; s < 8; ++s) {
        uint32_t base = s * 0x4000 + 0x3000;
        text += S2(base + 0x00FE, Fill(200, 0xFF)) + S2(base + 0x0300, Fill(200, 0x00)) +
                S2(base + 0x0500, mixed) + S2(base + 0x0740, seventyEight) + S2(base + 0x0800, Fill(200, 0xFE));
    }
    ASSERT_GT(Load(text + S8()), 0);
    ASSERT_TRUE(image.SetTermIdRange(1, 99));
    for (int s = 0; s < CBVSW::kSectors; ++s)
        ASSERT_TRUE(image.MapSector(s, 3));
    for (int b = 1; b <= image.TotalBlocks(); ++b) {
        for (int id : {0, 1, 15, 99}) {
            uint8_t m[CBVSW::kMaxMessage];
            int n = image.MakeBlockMessage(id, b, m) - 1;
            ASSERT_GE(n, 1) << b;
            LineMessage line{};
            line.data[0] = static_cast<uint8_t>(n + 10);
            line.data[2] = 0x40;
            line.data[3] = 0x61;
            for (int k = 0; k < n + 7; ++k)
                line.data[4 + k] = m[k];
            EXPECT_LE(SerialFrame::FrameLength(line), 199) << "block " << b;
            int usb = n + 10;
            for (int k = 0; k < n + 7; ++k)
                usb += m[k] >= 0xFE;
            EXPECT_LE(usb, 100) << "block " << b;
        }
    }
    // The 78 bytes went out in more than one block.
    std::vector<Block> blocks = Blocks();
    int pieces = 0;
    for (const Block& b : blocks)
        pieces += b.address >= 0x3740 && b.address < 0x3740 + 78;
    EXPECT_GE(pieces, 2);
}

TEST_F(ImageTest, ASectorHoldsAtMost3999Blocks)
{
    std::string full, over;
    for (uint32_t k = 0; k < 3999; ++k)
        full += S2(k * 4, {0x20});
    over = full + S2(3999 * 4, {0x20});
    EXPECT_EQ(Load(full + S8()), 3999);
    CBVSW second;
    TempFolder::Write("over.s28", over + S8());
    EXPECT_EQ(second.Load('B', "over.s28", nullptr), 0);
    EXPECT_EQ(second.Status(), 2);
    EXPECT_NE(Log().find("AddRec failure at line 4000!"), std::string::npos);
}

TEST_F(ImageTest, LoadingTwiceNeedsAClearAndAMissingFileThrows)
{
    EXPECT_EQ(image.Clear(), 5);
    ASSERT_EQ(Load(S2(0x100, {1, 2}) + S8()), 1);
    EXPECT_EQ(Load(S2(0x100, {1, 2}) + S8()), 0);
    EXPECT_EQ(image.Status(), 5);
    EXPECT_TRUE(image.IsLoaded());
    EXPECT_EQ(image.Clear(), 0);
    EXPECT_FALSE(image.IsLoaded());
    EXPECT_THROW(image.Load('B', "missing.s28", nullptr), ImageFileError);
    EXPECT_NE(Log().find("Error on opening SWFile missing.s28"), std::string::npos);
}

TEST_F(ImageTest, TerminalRangeAndSectorMapRefuseWhatIsOutside)
{
    EXPECT_FALSE(image.SetTermIdRange(0, 5));
    EXPECT_FALSE(image.SetTermIdRange(5, 4));
    EXPECT_FALSE(image.SetTermIdRange(1, 100));
    EXPECT_EQ(image.Status(), 8);
    EXPECT_TRUE(image.SetTermIdRange(3, 5));
    EXPECT_TRUE(image.SetTermIdRange(2, 5));
    EXPECT_EQ(image.Status(), 11);
    EXPECT_EQ(image.From(), 2);
    image.SetTerminal(9, true);
    EXPECT_FALSE(image.IsTerminalOn(9));
    EXPECT_NE(Log().find("Illegal skive=9"), std::string::npos);

    EXPECT_FALSE(image.MapSector(0, 1));  // nothing loaded yet
    EXPECT_EQ(image.Status(), 7);
    ASSERT_EQ(Load(S2(0x100, {1, 2}) + S8()), 1);
    EXPECT_FALSE(image.MapSector(8, 0));
    EXPECT_FALSE(image.MapSector(0, 4));
    EXPECT_EQ(image.Status(), 6);
    EXPECT_NE(Log().find("Out og range: Dest=4 Source=0"), std::string::npos);
    EXPECT_TRUE(image.MapSector(7, 3));
}

TEST_F(ImageTest, AcknowledgementsWalkTheCompleteNumberUp)
{
    // Two blocks in the first pass, two in the second.
    ASSERT_EQ(Load(S2(0x0100, {1}) + S2(0x0200, {2}) + S2(0x10000, {3}) + S2(0x10100, {4}) + S8()), 4);
    ASSERT_TRUE(image.SetTermIdRange(3, 5));
    image.SetTerminal(3, true);
    image.SetTerminal(5, true);  // 4 does not take part
    uint8_t m[CBVSW::kMaxMessage];

    EXPECT_FALSE(image.Acknowledge(3, 1));  // not sent yet
    EXPECT_EQ(image.Status(), 10);
    ASSERT_EQ(image.NextIndex(1), 1);
    ASSERT_GT(image.MakeBlockMessage(0, 1, m), 0);
    for (int id : {3, 4, 5})
        EXPECT_TRUE(image.Acknowledge(id, 1)) << id;
    EXPECT_FALSE(image.Acknowledge(6, 1));
    EXPECT_EQ(image.Status(), 8);
    EXPECT_FALSE(image.Acknowledge(3, 9));
    EXPECT_EQ(image.Status(), 6);

    ASSERT_EQ(image.NextIndex(1), 2);
    ASSERT_GT(image.MakeBlockMessage(0, 2, m), 0);
    EXPECT_EQ(image.NextIndex(1), 0);
    EXPECT_TRUE(image.Acknowledge(3, 2));
    EXPECT_EQ(image.AdvanceComplete(1), 1);  // 5 still owes block 2
    EXPECT_EQ(image.NextToSend(1), 2);
    // A resend keeps unit 3's acknowledgement.
    ASSERT_GT(image.MakeBlockMessage(0, 2, m), 0);
    EXPECT_TRUE(image.Acknowledge(5, 2));
    EXPECT_EQ(image.AdvanceComplete(1), 2);
    EXPECT_EQ(image.NextToSend(1), 0);
    EXPECT_EQ(image.AdvanceComplete(2), 2);  // the second pass has not begun

    ASSERT_EQ(image.NextIndex(2), 3);
    ASSERT_GT(image.MakeBlockMessage(0, 3, m), 0);
    ASSERT_GT(image.MakeBlockMessage(5, 4, m), 0);  // to unit 5 alone
    EXPECT_FALSE(image.Acknowledge(3, 4));
    EXPECT_TRUE(image.Acknowledge(5, 4));
    EXPECT_EQ(image.NextIndex(2), 0);
    for (int id : {3, 5})
        EXPECT_TRUE(image.Acknowledge(id, 3));
    EXPECT_EQ(image.AdvanceComplete(2), 3);
    EXPECT_EQ(image.AdvanceComplete(1), 0);  // beyond the first pass
    EXPECT_EQ(image.NextToSend(2), 4);
    ASSERT_GT(image.MakeBlockMessage(3, 4, m), 0);
    EXPECT_TRUE(image.Acknowledge(3, 4));
    EXPECT_EQ(image.AdvanceComplete(2), 4);
    EXPECT_EQ(image.NextToSend(2), 0);
}

TEST(ImageHex, PairsReadAsBytesAndCountsSeeTheEscapedOnes)
{
    EXPECT_EQ(CBVSW::HexByte("7f"), 0x7F);
    EXPECT_EQ(CBVSW::HexByte("A0"), 0xA0);
    EXPECT_EQ(CBVSW::HexByte("G1"), 0);
    EXPECT_EQ(CBVSW::HexByte("1 "), 0);
    const uint8_t bytes[] = {0x00, 0x0F, 0x10, 0xFD, 0xFE, 0xFF};
    EXPECT_EQ(CBVSW::CountHighBytes(bytes, 6), 8);
    EXPECT_EQ(CBVSW::CountLowBytes(bytes, 6), 8);
    EXPECT_EQ(CBVSW::CountLowBytes(bytes, 1), 2);
}

}  // namespace
