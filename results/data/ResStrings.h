#pragma once
// BVRes's own texts, looked up by their string ids. They are Norwegian only,
// kept in the code's UTF-8 and handed out as Windows-1252 like every text of
// the core.
#include <string>

namespace results {

enum ResStringId : int {
    IDS_NO_CLUB_LIST = 11030,    // the column club list is missing
    IDS_NO_IMPORT_FILE = 11033,  // a file to import is missing
    IDS_NEWER_VERSION = 12002,   // a data file of a newer BVRes
    IDS_MONDAY = 13100,          // weekday names, Monday first ...
    IDS_SUNDAY = 13106,
};

// The text of the id; empty for an id the program does not have.
std::string ResString(int id);

// Texts the data objects give back to the screens without an id of their own.
std::string TextDeleteTeamsFirst();
std::string TextReadError();          // a club list could not be read
std::string TextNoNjffFile();         // NJFF.txt is missing
std::string TextImportNotForOrg();    // no club list import for the organisation   // an event with numbered relays is not deleted

}  // namespace results
