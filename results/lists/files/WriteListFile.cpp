#include "results/lists/files/WriteListFile.h"

#include "results/data/CompetitionItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"
#include "results/lists/files/HtmlListFile.h"
#include "results/lists/files/RtfListFile.h"
#include "results/lists/files/TextListFile.h"

#include "platform/files/FileSystem.h"
#include "platform/system/Clock.h"

#include <cerrno>
#include <cstdio>

namespace results {
namespace {

std::string HtmlPrintTime()
{
    platform::LocalTime now = platform::Now();
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d - %02d.%02d.%d", now.hour, now.minute, now.day, now.month, now.year);
    return text;
}

}  // namespace

std::string ListFileBytes(CDataList& list, bool textFile, bool header, bool footer, bool pressList)
{
    CCompetition& comp = list.Competition();
    const ListRequest& request = list.request;
    if (request.file.html) {
        const int fontSize = comp.Web().IsOpen() ? ::ReadItem(comp.Web(), WebItems::kFontSize)
                                                 : WebItems::kFontSize.defaultValue;
        return HtmlListFile(list.report.aListDef, header, fontSize, HtmlPrintTime());
    }
    if (textFile)
        return TextListFile(list.report.aListDef);
    RtfFileOptions options;
    options.header = header;
    options.footer = footer;
    options.compact = request.file.compact != 0;
    options.pressList = pressList;
    return RtfListFile(list.report.aListDef, options);
}

int WriteListFile(CDataList& list, bool textFile, bool header, bool footer, const std::string& path, bool pressList)
{
    const std::string bytes = ListFileBytes(list, textFile, header, footer, pressList);
    // Whole or not at all: a reader never finds half a list, and a file that
    // cannot be written leaves the one before it in place.
    int rc = path.empty() ? ENOENT : platform::WriteFileAtomically(path, bytes);
    if (rc != 0) {
        BV_LOG(list.Log(), 80, "List file %s not written (%d)", path.c_str(), rc);
        list.Report(ResString(IDS_WRITE_ERROR) + " \"" + path + "\"", CDataList::Message::Error);
        return -1;
    }
    list.report.Reset();
    return 0;
}

}  // namespace results
