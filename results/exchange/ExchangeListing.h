#pragma once
// The files of an exchange folder by name, without regard to letter case,
// listed once per run: the range control writes "H1R00103.txt" and
// "H1-XX-s.001" where this program asks for "H1R00103.TXT" and "H1-XX-S.001",
// and a folder of thousands of files is not searched once per name. One
// listing serves a whole run, also for the paths the run writes by name (the
// platform's kept listing); the run tells it the files it makes or takes.
#include "platform/files/SystemPath.h"

#include <memory>
#include <string>
#include <string_view>

namespace results {

class ExchangeListing {
public:
    // Lists the files of the folder (a system path) whose names match the
    // pattern ('*' and '?', any case).
    void Load(const std::string& folder, std::string_view pattern);
    // The system path of the file of that name in whatever case it has;
    // empty when the folder has none, also after a fresh look when the
    // folder changed behind the listing's back.
    std::string Find(std::string_view name) const;
    // The same path as this program spells it, for a file to be made.
    std::string PathOf(std::string_view name) const;
    // The native path of the file found; empty when the listing has none.
    std::string NativeFind(std::string_view name) const;
    // A file made, or taken away, since the folder was listed.
    void Add(std::string_view name);
    void Remove(std::string_view name);

private:
    std::string OnDisk(std::string_view name) const;

    std::string m_folder;
    std::string m_pattern;
    std::unique_ptr<platform::KeptListing> m_kept;
};

}  // namespace results
