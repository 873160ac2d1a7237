#include "results/data/ResStrings.h"

#include "platform/system/Codepage.h"


namespace results {
namespace {

struct Entry {
    int id;
    const char* text;  // UTF-8 here, Windows-1252 when handed out
};

constexpr Entry kTable[] = {
    {IDS_NO_CLUB_LIST, "Finner ikke filen \"skytterlag.txt\""},
    {IDS_NO_IMPORT_FILE, "Finner ikke filen for import"},
    {IDS_NEWER_VERSION, "Du må bruke en nyere BVRes på disse filene!!!"},
    {13100, "Mandag"},
    {13101, "Tirsdag"},
    {13102, "Onsdag"},
    {13103, "Torsdag"},
    {13104, "Fredag"},
    {13105, "Lørdag"},
    {13106, "Søndag"},
    {16811, "skyttere lest inn fra ulike lag"},
    {16812, "skyttere lest inn fra lag"},
    {16813, "skyttere lagt ut for ulike lag"},
    {16814, "skyttere lagt ut for lag"},
    {16816, "Skuddverdier er endret på "},
    {16819, "Skudd fjernet på:"},
};

}  // namespace

std::string ResString(int id)
{
    for (const Entry& e : kTable)
        if (e.id == id)
            return platform::Ansi(e.text);
    return {};
}

std::string TextDeleteTeamsFirst() { return platform::Ansi("Alle lag må slettes først!"); }
std::string TextReadError() { return platform::Ansi("Feil i lesing av fil"); }
std::string TextNoNjffFile() { return platform::Ansi("Finner ikke filen NJFF.txt"); }
std::string TextImportNotForOrg() { return platform::Ansi("Import ikke implementert for denne org."); }

}  // namespace results
