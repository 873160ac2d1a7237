#include "Command.h"

#include "platform/system/Codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace bvtool {
namespace {

std::map<std::string, Command>& Registry()
{
    static std::map<std::string, Command> commands;
    return commands;
}

int Help(const Args&)
{
    std::printf("bvtool: inspects and edits the files of a range and its programs.\n\n");
    for (const auto& [name, command] : Registry()) {
        std::printf("%s\n", command.usage);
        std::printf("    %s\n", command.summary);
    }
    return 0;
}

[[maybe_unused]] const bool registered = Register({"help", "bvtool help", "lists every subcommand", &Help});

}  // namespace

bool Register(const Command& command)
{
    Registry()[command.name] = command;
    return true;
}

const Command* FindCommand(const std::string& name)
{
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : &it->second;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "bvtool: %s\n", message.c_str());
    return 1;
}

std::string ToFile(const std::string& utf8) { return platform::Utf8ToCp1252(utf8); }
std::string ToScreen(const std::string& cp1252) { return platform::Cp1252ToUtf8(cp1252); }

bool ParseInt(const std::string& text, long& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end && *end == '\0';
}

}  // namespace bvtool

int main(int argc, char** argv)
{
    using namespace bvtool;
    if (argc < 2)
        return Help({}) == 0 ? 2 : 2;
    std::string name = argv[1];
    if (name == "--help" || name == "-h")
        name = "help";
    auto it = Registry().find(name);
    if (it == Registry().end())
        return Fail("unknown command '" + name + "' (see 'bvtool help')");
    Args args(argv + 2, argv + argc);
    return it->second.run(args);
}
