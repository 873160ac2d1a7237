#pragma once
// BVRes's handle on the competition that is open: its settings files and
// those of the organiser, the start-number sequence, the team members, the
// shooters, the event objects, the navigation context and the web switches.
// One instance serves the whole program; the screens, the lists and the
// worker reach the competition's data through it.
#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"
#include "results/data/DataEvent.h"
#include "results/data/DataShooter.h"
#include "results/data/DataTeam.h"
#include "results/data/RelayWebFlags.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class ProfileStore;
}

namespace results {

// The values of the profile's section "Context", in their order.
enum ContextValue {
    kCtxTab, kCtxTabAdm, kCtxTabPrize, kCtxEvent, kCtxDay, kCtxRelay, kCtxTarget, kCtxTreeLevel, kCtxSerie,
    kCtxStartCol, kCtxResCol, kCtxReportSel, kCtxExchangeOff, kCtxWebExchange, kCtxWindowX0, kCtxWindowX1,
    kCtxWindowY0, kCtxWindowY1, kContextCount
};

struct ContextEntry {
    const char* name;
    int defaultValue;
};
extern const ContextEntry kContextTable[kContextCount];

class CCompetition {
public:
    CCompetition();
    virtual ~CCompetition();
    CCompetition(const CCompetition&) = delete;
    CCompetition& operator=(const CCompetition&) = delete;

    // Opens the competition named by User.bvc (or `only`, leaving User.bvc
    // as it is), as the main frame does at start: .\Common, User.bvc, the
    // program's folders, the competition's files, the context and the
    // switches. 0, or -1 when .\Common cannot be had (then nothing else is open).
    int Open(int only = 0);
    // Saves the context, makes competition n the open one, opens it with
    // exchange off and refreshes the events.
    int ChangeCompetition(int n);

    // Run for every competition opened: the club register of its
    // organisation type, and the background worker, which belongs to the
    // competition. stopWorker runs before the competition is left (another
    // one opened, or this object ending), so whoever holds the worker must
    // outlive this object.
    std::function<void(CCompetition&)> loadClubRegister;
    std::function<void(CCompetition&)> startWorker;
    std::function<void(CCompetition&)> stopWorker;

    // The frame's refresh: makes and opens the objects of events in use,
    // drops those of events no longer in use.
    void RefreshEvents();

    CDataEvent* GetEvent(int n);
    CDataEvent* MakeEvent(int n);
    void DropEvent(int n);
    void DropAllEvents();
    int EventSlots() const { return static_cast<int>(m_events.size()); }

    // Deletes event n unless a relay still has a number: 0 deleted, else 1
    // with the text the screen shows.
    int DeleteEvent(int n, std::string& refusal);

    std::string GetClassName(int classNr);
    std::string GetEventName(int n);
    // The class names of a code string of class numbers, joined by ",".
    std::string ClassListText(const std::string& codes);
    // The letters of a code string of category numbers, joined.
    std::string CategoryLetters(const std::string& codes);

    // The next start number of the competition, shared by every computer
    // that has it open; 0 when none can be had.
    int32_t NextStartNumber() { return m_startNr.GetUnique(); }

    void LoadContext();
    void SaveContext();
    // Where the context is kept; the program's profile unless set.
    void SetProfile(platform::ProfileStore* store) { m_profile = store; }

    // ".\Comp<n>\" of the open competition.
    std::string Folder() const;

    CBVConfig& User() { return m_user; }
    CBVConfig& Comp() { return m_comp; }
    CBVConfig& Exch() { return m_exch; }
    CBVConfig& Team() { return m_team; }
    CBVConfig& Web() { return m_web; }
    CBVFileEx& StartNr() { return m_startNr; }
    CDataTeam& TeamMembers() { return m_teamMembers; }
    CDataShooter& Shooters() { return m_shooters; }
    RelayWebFlags& WebFlags() { return m_webFlags; }

    uint8_t webRebuildAll = 0;
    uint8_t ftpOn = 0;
    int pwebOn = 0;
    int awebOn = 0;
    int cardsOn = 0;
    int competition = 0;
    int orgType = 0;
    std::array<int, kContextCount> context{};
    void* treeForm = nullptr;  // the frame's navigation tree, set by the frame

private:
    bool MakeFolder(const std::string& path);
    void StopWorker();

    std::vector<std::unique_ptr<CDataEvent>> m_events;  // slot n - 1 holds event n
    CBVConfig m_user;
    CBVConfig m_comp;
    CBVConfig m_exch;
    CBVConfig m_team;
    CBVConfig m_web;
    CBVFileEx m_startNr;
    CDataTeam m_teamMembers;
    CDataShooter m_shooters;
    RelayWebFlags m_webFlags;
    platform::ProfileStore* m_profile = nullptr;
    bool m_workerStarted = false;
};

}  // namespace results
