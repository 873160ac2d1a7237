#pragma once
// The list object of BVRes: the context in which its lists, list files,
// exports and web pages are made. The screens, bvtool and the worker fill in
// its request (ListRequest.h) and call its face: MakeList for a list kind
// and an output, the prize forms' rankings, the exports and the web pages.
// Each chapter is a producer of its own folder (ListProducer.h): it
// collects rows here, describes its list in the object's report and leaves
// here what it wrote; the object prints the report, previews it or writes
// it as an RTF, HTML or text file.
//
// Each list object works on a competition object of its own, with its own
// settings files, event objects and result cards, so the program's screens
// and the background worker never share one; each belongs to one thread.
// What must reach the user (a file that cannot be written, an export done)
// goes to the object's reporter: the screens show it, the worker logs it.
#include "foundation/files/BVLog.h"
#include "results/data/Competition.h"
#include "results/lists/ListCards.h"
#include "results/lists/ListRequest.h"
#include "results/lists/ListRows.h"
#include "results/lists/ranking/RankingOutcome.h"
#include "results/lists/web/WebFiles.h"
#include "results/print/Report.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class DrawTarget;
}

namespace results {

class CDataClub;

class CDataList {
public:
    enum class Message { Info, Error };
    using Reporter = std::function<void(const std::string& text, Message kind)>;

    CDataList();
    ~CDataList();
    CDataList(const CDataList&) = delete;
    CDataList& operator=(const CDataList&) = delete;

    // ==== the face ==========================================================

    // Opens the object's own competition: the one User.bvc names (number 0),
    // which it then follows when the program changes competition, or the
    // given one. 0, or the competition's failure. MakeList and the exports
    // open the program's competition themselves when none was opened.
    int OpenCompetition(int number = 0);
    CCompetition& Competition() { return m_comp; }
    // Where messages go; by default to the log.
    void SetReporter(Reporter reporter) { m_reporter = std::move(reporter); }

    // ---- lists --------------------------------------------------------------
    ListRequest request;
    void ResetSelection();
    // What MakeList's result lists (kinds 10 and 11) are made with: the
    // report form asks for neither; the tools may ask for the prize column
    // (without a settlement) or the web pages' columns.
    struct ResultListChoice {
        bool withPrizes = false;
        bool web = false;
    } resultListChoice;

    // Makes the list of request.kind for the output (ListOutput). The current
    // definition afterwards: 0 when no list was made (the report form then
    // says "Fant ingen data for rapport!"), else 1 or the last definition
    // printed. With kOutputModel the list stays in the report for the
    // caller, who empties it.
    int MakeList(int output);
    // Names the list file of output 3 as the report form does: the name the
    // user typed in the competition's Print folder, with the extension of the
    // file options' format. A name holding a path separator, a drive or ".."
    // is refused: reported, and false.
    bool NameListFile(const std::string& typedName);
    // The model of the list being made: printed, previewed, written or left.
    CReport report;
    // When set, output 2 prints on this target without a dialog (a tool's
    // PDF file, a benchmark's recorder). Not owned.
    platform::DrawTarget* printTarget = nullptr;
    // The files of the last list: the pictures of the graphic cards, and the
    // per-club files with their link page (system paths).
    std::vector<std::string> picturesWritten;
    std::vector<std::string> clubFilesWritten;
    // The main frame's refresh of its navigation: the relay lists call it
    // with kRefreshRelay when they marked a locked relay as listed. Empty
    // until the main frame sets it.
    static constexpr int kRefreshRelay = 5;
    std::function<void(int level)> frameRefresh;

    // ---- the prize forms' rankings (ranking/PrizeRanking.h, TeamRanking.h) --
    // Class prize list `list` for the shooters of a class (rank list kind
    // 10), or combined prize list `list` (kind 11); the entered teams of
    // team competition `team`. The rows, sorted, placed and paid, stay in
    // the object; `ranking` tells what was decided. Nothing is printed.
    void MakeRanking(int event, int listKind, int list, int classNr);
    void MakeTeamRanking(int team);
    RankingOutcome ranking;

    // ---- exports (exports/EntryExports.h) ------------------------------------
    // .\export.txt: every target of every relay of every event in use.
    int ExportShooters();
    // .\export<r>.txt: relay number r of the request's event.
    int ExportRelay(int relayNumber);
    // Startlst.csv of relay number r in the request's event's outside-system folder.
    int ExportSiusStartList(int relayNumber);
    // The path the last export wrote (a system path).
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
    // One upload run of the framed site; what it did. What was sent is
    // remembered from run to run.
    using UploadOutcome = WebUploadOutcome;
    UploadOutcome UploadWeb();
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

    // ==== the context of the producers ======================================

    void Report(const std::string& text, Message kind);
    CBVLog& Log() { return m_log; }
    // The output MakeList makes the list for.
    int Output() const { return m_output; }
    bool StopRequested() const { return stopFlag && stopFlag->load() != 0; }
    // The club register of the competition's organisation type.
    CDataClub& Clubs();
    // Before rows are collected: the competition the program has open (when
    // the object follows it), its events, and the club register of its
    // organisation type.
    void PrepareRows();

    // ---- rows -----------------------------------------------------------------
    std::vector<ShooterRow> shooterRows;
    std::vector<ResultRow> resultRows;  // refer to shooter rows, or to team rows while teamResults is set
    std::vector<TeamRow> teamRows;
    bool teamResults = false;
    void ClearRows();
    // The entry at (relay index, target) of the request's event as a new
    // shooter row, within the filters when they are active; its index, or -1.
    int FindShooterRow(int relay, int target);
    // True when a series of the request's event is a hit series.
    bool HasHitSeries();

    // ---- result cards -------------------------------------------------------
    // The object's own result card object of the event, bound to the event's
    // result file; null for an event number below 1.
    CDataRes* GetResultCard(int event);
    // The card object of event e on (relay, target), loaded only when it
    // holds another event or card.
    CDataRes* CardOn(int event, int relay, int target);
    // Every card read afresh from here on: the cards may have changed since.
    void ClearCards();

    // ---- the page frame of a definition of the report (PageFrame.h) ----------
    ListDef& Def(int d) { return report.Def(d); }
    void ReadMargins();
    void SetupHeader(int d, int captions);
    void SetupFooter(int d);
    void SetupBody(int columns, int d);
    void BuildPageHeader(const std::string& title1, const std::string& title2, int d, int captions);

private:
    CBVLog m_log;
    int m_output = kOutputModel;
    CCompetition m_comp;
    ListCards m_cardEvents{m_comp};
    std::vector<std::unique_ptr<CDataRes>> m_cards;  // event e at e - 1
    std::unique_ptr<CDataClub> m_clubs;
    Reporter m_reporter;
    bool m_followUser = true;
    std::string m_lastExport;
    UploadTable m_uploaded;  // what the web upload sent, kept from run to run
};

}  // namespace results
