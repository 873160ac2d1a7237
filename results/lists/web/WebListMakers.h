#pragma once
// The list producers the web pages are made by, as the page writer calls
// them. Each producer belongs to the list area that makes that list (relay
// lists and roll calls, result lists, team competitions, card pictures); it
// is linked in here where it is built. A maker left empty makes no list, and
// the page that needed it says the list is empty.
#include <functional>

namespace results {

class CDataList;

struct WebListMakers {
    // The request's relay range of its event, as a relay list or a roll
    // call, for a web page.
    std::function<void(CDataList&)> relayList;
    std::function<void(CDataList&)> rollCall;
    // The result list of the request's kind (by class or combined), its
    // series and class filters set, made for a web page: the fixed layout
    // (for the rule sets that print it) or the coded one; prize 1 with the
    // prize column.
    std::function<void(CDataList&, int kind, int prize)> fixedResultList;
    std::function<void(CDataList&, int kind, int prize)> codedResultList;
    // The list of the team competition in the request's tree selection,
    // without prize texts.
    std::function<void(CDataList&)> teamList;
    // PNG shooting cards of the request's relay and target range into the
    // framed site's data folder.
    std::function<void(CDataList&)> cardPictures;
};

// The program's makers, filled once at start-up by the list areas.
WebListMakers& WebMakers();

}  // namespace results
