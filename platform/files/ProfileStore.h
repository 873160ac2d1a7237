#pragma once
// The program's own profile: window positions, the last choices, the language.
// Each program keeps it in one small ini file of the user's,
// <UserConfigFolder>/Brevandi/<program>.ini, in sections such as [Context].
// Screens read and write it through ProfileStore so that tests can hand them
// a store of their own.
#include <map>
#include <string>

namespace platform {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // Texts are Windows-1252; names are compared without regard to case.
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) = 0;
    virtual int GetInt(const std::string& section, const std::string& key, int defaultValue) = 0;
    // true when the value reached the store.
    virtual bool WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual bool WriteInt(const std::string& section, const std::string& key, int value);
};

// A profile kept in an ini file (native path). Every write rewrites the whole
// file through a temporary file and a rename, so a crash never leaves half a
// profile; every read takes the file as it is on disk, so two programs of the
// same user see each other's values.
class IniProfileStore : public ProfileStore {
public:
    explicit IniProfileStore(std::string nativePath);
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// A profile that lives in memory only, for tests.
class MemoryProfileStore : public ProfileStore {
public:
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;

private:
    std::map<std::string, std::string> m_values;  // "SECTION\nKEY" in capitals
};

// The program's name ("BVLeder", "BVRes", ...); message boxes without a
// caption show it, and its profile is named after it.
void SetProgramName(const std::string& program);
const std::string& ProgramName();

// <UserConfigFolder>/Brevandi/<program>.ini
std::string ProfilePath(const std::string& program);

// The profile in use: the ini file of ProgramName() unless a test set another.
ProfileStore& Profile();
// Replaces it (nullptr restores the program's ini file).
void SetProfile(ProfileStore* store);

}  // namespace platform
