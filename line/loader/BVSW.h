#pragma once
// One target software image in memory, read from an S-record file (.s28),
// and for every block of it and every unit taking part, whether the block
// has been sent and acknowledged. The software loader broadcasts the blocks
// that NextIndex names, records the units' acknowledgement lists and walks
// the complete number up; sectors 0..3 (below 0x10000) go in the first
// pass, sectors 4..7 in the second.
//
// Every block is cut so that its block message fits both carriers: the
// escaped serial frame (address byte to carriage return, at most 199 bytes)
// and a USB adapter's message frame (length with its escape bytes at most
// 100). A record is first cut at a 4 KB page boundary, then halved when its
// data look too long for one frame, then halved again as long as a piece
// would still not fit.
//
// Status codes (Status()):
//   0 loaded, no failure          7 the sector does not exist
//   2 a block was not filed       8 a terminal id outside 1..99 or From..To
//   3 the file is corrupt         9 a block number beyond its sector's end
//   4 no memory for a block      10 an acknowledgement for a block not sent there
//   5 no image, or loaded twice  11 the terminal range changed while set
//   6 out of range               12 the file ended before its S8 record
#include "foundation/files/BVLog.h"
#include "line/loader/LoadProgress.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// The one-byte key that images of some years carry XORed into the first data
// byte of every S2 record.
struct ImageKey {
    int32_t year;
    uint8_t key;
};

// The keys of the image years 2004..2012 that have one. The values are not
// known to us, so the table holds none and every image is read as it stands.
inline constexpr std::span<const ImageKey> kImageKeys{};

// An image file that cannot be opened.
class ImageFileError : public std::runtime_error {
public:
    ImageFileError(const std::string& path, int error);
    int Error() const { return m_error; }

private:
    int m_error;
};

class CBVSW {
public:
    static constexpr int kSectors = 8;
    static constexpr int kFirstPassSectors = 4;
    static constexpr int kSectorSize = 0x4000;
    static constexpr uint32_t kAddressEnd = 0x20000;
    static constexpr int kMaxBlocksPerSector = 3999;
    static constexpr int kMaxData = 200;
    static constexpr int kTerminals = 99;
    // Header bytes before the data, and the check byte after them.
    static constexpr int kMessageHeader = 7;
    static constexpr int kMaxMessage = kMessageHeader + kMaxData + 1;
    // The two carriers' limits.
    static constexpr int kMaxSerialFrame = 199;
    static constexpr int kMaxUsbLength = 100;

    // State bytes of a block per terminal position.
    static constexpr uint8_t kNotSent = 16;
    static constexpr uint8_t kSent = 17;
    static constexpr uint8_t kAcknowledged = 18;

    CBVSW();
    virtual ~CBVSW();
    CBVSW(const CBVSW&) = delete;
    CBVSW& operator=(const CBVSW&) = delete;

    // Reads the image; the model byte goes into every block message. The
    // number of blocks, or 0 on failure (then Status() says why). A file that
    // cannot be opened throws ImageFileError. progress may be null.
    int Load(uint8_t model, const std::string& path, LoadProgress* progress);
    // Frees the image: 0, or 5 when none was loaded.
    int Clear();

    bool SetTermIdRange(int from, int to);
    void SetTerminal(int id, bool flag);
    bool IsTerminalOn(int id);
    void ClearTerminals();
    bool MapSector(int source, int destination);
    bool SectorExists(int sector);
    int GetSectorBlockCount(int sector) const;

    // Writes the block message of global block number block for terminal id
    // (0 = all) into out (room for kMaxMessage bytes) and marks the block
    // sent there. The data length + 1, or 0 on failure.
    int MakeBlockMessage(int id, int block, uint8_t* out);
    bool Acknowledge(int id, int block);
    int AdvanceComplete(int pass);
    int NextIndex(int pass) const;
    int NextToSend(int pass);

    // Tests and tools put in their own key table; the table must outlive the
    // object.
    void SetKeyTable(std::span<const ImageKey> table) { m_keys = table; }

    int Status() const { return m_status; }
    bool IsLoaded() const { return m_loaded; }
    int32_t Year() const { return m_year; }
    const std::array<uint8_t, 6>& Version() const { return m_version; }
    int FirstPassBlocks() const { return m_firstPassBlocks; }
    int TotalBlocks() const { return m_totalBlocks; }
    int LastBuilt() const { return m_lastBuilt; }
    int Complete() const { return m_complete; }
    int From() const { return m_from; }
    int To() const { return m_to; }

    // A block as it was filed, for tools and tests: null when the global
    // number names none.
    struct BlockView {
        int sector;
        uint32_t address;
        int length;
        const uint8_t* data;
    };
    bool GetBlock(int block, BlockView& out) const;

    // Two hexadecimal characters as a byte; an invalid pair reads as 0.
    static uint8_t HexByte(const char* two);
    // n, plus one for each byte 0xFE or 0xFF among the n bytes.
    static int CountHighBytes(const uint8_t* bytes, int n);
    // n, plus one for each byte 0x00..0x0F among the n bytes.
    static int CountLowBytes(const uint8_t* bytes, int n);
    // Whether the block message of this block fits both carriers whatever
    // its block number, destination sector, terminal and check byte turn out
    // to be.
    static bool FitsCarriers(uint32_t address, const uint8_t* data, int n);

private:
    struct ImageBlock {
        uint8_t state[kTerminals];
        uint8_t length;
        uint32_t address;
        uint8_t data[kMaxData];
    };
    struct ImageSector {
        int last = 0;
        int first = 0;
        bool marked = false;
        int complete = 0;   // local number
        int lastBuilt = 0;  // global number
        int destination = 0;
        std::vector<ImageBlock> blocks;
    };

    // The outcome of filing: 0, or the status code of the failure.
    int AddBlock(uint32_t address, const uint8_t* data, int n);
    int FileFitting(uint32_t address, const uint8_t* data, int n, long line);
    int FileRecord(uint32_t address, const uint8_t* data, int n, long line);
    void ReadRecords(const std::string& text, LoadProgress* progress);
    void Discard();
    // The sector holding global block number block, or -1.
    int SectorOfBlock(int block) const;
    int SectorStatus(int sector) const;
    uint8_t KeyOfYear(int32_t year) const;

    CBVLog m_log;
    int32_t m_year = 2003;
    int m_firstPassBlocks = 0;
    int m_totalBlocks = 0;
    int m_lastBuilt = 0;
    int m_complete = 0;
    bool m_loaded = false;
    std::array<bool, kTerminals + 1> m_takePart{};
    std::array<uint8_t, 6> m_version{};
    int m_from = 0;
    int m_to = 0;
    int m_idCount = 0;
    bool m_single = true;
    int m_status = 0;
    uint8_t m_model = 0;
    uint8_t m_key = 0;
    std::span<const ImageKey> m_keys = kImageKeys;
    std::array<std::unique_ptr<ImageSector>, kSectors> m_sectors;
};
