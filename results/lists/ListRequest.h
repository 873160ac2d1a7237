#pragma once
// What a list object is asked to make: the list kind, the output, and the
// request the screens fill in before they call MakeList (which event,
// relays, targets, classes and the options of the report form).
#include <cstdint>
#include <string>
#include <vector>

namespace results {

// A source (and a request's series filter) of 0x100 | k is sub-event k, not
// a card series.
inline constexpr int kSubEventSource = 0x100;
// A request's event of 0x100 | t is team competition t.
inline constexpr int kTeamEventFlag = 0x100;
// Organisation type 1's clubs are "skytterlag".
inline constexpr int kOrgTypeRifle = 1;

// The report form's list kinds, in the order of its radio buttons; the
// caption of kind k is string 16200 + k.
enum ListKind : int {
    kListStatistics = 0,
    kListParticipants = 1,
    kListSettlement = 2,
    kListBankGiro = 3,
    kListAddressLabels = 4,
    kListPressList = 5,
    kListRollCall = 6,
    kListRelayList = 7,
    kListShootingCards = 8,
    kListGraphicCards = 9,
    kListResultsByClass = 10,
    kListResultsCombined = 11,
    kListAutoResultLists = 12,
    kListOtherLists = 13,
    kListTeamShooting = 14,
    kListRunningOrder = 15,
    kListKindCount = 16,
};

// Where a list goes. kOutputModel makes the list and leaves its model to the
// caller (the tools print it, the tests look at it); nothing is printed or
// written and the caller empties the model.
enum ListOutput : int {
    kOutputModel = 0,
    kOutputPreview = 1,
    kOutputPrint = 2,
    kOutputFile = 3,
    kOutputWebPage = 4,  // only the web pages' own producers
};

// The file-name dialog's choices, read by the list file writer.
struct ListFileOptions {
    uint8_t compact = 0;   // RTF: definitions share a section unless they ask for a page
    uint8_t html = 0;      // an HTML page
    uint8_t footer = 0;    // RTF: the page footer group
    uint8_t header = 0;    // RTF: the page header group; HTML: the list's title
    uint8_t textFile = 0;  // semicolon-separated text
};

struct ListRequest {
    int16_t kind = kListStatistics;  // ListKind
    int32_t fontSize = 12;           // body points, 8..16

    // The report form's boxes.
    uint8_t timeProtest = 0;    // result lists: print and protest time rows at the end
    uint8_t email = 0;          // settlement: clubs' e-mail addresses to a file; labels: clubs without one
    uint8_t resultFields = 0;   // roll call with result fields
    uint8_t completeFinal = 0;  // final lists with all participants
    uint8_t splitList = 0;      // entry list and settlement files: one file per club
    int32_t seriesPerSheet = 0; // graphic shooting cards
    uint8_t aimingMark = 0;     // graphic shooting cards: black aiming mark
    int32_t commonList = 0;     // class lists: one list for all chosen classes
    ListFileOptions file;

    // 1 while the settlement makes its prize lists.
    uint16_t selection = 0;

    // 1 = FindShooterRow admits only entries of the class and letter filters.
    int32_t filtersActive = 0;
    // Event number; a team competition is 0x100 | its number.
    uint16_t event = 0;
    uint16_t variant = 0;       // 0 all rows, 1 the first ten, 2 the first twenty, ...
    uint16_t lastTarget = 0;
    uint16_t firstTarget = 0;
    uint16_t lastRelay = 0;
    uint16_t firstRelay = 0;
    int32_t treeSelection = 0;  // the navigation's day, or the chosen team competition
    std::vector<uint8_t> classFilter;
    std::string letterFilter;   // every letter must occur in the entry's category text (31 at most)
    // The entries chosen in the report form's list: card series numbers or
    // 0x100 | sub-event for the class lists, prize list numbers for the
    // result lists.
    std::vector<int32_t> seriesFilter;

    // Full path of the list file of output 3, as the caller made it.
    std::string fileName;
};

// The letter filter's room.
inline constexpr size_t kLetterFilterSize = 31;
// Longest list file name taken; a longer one is cut.
inline constexpr size_t kMaxListFileName = 499;

}  // namespace results
