#pragma once
// The exports of the entries for outside programs (ExportLines.h): every
// target of every relay (.\export.txt), one relay of the request's event
// (.\export<r>.txt), and the start list of one relay for the SiusData system
// (Startlst.csv in the event's outside-system folder). Each is written
// whole; what was exported, or could not be, goes to the reporter.
#include "results/lists/ListProducer.h"

#include <string>

namespace results {

class EntryExports : ListProducer {
public:
    explicit EntryExports(CDataList& list) : ListProducer(list) {}

    // 0, or -1 when the file could not be written.
    int Shooters();
    int Relay(int relayNumber);
    int SiusStartList(int relayNumber);
    // The path written or tried (a system path); empty when none was.
    const std::string& Path() const { return m_path; }

private:
    // Writes an export whole; reports it done (as shownName, when given) or
    // not written.
    int Write(const std::string& path, const std::string& shownName, const std::string& bytes);

    std::string m_path;
};

}  // namespace results
