#include "TempFolder.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <unistd.h>

namespace bvtest {

TempFolder::TempFolder(Place place)
{
    std::filesystem::path base = place == InMemory && std::filesystem::exists("/dev/shm")
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    std::string pattern = (base / "bvtest-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
    m_previousCwd = std::filesystem::current_path().string();
    std::filesystem::current_path(m_path);
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::current_path(m_previousCwd, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string TempFolder::Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void TempFolder::Write(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace bvtest
