// Which classes of the competition take part in a new event, by the
// classes' short names.
#include "results/data/DataEvent.h"
#include "results/events/TemplateTypes.h"

#include <string_view>

namespace results {
namespace {

using templates::KindSet;
using templates::Offered;
using templates::OrgSet;

struct ClassSetRow {
    OrgSet orgs;
    KindSet kinds;           // program kinds without the final bit
    Offered offered;
    const char* names;       // take part in main and final events
    const char* mainOnly;    // take part in main events only
};

const KindSet kAnyKind = KindSet::Range(1, 127);

const ClassSetRow kClassSets[] = {
    {{1}, {1, 6, 8, 9}, Offered::Always, "R,ER,J,V65,V73", "ASP,JEG"},
    {{1}, {4, 5, 12, 13}, Offered::Always, "R,ER,J,V65,V73,1,2,3,4,5,V55", "ASP,AG3"},
    {{1}, {2, 3, 7, 10, 11}, Offered::Always, "1,2,3,4,5,V55", "AG3"},
    {{2, 6}, kAnyKind, Offered::National,
     "A,B,C,D,K1,K2,Jm,Jk,U16,U14,U13,U12,V45,V50,V55,V60,V65,SH1,SH2,SH3,A40P,B40P,C40P,D40P,A60P,B60P,C60P,D60P,"
     "U16P,U14P,U12P",
     ""},
    {{2, 6}, kAnyKind, Offered::International, "M,JM,W,JW", ""},
    {{2, 6}, {5}, Offered::International, "Mp,JMp,Wp,JWp", ""},
    {{3}, kAnyKind, Offered::Always, "A,B,D1,D2,E1,E2,F,JA,JB", ""},
};

// Whether the comma-separated list holds the name, exactly.
bool Lists(std::string_view list, std::string_view name)
{
    while (!list.empty()) {
        size_t comma = list.find(',');
        if (list.substr(0, comma) == name)
            return true;
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

}  // namespace

int CDataEvent::ClassesFor(int orgType, int final, int kind, const std::string& className) const
{
    const int number = kind & templates::kKindNumber;
    // The generic event is open to every class.
    if (number == 0)
        return 1;
    for (const ClassSetRow& row : kClassSets) {
        if (!row.orgs.Has(orgType) || !row.kinds.Has(number))
            continue;
        if (!templates::IsOffered(row.offered, nationalClasses != 0, internationalClasses != 0))
            continue;
        if (Lists(row.names, className) || (!final && Lists(row.mainOnly, className)))
            return 1;
    }
    return 0;
}

}  // namespace results
