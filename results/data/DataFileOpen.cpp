#include "results/data/DataFileOpen.h"

#include "foundation/files/BVLog.h"

#include <mutex>

namespace results {
namespace {

std::mutex g_handlerMutex;
NewerVersionHandler g_handler;

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

}  // namespace

void SetNewerVersionHandler(NewerVersionHandler handler)
{
    std::lock_guard<std::mutex> lock(g_handlerMutex);
    g_handler = std::move(handler);
}

OpenOutcome OpenDataFile(CBVFileEx& file, const std::string& path, const DataFileLayout& layout,
                         const std::function<void(CBVFileEx&)>& fixUp)
{
    int rc = file.Open(path, layout.recordSize, layout.version, 0, kDataFileOptions);
    if (rc == 0)
        return OpenOutcome::Opened;
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
        if (layout.logsPath)
            BV_LOG(ProgramLog(), 90, "File version is newer than program in %s", path.c_str());
        else
            BV_LOG(ProgramLog(), 90, "File version is newer than program");
        file.Close();
        ReportNewer(path);
        return OpenOutcome::Newer;
    }
    rc = file.Open(path, layout.recordSize, layout.version, 1, kDataFileOptions);
    return rc == 0 ? OpenOutcome::Opened : OpenOutcome::Failed;
}

}  // namespace results
