#include "display/layout/FontCache.h"

#include <algorithm>

#include "display/layout/GraphicGeometry.h"

FontCache::Slot* FontCache::Lookup(int key)
{
    for (Slot& s : m_slots)
        if (s.key == key)
            return &s;
    return nullptr;
}

bool FontCache::Contains(int key) const
{
    return std::any_of(m_slots.begin(), m_slots.end(), [key](const Slot& s) { return s.key == key; });
}

bool FontCache::Find(int key)
{
    const int h = Graphic::FontHeightOf(key);
    if (h < Graphic::kMinFontHeight || h > Graphic::kMaxFontHeight)
        return false;
    Slot* s = Lookup(key);
    if (s == nullptr)
        return false;
    s->used = ++m_clock;
    return true;
}

bool FontCache::Add(int key)
{
    if (Slot* s = Lookup(key)) {
        s->used = ++m_clock;
        return false;
    }
    if (static_cast<int>(m_slots.size()) >= kSlots) {
        auto oldest = std::min_element(m_slots.begin(), m_slots.end(),
                                       [](const Slot& a, const Slot& b) { return a.used < b.used; });
        m_slots.erase(oldest);
    }
    m_slots.push_back({key, ++m_clock});
    return true;
}
