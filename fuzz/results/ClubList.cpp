// Any bytes as one of the federations' club lists; the first byte chooses
// the reader (column list, mapped list, NJFF list). Whatever the bytes, every
// club stored has the reader's organisation, a number 1..65535 and text
// fields that end inside their record.
#include "foundation/text/FieldText.h"
#include "fuzz/FuzzScratch.h"
#include "platform/files/FileSystem.h"
#include "results/registers/DataClub.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

using namespace results;
using fuzz::Check;

bool Ends(const char* field, size_t size) { return std::memchr(field, 0, size) != nullptr; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static const fuzz::ScratchFolder folder("fuzz-clublist");
    std::filesystem::current_path(folder.Path());
    std::filesystem::create_directory("Common");
    const std::string map = "[ID]\r\nA=1\r\nB=70000\r\nGR01230045=65535\r\n";
    fuzz::WriteWholeFile("MapID.txt", map.data(), map.size());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int org = data[0] % 3 + 1;
    platform::RemoveFile(".\\Common\\Club.BVD");
    Check(fuzz::WriteWholeFile("List.txt", data + 1, size - 1));
    CDataClub clubs;
    clubs.LoadClubs(org);
    if (org == 1)
        clubs.ImportClubList("List.txt");
    else if (org == 2)
        clubs.ImportMapFile("List.txt");
    else
        clubs.ImportNjff("List.txt");
    clubs.LoadClubs(org);
    ClubRecord c;
    for (int r = 1; clubs.Get(&c, r, 24) == 0; ++r) {
        Check(c.org == org && c.zero == 0 && c.number != 0);
        Check(Ends(c.name, sizeof c.name) && Ends(c.address1, sizeof c.address1) &&
              Ends(c.address2, sizeof c.address2) && Ends(c.address3, sizeof c.address3) &&
              Ends(c.phone1, sizeof c.phone1) && Ends(c.phone2, sizeof c.phone2) &&
              Ends(c.account, sizeof c.account) && Ends(c.email, sizeof c.email) && Ends(c.web, sizeof c.web));
    }
    return 0;
}
