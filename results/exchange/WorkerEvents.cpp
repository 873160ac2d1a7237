#include "results/exchange/WorkerEvents.h"

#include "results/data/CompetitionItems.h"
#include "results/data/DataEvent.h"
#include "results/data/DataFileOpen.h"

#include <cstdio>

namespace results {

WorkerEvents::WorkerEvents(CBVConfig& comp, std::string folder) : m_comp(comp), m_folder(std::move(folder)) {}

WorkerEvents::~WorkerEvents() = default;

void WorkerEvents::OpenFiles(WorkerEvent& event)
{
    if (event.openedInPass == m_pass)
        return;
    event.openedInPass = m_pass;
    char name[32];
    std::snprintf(name, sizeof name, "Event%d.bvc", event.number);
    if (!event.settings.IsOpen())
        OpenSettingsFile(event.settings, m_folder + name);
    if (!event.resultsOpen) {
        // The layout the screens use; an older file is converted on the
        // first call and opens on the second.
        std::snprintf(name, sizeof name, "Res%d.bvd", event.number);
        const DataFileLayout layout{CDataEvent::kResultRecordSize, CDataEvent::kResultVersion, true, false};
        OpenOutcome outcome = OpenDataFile(*event.results, m_folder + name, layout);
        if (outcome == OpenOutcome::Converted)
            outcome = OpenDataFile(*event.results, m_folder + name, layout);
        event.resultsOpen = outcome == OpenOutcome::Opened;
        if (event.resultsOpen)
            event.results->CacheVerify(1);
    }
    if (!event.entries.IsOpen()) {
        std::snprintf(name, sizeof name, "Reg%d.bvd", event.number);
        if (event.entries.Open(m_folder + name) < 0)
            event.entries.Open(m_folder + name);  // after a conversion
    }
    event.readable = event.settings.IsOpen() && event.resultsOpen && event.entries.IsOpen();
}

WorkerEvent* WorkerEvents::Open(int n)
{
    if (n < 1 || ::ReadItem(m_comp, CompItems::EventInUse(n)) == 0)
        return nullptr;
    auto& slot = m_events[n];
    if (!slot) {
        slot = std::make_unique<WorkerEvent>();
        slot->number = n;
        slot->card.SetEvents(this);
    }
    OpenFiles(*slot);
    return slot.get();
}

WorkerEvent* WorkerEvents::Get(int n)
{
    WorkerEvent* event = Open(n);
    // A result file that did not open leaves the card without a file; it
    // must not ask back through Results, which would ask Get again.
    if (event && event->resultsOpen)
        event->card.SetFile(event->results.get(), n);
    return event;
}

bool WorkerEvents::Refresh(WorkerEvent& event)
{
    if (event.resultsOpen)
        event.results->CacheVerify(1);
    event.settings.Refresh();
    return event.entries.IsOpen() && event.entries.File().CacheVerify(1) == 1;
}

CBVConfig* WorkerEvents::Settings(int event)
{
    WorkerEvent* e = Open(event);
    return e && e->settings.IsOpen() ? &e->settings : nullptr;
}

CBVFileEx* WorkerEvents::Results(int event)
{
    WorkerEvent* e = Open(event);
    return e && e->resultsOpen ? e->results.get() : nullptr;
}

CardEntries* WorkerEvents::Entries(int event)
{
    WorkerEvent* e = Open(event);
    return e && e->entries.IsOpen() ? &e->entries : nullptr;
}

}  // namespace results
