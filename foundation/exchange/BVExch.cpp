#include "foundation/exchange/BVExch.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"
#include "foundation/files/BVIniFile.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/text/FieldText.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/targets/TargetTypes.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "platform/system/StringFormat.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int kMaxSeries = CDataComp::kMaxSeries;

// The keys of a shooter's series lines: Ser<n>, X<n>, Y<n> and T<n>.
bool IsSeriesLineKey(std::string_view key)
{
    auto upper = [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); };
    size_t letters = 0;
    if (key.size() > 3 && upper(key[0]) == 'S' && upper(key[1]) == 'E' && upper(key[2]) == 'R')
        letters = 3;
    else if (key.size() > 1 && (upper(key[0]) == 'X' || upper(key[0]) == 'Y' || upper(key[0]) == 'T'))
        letters = 1;
    else
        return false;
    return std::all_of(key.begin() + static_cast<std::ptrdiff_t>(letters), key.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Nearest whole number, halves away from zero.
long RoundHalfAway(double v) { return std::lround(v); }

// What one lane holds for one relay.
struct Shooter {
    int relay = 0;
    CardRecord card;
    ShotListRecord list;
};

// How a lane's shooter was read.
enum class ShooterRead {
    Read,        // the card and its shots, or no card: a cleared card
    Unreadable,  // the card or shot file is damaged or cannot be opened
};

// The card and shots of (relay, lane); relay 0 asks for the relay now on the
// lane. A missing card reads as a cleared card without shots. A card that is
// there but cannot be read is not cleared: sent empty, the results program
// would take it for a shooter whose shots were deleted.
ShooterRead ReadShooter(CDataComp& dc, int relay, int lane, Shooter& out)
{
    if (relay == 0) {
        ActiveRecord active;
        dc.ReadActive(lane, active);
        relay = active.relay;
    }
    out.relay = relay;
    CDataComp::ClearCard(out.card);
    CDataComp::ClearShots(out.list);
    out.card.relay = static_cast<int16_t>(relay);
    out.card.lane = static_cast<int16_t>(lane);
    if (relay == 0)
        return ShooterRead::Read;
    if (dc.GetCard(out.card, 0) != 0) {
        CDataComp::ClearCard(out.card);
        CBVFileEx& cards = dc.CardFile();
        if (!cards.IsOpen() && platform::FileExists(cards.Path()))
            return ShooterRead::Unreadable;
        return ShooterRead::Read;
    }
    if (out.card.shotRec != 0 && dc.ReadShots(relay, lane, out.list) != 0)
        return ShooterRead::Unreadable;
    return ShooterRead::Read;
}

// The comment of a card on one line: CR as a backslash, LF as a bar.
std::string CommentLine(const ShotListRecord& list)
{
    std::string text = FieldText(list.comment, sizeof list.comment);
    for (char& c : text) {
        if (c == '\r')
            c = '\\';
        else if (c == '\n')
            c = '|';
    }
    if (text.size() > 250)
        text.resize(250);
    return text;
}

}  // namespace

// The files an export reads, kept for the next export of the same
// competition: after a shot only the card and shots of one lane are new.
struct CBVExch::Opened {
    std::string folder;
    int competition = 0;
    CBVConfig range;
    CProgramStore programs;
    CDataComp dc;
    CTargetTypes types;
};

CBVExch::~CBVExch() = default;

// The files of the competition, opened or, when kept from the last export,
// brought up to date: the settings are looked at for changes (a change of the
// competition's settings opens everything again, as the card files' options
// follow them), and files that were missing are looked for again. Null when
// the folder has no such competition.
CBVExch::Opened* CBVExch::OpenFor(int competition)
{
    if (m_opened && m_opened->folder == m_folder && m_opened->competition == competition) {
        Opened& k = *m_opened;
        const bool complete = k.range.IsOpen() && k.dc.CardFile().IsOpen() && k.dc.ShotFile().IsOpen() &&
                              k.dc.NameFile().IsOpen() && k.dc.ActiveFile().IsOpen();
        if (complete && k.dc.CompConfig().Refresh() == 0) {
            k.range.Refresh();
            k.programs.Refresh();
            return m_opened.get();
        }
    }
    m_opened.reset();
    auto k = std::make_unique<Opened>();
    k->folder = m_folder;
    k->competition = competition;
    k->range.Open(m_folder + "BVLeder.bvc", 0);
    k->programs.SetBasePath(m_folder);
    k->dc.SetBasePath(m_folder);
    k->types.SetLanguage("NO");
    m_opened = std::move(k);
    return m_opened.get();
}

CBVExch::CBVExch()
{
    for (int lane = 0; lane < kSlots; ++lane) {
        CDataComp::ClearName(names[lane]);
        names[lane].startNumber = -1;
        relays[lane] = -1;
    }
}

void CBVExch::SetFolder(const std::string& folder) { m_folder = NormalizeFolder(folder); }

std::string CBVExch::NormalizeFolder(const std::string& folder) { return platform::FolderWithSeparator(folder); }

bool CBVExch::IsValidPrefix(std::string_view p)
{
    return p.size() == 2 && std::isalpha(static_cast<unsigned char>(p[0])) && static_cast<unsigned char>(p[0]) < 128 &&
           p[1] >= '0' && p[1] <= '9';
}

int CBVExch::ExportResults(int competition, int firstRelay, int lastRelay, int firstLane, int shooters,
                           const std::string& folder)
{
    if (competition == 0)
        return kPracticeCompetition;

    Opened& opened = *OpenFor(competition);
    CBVConfig& range = opened.range;
    CProgramStore& programs = opened.programs;
    CDataComp& dc = opened.dc;
    std::array<ChannelSetting, CRangeSettings::kChannels> channels;
    for (int k = 0; k < CRangeSettings::kChannels; ++k)
        channels[static_cast<size_t>(k)] = CRangeSettings::ReadChannel(range, k);
    // The range's own folder lies below the range folder, wherever this
    // program runs; a folder the caller gives is the caller's.
    const std::string exch = folder.empty() ? CRangeSettings::ExchangeFolderIn(range, m_folder) : NormalizeFolder(folder);

    if (!CBVFileEx::TestFolder(exch)) {
        BV_LOG(m_log, 90, "ExportResults(%d) cannot write in %s", competition, exch.c_str());
        m_failedFolder = exch;
        return kFolderNotWritable;
    }

    if (!dc.IsOpen())
        dc.Open(competition, 0);
    if (!dc.CompConfig().IsOpen()) {
        BV_LOG(m_log, 80, "ExportResults(%d) No competition in %s", competition, m_folder.c_str());
        return kPracticeCompetition;
    }
    const int program = ReadItem(dc.CompConfig(), CompSettings::kProgram);
    prefix = ReadItem(dc.CompConfig(), CompSettings::kPrefix);
    resultsProgram = ReadItem(range, RangeItems::kResultsProgram);
    startNumbers = dc.StartNumberMode();
    if (resultsProgram == 8)
        return kNothingToExport;
    if (resultsProgram < 0 || resultsProgram > 8) {
        BV_LOG(m_log, 80, "Ukjent resultatprogram valgt (%d) - bruker BVRes format", resultsProgram);
        resultsProgram = 0;
    }
    if (!IsValidPrefix(prefix)) {
        BV_LOG(m_log, 90, "ExportResults(%d) illegal prefix '%s'", competition, prefix.c_str());
        return kIllegalPrefix;
    }
    // An export of a whole relay or more writes a file per shooter into a
    // folder of many: it is listed once for them all.
    std::optional<platform::KeptListing> listing;
    if (shooters != 1)
        listing.emplace(exch);
    const int equipment = ReadItem(range, RangeItems::kExternalEquipment);
    const bool turning = equipment == 1;

    // The lanes: active in the competition and served by one of the range's
    // line channels. Lane numbers from the channel settings are bytes of a
    // file and are taken only within 1 to 100.
    std::vector<int> lanes;
    for (int lane = std::max(firstLane, 1); lane <= CDataComp::kMaxLane; ++lane) {
        if (ReadItem(dc.CompConfig(), CompSettings::LaneActive(lane)) == 0)
            continue;
        bool served = std::any_of(channels.begin(), channels.end(), [&](const ChannelSetting& c) {
            return c.InUse() && std::clamp(c.firstLane, 1, CDataComp::kMaxLane) <= lane &&
                   lane <= std::clamp(c.lastLane, 1, CDataComp::kMaxLane);
        });
        if (served)
            lanes.push_back(lane);
    }

    // The program's series: shots, exchange number, target.
    std::array<int, kMaxSeries + 1> serieShots{}, serieExch{}, serieTarget{};
    for (int s = 1; s <= kMaxSeries; ++s) {
        serieShots[static_cast<size_t>(s)] = programs.GetSerieShots(s, program);
        serieExch[static_cast<size_t>(s)] = programs.GetSerieExch(s, program);
        serieTarget[static_cast<size_t>(s)] = programs.GetSerieTarget(s, program);
    }
    auto exchOf = [&](int series) { return series >= 1 && series <= kMaxSeries ? serieExch[static_cast<size_t>(series)] : 0; };
    const bool resort = turning && programs.GetEquipment(program) == 129;
    const int size = std::max(programs.GetSize(program), 1);

    CTargetTypes& types = opened.types;
    Shooter shooter;
    uint8_t order[CDataComp::kSlots];
    int written = 0;
    auto limitReached = [&] { return shooters > 0 && written >= shooters; };

    const bool lineFormat = resultsProgram == 3 || resultsProgram == 4 || resultsProgram == 5 || resultsProgram == 7;
    if (lineFormat) {
        if (firstRelay == 0 || lastRelay == 0) {
            BV_LOG(m_log, 90, "ExportResults(%d) needs relays for results program %d", competition, resultsProgram);
            return kNoRelayRange;
        }
        for (int relay = firstRelay; relay <= lastRelay && !limitReached(); ++relay) {
            std::string path = resultsProgram == 7 ? platform::StringFormat("%s%sISSF%03d.CSV", exch.c_str(), prefix.c_str(), relay)
                                                   : platform::StringFormat("%s%s-01-5.%03d", exch.c_str(), prefix.c_str(), relay);
            std::string text;
            for (int lane : lanes) {
                if (limitReached())
                    break;
                if (ReadShooter(dc, relay, lane, shooter) == ShooterRead::Unreadable) {
                    BV_LOG(m_log, 80, "Card %d:%d unreadable - not sent", relay, lane);
                    continue;
                }
                CDataComp::BuildShotOrder(shooter.list, order, resort);
                text += platform::StringFormat("%2d: ", lane);
                const int system = resultsProgram == 7 ? shooter.card.valueSystem : 99;
                std::string value;
                for (int s = 1; s <= kMaxSeries; ++s) {
                    if (serieShots[static_cast<size_t>(s)] == 0 || serieExch[static_cast<size_t>(s)] == 0)
                        continue;
                    for (int i = 1; i <= serieShots[static_cast<size_t>(s)]; ++i) {
                        int slot = CDataComp::FindSeriesShot(shooter.list, s, i, order);
                        int tenths = 255;
                        if (slot >= 0) {
                            const ShotRecord& shot = shooter.list.shots[slot];
                            tenths = (turning && (shot.flags & CDataComp::kFlagMarked)) ? 0 : shot.value / 10;
                        }
                        text += CDataComp::ShortValueText(tenths, value, system);
                    }
                }
                text += "\r\n";
                ++written;
            }
            // A reader of the folder sees the old file or the whole new one.
            if (platform::WriteFileAtomically(path, text) != 0) {
                m_failedFile = path;
                BV_LOG(m_log, 90, "Unable to open file for exchange (%s)", path.c_str());
                return kFileNotCreated;
            }
        }
        return kDone;
    }

    const int from = firstRelay, to = std::max(firstRelay, lastRelay);
    for (int relayAsked = from; relayAsked <= to && !limitReached(); ++relayAsked) {
        for (int lane : lanes) {
            if (limitReached())
                break;
            if (ReadShooter(dc, relayAsked, lane, shooter) == ShooterRead::Unreadable) {
                BV_LOG(m_log, 80, "Card %d:%d unreadable - not sent", shooter.relay, lane);
                continue;
            }
            if (shooter.relay == 0)
                continue;  // nobody on the lane
            const CardRecord& card = shooter.card;
            const ShotListRecord& list = shooter.list;
            const int code = card.targetType;

            CBVIniFile ini;
            ini.PutString("Def", "Target", types.GetName(code));
            if (code == 29) {
                int q = 0, r = 0;
                for (int s = 1; s <= kMaxSeries; ++s) {
                    int u = serieExch[static_cast<size_t>(s)];
                    if (serieShots[static_cast<size_t>(s)] == 0 || u < 1 || u > kMaxSeries)
                        continue;
                    (serieTarget[static_cast<size_t>(s)] == 2 ? q : r) += 1;
                }
                int id, def = 0;
                if (q != 0 && r != 0) {
                    id = 29;
                    def = r + (card.sensitivity == 0 ? 128 : 0);
                } else if (q != 0) {
                    id = card.sensitivity == 1 ? 22 : 21;
                } else {
                    id = card.sensitivity == 1 ? 20 : 19;
                }
                ini.PutInt("Def", "TargetID", id);
                ini.PutInt("Def", "TargetIDDef", def);
            } else {
                ini.RemoveKeys("Def", [](std::string_view key) { return key == "TargetIDDef"; });
                ini.PutInt("Def", "TargetID", code);
            }

            // Simulated over real distance; a distance that is missing, 0 or
            // not a number is the target type's own.
            const int typeDistance = std::max(types.GetDistance(code), 1);
            int actual = ReadItem(dc.CompConfig(), CompSettings::kDistance, typeDistance);
            int simulated = ReadItem(dc.CompConfig(), CompSettings::kSimulatedDistance, typeDistance);
            if (actual <= 0)
                actual = typeDistance;
            if (simulated <= 0)
                simulated = typeDistance;
            const double scale = static_cast<double>(simulated) / actual;

            CDataComp::BuildShotOrder(list, order, resort);
            // The series lines are written whole every time: lines the card no
            // longer has (shots deleted, fewer shots after a re-shoot) go.
            ini.RemoveKeys("Res", IsSeriesLineKey);
            for (int s = 1; s <= kMaxSeries; ++s) {
                const int u = serieExch[static_cast<size_t>(s)];
                if (u == 0 || serieShots[static_cast<size_t>(s)] == 0)
                    continue;
                int n = u, count = 0;
                std::string ser, x, y, t;
                auto putLine = [&](bool times) {
                    ini.PutString("Res", platform::StringFormat("Ser%d", n), ser);
                    ini.PutString("Res", platform::StringFormat("X%d", n), x);
                    ini.PutString("Res", platform::StringFormat("Y%d", n), y);
                    ini.PutString("Res", platform::StringFormat("T%d", n), times ? t : std::string());
                };
                for (int k = 0; k < CDataComp::kSlots && order[k] != CDataComp::kOrderEnd; ++k) {
                    const ShotRecord& shot = list.shots[order[k]];
                    if (exchOf(shot.series & 0x7F) != u)
                        continue;
                    if (count == size) {
                        putLine(true);
                        ser.clear(), x.clear(), y.clear(), t.clear();
                        count = 0;
                        ++n;
                    }
                    int value = shot.value;
                    if (value > 1299 || (value < 100 && value != 0))
                        BV_LOG(m_log, 80, "Invalid shot %d:%d.%d=%d", shooter.relay, lane, order[k], value);
                    if (turning && (shot.flags & CDataComp::kFlagMarked))
                        value = 0;
                    ser += platform::StringFormat(" %d", value / 10);
                    x += platform::StringFormat(" %ld", RoundHalfAway(std::trunc(shot.x * scale) / 100.0));
                    y += platform::StringFormat(" %ld", RoundHalfAway(std::trunc(shot.y * scale) / 100.0));
                    t += platform::StringFormat(" %d", static_cast<int>(shot.shotAt));
                    ++count;
                }
                if (count >= 1)
                    putLine(turning);
            }

            ini.PutString("Notes", "State", card.resultState >= 1 && card.resultState <= 4
                                                ? std::to_string(card.resultState)
                                                : std::string("0"));
            ini.PutString("Notes", "Comments", CommentLine(list));

            std::string path = startNumbers
                                   ? platform::StringFormat("%s%sR%05d.txt", exch.c_str(), prefix.c_str(), shooter.relay)
                                   : platform::StringFormat("%s%sR%03d%02d.txt", exch.c_str(), prefix.c_str(), shooter.relay, lane);
            // Merged into what the results side wrote (its start number).
            ini.Write(path, false);
            ++written;
        }
    }
    return kDone;
}
