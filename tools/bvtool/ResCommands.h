#pragma once
// What the `bvtool res` subcommands share: the working folder of BVRes, the
// competition opened there as BVRes opens it, and the options after the
// positional arguments.
#include "Command.h"

#include "results/data/Competition.h"

#include <atomic>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace results {
class CDataList;
}

namespace bvtool::res {

// "--name value" options; a flag without value maps to "". Options that may
// repeat keep every value in order.
struct Options {
    std::map<std::string, std::vector<std::string>> values;
    bool Has(const std::string& name) const { return values.count(name) != 0; }
    const std::string& Get(const std::string& name) const { return values.at(name).back(); }
};

// Splits args[from..] into options; flags are the options without a value.
// false with the message when an option is unknown or lacks its value.
bool ParseOptions(const Args& args, size_t from, const std::set<std::string>& withValue,
                  const std::set<std::string>& flags, Options& options, std::string& error);

// Makes DIR the working folder, as BVRes started there; false with the message.
// A file of a newer BVRes, or a damaged one, ends the command with exit 1.
bool EnterFolder(const std::string& dir, std::string& error);
// For the commands that run the worker: a damaged file is named on standard
// error as the worker meets it, and the work goes on without it; the count
// of files named, for the exit status. A file of a newer BVRes is named the
// same way.
void KeepGoingOnDamagedFiles(std::atomic<int>& named);
// Opens the competition of User.bvc as BVRes does at start.
bool OpenCompetition(results::CCompetition& comp, std::string& error);

// A whole number, in [low, high], or with the message.
bool Number(const std::string& text, long low, long high, long& value, const std::string& what, std::string& error);
// "A,B,C" split at commas.
std::vector<std::string> SplitList(const std::string& text, char separator = ',');

// The event object of an event in use; null with the message.
results::CDataEvent* EventOf(results::CCompetition& comp, const std::string& text, std::string& error);

// Prints "INDEX NUMBER STATE LABEL" for each relay index of the event.
void PrintRelays(results::CCompetition& comp, results::CDataEvent& event);

int RunEvent(const Args& args);
// The zip backup and the shared registers (ResRegisterCommands.cpp).
int RunZip(const Args& args);
// clubs, org, orgs, persons and zip.
int RunRegisters(const Args& args);
// Result cards and the value systems (ResCardCommands.cpp).
int RunValues(const Args& args);
int RunCard(const Args& args);
int RunShotEntry(const Args& args);
int RunSeriesStore(const Args& args);
// Event creation from the templates and the data check (ResCreateCommands.cpp).
int RunCreateEvent(const Args& args);
int RunVerify(const Args& args);
// The exchange runs, the worker and the exchange log (ResExchangeCommands.cpp).
int RunExchange(const Args& args);
// Lists, exports and a club of the register (ResListCommands.cpp).
int RunList(const Args& args);
int RunExport(const Args& args);
int RunClub(const Args& args);
// Opens DIR's competition (the one User.bvc names, or --comp N) in the list
// object; false with the message.
bool OpenListCompetition(results::CDataList& list, const Options& o, std::string& error);
// The web pages and their upload (ResWebCommands.cpp).
int RunWeb(const Args& args);
int RunUpload(const Args& args);
// The prize forms' rankings and what the prize and team screens write
// (ResRankCommands.cpp).
int RunRank(const Args& args);
int RunPrizeTable(const Args& args);
int RunPrize(const Args& args);
int RunShootoff(const Args& args);
int RunTeam(const Args& args);

}  // namespace bvtool::res
