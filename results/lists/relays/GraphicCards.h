#pragma once
// The graphic shooting cards (list kind 9): one card per registered shooter
// of the request's relays and targets, drawn by the kit's shooting-card
// printer on paper (the list object's printTarget when set, else the
// printer the print dialog chooses) or saved as PNG pictures into the
// competition's Print folder, or with web into .\PWeb\data. The one producer
// that draws: it is declared here and made in relays/ui/GraphicCards.cpp,
// the lists' only file that includes the card printer; what goes on a card
// is in CardPictures.h.
#include "results/lists/ListProducer.h"

namespace results {

class GraphicCards : ListProducer {
public:
    explicit GraphicCards(CDataList& list) : ListProducer(list) {}
    // The number of cards made; the list object's picturesWritten names the
    // pictures written (system paths).
    int Print(bool pictures, bool web);
};

}  // namespace results
