#include "remote/print/RangeCards.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/text/FieldText.h"
#include "platform/files/FileSystem.h"

bool RangeCards::Open(const std::string& folder, int comp, const std::string& decimalSign)
{
    m_folder = WithBackslash(folder);
    if (comp <= 0 || !platform::FileExists(CompSettings::FileOf(m_folder, comp)))
        return false;
    m_data.SetBasePath(m_folder);
    m_data.decimalSeparator = decimalSign;
    m_data.Open(comp, 0);
    m_range.Open(m_folder + "BVLeder.BVC", 0);
    m_programs.SetBasePath(m_folder);
    m_programs.OpenFiles();
    m_programs.SetCurrentProgram(Program());
    m_data.SetCurrentProgram(Program());
    return m_data.CardFile().IsOpen();
}

bool RangeCards::Read(int relay, int lane, Card& out)
{
    CDataComp::ClearCard(out.card);
    CDataComp::ClearName(out.name);
    CDataComp::ClearShots(out.shots);
    out.card.relay = static_cast<decltype(out.card.relay)>(relay);
    // A start number's card is kept under lane 0; the look-up wants a lane.
    out.card.lane = static_cast<decltype(out.card.lane)>(lane == 0 ? 1 : lane);
    if (m_data.GetCard(out.card, 0) < 0)
        return false;
    out.named = out.card.nameRec != 0 && m_data.ReadName(out.card, out.name) == 0;
    if (out.card.shotRec != 0 && m_data.ShotFile().ReadRecDirect(out.card.shotRec, &out.shots) != 0)
        CDataComp::ClearShots(out.shots);
    return true;
}

std::vector<std::pair<int, int>> RangeCards::Keys(const PrintOptions& options)
{
    PrintOptions o = options.Clamped();
    std::vector<std::pair<int, int>> found;
    Card card;
    for (auto key : PrintKeys(StartNumbers(), o.firstRelay, o.lastRelay, o.firstLane, o.lastLane))
        if (Read(key.first, key.second, card))
            found.push_back(key);
    return found;
}

CardFill::Options RangeCards::FillOptions(const PrintOptions& options)
{
    CardFill::Options o;
    o.names = options.names;
    // A list of the cards shows the match only.
    o.practice = options.kind == PrintOptions::kList ? false : options.practice;
    o.trueSize = options.oneToOne;
    o.equipment = Equipment();
    o.program = Program();
    CBVConfig& comp = m_data.CompConfig();
    o.startScore = options.startSum && ReadItem(comp, CompSettings::kStartScore) != 0;
    o.actualDistance = comp.ReadInt(2, 1, 5, 0);
    o.simulatedDistance = comp.ReadInt(2, 1, 6, 0);
    return o;
}

void RangeCards::FillFront(const SecondCompetition& second, const PrintOptions& options, int startNumber,
                           PrintCard& out)
{
    RangeCards front;
    if (!second.Named() || !front.Open(second.folder, second.comp) || !front.StartNumbers())
        return;
    Card card;
    if (!front.Read(startNumber, 0, card) || card.card.shotRec == 0)
        return;
    CardFill::Options o = FillOptions(options);
    // The front series are named and counted by the printed range's
    // programs under the second competition's program number.
    o.program = front.Program();
    o.equipment = front.Equipment();
    o.practice = options.practice;
    o.storedOrder = true;
    o.slotLimit = 10;
    bool cut = false;
    CardFill::FillSeries(card.card, card.shots, m_programs, m_types, o, out, &cut);
    if (cut)
        BV_LOG(m_log, 50, "Card %d: second competition fills the card, shots left out", startNumber);
}

std::vector<std::pair<int, int>> RangeCards::FillCards(const PrintOptions& options, const SecondCompetition& second,
                                                       const std::function<PrintCard*()>& add)
{
    std::vector<std::pair<int, int>> filled;
    CardFill::Options o = FillOptions(options);
    for (auto key : Keys(options)) {
        Card card;
        if (!Read(key.first, key.second, card))
            continue;
        PrintCard* out = add();
        if (out == nullptr)
            break;
        // The header and start score first, then the front series, then the card's own.
        ShotListRecord none;
        CDataComp::ClearShots(none);
        CardFill::Fill(card.card, card.named ? &card.name : nullptr, none, m_programs, m_types, o, *out);
        out->SetComment(FieldText(card.shots.comment, sizeof card.shots.comment));
        if (StartNumbers())
            FillFront(second, options, key.first, *out);
        bool cut = false;
        CardFill::FillSeries(card.card, card.shots, m_programs, m_types, o, *out, &cut);
        if (cut)
            BV_LOG(m_log, 50, "Card %d/%d: more shots than the card holds, shots left out", key.first, key.second);
        filled.push_back(key);
    }
    return filled;
}
