// The import half of CBVExch: the shooters' names of one relay, from what
// the results program published or from another range folder.
#include "foundation/exchange/BVExch.h"

#include "foundation/exchange/ExchangeIniFile.h"
#include "foundation/text/FieldText.h"
#include "foundation/files/TextFile.h"
#include "foundation/text/TextUtil.h"
#include "platform/system/StringFormat.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

void ClearSlot(NameRecord& name, int startNumber)
{
    CDataComp::ClearName(name);
    name.startNumber = startNumber;
}

std::string Trimmed(std::string text)
{
    CTextUtil::Trim(text, " \t", 0xFFFF);
    return text;
}

// The leading number of a line (blanks before it skipped); -1 when it has none.
long LeadingNumber(const std::string& line)
{
    const char* p = line.c_str();
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p < '0' || *p > '9')
        return -1;
    char* end = nullptr;
    long n = std::strtol(p, &end, 10);
    return n;
}

}  // namespace

bool CBVExch::Asked(int slotLane, int lane) const { return lane == 0 || slotLane == lane; }

int CBVExch::ImportNames(int relay, int lane, int competition, const std::string& rangeFolder)
{
    exchangeFolder = NormalizeFolder(exchangeFolder);
    if (resultsProgram < 0 || resultsProgram > 8)
        return kUnknownResultsProgram;
    if (lane < 0 || lane > CDataComp::kMaxLane)
        return 0;  // names no lane
    switch (resultsProgram) {
    case 3:
    case 4:
    case 5:
        ImportColumnFile(relay, lane);
        break;
    case 8:
        ImportOtherRange(relay, lane, competition, rangeFolder);
        break;
    default:
        for (int l = 1; l <= CDataComp::kMaxLane; ++l)
            if (Asked(l, lane) && relays[l] >= 0)
                ImportNameFiles(l);
        break;
    }
    return 0;
}

// A fixed-column file per relay: the lane number leads each line.
void CBVExch::ImportColumnFile(int relay, int lane)
{
    CTextFile file;
    file.SetSizeLimit(kExchangeFileMaxBytes);
    file.Open(platform::StringFormat("%s%s-XX-s.%03d", exchangeFolder.c_str(), prefix.c_str(), relay));
    // A lane the file does not name got no name: it keeps the one it has
    // (start number -1), rather than having it wiped.
    for (int l = 0; l < kSlots; ++l)
        ClearSlot(names[l], -1);
    std::string line;
    for (int n = 1; file.GetLine(n, line) == CTextFile::LineOk; ++n) {
        // A lane number that names no lane is refused, never used as a slot.
        const long l = LeadingNumber(line);
        if (!CDataComp::IsLane(static_cast<int>(std::min(l, 1000L))) || !Asked(static_cast<int>(l), lane) ||
            relays[l] != relay)
            continue;
        CTextFile::ToWindowsLetters(line);
        NameRecord& slot = names[l];
        SetFieldText(slot.name, sizeof slot.name, Trimmed(CTextFile::GetColumn(line, 16, 21)));
        SetFieldText(slot.club, sizeof slot.club, Trimmed(CTextFile::GetColumn(line, 37, 21)));
        SetFieldText(slot.cls, sizeof slot.cls, Trimmed(CTextFile::GetColumn(line, 12, 4)));
        slot.startScore = CTextUtil::ParseScaled(CTextFile::GetColumn(line, 58, 5), 2);
        slot.startNumber = static_cast<int32_t>(l + relay * 100);
    }
}

// The names on the cards of another range folder's competition.
void CBVExch::ImportOtherRange(int relay, int lane, int competition, const std::string& rangeFolder)
{
    CDataComp dc;
    dc.SetBasePath(rangeFolder);
    dc.Open(competition, 0);
    dc.CardFile().CacheVerify(0);
    for (int l = 1; l <= CDataComp::kMaxLane; ++l) {
        if (!Asked(l, lane) || relays[l] < 0)
            continue;
        ClearSlot(names[l], -1);
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = static_cast<int16_t>(relay);
        card.lane = static_cast<int16_t>(l);
        if (dc.GetCard(card, 0) != 0)
            continue;  // no card: no name for the lane
        NameRecord& n = names[l];
        if (dc.ReadName(card, n) != 0)
            ClearSlot(n, -1);
        // Another program's record may fill a text to its last byte; the
        // slot's texts always end in a zero, as the export and the cards
        // read them.
        for (auto [field, size] : {std::pair{n.name, sizeof n.name}, std::pair{n.club, sizeof n.club},
                                   std::pair{n.cls, sizeof n.cls}, std::pair{n.category, sizeof n.category}})
            SetFieldText(field, size, FieldText(field, size));
        n.startNumber = (dc.StartNumberMode() ? 0 : l) + relay * 100;
    }
}

// The name file of the lane's start number; the start number comes from the
// slot in start-number mode, else from the lane's result file.
void CBVExch::ImportNameFiles(int l)
{
    const int slot = relays[l];
    int start = slot;
    if (!startNumbers) {
        CExchangeIniFile result;
        result.Open(platform::StringFormat("%s%sR%03d%02d.txt", exchangeFolder.c_str(), prefix.c_str(), slot, l));
        start = result.GetInt("Def", "StartNr", -1);
    }
    if (start <= 0) {
        ClearSlot(names[l], start == 0 ? 0 : -1);
        return;
    }
    CExchangeIniFile file;
    file.Open(platform::StringFormat("%sN%05d.txt", exchangeFolder.c_str(), start));
    NameRecord& name = names[l];
    ClearSlot(name, start);
    SetFieldText(name.name, sizeof name.name, file.GetString("Shooter", "Name"));
    SetFieldText(name.club, sizeof name.club, file.GetString("Shooter", "Club"));
    SetFieldText(name.cls, sizeof name.cls, file.GetString(prefix, "Class"));
    SetFieldText(name.category, sizeof name.category, file.GetString(prefix, "Cat"));
    name.startScore = CTextUtil::ParseScaled(file.GetString(prefix, "Start"), 2);
}
