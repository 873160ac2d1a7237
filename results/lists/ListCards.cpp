#include "results/lists/ListCards.h"

#include "results/data/Competition.h"

namespace results {

CBVConfig* ListCards::Comp() { return m_comp.Comp().IsOpen() ? &m_comp.Comp() : nullptr; }

CBVConfig* ListCards::Settings(int event)
{
    CDataEvent* e = m_comp.GetEvent(event);
    return e ? &e->Settings() : nullptr;
}

CBVFileEx* ListCards::Results(int event)
{
    CDataEvent* e = m_comp.GetEvent(event);
    return e ? &e->ResultFile() : nullptr;
}

CardEntries* ListCards::Entries(int event)
{
    CDataEvent* e = m_comp.GetEvent(event);
    return e ? &e->Entries() : nullptr;
}

}  // namespace results
