#pragma once
// What every producer of a list works with: the list object it makes its
// list in (DataList.h), and the parts of it that every producer reaches for,
// the competition, the report and the request. A producer keeps its own
// working state beside these and lives for one list; what it leaves for the
// caller it leaves in the list object (rows, report, files written).
#include "results/lists/DataList.h"

namespace results {

class ListProducer {
protected:
    explicit ListProducer(CDataList& list)
        : m_list(list), m_comp(list.Competition()), m_report(list.report), m_request(list.request)
    {
    }

    CDataList& m_list;
    CCompetition& m_comp;
    CReport& m_report;
    ListRequest& m_request;
};

}  // namespace results
