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
    IDS_ORGANISER = 16224,       // "Arrangør", before the organiser in every page header
};

// The maker's web address, at the foot of every printed list and in the list
// files and web pages.
inline constexpr const char* kMakerWebAddress = "www.brevandi.no";

// The text of the id; empty for an id the program does not have.
std::string ResString(int id);

// Texts the data objects give back to the screens without an id of their own.
std::string TextDeleteTeamsFirst();
std::string TextReadError();          // a club list could not be read
std::string TextNoNjffFile();         // NJFF.txt is missing
std::string TextImportNotForOrg();    // no club list import for the organisation   // an event with numbered relays is not deleted

// Printing and the preview.
std::string TextPrintDocumentName();  // every printout's name in the print queue
std::string TextPreviewCaption();     // the preview window's caption
std::string TextCannotStartPrint();   // the printer would not start the document
std::string TextPrintFailed();        // the printer gave up half-way

}  // namespace results
