#include "line/loader/BVSW.h"

#include "platform/files/NativeFile.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr int kMinCount = 4;
constexpr int kMaxCount = 204;
constexpr uint32_t kVersionFirst = 0xBFFA;
constexpr uint32_t kVersionLast = 0xBFFF;
constexpr uint32_t kPageMask = ~uint32_t{0xFFF};
constexpr int kHalvingHigh = 99;  // CountHighBytes above this: too long
constexpr int kHalvingLow = 79;   // CountLowBytes from this on: too long
constexpr int kProgressEnd = 1000;
// The image key applies to these years only.
constexpr int32_t kFirstKeyYear = 2004;
constexpr int32_t kLastKeyYear = 2012;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

ImageFileError::ImageFileError(const std::string& path, int error)
    : std::runtime_error("cannot open " + path + ": " + std::strerror(error)), m_error(error)
{
}

CBVSW::CBVSW() = default;

CBVSW::~CBVSW() { Clear(); }

uint8_t CBVSW::HexByte(const char* two)
{
    int high = HexDigit(two[0]);
    int low = HexDigit(two[1]);
    if (high < 0 || low < 0)
        return 0;
    return static_cast<uint8_t>(high * 16 + low);
}

int CBVSW::CountHighBytes(const uint8_t* bytes, int n)
{
    int count = n;
    for (int k = 0; k < n; ++k)
        count += bytes[k] >= 0xFE;
    return count;
}

int CBVSW::CountLowBytes(const uint8_t* bytes, int n)
{
    int count = n;
    for (int k = 0; k < n; ++k)
        count += bytes[k] <= 0x0F;
    return count;
}

bool CBVSW::FitsCarriers(uint32_t address, const uint8_t* data, int n)
{
    // The block number, the destination sector and the terminal are set
    // only when the message is built, and the check byte follows from them:
    // those bytes are counted as escaped on both carriers.
    // Serial: address byte, 0x40, the command, the seven header bytes and the
    // check byte each possibly escaped, the data escaped, carriage return.
    int serial = 1 + 2 + 2 * (kMessageHeader + 1) + CountLowBytes(data, n) + 1;
    // USB: length n + 10, with an escape for each 0xFE or 0xFF from position
    // 4 on; of the header only the block number's low byte, the sector byte
    // and the address byte can be one.
    int usb = 10 + 2 + ((address & 0xFF) >= 0xFE ? 1 : 0) + CountHighBytes(data, n);
    return serial <= kMaxSerialFrame && usb <= kMaxUsbLength;
}

uint8_t CBVSW::KeyOfYear(int32_t year) const
{
    if (year < kFirstKeyYear || year > kLastKeyYear)
        return 0;
    for (const ImageKey& k : m_keys)
        if (k.year == year)
            return k.key;
    return 0;
}

int CBVSW::AddBlock(uint32_t address, const uint8_t* data, int n)
{
    if (address >= kAddressEnd) {
        BV_LOG(m_log, 90, "Illegal sector = %ld", static_cast<long>(address / kSectorSize));
        return 2;
    }
    int s = static_cast<int>(address / kSectorSize);
    try {
        if (!m_sectors[s])
            m_sectors[s] = std::make_unique<ImageSector>();
        ImageSector& sector = *m_sectors[s];
        // A sector's block list has room for so many; an image that needs
        // more is not one this loader can send.
        if (static_cast<int>(sector.blocks.size()) >= kMaxBlocksPerSector)
            return 2;
        ImageBlock& b = sector.blocks.emplace_back();
        std::memset(b.state, kNotSent, sizeof b.state);
        b.length = static_cast<uint8_t>(n);
        b.address = address;
        std::memcpy(b.data, data, static_cast<size_t>(n));
        std::memset(b.data + n, 0, sizeof b.data - static_cast<size_t>(n));
    } catch (const std::bad_alloc&) {
        BV_LOG(m_log, 90, "malloc failure!");
        return 4;
    }
    return 0;
}

int CBVSW::FileFitting(uint32_t address, const uint8_t* data, int n, long line)
{
    if (n > 1 && !FitsCarriers(address, data, n)) {
        // The second half first, as the halving of a long record does.
        int second = n / 2;
        int first = n - second;
        if (int e = FileFitting(address + static_cast<uint32_t>(first), data + first, second, line); e != 0)
            return e;
        return FileFitting(address, data, first, line);
    }
    if (int e = AddBlock(address, data, n); e != 0) {
        BV_LOG(m_log, 90, "AddRec failure at line %ld!", line);
        return e == 4 ? 4 : 2;
    }
    return 0;
}

int CBVSW::FileRecord(uint32_t address, const uint8_t* data, int n, long line)
{
    uint32_t last = address + static_cast<uint32_t>(n) - 1;
    if (address <= kVersionLast && last >= kVersionFirst) {
        for (uint32_t a = std::max(address, kVersionFirst); a <= std::min(last, kVersionLast); ++a)
            m_version[a - kVersionFirst] = data[a - address];
        BV_LOG(m_log, 10, "Versjon %ld %ld %ld", line, static_cast<long>(address), static_cast<long>(last));
    }
    // A block never crosses a 4 KB page of the target: the part in the last
    // page becomes a block of its own, filed first.
    if ((address & kPageMask) != (last & kPageMask)) {
        uint32_t page = last & kPageMask;
        int tail = static_cast<int>(last - page + 1);
        n -= tail;
        if (int e = FileFitting(page, data + n, tail, line); e != 0)
            return e;
    }
    // The halving test looks at the low address byte and the data before the
    // last byte, as the frame carries them.
    uint8_t low[kMaxData];
    low[0] = static_cast<uint8_t>(address & 0xFF);
    std::memcpy(low + 1, data, static_cast<size_t>(std::max(n - 1, 0)));
    if (CountHighBytes(data, n) > kHalvingHigh || CountLowBytes(low, n) >= kHalvingLow) {
        int second = n / 2;
        if (int e = FileFitting(address + static_cast<uint32_t>(n - second), data + n - second, second, line); e != 0)
            return e;
        n -= second;
    }
    return FileFitting(address, data, n, line);
}

void CBVSW::ReadRecords(const std::string& text, LoadProgress* progress)
{
    long line = 0;
    size_t at = 0;
    const size_t end = text.size();
    auto corrupt = [&](size_t start, size_t stop) {
        std::string record = text.substr(start, std::min(stop, end) - start);
        BV_LOG(m_log, 80, "File corrupt at line %d: '%s'", static_cast<int>(line), record.c_str());
        m_status = 3;
    };
    while (at < end) {
        if (text[at] != 'S') {
            ++at;
            continue;
        }
        size_t start = at;
        if (end - at < 4) {
            ++line;
            corrupt(start, end);
            return;
        }
        char type = text[at + 1];
        int count = HexByte(&text[at + 2]);
        at += 4;
        ++line;
        if (progress)
            progress->SetPos(static_cast<int>(line / 3));
        if (type == '8') {
            if (m_status == 12)
                m_status = 0;
            return;
        }
        if (type != '0' && type != '2') {
            corrupt(start, at);
            return;
        }
        if (count < kMinCount || count > kMaxCount || end - at < static_cast<size_t>(2 * count)) {
            corrupt(start, at);
            return;
        }
        const char* chars = &text[at];
        at += static_cast<size_t>(2 * count);
        if (type == '0') {
            // The address field, read as a decimal number, is the year.
            int32_t year = 0;
            for (int k = 0; k < 4 && chars[k] >= '0' && chars[k] <= '9'; ++k)
                year = year * 10 + (chars[k] - '0');
            m_year = year;
            m_key = KeyOfYear(year);
            continue;
        }
        uint8_t bytes[kMaxCount];
        for (int k = 0; k < count; ++k)
            bytes[k] = HexByte(chars + 2 * k);
        bytes[3] ^= m_key;
        unsigned sum = static_cast<unsigned>(count);
        for (int k = 0; k < count; ++k)
            sum += bytes[k];
        if ((sum & 0xFF) != 0xFF) {
            std::string record = text.substr(start, at - start);
            BV_LOG(m_log, 80, "Checksum failure (=%02X) at line %ld: '%s'", sum & 0xFF, line, record.c_str());
            m_status = 3;
            return;
        }
        uint32_t address = (uint32_t{bytes[0]} << 16) | (uint32_t{bytes[1]} << 8) | bytes[2];
        int n = count - 4;
        if (n == 0)
            continue;  // a record without data fills nothing
        if (int e = FileRecord(address, bytes + 3, n, line); e != 0) {
            m_status = e;
            return;
        }
    }
}

int CBVSW::Load(uint8_t model, const std::string& path, LoadProgress* progress)
{
    m_lastBuilt = 0;
    m_complete = 0;
    m_year = 2003;
    m_key = 0;
    m_status = 12;
    if (progress)
        progress->SetRange(0, kProgressEnd);
    if (m_loaded) {
        m_status = 5;
        return 0;
    }
    try {
        for (auto& s : m_sectors)
            if (!s)
                s = std::make_unique<ImageSector>();
    } catch (const std::bad_alloc&) {
        BV_LOG(m_log, 90, "malloc failure!");
        m_status = 4;
        return 0;
    }
    m_version.fill(0);
    m_model = model;

    platform::NativeFile file;
    if (int e = file.OpenExisting(path, platform::NativeFile::Access::Read); e != 0) {
        BV_LOG(m_log, 80, "Error on opening SWFile %s. Error= %u", path.c_str(), static_cast<unsigned>(e));
        Discard();
        throw ImageFileError(path, e);
    }
    std::string text;
    int64_t size = file.Size();
    if (size > 0) {
        text.resize(static_cast<size_t>(size));
        long got = file.ReadAt(text.data(), text.size(), 0);
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    }
    file.Close();

    ReadRecords(text, progress);

    int total = 0;
    for (int s = 0; s < kSectors; ++s) {
        if (!m_sectors[s])
            continue;
        ImageSector& sector = *m_sectors[s];
        sector.marked = true;
        sector.first = total + 1;
        total += static_cast<int>(sector.blocks.size());
        sector.last = total;
        if (s == kFirstPassSectors - 1)
            m_firstPassBlocks = total;
    }
    m_totalBlocks = total;
    if (total > 0 && m_status == 0) {
        m_loaded = true;
        if (progress)
            progress->SetPos(kProgressEnd);
        return total;
    }
    Discard();
    if (progress)
        progress->SetPos(0);
    return 0;
}

void CBVSW::Discard()
{
    for (auto& s : m_sectors)
        s.reset();
    m_loaded = false;
    m_firstPassBlocks = 0;
    m_totalBlocks = 0;
    m_lastBuilt = 0;
    m_complete = 0;
}

int CBVSW::Clear()
{
    if (!m_loaded)
        return 5;
    Discard();
    return 0;
}

bool CBVSW::SetTermIdRange(int from, int to)
{
    if (from < 1 || from > kTerminals || to < 1 || to > kTerminals || to < from) {
        BV_LOG(m_log, 80, "Illegal TermID From=%d To=%d", from, to);
        m_status = 8;
        return false;
    }
    if (m_from != 0 && (m_from != from || m_to != to)) {
        BV_LOG(m_log, 90, "ID range changed - Situation is not handled!");
        m_status = 11;
    }
    m_from = from;
    m_to = to;
    m_idCount = to - from + 1;
    m_single = from == to;
    return true;
}

void CBVSW::SetTerminal(int id, bool flag)
{
    if (m_from == 0 || id < m_from || id > m_to) {
        BV_LOG(m_log, 80, "Illegal skive=%d", id);
        return;
    }
    m_takePart[static_cast<size_t>(id)] = flag;
}

bool CBVSW::IsTerminalOn(int id)
{
    if (m_from == 0 || id < m_from || id > m_to) {
        BV_LOG(m_log, 80, "Illegal skive=%d", id);
        return false;
    }
    return m_takePart[static_cast<size_t>(id)];
}

void CBVSW::ClearTerminals() { m_takePart.fill(false); }

bool CBVSW::MapSector(int source, int destination)
{
    if (destination < 0 || destination >= 4 || source < 0 || source >= kSectors) {
        BV_LOG(m_log, 80, "Out og range: Dest=%d Source=%d", destination, source);
        m_status = 6;
        return false;
    }
    if (!m_sectors[source]) {
        BV_LOG(m_log, 90, "Sector %d not allocated", source);
        m_status = 7;
        return false;
    }
    m_sectors[source]->destination = destination;
    return true;
}

int CBVSW::SectorStatus(int sector) const
{
    if (!m_loaded)
        return 5;
    if (sector < 0 || sector >= kSectors)
        return 6;
    if (!m_sectors[sector])
        return 7;
    return 0;
}

bool CBVSW::SectorExists(int sector)
{
    int e = SectorStatus(sector);
    if (e != 0)
        m_status = e;
    return e == 0;
}

int CBVSW::GetSectorBlockCount(int sector) const
{
    if (SectorStatus(sector) != 0)
        return 0;
    return static_cast<int>(m_sectors[sector]->blocks.size());
}

int CBVSW::SectorOfBlock(int block) const
{
    for (int s = 0; s < kSectors; ++s)
        if (m_sectors[s] && block >= m_sectors[s]->first && block <= m_sectors[s]->last)
            return s;
    return -1;
}

bool CBVSW::GetBlock(int block, BlockView& out) const
{
    if (!m_loaded)
        return false;
    int s = SectorOfBlock(block);
    if (s < 0)
        return false;
    const ImageBlock& b = m_sectors[s]->blocks[static_cast<size_t>(block - m_sectors[s]->first)];
    out = {s, b.address, b.length, b.data};
    return true;
}

int CBVSW::MakeBlockMessage(int id, int block, uint8_t* out)
{
    if (id < 0 || id > kTerminals) {
        m_status = 6;
        return 0;
    }
    if (id != 0 && (m_from == 0 || id < m_from || id > m_to)) {
        m_status = 8;
        return 0;
    }
    if (!m_loaded) {
        m_status = 5;
        return 0;
    }
    int s = SectorOfBlock(block);
    if (s < 0) {
        m_status = 9;
        return 0;
    }
    ImageSector& sector = *m_sectors[s];
    ImageBlock& b = sector.blocks[static_cast<size_t>(block - sector.first)];
    int n = b.length;
    out[0] = static_cast<uint8_t>(id);
    out[1] = m_model;
    out[2] = static_cast<uint8_t>(block >> 8);
    out[3] = static_cast<uint8_t>(block & 0xFF);
    out[4] = static_cast<uint8_t>(n);
    out[5] = static_cast<uint8_t>(sector.destination * 64 + ((b.address >> 8) & 0x3F));
    out[6] = static_cast<uint8_t>(b.address & 0xFF);
    std::memcpy(out + kMessageHeader, b.data, static_cast<size_t>(n));
    // The line checksum of the whole 0x61 message: 0x40 and the command at
    // positions 2 and 3 give the 0xA3.
    unsigned check = 0xA3;
    for (int k = 0; k <= n + 6; ++k)
        check += out[k] * static_cast<unsigned>(k + 4);
    out[n + kMessageHeader] = static_cast<uint8_t>(check & 0xFF);

    sector.lastBuilt = block;
    m_lastBuilt = block;
    // A block sent again keeps the acknowledgements it already has: a unit
    // that holds it does not have to answer for it twice.
    auto markSent = [](uint8_t& state) {
        if (state != kAcknowledged)
            state = kSent;
    };
    if (id == 0) {
        for (int p = 0; p < m_idCount; ++p)
            markSent(b.state[p]);
    } else {
        markSent(b.state[id - m_from]);
    }
    return n + 1;
}

bool CBVSW::Acknowledge(int id, int block)
{
    if (m_from == 0 || id < m_from || id > m_to) {
        m_status = 8;
        return false;
    }
    if (!m_loaded) {
        m_status = 5;
        return false;
    }
    int s = SectorOfBlock(block);
    if (s < 0) {
        m_status = 6;
        return false;
    }
    ImageSector& sector = *m_sectors[s];
    uint8_t& state = sector.blocks[static_cast<size_t>(block - sector.first)].state[id - m_from];
    if (state != kSent && state != kAcknowledged) {
        m_status = 10;
        return false;
    }
    state = kAcknowledged;
    return true;
}

int CBVSW::AdvanceComplete(int pass)
{
    for (;;) {
        int next = m_complete + 1;
        int s = m_loaded ? SectorOfBlock(next) : -1;
        if (s < 0)
            break;
        ImageSector& sector = *m_sectors[s];
        const ImageBlock& b = sector.blocks[static_cast<size_t>(next - sector.first)];
        bool all = true;
        for (int p = 0; p < m_idCount && all; ++p)
            if (IsTerminalOn(m_from + p) && b.state[p] != kAcknowledged)
                all = false;
        if (!all)
            break;
        m_complete = next;
        sector.complete = next - sector.first + 1;
    }
    if (pass == 1)
        return m_complete <= m_firstPassBlocks ? m_complete : 0;
    return m_complete > m_firstPassBlocks && m_complete <= m_totalBlocks ? m_complete : m_firstPassBlocks;
}

int CBVSW::NextIndex(int pass) const
{
    if (pass == 1)
        return m_lastBuilt < m_firstPassBlocks ? m_lastBuilt + 1 : 0;
    return m_lastBuilt >= m_firstPassBlocks && m_lastBuilt < m_totalBlocks ? m_lastBuilt + 1 : 0;
}

int CBVSW::NextToSend(int pass)
{
    AdvanceComplete(pass);
    if (pass == 1)
        return m_complete < m_firstPassBlocks ? m_complete + 1 : 0;
    return m_complete >= m_firstPassBlocks && m_complete < m_totalBlocks ? m_complete + 1 : 0;
}
