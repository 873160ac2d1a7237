#pragma once
// The fonts of the pictures, kept by FontKey. A font is made only when a
// box's font is fitted and reused by its key from then on. The cache holds
// at most 200 keys; when it is full the key used least recently goes, so on
// a display that runs for days no box ever loses its font.
#include <cstdint>
#include <vector>

class FontCache {
public:
    static constexpr int kSlots = 200;

    // Whether the key is cached; a hit counts as a use.
    bool Find(int key);
    // Stores the key; false when it was cached already (it then counts as
    // used). A full cache drops its least recently used key first.
    bool Add(int key);
    int Count() const { return static_cast<int>(m_slots.size()); }
    bool Contains(int key) const;
    void Clear() { m_slots.clear(); }

private:
    struct Slot {
        int key;
        uint64_t used;
    };
    Slot* Lookup(int key);

    std::vector<Slot> m_slots;
    uint64_t m_clock = 0;
};
