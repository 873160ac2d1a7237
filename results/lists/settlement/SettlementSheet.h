#pragma once
// The settlement sheet: a page per club of the shooters the competition
// report's result lists printed, in the order of their first shooter's
// start number, each shooter once with a line per prize, and what the club
// is paid: one payment row per page. Pages go by club number: two clubs
// that share a name are two clubs, each with its own page and money. With
// the e-mail option the registered clubs' addresses go to .\email.txt.
#include "results/lists/ListProducer.h"
#include "results/lists/settlement/SettlementBooks.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace results {

class SettlementSheet : ListProducer {
public:
    SettlementSheet(CDataList& list, SettlementBooks& books) : ListProducer(list), m_books(books) {}
    // The pages follow whatever the report holds already.
    void Make();

private:
    void SetupPage(int d);
    // One shooter's block on a club's page.
    void AddShooter(size_t j, int d, size_t payment, bool firstOnPage, int32_t pageClub,
                    const std::string& pageClubName);

    SettlementBooks& m_books;
};

}  // namespace results
