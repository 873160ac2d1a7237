// The competition report (list kind 2) of the fixture's competitions 8, 9
// and 10 (organisation types 1, 2 and 6; fixture/make-lists-fixture.sh,
// block "settlement") against its golden files, model and RTF; LibreOffice
// reads the RTF files. The settlement sheet, the payment list and the
// accounts pay what the prize forms' rankings (bvtool res rank) give for
// the same prize lists; email.txt comes with the option only.
//
// BV_UPDATE_GOLDEN=1 writes the golden files from what the report gives now
// (look at the differences before committing them).
#include "GoldenSuite.h"
#include "ModelDump.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include "platform/system/Codepage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

namespace {

using namespace liststest;

namespace fs = std::filesystem;
using namespace bvtest;


const int kCompetitions[] = {8, 9, 10};

class SettlementGoldenTest : public GoldenSuite<SettlementGoldenTest> {
protected:
    // The report's model of competition c, split at its "list" line.
    static std::string Model(int c)
    {
        return RunCommand("cd " + Quote(work) + " && " + Quote(kBvtool) + " res list . --kind 2 --comp " +
                          std::to_string(c) + " --out - " + kNow + " 2>/dev/null");
    }
};

std::string ModelName(int c) { return "settlement-comp" + std::to_string(c) + ".model"; }
std::string RtfName(int c) { return "settlement-comp" + std::to_string(c) + ".rtf"; }

TEST_F(SettlementGoldenTest, ReportsAsTheGoldenFilesAndLibreOfficeReadsThem)
{
    std::string calls;
    for (int c : kCompetitions) {
        calls += "res list . --kind 2 --comp " + std::to_string(c) + " --out - " + kNow + "\n";
        calls += "res list . --kind 2 --comp " + std::to_string(c) + " --header --footer --out " +
                 Quote(out + "/" + RtfName(c)) + " " + kNow + "\n";
    }
    std::vector<std::string> models;
    for (int c : kCompetitions)
        models.push_back(ModelName(c));
    SplitModels(Batch(calls, "golden.batch"), models, made);
    for (int c : kCompetitions)
        made[RtfName(c)] = TempFolder::Read(out + "/" + RtfName(c));

    for (const auto& [name, bytes] : made)
        ExpectAsGolden(name, bytes);

    if (RunCommand("command -v soffice").empty())
        GTEST_SKIP() << "no LibreOffice";
    std::string files;
    for (int c : kCompetitions)
        files += " " + Quote(out + "/" + RtfName(c));
    const std::string converted = folder->File("lo");
    int status = -1;
    RunCommand("soffice --headless --norestore -env:UserInstallation=file://" + folder->File("lo-profile") +
                   " --convert-to 'html:HTML (StarWriter)' --outdir " + Quote(converted) + files + " >/dev/null 2>&1",
               &status);
    ASSERT_EQ(status, 0);
    for (int c : kCompetitions) {
        std::string name = RtfName(c);
        name = name.substr(0, name.size() - 4) + ".html";
        const std::string text =
            RunCommand(Python() + " " + Quote(kFixtureDir + "/html_check.py") + " text " + Quote(converted + "/" + name));
        ASSERT_FALSE(text.empty()) << name;
        const auto defs = ReadModel(made[ModelName(c)]);
        EXPECT_EQ(FirstCellMissing(text, defs), "") << RtfName(c);
        // The first definition's page header and footer (the programme page has none).
        std::vector<std::string> frame = defs[0].head;
        frame.insert(frame.end(), defs[0].foot.begin(), defs[0].foot.end());
        for (const std::string& cell : frame)
            EXPECT_NE(Collapsed(text).find(Collapsed(cell)), std::string::npos) << RtfName(c) << ": " << cell;
    }
}

// What the prize forms give one shooter over the settlement's prize lists.
struct Won {
    long long money = 0;  // hundredths
    int objects = 0;
    int gifts = 0;
    int lines = 0;  // prize lists in which the shooter won something
};

// The report's prize lists of the fixture's settlement competitions with
// their prize kinds (event 2's combined list is left out with its event),
// and the two prizes the prize screens made gifts.
struct RankedList {
    int event;
    const char* kind;  // "class" or "group"
    int list;
    int classNr;       // 0 for a combined list
    bool money;
};
const RankedList kRankedLists[] = {
    {1, "group", 1, 0, false}, {1, "group", 2, 0, true},  {1, "group", 3, 0, false}, {1, "class", 1, 1, true},
    {1, "class", 1, 2, true},  {1, "class", 1, 3, true},  {1, "class", 2, 1, true},  {1, "class", 2, 2, true},
    {1, "class", 2, 3, true},  {1, "class", 3, 1, true},  {1, "class", 3, 2, true},  {1, "class", 3, 3, true},
    {1, "class", 4, 1, false}, {1, "class", 4, 2, false}, {1, "class", 4, 3, false}, {2, "class", 1, 1, true},
    {2, "class", 1, 2, true},
};
struct GiftOf {
    int event;
    const char* kind;
    int list;
    const char* name;
};
const GiftOf kGifts[] = {{1, "class", 1, "Per Hansen"}, {1, "group", 2, "Ola Nordmann"}};

// The settlement sheet's shooters as the model shows them: per name its
// summary, prize kinds, and the page (club) it stands on.
struct SheetShooter {
    std::string summary;
    int page = 0;
    int money = 0;  // whole units shown in the summary
    int objects = 0;
    int gifts = 0;
    int lines = 0;
};

TEST_F(SettlementGoldenTest, SettlementPaysWhatTheRankingsGive)
{
    for (int c : kCompetitions) {
        SCOPED_TRACE("competition " + std::to_string(c));
        // The rankings of every list the report settles.
        std::string calls;
        for (const RankedList& r : kRankedLists)
            calls += "res rank . " + std::to_string(r.event) + " " + r.kind + " " + std::to_string(r.list) + " " +
                     std::to_string(r.classNr) + " --comp " + std::to_string(c) + "\n";
        std::istringstream lines(Batch(calls, "rank.batch"));
        std::map<std::string, Won> expected;
        // Money paid per line of the accounts: a class of an event, or a combined list; hundredths.
        std::map<std::string, long long> paidPerAccount;
        std::string line;
        int at = -1;
        while (std::getline(lines, line)) {
            const auto f = Fields(line);
            if (f[0] == "rank")
                ++at;
            if (f[0] != "row" || at < 0)
                continue;
            ASSERT_EQ(f.size(), 14u) << line;
            const RankedList& r = kRankedLists[at];
            const long long amount = std::stoll(f[10]);
            if (amount == 0)
                continue;
            const std::string name = f[13];
            Won& won = expected[name];
            ++won.lines;
            bool gift = false;
            for (const GiftOf& g : kGifts)
                gift = gift || (g.event == r.event && std::string(g.kind) == r.kind && g.list == r.list && name == g.name);
            if (!r.money) {
                ++won.objects;
            } else if (gift) {
                ++won.gifts;
            } else {
                won.money += amount;
                paidPerAccount[std::to_string(r.event) + r.kind +
                               std::to_string(r.classNr == 0 ? r.list : r.classNr)] += amount;
            }
        }
        ASSERT_EQ(at + 1, static_cast<int>(std::size(kRankedLists)));

        const auto defs = ReadModel(Model(c));
        ASSERT_FALSE(defs.empty());
        // The programme page comes in organisation type 2 only.
        EXPECT_EQ(defs[0].head.empty() && !defs[0].rows.empty() && defs[0].rows[0].at(2) == "Program", c == 9);
        std::map<std::string, SheetShooter> sheet;
        std::vector<int> pageTotals;
        std::vector<std::string> pageClubs;
        std::vector<int> payments;
        std::vector<std::string> paymentClubs;
        int paymentTotal = -1, accountsPaid = -1;
        std::set<std::string> titles;
        for (const ModelDef& def : defs) {
            if (def.head.empty())
                continue;  // the programme page
            ASSERT_GE(def.head.size(), 6u);
            titles.insert(def.head[5]);
            if (def.head[4] == "Oppgjørsark") {
                const int page = static_cast<int>(pageClubs.size()) + 1;
                pageClubs.push_back(def.head[5]);
                // " sk.l." after the club in organisation type 1 only.
                EXPECT_EQ(def.head[5].ends_with(" sk.l."), c == 8) << def.head[5];
                std::string shooter;
                for (const auto& row : def.rows) {
                    ASSERT_EQ(row.size(), 4u);
                    std::smatch m;
                    if (std::regex_match(row[0], m, std::regex("(.+) \\((Senior|Junior|Veteran)\\)"))) {
                        shooter = m[1];
                        // A shooter in several lists is written once.
                        EXPECT_EQ(sheet.count(shooter), 0u) << shooter;
                        sheet[shooter].page = page;
                        sheet[shooter].summary = row[3];
                    } else if (row[0].rfind("     Nr ", 0) == 0) {
                        ASSERT_FALSE(shooter.empty());
                        SheetShooter& s = sheet[shooter];
                        ++s.lines;
                        s.objects += row[2] == "Gjenstand";
                        s.gifts += row[2] == "Gave";
                        if (!row[3].empty())
                            s.summary = row[3];
                    } else if (std::regex_match(row[0], m, std::regex("([0-9]+) deltagere"))) {
                        ASSERT_TRUE(std::regex_match(row[3], m, std::regex("Kr ([0-9]+),-"))) << row[3];
                        pageTotals.push_back(std::stoi(m[1]));
                        shooter.clear();
                    }
                }
            } else if (def.head[4] == "Betalingsliste") {
                for (const auto& row : def.rows) {
                    std::smatch m;
                    if (row[1] == "Totalt" && std::regex_match(row[2], m, std::regex("Kr ([0-9]+),-")))
                        paymentTotal = std::stoi(m[1]);
                    else if (std::regex_match(row[2], m, std::regex("([0-9]+),-"))) {
                        payments.push_back(std::stoi(m[1]));
                        paymentClubs.push_back(row[0]);
                    }
                }
            } else if (def.head[4] == "Regnskap") {
                const auto& total = def.rows.back();
                ASSERT_EQ(total[0], "Totalt");
                accountsPaid = std::stoi(total[6]);
            }
        }
        // Each shooter's money in whole units, objects and gifts, as ranked.
        for (auto& [name, s] : sheet) {
            std::smatch m;
            if (std::regex_search(s.summary, m, std::regex("^Kr ([0-9]+)")))
                s.money = std::stoi(m[1]);
            const Won& w = expected.count(name) ? expected.at(name) : Won{};
            EXPECT_EQ(s.money, static_cast<int>(w.money / 100)) << name;
            EXPECT_EQ(s.objects, w.objects) << name;
            EXPECT_EQ(s.gifts, w.gifts) << name;
            EXPECT_EQ(s.lines, w.lines) << name;
        }
        for (const auto& [name, w] : expected)
            EXPECT_EQ(sheet.count(name), 1u) << name << " won a prize but is not on the sheet";
        // Page by page, and in the payment list, each club's money.
        std::vector<int> perPage(pageClubs.size(), 0);
        for (const auto& [name, s] : sheet)
            perPage[static_cast<size_t>(s.page) - 1] += s.money;
        EXPECT_EQ(pageTotals, perPage);
        EXPECT_EQ(payments, perPage);
        int sum = 0;
        for (int p : payments)
            sum += p;
        EXPECT_EQ(paymentTotal, sum);
        long long listed = 0;
        for (const auto& [key, amount] : paidPerAccount)
            listed += amount / 100;
        EXPECT_EQ(accountsPaid, listed);
        // Two clubs named Nordvik: two pages, each with its own shooters.
        EXPECT_EQ(std::count(paymentClubs.begin(), paymentClubs.end(), "Nordvik"), 2);
        EXPECT_NE(sheet.at("Per Hansen").page, sheet.at("Nils Nordvik").page);
        // The excluded event keeps its class lists and loses its combined list.
        EXPECT_EQ(titles.count("Bane samlet"), 0u);
        EXPECT_GE(sheet.at("Ola Nordmann").lines, 3);
    }
}

TEST_F(SettlementGoldenTest, EmailAddressesWithTheOptionOnly)
{
    const std::string email = work + "/email.txt";
    fs::remove(email);
    RunTool("res list " + Quote(work) + " --kind 2 --comp 8 --out - " + kNow);
    EXPECT_FALSE(fs::exists(email));
    const ToolRun run = RunTool("res list " + Quote(work) + " --kind 2 --comp 8 --email --out " +
                                Quote(out + "/mail.rtf") + " " + kNow);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "file\t" + out + "/mail.rtf\nfile\t" + email + "\n");
    // The registered clubs with an address, in page order; both Nordviks.
    EXPECT_EQ(TempFolder::Read(email), "post@fjellby.no;leder@nordvik.no;nordvik@fjord.no;");
}

}  // namespace
