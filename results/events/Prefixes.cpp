// Exchange prefixes of new events: the two characters that begin the names
// of every exchange file of an event, a letter and a digit that counts up
// from try to try until the prefix is free.
#include "results/data/DataEvent.h"
#include "results/events/TemplateTypes.h"

namespace results {
namespace {

using templates::KindSet;
using templates::OrgSet;

enum class For { Main, Final, Either };

struct PrefixRow {
    OrgSet orgs;
    For event;
    KindSet kinds;       // full program kinds
    char letter;
    char firstDigit;     // the digit of try 0
    const char* kme;     // the prefix with the KME exchange, whatever the try; null: as without
};

const PrefixRow kPrefixes[] = {
    {{1}, For::Main, {1, 4, 129}, 'H', '1', "1"},
    {{1}, For::Main, {2, 3, 5, 130, 131}, 'H', '2', "2"},
    {{1}, For::Main, {6}, 'L', '1', "1"},
    {{1}, For::Main, {7}, 'L', '2', "2"},
    {{1}, For::Final, {1, 129}, 'O', '1', "1"},
    {{1}, For::Final, {2, 3, 130, 131}, 'O', '2', "2"},
    {OrgSet::Range(0, 255).Without(1), For::Final, KindSet::Range(128, 255), 'F', '1', nullptr},
    {OrgSet::Range(0, 255).Without(1), For::Either, KindSet::Range(0, 255), 'H', '1', nullptr},
};


}  // namespace

std::string CDataEvent::MakePrefix(int orgType, int attempt, int kind, int exchType)
{
    const bool final = (attempt & CDataEvent::kFinalTry) != 0;
    for (const PrefixRow& row : kPrefixes) {
        if (!row.orgs.Has(orgType) || !row.kinds.Has(kind) ||
            (row.event == For::Main && final) || (row.event == For::Final && !final))
            continue;
        if (exchType == CDataEvent::kExchangeKme && row.kme)
            return row.kme;
        // Past 9 come ':' and ';', which no range control takes as a prefix
        // and which do not belong in file names: no prefix is left.
        int digit = row.firstDigit + (attempt & templates::kKindNumber);
        if (digit > '9')
            return {};
        return {row.letter, static_cast<char>(digit)};
    }
    return {};
}

int CDataEvent::IsFinalPair(int orgType, int kind)
{
    if (orgType == 1)
        return KindSet{129, 130, 131}.Has(kind) ? 1 : -1;
    return (kind & templates::kKindHasFinal) ? 1 : -1;
}

}  // namespace results
