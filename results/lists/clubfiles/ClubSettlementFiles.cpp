// The settlement split by club: the settlement sheets as club files with
// their link page, then the payment list and the accounts each in a file of
// its own.
#include "results/lists/clubfiles/ClubSettlementFiles.h"

#include "platform/files/SystemPath.h"
#include "results/lists/ListPaths.h"
#include "results/lists/clubfiles/ClubFileWriter.h"
#include "results/lists/files/WriteListFile.h"
#include "results/lists/settlement/Accounts.h"
#include "results/lists/settlement/PaymentList.h"
#include "results/lists/settlement/SettlementSheet.h"

#include <functional>

namespace results {

int ClubSettlementFiles::Write()
{
    const std::string folder = PrintFolder(m_comp.competition);
    std::vector<std::string> written;

    m_report.m_defCount = 0;
    SettlementSheet(m_list, m_books).Make();
    int rc = ClubFileWriter(m_list).Write();
    written = m_list.clubFilesWritten;

    // Both fixed files are RTF, as their names say, whatever the club files
    // were written as.
    const uint8_t html = m_request.file.html;
    m_request.file.html = 0;
    struct Fixed {
        std::function<void()> make;
        const char* name;
    };
    for (const Fixed& fixed : {Fixed{[this] { PaymentList(m_list, m_books).Make(false); }, "Betalingsliste.rtf"},
                               Fixed{[this] { Accounts(m_list, m_books).Make(); }, "Regnskap.rtf"}}) {
        m_report.Reset();
        m_report.m_defCount = 0;
        fixed.make();
        const std::string path = platform::JoinSystemPath(folder, fixed.name);
        if (WriteListFile(m_list, false, true, true, path, false) == 0)
            written.push_back(path);
        else
            rc = -1;
        m_report.Reset();
    }
    m_request.file.html = html;

    m_books.FreeRows();
    m_list.clubFilesWritten = written;
    return rc;
}

}  // namespace results
