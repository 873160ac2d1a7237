#pragma once
// The print page's options of one event, as BVRemote.BVC keeps them, and
// the ranges of cards a print takes.
#include "remote/settings/RemoteSettings.h"

#include <string>
#include <utility>
#include <vector>

namespace PrintItems {
inline constexpr int kSection = 32;
// Keys of (32, event, key).
enum Key : int {
    kBlack = 1,
    kPractice = 2,
    kNames = 3,
    kKind = 4,
    kStartSum = 5,
    kMargin = 532,
    kSeriesPerPage = 533,
    kFirstLane = 534,
    kLastLane = 535,
    kFirstRelay = 536,
    kLastRelay = 537,
    kFlags = 700,
};
inline constexpr const char* kDefaultFlags = "111111111111";
}  // namespace PrintItems

struct PrintOptions {
    enum Kind { kCards = 0, kLog = 1, kList = 2 };
    static constexpr int kMaxLane = 100;

    int margin = 15;         // mm
    int seriesPerPage = 12;
    bool black = true;       // black aiming mark
    bool practice = true;    // practice series on graphical cards
    bool names = true;
    int kind = kCards;
    bool startSum = true;    // the running total starts at the start score
    int firstLane = 1;
    int lastLane = 10;
    int firstRelay = 1;      // or start number
    int lastRelay = 1;
    // '0' or '1': complete target, then zoom levels 1 to 10; a twelfth
    // character is kept as it was read.
    std::string flags = PrintItems::kDefaultFlags;
    bool oneToOne = false;   // not stored: off at every start

    // The stored options of event e, with their defaults.
    static PrintOptions Read(RemoteSettings& settings, int e);
    // What the page shows when the competition's settings cannot be read.
    static PrintOptions Unreadable();

    bool Flag(int i) const { return i < static_cast<int>(flags.size()) && flags[static_cast<size_t>(i)] != '0'; }
    void SetFlag(int i, bool on);

    // Writes one option of event e (when the file is writable).
    void Store(RemoteSettings& settings, int e, PrintItems::Key key) const;
    // Writes every stored option of event e.
    void StoreAll(RemoteSettings& settings, int e) const;

    // The options as a print uses them: series per page 1..20, margin
    // 0..99, lanes 1..100, relays from 0.
    PrintOptions Clamped() const;
};

// The (relay, lane) keys of the cards a print takes, in print order: relay
// by relay, lane by lane; with start numbers one key (n, 0) per start number.
std::vector<std::pair<int, int>> PrintKeys(bool startNumbers, int firstRelay, int lastRelay, int firstLane, int lastLane);
