#pragma once
// The list pages of the web folders: per event its relay pages (the relay
// list, or the roll call before any result), the card pictures of its
// relays, its class pages and combined pages, and the team competitions'
// pages; each made by its list's producer and written as an HTML list file,
// or as an empty page that says so. The relays whose web flag is up (or
// every relay when the site is rebuilt) are made again. Then, when the site
// is sent, the upload.
#include "results/lists/ListProducer.h"

namespace results {

class WebListPages : ListProducer {
public:
    explicit WebListPages(CDataList& list) : ListProducer(list) {}
    // The pages of event `number`, or of every team competition when bit
    // 0x80 is set; aweb 1 for the slide show, 0 for the framed site; prize 1
    // puts the prize column in the result lists. The request comes back as
    // it was.
    void Make(int number, int aweb, int prize);

private:
    // True when a card of the relay index, on a target of the request's
    // event, holds a shot.
    bool RelayHasShots(int relayIndex);
};

}  // namespace results
