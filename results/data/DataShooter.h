#pragma once
// The shooters of a competition, Shooter.bvd: one record per start number
// with name, club, class, category and bib number. Entries and result cards
// know a shooter only by start number; names and clubs come from here.
#include "foundation/files/BVFileEx.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace results {

#pragma pack(push, 1)
struct ShooterRecord {
    int32_t startNr;      // the key; 0 is never stored
    char name[32];
    int16_t club;         // of the competition's organisation; 0 = none
    uint8_t classNr;
    char reserved[4];
    char category[11];
    char bib[82];         // used only when at most 30 characters long
};
#pragma pack(pop)
static_assert(sizeof(ShooterRecord) == 136);
static_assert(offsetof(ShooterRecord, name) == 4 && offsetof(ShooterRecord, club) == 36);
static_assert(offsetof(ShooterRecord, classNr) == 38 && offsetof(ShooterRecord, reserved) == 39);
static_assert(offsetof(ShooterRecord, category) == 43 && offsetof(ShooterRecord, bib) == 54);

class CDataShooter {
public:
    static constexpr int16_t kRecordSize = sizeof(ShooterRecord);
    static constexpr int16_t kVersion = 4;
    static constexpr size_t kMaxBib = 30;

    CDataShooter();
    virtual ~CDataShooter();
    CDataShooter(const CDataShooter&) = delete;
    CDataShooter& operator=(const CDataShooter&) = delete;

    // 0 when the file is open (its cache refreshed), 1 when not: an older
    // file is converted on this call and opens on the next.
    int Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_open != 0; }
    CBVFileEx& File() { return *m_file; }

    // Empty texts and 0 for a start number without record.
    std::string GetName(int32_t startNr);
    std::string GetText(int32_t startNr);  // the category text
    int GetClub(int32_t startNr);
    int GetClass(int32_t startNr);
    std::string GetBibNr(int32_t startNr);
    bool Read(int32_t startNr, ShooterRecord& record);

    // Writes the shooter by start number (0 writes nothing); 0 or the
    // file's negative result. A name already known in the club under another
    // start number is logged and stored all the same.
    int Put(int32_t startNr, const std::string& bib, const std::string& name, int club, int classNr,
            const std::string& category);
    // First record of the club whose name equals the name without regard to
    // case; its start number, or 0.
    int32_t FindByName(const std::string& name, int club);
    // Start numbers of the records whose name contains the text, in file order.
    int Search(const std::string& text, std::vector<int32_t>& numbers);
    // Start numbers of shooters with a club, ascending.
    int SortedNumbers(std::vector<uint32_t>& numbers);

    // After a conversion from an older layout: every bib text empty.
    static void Convert(CBVFileEx& file);

private:
    std::unique_ptr<CBVFileEx> m_file;
    int m_open = 0;
};

}  // namespace results
