// The federations' club lists into the club register: organisation 1's column
// list, organisation 2's list mapped through MapID.txt, organisation 3's NJFF
// list. The files are read as the bytes they are (Windows-1252).
//
// A line is a club only with a number 1..65535: headers and other lines are
// skipped and reported, never stored as club 0, and a mapped number is never
// cut to 16 bits. Fields past a format's last one are ignored and the field
// count starts again at every line end, so a stray field cannot start a
// garbage club; the end of the file ends the last club as a line end would.
#include "results/registers/DataClub.h"

#include "foundation/files/BVIniFile.h"
#include "foundation/files/BVLog.h"
#include "foundation/text/FieldText.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "results/data/ResStrings.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace results {
namespace {

constexpr size_t kMaxField = 99;

// The fields of each line, split at the separators; a line ends at '\n' (and
// '\r' too when lineEndCr), and at the end of the file. Empty lines are left out.
std::vector<std::vector<std::string>> Lines(const std::string& bytes, const char* separators, bool lineEndCr)
{
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> fields;
    std::string field;
    bool any = false;
    auto endLine = [&] {
        if (any || !fields.empty())
            fields.push_back(field);
        if (!fields.empty())
            lines.push_back(std::move(fields));
        fields.clear();
        field.clear();
        any = false;
    };
    for (char c : bytes) {
        if (c == '\n' || (lineEndCr && c == '\r')) {
            endLine();
        } else if (std::strchr(separators, c)) {
            fields.push_back(field);
            field.clear();
            any = false;
        } else {
            if (field.size() < kMaxField)
                field += c;
            any = true;
        }
    }
    endLine();
    return lines;
}

std::string Cut(std::string text, size_t n)
{
    if (text.size() > n)
        text.resize(n);
    return text;
}

// A club number 1..65535, else 0.
int ClubNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i == text.size() || text[i] < '0' || text[i] > '9')
        return 0;
    long n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && n <= 65535; ++i)
        n = n * 10 + (text[i] - '0');
    return n >= 1 && n <= 65535 ? static_cast<int>(n) : 0;
}

std::string ShortClubName(const std::string& full)
{
    std::string name = Cut(full, 29);
    for (const char* pattern : {" skytterlag", " skyttarlag", " sk.l", " skl.", " skytterl"}) {
        size_t at = name.find(pattern);
        if (at != std::string::npos && at > 2) {
            name.resize(at);
            break;
        }
    }
    size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

std::string ReplacedName(const std::string& full)
{
    static const char* const kTable[][2] = {
        {"Pistolklubb", "Pk"},          {"Pistol Klubb", "Pk"},          {"Pistol klubb", "Pk"},
        {"Sportsskytterklubb", "SSK"},  {"Sportsskytterlag", "SSL"},     {"Jeger og fiskeforening", "JFF"},
        {"Miniatyrskytterlag", "MSL"},  {"Skytterlag", "Skl"},           {"Salongskytterlag", "SSL"},
        {"Sportsskyttergruppe", "SSG"}, {"Miniatyrskytter", "MSL"},      {"Skyttergruppe", "SKG"},
        {"Miniatyrsk.lag", "MSL"},
    };
    std::string name = Cut(full, 29);
    for (const auto& row : kTable) {
        const std::string from = row[0];
        for (size_t at = name.find(from); at != std::string::npos; at = name.find(from, at + std::strlen(row[1])))
            name.replace(at, from.size(), row[1]);
    }
    return name;
}

// Postcode and place in one line; empty when both are.
std::string PostLine(const std::string& postcode, const std::string& place)
{
    return postcode.empty() && place.empty() ? std::string() : postcode + " " + place;
}

}  // namespace

void CDataClub::Report(const std::string& text, int level)
{
    BV_LOG(ProgramLog(), level, "%s", text.c_str());
    if (m_report)
        m_report(text);
}

int CDataClub::WriteImported(ClubRecord& record)
{
    std::lock_guard files(m_files);
    m_clubsWritten = true;
    return m_clubFile->WriteRecKey(&record);
}

int CDataClub::ImportClubList(const std::string& path)
{
    LoadClubs(1);
    std::string bytes;
    if (!platform::FileExists(path) || !m_clubOpen) {
        Report(ResString(IDS_NO_CLUB_LIST), 90);
        return -1;
    }
    if (!platform::ReadWholeFile(path, bytes)) {
        Report(TextReadError(), 90);
        return 1;
    }
    for (const auto& columns : Lines(bytes, "\t;", true)) {
        const size_t count = columns.size();
        if (count < 12)
            continue;
        const int number = ClubNumber(columns[0]);
        if (number == 0) {
            Report("Line skipped, no club number: " + Cut(columns[0], 29), 80);
            continue;
        }
        auto col = [&](size_t n) { return n <= count && n <= 19 ? columns[n - 1] : std::string(); };
        ClubRecord c{};
        c.org = 1;
        c.number = static_cast<uint16_t>(number);
        SetFieldText(c.name, sizeof c.name, ShortClubName(col(2)));
        SetFieldText(c.address1, sizeof c.address1, Cut(col(3), 29));
        SetFieldText(c.address2, sizeof c.address2, Cut(col(4), 29));
        SetFieldText(c.address3, sizeof c.address3, PostLine(Cut(col(5), 4), Cut(col(6), 25)));
        SetFieldText(c.phone1, sizeof c.phone1, Cut(col(7), 14));
        SetFieldText(c.phone2, sizeof c.phone2, Cut(col(8), 14));
        c.regionB = static_cast<uint16_t>(std::atoi(col(9).c_str()));
        c.regionC = static_cast<uint16_t>(std::atoi(col(10).c_str()));
        c.regionA = static_cast<uint16_t>(std::atoi(col(11).c_str()));
        SetFieldText(c.account, sizeof c.account, Cut(col(12), 14));
        SetFieldText(c.email, sizeof c.email, Cut(col(13), 49));
        SetFieldText(c.web, sizeof c.web, Cut(col(14), 99));
        WriteImported(c);
    }
    return 0;
}

int CDataClub::ImportMapFile(const std::string& path)
{
    std::string bytes;
    if (!platform::FileExists(path)) {
        Report(ResString(IDS_NO_IMPORT_FILE) + " Klubbliste.txt", 90);
        return -1;
    }
    if (!OpenClubs())
        return -1;
    if (!platform::ReadWholeFile(path, bytes)) {
        Report(TextReadError(), 90);
        return 0;
    }
    CBVIniFile map;
    map.Open(platform::JoinSystemPath(platform::FolderOf(path), "MapID.txt"));
    for (const auto& fields : Lines(bytes, ";", true)) {
        if (fields.size() < 12)
            continue;
        const std::string& id = fields[0];
        const std::string name = Cut(fields[1], 29);
        std::string mapped;
        if (!map.Lookup("ID", id, &mapped)) {
            Report("Club " + name + " not in mapfile", 80);
            continue;
        }
        const int number = ClubNumber(mapped);
        if (number == 0 || std::atol(mapped.c_str()) > 65535) {
            Report("Club " + name + " mapped to " + Cut(mapped, 20) + ", not a club number", 80);
            continue;
        }
        ClubRecord c{};
        c.org = 2;
        c.number = static_cast<uint16_t>(number);
        SetFieldText(c.name, sizeof c.name, ReplacedName(fields[1]));
        // The identifier carries the regions: "GR01230045" is region A 1, B 123.
        size_t first = id.find_first_not_of("GR");
        size_t last = id.find_last_not_of("GR");
        std::string digits = first == std::string::npos ? std::string() : id.substr(first, last - first + 1);
        long regions = std::atol(Cut(Cut(digits, 20), 8).c_str());
        c.regionA = static_cast<uint16_t>(regions / 1000000);
        c.regionB = static_cast<uint16_t>(regions / 10000);
        SetFieldText(c.address2, sizeof c.address2, Cut(fields[2], 29));
        SetFieldText(c.address1, sizeof c.address1, Cut(fields[3], 29));
        SetFieldText(c.address3, sizeof c.address3, PostLine(fields[4], Cut(fields[5], 29)));
        SetFieldText(c.email, sizeof c.email, Cut(fields[6], 48));
        SetFieldText(c.web, sizeof c.web, fields[7]);
        WriteImported(c);
    }
    return 0;
}

int CDataClub::ImportNjff(const std::string& path)
{
    std::string bytes;
    if (!platform::FileExists(path)) {
        Report(TextNoNjffFile(), 90);
        return -1;
    }
    if (!OpenClubs())
        return -1;
    if (!platform::ReadWholeFile(path, bytes)) {
        Report(TextReadError(), 90);
        return 0;
    }
    for (const auto& fields : Lines(bytes, ";", true)) {
        if (fields.size() < 2)
            continue;
        const int number = ClubNumber(fields[0]);
        if (number == 0) {
            Report("Line skipped, no club number: " + Cut(fields[0], 29), 80);
            continue;
        }
        ClubRecord c{};
        c.org = 3;
        c.number = static_cast<uint16_t>(number);
        SetFieldText(c.name, sizeof c.name, Cut(fields[1], 29));
        WriteImported(c);
    }
    return 0;
}

}  // namespace results
