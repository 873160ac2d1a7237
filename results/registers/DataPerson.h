#pragma once
// The person register .\Common\Person.BVD: every shooter ever entered, shared
// by all competitions, with a name index of the persons of one organisation
// type. The entry screens look persons up by name and club; the register form
// lists them and cleans out duplicates and persons long unused.
#include "foundation/files/BVFileEx.h"
#include "results/registers/RegisterRecords.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace results {

class CDataPerson {
public:
    static constexpr int16_t kRecordSize = 132;
    static constexpr int16_t kVersion = 4;
    static constexpr size_t kMaxName = 30;

    explicit CDataPerson(std::string path = ".\\Common\\Person.BVD");
    virtual ~CDataPerson();

    // Opens the file on first use (converting an older one) and rebuilds the
    // name index for the organisation type. 0, or 1 when the file cannot be
    // opened.
    int Load(uint8_t org, int rebuild = 1);
    // The file's forced cache check; -1 when never opened.
    int Refresh();
    int Count() const { return static_cast<int>(m_index.size()); }
    // The person at a position of the name index: its record number, 0 when none.
    int Get(int position, PersonRecord& out);
    // Record number of the person with that name (any letter case) and club, 0 for none.
    int Find(const std::string& name, int16_t club);
    static void StampDate(PersonRecord& record);
    // Stores the person in the first free record, else appends it, under one
    // lock of the file with the records read afresh, so two computers never
    // take the same free record. The record number written, 0 on failure.
    int Put(const PersonRecord& record);
    // Frees persons unused since before `year` (removeOld) and, of persons
    // with equal names and clubs, all but the one used last (merge).
    void MergeDuplicates(bool merge, bool removeOld, int year);
    // After a conversion from an older version: bib texts emptied.
    static void Convert(CBVFileEx& file);

    CBVFileEx& File() { return *m_file; }

private:
    bool ReadAt(int position, PersonRecord& out);
    void Free(PersonRecord& record);

    std::string m_path;
    std::unique_ptr<CBVFileEx> m_file;
    bool m_open = false;
    std::vector<uint32_t> m_index;  // record numbers in name order
};

}  // namespace results
