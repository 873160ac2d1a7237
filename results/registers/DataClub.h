#pragma once
// The club register .\Common\Club.BVD and the organisation register
// .\Common\Org.BVD that all competitions share: the federations, their clubs,
// the captions of their three region levels and the regions of each level.
// Requests are answered for the current organisation from in-memory indexes
// that a load rebuilds when a file changed or another organisation is asked
// for.
//
// The club indexes and the organisation indexes each keep their own
// organisation, so loading the regions of one federation never leaves the
// clubs of another listed. Indexes are built into fresh arrays and swapped in
// under a mutex: the worker thread may reload while the screens read, and no
// reader ever sees half an index.
#include "foundation/files/BVFileEx.h"
#include "results/registers/RegisterRecords.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace results {

class CDataClub {
public:
    static constexpr int16_t kClubRecordSize = 338;
    static constexpr int16_t kOrgRecordSize = 36;
    static constexpr int16_t kVersion = 1;
    static constexpr int kClubs = 8;       // the list and kind of clubs
    static constexpr int kNotTaken = 65535;  // Put of a kind it does not take
    static constexpr int kClubByKey = 2 * 16 + kClubs;  // Get's request for a club by its number

    explicit CDataClub(std::string folder = ".\\Common");
    virtual ~CDataClub();

    // Nonzero when anything was rebuilt.
    int LoadClubs(int org);
    // Whether the club register is open (LoadClubs opens it): one that
    // cannot be read gives every shooter no club.
    bool ClubsOpen() const { return m_clubOpen; }
    int LoadOrg(int org);
    // 1 organisations, 5..7 region lists A..C, 8 clubs; 0 for anything else.
    int Count(int list) const;
    // request = access form * 16 + kind; buffer is a ClubRecord for clubs
    // (kind 8), an OrgRecord otherwise. 0 when filled.
    int Get(void* buffer, int n, int request);
    // Writes by key; 0 when written, 65535 for a kind it does not take.
    int Put(const void* record, int value, int kind);

    // The federations' club lists (DataClubImport.cpp): organisation 1's column
    // list, organisation 2's list with MapID.txt beside it, organisation 3's
    // NJFF list. 0 when done; -1 when the file is missing; 1 (column list)
    // when it cannot be read. What the user must hear goes to the report.
    int ImportClubList(const std::string& path);
    int ImportMapFile(const std::string& path);
    int ImportNjff(const std::string& path);
    void SetReport(std::function<void(const std::string& text)> report) { m_report = std::move(report); }

    int ClubOrg() const;
    int OrgOrg() const;
    std::string Caption(int level) const;  // 0..2 for A..C

private:
    struct ClubIndexes {
        int org = 0;
        std::vector<uint32_t> byName;
        std::vector<uint32_t> byNumber;
    };
    struct OrgIndexes {
        int org = 0;
        std::vector<uint32_t> orgs;
        std::array<std::vector<uint32_t>, 3> regions;
        std::array<std::string, 3> captions;
    };
    bool OpenClubs();
    bool OpenOrgs();
    std::shared_ptr<const ClubIndexes> Clubs() const;
    std::shared_ptr<const OrgIndexes> Orgs() const;
    void Report(const std::string& text, int level);
    int WriteImported(ClubRecord& record);
    int ReadIndexed(CBVFileEx& file, const std::vector<uint32_t>& index, int n, void* buffer, int outside);

    std::string m_folder;
    std::function<void(const std::string&)> m_report;
    std::unique_ptr<CBVFileEx> m_clubFile;
    std::unique_ptr<CBVFileEx> m_orgFile;
    bool m_clubOpen = false;
    bool m_orgOpen = false;
    std::atomic<bool> m_clubsWritten{false};
    std::atomic<bool> m_orgsWritten{false};
    mutable std::recursive_mutex m_files;  // the record files and their caches
    mutable std::mutex m_indexes;          // the two index sets, swapped whole
    std::shared_ptr<const ClubIndexes> m_clubs = std::make_shared<ClubIndexes>();
    std::shared_ptr<const OrgIndexes> m_orgs = std::make_shared<OrgIndexes>();
};

}  // namespace results
