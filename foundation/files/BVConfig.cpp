#include "foundation/files/BVConfig.h"

#include "foundation/text/FieldText.h"
#include "platform/system/Codepage.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// The standard decimal reading of a value: blanks, a sign, digits; 0 when
// there are none. Too many digits give the largest number rather than garbage.
int LeadingNumber(const char* text)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = std::min<long long>(value * 10 + (*p - '0'), static_cast<long long>(INT_MAX) + 1);
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

CBVConfig::CBVConfig() = default;

CBVConfig::~CBVConfig() = default;

int32_t CBVConfig::MakeKey(int section, int index, int key)
{
    auto valid = [](int part) { return part >= 1 && part <= kLastIndex; };
    if (!valid(section) || !valid(index) || !valid(key))
        return 0;
    return key + 1000 * section + 1000000 * index;
}

int CBVConfig::Open(const std::string& path, int create)
{
    if (m_open)
        m_file.Close();
    uint8_t options = CBVFileEx::kUpdated | CBVFileEx::kCached | (create ? CBVFileEx::kWritable : 0);
    int rc = m_file.Open(path, kRecordSize, kVersion, create ? 1 : 0, options);
    m_open = rc == 0;
    m_path = path;
    // Taken as seen, so that the first Refresh reports only later changes.
    if (m_open)
        m_file.CacheVerify(1);
    else
        BV_LOG(m_log, 90, "Not open after open(%s)", path.c_str());
    return rc;
}

int CBVConfig::Refresh()
{
    // A store that did not open is asked on every tick by some readers; it
    // answers without a log line each time.
    return m_open ? m_file.CacheVerify(1) : -1;
}

const char* CBVConfig::ReadValue(int32_t recordKey, ConfigRecord& record)
{
    // Addresses outside 1..999 all map to key 0; no record answers for them.
    if (recordKey == 0)
        return nullptr;
    std::memset(&record, 0, sizeof record);
    record.key = recordKey;
    if (m_file.ReadRecKey(&record) != 0)
        return nullptr;
    return record.value;
}

char* CBVConfig::ReadString(int section, int index, int key, const char* defaultText, char* buffer, int size)
{
    if (!defaultText)
        defaultText = "";
    if (!buffer) {
        buffer = m_result;
        size = std::min<int>(size, static_cast<int>(sizeof m_result));
    }
    if (size <= 0)
        return buffer;

    std::string result;
    ConfigRecord record;
    const char* value = nullptr;
    if (!m_open)
        BV_LOG(m_log, 90, "Not open at read (%s) at %d:%d:%d", m_path.c_str(), section, index, key);
    else
        value = ReadValue(MakeKey(section, index, key), record);
    if (value)
        result = FieldText(value, sizeof record.value);
    else
        result = defaultText;
    if (result.size() >= static_cast<size_t>(size)) {
        BV_LOG(m_log, 90, "Ulovlig data (%s)", m_path.c_str());
        result.clear();
    }
    std::memcpy(buffer, result.c_str(), result.size() + 1);
    return buffer;
}

char* CBVConfig::ReadUpper(int section, int index, int key, const char* defaultText, char* buffer, int size)
{
    char* text = ReadString(section, index, key, defaultText, buffer, size);
    if (!buffer)
        size = std::min<int>(size, static_cast<int>(sizeof m_result));
    for (int i = 0; i < size && text[i]; ++i)
        text[i] = static_cast<char>(platform::Upper1252(static_cast<unsigned char>(text[i])));
    return text;
}

int CBVConfig::ReadInt(int section, int index, int key, int defaultValue)
{
    char defaultText[kValueSize];
    std::snprintf(defaultText, sizeof defaultText, "%d", defaultValue);
    char value[kValueSize];
    ReadString(section, index, key, defaultText, value, sizeof value);
    return LeadingNumber(value);
}

int CBVConfig::ReadLong(int section, int index, int key, char* buffer, int size)
{
    std::string joined;
    for (int i = 0; i <= 8; ++i) {
        char part[kValueSize];
        ReadString(section, index, key + i, "", part, sizeof part);
        joined += part;
    }
    if (!buffer || size <= 0)
        return 0;
    if (joined.size() >= static_cast<size_t>(size))
        joined.resize(static_cast<size_t>(size) - 1);
    std::memcpy(buffer, joined.c_str(), joined.size() + 1);
    return static_cast<int>(joined.size());
}

int CBVConfig::WriteLong(int section, int index, int key, const std::string& text)
{
    if (text.size() > static_cast<size_t>(kLongSize))
        return 0;
    for (int j = 8; j >= 0; --j) {
        size_t from = static_cast<size_t>(30 * j);
        std::string piece = from < text.size() ? text.substr(from, j == 8 ? std::string::npos : 30) : std::string();
        if (WriteString(section, index, key + j, piece.c_str()) != 0)
            return 0;
    }
    return 1;
}

int CBVConfig::WriteString(int section, int index, int key, const char* text)
{
    if (!m_open) {
        // Nothing is stored in a file that did not open: it may be of another
        // version, or not the file the caller meant at all.
        BV_LOG(m_log, 90, "Not open at write (%s) at %d:%d:%d", m_path.c_str(), section, index, key);
        return -1;
    }
    ConfigRecord record;
    record.key = MakeKey(section, index, key);
    if (record.key == 0) {
        BV_LOG(m_log, 90, "Illegal key (%s) at %d:%d:%d", m_path.c_str(), section, index, key);
        return -1;
    }
    SetFieldText(record.value, sizeof record.value, text ? text : "");
    return m_file.WriteRecKey(&record);
}

int CBVConfig::WriteInt(int section, int index, int key, int value)
{
    char text[kValueSize];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteString(section, index, key, text);
}

int CBVConfig::Lock()
{
    if (!m_open)
        return -1;
    if (m_file.CheckOpen() != 0)
        return -2;
    if (m_file.Lock() != 0) {
        m_file.CheckClose(0);
        return -3;
    }
    // Under the lock nobody else writes: what the cache holds after this is
    // what the file holds until Unlock.
    if (m_file.CacheVerify(1) < 0) {
        m_file.CheckClose(0);
        return -4;
    }
    return 0;
}

int CBVConfig::Unlock() { return m_open ? m_file.CheckClose(0) : -1; }
