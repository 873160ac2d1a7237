#pragma once
// The exchange parameters of a range folder and one of its competitions,
// where the range control keeps them: the results program and the office
// folder in BVLeder.BVC, the file prefix and the start score mode in the
// competition's Comp.Bvc. Changing them here changes them for the range.
#include <string>

struct ExchangeParameters {
    static constexpr int kMaxFolder = 270;  // nine pieces of 30

    int resultsProgram = -1;  // 0..8; -1 none selected
    std::string officeFolder;
    std::string prefix;
    int startScoreMode = -1;  // 0..2; -1 none checked

    // Read-only. Empty, with nothing selected, when the Comp.Bvc cannot be opened.
    static ExchangeParameters Load(const std::string& rangeFolder, int comp);

    // What Save wrote.
    struct Written {
        bool range = false;        // BVLeder.BVC
        bool competition = false;  // Comp.Bvc
    };
    // Writes what differs from the stored values; for BVRes (program 0) the
    // folder ends in "\BV\". Needs a competition whose settings were read:
    // nothing is written for one that is not there.
    Written Save(const std::string& rangeFolder, int comp) const;

    // The folder BVRes reads its files from: a backslash and "BV\" appended
    // when missing.
    static std::string BVResFolder(std::string folder);
};
