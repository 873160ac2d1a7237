#include "foundation/files/BVIniFile.h"

#include "platform/files/ArchiveFlag.h"
#include "platform/system/Clock.h"
#include "platform/system/Codepage.h"
#include "platform/files/FileSystem.h"
#include "platform/files/NativeFile.h"
#include "platform/files/SharedLock.h"
#include "platform/system/SystemInfo.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

namespace {

// A reader that meets a writer's lock (or any other sharing trouble) tries 11
// times in all, 100 ms apart: a little over a second, far longer than any
// rewrite takes.
constexpr int kReadAttempts = 11;
constexpr unsigned kReadPauseMs = 100;
// A writer waits for the lock over the same second, but looks far more often:
// another writer holds it for milliseconds and takes it again at once when it
// has more to write, so a writer that only looked every 100 ms could miss
// every free moment.
constexpr int kWriteAttempts = 220;
constexpr unsigned kWritePauseMaxMs = 9;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// Values lose blanks, tabs and stray '=' at both ends, as every reader of
// these files has always taken them.
std::string_view TrimValue(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && (IsBlank(s[b]) || s[b] == '='))
        ++b;
    while (e > b && (IsBlank(s[e - 1]) || s[e - 1] == '='))
        --e;
    return s.substr(b, e - b);
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (platform::Upper1252(static_cast<unsigned char>(a[i])) !=
            platform::Upper1252(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A line break inside a queued text would split it into lines the next reader
// takes for something else; it is written as a blank.
std::string OneLine(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

unsigned WritePause()
{
    static thread_local std::minstd_rand random(
        static_cast<unsigned>(platform::ProcessId()) * 2654435761u ^ static_cast<unsigned>(reinterpret_cast<uintptr_t>(&random)));
    return 1 + static_cast<unsigned>(random() % kWritePauseMaxMs);
}

}  // namespace

std::vector<CBVIniFile::Section> CBVIniFile::Parse(std::string_view text)
{
    std::vector<Section> sections(1);  // the lines above the first header
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        std::string_view raw = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (end == std::string_view::npos)
            pos = text.size();
        else
            pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);

        std::string_view content = TrimBlanks(raw);
        if (!content.empty() && content.front() == '[') {
            Section s;
            s.hasHeader = true;
            s.header = std::string(raw);
            size_t close = content.find(']');
            s.name = std::string(TrimBlanks(content.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            sections.push_back(std::move(s));
            continue;
        }
        Line line;
        line.raw = std::string(raw);
        size_t eq = content.find('=');
        // Lines starting with ';' or '#' are comments of other writers' files.
        if (eq != std::string_view::npos && content.front() != ';' && content.front() != '#') {
            std::string_view key = TrimBlanks(content.substr(0, eq));
            if (!key.empty()) {
                line.isKey = true;
                line.key = std::string(key);
                line.value = std::string(TrimValue(content.substr(eq + 1)));
            }
        }
        sections.back().lines.push_back(std::move(line));
    }
    return sections;
}

std::string CBVIniFile::Serialize(const std::vector<Section>& sections)
{
    std::string out;
    for (const Section& s : sections) {
        if (s.hasHeader) {
            out += s.header;
            out += "\r\n";
        }
        for (const Line& line : s.lines) {
            out += line.raw;
            out += "\r\n";
        }
    }
    return out;
}

void CBVIniFile::Merge(std::vector<Section>& sections, std::string_view section, std::string_view key,
                       std::string_view value)
{
    Section* target = nullptr;
    for (Section& s : sections)
        if (s.hasHeader && SameName(s.name, section)) {
            target = &s;
            break;
        }
    if (!target) {
        Section s;
        s.hasHeader = true;
        s.name = std::string(section);
        s.header = "[" + s.name + "]";
        sections.push_back(std::move(s));
        target = &sections.back();
    }
    size_t lastKey = 0;  // insert after the last key line, ahead of trailing blank lines
    for (size_t i = 0; i < target->lines.size(); ++i) {
        Line& line = target->lines[i];
        if (!line.isKey)
            continue;
        if (SameName(line.key, key)) {
            line.value = std::string(value);
            line.raw = line.key + "=" + line.value;
            return;
        }
        lastKey = i + 1;
    }
    Line line;
    line.isKey = true;
    line.key = std::string(key);
    line.value = std::string(value);
    line.raw = line.key + "=" + line.value;
    target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(lastKey), std::move(line));
}

void CBVIniFile::Load(std::string text)
{
    m_text = std::move(text);
    m_sections = Parse(m_text);
    m_loaded = true;
}

void CBVIniFile::Reset()
{
    m_loaded = false;
    m_text.clear();
    m_sections.clear();
    m_queue.clear();
}

bool CBVIniFile::Refused(const std::string& path, int error, int64_t size)
{
    if (error == EFBIG)
        BV_LOG(m_log, 80, "%s: %lld bytes, more than %lld; not read", path.c_str(), static_cast<long long>(size),
               static_cast<long long>(m_sizeLimit));
    else if (error == platform::kNotRegularFile || error == EISDIR)
        BV_LOG(m_log, 80, "%s is no plain file; not read", path.c_str());
    else
        return false;
    m_openError = error;
    return true;
}

int CBVIniFile::Open(const std::string& path)
{
    m_loaded = false;
    m_text.clear();
    m_sections.clear();
    m_identity = {};
    int rc = 0;
    for (int attempt = 1; attempt <= kReadAttempts; ++attempt) {
        if (attempt > 1)
            platform::SleepMs(kReadPauseMs);
        platform::NativeFile file;
        rc = file.OpenExisting(path, platform::NativeFile::Access::Read);
        m_openError = rc;
        if (rc == ENOENT)
            return -1;
        if (Refused(path, rc, 0))
            return -1;
        if (rc != 0) {
            BV_LOG(m_log, 70, "%d=Open(%s)=%d", -1, path.c_str(), rc);
            continue;
        }
        // A writer holds the lock from before it reads the file until the
        // new one is in place.
        rc = platform::TryLockShared(file, 0, 0);
        if (rc != 0) {
            BV_LOG(m_log, 70, "%d=Open(%s)=%d", -1, path.c_str(), rc);
            continue;
        }
        // Locked the file a writer has just replaced: the new one is there.
        if (!(platform::IdentityOf(path) == file.Identity())) {
            rc = EAGAIN;
            continue;
        }
        int64_t size = file.Size();
        if (size < 0) {
            rc = errno;
            BV_LOG(m_log, 70, "%d=Stat(%s)=%d", -1, path.c_str(), rc);
            continue;
        }
        m_identity = file.Identity();
        if (size > m_sizeLimit && Refused(path, EFBIG, size))
            return -1;
        std::string text(static_cast<size_t>(size), '\0');
        long got = file.ReadAt(text.data(), text.size(), 0);
        if (got != static_cast<long>(text.size())) {
            rc = errno ? errno : EIO;
            BV_LOG(m_log, 70, "%ld=Read(%s)=%d", got, path.c_str(), rc);
            continue;
        }
        Load(std::move(text));
        m_openError = 0;
        return 0;
    }
    BV_LOG(m_log, 80, "Open(%s)=%d", path.c_str(), rc);
    m_openError = rc;
    return -1;
}

const CBVIniFile::Line* CBVIniFile::Find(std::string_view section, std::string_view key) const
{
    for (const Section& s : m_sections) {
        if (!s.hasHeader || !SameName(s.name, section))
            continue;
        for (const Line& line : s.lines)
            if (line.isKey && SameName(line.key, key))
                return &line;
        return nullptr;  // only the first section of the name counts
    }
    return nullptr;
}

bool CBVIniFile::Lookup(std::string_view section, std::string_view key, std::string* value) const
{
    const Line* line = Find(section, key);
    if (line && value)
        *value = line->value;
    return line != nullptr;
}

std::string CBVIniFile::GetString(std::string_view section, std::string_view key, std::string_view defaultValue)
{
    if (!m_loaded) {
        BV_LOG(m_log, 50, "Cache not loaded [%.*s].%.*s=%.*s", static_cast<int>(section.size()), section.data(),
               static_cast<int>(key.size()), key.data(), static_cast<int>(defaultValue.size()), defaultValue.data());
        return std::string(defaultValue);
    }
    const Line* line = Find(section, key);
    return line ? line->value : std::string(defaultValue);
}

int CBVIniFile::GetInt(std::string_view section, std::string_view key, int defaultValue)
{
    std::string value = GetString(section, key, {});
    if (value.empty())
        return defaultValue;
    long n = std::strtol(value.c_str(), nullptr, 10);
    if (n > INT_MAX)
        return INT_MAX;
    if (n < INT_MIN)
        return INT_MIN;
    return static_cast<int>(n);
}

void CBVIniFile::PutString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string s(TrimBlanks(OneLine(section)));
    std::string k(TrimBlanks(OneLine(key)));
    if (s.empty() || k.empty() || k.find('=') != std::string::npos) {
        BV_LOG(m_log, 80, "PutString([%s].%s) Illegal name", s.c_str(), k.c_str());
        return;
    }
    m_queue.push_back({std::move(s), std::move(k), OneLine(value)});
}

void CBVIniFile::PutInt(std::string_view section, std::string_view key, int value)
{
    PutString(section, key, std::to_string(value));
}

void CBVIniFile::RemoveKeys(std::string_view section, std::function<bool(std::string_view key)> which)
{
    if (which)
        m_queue.push_back({std::string(TrimBlanks(OneLine(section))), {}, {}, std::move(which)});
}

int CBVIniFile::Write(const std::string& path, bool startFresh, ArchiveMark mark)
{
    platform::NativeFile file;
    bool locked = false;
    int rc = 0;
    for (int attempt = 1; attempt <= kWriteAttempts && !locked; ++attempt) {
        if (attempt > 1)
            platform::SleepMs(WritePause());
        rc = file.OpenOrCreate(path);
        if (rc == ENOENT || rc == ENOTDIR || rc == EISDIR || rc == platform::kNotRegularFile)
            break;  // no folder for it, or no plain file: waiting will not change it
        if (rc != 0) {
            BV_LOG(m_log, 70, "%d=Open(%s)=%d", -1, path.c_str(), rc);
            continue;
        }
        rc = file.TryLock(0, 0);
        if (rc != 0) {
            file.Close();
            continue;
        }
        // Another writer replaced the file while this one waited for the
        // lock of the old one; start again on the file that is there now.
        if (!(platform::IdentityOf(path) == file.Identity())) {
            file.Close();
            rc = EAGAIN;
            continue;
        }
        locked = true;
    }
    if (!locked) {
        BV_LOG(m_log, 80, "Open(%s)=%d", path.c_str(), rc);
        return -1;
    }

    std::vector<Section> sections(1);
    if (!startFresh) {
        int64_t size = file.Size();
        if (size > m_sizeLimit) {
            BV_LOG(m_log, 80, "%s: %lld bytes, more than %lld; not rewritten", path.c_str(),
                   static_cast<long long>(size), static_cast<long long>(m_sizeLimit));
            return -1;
        }
        std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
        if (size < 0 || file.ReadAt(text.data(), text.size(), 0) != static_cast<long>(text.size())) {
            BV_LOG(m_log, 80, "Read(%s)=%d", path.c_str(), errno);
            return -1;
        }
        sections = Parse(text);
    }
    for (const Pending& p : m_queue) {
        if (!p.remove) {
            Merge(sections, p.section, p.key, p.value);
            continue;
        }
        for (Section& s : sections) {
            if (s.hasHeader && SameName(s.name, p.section)) {
                std::erase_if(s.lines, [&](const Line& line) { return line.isKey && p.remove(line.key); });
                break;  // only the first section of the name counts
            }
        }
    }
    std::string bytes = Serialize(sections);
    // Other writers wait for the lock held here, so the mark read now is the
    // one the file replaced carries.
    const bool marked = mark == ArchiveMark::Set || platform::HasArchiveFlag(path);

    rc = platform::WriteFileAtomically(path, bytes);
    if (rc != 0) {
        BV_LOG(m_log, 80, "Write(%s)=%d", path.c_str(), rc);
        return -1;
    }
    // The results program takes a result file in again only when it carries
    // the archive mark.
    if (marked)
        platform::SetArchiveFlag(path, true);
    Load(std::move(bytes));
    return 0;  // closing the old file releases the lock
}
