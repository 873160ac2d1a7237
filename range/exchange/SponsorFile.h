#pragma once
// The welcome text of each lane as the results program publishes it in the
// exchange folder's Sponsor.txt: section <prefix>, key "Lane<n>". Read once
// per welcome; a missing file, section or key gives an empty text.
#include "foundation/files/BVIniFile.h"

#include <string>

class SponsorFile {
public:
    // The folder as configured; empty means the range folder.
    void Load(const std::string& exchangeFolder);
    std::string LaneText(const std::string& prefix, int lane) const;
    // Where the file is looked for.
    static std::string PathIn(const std::string& exchangeFolder);

private:
    mutable CBVIniFile m_file;
    bool m_loaded = false;
};
