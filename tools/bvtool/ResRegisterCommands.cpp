// bvtool res zip|clubs|org|orgs|persons: the zip backup and the registers
// that all of BVRes's competitions share in .\Common.
#include "ResCommands.h"

#include "foundation/text/FieldText.h"
#include "platform/files/FileSystem.h"
#include "platform/system/Clock.h"
#include "results/backup/Zip.h"
#include "results/registers/DataClub.h"
#include "results/registers/DataPerson.h"

#include <cstdio>

#include "results/data/ResStrings.h"

namespace bvtool::res {
namespace {

std::string Text(const char* field, size_t size) { return ToScreen(FieldText(field, size)); }
#define FIELD(r, f) Text((r).f, sizeof (r).f)

// DIR as BVRes's working folder, with the .\Common the registers live in.
bool EnterRegisters(const std::string& dir, std::string& error)
{
    if (!EnterFolder(dir, error))
        return false;
    if (platform::CreateFolders(".\\Common") != 0) {
        error = "cannot make the folder Common in " + dir;
        return false;
    }
    return true;
}

int RunClubs(const Args& args)
{
    std::string error;
    long org = 0;
    if (args.size() < 4 || (args[1] != "import" && args[1] != "list"))
        return Fail("usage: bvtool res clubs import DIR ORG [FILE] | clubs list DIR ORG [--by number]");
    if (!EnterRegisters(args[2], error) || !Number(args[3], 1, 255, org, "ORG", error))
        return Fail(error);
    results::CDataClub clubs;
    if (args[1] == "import") {
        if (org < 1 || org > 3)
            return Fail(ToScreen(results::TextImportNotForOrg()));
        static const char* const kFiles[] = {"Skytterlag.txt", "Klubbliste.txt", "NJFF.txt"};
        const std::string file = args.size() > 4 ? ToFile(args[4]) : kFiles[org - 1];
        std::vector<std::string> reports;
        clubs.SetReport([&reports](const std::string& text) { reports.push_back(ToScreen(text)); });
        clubs.LoadClubs(static_cast<int>(org));
        int result = org == 1 ? clubs.ImportClubList(file) : org == 2 ? clubs.ImportMapFile(file) : clubs.ImportNjff(file);
        if (result != 0)
            return Fail(reports.empty() ? "the import failed" : reports.back());
        for (const std::string& report : reports)
            std::fprintf(stderr, "%s\n", report.c_str());
        return 0;
    }
    const bool byNumber = args.size() == 6 && args[4] == "--by" && args[5] == "number";
    if (args.size() != 4 && !byNumber)
        return Fail("usage: bvtool res clubs list DIR ORG [--by number]");
    clubs.LoadClubs(static_cast<int>(org));
    results::ClubRecord c;
    for (int i = 0; clubs.Get(&c, i, byNumber ? 72 : 56) == 0; ++i) {
        results::OrgRecord region[3];
        std::string names[3];
        const uint16_t items[3] = {c.regionA, c.regionB, c.regionC};
        for (int k = 0; k < 3; ++k)
            if (clubs.Get(&region[k], items[k], 37 + k) == 0)
                names[k] = FIELD(region[k], text);
        std::printf("%u\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", c.number, FIELD(c, name).c_str(),
                    FIELD(c, address1).c_str(), FIELD(c, address2).c_str(), FIELD(c, address3).c_str(),
                    names[0].c_str(), names[1].c_str(), names[2].c_str(), FIELD(c, phone1).c_str(),
                    FIELD(c, phone2).c_str(), FIELD(c, account).c_str(), FIELD(c, email).c_str(),
                    FIELD(c, web).c_str());
    }
    return 0;
}

int RunOrg(const Args& args)
{
    std::string error;
    long org = 0, kind = 0, item = 0;
    if (args.size() != 6)
        return Fail("usage: bvtool res org DIR ORG KIND ITEM TEXT");
    if (!EnterRegisters(args[1], error) || !Number(args[2], 1, 255, org, "ORG", error) ||
        !Number(args[3], 1, 7, kind, "KIND", error) || !Number(args[4], 0, 65535, item, "ITEM", error))
        return Fail(error);
    results::CDataClub clubs;
    clubs.LoadOrg(static_cast<int>(org));
    results::OrgRecord o{};
    SetFieldText(o.text, sizeof o.text, ToFile(args[5]));
    if (clubs.Put(&o, kind == 1 ? static_cast<int>(org) : static_cast<int>(item), static_cast<int>(kind)) != 0)
        return Fail("cannot write Org.BVD");
    return 0;
}

int RunOrgs(const Args& args)
{
    std::string error;
    long org = 0;
    if (args.size() != 3)
        return Fail("usage: bvtool res orgs DIR ORG");
    if (!EnterRegisters(args[1], error) || !Number(args[2], 1, 255, org, "ORG", error))
        return Fail(error);
    results::CDataClub clubs;
    clubs.LoadOrg(static_cast<int>(org));
    results::OrgRecord o;
    for (int i = 0; clubs.Get(&o, i, 65) == 0; ++i)
        std::printf("org\t%u\t%s\n", o.org, FIELD(o, text).c_str());
    for (int k = 0; k < 3; ++k)
        std::printf("caption\t%c\t%s\n", 'A' + k, ToScreen(clubs.Caption(k)).c_str());
    for (int k = 0; k < 3; ++k)
        for (int i = 0; clubs.Get(&o, i, 69 + k) == 0; ++i)
            std::printf("region\t%c\t%u\t%s\n", 'A' + k, o.item, FIELD(o, text).c_str());
    return 0;
}

int RunPersons(const Args& args)
{
    std::string error;
    long org = 0;
    if (args.size() < 4)
        return Fail("usage: bvtool res persons list|put|find|clean DIR ORG ...");
    const std::string& what = args[1];
    if (!EnterRegisters(args[2], error) || !Number(args[3], 1, 255, org, "ORG", error))
        return Fail(error);
    results::CDataPerson persons;
    if (persons.Load(static_cast<uint8_t>(org)) != 0)
        return Fail("cannot open Common\\Person.BVD");
    if (what == "list") {
        results::PersonRecord p;
        for (int i = 0; int r = persons.Get(i, p); ++i)
            std::printf("%d\t%s\t%d\t%s\t%02d%02d.%02d.%02d\t%s\n", r, FIELD(p, name).c_str(), p.club,
                        FIELD(p, className).c_str(), p.century, p.year, p.month, p.day, FIELD(p, bib).c_str());
        return 0;
    }
    if (what == "put" || what == "find") {
        long club = 0;
        if (args.size() < 6 || !Number(args[4], 1, 32767, club, "CLUB", error))
            return Fail(error.empty() ? "usage: bvtool res persons put|find DIR ORG CLUB NAME" : error);
        if (what == "find") {
            std::printf("%d\n", persons.Find(ToFile(args[5]), static_cast<int16_t>(club)));
            return 0;
        }
        Options options;
        if (!ParseOptions(args, 6, {"--class", "--bib", "--date"}, {}, options, error))
            return Fail(error);
        results::PersonRecord p{};
        p.org = static_cast<uint8_t>(org);
        p.club = static_cast<int16_t>(club);
        SetFieldText(p.name, sizeof p.name, ToFile(args[5]));
        if (options.Has("--class"))
            SetFieldText(p.className, sizeof p.className, ToFile(options.Get("--class")));
        if (options.Has("--bib"))
            SetFieldText(p.bib, sizeof p.bib, ToFile(options.Get("--bib")));
        results::CDataPerson::StampDate(p);
        if (options.Has("--date")) {
            long date = 0;
            if (!Number(options.Get("--date"), 10000101, 25591231, date, "--date", error))
                return Fail(error);
            p.century = static_cast<uint8_t>(date / 1000000);
            p.year = static_cast<uint8_t>(date / 10000 % 100);
            p.month = static_cast<uint8_t>(date / 100 % 100);
            p.day = static_cast<uint8_t>(date % 100);
        }
        int r = persons.Put(p);
        if (r == 0)
            return Fail("cannot write Common\\Person.BVD");
        std::printf("%d\n", r);
        return 0;
    }
    if (what == "clean") {
        Options options;
        if (!ParseOptions(args, 4, {"--older-than"}, {"--merge"}, options, error))
            return Fail(error);
        long year = 0;
        if (options.Has("--older-than") && !Number(options.Get("--older-than"), 1900, 2999, year, "YEAR", error))
            return Fail(error);
        persons.MergeDuplicates(options.Has("--merge"), options.Has("--older-than"), static_cast<int>(year));
        return 0;
    }
    return Fail("unknown persons command '" + what + "'");
}

}  // namespace

int RunRegisters(const Args& args)
{
    const std::string& sub = args[0];
    if (sub == "clubs")
        return RunClubs(args);
    if (sub == "org")
        return RunOrg(args);
    if (sub == "orgs")
        return RunOrgs(args);
    if (sub == "persons")
        return RunPersons(args);
    return RunZip(args);
}

int RunZip(const Args& args)
{
    std::string error;
    Options options;
    std::vector<std::string> files;
    std::string archive;
    const char* base = nullptr;
    std::string baseText;
    bool append = false;
    bool flat = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--base" && i + 1 < args.size()) {
            baseText = ToFile(args[++i]);
            base = baseText.c_str();
        } else if (args[i] == "--append") {
            append = true;
        } else if (args[i] == "--flat") {
            flat = true;
        } else if (archive.empty()) {
            archive = ToFile(args[i]);
        } else {
            files.push_back(args[i]);
        }
    }
    if (archive.empty() || files.empty())
        return Fail("usage: bvtool res zip ARCHIVE [--base FOLDER] [--append] [--flat] FILE..");
    results::CZip zip;
    if (!zip.Open(archive, base, append))
        return Fail("cannot open " + args[1] + " to write");
    bool all = true;
    for (const std::string& file : files) {
        const std::string path = ToFile(file);
        const std::string name = zip.EntryName(path, flat);
        if (zip.AddFile(path, flat)) {
            std::printf("added %s\n", ToScreen(name).c_str());
        } else {
            std::printf("refused %s\n", file.c_str());
            all = false;
        }
    }
    if (!zip.Close())
        return Fail("cannot finish " + args[1]);
    return all ? 0 : 1;
}

}  // namespace bvtool::res
