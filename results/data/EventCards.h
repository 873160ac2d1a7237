#pragma once
// The card resolver of the program's event objects: an event answers for
// its own files and asks the competition for the others.
#include "results/values/CardEvents.h"

#include <functional>

namespace results {

class CDataEvent;

class EventCards : public CardEvents {
public:
    using Lookup = std::function<CDataEvent*(int event)>;

    explicit EventCards(CDataEvent& owner) : m_owner(owner) {}
    void Bind(CBVConfig* comp, Lookup others)
    {
        m_comp = comp;
        m_others = std::move(others);
    }

    CBVConfig* Comp() override { return m_comp; }
    CBVConfig* Settings(int event) override;
    CBVFileEx* Results(int event) override;
    CardEntries* Entries(int event) override;

private:
    CDataEvent* Find(int event);

    CDataEvent& m_owner;
    CBVConfig* m_comp = nullptr;
    Lookup m_others;
};

}  // namespace results
