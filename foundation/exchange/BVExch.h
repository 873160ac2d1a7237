#pragma once
// Exchange with results programs: the results of a range folder's
// competition go to the exchange folder in the format of the results program
// chosen in the range configuration (1,1,15), and the shooters' names come
// back from it.
//
// ResultsProgram  results written                     names read
//   0, 1, 2, 6    an ini file per shooter             an ini file per start number
//   3, 4, 5       a line file per relay               a fixed-column file per relay
//   7             a CSV line file per relay           an ini file per start number
//   8             nothing                             another range folder's names
//   above 8       as 0, with a log line               nothing
//
// An export or import object opens the range folder's files itself, so the
// caller's own open competition is not disturbed. An object kept for many
// exports (the range's export after every stored shot) keeps those files open
// from one export to the next and only looks at whether they changed. Lanes
// are 1 to 100.
#include <memory>
#include <string>
#include <string_view>

#include "foundation/files/BVLog.h"
#include "foundation/comp/DataComp.h"

class CBVExch {
public:
    // One slot per lane, indexed by the lane (slot 0 is not used).
    static constexpr int kSlots = CDataComp::kMaxLane + 1;

    // Results of ExportResults.
    enum {
        kDone = 0,
        kNothingToExport = -1,   // ResultsProgram 8
        kPracticeCompetition = -2,  // or no competition of that number in the folder
        kFolderNotWritable = -3,  // FailedFolder() names it
        kIllegalPrefix = -4,      // Prefix() holds it
        kNoRelayRange = -5,       // the line formats need a first and a last relay
        kFileNotCreated = -6,     // FailedFile() names it
    };
    static constexpr int kUnknownResultsProgram = 254;  // of ImportNames

    CBVExch();
    virtual ~CBVExch();
    CBVExch(const CBVExch&) = delete;
    CBVExch& operator=(const CBVExch&) = delete;

    // The range folder whose competition is exported (".\" at first); a
    // trailing backslash is added.
    void SetFolder(const std::string& folder);
    const std::string& GetFolder() const { return m_folder; }

    // Writes the results of relays firstRelay..lastRelay (0..0: the relay now
    // on each lane) of the lanes from firstLane on, at most `shooters`
    // shooters (0: all), into the exchange folder given, or the range's own
    // when empty. The range's ResultsProgram picks the format; the
    // competition's prefix begins every file name. One of the results above.
    int ExportResults(int competition, int firstRelay, int lastRelay, int firstLane, int shooters,
                      const std::string& folder);

    // Fills names[] for the lanes whose relays[] slot is not negative (the
    // relay of the lane's card, or its start number in start-number mode),
    // one lane or all (lane 0), from the exchange folder by resultsProgram,
    // prefix and startNumbers; ResultsProgram 8 reads the names of
    // `competition` in `rangeFolder`. 0, or kUnknownResultsProgram.
    int ImportNames(int relay, int lane, int competition, const std::string& rangeFolder);

    // Inputs of ImportNames (ExportResults reads its own from the files).
    int resultsProgram = 0;
    bool startNumbers = false;
    std::string prefix = "X9";
    std::string exchangeFolder = ".\\";
    int relays[kSlots];
    // Output of ImportNames: start number -1 for a lane that got no name.
    NameRecord names[kSlots];

    const std::string& FailedFile() const { return m_failedFile; }
    const std::string& FailedFolder() const { return m_failedFolder; }

    // A prefix is a letter (either case) and a digit.
    static bool IsValidPrefix(std::string_view prefix);
    // The folder with its trailing backslash; ".\" for an empty one.
    static std::string NormalizeFolder(const std::string& folder);

private:
    struct Opened;
    Opened* OpenFor(int competition);

    void ImportColumnFile(int relay, int lane);
    void ImportOtherRange(int relay, int lane, int competition, const std::string& rangeFolder);
    void ImportNameFiles(int lane);
    bool Asked(int slotLane, int lane) const;

    std::string m_folder = ".\\";
    std::string m_failedFile = "NoFile";
    std::string m_failedFolder;
    std::unique_ptr<Opened> m_opened;  // the files of the last export
    CBVLog m_log;
};
