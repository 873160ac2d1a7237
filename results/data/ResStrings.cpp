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
    {IDS_EXPORTED_TO, "Skyttere er eksportert til filen"},
    {16200, "Statistikk"},
    {16201, "Deltagere"},
    {16202, "Stevneoppgjør"},
    {16203, "Bankgiro (A4)"},
    {16204, "Adresse etiketter"},
    {16205, "Presseliste (NST)"},
    {16206, "Opprop"},
    {16207, "Lagvis"},
    {16208, "Skytekort"},
    {16209, "Grafiske skytekort"},
    {16210, "Resultater klassevis"},
    {16211, "Resultater sammensatt"},
    {16212, "Resultatlister auto"},
    {16213, "Andre lister"},
    {16214, "Lagskyting"},
    {16215, "Kjøreplan"},
    {IDS_ORGANISER, "Arrangør"},
    {IDS_WRITE_ERROR, "Error writing to file. Check filename, '/' not allowed"},
    {IDS_CLASS_WORD, "Klasse"},
    {IDS_SHOOT_OFF, "eo"},
    {IDS_TOTAL, "Totalt"},
    {IDS_ENTRY_LIST, "Påmeldingsliste"},
    {IDS_RELAY_WORD, "Lag"},
    {IDS_TARGET_WORD, "Skive"},
    {IDS_STATISTICS, "Statistikk"},
    {IDS_NOT_SHOT, "Ikke skutt"},
    {IDS_SHOT, "Skutt"},
    {IDS_TIME_SCHEDULE, "Tidsplan"},
    {IDS_NO_LIST_DATA, "Fant ingen data for rapport!"},

    {IDS_EMPTY_RELAYS, "Fant ingen skyttere!\rSkal tomme lister skrives ut?"},
    {IDS_CARD_LANGUAGE, "NO"},
    {IDS_RELAY_RESULTS, "Resultater lag"},
    {IDS_SERIES_HOLD, "Hold"},
    {IDS_TEAM_SHOOTING, "Lagskyting"},
    {IDS_PRESS_LIST, "Presseliste"},
    {IDS_CHAMPIONSHIP, "Mesterskap"},
    {IDS_MAIN_EVENT, "Hovedskyting"},
    {IDS_SERIES_PHOLD, "P.hold"},
    {IDS_SERIES_H, "H"},
    {IDS_ROLL_CALL, "Oppropsliste lag"},
    {IDS_SHOOTING_TIME, "Skytetid"},
    {IDS_CARD_DECIMAL, ","},
    {IDS_CARD_DOCUMENT, "Skytekort fra BVRes"},
    {IDS_CARD_SERIES, "Serie"},
    {IDS_CARD_SUM, "Sum"},
    {IDS_CARD_TARGET, "Skive"},
    {IDS_CARD_RELAY, "Lag"},
    {IDS_CARD_START_NR, "Startnr."},
    {IDS_LABELS_DOCUMENT, "Etiketter"},
    {IDS_GIRO_DOCUMENT, "Giro"},
    {IDS_GIRO_TITLE, "Stevneoppgjør"},

    {IDS_VERIFY_NO_SHOOTER, "Mangler skytter - resultat funnet"},
    {IDS_VERIFY_NO_RESULT, "Manger resultat - skytter funnet"},
    {IDS_VERIFY_RESULT_OUTSIDE, "Resultat funnet utenfor lovlig område"},
    {IDS_VERIFY_SHOOTER_OUTSIDE, "Skytter funnet utenfor lovlig område"},
    {IDS_VERIFY_BAD_CLASS, "Ugyldig klasse eller klasse mangler"},
    {IDS_VERIFY_NO_CLUB, "Forening er ikke registrert"},
    {IDS_VERIFY_BLANK_NAME, "Blankt navn"},
    {IDS_VERIFY_ROW_COUNT, "Antall feil"},
    {IDS_VERIFY_TITLE, "Kontroller data"},
    {IDS_VERIFY_SKIP_MISSING, "Ikke rapporter manglende resultat"},
    {IDS_VERIFY_ALSO_AT, "Startnr finnes også på:"},
    {IDS_VERIFY_SKIP_PAYMENT, "Ikke rapporter feil betaling"},
    {IDS_VERIFY_BAD_PAYMENT, "Feil betaling. Beløp= "},
    {IDS_VERIFY_SHOT_ORDER, "Feil rekkefølge på skudd i serie "},
    {IDS_VERIFY_LEVEL, "Velg kontrollnivå"},
    {IDS_WORD_SKUDD, "Skudd"},
    {IDS_WORD_HELMATCH, "Helmatch"},
    {IDS_WORD_HURTIG, "Hurtig"},
    {IDS_WORD_FINALE, "Finale"},
    {IDS_WORD_UTVIDET, "Utvidet"},
    {IDS_RESULT_CLASS, "Klasse"},
    {IDS_PRIZE_LIST, "Premieliste"},
    {IDS_MONEY_PREFIX, "Kr"},
    {IDS_OBJECT_PRIZE, "Gjenstand"},
    {IDS_GIFT_PRIZE, "Gave"},
    {IDS_MATCH_PRONE, "Ligg"},
    {IDS_MATCH_STANDING, "Stå"},
    {IDS_MATCH_KNEELING, "Kne"},
    {IDS_WORD_HALVMATCH, "Halvmatch"},
    {IDS_COMPETITION_DATE, "Stevnedato"},
    {IDS_COMPETITION_NUMBER, "Stevne nr."},
    {IDS_JUDGES, "Dommere"},
    {IDS_PROGRAMME, "Program"},
    {IDS_SETTLEMENT_SHEET, "Oppgjørsark"},
    {IDS_ACCOUNT_COUNT, "Ant"},
    {IDS_ACCOUNT_FEE, "Innsk"},
    {IDS_ACCOUNT_STAKE, "Premie"},
    {IDS_ACCOUNT_SUM, "Tot."},
    {IDS_PRIZES_PAID, "Prem ut"},
    {IDS_ACCOUNT_TEAMS, "Lagskt"},
    {IDS_ACCOUNT_COMBINED, "Sammensatt"},
    {IDS_PAYMENT_LIST, "Betalingsliste"},
    {IDS_PRIZE_SUM, "Premiesum"},
    {16811, "skyttere lest inn fra ulike lag"},
    {16812, "skyttere lest inn fra lag"},
    {16813, "skyttere lagt ut for ulike lag"},
    {16814, "skyttere lagt ut for lag"},
    {16816, "Skuddverdier er endret på "},
    {16819, "Skudd fjernet på:"},

    {IDS_FTP_FOLDER_ERROR, "Feil med tilgang til folder på ftp server"},
    {IDS_FTP_TRANSFER_ERROR, "Feil med overføring av fil - se bvlog.txt for detaljer"},
    {IDS_FTP_MAKE_FOLDER_ERROR, "Feil med opprettelse av mappe på ftp server"},
    {IDS_WEB_NO_ENTRIES, "Ingen deltagere"},
    {IDS_WEB_RELAY_RESULTS, "Resultater lag"},
    {IDS_WEB_NO_TEAM_RESULTS, "Ingen deltagere/resultat"},
    {IDS_WEB_RELAY_LISTS, "Lagvise lister"},
    {IDS_WEB_WRITE_ERROR, "Feil ved skriving til fil !"},
    {IDS_WEB_UPDATE, "Oppdater websider"},
    {IDS_WEB_PRIZE_WEB, "Generer premieweb"},
    {IDS_WEB_CARDS_ASK, "Webgenerering med grafiske skytekort krever mye av ressurser av maskinen. Vil du generere alikevel?"},
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

std::string TextPrintDocumentName() { return "BVRes utskrift"; }
std::string TextPreviewCaption() { return platform::Ansi("BVRes forhåndsvisning"); }
// The print system's own words, as its dialogs speak them.
std::string TextCannotStartPrint() { return "Could not start print job."; }
std::string TextPrintFailed() { return "The print job could not be completed."; }

std::string TextFtpConnectFailed() { return platform::Ansi("Feil med tilkobling til ftp server"); }

}  // namespace results
