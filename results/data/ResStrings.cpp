#include "results/data/ResStrings.h"

#include "platform/system/Codepage.h"


namespace results {
namespace {

struct Entry {
    int id;
    const char* text;  // UTF-8 here, Windows-1252 when handed out
};

constexpr Entry kTable[] = {
    {IDS_NEWER_VERSION, "Du må bruke en nyere BVRes på disse filene!!!"},
    {13100, "Mandag"},
    {13101, "Tirsdag"},
    {13102, "Onsdag"},
    {13103, "Torsdag"},
    {13104, "Fredag"},
    {13105, "Lørdag"},
    {13106, "Søndag"},
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

}  // namespace results
