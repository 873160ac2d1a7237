// One exchange pass of the worker over a competition with one of its data
// files damaged: the input picks the file (Comp, Exch, an event's settings,
// entries or results, the shooters) and cuts it short, overwrites bytes of
// it, or replaces it. The pass never fails badly; a file that did not read
// before the pass is exactly as it was after it, and so is everything made
// from it: the names when it is the shooters, the event's names when it is
// an event's, every file when it is the competition's settings.
#include "foundation/files/BVConfig.h"
#include "fuzz/FuzzScratch.h"
#include "platform/files/ProfileStore.h"
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/DataFileOpen.h"
#include "results/data/EventItems.h"
#include "results/exchange/BVResThread.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace results;
using fuzz::Check;

enum class Holds { Everything, EventOne, Names };

struct DataFile {
    const char* path;  // from the working folder
    DataFileLayout layout;
    bool settings;  // a configuration file
    Holds holds;    // what may not change while it does not read
};

const DataFile kFiles[] = {
    {"Comp1/Comp.bvc", {}, true, Holds::Everything},
    {"Comp1/Exch.bvc", {}, true, Holds::Everything},
    {"Comp1/Event1.bvc", {}, true, Holds::EventOne},
    {"Comp1/Reg1.bvd", {CDataReg::kRecordSize, CDataReg::kVersion, true, true}, false, Holds::EventOne},
    {"Comp1/Res1.bvd",
     {CDataEvent::kResultRecordSize, CDataEvent::kResultVersion, true, false},
     false,
     Holds::EventOne},
    {"Comp1/Shooter.bvd", {CDataShooter::kRecordSize, CDataShooter::kVersion, true, false}, false, Holds::Names},
};

using Folder = std::map<std::string, std::string>;
Folder g_pristine;

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file of the working folder but the program log.
Folder Snapshot()
{
    Folder files;
    for (const auto& entry : fs::recursive_directory_iterator("."))
        if (entry.is_regular_file() && entry.path().filename() != "BVLog.txt")
            files[fs::relative(entry.path(), ".").generic_string()] = Read(entry.path());
    return files;
}

void Restore()
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("."))
        fs::remove_all(entry.path(), ec);
    for (const auto& [path, bytes] : g_pristine) {
        fs::create_directories(fs::path(path).parent_path());
        if (!fuzz::WriteWholeFile(path, bytes.data(), bytes.size()))
            std::abort();
    }
}

void RangeWrites(const char* name, const char* shots)
{
    const std::string text = std::string("[Res]\r\nSer1=") + shots + "\r\n";
    fuzz::WriteWholeFile(std::string("BV/") + name, text.data(), text.size());
}

// Two exchange events of two shooters each, their results in and their
// names sent once; the range's next shots waiting, and ExchReadNow on, so
// that the pass reads every file and writes every name.
void MakeCompetition()
{
    {
        platform::MemoryProfileStore profile;
        CCompetition comp;
        comp.SetProfile(&profile);
        if (comp.Open() != 0)
            std::abort();
        CBVConfig& c = comp.Comp();
        ::WriteItem(c, CompItems::kEventCount, 2);
        ::WriteItem(comp.Exch(), ExchItems::kOn, 1);
        for (int n = 1; n <= 2; ++n) {
            ::WriteItem(c, CompItems::EventInUse(n), 1);
            ::WriteItem(c, CompItems::EventRelays(n), 1);
            ::WriteItem(c, CompItems::EventSeries(n), 1);
            ::WriteItem(c, CompItems::EventFirstTarget(n), 1);
            ::WriteItem(c, CompItems::EventLastTarget(n), 2);
            comp.RefreshEvents();
            CDataEvent& event = *comp.GetEvent(n);
            ::WriteItem(event.Settings(), EventItems::SeriesShots(1), 3);
            ::WriteItem(event.Settings(), EventItems::SeriesType(1), 3);
            ::WriteItem(event.Settings(), EventItems::RelayNumber(1), 1);
            ::WriteItem(comp.Exch(), ExchItems::EventType(n), 1);
            ::WriteItem(comp.Exch(), ExchItems::EventPrefix(n), n == 1 ? "H1" : "H2");
            for (int t = 1; t <= 2; ++t) {
                const int startNr = 100 * n + t;
                comp.Shooters().Put(startNr, "", "Skytter " + std::to_string(startNr), 0, 0, "");
                RegRecord entry{};
                entry.relay = 1;
                entry.target = static_cast<int16_t>(t);
                entry.startNr = startNr;
                entry.changed = 1;
                event.Entries().File().WriteRecKey(&entry);
            }
        }
    }
    fs::create_directories("BV");
    for (const char* name : {"H1R00101.TXT", "H1R00102.TXT", "H2R00101.TXT", "H2R00102.TXT"})
        RangeWrites(name, "100 90 80");
    {
        CBVResThread worker(1);
        worker.OpenFiles();
        worker.MakeReader();
        ::WriteItem(worker.ExchSettings(), ExchItems::kReadNow, 1);
        worker.ResProc();
    }
    for (const char* name : {"H1R00101.TXT", "H1R00102.TXT", "H2R00101.TXT", "H2R00102.TXT"})
        RangeWrites(name, "70 60 50");
    fs::remove("BVLog.txt");
}

bool MayChange(Holds holds, const std::string& path)
{
    switch (holds) {
    case Holds::Everything: return false;
    case Holds::EventOne: {
        // Event1.bvc, Reg1.bvd, Res1.bvd, their journals, and what went out.
        const bool ofEventOne = path.rfind("Comp1/", 0) == 0 && path.find("1.", 6) != std::string::npos;
        return !ofEventOne && path.rfind("BV/H1", 0) != 0 && path.rfind("BV/N001", 0) != 0;
    }
    // The entries keep their changed flags for when the names can go out.
    case Holds::Names: return path.rfind("BV/N", 0) != 0 && path.rfind("Comp1/Reg", 0) != 0;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::AbsoluteArguments(argc, argv);
    static const fuzz::ScratchFolder folder("fuzz-exchange");
    if (chdir(folder.Path().c_str()) != 0)
        std::abort();
    MakeCompetition();
    g_pristine = Snapshot();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    Restore();
    const DataFile& file = kFiles[data[0] % std::size(kFiles)];
    std::string bytes = g_pristine.at(file.path);
    const size_t at = (data[2] | data[3] << 8) % (bytes.size() + 1);
    const std::string given(reinterpret_cast<const char*>(data + 4), size - 4);
    switch (data[1] % 3) {
    case 0: bytes.resize(at); break;  // cut short
    case 1: bytes.replace(at, std::min(given.size(), bytes.size() - at), given); break;  // overwritten
    default: bytes = given; break;  // replaced
    }
    if (!fuzz::WriteWholeFile(file.path, bytes.data(), bytes.size()))
        return 0;
    const std::string system = ".\\" + std::string(file.path).replace(5, 1, "\\");
    const std::string fault = file.settings ? SettingsFileFault(system) : DataFileFault(system, file.layout);
    const Folder before = Snapshot();

    {
        CBVResThread worker(1);
        worker.OpenFiles();
        worker.MakeReader();
        worker.ResProc();
    }
    if (fault.empty())
        return 0;
    const Folder after = Snapshot();
    Check(after.at(file.path) == bytes);
    for (const auto& [path, was] : before) {
        auto now = after.find(path);
        if (!MayChange(file.holds, path))
            Check(now != after.end() && now->second == was);
    }
    for (const auto& [path, bytesNow] : after)
        Check(before.count(path) || MayChange(file.holds, path));
    return 0;
}
