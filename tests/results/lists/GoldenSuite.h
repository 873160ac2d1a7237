#pragma once
// What the golden tests of the lists share: a suite's working copy of the
// fixture and a folder for the list files, bvtool batches run in it, the
// model dumps of a batch's output, and the comparison with the golden files
// (BV_UPDATE_GOLDEN=1 writes them anew instead).
#include "FixtureFolder.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace liststest {

// Suite is the test class itself, so that every suite has a fixture of its own.
template <class Suite>
class GoldenSuite : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = std::make_unique<bvtest::TempFolder>(bvtest::TempFolder::InMemory);
        work = folder->File("work");
        out = folder->File("out");
        std::filesystem::create_directories(out);
        std::string log;
        ASSERT_EQ(MakeFixture(work, &log), 0) << "the fixture: " << log;
    }
    static void TearDownTestSuite() { folder.reset(); }

    // bvtool's lines for a batch of calls made in the working folder.
    static std::string Batch(const std::string& calls, const std::string& name)
    {
        bvtest::TempFolder::Write(folder->File(name), calls);
        int status = -1;
        std::string output = bvtest::RunCommand(
            "cd " + Quote(work) + " && " + Quote(kBvtool) + " batch " + Quote(folder->File(name)), &status);
        EXPECT_EQ(status, 0) << output;
        return output;
    }

    static std::string GoldenBytes(const std::string& name)
    {
        return bvtest::TempFolder::Read(kGoldenDir + "/" + name);
    }

    static inline std::unique_ptr<bvtest::TempFolder> folder;
    static inline std::string work, out;
    // The golden files' contents as the lists give them now.
    static inline std::map<std::string, std::string> made;
};

// The names of a table's model dumps (".model"), in the table's order.
template <class Golden, size_t N>
std::vector<std::string> ModelNames(const Golden (&goldens)[N])
{
    std::vector<std::string> names;
    for (const Golden& g : goldens)
        if (std::string(g.name).ends_with(".model"))
            names.push_back(g.name);
    return names;
}

// The model dumps in a batch's output, each from its "list" line up to the
// next list or the line that names a file written, stored in `made` under
// the names given, in order.
inline void SplitModels(const std::string& output, const std::vector<std::string>& names,
                        std::map<std::string, std::string>& made)
{
    std::istringstream lines(output);
    std::string line;
    std::string* current = nullptr;
    size_t next = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("list\t", 0) == 0) {
            if (next == names.size()) {
                ADD_FAILURE() << "more lists than golden models";
                break;
            }
            current = &made[names[next++]];
        } else if (line.rfind("file\t", 0) == 0 || line.rfind("pages\t", 0) == 0) {
            current = nullptr;
            continue;
        }
        if (current)
            *current += line + "\n";
    }
}

// The bytes a list gives now against its golden file.
inline void ExpectAsGolden(const std::string& name, const std::string& bytes)
{
    EXPECT_FALSE(bytes.empty()) << name;
    if (std::getenv("BV_UPDATE_GOLDEN") != nullptr) {
        std::filesystem::create_directories(kGoldenDir);
        bvtest::TempFolder::Write(kGoldenDir + "/" + name, bytes);
        return;
    }
    EXPECT_EQ(bytes, bvtest::TempFolder::Read(kGoldenDir + "/" + name))
        << name << " (BV_UPDATE_GOLDEN=1 writes it anew)";
}

}  // namespace liststest
