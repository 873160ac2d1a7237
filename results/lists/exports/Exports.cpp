// The exports of the entries for outside programs: every target of every
// relay (export.txt), one relay (export<r>.txt), and the start list of one
// relay for the SiusData system (Startlst.csv). Fields are separated by ';',
// so a text's own ';' becomes ',' and its line breaks a blank; each file is
// written whole.
#include "results/lists/exports/ExportLines.h"

#include "foundation/text/FieldText.h"
#include "foundation/text/TextUtil.h"
#include "platform/files/FileSystem.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"
#include "results/lists/ListBuild.h"

namespace results {
namespace {

// The targets of an event as the exports read them: 0 when not set.
constexpr ConfigIntItem FirstTarget(int n) { return {3, n, 14, 0}; }
constexpr ConfigIntItem LastTarget(int n) { return {3, n, 15, 0}; }

}  // namespace

std::string ExportField(std::string text)
{
    for (char& c : text) {
        if (c == ';')
            c = ',';
        else if (c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
}

std::string ExportLine(const ExportRelayInfo& relay, int target, const ShooterRow* shooter)
{
    const int date = relay.date;
    std::string line = ExportField(relay.eventName) + ";" +
                       Format("%02d.%02d.%d;", date % 100, date % 10000 / 100, date / 10000) +
                       ExportField(relay.time) + ";" + Format("%d;%d;", relay.index, target);
    if (shooter) {
        std::string name = shooter->name;
        CTextUtil::Trim(name, " ", static_cast<uint16_t>(name.size()));
        line += Format("%d;", shooter->club) + ExportField(name) + ";;" + ExportField(shooter->clubName) + ";" +
                ExportField(shooter->className) + ";" + ExportField(shooter->category);
    } else {
        line += ";;;;;";
    }
    return line + "\r\n";
}

std::string StartListLine(const ShooterRow& shooter, const std::string& className, int target, int relayNumber,
                          const std::string& time)
{
    const std::string bib = shooter.bib.empty() ? std::string("0") : shooter.bib;
    return ExportField(bib) + ";" + Format("%d;", shooter.startNr) + ExportField(shooter.name.substr(0, 18)) +
           ";0;0;" + ExportField(className) + ";2;0;" + ExportField(shooter.clubName.substr(0, 15)) + ";0;" +
           Format("%d;%02d;", target, relayNumber) + ExportField(time) + ";0;0;0\r\n";
}

namespace {

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

int CDataList::ExportShooters()
{
    PrepareRows();
    const uint16_t remembered = request.event;
    ClearRows();
    CBVConfig& comp = m_comp.Comp();
    std::string bytes;
    const int events = ::ReadItem(comp, CompItems::kEventCount);
    for (int e = 1; e <= events; ++e) {
        CDataEvent* event = m_comp.GetEvent(e);
        if (::ReadItem(comp, CompItems::EventInUse(e)) == 0 || !event)
            continue;
        request.event = static_cast<uint16_t>(e);
        const int relays = ::ReadItem(comp, CompItems::EventRelays(e));
        const int first = ::ReadItem(comp, FirstTarget(e));
        const int last = ::ReadItem(comp, LastTarget(e));
        for (int j = 1; j <= relays; ++j) {
            ExportRelayInfo relay = RelayInfo(m_comp, *event, e, j);
            if (relay.number == 0)
                continue;
            for (int t = first; t <= last; ++t) {
                int k = FindShooterRow(j, t);
                bytes += ExportLine(relay, t, k >= 0 ? &shooterRows[static_cast<size_t>(k)] : nullptr);
            }
        }
    }
    request.event = remembered;
    return WriteExport(".\\export.txt", "export.txt", bytes);
}

int CDataList::ExportRelay(int relayNumber)
{
    PrepareRows();
    const std::string path = ".\\export" + std::to_string(relayNumber) + ".txt";
    std::string bytes;
    const int e = request.event;
    CDataEvent* event = m_comp.GetEvent(e);
    const int j = event ? event->RelayIndex(relayNumber) : 0;
    if (j != 0) {
        ExportRelayInfo relay = RelayInfo(m_comp, *event, e, j);
        const int first = ::ReadItem(m_comp.Comp(), FirstTarget(e));
        const int last = ::ReadItem(m_comp.Comp(), LastTarget(e));
        for (int t = first; t <= last; ++t) {
            int k = FindShooterRow(j, t);
            bytes += ExportLine(relay, t, k >= 0 ? &shooterRows[static_cast<size_t>(k)] : nullptr);
        }
    }
    return WriteExport(path, path, bytes);
}

int CDataList::ExportSiusStartList(int relayNumber)
{
    PrepareRows();
    const int e = request.event;
    CDataEvent* event = m_comp.GetEvent(e);
    const std::string folder = ReadItem(m_comp.Exch(), ExchItems::EventFolder(e));
    const std::string path = folder + "\\Startlst.csv";
    if (!event || folder.empty()) {
        // No folder of the outside system: nothing goes to the root of a drive.
        Report(ResString(IDS_WRITE_ERROR) + " \"" + path + "\"", Message::Error);
        return -1;
    }
    const int j = event->RelayIndex(relayNumber);
    const std::string time = j != 0 ? ::ReadItem(event->Settings(), EventItems::RelayTime(j)) : std::string();
    std::string bytes;
    for (int t = request.firstTarget; t <= request.lastTarget; ++t) {
        int k = FindShooterRow(j, t);
        if (k < 0)
            continue;
        RegRecord entry;
        event->Entries().Read(j, t, entry);
        bytes += StartListLine(shooterRows[static_cast<size_t>(k)], m_comp.GetClassName(entry.classNr), t,
                               relayNumber, time);
    }
    return WriteExport(path, {}, bytes);
}

int CDataList::WriteExport(const std::string& path, const std::string& shownName, const std::string& bytes)
{
    m_lastExport = path;
    if (int rc = platform::WriteFileAtomically(path, bytes); rc != 0) {
        BV_LOG(m_log, 80, "Export %s not written (%d)", path.c_str(), rc);
        Report(ResString(IDS_WRITE_ERROR) + " \"" + path + "\"", Message::Error);
        return -1;
    }
    if (!shownName.empty())
        Report(ResString(IDS_EXPORTED_TO) + " \"" + shownName + "\"", Message::Info);
    return 0;
}

}  // namespace results
