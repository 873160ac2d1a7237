#include "results/data/EventCards.h"

#include "results/data/DataEvent.h"

namespace results {

CDataEvent* EventCards::Find(int event)
{
    if (event == m_owner.Number())
        return &m_owner;
    return m_others ? m_others(event) : nullptr;
}

CBVConfig* EventCards::Settings(int event)
{
    CDataEvent* e = Find(event);
    return e ? &e->Settings() : nullptr;
}

CBVFileEx* EventCards::Results(int event)
{
    CDataEvent* e = Find(event);
    return e ? &e->ResultFile() : nullptr;
}

CardEntries* EventCards::Entries(int event)
{
    CDataEvent* e = Find(event);
    return e ? &e->Entries() : nullptr;
}

}  // namespace results
