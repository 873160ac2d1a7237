#pragma once
// The fixture competitions (fixture/make-lists-fixture.sh) in a test's
// working folder. Every golden test starts from them, and every test case
// runs in a process of its own, so the script's bvtool batch (some ten
// seconds) runs once per build of bvtool and script: the first test makes
// the fixture under a lock in the build folder, the others copy it. The
// script writes "." for its folder everywhere, so a copy is the fixture.
#include "tests/support/RunCommand.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace liststest {

inline const std::string kFixtureDir = std::string(BV_SOURCE_DIR) + "/tests/results/lists/fixture";
inline const std::string kGoldenDir = std::string(BV_SOURCE_DIR) + "/tests/results/lists/golden";
inline const std::string kBvtool = std::string(BV_BINARY_DIR) + "/tools/bvtool/bvtool";
// The moment the lists are made at, so that their dates match the golden files.
inline const char* const kNow = "--now \"2026-05-17 09:05\"";

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }
inline std::string Python()
{
    return std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

namespace detail {

// What the fixture is made of: the script's text and the bvtool that runs it.
inline std::string FixtureKey()
{
    std::ifstream script(kFixtureDir + "/make-lists-fixture.sh", std::ios::binary);
    std::stringstream text;
    text << script.rdbuf();
    std::error_code ec;
    const auto size = std::filesystem::file_size(kBvtool, ec);
    const auto time = std::filesystem::last_write_time(kBvtool, ec).time_since_epoch().count();
    std::ostringstream key;
    key << std::hex << std::hash<std::string>{}(text.str()) << '-' << size << '-' << time;
    return key.str();
}

}  // namespace detail

// Makes the fixture in `work` (which must not exist yet); 0 when it stands,
// else the failing command's status, with its output in `*log`.
inline int MakeFixture(const std::string& work, std::string* log = nullptr)
{
    namespace fs = std::filesystem;
    const fs::path cache = fs::path(BV_BINARY_DIR) / "tests" / "lists-fixture";
    std::error_code ec;
    fs::create_directories(cache, ec);
    const int lock = open((cache / "lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
    if (lock < 0 || flock(lock, LOCK_EX) != 0) {
        if (lock >= 0)
            close(lock);
        return -1;
    }
    const fs::path made = cache / detail::FixtureKey();
    int status = 0;
    std::string output;
    if (!fs::exists(made / "done")) {
        // Older fixtures go: one build keeps one.
        for (const auto& entry : fs::directory_iterator(cache, ec))
            if (entry.is_directory())
                fs::remove_all(entry.path(), ec);
        output = bvtest::RunCommand(Quote(kFixtureDir + "/make-lists-fixture.sh") + " " + Quote(kBvtool) + " " +
                                        Quote((made / "work").string()) + " 2>&1",
                                    &status);
        if (status == 0)
            std::ofstream(made / "done") << "made\n";
    }
    flock(lock, LOCK_UN);
    close(lock);
    if (status == 0)
        output = bvtest::RunCommand("cp -a " + Quote((made / "work").string()) + " " + Quote(work) + " 2>&1", &status);
    if (log)
        *log = output;
    return status;
}

}  // namespace liststest
