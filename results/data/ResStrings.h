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
    IDS_EXPORTED_TO = 10012,     // an export is done: followed by the file's name in quotes
    IDS_ORGANISER = 16224,       // "Arrangør", before the organiser in every page header

    // The lists: the report form's list kinds 0..15 are 16200 + kind.
    IDS_LIST_KIND_FIRST = 16200,
    IDS_LIST_KIND_LAST = 16215,
    IDS_WRITE_ERROR = 16225,     // a list file or export cannot be written
    IDS_CLASS_WORD = 16228,      // "Klasse", before the class names in a class list's title
    IDS_SHOOT_OFF = 16231,       // "eo", after a place that a shoot-off decided
    IDS_TOTAL = 16236,
    IDS_ENTRY_LIST = 16248,
    IDS_RELAY_WORD = 16249,
    IDS_TARGET_WORD = 16250,
    IDS_STATISTICS = 16251,
    IDS_NOT_SHOT = 16252,
    IDS_SHOT = 16253,
    IDS_TIME_SCHEDULE = 16284,
    IDS_NO_LIST_DATA = 16289,    // the report form's status bar when no list was made

    // Roll calls, relay lists, shooting cards, team and press lists.
    IDS_EMPTY_RELAYS = 11007,    // asked once when a relay of a roll call or relay list is empty
    IDS_CARD_LANGUAGE = 10013,   // the target tables' language on graphic cards
    IDS_RELAY_RESULTS = 16223,
    IDS_SERIES_HOLD = 16226,
    IDS_TEAM_SHOOTING = 16247,
    IDS_PRESS_LIST = 16259,
    IDS_CHAMPIONSHIP = 16260,
    IDS_MAIN_EVENT = 16261,
    IDS_SERIES_PHOLD = 16285,
    IDS_SERIES_H = 16286,
    IDS_ROLL_CALL = 16287,
    IDS_SHOOTING_TIME = 16288,
    IDS_CARD_DECIMAL = 19800,
    IDS_CARD_DOCUMENT = 19801,
    IDS_CARD_SERIES = 19802,
    IDS_CARD_SUM = 19803,
    IDS_CARD_TARGET = 19804,
    IDS_CARD_RELAY = 19805,
    IDS_CARD_START_NR = 19806,

    // Giro forms and address labels.
    IDS_LABELS_DOCUMENT = 16280,  // "Etiketter", the label sheets' name in the print queue
    IDS_GIRO_DOCUMENT = 16281,    // "Giro"
    IDS_GIRO_TITLE = 16282,       // "Stevneoppgjør", on the form and its receipt

    // The data check's rows and its dialog's texts.
    IDS_VERIFY_NO_SHOOTER = 17000,        // shots on a target without entry
    IDS_VERIFY_NO_RESULT = 17001,         // an entry without shots
    IDS_VERIFY_RESULT_OUTSIDE = 17002,    // shots on a target outside the event's range
    IDS_VERIFY_SHOOTER_OUTSIDE = 17003,   // an entry outside the event's range
    IDS_VERIFY_BAD_CLASS = 17004,
    IDS_VERIFY_NO_CLUB = 17005,
    IDS_VERIFY_BLANK_NAME = 17006,
    IDS_VERIFY_ROW_COUNT = 17007,
    IDS_VERIFY_TITLE = 17008,
    IDS_VERIFY_SKIP_MISSING = 17009,      // option bit 0
    IDS_VERIFY_ALSO_AT = 17010,           // followed by relay:target of the other entry
    IDS_VERIFY_SKIP_PAYMENT = 17011,      // option bit 1
    IDS_VERIFY_BAD_PAYMENT = 17012,       // followed by the amount paid
    IDS_VERIFY_SHOT_ORDER = 17013,        // followed by the series
    IDS_VERIFY_LEVEL = 17014,
    // Words the default event names are made of.
    IDS_WORD_SKUDD = 17517,
    IDS_WORD_HELMATCH = 17520,
    IDS_WORD_HURTIG = 17523,
    IDS_WORD_FINALE = 17532,
    IDS_WORD_UTVIDET = 17538,

    // The web pages and their upload.
    IDS_FTP_FOLDER_ERROR = 11038,     // the folder on the server cannot be entered
    IDS_FTP_TRANSFER_ERROR = 11039,   // a file could not be sent
    IDS_FTP_MAKE_FOLDER_ERROR = 11040,  // the data folder on the server cannot be made or entered
    IDS_WEB_NO_ENTRIES = 16254,       // an empty list's page
    IDS_WEB_RELAY_RESULTS = 16255,    // "Resultater lag", before a relay number
    IDS_WEB_NO_TEAM_RESULTS = 16256,  // an empty team competition's page
    IDS_WEB_RELAY_LISTS = 16257,      // "Lagvise lister", the relays in the web contents
    IDS_WEB_WRITE_ERROR = 16258,      // a web page cannot be written
    IDS_WEB_UPDATE = 19715,           // the web screen's "update the pages"
    IDS_WEB_PRIZE_WEB = 19717,        // the web screen's "make the prize pages"
    IDS_WEB_CARDS_ASK = 19719,        // making card pictures takes long: go on?
    // The result lists.
    IDS_RESULT_CLASS = 16114,      // "Klasse", before the class in a result list's title
    IDS_PRIZE_LIST = 16230,        // "Premieliste", a combined list's title in the settlement
    IDS_MONEY_PREFIX = 16232,      // "Kr", before a money prize
    IDS_OBJECT_PRIZE = 16233,      // "Gjenstand"
    IDS_GIFT_PRIZE = 16242,        // "Gave"
    IDS_MATCH_PRONE = 17507,       // "Ligg"
    IDS_MATCH_STANDING = 17508,    // "Stå"
    IDS_MATCH_KNEELING = 17509,    // "Kne"
    IDS_WORD_HALVMATCH = 17519,

    // The competition report: programme page, settlement sheet, payment
    // list and accounts.
    IDS_COMPETITION_DATE = 10405,    // "Stevnedato"
    IDS_COMPETITION_NUMBER = 15224,  // "Stevne nr."
    IDS_JUDGES = 15225,              // "Dommere"
    IDS_PROGRAMME = 15226,           // "Program"
    IDS_SETTLEMENT_SHEET = 16235,    // "Oppgjørsark"
    IDS_ACCOUNT_COUNT = 16237,       // "Ant"
    IDS_ACCOUNT_FEE = 16238,         // "Innsk"
    IDS_ACCOUNT_STAKE = 16239,       // "Premie"
    IDS_ACCOUNT_SUM = 16240,         // "Tot."
    IDS_PRIZES_PAID = 16241,         // "Prem ut"
    IDS_ACCOUNT_TEAMS = 16243,       // "Lagskt"
    IDS_ACCOUNT_COMBINED = 16244,    // "Sammensatt"
    IDS_PAYMENT_LIST = 16245,        // "Betalingsliste"
    IDS_PRIZE_SUM = 16246,           // "Premiesum"
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

// The upload could not reach the server, or the server refused the login.
std::string TextFtpConnectFailed();

}  // namespace results
