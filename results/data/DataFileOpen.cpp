#include "results/data/DataFileOpen.h"

#include "foundation/files/BVLog.h"
#include "foundation/files/RecordJournal.h"
#include "platform/files/NativeFile.h"
#include "platform/files/SystemPath.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace results {
namespace {

std::mutex g_handlerMutex;
NewerVersionHandler g_handler;
DamagedFileHandler g_damagedHandler;
// The files logged as damaged or newer, with their fault: the worker looks
// at them every pass, and the log says it once.
std::map<std::string, std::string> g_faultsLogged;

// A version this far beyond the program's is no version any program wrote:
// the header itself is damaged.
constexpr int kVersionsAhead = 100;

struct FileCheck {
    std::string fault;
    bool newer = false;  // a real newer version: the newer-version answer, not the damaged one
};

FileCheck CheckFile(const std::string& path, const DataFileLayout& layout)
{
    platform::NativeFile file;
    if (int rc = file.OpenExisting(path, platform::NativeFile::Access::Read); rc != 0)
        return {rc == ENOENT ? std::string() : "unreadable (" + std::string(std::strerror(rc)) + ")"};
    RecordFileHeader h;
    if (file.ReadAt(&h, sizeof h, 0) != static_cast<long>(sizeof h))
        return {"truncated (no whole header)"};
    if (h.version < 1 || h.version > layout.version + kVersionsAhead || h.recordSize < 4)
        return {"damaged header (version " + std::to_string(h.version) + ", record size " +
                std::to_string(h.recordSize) + ")"};
    if (h.version > layout.version)
        return {"newer version " + std::to_string(h.version), true};
    if (h.version < layout.version && !layout.convertsOlder)
        return {"older version " + std::to_string(h.version)};
    if (h.version == layout.version && h.recordSize != layout.recordSize)
        return {"wrong record size " + std::to_string(h.recordSize)};
    // A file cut short mid-record lost the records after it, and perhaps
    // more: the records that are left would read as the whole file. A
    // writer that died mid-record left its journal, which puts the file back
    // when it is opened.
    if (CRecordJournal::PendingAt(platform::NativePath(path) + ".undo"))
        return {};
    const int64_t size = file.Size();
    if (size < 0)
        return {"unreadable (" + std::string(std::strerror(errno)) + ")"};
    if (const int64_t tail = (size - static_cast<int64_t>(sizeof h)) % h.recordSize; tail != 0)
        return {"truncated (last record " + std::to_string(tail) + " of " + std::to_string(h.recordSize) + " bytes)"};
    return {};
}

// Whether the file's fault is news for the log.
bool FirstReport(const std::string& path, const std::string& fault)
{
    std::lock_guard<std::mutex> lock(g_handlerMutex);
    return std::exchange(g_faultsLogged[path], fault) != fault;
}

void ReportDamaged(const std::string& path, const std::string& fault)
{
    if (FirstReport(path, fault))
        BV_LOG(ProgramLog(), 90, "Can't read %s: %s", path.c_str(), fault.c_str());
    DamagedFileHandler handler;
    {
        std::lock_guard<std::mutex> lock(g_handlerMutex);
        handler = g_damagedHandler;
    }
    if (handler)
        handler(path, fault);
}

// The file reads again: a later fault is news.
void ForgetDamaged(const std::string& path)
{
    std::lock_guard<std::mutex> lock(g_handlerMutex);
    g_faultsLogged.erase(path);
}

const DataFileLayout kSettingsLayout{CBVConfig::kRecordSize, CBVConfig::kVersion, false, false};

void ReportNewer(const std::string& path)
{
    NewerVersionHandler handler;
    {
        std::lock_guard<std::mutex> lock(g_handlerMutex);
        handler = g_handler;
    }
    if (handler)
        handler(path);
}

void ReportNewerVersion(const std::string& path, const std::string& fault, bool logsPath)
{
    if (FirstReport(path, fault)) {
        if (logsPath)
            BV_LOG(ProgramLog(), 90, "File version is newer than program in %s", path.c_str());
        else
            BV_LOG(ProgramLog(), 90, "File version is newer than program");
    }
    ReportNewer(path);
}

}  // namespace

void SetNewerVersionHandler(NewerVersionHandler handler)
{
    std::lock_guard<std::mutex> lock(g_handlerMutex);
    g_handler = std::move(handler);
}

void SetDamagedFileHandler(DamagedFileHandler handler)
{
    std::lock_guard<std::mutex> lock(g_handlerMutex);
    g_damagedHandler = std::move(handler);
}

std::string DataFileFault(const std::string& path, const DataFileLayout& layout)
{
    return CheckFile(path, layout).fault;
}

std::string SettingsFileFault(const std::string& path) { return DataFileFault(path, kSettingsLayout); }

bool OpenSettingsFile(CBVConfig& settings, const std::string& path)
{
    if (FileCheck check = CheckFile(path, kSettingsLayout); check.newer) {
        ReportNewerVersion(path, check.fault, true);
        return false;
    } else if (!check.fault.empty()) {
        ReportDamaged(path, check.fault);
        return false;
    }
    settings.Open(path, 1);
    if (settings.IsOpen())
        ForgetDamaged(path);
    return settings.IsOpen();
}

OpenOutcome OpenDataFile(CBVFileEx& file, const std::string& path, const DataFileLayout& layout,
                         const std::function<void(CBVFileEx&)>& fixUp)
{
    if (FileCheck check = CheckFile(path, layout); check.newer) {
        file.Close();
        ReportNewerVersion(path, check.fault, layout.logsPath);
        return OpenOutcome::Newer;
    } else if (!check.fault.empty()) {
        file.Close();
        ReportDamaged(path, check.fault);
        return OpenOutcome::Failed;
    }
    int rc = file.Open(path, layout.recordSize, layout.version, 0, kDataFileOptions);
    if (rc == 0) {
        ForgetDamaged(path);
        return OpenOutcome::Opened;
    }
    if (rc == -99) {
        int16_t found = file.GetVersion();
        if (layout.convertsOlder && found < layout.version) {
            if (file.Convert(kCommonFolder, layout.recordSize, layout.version) != 0 || !file.IsOpen()) {
                // The old file is still in place, whole; nothing is written
                // to it in a layout it does not have.
                BV_LOG(ProgramLog(), 90, "Can't convert %s from version %d", path.c_str(), found);
                file.Close();
                return OpenOutcome::Failed;
            }
            if (fixUp)
                fixUp(file);
            file.Close();
            return OpenOutcome::Converted;
        }
        // Made newer by another program since the look above.
        file.Close();
        ReportNewerVersion(path, "newer version " + std::to_string(found), layout.logsPath);
        return OpenOutcome::Newer;
    }
    rc = file.Open(path, layout.recordSize, layout.version, 1, kDataFileOptions);
    if (rc != 0)
        return OpenOutcome::Failed;
    ForgetDamaged(path);
    return OpenOutcome::Opened;
}

}  // namespace results
