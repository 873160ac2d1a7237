// Entry point of every test executable: screens run on the offscreen
// platform unless the caller chose another one.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

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

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FailedSuiteSetUp);
    return RUN_ALL_TESTS();
}
