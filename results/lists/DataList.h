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
    std::vector<uint16_t> teamWords;  // the list of team shooting
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
    std::vector<TeamCalcRow> teamRowsA;
    std::vector<TeamCalcRow> teamRowsB;
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
    // Writes an export whole; reports it done (as shownName, when given) or
    // not written. 0 or -1.
    int WriteExport(const std::string& path, const std::string& shownName, const std::string& bytes);

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
