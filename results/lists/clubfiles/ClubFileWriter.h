#pragma once
// The per-club files of the split-list option (ClubFiles.h): each
// definition of the report as one RTF or HTML file (as the file options
// say) in the competition's Print folder, named after its club, with a link
// page to them all: Deltagere.htm for the entry list (the request's kind),
// Oppgjorlink.htm for the settlement. A file of an earlier run spelled in
// another case is removed first, so every link finds its file on a server
// that tells cases apart.
#include "results/lists/ListProducer.h"

namespace results {

class ClubFileWriter : ListProducer {
public:
    explicit ClubFileWriter(CDataList& list) : ListProducer(list) {}
    // Writes the report's definitions and empties the report; 0, or -1 when
    // a file could not be written (reported; the report stays). The list
    // object's clubFilesWritten names the files written, the link page first.
    int Write();
};

}  // namespace results
