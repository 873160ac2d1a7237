#include "remote/ui/PrintCommand.h"

#include "remote/print/PrintOptions.h"
#include "remote/settings/RemoteSettings.h"
#include "remote/ui/RemotePrinter.h"
#include "remote/ui/RemoteText.h"

#include "platform/system/CommandLine.h"
#include "platform/ui/Prompter.h"

#include <cstdio>
#include <unistd.h>

namespace RemoteCommand {

const char* const kUsage =
    "usage: BVRemote [--help]\n"
    "       BVRemote --print EVENT COMP OUT.pdf [--kind cards|list|log] [--relays A-B] [--lanes A-B] [--folder DIR]\n"
    "  prints the cards, list or shot logs of event EVENT (its number in BVRemote.BVC) and competition COMP\n"
    "  with the event's stored print options into OUT.pdf (shot logs: OUT.pdf, OUT-2.pdf, ... one per card);\n"
    "  the options given override the stored ones for this run only. DIR is the working folder (default: the\n"
    "  current one). Prints 'card RELAY LANE SHOTS FILE' per card.";

namespace {

int Fail(const std::string& line) { return platform::CommandFail("BVRemote", line); }

bool ParseNumber(const std::string& text, int& out) { return platform::ParseWhole(text, -1000000, 1000000, out); }

bool ParseSpan(const std::string& text, int& from, int& to)
{
    size_t dash = text.find('-');
    if (dash == std::string::npos)
        return ParseNumber(text, from) && ParseNumber(text, to);
    return ParseNumber(text.substr(0, dash), from) && ParseNumber(text.substr(dash + 1), to);
}

// Answers each print dialog with the next PDF file and nothing else.
class PdfPrompter : public platform::Prompter {
public:
    explicit PdfPrompter(std::string out) : m_out(std::move(out)) {}
    int Message(const platform::MessageRequest& request) override
    {
        std::fprintf(stderr, "BVRemote: %s\n", request.text.c_str());
        return platform::IDCANCEL;
    }
    void Beep(platform::BeepKind) override {}
    bool ChooseFile(const platform::FileRequest&, std::string&) override { return false; }
    bool ChooseFolder(const platform::FolderRequest&, std::string&) override { return false; }
    bool ChooseColour(platform::ColourRequest&) override { return false; }
    bool ChoosePrinter(platform::PrinterChoice& choice) override
    {
        choice.pdfPath = NthFile(m_out, ++m_count);
        return true;
    }

private:
    std::string m_out;
    int m_count = 0;
};

}  // namespace

std::string NthFile(const std::string& out, int n)
{
    if (n <= 1)
        return out;
    size_t dot = out.rfind('.');
    size_t slash = out.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return out + "-" + std::to_string(n);
    return out.substr(0, dot) + "-" + std::to_string(n) + out.substr(dot);
}

int Print(const std::vector<std::string>& args)
{
    if (args.size() < 3)
        return Fail("--print needs EVENT COMP OUT.pdf");
    int event = 0, comp = 0;
    if (!ParseNumber(args[0], event) || event <= 0)
        return Fail("an event is its number in BVRemote.BVC: " + args[0]);
    if (!ParseNumber(args[1], comp) || comp <= 0)
        return Fail("a competition is a number from 1: " + args[1]);
    const std::string out = platform::FromCommandFolder(args[2]);
    std::string kind, folder;
    int relays[2] = {0, 0}, lanes[2] = {0, 0};
    bool relaysGiven = false, lanesGiven = false;
    for (size_t i = 3; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return Fail(args[i] + " needs a value");
        const std::string& value = args[i + 1];
        if (args[i] == "--kind")
            kind = value;
        else if (args[i] == "--folder")
            folder = value;
        else if (args[i] == "--relays" && ParseSpan(value, relays[0], relays[1]))
            relaysGiven = true;
        else if (args[i] == "--lanes" && ParseSpan(value, lanes[0], lanes[1]))
            lanesGiven = true;
        else
            return Fail("unknown option or value: " + args[i] + " " + value);
    }
    if (!kind.empty() && kind != "cards" && kind != "list" && kind != "log")
        return Fail("a kind is cards, list or log: " + kind);
    if (!folder.empty() && chdir(folder.c_str()) != 0)
        return Fail("no folder " + folder);

    RemoteText::Load();
    // Read-only: a run from the command line changes no stored option.
    RemoteSettings settings;
    settings.OpenReadOnly(RemoteSettings::kFileName);
    if (!settings.InUse(event))
        return Fail("no event " + args[0] + " in BVRemote.BVC");
    PrintOptions options = PrintOptions::Read(settings, event);
    if (kind == "cards")
        options.kind = PrintOptions::kCards;
    else if (kind == "list")
        options.kind = PrintOptions::kList;
    else if (kind == "log")
        options.kind = PrintOptions::kLog;
    if (relaysGiven) {
        options.firstRelay = relays[0];
        options.lastRelay = relays[1];
    }
    if (lanesGiven) {
        options.firstLane = lanes[0];
        options.lastLane = lanes[1];
    }

    PdfPrompter prompter(out);
    platform::SetPrompter(&prompter);
    PrintOutcome outcome = PrintRange(settings.RangeFolder(event), comp, options);
    platform::SetPrompter(nullptr);
    switch (outcome.status) {
    case PrintOutcome::kNoCompetition:
        return Fail("no competition " + args[1] + " in event " + args[0]);
    case PrintOutcome::kNoCards:
        return Fail("no card in the relays and lanes chosen");
    default:
        break;
    }
    int n = 0;
    bool written = outcome.status == PrintOutcome::kPrinted;
    for (const PrintedCard& card : outcome.cards) {
        std::string file = options.kind == PrintOptions::kLog ? NthFile(out, ++n) : out;
        if (access(file.c_str(), R_OK) != 0)
            written = false;
        std::printf("card %d %d %d %s\n", card.relay, card.lane, card.shots, file.c_str());
    }
    if (!written)
        return Fail("not written: " + out);
    return 0;
}

}  // namespace RemoteCommand
