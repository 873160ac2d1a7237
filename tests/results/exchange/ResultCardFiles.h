#pragma once
// BVRes's result cards of one event, read straight from the competition's
// files as the screens read them, beside the programs a test runs on them.
#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"
#include "results/data/DataFileOpen.h"
#include "results/values/CardEvents.h"
#include "results/values/DataRes.h"

#include <string>

namespace bvtest {

class ResultCardFiles : public results::CardEvents {
public:
    // folder: the competition's, ".\res\Comp1\" say.
    ResultCardFiles(const std::string& folder, int event)
    {
        comp.Open(folder + "Comp.bvc", 0);
        settings.Open(folder + "Event" + std::to_string(event) + ".bvc", 0);
        results.Open(folder + "Res" + std::to_string(event) + ".bvd", 2008, 2, 0, results::kDataFileOptions);
        results.CacheVerify(1);
        card.SetFile(&results, event);
        card.LoadEvent(event);
    }

    CBVConfig* Comp() override { return &comp; }
    CBVConfig* Settings(int) override { return &settings; }
    CBVFileEx* Results(int) override { return &results; }
    results::CDataReg* Entries(int) override { return nullptr; }

    CBVConfig comp, settings;
    CBVFileEx results;
    results::CDataRes card{this};
};

}  // namespace bvtest
