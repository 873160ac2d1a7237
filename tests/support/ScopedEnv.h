#pragma once
// An environment variable set for as long as the object lives, then given
// back as it was: the next test in the same program starts from the same
// environment.
#include <cstdlib>
#include <optional>
#include <string>

namespace bvtest {

class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string& value) : m_name(std::move(name))
    {
        if (const char* old = std::getenv(m_name.c_str()))
            m_old = old;
        setenv(m_name.c_str(), value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

}  // namespace bvtest
