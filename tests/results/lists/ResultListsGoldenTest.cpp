// The result lists of the fixture competitions (fixture/make-lists-fixture.sh)
// against their golden files: class by class and combined, in organisation
// types 1, 2 and 6; coded lists with the default columns with and without
// prizes, a stored column string ending in the prize column made without
// prizes, shots and series sums sharing a column, a landscape list, rows
// too wide for A4 whose shots move to a second line; fixed plain and match
// layouts, the final lists of 17 and 32 columns with and without all
// participants, ten of 25 rows followed by the print and protest times.
// LibreOffice reads the RTF files and pdftotext the PDF files (class and
// combined lists of each organisation type): each holds every cell of its
// model, in order.
//
// BV_UPDATE_GOLDEN=1 writes the golden files from what the lists give now
// (look at the differences before committing them).
#include "GoldenSuite.h"
#include "ModelDump.h"
#include "QtApp.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include "platform/system/Codepage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

namespace result_lists_golden_test {

using namespace liststest;

namespace fs = std::filesystem;
using namespace bvtest;

// A golden file and the bvtool call that makes it (OUT: the file written;
// every call is made at 09:05 on 17 May 2026 unless it says otherwise).
struct Golden {
    const char* name;
    const char* call;
};
const Golden kGoldens[] = {
    // Organisation type 1, coded: lists 1 (default columns), 5 (1,2,3,7,8,10,11
    // made without prizes) and 6 (a series, landscape); with prizes list 1
    // gains the prize column and lists 5 and 6 no longer fit on A4.
    {"results-class-comp1.model", "res list . --kind 10 --comp 1 --classes 1,2,3 --series 1,5,6 --out -"},
    {"results-class-prizes-comp1.model",
     "res list . --kind 10 --comp 1 --classes 1,2 --series 1,5,6 --with-prizes --out -"},
    {"results-combined-comp1.model", "res list . --kind 11 --comp 1 --series 1,2 --with-prizes --out -"},
    // The web's own columns of list 5 (1,3,7,10), and the default set of list 1.
    {"results-class-web-comp1.model", "res list . --kind 10 --comp 1 --classes 1 --series 1,5 --web --out -"},
    // Organisation type 2: the plain layout, a series list coded.
    {"results-class-comp2.model", "res list . --kind 10 --comp 2 --classes 1,2,3 --series 1,2 --out -"},
    {"results-combined-comp2.model", "res list . --kind 11 --comp 2 --series 1,2 --out -"},
    // Organisation type 6: the plain layout of nations and clubs.
    {"results-class-comp3.model", "res list . --kind 10 --comp 3 --classes 1,2 --series 1 --out -"},
    {"results-combined-comp3.model", "res list . --kind 11 --comp 3 --series 1,2 --with-prizes --out -"},
    // The full match, and "10 på topp" of 25 rows with the times.
    {"results-match-comp5.model", "res list . --kind 10 --comp 5 --classes 1,2 --series 1 --out -"},
    {"results-times-comp5.model", "res list . --kind 10 --comp 5 --classes 1 --series 2 --variant 1 --time-protest "
                                  "--now \"2026-06-01 18:40\" --out -"},
    {"results-combined-comp5.model", "res list . --kind 11 --comp 5 --series 1 --time-protest "
                                     "--now \"2026-06-01 18:40\" --out -"},
    // The separate final: the finalists, then everybody of the qualification.
    {"results-final-comp6.model", "res list . --kind 11 --comp 6 --event 2 --series 1,2 --out -"},
    {"results-final-complete-comp6.model",
     "res list . --kind 11 --comp 6 --event 2 --series 1,2 --complete-final --out -"},
    {"results-qualification-comp6.model", "res list . --kind 10 --comp 6 --event 1 --classes 1,2 --series 1 --out -"},
    {"results-combined-qualification-comp6.model", "res list . --kind 11 --comp 6 --event 1 --series 1 --out -"},
    // Files of some of them.
    {"results-class-prizes-comp1.rtf",
     "res list . --kind 10 --comp 1 --classes 1,2 --series 1,5,6 --with-prizes --header --out OUT"},
    {"results-class-comp2.rtf", "res list . --kind 10 --comp 2 --classes 1,2,3 --series 1,2 --out OUT"},
    {"results-match-comp5.rtf", "res list . --kind 10 --comp 5 --classes 1,2 --series 1 --out OUT"},
    {"results-times-comp5.rtf", "res list . --kind 10 --comp 5 --classes 1 --series 2 --variant 1 --time-protest "
                                "--now \"2026-06-01 18:40\" --out OUT"},
    {"results-final-complete-comp6.rtf",
     "res list . --kind 11 --comp 6 --event 2 --series 1,2 --complete-final --header --out OUT"},
    {"results-combined-comp1.rtf", "res list . --kind 11 --comp 1 --series 1,2 --with-prizes --out OUT"},
    {"results-combined-comp5.rtf", "res list . --kind 11 --comp 5 --series 1 --time-protest "
                                   "--now \"2026-06-01 18:40\" --out OUT"},
    {"results-qualification-comp6.rtf",
     "res list . --kind 10 --comp 6 --event 1 --classes 1,2 --series 1 --out OUT"},
};

// Each RTF and PDF file, and the model whose cells it must hold.
struct FileCase {
    const char* file;
    const char* model;
};
const FileCase kFiles[] = {
    {"results-class-prizes-comp1", "results-class-prizes-comp1.model"},
    {"results-class-comp2", "results-class-comp2.model"},
    {"results-match-comp5", "results-match-comp5.model"},
    {"results-times-comp5", "results-times-comp5.model"},
    {"results-final-complete-comp6", "results-final-complete-comp6.model"},
    {"results-combined-comp1", "results-combined-comp1.model"},
    {"results-combined-comp5", "results-combined-comp5.model"},
    {"results-qualification-comp6", "results-qualification-comp6.model"},
};

class ResultListsGoldenTest : public GoldenSuite<ResultListsGoldenTest> {
protected:
    // What the lists give now, in one bvtool run: the models on standard
    // output (each from its "list" line), the files in the out folder, and
    // a PDF file of each file case.
    static const std::map<std::string, std::string>& Made()
    {
        if (!made.empty())
            return made;
        std::string batch;
        auto withNow = [](std::string call) {
            return call.find("--now") == std::string::npos ? call + " --now \"2026-05-17 09:05\"" : call;
        };
        for (const Golden& g : kGoldens)
            batch += withNow(std::regex_replace(g.call, std::regex("OUT"), Quote(out + "/" + g.name))) + "\n";
        for (const FileCase& f : kFiles) {
            std::string call;
            for (const Golden& g : kGoldens)
                if (std::string(g.name) == std::string(f.file) + ".rtf")
                    call = g.call;
            batch += withNow(std::regex_replace(call, std::regex("OUT"), Quote(out + "/" + f.file + ".pdf"))) + "\n";
        }
        SplitModels(Batch(batch, "results.batch"), ModelNames(kGoldens), made);
        for (const Golden& g : kGoldens)
            if (!std::string(g.name).ends_with(".model"))
                made[g.name] = bvtest::TempFolder::Read(out + "/" + g.name);
        return made;
    }
};

TEST_F(ResultListsGoldenTest, ResultListsAsTheGoldenFiles)
{
    for (const Golden& g : kGoldens)
        ExpectAsGolden(g.name, Made().at(g.name));
}

TEST_F(ResultListsGoldenTest, LibreOfficeReadsEveryCellOfTheRtfFiles)
{
    if (bvtest::RunCommand("command -v soffice").empty())
        GTEST_SKIP() << "no LibreOffice";
    Made();
    std::string files;
    for (const FileCase& f : kFiles)
        files += " " + Quote(out + "/" + f.file + ".rtf");
    const std::string converted = folder->File("lo");
    int status = -1;
    bvtest::RunCommand("soffice --headless --norestore -env:UserInstallation=file://" + folder->File("lo-profile") +
                           " --convert-to 'html:HTML (StarWriter)' --outdir " + Quote(converted) + files +
                           " >/dev/null 2>&1",
                       &status);
    ASSERT_EQ(status, 0);
    for (const FileCase& f : kFiles) {
        const std::string text = bvtest::RunCommand(Python() + " " + Quote(kFixtureDir + "/html_check.py") + " text " +
                                                    Quote(converted + "/" + f.file + ".html"));
        ASSERT_FALSE(text.empty()) << f.file;
        EXPECT_EQ(FirstCellMissing(text, ReadModel(GoldenBytes(f.model))), "") << f.file << ".rtf:\n" << text;
    }
}

TEST_F(ResultListsGoldenTest, PdftotextFindsEveryCellOfThePrintedLists)
{
    if (bvtest::RunCommand("command -v pdftotext").empty())
        GTEST_SKIP() << "no pdftotext";
    Made();
    for (const FileCase& f : kFiles) {
        const std::string pdf = out + "/" + f.file + ".pdf";
        ASSERT_TRUE(fs::exists(pdf)) << pdf;
        int status = -1;
        const std::string text = bvtest::RunCommand("pdftotext -raw " + Quote(pdf) + " -", &status);
        ASSERT_EQ(status, 0) << pdf;
        EXPECT_EQ(FirstCellMissing(text, ReadModel(GoldenBytes(f.model))), "") << f.file << ".pdf:\n" << text;
    }
}

// The remark bits of an entry are a 32-bit mask; anything else is refused
// and writes nothing.
TEST_F(ResultListsGoldenTest, AnEntrysRemarksAreAMask)
{
    for (const char* bad : {"x", "-1", "0x100000000", ""}) {
        bvtest::ToolRun run =
            bvtest::RunTool("res entry " + Quote(work) + " 1 1 1 1 --remarks " + Quote(bad) + " --comments nothing");
        EXPECT_EQ(run.status, 1) << bad;
        EXPECT_NE(run.err.find("--remarks is a 32-bit mask"), std::string::npos) << run.err;
    }
    bvtest::ToolRun run = bvtest::RunTool("res list " + Quote(work) +
                                          " --kind 10 --comp 1 --classes 1 --series 6 --out - --now \"2026-05-17 09:05\"");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find("nothing"), std::string::npos);
    EXPECT_NE(run.out.find("A,C"), std::string::npos) << "the fixture's remarks of Ola Nordmann";
}

}  // namespace
