// bvtool batch: many bvtool commands in one run, read from a file (or
// standard input), as fixtures are made: a program start per command would
// cost more than the commands themselves.
//
// One command a line, as it would follow "bvtool" on a command line: words
// separated by blanks; '...' takes its text as it stands, "..." too but with
// \" and \\ for a quote and a backslash. Blank lines and lines starting with
// '#' are skipped. Every command starts in the folder the batch started in.
// The batch stops at the first command that does not end with 0 and ends
// with its status.
#include "Command.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include <unistd.h>

namespace bvtool {
namespace {

// The words of a line; false with the message when a quote is not closed.
bool Words(const std::string& line, Args& words, std::string& error)
{
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        if (i == line.size())
            break;
        std::string word;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            const char c = line[i++];
            if (c == '\'') {
                size_t end = line.find('\'', i);
                if (end == std::string::npos) {
                    error = "a ' is not closed";
                    return false;
                }
                word += line.substr(i, end - i);
                i = end + 1;
            } else if (c == '"') {
                for (;;) {
                    if (i == line.size()) {
                        error = "a \" is not closed";
                        return false;
                    }
                    char q = line[i++];
                    if (q == '"')
                        break;
                    if (q == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\'))
                        q = line[i++];
                    word += q;
                }
            } else {
                word += c;
            }
        }
        words.push_back(word);
    }
    return true;
}

int RunBatch(const Args& args)
{
    if (args.size() != 1)
        return Fail("usage: bvtool batch FILE|-");
    std::ifstream file;
    std::istream* in = &std::cin;
    if (args[0] != "-") {
        file.open(args[0], std::ios::binary);
        if (!file)
            return Fail("cannot read " + args[0]);
        in = &file;
    }
    char start[4096];
    if (getcwd(start, sizeof start) == nullptr)
        return Fail("cannot tell the working folder");
    std::string line;
    for (int number = 1; std::getline(*in, line); ++number) {
        Args words;
        std::string error;
        if (!Words(line, words, error))
            return Fail("line " + std::to_string(number) + ": " + error);
        if (words.empty() || words[0].rfind('#', 0) == 0)
            continue;
        const Command* command = FindCommand(words[0]);
        if (command == nullptr || words[0] == "batch")
            return Fail("line " + std::to_string(number) + ": unknown command '" + words[0] + "'");
        if (chdir(start) != 0)
            return Fail("cannot go back to " + std::string(start));
        const int status = command->run(Args(words.begin() + 1, words.end()));
        std::fflush(stdout);
        if (status != 0) {
            std::fprintf(stderr, "bvtool: line %d failed (%d): %s\n", number, status, line.c_str());
            return status;
        }
    }
    return 0;
}

[[maybe_unused]] const bool registered =
    Register({"batch", "bvtool batch FILE|-",
              "runs the bvtool commands of FILE (or standard input), one a line, in one run; stops at the first "
              "that fails",
              &RunBatch});

}  // namespace
}  // namespace bvtool
