#pragma once
// The pages of the web folders written as fixed text: the slide show's
// start and frame pages (.\AWeb\Startpage.htm and data\Framepage<n>.htm,
// each showing a list page for its seconds and leading to the next), and
// the framed site's start frame, blank page, banner and contents (.\PWeb).
// Every page is replaced whole, since a browser may read it while it is
// written; the list pages themselves are WebListPages.h's.
#include "results/lists/ListProducer.h"

#include <cstdint>

namespace results {

class WebSitePages : ListProducer {
public:
    explicit WebSitePages(CDataList& list) : ListProducer(list) {}
    // Every slide-show page, pageCount of them in the cycle; the pages no
    // longer in the show lead back to its start.
    void MakeFramePages(uint16_t pageCount);
    // The framed site's start frame, blank page, banner and contents.
    void MakeIndex();
};

}  // namespace results
