// The settlement split by club: the settlement sheets as club files with
// their link page, then the payment list and the accounts each in a file of
// its own.
#include "results/lists/DataList.h"
#include "results/lists/ListPaths.h"

#include "platform/files/SystemPath.h"

namespace results {

int CDataList::WriteClubSettlementFiles()
{
    const std::string folder = PrintFolder(m_comp.competition);
    std::vector<std::string> written;

    m_defCount = 0;
    MakeSettlementSheet();
    int rc = WriteClubFiles();
    written = clubFilesWritten;

    // Both fixed files are RTF, as their names say, whatever the club files
    // were written as.
    const uint8_t html = request.file.html;
    request.file.html = 0;
    struct Fixed {
        void (CDataList::*make)();
        const char* name;
    };
    for (const Fixed& fixed : {Fixed{&CDataList::MakePaymentList, "Betalingsliste.rtf"},
                               Fixed{&CDataList::MakeAccounts, "Regnskap.rtf"}}) {
        Reset();
        m_defCount = 0;
        (this->*fixed.make)();
        const std::string path = platform::JoinSystemPath(folder, fixed.name);
        if (WriteListFile(false, true, true, path, 0, 0, false) == 0)
            written.push_back(path);
        else
            rc = -1;
        Reset();
    }
    request.file.html = html;

    prizeRows.clear();
    clubRows.clear();
    clubFilesWritten = written;
    return rc;
}

}  // namespace results
