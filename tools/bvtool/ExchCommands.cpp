// bvtool export and import: a range folder's results to the exchange folder
// of its results program, and the shooters' names back onto its cards, as
// the range control and the remote program do.
#include "Command.h"
#include "tools/bvtool/RangeDefaults.h"

#include "foundation/files/BVConfig.h"
#include "foundation/exchange/BVExch.h"
#include "foundation/files/BVFileEx.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/comp/DataComp.h"
#include "foundation/text/FieldText.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/FileSystem.h"

#include <cstdio>

namespace bvtool {
namespace {

bool ParseComp(const std::string& text, const std::string& folder, int& comp, std::string& error)
{
    long n;
    if (!ParseInt(text, n) || n < 0 || n > CompSettings::kMaxCompetition) {
        error = "a competition is a number from 0 to 99, not '" + text + "'";
        return false;
    }
    comp = static_cast<int>(n);
    if (!platform::FileExists(CompSettings::FolderOf(CBVExch::NormalizeFolder(ToFile(folder)), comp) + "\\Card.BVD")) {
        error = "no competition " + text + " in " + folder;
        return false;
    }
    return true;
}

int RunExport(const Args& args)
{
    // FOLDER COMP [EXCHANGE-FOLDER] [--relays FIRST-LAST]
    Args plain;
    long first = 0, last = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--relays" && i + 1 < args.size()) {
            const std::string& r = args[++i];
            size_t dash = r.find('-');
            if (!ParseInt(r.substr(0, dash), first) ||
                !ParseInt(dash == std::string::npos ? r : r.substr(dash + 1), last) || first < 1 || last < first ||
                last > 32767)
                return Fail("relays are FIRST-LAST within 1-32767, not '" + r + "'");
        } else {
            plain.push_back(args[i]);
        }
    }
    if (plain.size() < 2 || plain.size() > 3)
        return Fail("usage: bvtool export FOLDER COMP [EXCHANGE-FOLDER] [--relays FIRST-LAST]");
    int comp;
    std::string error;
    if (!ParseComp(plain[1], plain[0], comp, error))
        return Fail(error);
    CBVExch exch;
    exch.SetFolder(ToFile(plain[0]));
    CBVConfig range;
    range.Open(CBVExch::NormalizeFolder(ToFile(plain[0])) + "BVLeder.bvc", 0);
    const std::string folder = plain.size() == 3 ? ToFile(plain[2]) : CRangeSettings::ExchangeFolderIn(range, ToFile(plain[0]));
    int rc = exch.ExportResults(comp, static_cast<int>(first), static_cast<int>(last), 0, 0, folder);
    switch (rc) {
    case CBVExch::kDone:
        return 0;
    case CBVExch::kNothingToExport:
        return Fail("the range's results program (8) takes no results");
    case CBVExch::kPracticeCompetition:
        return Fail("the practice competition is not exported");
    case CBVExch::kFolderNotWritable:
        return Fail("cannot write into the exchange folder " + ToScreen(exch.FailedFolder()));
    case CBVExch::kIllegalPrefix:
        return Fail("illegal prefix '" + ToScreen(exch.prefix) + "' (a letter and a digit)");
    case CBVExch::kNoRelayRange:
        return Fail("this results program takes one file per relay: give --relays FIRST-LAST");
    case CBVExch::kFileNotCreated:
        return Fail("cannot write " + ToScreen(exch.FailedFile()));
    default:
        return Fail("export failed (" + std::to_string(rc) + ")");
    }
}

int RunImport(const Args& args)
{
    if (args.size() < 3 || args.size() > 4)
        return Fail("usage: bvtool import FOLDER COMP RELAY [EXCHANGE-FOLDER | OTHER-RANGE-FOLDER]");
    int comp;
    std::string error;
    if (!ParseComp(args[1], args[0], comp, error))
        return Fail(error);
    long relay;
    if (!ParseInt(args[2], relay) || relay < 1 || relay > 32767)
        return Fail("a relay is a number from 1 to 32767, not '" + args[2] + "'");
    if (std::string fault = CompetitionFault(ToFile(args[0]), comp, true); !fault.empty())
        return Fail("cannot read competition " + args[1] + " in " + args[0] + ": " + ToScreen(fault));
    CDataComp dc;
    dc.SetBasePath(ToFile(args[0]));
    if (dc.Open(comp, 1) != 0)
        return Fail("cannot open competition " + args[1]);
    CBVConfig range;
    range.Open(dc.GetBasePath() + "BVLeder.bvc", 0);

    CBVExch exch;
    exch.resultsProgram = ReadItem(range, RangeItems::kResultsProgram);
    exch.prefix = ReadItem(dc.CompConfig(), CompSettings::kPrefix);
    exch.startNumbers = dc.StartNumberMode();
    const std::string given = args.size() == 4 ? ToFile(args[3]) : std::string();
    exch.exchangeFolder =
        exch.resultsProgram == 8 || !given.empty() ? given : CRangeSettings::ExchangeFolderIn(range, dc.GetBasePath());
    if (exch.resultsProgram == 8 && given.empty())
        return Fail("the range's results program (8) takes names from another range folder: give it");
    if (exch.resultsProgram != 8 && !CBVFileEx::TestFolder(CBVExch::NormalizeFolder(exch.exchangeFolder)))
        return Fail("cannot use the exchange folder " + ToScreen(CBVExch::NormalizeFolder(exch.exchangeFolder)));
    if (!CBVExch::IsValidPrefix(exch.prefix))
        return Fail("illegal prefix '" + ToScreen(exch.prefix) + "' (a letter and a digit)");
    // The relay's own file of names, or the other range's competition, must
    // be there to be read; a name file of one start number may be missing.
    if (exch.resultsProgram >= 3 && exch.resultsProgram <= 5) {
        char name[32];
        std::snprintf(name, sizeof name, "%s-XX-s.%03d", exch.prefix.c_str(), static_cast<int>(relay));
        const std::string file = CBVExch::NormalizeFolder(exch.exchangeFolder) + name;
        if (!platform::FileExists(file))
            return Fail("cannot read " + ToScreen(file));
    }
    if (exch.resultsProgram == 8) {
        if (!platform::FileExists(CompSettings::FolderOf(CBVExch::NormalizeFolder(given), comp) + "\\Card.BVD"))
            return Fail("no competition " + args[1] + " in " + args[3]);
        if (std::string fault = CompetitionFault(given, comp, false); !fault.empty())
            return Fail("cannot read competition " + args[1] + " in " + args[3] + ": " + ToScreen(fault));
    }
    for (int lane = 1; lane <= CDataComp::kMaxLane; ++lane)
        if (ReadItem(dc.CompConfig(), CompSettings::LaneActive(lane)) != 0)
            exch.relays[lane] = static_cast<int>(relay);
    if (exch.ImportNames(static_cast<int>(relay), 0, comp, given) != 0)
        return Fail("unknown results program " + std::to_string(exch.resultsProgram));

    // The names go onto the cards, which are made where they are missing.
    for (int lane = 1; lane <= CDataComp::kMaxLane; ++lane) {
        NameRecord name = exch.names[lane];
        if (exch.relays[lane] < 0 || name.startNumber == -1)
            continue;
        name.competition = comp;
        CardRecord card = NewLaneCard(range, static_cast<int>(relay), lane);
        if (dc.GetCard(card, 1) < 0 || dc.StoreName(static_cast<int>(relay), lane, name) != 0)
            return Fail("cannot store the name of lane " + std::to_string(lane));
        std::printf("%3d %6d %s\n", lane, name.startNumber, ToScreen(FieldText(name.name, sizeof name.name)).c_str());
    }
    return 0;
}

[[maybe_unused]] const bool registeredExport = Register(
    {"export", "bvtool export FOLDER COMP [EXCHANGE-FOLDER] [--relays FIRST-LAST]",
     "writes the results of a competition for the range's results program (relays: each lane's own when not given)",
     &RunExport});
[[maybe_unused]] const bool registeredImport = Register(
    {"import", "bvtool import FOLDER COMP RELAY [EXCHANGE-FOLDER | OTHER-RANGE-FOLDER]",
     "takes the names of a relay from the range's results program onto the cards of the active lanes; "
     "prints each lane that got one",
     &RunImport});

}  // namespace
}  // namespace bvtool
