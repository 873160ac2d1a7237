#include "foundation/settings/ProgramStore.h"

#include "foundation/text/TextUtil.h"
#include "platform/files/FileSystem.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace ProgramItems;

namespace {

// Programs made before the organisation filter existed count as everyone's.
constexpr int kOrganisationDefault[2] = {99, 0};

const char* const kFileNames[2] = {"Program.BVC", "Program2.BVC"};

std::string TrimBlanks(std::string text)
{
    CTextUtil::Trim(text, " ", 0xFFFF);
    return text;
}

}  // namespace

void CProgramStore::SetBasePath(const std::string& folder)
{
    m_base = folder.empty() ? ".\\" : folder;
    if (m_base.back() != '\\' && m_base.back() != '/')
        m_base += '\\';
}

void CProgramStore::OpenFiles(bool force)
{
    if (m_tried && !force)
        return;
    m_tried = true;
    // Most ranges have no second file; its absence is no failure to report.
    for (int f = 0; f < 2; ++f)
        if (m_create || platform::FileExists(m_base + kFileNames[f]))
            m_files[f].Open(m_base + kFileNames[f], m_create ? 1 : 0);
}

int CProgramStore::Refresh()
{
    OpenFiles();
    int first = m_files[0].IsOpen() ? m_files[0].Refresh() : 0;
    int second = m_files[1].IsOpen() ? m_files[1].Refresh() : 0;
    return (first == 0 && second > 0) ? second : first;
}

CBVConfig* CProgramStore::FileOf(int n, int& index)
{
    OpenFiles();
    int p = Program(n);
    index = 0;
    if (p < 1 || p > kMaxProgram)
        return nullptr;
    int f = (p - 1) / kProgramsPerFile;
    if (!m_files[f].IsOpen())
        return nullptr;
    index = p - f * kProgramsPerFile;
    return &m_files[f];
}

int CProgramStore::ReadInt(int section, int key, int n, int defaultValue, int notOpen)
{
    int index;
    CBVConfig* file = FileOf(n, index);
    return file ? file->ReadInt(section, index, key, defaultValue) : notOpen;
}

char* CProgramStore::ReadText(int section, int key, int n, const char* defaultValue, char* buffer)
{
    buffer = Buffer(buffer);
    int index;
    CBVConfig* file = FileOf(n, index);
    if (file)
        file->ReadString(section, index, key, defaultValue, buffer, kNameSize);
    else
        std::snprintf(buffer, kNameSize, "%s", defaultValue);
    return buffer;
}

int CProgramStore::GetProgCount(int which)
{
    OpenFiles();
    CBVConfig& file = m_files[which != 0 ? 0 : 1];
    if (!file.IsOpen())
        return 0;
    int used = file.ReadInt(kProgramSection, 1, kKeySlotsUsed, 0);
    return which != 0 ? used : kProgramsPerFile + used;
}

int CProgramStore::GetOrganisation(int n)
{
    int p = Program(n);
    return ReadInt(kProgramSection, kKeyOrganisation, n, kOrganisationDefault[p > kProgramsPerFile ? 1 : 0], 0);
}

char* CProgramStore::GetName(char* buffer, int n)
{
    buffer = Buffer(buffer);
    int index;
    CBVConfig* file = FileOf(n, index);
    if (file)
        return file->ReadString(kProgramSection, index, kKeyName, "", buffer, kNameSize);
    std::snprintf(buffer, kNameSize, "Prog %d", Program(n) % 100);
    return buffer;
}

int CProgramStore::GetCommand(int n) { return ReadInt(kProgramSection, kKeyCommand, n, 0, 0); }

int CProgramStore::NextProgram(int n)
{
    int p = Program(n);
    int index;
    CBVConfig* file = FileOf(p, index);
    if (!file)
        return 0;
    int first = p - index;  // 0 or 100
    int used = file->ReadInt(kProgramSection, 1, kKeySlotsUsed, 0);
    char name[kNameSize];
    for (int i = index + 1; i <= used && i <= kProgramsPerFile; ++i)
        if (file->ReadString(kProgramSection, i, kKeyName, "", name, sizeof name)[0] != '\0')
            return first + i;
    return 0;
}

int CProgramStore::GetSize(int n)
{
    // The program editor leaves an empty cell as 0; a line of 0 shots would
    // make every layout divide by zero.
    int size = ReadInt(kProgramSection, kKeySize, n, kDefaultSize, kDefaultSize);
    return size > 0 ? size : kDefaultSize;
}

int CProgramStore::GetSerieCount(int n) { return ReadInt(kProgramSection, kKeySerieCount, n, 0, 20); }

char* CProgramStore::GetSerieName(int serie, char* buffer, int n)
{
    char defaultName[kNameSize];
    std::snprintf(defaultName, sizeof defaultName, "Serie %d", serie);
    if (n < 0) {
        buffer = Buffer(buffer);
        std::snprintf(buffer, kNameSize, "%s", defaultName);
        return buffer;
    }
    return ReadText(kSerieName, serie + 1, n, defaultName, buffer);
}

int CProgramStore::GetSerieShots(int serie, int n) { return ReadInt(kSerieShots, serie + 1, n, 0, 0); }

int CProgramStore::GetSerieTiming(SerieTiming& timing, int serie, int n)
{
    timing = SerieTiming{};
    char text[kNameSize];
    ReadText(kSerieTiming, serie + 1, n, "", text);
    // Five fields, each ended by ';'.
    std::string_view rest = text;
    int* values[5] = {&timing.timer, &timing.delay, &timing.green, &timing.red, &timing.rep};
    for (int f = 0; f < 5; ++f) {
        size_t semi = rest.find(';');
        std::string field(rest.substr(0, semi));
        if (f == 0) {
            // "X" (or a field of nothing but blanks and punctuation) means
            // the series runs without the timer.
            timing.noTimer = field.find_first_not_of(" ;X.,") == std::string::npos;
        }
        *values[f] = std::atoi(field.c_str());
        rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
    }
    return GetEquipment(n);
}

void CProgramStore::SetSerieTiming(const SerieTiming& timing, int serie, int n)
{
    int index;
    CBVConfig* file = FileOf(n, index);
    if (!file)
        return;
    char text[64];
    if (timing.noTimer)
        std::snprintf(text, sizeof text, "X;%d;%d;%d;%d;", timing.delay, timing.green, timing.red, timing.rep);
    else
        std::snprintf(text, sizeof text, "%d;%d;%d;%d;%d;", timing.timer, timing.delay, timing.green, timing.red,
                      timing.rep);
    file->WriteString(kSerieTiming, index, serie + 1, text);
}

int CProgramStore::GetLineCount(int count, int n)
{
    int size = GetSize(n);
    int lines = 1;
    for (int s = 1; s < count; ++s) {
        int shots = GetSerieShots(s, n);
        if (shots > 0)
            lines += (shots - 1) / size + 1;
    }
    return lines;
}

int CProgramStore::GetClassCount(int n) { return ReadInt(kProgramSection, kKeyClassCount, n, 0, 0); }

char* CProgramStore::GetClassName(int cls, char* buffer, int n)
{
    char defaultName[kNameSize];
    std::snprintf(defaultName, sizeof defaultName, "Class %d", cls);
    return ReadText(kClassName, cls + 1, n, defaultName, buffer);
}

int CProgramStore::FindClass(const std::string& text, int n)
{
    std::string wanted = TrimBlanks(text);
    int lastEmpty = 0;
    int count = GetClassCount(n);
    char name[kNameSize];
    for (int c = 1; c <= count; ++c) {
        std::string candidate = TrimBlanks(GetClassName(c, name, n));
        if (CTextUtil::CompareNoCase(candidate, wanted) == 0)
            return c;
        if (candidate.empty())
            lastEmpty = c;
    }
    return lastEmpty;
}

char* CProgramStore::GetClassDef(int cls, char* buffer, int n)
{
    return ReadText(kClassDef, cls + 1, n, "                    ", buffer);
}

int CProgramStore::GetFlag(int section, int item, int p, int n)
{
    if (p < 1 || p > kDefLength)
        return 0;
    char def[kNameSize];
    ReadText(section, item + 1, n, "                    ", def);
    if (std::strlen(def) < static_cast<size_t>(p))
        return 0;
    int value = static_cast<unsigned char>(def[p - 1]) - 32;
    return value > 0 ? value : 0;
}

void CProgramStore::SetFlag(int section, int item, int p, int n, int value)
{
    if (p < 1 || p > kDefLength || value < 0 || value > 255 - 32)
        return;
    int index;
    CBVConfig* file = FileOf(n, index);
    if (!file)
        return;
    char def[kNameSize];
    file->ReadString(section, index, item + 1, "                    ", def, sizeof def);
    std::string text(def);
    if (text.size() < static_cast<size_t>(kDefLength))
        text.resize(kDefLength, ' ');
    text[static_cast<size_t>(p - 1)] = static_cast<char>(value + 32);
    file->WriteString(section, index, item + 1, text.c_str());
}

int CProgramStore::GetClassFlag(int cls, int p, int n) { return GetFlag(kClassDef, cls, p, n); }

void CProgramStore::SetClassFlag(int cls, int p, int n, int value) { SetFlag(kClassDef, cls, p, n, value); }

int CProgramStore::GetSubCount(int n) { return ReadInt(kProgramSection, kKeySubCount, n, 0, 0); }

char* CProgramStore::GetSubSumName(int sub, char* buffer, int n)
{
    char defaultName[kNameSize];
    std::snprintf(defaultName, sizeof defaultName, "Sum%d", sub);
    return ReadText(kSubSumName, sub + 1, n, defaultName, buffer);
}

char* CProgramStore::GetSubSumDef(int sub, char* buffer, int n)
{
    return ReadText(kSubSumDef, sub + 1, n, "                    ", buffer);
}

int CProgramStore::GetSubSumFlag(int sub, int p, int n) { return GetFlag(kSubSumDef, sub, p, n); }

void CProgramStore::SetSubSumFlag(int sub, int p, int n, int value) { SetFlag(kSubSumDef, sub, p, n, value); }

int CProgramStore::GetSerieMark(int serie, int n)
{
    int hasShots = GetSerieShots(serie, n) > 0 ? 1 : 0;
    return ReadInt(kSerieMark, serie + 1, n, hasShots, hasShots);
}

int CProgramStore::GetEquipment(int n) { return ReadInt(kProgramSection, kKeyEquipment, n, 0, 0); }

int CProgramStore::GetSerieTarget(int serie, int n) { return ReadInt(kSerieTarget, serie + 1, n, -1, -1); }

int CProgramStore::GetSerieExch(int serie, int n) { return ReadInt(kSerieExch, serie + 1, n, serie, serie); }
