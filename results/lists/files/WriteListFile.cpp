// The list object's list files: the model just made, written whole in the
// format the request's file options ask for.
#include "results/data/CompetitionItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"
#include "results/lists/files/ListFiles.h"

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

std::string CDataList::ListFileBytes(bool textFile, bool header, bool footer, bool pressList)
{
    if (request.file.html) {
        const int fontSize = m_comp.Web().IsOpen() ? ::ReadItem(m_comp.Web(), WebItems::kFontSize)
                                                   : WebItems::kFontSize.defaultValue;
        return HtmlListFile(aListDef, header, fontSize, HtmlPrintTime());
    }
    if (textFile)
        return TextListFile(aListDef);
    RtfFileOptions options;
    options.header = header;
    options.footer = footer;
    options.compact = request.file.compact != 0;
    options.pressList = pressList;
    return RtfListFile(aListDef, options);
}

int CDataList::WriteListFile(bool textFile, bool header, bool footer, const std::string& path, int, int,
                             bool pressList)
{
    const std::string bytes = ListFileBytes(textFile, header, footer, pressList);
    // Whole or not at all: a reader never finds half a list, and a file that
    // cannot be written leaves the one before it in place.
    int rc = path.empty() ? ENOENT : platform::WriteFileAtomically(path, bytes);
    if (rc != 0) {
        BV_LOG(m_log, 80, "List file %s not written (%d)", path.c_str(), rc);
        Report(ResString(IDS_WRITE_ERROR) + " \"" + path + "\"", Message::Error);
        return -1;
    }
    Reset();
    return 0;
}

}  // namespace results
