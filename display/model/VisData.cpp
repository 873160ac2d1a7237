#include "display/model/VisData.h"

#include <cstring>

CVisPicture& CVisData::AddPicture(int place)
{
    pictures.push_back(std::make_unique<CVisPicture>(place));
    return *pictures.back();
}

void CVisData::RemoveAllPictures()
{
    current = nullptr;
    pictures.clear();
}

CVisEvent& CVisData::AddEvent(int number)
{
    events.push_back(std::make_unique<CVisEvent>(number));
    return *events.back();
}

void CVisData::RemoveAllEvents()
{
    // Targets point at events; they go with the pictures' next load.
    for (auto& p : pictures)
        for (auto& t : p->targets)
            t->event = nullptr;
    events.clear();
}

CVisEvent* CVisData::FindEvent(int number)
{
    for (auto& e : events)
        if (e->number == number)
            return e.get();
    return nullptr;
}

void CVisData::SetError(const char* key)
{
    std::strncpy(errorKey, key, sizeof errorKey - 1);
    errorKey[sizeof errorKey - 1] = 0;
}

int CVisData::IndexOf(const CVisPicture* picture) const
{
    for (size_t i = 0; i < pictures.size(); ++i)
        if (pictures[i].get() == picture)
            return static_cast<int>(i);
    return -1;
}
