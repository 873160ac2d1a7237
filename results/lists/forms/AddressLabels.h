#pragma once
// The address labels (list kind 4): a label for every registered club with
// a shooter entered in an event (with the e-mail option only for clubs
// without an e-mail address), for the post. The rows are kept in definition
// 1 of the report like any list's, but the labels go straight onto label
// sheets (LabelSheet.h, SheetPrint.h): no page frame, no preview, no file,
// whatever output was asked for.
#include "results/lists/ListProducer.h"

namespace results {

class AddressLabels : ListProducer {
public:
    explicit AddressLabels(CDataList& list) : ListProducer(list) {}
    void Make();

private:
    void SetupPage(int d);
    // The labels of definition d, on the list object's printTarget when set.
    void Print(int d);
};

}  // namespace results
