// Entry point of every test executable: screens run on the offscreen
// platform unless the caller chose another one.
#include <gtest/gtest.h>

#include "platform/system/Clock.h"
#include "platform/system/TextTable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include <unistd.h>

extern char** environ;

namespace {

// A suite whose set-up failed has its tests marked skipped, and CTest counts
// a skipped test as no failure: a broken fixture would pass the run. Such a
// test ends the program with a failure before it can be marked skipped.
class FailedSuiteSetUp : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& test) override
    {
        const testing::TestSuite* suite = testing::UnitTest::GetInstance()->current_test_suite();
        if (suite != nullptr && suite->ad_hoc_test_result().Failed()) {
            std::fprintf(stderr, "%s.%s: the suite's set-up failed (see above)\n", test.test_suite_name(),
                         test.name());
            std::fflush(nullptr);
            std::_Exit(1);
        }
    }
};

// What a test may change while it runs but must give back: the working
// folder, the environment, the clock and the text table in use. A test that
// leaves one changed would make the next test in the same program pass or
// fail for the wrong reason; it is named, the state put back, and the
// program fails at its end.
class ProcessStateGuard : public testing::EmptyTestEventListener {
public:
    int leaks = 0;

private:
    struct State {
        std::string cwd;
        std::map<std::string, std::string> environment;
        platform::ClockSource* clock = nullptr;
        platform::TextTable* textTable = nullptr;
    };

    // The variables the programs and tests read: the system's own (BV_...),
    // Qt's, the user's folders, time zone and language. Libraries set
    // others for themselves (a graphics driver, the browser engine).
    static bool Watched(const char* entry)
    {
        for (const char* prefix : {"BV_", "QT_", "XDG_", "TZ=", "HOME=", "LANG=", "LC_"})
            if (std::strncmp(entry, prefix, std::strlen(prefix)) == 0)
                return true;
        return false;
    }

    static State Take()
    {
        State s;
        char buffer[4096];
        if (getcwd(buffer, sizeof buffer) != nullptr)
            s.cwd = buffer;
        for (char** e = environ; *e != nullptr; ++e) {
            const char* equals = std::strchr(*e, '=');
            if (equals != nullptr && Watched(*e))
                s.environment[std::string(*e, static_cast<size_t>(equals - *e))] = equals + 1;
        }
        s.clock = &platform::Clock();
        s.textTable = platform::CurrentTextTable();
        return s;
    }

    void Leak(const testing::TestInfo& test, const std::string& what)
    {
        std::fprintf(stderr, "%s.%s left %s changed\n", test.test_suite_name(), test.name(), what.c_str());
        ++leaks;
    }

    void OnTestStart(const testing::TestInfo&) override { m_before = Take(); }

    void OnTestEnd(const testing::TestInfo& test) override
    {
        const State after = Take();
        if (after.cwd != m_before.cwd) {
            Leak(test, "the working folder (" + after.cwd + ")");
            if (chdir(m_before.cwd.c_str()) != 0)
                std::perror("chdir");
        }
        for (const auto& [name, value] : after.environment) {
            auto was = m_before.environment.find(name);
            if (was == m_before.environment.end()) {
                Leak(test, "the environment (" + name + " set)");
                unsetenv(name.c_str());
            } else if (was->second != value) {
                Leak(test, "the environment (" + name + ")");
                setenv(name.c_str(), was->second.c_str(), 1);
            }
        }
        for (const auto& [name, value] : m_before.environment) {
            if (after.environment.count(name) == 0) {
                Leak(test, "the environment (" + name + " removed)");
                setenv(name.c_str(), value.c_str(), 1);
            }
        }
        if (after.clock != m_before.clock) {
            Leak(test, "the clock");
            platform::SetClock(m_before.clock == &platform::SystemClock() ? nullptr : m_before.clock);
        }
        if (after.textTable != m_before.textTable) {
            Leak(test, "the text table");
            platform::SetTextTable(m_before.textTable);
        }
    }

    State m_before;
};

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    listeners.Append(new FailedSuiteSetUp);
    auto* guard = new ProcessStateGuard;
    listeners.Append(guard);
    const int result = RUN_ALL_TESTS();
    if (guard->leaks > 0) {
        std::fprintf(stderr, "%d test(s) left the process changed (see above)\n", guard->leaks);
        return 1;
    }
    return result;
}
