#pragma once
// The records of the registers all competitions share in .\Common: clubs
// (Club.BVD), federations with their region levels (Org.BVD) and persons
// (Person.BVD). Laid out byte for byte as the files hold them.
#include <cstddef>
#include <cstdint>

namespace results {

#pragma pack(push, 1)
// One club of one organisation; the key is (org, 0, number).
struct ClubRecord {
    uint8_t org;
    uint8_t zero;     // always 0
    uint16_t number;  // unique within the organisation
    char name[32];
    char address1[32];
    char address2[32];
    char address3[32];  // postcode and place
    uint16_t regionA;   // item numbers in the organisation's region lists
    uint16_t regionB;
    uint16_t regionC;
    char phone1[15];
    char phone2[15];
    char account[20];
    char email[50];
    char web[100];
};

// One entry of the organisation register; the key is (org, kind, item).
struct OrgRecord {
    uint8_t org;
    uint8_t kind;   // OrgKind
    uint16_t item;  // 0 for the organisation itself
    char text[32];
};

// One person ever entered (version 4 added the bib text).
struct PersonRecord {
    uint8_t org;     // organisation type; 0 in a freed record
    int16_t club;    // 0 marks a free record
    char name[32];
    char className[11];
    uint8_t century;  // date last used
    uint8_t year;
    uint8_t month;
    uint8_t day;
    char bib[82];
};
#pragma pack(pop)

// What an organisation record holds.
enum OrgKind : uint8_t {
    kOrgName = 1,
    kCaptionA = 2,
    kCaptionB = 3,
    kCaptionC = 4,
    kRegionA = 5,
    kRegionB = 6,
    kRegionC = 7,
};

static_assert(sizeof(ClubRecord) == 338);
static_assert(offsetof(ClubRecord, number) == 2 && offsetof(ClubRecord, name) == 4);
static_assert(offsetof(ClubRecord, address1) == 36 && offsetof(ClubRecord, address2) == 68);
static_assert(offsetof(ClubRecord, address3) == 100 && offsetof(ClubRecord, regionA) == 132);
static_assert(offsetof(ClubRecord, regionB) == 134 && offsetof(ClubRecord, regionC) == 136);
static_assert(offsetof(ClubRecord, phone1) == 138 && offsetof(ClubRecord, phone2) == 153);
static_assert(offsetof(ClubRecord, account) == 168 && offsetof(ClubRecord, email) == 188);
static_assert(offsetof(ClubRecord, web) == 238);
static_assert(sizeof(OrgRecord) == 36 && offsetof(OrgRecord, item) == 2 && offsetof(OrgRecord, text) == 4);
static_assert(sizeof(PersonRecord) == 132);
static_assert(offsetof(PersonRecord, club) == 1 && offsetof(PersonRecord, name) == 3);
static_assert(offsetof(PersonRecord, className) == 35 && offsetof(PersonRecord, century) == 46);
static_assert(offsetof(PersonRecord, day) == 49 && offsetof(PersonRecord, bib) == 50);

// The 32-bit number that orders the dates a person was last used.
inline uint32_t PersonDate(const PersonRecord& p)
{
    return (uint32_t{p.century} << 24) | (uint32_t{p.year} << 16) | (uint32_t{p.month} << 8) | p.day;
}

}  // namespace results
