#pragma once
// Outside programs run from the tests: the checkers that read our files
// (pngcheck, pdftotext, iconv, Python's own modules) and the bvtool built
// with the tests, run the way a user runs it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bvtest {

// Runs a shell command line and gives what it wrote on standard output;
// standard error passes through to the test's own. exitCode gets the exit
// status, -1 when the command could not start or did not exit by itself.
std::string RunCommand(const std::string& command, int* exitCode = nullptr);

// The pages of a PDF file as pdfinfo counts them; -1 when it cannot read it.
int PdfPages(const std::string& path);

// What a run of bvtool gave back.
struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the bvtool of this build with the arguments as the shell splits them,
// catching standard output and standard error apart.
ToolRun RunTool(const std::string& args);

// bvtool's way to fail: an exit status other than 0, and one line on
// standard error that starts "bvtool: ".
testing::AssertionResult FailedWithOneLine(const ToolRun& run);

// One call of bvtool and what it must give: its exit status and standard
// output, and bvtool's one line on standard error when it fails.
struct ToolStep {
    std::string args;
    int status = 0;
    std::string out;
};
// Runs the steps in order, each checked as it runs.
void RunSteps(const std::vector<ToolStep>& steps);

// Runs a Python script, with the arguments as the shell splits them, in the
// working folder, and gives its standard output. The script itself is kept
// outside the working folder, so a test sees only the files it expects.
std::string RunPython(const std::string& script, const std::string& args = {}, int* exitCode = nullptr);

}  // namespace bvtest
