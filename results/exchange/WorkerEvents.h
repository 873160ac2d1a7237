#pragma once
// The background worker's own objects of the competition's events: each
// event's settings, entries, result file and card object, opened the first
// time the worker needs the event and kept for the worker's life. The
// screens' event objects are made and dropped by the frame's refresh on
// another thread; the worker never touches them. The same objects answer
// the card objects' questions about linked events, so a sub-event total
// over several events reads only the worker's files.
#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"
#include "results/data/DataReg.h"
#include "results/values/CardEvents.h"
#include "results/values/DataRes.h"

#include <map>
#include <memory>
#include <string>

namespace results {

struct WorkerEvent {
    int number = 0;
    CBVConfig settings;       // Event%d.bvc, writable
    CDataReg entries;         // Reg%d.bvd
    std::unique_ptr<CBVFileEx> results = std::make_unique<CBVFileEx>();  // Res%d.bvd
    bool resultsOpen = false;
    CDataRes card;
    // The event has been through an exchange run; until then every file of
    // it is read and every name written.
    bool handled = false;
    // A KME start list was written but its marker could not be made: the
    // list waits for the marker, and nothing more is appended before it.
    bool kmeMarkerPending = false;
    // Every file of the event is open. One that cannot be read (logged
    // with its fault when opening) keeps the event out of the run: nothing
    // is imported into it or exported from it until it reads again.
    bool readable = false;
    int openedInPass = -1;  // the files were last tried in this pass
};

class WorkerEvents : public CardEvents {
public:
    // comp: the worker's own Comp.bvc; folder: ".\Comp<n>\".
    WorkerEvents(CBVConfig& comp, std::string folder);
    ~WorkerEvents() override;
    WorkerEvents(const WorkerEvents&) = delete;
    WorkerEvents& operator=(const WorkerEvents&) = delete;

    // The objects of event n, made and opened when missing; null when the
    // event is not in use (CompEventInUse of the worker's Comp.bvc). Files
    // that did not open are tried again once per pass.
    WorkerEvent* Get(int n);
    // A new exchange run: files that did not open are tried again.
    void NewPass() { ++m_pass; }
    // Brings the result file's and the entries' caches up to date; whether
    // the entries changed since the last look.
    bool Refresh(WorkerEvent& event);

    CBVConfig* Comp() override { return &m_comp; }
    CBVConfig* Settings(int event) override;
    CBVFileEx* Results(int event) override;
    CardEntries* Entries(int event) override;

private:
    // Made and opened, without binding the card (which asks back for the
    // result file through Results).
    WorkerEvent* Open(int n);
    void OpenFiles(WorkerEvent& event);

    CBVConfig& m_comp;
    std::string m_folder;
    std::map<int, std::unique_ptr<WorkerEvent>> m_events;
    int m_pass = 0;
};

}  // namespace results
