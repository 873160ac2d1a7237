#include "RunCommand.h"

#include "TempFolder.h"

#include <cstdio>
#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

namespace bvtest {
namespace {

// A folder of its own for the files a run needs beside the test's; gone
// with the object.
class Scratch {
public:
    Scratch()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "bvrun-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~Scratch()
    {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    bool Made() const { return !m_path.empty(); }
    std::string File(const char* name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

}  // namespace

std::string RunCommand(const std::string& command, int* exitCode)
{
    std::string output;
    if (exitCode != nullptr)
        *exitCode = -1;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    int status = ::pclose(pipe);
    if (exitCode != nullptr)
        *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

ToolRun RunTool(const std::string& args)
{
    ToolRun run;
    Scratch scratch;
    if (!scratch.Made())
        return run;
    std::string errors = scratch.File("stderr.txt");
    run.out = RunCommand(std::string(BV_BINARY_DIR) + "/tools/bvtool/bvtool " + args + " 2>'" + errors + "'",
                         &run.status);
    run.err = TempFolder::Read(errors);
    return run;
}

testing::AssertionResult FailedWithOneLine(const ToolRun& run)
{
    if (run.status == 0)
        return testing::AssertionFailure() << "exit status 0";
    if (run.err.rfind("bvtool: ", 0) != 0)
        return testing::AssertionFailure() << "standard error does not start with \"bvtool: \": " << run.err;
    if (run.err.find('\n') != run.err.size() - 1)
        return testing::AssertionFailure() << "standard error is not one line: " << run.err;
    return testing::AssertionSuccess();
}

void RunSteps(const std::vector<ToolStep>& steps)
{
    for (const ToolStep& step : steps) {
        ToolRun run = RunTool(step.args);
        EXPECT_EQ(run.status, step.status) << step.args;
        EXPECT_EQ(run.out, step.out) << step.args;
        if (step.status != 0)
            EXPECT_TRUE(FailedWithOneLine(run)) << step.args;
    }
}

std::string RunPython(const std::string& script, const std::string& args, int* exitCode)
{
    if (exitCode != nullptr)
        *exitCode = -1;
    Scratch scratch;
    if (!scratch.Made())
        return {};
    std::string file = scratch.File("script.py");
    TempFolder::Write(file, script);
    return RunCommand("python3 '" + file + "' " + args, exitCode);
}

int PdfPages(const std::string& path)
{
    const std::string info = RunCommand("pdfinfo '" + path + "' 2>&1");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

}  // namespace bvtest
