#pragma once
// What the lists' benchmarks share around their competitions: a working
// folder in memory where there is one, entered and removed with everything
// in it at the end, and the size the tests ask for.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

class BenchFolder {
public:
    explicit BenchFolder(const std::string& name)
    {
        const std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/" + name + "-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0)
            std::abort();
        m_path = pattern;
    }
    ~BenchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Under the tests a benchmark only shows that it runs, on a smaller count
// named in the environment; never more than max.
inline int CountFromEnvironment(const char* name, int max)
{
    const char* value = std::getenv(name);
    return value != nullptr && std::atoi(value) > 0 ? std::min(std::atoi(value), max) : max;
}
