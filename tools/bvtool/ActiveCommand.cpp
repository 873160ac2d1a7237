// bvtool active: which card each lane of a competition shows, as the range
// control keeps it in Active.BVD for the display and remote programs, and
// writing it as the range control does, so that tests can stage a range.
#include "tools/bvtool/Command.h"

#include "foundation/comp/DataComp.h"
#include "foundation/settings/CompSettings.h"
#include "platform/files/FileSystem.h"

#include <cstddef>
#include <cstdio>

namespace bvtool {
namespace {

bool OpenCompetition(CDataComp& dc, const std::string& folder, const std::string& comp, bool write,
                     std::string& error)
{
    long n;
    if (!ParseInt(comp, n) || n < 0 || n > CompSettings::kMaxCompetition) {
        error = "a competition is a number from 0 to 99, not '" + comp + "'";
        return false;
    }
    dc.SetBasePath(ToFile(folder));
    if (!platform::FileExists(dc.FolderOf(static_cast<int>(n)) + "\\Active.BVD")) {
        error = "no competition " + comp + " in " + folder;
        return false;
    }
    if (dc.Open(static_cast<int>(n), write ? 1 : 0) != 0 || !dc.IsOpen()) {
        error = "cannot open competition " + comp + " in " + folder;
        return false;
    }
    return true;
}

// Lane 0 is the final marking's record.
bool ParseLane(const std::string& text, int& lane)
{
    long n;
    if (!ParseInt(text, n) || n < 0 || n > CDataComp::kMaxLane)
        return false;
    lane = static_cast<int>(n);
    return true;
}

int PrintActive(const Args& args)
{
    int lane;
    if (!ParseLane(args[2], lane))
        return Fail("a lane is a number from 0 (the final) to 100, not '" + args[2] + "'");
    std::string error;
    CDataComp dc;
    if (!OpenCompetition(dc, args[0], args[1], false, error))
        return Fail(error);
    ActiveRecord a;
    CDataComp::ClearActive(a);
    a.lane = lane;
    if (dc.ActiveFile().ReadRecKey(&a) != 0)
        return Fail("no active record of lane " + args[2]);
    std::printf("%d %d %d %d %d\n", a.lane, a.relay, a.cardRec, a.changeCounter, a.seriesState);
    return 0;
}

int SetActive(const Args& args)
{
    int lane;
    if (!ParseLane(args[3], lane))
        return Fail("a lane is a number from 0 (the final) to 100, not '" + args[3] + "'");
    long relay = -1, card = -1, series = -1;
    for (size_t i = 4; i < args.size(); i += 2) {
        long value;
        if (i + 1 >= args.size() || !ParseInt(args[i + 1], value))
            return Fail("an option needs a number: " + args[i]);
        if (args[i] == "--relay" && value >= 0 && value <= 32767)
            relay = value;
        else if (args[i] == "--card" && value >= 0 && value <= 32767)
            card = value;
        else if (args[i] == "--series" && value >= 0 && value <= 255)
            series = value;
        else
            return Fail("unknown option or value out of range: " + args[i] + " " + args[i + 1]);
    }
    std::string error;
    CDataComp dc;
    if (!OpenCompetition(dc, args[1], args[2], true, error))
        return Fail(error);
    CBVFileEx& file = dc.ActiveFile();
    if (file.CheckOpen() != 0 || file.Lock() != 0) {
        file.CheckClose(0);
        return Fail("cannot lock Active.BVD");
    }
    ActiveRecord a;
    CDataComp::ClearActive(a);
    a.lane = lane;
    file.ReadRecKey(&a);
    a.lane = lane;
    if (relay >= 0)
        a.relay = static_cast<int16_t>(relay);
    if (card >= 0)
        a.cardRec = static_cast<int16_t>(card);
    if (series >= 0)
        a.seriesState = static_cast<uint8_t>(series);
    // Readers see by the counter that the lane changed.
    bool ok = file.WriteRecKey(&a) == 0;
    ActiveRecord written = a;
    if (ok)
        ok = file.ReadRecKey(&written) == 0 &&
             file.IncrementField(file.LastKeyHit(), offsetof(ActiveRecord, changeCounter), 2) != 0;
    if (file.CheckClose(0) != 0)
        ok = false;
    if (!ok)
        return Fail("cannot write the active record of lane " + args[3]);
    return 0;
}

int RunActive(const Args& args)
{
    if (!args.empty() && args[0] == "set" && args.size() >= 4)
        return SetActive(args);
    if (args.size() == 3)
        return PrintActive(args);
    return Fail("usage: bvtool active FOLDER COMP LANE | bvtool active set FOLDER COMP LANE [--relay R] [--card N] "
                "[--series S]");
}

[[maybe_unused]] const bool registered = Register(
    {"active",
     "bvtool active FOLDER COMP LANE\n"
     "bvtool active set FOLDER COMP LANE [--relay R] [--card N] [--series S]",
     "prints a lane's active record (LANE RELAY CARDREC COUNTER SERIES; lane 0 the final), or writes its fields "
     "and raises its counter as the range control does",
     &RunActive});

}  // namespace
}  // namespace bvtool
