// The default names of new events, by organisation type and program kind.
#include "results/data/DataEvent.h"
#include "results/data/ResStrings.h"
#include "results/events/TemplateTypes.h"

#include "platform/system/Codepage.h"


namespace results {
namespace {

using templates::KindSet;
using templates::OrgSet;

// A word of the string table, as it stands or in lower case.
struct Word {
    int id = 0;  // 0: none
    bool lower = false;
};
constexpr Word kSkuddLower{IDS_WORD_SKUDD, true};
constexpr Word kFinale{IDS_WORD_FINALE, false};
constexpr Word kFinaleLower{IDS_WORD_FINALE, true};
constexpr Word kHelmatch{IDS_WORD_HELMATCH, false};
constexpr Word kHelmatchLower{IDS_WORD_HELMATCH, true};
constexpr Word kHurtig{IDS_WORD_HURTIG, false};
constexpr Word kUtvidet{IDS_WORD_UTVIDET, false};

// A name: the text as it stands, or a format whose %s take the words.
struct Name {
    const char* format = nullptr;  // UTF-8; null: no name
    Word first{};
    Word second{};
};

struct NameRow {
    OrgSet orgs;
    KindSet kinds;  // full program kinds
    Name main;
    Name final;
};

const OrgSet kAnyOrg = OrgSet::Range(0, 255);

// The first row of the organisation type and kind names the event. Rows of
// organisation types 2 and 6 serve type 1 for the kinds it has none of.
const NameRow kEventNames[] = {
    {kAnyOrg, {0}, {"Øvelse"}, {}},
    {kAnyOrg, {128}, {"Hovedskyting"}, {"Finale"}},

    {{1}, {1}, {"100m"}, {}},
    {{1}, {2}, {"200m"}, {}},
    {{1}, {3}, {"300m"}, {}},
    {{1}, {129}, {"100m hoved"}, {"100m omgang"}},
    {{1}, {130}, {"200m hoved"}, {"200m omgang"}},
    {{1}, {131}, {"300m hoved"}, {"300m omgang"}},
    {{1}, {4}, {"15m"}, {}},
    {{1}, {5}, {"Org.med."}, {}},
    {{1}, {6}, {"10sk. 100m"}, {}},
    {{1}, {7}, {"10sk. Senior"}, {}},
    {{1}, {8, 9}, {"Finfelt"}, {}},
    {{1}, {10, 11}, {"Grovfelt"}, {}},
    {{1}, {137}, {"Finfelt hoved"}, {"Finfelt mesterskap"}},
    {{1}, {139}, {"Grovfelt hoved"}, {"Grovfelt mesterskap"}},
    {{1}, {12}, {"Stang"}, {}},
    {{1}, {13}, {"Felthurtig"}, {}},

    {{1, 2, 6}, {1, 129}, {"60 %s", kSkuddLower}, {"%s 60 %s", kFinale, kSkuddLower}},
    {{1, 2, 6}, {2, 130}, {"Halvmatch"}, {}},
    {{1, 2, 6}, {3, 131}, {"Helmatch"}, {"%s %s", kFinale, kHelmatch}},
    {{1, 2, 6}, {4, 132}, {"%s %s", kUtvidet, kHelmatchLower}, {"%s %s", kFinale, kHelmatch}},
    {{1, 2, 6}, {5, 133}, {"Luft"}, {"%s Luft", kFinale}},
    {{1, 2, 6}, {6, 134}, {"15m"}, {"15m %s", kFinaleLower}},
    {{1, 2, 6}, {7, 135}, {"%s (CISM)", kHurtig}, {"%s %s (CISM)", kFinale, kHurtig}},
    {{1, 2, 6}, {8, 136}, {"VM"}, {"%s VM", kFinale}},
    {{1, 2, 6}, {10, 138}, {"Fripistol"}, {"%s Fripistol", kFinale}},
    {{1, 2, 6}, {11, 139}, {"Standard"}, {"%s Standard", kFinale}},
    {{1, 2, 6}, {12, 140}, {"Silhuett"}, {"%s Silhuett", kFinale}},
    {{1, 2, 6}, {13, 141}, {"Press"}, {}},
    {{1, 2, 6}, {14, 142}, {"Duell"}, {"%s VM", kFinale}},
    {{1, 2, 6}, {15, 16}, {"Feltpistol"}, {}},

    {{3}, {1, 2}, {"Jaktfelt"}, {}},
    {{3}, {4}, {"Fasthold elg"}, {}},
    {{3}, {5, 133}, {"Løpende elg"}, {"Finale elgbane"}},
};

std::string WordText(const Word& word)
{
    std::string text = ResString(word.id);
    if (word.lower)
        for (char& c : text)
            c = static_cast<char>(platform::Lower1252(static_cast<unsigned char>(c)));
    return text;
}

std::string Compose(const Name& name)
{
    if (!name.format)
        return {};
    std::string text = platform::Ansi(name.format);
    for (const Word* word : {&name.first, &name.second}) {
        size_t at = text.find("%s");
        if (word->id == 0 || at == std::string::npos)
            break;
        text.replace(at, 2, WordText(*word));
    }
    return text;
}

}  // namespace

std::string CDataEvent::EventNameFor(int orgType, int final, int kind)
{
    for (const NameRow& row : kEventNames)
        if (row.orgs.Has(orgType) && row.kinds.Has(kind))
            return Compose(final ? row.final : row.main);
    return {};
}

}  // namespace results
