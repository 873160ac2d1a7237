// The list object's per-club files: each definition of the model as a file
// of its own in the competition's Print folder, and the link page.
#include "results/lists/clubfiles/ClubFileWriter.h"

#include "results/data/CompetitionItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListPaths.h"
#include "results/lists/clubfiles/ClubFiles.h"

#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "platform/system/Codepage.h"

namespace results {
namespace {

// The files of a run with fixed names: no club's file may take them.
constexpr const char* kEntryLinkPage = "Deltagere.htm";
constexpr const char* kSettlementLinkPage = "Oppgjorlink.htm";
constexpr const char* kPaymentListFile = "Betalingsliste.rtf";
constexpr const char* kAccountsFile = "Regnskap.rtf";

// Writes a file whole under exactly the name given. A file of an earlier run
// whose name differs only in letter case would otherwise be written in its
// place, keeping its old spelling, and a link of the new spelling would not
// find it on a server that tells cases apart.
int WriteFileAsNamed(const std::string& path, const std::string& bytes)
{
    const std::string wanted(platform::BaseName(path));
    if (platform::FileExists(path) && std::string(platform::BaseName(platform::NativePath(path))) !=
                                          platform::Cp1252ToUtf8(wanted))
        platform::RemoveFile(path);
    return platform::WriteFileAtomically(path, bytes);
}

}  // namespace

int ClubFileWriter::Write()
{
    m_list.clubFilesWritten.clear();
    const bool entryList = m_request.kind == kListParticipants;
    const bool html = m_request.file.html != 0;
    const std::string extension = html ? ".htm" : ".rtf";
    const std::string folder = PrintFolder(m_comp.competition);
    platform::CreateFolders(folder);

    ClubFileNames names;
    for (const char* fixed : {kEntryLinkPage, kSettlementLinkPage, kPaymentListFile, kAccountsFile})
        names.Reserve(fixed);
    // The settlement's report file stands in the same folder.
    if (!m_request.fileName.empty())
        names.Reserve(std::string(platform::BaseName(m_request.fileName)));

    const std::string linkPath = platform::JoinSystemPath(folder, entryList ? kEntryLinkPage : kSettlementLinkPage);
    std::string linkPage = LinkPageHead(entryList);
    if (WriteFileAsNamed(linkPath, linkPage) != 0) {
        BV_LOG(m_list.Log(), 80, "Link page %s not written", linkPath.c_str());
        m_list.Report("Error creating file \"linkfile.htm\" \"" + linkPath + "\"", CDataList::Message::Error);
        return -1;
    }
    m_list.clubFilesWritten.push_back(linkPath);

    const int fontSize = m_comp.Web().IsOpen() ? ::ReadItem(m_comp.Web(), WebItems::kFontSize)
                                               : WebItems::kFontSize.defaultValue;
    const int firstRow = FirstClubFileRow(entryList);
    for (int d = 1; d <= static_cast<int>(m_report.aListDef.size()); ++d) {
        ListDef& def = m_report.Def(d);
        const std::string club = ClubNameOf(def, entryList);
        const std::string name = names.Take(ClubFileName(club), extension, d) + extension;
        const std::string path = platform::JoinSystemPath(folder, name);
        const std::string bytes = html ? HtmlClubFile(def, m_request.file.header != 0, fontSize, firstRow,
                                                      entryList ? club : std::string())
                                       : RtfClubFile(def, firstRow);
        if (WriteFileAsNamed(path, bytes) != 0) {
            BV_LOG(m_list.Log(), 80, "Club file %s not written", path.c_str());
            m_list.Report(ResString(IDS_WRITE_ERROR) + " \"" + path + "\"", CDataList::Message::Error);
            // The link page leads to the files written so far.
            WriteFileAsNamed(linkPath, linkPage);
            return -1;
        }
        m_list.clubFilesWritten.push_back(path);
        linkPage += LinkPageLink(name, club);
    }
    if (WriteFileAsNamed(linkPath, linkPage) != 0) {
        m_list.Report(ResString(IDS_WRITE_ERROR) + " \"" + linkPath + "\"", CDataList::Message::Error);
        return -1;
    }
    m_report.Reset();
    return 0;
}

}  // namespace results
