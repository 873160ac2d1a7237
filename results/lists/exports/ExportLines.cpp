// The lines of the exports: what each field holds and how a text is made a
// field.
#include "results/lists/exports/ExportLines.h"

#include "foundation/text/TextUtil.h"
#include "results/lists/ListBuild.h"

namespace results {

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

}  // namespace results
