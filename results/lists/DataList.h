#pragma once
// The list object of BVRes. Every list, list file and export is made by one
// of its producers: the screens fill in its request (ListRequest.h) and ask
// MakeList for a list kind and an output; the producer collects rows,
// describes the list in the report model and the object prints it,
// previews it or writes it as an RTF, HTML or text file.
//
// Each list object works on a competition object of its own, with its own
// settings files, event objects and result cards, so the program's screens
// and the background worker never share one; each belongs to one thread.
// What must reach the user (a file that cannot be written, an export done)
// goes to the object's reporter: the screens show it, the worker logs it.
#include "results/data/Competition.h"
#include "results/lists/ListCards.h"
#include "results/lists/ListRequest.h"
#include "results/lists/ListRows.h"
#include "results/lists/ranking/RankingOutcome.h"
#include "results/print/Report.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class DrawTarget;
class FtpSession;
}

namespace results {

class CDataClub;

class CDataList : public CReport {
public:
    enum class Message { Info, Error };
    using Reporter = std::function<void(const std::string& text, Message kind)>;

    CDataList();
    ~CDataList() override;

    // ---- the competition -------------------------------------------------
    // Opens the object's own competition: the one User.bvc names (number 0),
    // which it then follows when the program changes competition, or the
    // given one. 0, or the competition's failure. MakeList and the exports
    // open the program's competition themselves when none was opened.
    int OpenCompetition(int number = 0);
    CCompetition& Competition() { return m_comp; }
    // The program's club register; without one the object keeps its own.
    void SetClubRegister(CDataClub* clubs) { m_clubs = clubs; }
    CDataClub& Clubs();

    // Where messages go; by default to the log.
    void SetReporter(Reporter reporter) { m_reporter = std::move(reporter); }
    void Report(const std::string& text, Message kind);

    // When set, output 2 prints on this target without a dialog (a tool's
    // PDF file, a benchmark's recorder). Not owned.
    platform::DrawTarget* printTarget = nullptr;

    // ---- the request ------------------------------------------------------
    ListRequest request;
    void ResetSelection();

    // Makes the list of request.kind for the output (ListOutput). The current
    // definition afterwards: 0 when no list was made (the report form then
    // says "Fant ingen data for rapport!"), else 1 or the last definition
    // printed.
    int MakeList(int output);

    // ---- rows ---------------------------------------------------------------
    void ClearRows();
    // The entry at (relay index, target) of the request's event as a new
    // shooter row, within the filters when they are active; its index, or -1.
    int FindShooterRow(int relay, int target);
    // The object's own result card object of the event, bound to the event's
    // result file; null for an event number below 1.
    CDataRes* GetResultCard(int event);
    // True when a series of the request's event is a hit series.
    bool HasHitSeries();

    // ---- ranking (ranking/) -------------------------------------------------
    // The one order of every ranked list. The comparison reads what it needs
    // of the request's event (or team competition, 0x100 | t) and list kind;
    // the sort reads it once. The result rows refer to shooter rows, or to
    // team rows while teamResults is set.
    void SortResultRows(int kind);
    int CompareResultRows(const ResultRow& a, const ResultRow& b, int kind, int place);
    int CompareRingCounts(const ResultRow& a, const ResultRow& b, int series, int event);
    // Stake prize money of the sorted rows (PrizeMoney.h); the winners' count.
    int DistributePrizes(int share, int per, int stake, bool timeRule);
    void DistributeTablePrizes(int share, int per, int stake);

    // The prize ranking form's ranking of class prize list `list` for the
    // shooters of a class (list kind 10), or of combined prize list `list`
    // (list kind 11; the class is then only part of the rank records' key):
    // rows built from the event's cards, shoot-offs and rank texts from its
    // rank file, sorted, placed and paid. The team ranking form's ranking
    // of the entered teams of team competition `team`, one row per team
    // (team rows, with the result rows referring to them). Both rebuild the
    // rows from nothing and print nothing; `ranking` tells what they decided.
    void MakeRanking(int event, int listKind, int list, int classNr);
    void MakeTeamRanking(int team);
    RankingOutcome ranking;
    bool teamResults = false;

    // ---- class lists (classlists/) -----------------------------------------
    // The ranked lists of every (class, source) pair of the request; with
    // makeOutput a list definition for each pair that has rows, without
    // only the rows of the last pair. 0.
    int MakeClassLists(int makeOutput);
    void SetupClassListPage(int d);

    // ---- relays (relays/) -----------------------------------------------------
    // The roll call and the relay list of the request's relays, one
    // definition per relay; the shooting cards as framed text, one row per
    // target. The first empty relay asks once whether empty relays are
    // listed (not when silent, not for the web page output, never for the
    // cards). Each returns the number of definitions made.
    int MakeRollCall(bool silent);
    int MakeRelayList(int kind, int output, bool withResultFields);
    void SetupRollCall(int d);
    void SetupRelayList(int d);
    void SetupCardList(int d, int sponsors);
    void AddCardColumns(int count, int d);
    // The main frame's refresh of its navigation: the relay lists call it
    // with kRefreshRelay when they marked a locked relay as listed. Empty
    // until the main frame sets it.
    static constexpr int kRefreshRelay = 5;
    std::function<void(int level)> frameRefresh;

    // The graphic shooting cards of the request's relays and targets: printed
    // (through printTarget when set), or with pictures set saved as PNG files
    // into the competition's Print folder, or with web also set into
    // .\PWeb\data. The number of cards made; picturesWritten names the
    // files of the last call (system paths).
    int PrintCards(bool pictures, bool web);
    std::vector<std::string> picturesWritten;

    // ---- team lists (teams/) ------------------------------------------------
    // The list of the request's team competition (treeSelection): entered
    // teams, or automatic teams by club, organisation or region. With
    // prizes the prize text of each place; with prizes or append the list
    // goes after the report's definitions, else it is definition 1.
    void MakeTeamList(bool prizes, bool append);
    void SetupTeamList(int d, int teamSize);
    // The automatic teams of the team competition: the team keys in
    // teamKeys, the members in teamLookup. The number of teams.
    int MakeAutoTeams();
    int32_t TeamKeyOfClub(int club, int representing);
    std::string AutoTeamName(int teamIndex);
    void BuildTeamQuotas(int row);
    void ResetTeamQuotas();
    // 1 when the quotas of definition row `row` admit the shooter of the
    // shooter row (and the quotas are taken), 0 when not.
    int TakeTeamPlace(int row, int shooterRow);
    int FindTeamKey(int32_t key) const;
    // 0 with the entry's start number and event filled, -1 when none.
    int FindTeamCalcEntry(TeamCalcEntry& entry) const;
    // The category with this letter, from 1; 0 when none.
    int FindCategoryIndex(char letter);
    std::vector<int32_t> teamKeys;  // index + 1 is the automatic team's number

    // ---- press list (press/) ------------------------------------------------
    void MakePressList();
    void SetupPressList(int d);
    int LastTiedRow(int row, int column);
    static std::string PressListName(const std::string& text);
    // ---- result lists (resultlists/) ---------------------------------------
    // The result lists of the request's prize lists (the numbers in its
    // series filter, in order): kind 10 class by class, for the classes of
    // the class filter, kind 11 one combined list each. Both producers
    // collect, rank and pay alike; the fixed one lays the lists out in the
    // columns of organisation types 2 and 6 (with the complete final list
    // and the print and protest times), the coded one in the columns the
    // prize list's column string names.
    //   settlementRow  the settlement's prize row of the list, 2 or more; 0 none
    //   withPrizes     prize columns, and their counting for the settlement
    //   continued      number the definitions after those already made
    //   web            for a web page (its own column string)
    // The rows of the last prize list stay in the object afterwards.
    void MakeFixedResultList(int listKind, bool makeLayout, int settlementRow, bool withPrizes, bool continued,
                             bool web);
    void MakeCodedResultList(int listKind, bool makeLayout, int settlementRow, bool withPrizes, bool continued,
                             bool web);
    // Which producer serves the event's result lists: the fixed one in
    // organisation types 2 and 6 unless the event ranks by pistol field
    // (result type 7). MakeResultList makes the lists with that one.
    bool UsesFixedResultList(int event);
    void MakeResultList(int listKind, bool makeLayout, int settlementRow, bool withPrizes, bool continued, bool web);
    // What MakeList's result lists (kinds 10 and 11) are made with: the
    // report form asks for neither; the tools may ask for the prize column
    // (without a settlement) or the web pages' columns.
    struct ResultListChoice {
        bool withPrizes = false;
        bool web = false;
    } resultListChoice;

    // The text of one cell of result row `row` (its index in the sorted
    // rows) for a column code (ResultColumnCode). With prizes, outside web
    // pages and with a settlement row, the prize column counts its prizes
    // into that prize row.
    void ResultCellText(int row, int code, int resultType, int settlementRow, std::string& out, int listKind,
                        int list, bool withPrizes, bool sumsWithShots, bool web, bool details);
    // The shots of a card series, or (0x100 | k) the series texts of sub-event k.
    std::string SeriesShotsText(int32_t startNr, int series, int relay, int target, bool blank, bool allShots);
    // Series sums (seriesSums) or one total over the first `entries` codes
    // of sub-event k of event e.
    void SubEventPartText(int row, int resultType, int subEvent, std::string& out, bool seriesSums, int event,
                          int entries);
    // "Final: " and the shots of series 1, or the sum of series 1.
    void FinalSeriesText(int row, int resultType, int listKind, std::string& out, bool withShots);
    // The remark codes of the row's entry (and, on a complete final list,
    // of the shooter's entry in event otherEvent); comments go to workTexts.
    void RemarkCodesText(int row, std::string& out, int otherEvent);

    // The coded layout: columns from the column string, sized by the
    // characters their codes need and fitted to the default printer's
    // paper; the shots go to a second line when a row is too wide. Returns
    // the merge flag (shots and series sums share a column).
    bool LayoutCodedColumns(int list, int d, int listKind, bool withPrizes, bool web);
    int ColumnFitChars(int code, int list, int listKind);
    void ColumnFace(int code, std::string& out);
    void FitColumnWidths(int d, int textWidthMm, int paperWidthMm, int columns, int chars, int listKind, int list);
    // The fixed layouts: 7 columns, 27 of the half and full matches, and
    // their final variants of 17 and 32 columns.
    void LayoutFixedColumns(int list, int d, int listKind, bool withPrizes, bool web);

    // ---- competition report and settlement (settlement/) -------------------
    // The competition office's closing report (list kind 2): the programme
    // page (organisation type 2), the result list of every prize list that
    // goes into the settlement, every team competition's list, then the
    // settlement sheet, the payment list and the accounts. The result lists
    // collect each shooter's prizes into the prize and club rows as they
    // print; the settlement walks those. With the split-list option the
    // three settlement lists are left to the per-club files, which also
    // free the rows.
    void MakeCompetitionReport();
    void MakeProgramme();
    void SetupProgramme(int d);
    // A page per club of the collected shooters, in the order of their
    // first shooter's start number; one payment row per page. With the
    // e-mail option the registered clubs' addresses go to .\email.txt.
    void MakeSettlementSheet();
    void SetupSettlementSheet(int d);
    // What each club is paid, from the payment rows; they are emptied
    // afterwards unless the giro forms want them (giro set).
    void MakePaymentList();
    void SetupPaymentList(int d);
    // Fees, stakes and prizes per class, combined prize list and team
    // competition of every event, with the totals.
    void MakeAccounts();
    void SetupAccounts(int d);

    // ---- page frame -------------------------------------------------------
    void ReadMargins();
    void SetupHeader(int d, int captions);
    void SetupFooter(int d);
    void SetupBody(int columns, int d);
    void BuildPageHeader(const std::string& title1, const std::string& title2, int d, int captions);

    // ---- producers --------------------------------------------------------
    void MakeStatistics();
    void MakeEntryList();
    void MakeTimeSchedule();
    void SetupStatisticsPage(int d);
    void SetupEntryListPage(int d);
    void SetupTimeSchedulePage(int d, int events);

    // ---- giro forms and address labels (forms/) -----------------------------
    // Printed straight onto pre-printed giro forms and label sheets, at fixed
    // places measured from the paper's edge, on printTarget when set, else on
    // the printer the print dialog chooses; never previewed or written to a
    // file. Kind 3: the settlement as the competition report makes it, and a
    // form for every club it owes money.
    void MakeBankGiro();
    // A form per payment row with an amount above 0.
    void PrintGiroForms();
    // Kind 4: a label for every registered club with a shooter entered in
    // an event (with the e-mail option only for clubs without an e-mail
    // address), as the rows of definition 1, printed.
    void MakeLabels();
    void SetupLabels(int d);
    void PrintLabels(int d);

    // ---- list files -------------------------------------------------------
    // Writes the model as a text file (textFile set, HTML option clear), an
    // HTML page (HTML option) or an RTF document, whole, then empties the
    // model. 0; or -1 when the file cannot be written, which is reported and
    // leaves the model as it is.
    int WriteListFile(bool textFile, bool header, bool footer, const std::string& path, int spare1, int spare2,
                      bool pressList);
    // Names the list file of output 3 as the report form does: the name the
    // user typed in the competition's Print folder, with the extension of the
    // file options' format. A name holding a path separator, a drive or ".."
    // is refused: reported, and false.
    bool NameListFile(const std::string& typedName);
    // The list file's bytes for the model as it stands.
    std::string ListFileBytes(bool textFile, bool header, bool footer, bool pressList);

    // ---- per-club files (clubfiles/) ----------------------------------------
    // With the split-list option the entry list and the settlement sheets go
    // into one file per club in the competition's Print folder, RTF or HTML
    // as the file options say, with a link page to them all (Deltagere.htm
    // for the entry list, Oppgjorlink.htm for the settlement). Each club's
    // file is named after the club (MakeClubFileName); a name that comes out
    // empty or that the run gave already gets "_" and the definition's
    // number. WriteClubFiles writes the definitions of the model and empties
    // it; 0, or -1 when a file could not be written (reported; the model
    // stays). WriteClubSettlementFiles makes the settlement sheet and writes
    // it so, then the payment list and the accounts as Betalingsliste.rtf and
    // Regnskap.rtf, and empties the settlement's rows.
    int WriteClubFiles();
    int WriteClubSettlementFiles();
    static std::string MakeClubFileName(const std::string& text);
    // The system paths the last run of club files wrote, in order.
    std::vector<std::string> clubFilesWritten;

    // ---- exports ----------------------------------------------------------
    // .\export.txt: every target of every relay of every event in use.
    int ExportShooters();
    // .\export<r>.txt: relay number r of the request's event.
    int ExportRelay(int relayNumber);
    // Startlst.csv of relay number r in the request's event's outside-system folder.
    int ExportSiusStartList(int relayNumber);
    // The paths the last export wrote (system paths).
    const std::string& LastExport() const { return m_lastExport; }

    // ---- web pages and their upload (web/) ----------------------------------
    // The pages of event `number`, or of every team competition when bit
    // 0x80 is set; aweb 1 for the slide show, 0 for the framed site; prize 1
    // puts the prize column in the result lists.
    void MakeWebPages(int number, int aweb, int prize);
    // Every slide-show page, pageCount of them in the cycle.
    void MakeFramePages(uint16_t pageCount);
    // The framed site's start frame, blank page, banner and contents.
    void MakeWebIndex();
    void UpdateWebIndex() { MakeWebIndex(); }
    // A page that says a list is empty. False when it cannot be written.
    bool WriteEmptyPage(const std::string& path, const std::string& title, const std::string& message);
    // True when a card of the relay index, on a target of the request's
    // event, holds a shot.
    bool RelayHasShots(int relayIndex);

    // One upload run of the framed site; what it did.
    struct UploadOutcome {
        bool noServer = false;   // none configured: nothing was done
        bool connected = false;
        bool completed = false;  // went through to the last file
        int sent = 0;
        int failed = 0;
        bool Failed() const { return !noServer && (!connected || !completed || failed > 0); }
    };
    UploadOutcome UploadWeb();
    bool ConnectFtp();
    void CloseFtp();
    // Whether the named file differs from what was last sent of it (a file
    // never sent differs); SetUploaded records what was sent. Entry 0 of the
    // table is the start file's, the rest the data folder's.
    bool IsUploadChanged(const std::string& name, const UploadMark& mark) const;
    bool SetUploaded(const std::string& name, const UploadMark& mark);

    // The program's relay web flags, where the page writer finds the relays
    // this computer imported; the object's own competition's when none.
    RelayWebFlags* relayFlags = nullptr;
    // The worker's stop request, looked at between pages and between files
    // sent; none for the screens.
    const std::atomic<int>* stopFlag = nullptr;
    // Told of every page or picture written (its system path) and every file
    // sent ("StartFrame.htm", "data/NAME"), for the tools.
    std::function<void(const std::string& path)> onPageWritten;
    std::function<void(const std::string& name)> onFileSent;

    // ---- work state of the producers ---------------------------------------
    std::unique_ptr<platform::FtpSession> ftp;  // the web pages' upload, during a run
    std::vector<std::string> workTexts;
    uint8_t giro = 0;                 // 1 while the giro forms are made
    std::vector<uint16_t> teamWords;  // automatic teams: places each key took in the current row
    std::vector<uint16_t> seriesFit;
    std::vector<uint16_t> secondFit;
    std::vector<PrizeRow> prizeRows;
    std::vector<ClubRow> clubRows;
    std::vector<uint16_t> settlementWords;
    std::vector<AccountRow> accountRows;
    std::vector<PaymentRow> paymentRows;
    std::vector<EntryGroup> entryGroups;
    std::vector<uint32_t> sortedNumbers;  // the entry list's start numbers
    std::vector<int32_t> workNumbers;
    std::vector<TeamCalcEntry> teamLookup;
    std::vector<TeamCalcRow> teamRowsA;  // the quotas of a definition row as built
    std::vector<TeamCalcRow> teamRowsB;  // as a team takes them
    std::unique_ptr<UploadTable> upload = std::make_unique<UploadTable>();
    std::vector<ShooterRow> shooterRows;
    std::vector<ResultRow> resultRows;
    std::vector<TeamRow> teamRows;

private:
    // The producers of the list kinds; a kind without one makes no list.
    using Producer = void (CDataList::*)();
    static Producer ProducerOf(int kind);
    // Before rows are collected: the competition the program has open (when
    // the object follows it), its events, and the club register of its
    // organisation type.
    void PrepareRows();
    // Kinds 12 and 13.
    void MakeAutoResultLists() { MakeClassLists(1); }
    // Kinds 10 and 11.
    void MakeResultsByClass();
    void MakeResultsCombined();
    // Adds a shooter's result in the source (0x100 | sub-event, else a card
    // series) to the row's figures from the shooter's card; false when the
    // shooter has none there.
    bool AddSourceResult(CDataRes& card, const ShooterRow& shooter, int event, int source, int kind, ResultRow& row);
    // Writes an export whole; reports it done (as shownName, when given) or
    // not written. 0 or -1.
    int WriteExport(const std::string& path, const std::string& shownName, const std::string& bytes);

    // The list kinds made by MakeList with their arguments.
    void MakeRollCallKind();
    void MakeRelayListKind();
    void MakeShootingCardsKind();
    void MakeTeamListKind() { MakeTeamList(false, false); }
    // The relay walk's question: 0 not asked yet, else the answer.
    bool ListEmptyRelay(bool mayAsk, int& answer);
    // Marks a relay with locked results as listed.
    void MarkLockedListed(int relayIndex);

    int m_output = kOutputModel;  // the output MakeList makes the list for
    // The one pass of both result list producers; fixed picks the layout.
    void MakeResultLists(bool fixed, int listKind, bool makeLayout, int settlementRow, bool withPrizes,
                         bool continued, bool web);
    // The complete final list: the shooters of the events the source links to.
    void AddLinkedShooters(int list, int source, int kind, const std::string& classes, const std::string& letters,
                           std::vector<int32_t>& numbers);
    // A shooter row of the pass: in the pass's class (kind 10), or in the
    // list's classes with every category letter (kind 11).
    bool InResultPass(const ShooterRow& shooter, int listKind, int passClass, const std::string& classes,
                      const std::string& letters) const;
    // The cells of a row in the fixed layout just made, and its style.
    std::vector<ReportCell> FixedRowCells(int row, int list, int listKind, bool withPrizes, uint16_t& style);
    void AddTimeRows(int d);
    // What the settlement keeps of a printed row: its prize, place and result.
    void KeepSettlementRow(int row, int settlementRow, const std::string& place, const std::string& result);
    // The row's index among the settlement's shooters; -1 when not among them.
    int SettlementIndex(int row) const;
    // The card object of event e on (relay, target), loaded only when it
    // holds another event or card.
    CDataRes* CardOn(int event, int relay, int target);

    // The settlement: the report's event set-up for its prize lists, one
    // shooter's block on a club's page, and the account rows.
    void ReportEventSetup(int event);
    void AddSettlementShooter(size_t j, int d, size_t payment, bool firstOnPage, int32_t pageClub,
                              const std::string& pageClubName);
    void BuildAccountRows();

    // What the fixed layout of the definition being made decided.
    struct FixedLayoutState {
        int columns = 0;     // 0, 7, 17, 27 or 32
        int cardEvent = 0;   // the event the source's first code names
        int entries = 4;     // the match layouts' entries limit
        int firstCode = 0;   // the source's first code byte
    } m_fixed;

    CCompetition m_comp;
    ListCards m_cardEvents{m_comp};
    std::vector<std::unique_ptr<CDataRes>> m_cards;  // event e at e - 1
    std::unique_ptr<CDataClub> m_ownClubs;
    CDataClub* m_clubs = nullptr;
    Reporter m_reporter;
    bool m_followUser = true;
    bool StopRequested() const { return stopFlag && stopFlag->load() != 0; }
    // Writes a page whole (the web folders are served while they are
    // written); reports a failure. True when written.
    bool WriteWebFile(const std::string& path, const std::string& bytes, const char* failure);
    std::string m_lastExport;
};

// A run of "X" characters that producers measure column widths with.
extern const char kXRun[101];

}  // namespace results
