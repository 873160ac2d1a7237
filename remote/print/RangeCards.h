#pragma once
// The cards of one competition of a range folder, read for printing: the
// competition's files, the range settings and the shooting programs are
// opened read-only, so that printing never makes or changes anything in a
// range folder that the range control works in.
#include "remote/print/PrintOptions.h"
#include "remote/settings/RemoteSettings.h"

#include "foundation/cards/CardFill.h"
#include "foundation/cards/PrintCard.h"
#include "foundation/comp/DataComp.h"
#include "foundation/files/BVLog.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/targets/TargetTypes.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class RangeCards {
public:
    // Opens competition comp of the folder (ending in a backslash). False
    // when its cards cannot be read.
    bool Open(const std::string& folder, int comp, const std::string& decimalSign = ",");
    bool StartNumbers() const { return m_data.StartNumberMode(); }

    // The card of a key with its name (when it has one) and shots (cleared
    // when it has none or they cannot be read); false when there is no card.
    struct Card {
        CardRecord card{};
        bool named = false;
        NameRecord name{};
        ShotListRecord shots{};
    };
    bool Read(int relay, int lane, Card& out);
    // The keys of the options' ranges that have a card, in print order.
    std::vector<std::pair<int, int>> Keys(const PrintOptions& options);

    // Fills one printer card per key found, each through `add` (the
    // printer's AddCard), for graphical cards and lists. With start numbers
    // the second competition's series of the same start number come first.
    // The keys filled.
    std::vector<std::pair<int, int>> FillCards(const PrintOptions& options, const SecondCompetition& second,
                                               const std::function<PrintCard*()>& add);

    // The options of the card filler this competition and the page's options give.
    CardFill::Options FillOptions(const PrintOptions& options);

    CDataComp& Data() { return m_data; }
    CBVConfig& Range() { return m_range; }
    CProgramStore& Programs() { return m_programs; }
    const CTargetTypes& Types() const { return m_types; }
    int Program() { return ReadItem(m_data.CompConfig(), ConfigIntItem{2, 1, 15, 0}); }
    int Equipment() { return ReadItem(m_range, ConfigIntItem{1, 1, 1, 0}); }

private:
    // Puts the series of the second competition's card of the start number in front.
    void FillFront(const SecondCompetition& second, const PrintOptions& options, int startNumber, PrintCard& out);

    std::string m_folder;
    CDataComp m_data;
    CBVConfig m_range;  // BVLeder.BVC of the folder
    CProgramStore m_programs;
    CTargetTypes m_types;
    CBVLog m_log;
};
