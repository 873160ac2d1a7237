// The exports of the entries for outside programs: every target of every
// relay (export.txt), one relay (export<r>.txt), and the start list of one
// relay for the SiusData system (Startlst.csv). Fields are separated by ';',
// so a text's own ';' becomes ',' and its line breaks a blank; each file is
// written whole.
#include "results/lists/exports/EntryExports.h"

#include "platform/files/FileSystem.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/exports/ExportLines.h"

namespace results {
namespace {

// The targets of an event as the exports read them: 0 when not set.
constexpr ConfigIntItem FirstTarget(int n) { return {3, n, 14, 0}; }
constexpr ConfigIntItem LastTarget(int n) { return {3, n, 15, 0}; }

ExportRelayInfo RelayInfo(CCompetition& comp, CDataEvent& event, int e, int j)
{
    CBVConfig& settings = event.Settings();
    ExportRelayInfo info;
    info.eventName = ::ReadItem(comp.Comp(), CompItems::EventName(e));
    info.index = j;
    info.number = ::ReadItem(settings, EventItems::RelayNumber(j));
    info.date = ::ReadItem(settings, EventItems::DayDate(::ReadItem(settings, EventItems::RelayDay(j))));
    info.time = ::ReadItem(settings, EventItems::RelayTime(j));
    return info;
}

}  // namespace

int EntryExports::Shooters()
{
    m_list.PrepareRows();
    const uint16_t remembered = m_request.event;
    m_list.ClearRows();
    CBVConfig& comp = m_comp.Comp();
    std::string bytes;
    const int events = EventCount(comp);
    for (int e = 1; e <= events; ++e) {
        CDataEvent* event = m_comp.GetEvent(e);
        if (::ReadItem(comp, CompItems::EventInUse(e)) == 0 || !event)
            continue;
        m_request.event = static_cast<uint16_t>(e);
        const int relays = ::ReadItem(comp, CompItems::EventRelays(e));
        const int first = ::ReadItem(comp, FirstTarget(e));
        const int last = ::ReadItem(comp, LastTarget(e));
        for (int j = 1; j <= relays; ++j) {
            ExportRelayInfo relay = RelayInfo(m_comp, *event, e, j);
            if (relay.number == 0)
                continue;
            for (int t = first; t <= last; ++t) {
                int k = m_list.FindShooterRow(j, t);
                bytes += ExportLine(relay, t, k >= 0 ? &m_list.shooterRows[static_cast<size_t>(k)] : nullptr);
            }
        }
    }
    m_request.event = remembered;
    return Write(".\\export.txt", "export.txt", bytes);
}

int EntryExports::Relay(int relayNumber)
{
    m_list.PrepareRows();
    const std::string path = ".\\export" + std::to_string(relayNumber) + ".txt";
    std::string bytes;
    const int e = m_request.event;
    CDataEvent* event = m_comp.GetEvent(e);
    const int j = event ? event->RelayIndex(relayNumber) : 0;
    if (j != 0) {
        ExportRelayInfo relay = RelayInfo(m_comp, *event, e, j);
        const int first = ::ReadItem(m_comp.Comp(), FirstTarget(e));
        const int last = ::ReadItem(m_comp.Comp(), LastTarget(e));
        for (int t = first; t <= last; ++t) {
            int k = m_list.FindShooterRow(j, t);
            bytes += ExportLine(relay, t, k >= 0 ? &m_list.shooterRows[static_cast<size_t>(k)] : nullptr);
        }
    }
    return Write(path, path, bytes);
}

int EntryExports::SiusStartList(int relayNumber)
{
    m_list.PrepareRows();
    const int e = m_request.event;
    CDataEvent* event = m_comp.GetEvent(e);
    const std::string folder = ReadItem(m_comp.Exch(), ExchItems::EventFolder(e));
    const std::string path = folder + "\\Startlst.csv";
    if (!event || folder.empty()) {
        // No folder of the outside system: nothing goes to the root of a drive.
        m_list.Report(ResString(IDS_WRITE_ERROR) + " \"" + path + "\"", CDataList::Message::Error);
        return -1;
    }
    const int j = event->RelayIndex(relayNumber);
    const std::string time = j != 0 ? ::ReadItem(event->Settings(), EventItems::RelayTime(j)) : std::string();
    std::string bytes;
    for (int t = m_request.firstTarget; t <= m_request.lastTarget; ++t) {
        int k = m_list.FindShooterRow(j, t);
        if (k < 0)
            continue;
        RegRecord entry;
        event->Entries().Read(j, t, entry);
        bytes += StartListLine(m_list.shooterRows[static_cast<size_t>(k)], m_comp.GetClassName(entry.classNr), t,
                               relayNumber, time);
    }
    return Write(path, {}, bytes);
}

int EntryExports::Write(const std::string& path, const std::string& shownName, const std::string& bytes)
{
    m_path = path;
    if (int rc = platform::WriteFileAtomically(path, bytes); rc != 0) {
        BV_LOG(m_list.Log(), 80, "Export %s not written (%d)", path.c_str(), rc);
        m_list.Report(ResString(IDS_WRITE_ERROR) + " \"" + path + "\"", CDataList::Message::Error);
        return -1;
    }
    if (!shownName.empty())
        m_list.Report(ResString(IDS_EXPORTED_TO) + " \"" + shownName + "\"", CDataList::Message::Info);
    return 0;
}

}  // namespace results
