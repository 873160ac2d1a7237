// bvtool comp, shots, cards: a range folder's competition data from the
// command line. A competition can be made, filled with shots from a text
// list and looked at, without a range control or a target.
#include "Command.h"
#include "tools/bvtool/RangeDefaults.h"

#include "foundation/files/BVConfig.h"
#include "foundation/exchange/BVExch.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/comp/DataComp.h"
#include "foundation/comp/ShotTime.h"
#include "foundation/text/FieldText.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/text/TextUtil.h"
#include "platform/system/Clock.h"
#include "platform/files/FileSystem.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace bvtool {
namespace {

constexpr long kMaxRelay = 32767;  // a card keeps its relay (or start number) in 16 bits

// Opens competition `comp` of a range folder; false (with the message
// given) when its files are not there.
bool OpenComp(CDataComp& dc, const std::string& folder, const std::string& comp, bool write, std::string& error)
{
    long n;
    if (!ParseInt(comp, n) || n < 0 || n > CompSettings::kMaxCompetition) {
        error = "a competition is a number from 0 to 99, not '" + comp + "'";
        return false;
    }
    dc.SetBasePath(ToFile(folder));
    if (!platform::FileExists(dc.FolderOf(static_cast<int>(n)) + "\\Card.BVD")) {
        error = "no competition " + comp + " in " + folder;
        return false;
    }
    if (std::string fault = CompetitionFault(ToFile(folder), static_cast<int>(n), write); !fault.empty()) {
        error = "cannot read competition " + comp + " in " + folder + ": " + ToScreen(fault);
        return false;
    }
    if (dc.Open(static_cast<int>(n), write ? 1 : 0) != 0 || !dc.IsOpen()) {
        error = "cannot open competition " + comp + " in " + folder;
        return false;
    }
    dc.SetCurrentProgram(ReadItem(dc.CompConfig(), CompSettings::kProgram));
    return true;
}

// "A-B" or "A" as a range of numbers within [low, high].
bool ParseRange(const std::string& text, int low, int high, int& first, int& last)
{
    size_t dash = text.find('-');
    long a, b;
    if (!ParseInt(text.substr(0, dash), a))
        return false;
    if (dash == std::string::npos)
        b = a;
    else if (!ParseInt(text.substr(dash + 1), b))
        return false;
    if (a < low || b > high || a > b)
        return false;
    first = static_cast<int>(a);
    last = static_cast<int>(b);
    return true;
}

// A decimal number scaled to whole hundredths or thousandths ("10.9" -> 1090).
bool ParseDecimal(const std::string& text, int decimals, long& value)
{
    std::string t = text;
    for (char& c : t)
        if (c == ',')
            c = '.';
    char* end = nullptr;
    double d = std::strtod(t.c_str(), &end);
    if (t.empty() || !end || *end != '\0' || !std::isfinite(d) || std::fabs(d) > 1e6)
        return false;
    value = std::lround(d * std::pow(10.0, decimals));
    return true;
}

// --- comp create ---

int RunComp(const Args& args)
{
    if (args.size() < 3 || args.size() > 4 || args[0] != "create")
        return Fail("usage: bvtool comp create FOLDER COMP [FIRST-LAST]");
    const std::string base = CBVExch::NormalizeFolder(ToFile(args[1]));
    long comp;
    if (!ParseInt(args[2], comp) || comp < 0 || comp > CompSettings::kMaxCompetition)
        return Fail("a competition is a number from 0 to 99, not '" + args[2] + "'");
    int first = 1, last = 10;
    if (args.size() == 4 && !ParseRange(args[3], 1, CDataComp::kMaxLane, first, last))
        return Fail("lanes are FIRST-LAST within 1-100, not '" + args[3] + "'");
    if (!platform::FolderExists(base))
        return Fail("no folder " + args[1]);
    const int n = static_cast<int>(comp);
    if (platform::FileExists(CompSettings::FolderOf(base, n) + "\\Card.BVD"))
        return Fail("competition " + args[2] + " is already in " + args[1]);

    if (platform::CreateFolder(CompSettings::FolderOf(base, n)) != 0)
        return Fail("cannot make the folder of competition " + args[2]);
    CDataComp dc;
    dc.SetBasePath(base);
    if (dc.Open(n, 1) != 0)
        return Fail("cannot create the files of competition " + args[2]);
    // Every other item reads as its default.
    WriteItem(dc.CompConfig(), CompSettings::kName, "Stevne " + std::to_string(n));
    platform::LocalTime today = platform::Now();
    char date[16];
    std::snprintf(date, sizeof date, "%02d.%02d.%04d", today.day, today.month, today.year);
    WriteItem(dc.CompConfig(), CompSettings::kDate, date);
    for (int lane = first; lane <= last; ++lane)
        WriteItem(dc.CompConfig(), CompSettings::LaneActive(lane), 1);

    // A range folder made here has no line channel yet; without one no lane
    // would be exported.
    CBVConfig range;
    range.Open(base + "BVLeder.bvc", 1);
    bool anyChannel = false;
    for (int k = 0; k < CRangeSettings::kChannels; ++k)
        anyChannel |= CRangeSettings::ReadChannel(range, k).InUse();
    if (!anyChannel)
        CRangeSettings::WriteChannel(range, 0, ChannelSetting{1, first, last});
    return 0;
}

// --- shots add ---

// One line of a shot list: RELAY LANE SERIES VALUE X Y [SHOT].
bool ParseShotLine(const std::string& line, int& relay, int& lane, ShotRecord& shot)
{
    std::istringstream in(line);
    std::string f[7];
    int count = 0;
    while (count < 7 && in >> f[count])
        ++count;
    std::string extra;
    if (count < 6 || (in >> extra))
        return false;
    long r, l, series, number = 0, value, x, y;
    if (!ParseInt(f[0], r) || !ParseInt(f[1], l) || !ParseInt(f[2], series) || !ParseDecimal(f[3], 2, value) ||
        !ParseDecimal(f[4], 3, x) || !ParseDecimal(f[5], 3, y) || (count == 7 && !ParseInt(f[6], number)))
        return false;
    if (r < 1 || r > kMaxRelay || !CDataComp::IsLane(static_cast<int>(l)) || series < 1 ||
        series > CDataComp::kMaxSeries || value < 0 || value > 1399 || number < 0 || number > CDataComp::kSlots)
        return false;
    relay = static_cast<int>(r);
    lane = static_cast<int>(l);
    std::memset(&shot, 0, sizeof shot);
    shot.state = CDataComp::kSlotShot;
    shot.flags = CDataComp::kFlagFromTarget;
    shot.x = static_cast<int32_t>(x);
    shot.y = static_cast<int32_t>(y);
    shot.radius = static_cast<int32_t>(std::lround(std::hypot(static_cast<double>(x), static_cast<double>(y))));
    shot.value = static_cast<int16_t>(value);
    shot.temperature = 12700;
    shot.shotNumber = static_cast<uint8_t>(number);
    shot.series = static_cast<uint8_t>(series);
    shot.sensorA = shot.sensorB = shot.sensorC = shot.sensorD = 255;
    StampShot(shot, platform::Now(), ShotStamp::DateAndTime);
    return true;
}

int RunShots(const Args& args);

int AddShots(const Args& args)
{
    std::string error;
    CDataComp dc;
    if (!OpenComp(dc, args[1], args[2], true, error))
        return Fail(error);
    if (std::filesystem::is_directory(args[3]))
        return Fail(args[3] + " is a folder, not a shot list");
    std::ifstream in(args[3], std::ios::binary);
    if (!in)
        return Fail("cannot read " + args[3]);
    CBVConfig range;
    range.Open(dc.GetBasePath() + "BVLeder.bvc", 0);
    CProgramStore programs;
    programs.SetBasePath(dc.GetBasePath());
    const int program = dc.GetCurrentProgram();
    // Marked as shown unless the competition blocks marking, as the range
    // control's intake stores them.
    const bool shown = !dc.CompConfig().IsOpen() || ReadItem(dc.CompConfig(), CompSettings::kMarkKind) <= 2;

    std::string line;
    int lineNo = 0, sent = 0, refused = 0, firstRefused = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#')
            continue;
        int relay, lane;
        ShotRecord shot;
        if (!ParseShotLine(line, relay, lane, shot))
            return Fail(args[3] + " line " + std::to_string(lineNo) +
                        ": not RELAY LANE SERIES VALUE X Y [SHOT] (lanes 1-100, series 1-28, value in rings, mm)");
        // The card, as a new lane gets it on this range.
        CardRecord card = NewLaneCard(range, relay, lane);
        if (dc.GetCard(card, 1) < 0)
            return Fail("cannot make the card of relay " + std::to_string(relay) + " lane " + std::to_string(lane));
        // Shots count in their series as the program allows; without a
        // program every shot counts.
        int limit = program > 0 ? programs.GetSerieShots(shot.series, program) : CDataComp::kSlots;
        if (shown)
            shot.flags |= CDataComp::kFlagShown;
        ++sent;
        if (dc.AddShot(relay, lane, shot, nullptr, limit, 0) == 0 && refused++ == 0)
            firstRefused = lineNo;
    }
    if (in.bad())
        return Fail("cannot read " + args[3]);
    if (sent == 0)
        return Fail("no shots in " + args[3]);
    if (refused > 0)
        return Fail(std::to_string(refused) + " of " + std::to_string(sent) +
                    " shots not stored (repeated or changed shot, or a full card; first at line " +
                    std::to_string(firstRefused) + ")");
    return 0;
}

// Prints one card's shots in the order the card shows them.
int PrintShots(const Args& args)
{
    std::string error;
    CDataComp dc;
    if (!OpenComp(dc, args[0], args[1], false, error))
        return Fail(error);
    long relay, lane;
    if (!ParseInt(args[2], relay) || !ParseInt(args[3], lane) || relay < 1 || relay > kMaxRelay ||
        lane < 1 || lane > CDataComp::kMaxLane)
        return Fail("a card is RELAY LANE, relays 1-32767, lanes 1-100");
    CardRecord card;
    CDataComp::ClearCard(card);
    card.relay = static_cast<int16_t>(relay);
    card.lane = static_cast<int16_t>(lane);
    if (dc.GetCard(card, 0) != 0)
        return Fail("no card of relay " + args[2] + " lane " + args[3]);
    ShotListRecord list;
    if (dc.ReadShots(static_cast<int>(relay), static_cast<int>(lane), list) != 0 && card.shotRec != 0)
        return Fail("cannot read the shots of relay " + args[2] + " lane " + args[3] + " in Shot.BVD");
    uint8_t order[CDataComp::kSlots];
    CDataComp::BuildShotOrder(list, order, false);
    dc.decimalSeparator = ".";
    std::printf("slot series shot  value      x mm      y mm counts flags\n");
    for (int k = 0; k < CDataComp::kSlots && order[k] != CDataComp::kOrderEnd; ++k) {
        const ShotRecord& s = list.shots[order[k]];
        std::string value;
        dc.ValueText(s.value, card.valueSystem, value);
        std::printf("%4d %6d %4d %6s %9.3f %9.3f %6d 0x%04X\n", order[k], s.series & 0x7F, s.shotNumber, value.c_str(),
                    s.x / 1000.0, s.y / 1000.0, s.countingSeries, static_cast<unsigned>(s.flags));
    }
    std::string comment = FieldText(list.comment, sizeof list.comment);
    if (!comment.empty())
        std::printf("comment: %s\n", ToScreen(comment).c_str());
    return 0;
}

// A text on one line: carriage returns and line feeds as \r and \n.
std::string OneLine(const std::string& text)
{
    std::string line;
    for (char c : text)
        line += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return line;
}

// Prints one card and every field of every used slot of its shot list, in
// slot order: what a test compares after the card was edited.
int PrintShotsFull(const Args& args)
{
    std::string error;
    CDataComp dc;
    if (!OpenComp(dc, args[0], args[1], false, error))
        return Fail(error);
    long relay, lane;
    const long lowestLane = dc.StartNumberMode() ? 0 : 1;
    if (!ParseInt(args[2], relay) || !ParseInt(args[3], lane) || relay < 1 || relay > kMaxRelay ||
        lane < lowestLane || lane > CDataComp::kMaxLane)
        return Fail("a card is RELAY LANE, relays 1-32767, lanes 1-100 (0 with start numbers)");
    CardRecord card;
    CDataComp::ClearCard(card);
    card.relay = static_cast<int16_t>(relay);
    card.lane = static_cast<int16_t>(dc.StartNumberMode() ? 0 : lane);
    dc.CardFile().CacheVerify(0);
    if (dc.CardFile().ReadRecKey(&card) != 0)
        return Fail("no card of relay " + args[2] + " lane " + args[3]);
    ShotListRecord list;
    CDataComp::ClearShots(list);
    if (card.shotRec != 0 && dc.ShotFile().ReadRecDirect(card.shotRec, &list) != 0)
        return Fail("cannot read shot list " + std::to_string(card.shotRec) + " of Shot.BVD");
    NameRecord name;
    CDataComp::ClearName(name);
    if (card.nameRec != 0 && dc.ReadName(card, name) != 0)
        return Fail("cannot read name " + std::to_string(card.nameRec) + " of Name.BVD");
    int used = 0;
    for (const ShotRecord& s : list.shots)
        used += s.state != CDataComp::kSlotFree;
    std::printf("card relay %d lane %d type %d system %d name %s shots %d state %d\n", card.relay, card.lane,
                card.targetType, card.valueSystem, ToScreen(FieldText(name.name, sizeof name.name)).c_str(), used,
                card.resultState);
    for (int k = 0; k < CDataComp::kSlots; ++k) {
        const ShotRecord& s = list.shots[k];
        if (s.state == CDataComp::kSlotFree)
            continue;
        std::printf("slot=%d state=%d flags=0x%04X x=%d y=%d radius=%d value=%d data17=%d temperature=%d order=%d "
                    "shot=%d position=%d date=%d%02d-%02d-%02d time=%02d:%02d:%02d.%02d shotat=%d series=%d "
                    "counting=%d sensors=%d,%d,%d,%d data41=%d data42=%d data43=%d data44=%d data45=%d "
                    "sensorset=%d\n",
                    k, s.state, static_cast<unsigned>(s.flags), s.x, s.y, s.radius, s.value, s.data17, s.temperature,
                    s.orderOffset, s.shotNumber, s.displayPos, s.century, s.year, s.month, s.day, s.hour, s.minute,
                    s.second, s.hundredths, s.shotAt, s.series, s.countingSeries, s.sensorA, s.sensorB, s.sensorC,
                    s.sensorD, s.data41, s.data42, s.data43, s.data44, s.data45, s.sensorSet);
    }
    std::printf("comment: %s\n", OneLine(ToScreen(FieldText(list.comment, sizeof list.comment))).c_str());
    return 0;
}

int RunShots(const Args& args)
{
    if (args.size() == 4 && args[0] == "add")
        return AddShots(args);
    if (args.size() == 4)
        return PrintShots(args);
    if (args.size() == 5 && args[4] == "--full")
        return PrintShotsFull(args);
    return Fail("usage: bvtool shots add FOLDER COMP FILE | bvtool shots FOLDER COMP RELAY LANE [--full]");
}

// --- cards ---

int RunCards(const Args& args)
{
    if (args.size() != 2)
        return Fail("usage: bvtool cards FOLDER COMP");
    std::string error;
    CDataComp dc;
    if (!OpenComp(dc, args[0], args[1], false, error))
        return Fail(error);
    // The table is printed once every card has been read: a card that
    // cannot be read fails the command, not a line of the table.
    std::string table = std::string(dc.StartNumberMode() ? "start" : "relay") + " lane type system shots name\n";
    const int count = dc.CardFile().GetRecCount();
    for (int n = 1; n <= count; ++n) {
        CardRecord card;
        if (dc.CardFile().ReadRec(n, &card) != 0)
            return Fail("cannot read card " + std::to_string(n) + " of Card.BVD");
        ShotListRecord list;
        CDataComp::ClearShots(list);
        if (card.shotRec != 0 && dc.ShotFile().ReadRecDirect(card.shotRec, &list) != 0)
            return Fail("cannot read shot list " + std::to_string(card.shotRec) + " of Shot.BVD");
        int shots = 0;
        for (const ShotRecord& s : list.shots)
            shots += s.state == CDataComp::kSlotShot;
        NameRecord name;
        CDataComp::ClearName(name);
        if (card.nameRec != 0 && dc.ReadName(card, name) != 0)
            return Fail("cannot read name " + std::to_string(card.nameRec) + " of Name.BVD");
        char line[64];
        std::snprintf(line, sizeof line, "%5d %4d %4d %6d %5d ", card.relay, card.lane, card.targetType,
                      card.valueSystem, shots);
        table += line + ToScreen(FieldText(name.name, sizeof name.name)) + "\n";
    }
    std::fputs(table.c_str(), stdout);
    return 0;
}

int RunNames(const Args& args)
{
    if (args.size() != 2)
        return Fail("usage: bvtool names FOLDER COMP");
    std::string error;
    CDataComp dc;
    if (!OpenComp(dc, args[0], args[1], false, error))
        return Fail(error);
    // Printed once every record has been read, as the cards are.
    std::string table;
    const int count = dc.NameFile().GetRecCount();
    for (int n = 1; n <= count; ++n) {
        NameRecord name;
        if (dc.NameFile().ReadRec(n, &name) != 0)
            return Fail("cannot read name " + std::to_string(n) + " of Name.BVD");
        table += std::to_string(n) + "\t" + std::to_string(name.competition) + "\t" +
                 std::to_string(name.startNumber) + "\t" + ToScreen(FieldText(name.name, sizeof name.name)) + "\t" +
                 ToScreen(FieldText(name.club, sizeof name.club)) + "\t" +
                 ToScreen(FieldText(name.cls, sizeof name.cls)) + "\t" +
                 ToScreen(FieldText(name.category, sizeof name.category)) + "\t" +
                 std::to_string(name.startScore) + "\n";
    }
    std::fputs(table.c_str(), stdout);
    return 0;
}

[[maybe_unused]] const bool registeredComp = Register(
    {"comp", "bvtool comp create FOLDER COMP [FIRST-LAST]",
     "makes competition COMP (0-99) in range folder FOLDER with lanes FIRST-LAST (1-10) active; "
     "a range without a line channel gets one serving those lanes",
     &RunComp});
[[maybe_unused]] const bool registeredShots = Register(
    {"shots",
     "bvtool shots add FOLDER COMP FILE\n"
     "bvtool shots FOLDER COMP RELAY LANE\n"
     "bvtool shots FOLDER COMP RELAY LANE --full",
     "stores the shots of a text list (lines RELAY LANE SERIES VALUE X Y [SHOT], value in rings, "
     "X and Y in mm; # comments), or prints a card's shots; --full prints the card line and every field "
     "of every used slot (name=value, flags in hex), then the comment",
     &RunShots});
[[maybe_unused]] const bool registeredCards =
    Register({"cards", "bvtool cards FOLDER COMP", "prints the cards of a competition with their shot counts and names",
              &RunCards});
[[maybe_unused]] const bool registeredNames =
    Register({"names", "bvtool names FOLDER COMP",
              "prints every name record of a competition: record number, competition, number (start number or "
              "relay x 100 + lane), name, club, class, category and start score in hundredths, tab-separated",
              &RunNames});

}  // namespace
}  // namespace bvtool
