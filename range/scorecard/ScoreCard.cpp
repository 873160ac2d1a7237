#include "range/scorecard/ScoreCard.h"

#include "foundation/text/FieldText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint16_t kFlagShown = CDataComp::kFlagShown;

int Fired(const ShotRecord& shot) { return shot.series; }

}  // namespace

ScoreCard::ScoreCard()
{
    CDataComp::ClearCard(card);
    CDataComp::ClearName(name);
    CDataComp::ClearShots(shots);
    m_order.fill(CDataComp::kOrderEnd);
}

void ScoreCard::Read(CDataComp& comp)
{
    CBVFileEx& cards = comp.CardFile();
    cards.CacheVerify(1);
    comp.NameFile().CacheVerify(1);
    CDataComp::ClearCard(card);
    card.relay = static_cast<int16_t>(relay);
    card.lane = static_cast<int16_t>(lane);
    if (!cards.IsOpen() || cards.ReadRecKey(&card) != 0) {
        CDataComp::ClearCard(card);
        card.relay = static_cast<int16_t>(relay);
        card.lane = static_cast<int16_t>(lane);
    }
    CDataComp::ClearName(name);
    if (card.nameRec != 0)
        comp.ReadName(card, name);
    CDataComp::ClearShots(shots);
    if (card.shotRec != 0 && comp.ShotFile().ReadRecDirect(card.shotRec, &shots) != 0)
        CDataComp::ClearShots(shots);
}

void ScoreCard::List(bool resort, bool keepWork)
{
    // The officer's unsaved choices, by slot, for the shots still listed.
    std::array<bool, CDataComp::kSlots> kept{};
    if (keepWork)
        for (int slot : m_rows)
            kept[static_cast<size_t>(slot)] = m_working[static_cast<size_t>(slot)] != m_asRead[static_cast<size_t>(slot)];

    shownCounter = shots.updateCounter;
    CDataComp::BuildShotOrder(shots, m_order.data(), resort);
    m_rows.clear();
    for (int series = 1; series <= CDataComp::kMaxSeries; ++series) {
        for (int k = 0; k < CDataComp::kSlots && m_order[static_cast<size_t>(k)] != CDataComp::kOrderEnd; ++k) {
            const int slot = m_order[static_cast<size_t>(k)];
            const ShotRecord& shot = shots.shots[slot];
            if (Fired(shot) != series)
                continue;
            const auto s = static_cast<size_t>(slot);
            m_asRead[s] = shot.countingSeries;
            if (!kept[s])
                m_working[s] = shot.countingSeries;
            m_rows.push_back(slot);
        }
    }
}

void ScoreCard::PickMatchShots(Pick pick, int series, int count, bool turning)
{
    std::vector<int> fired;
    for (int row = 0; row < RowCount(); ++row)
        if (Fired(Shot(row)) == series)
            fired.push_back(row);
    auto give = [&](int row, bool in) {
        m_working[static_cast<size_t>(Slot(row))] = in ? static_cast<uint8_t>(series) : kOut;
    };
    switch (pick) {
    case Pick::First:
    case Pick::Last: {
        if (pick == Pick::Last)
            std::reverse(fired.begin(), fired.end());
        int n = 0;
        for (int row : fired)
            give(row, n++ < count);
        break;
    }
    case Pick::Best:
    case Pick::Lowest: {
        // Ranked by what each shot counts, so a starred zero (stored as
        // 1200 and above) never beats a ten; of equal values the earlier
        // row goes first.
        std::vector<std::pair<int, int>> ranked;  // counted value, row
        for (int row : fired)
            ranked.emplace_back(CountedValue(row, turning), row);
        std::stable_sort(ranked.begin(), ranked.end(), [&](const auto& a, const auto& b) {
            return pick == Pick::Best ? a.first > b.first : a.first < b.first;
        });
        for (size_t i = 0; i < ranked.size(); ++i)
            give(ranked[i].second, static_cast<int>(i) < count);
        break;
    }
    case Pick::None:
        for (int row : fired)
            give(row, false);
        break;
    }
    matchChanged = true;
}

void ScoreCard::ToggleRow(int row, int series)
{
    if (row < 0 || row >= RowCount())
        return;
    uint8_t& c = m_working[static_cast<size_t>(Slot(row))];
    c = c == series ? kOut : static_cast<uint8_t>(series);
    matchChanged = true;
}

std::vector<int> ScoreCard::RowsCountingIn(int series) const
{
    std::vector<int> rows;
    for (int row = 0; row < RowCount(); ++row)
        if (Working(row) == series)
            rows.push_back(row);
    return rows;
}

void ScoreCard::ReviseMatchChanged()
{
    if (!matchChanged)
        return;
    matchChanged = false;
    for (int row = 0; row < RowCount(); ++row)
        if (Working(row) != AsRead(row))
            matchChanged = true;
}

int ScoreCard::CountedValue(int row, bool turning) const
{
    const ShotRecord& shot = Shot(row);
    if (turning && (shot.flags & CDataComp::kFlagMarked))
        return 0;
    return CDataComp::CountedValue(shot.value, card.valueSystem);
}

CardSums ScoreCard::Sums(int series, const std::function<int(int)>& seriesShots, bool withStartScore,
                         bool turning) const
{
    CardSums sums;
    if (withStartScore)
        sums.totalSum = name.startScore;
    for (int row = 0; row < RowCount(); ++row) {
        const int c = Working(row);
        if (c == kUndefined)
            continue;
        const int v = CountedValue(row, turning);
        if (c <= CDataComp::kMaxSeries && seriesShots(c) != 0) {
            ++sums.totalCount;
            sums.totalSum += v;
        }
        if (c == series) {
            ++sums.seriesCount;
            sums.seriesSum += v;
        }
    }
    return sums;
}

int ScoreCard::StoreState(CDataComp& comp, uint8_t state)
{
    int rc = comp.StoreResultState(relay, lane, state);
    if (rc == 0)
        card.resultState = state;
    return rc;
}

int32_t ScoreCard::StoreShots(CDataComp& comp, const std::string& comment)
{
    std::string text = comment.substr(0, kCommentLimit);
    auto change = [&](ShotListRecord& list) {
        for (int slot : m_rows)
            list.shots[slot].countingSeries = m_working[static_cast<size_t>(slot)];
        std::memset(list.comment, 0, sizeof list.comment);
        std::memcpy(list.comment, text.data(), text.size());
    };
    int32_t counter = comp.ChangeShots(relay, lane, change);
    if (counter != 0) {
        change(shots);
        shots.updateCounter = counter;
        for (int slot : m_rows)
            m_asRead[static_cast<size_t>(slot)] = m_working[static_cast<size_t>(slot)];
    }
    return counter;
}

// ---- Clipboard

void CardClipboard::Clear() { slotIndexes.fill(CDataComp::kOrderEnd); }

int CardClipboard::Count() const
{
    int n = 0;
    while (n < CDataComp::kSlots && slotIndexes[static_cast<size_t>(n)] != CDataComp::kOrderEnd)
        ++n;
    return n;
}

void CardClipboard::Copy(const ScoreCard& card, const std::vector<int>& rows)
{
    Clear();
    copy = card.shots;
    size_t n = 0;
    for (int row : rows)
        if (row >= 0 && row < card.RowCount() && n < slotIndexes.size())
            slotIndexes[n++] = static_cast<uint8_t>(card.Slot(row));
}

int CardClipboard::Paste(CDataComp& comp, int relay, int lane)
{
    int stored = 0;
    for (int k = 0; k < Count(); ++k) {
        ShotRecord shot = PastedShot(copy.shots[slotIndexes[static_cast<size_t>(k)]]);
        if (comp.AddShot(relay, lane, shot, nullptr, 0, 0) != 0)
            ++stored;
    }
    Clear();
    return stored;
}

// ---- Texts

std::string SumText(int sum, int valueSystem, std::string_view separator)
{
    char text[48];
    const std::string sep(separator);
    if (valueSystem == 6)
        std::snprintf(text, sizeof text, "%d%s%02d", sum / 100, sep.c_str(), sum % 100);
    else if (CDataComp::HasDecimals(valueSystem))
        std::snprintf(text, sizeof text, "%d%s%d", sum / 100, sep.c_str(), (sum / 10) % 10);
    else
        std::snprintf(text, sizeof text, "%d", sum / 100);
    return text;
}

std::string CommentForField(std::string_view editText)
{
    std::string field;
    for (size_t i = 0; i < editText.size(); ++i) {
        char c = editText[i];
        if (c == '\r')
            continue;  // lines end in LF in the edit; CR LF is the field's
        std::string piece = c == '\n' ? std::string("\r\n") : std::string(1, c);
        if (field.size() + piece.size() > static_cast<size_t>(ScoreCard::kCommentLimit))
            break;
        field += piece;
    }
    return field;
}

std::string CommentForEdit(const ShotListRecord& list)
{
    std::string field = FieldText(list.comment, sizeof list.comment);
    std::string edit;
    for (char c : field)
        if (c != '\r')
            edit += c;
    return edit;
}

// ---- Shots made here

ShotRecord ManualShot(int value, int series, int position, int lane, int markKind, const platform::LocalTime& now)
{
    ShotRecord shot;
    std::memset(&shot, 0, sizeof shot);
    shot.state = CDataComp::kSlotNoPosition;
    shot.flags = CDataComp::kFlagNoCoordinates | (MarkingAllowed(markKind) ? kFlagShown : 0);
    shot.x = -1500000;
    shot.y = -1500000;
    shot.radius = 2121320;  // sqrt(2 x 1,500,000^2), cut
    shot.value = static_cast<int16_t>(value);
    shot.temperature = 2000;
    shot.displayPos = static_cast<uint8_t>(position);
    shot.century = static_cast<uint8_t>(now.year / 100);
    shot.year = static_cast<uint8_t>(now.year % 100);
    shot.month = static_cast<uint8_t>(now.month);
    shot.day = static_cast<uint8_t>(now.day);
    shot.hour = static_cast<uint8_t>(now.hour);
    shot.minute = static_cast<uint8_t>(now.minute);
    shot.second = static_cast<uint8_t>(now.second);
    shot.hundredths = static_cast<uint8_t>(now.millisecond / 10);
    shot.series = static_cast<uint8_t>(series);
    shot.sensorA = shot.sensorB = shot.sensorC = 32;
    shot.sensorD = 255;
    shot.data41 = static_cast<uint8_t>(lane);
    return shot;
}

ShotRecord PastedShot(const ShotRecord& copied)
{
    ShotRecord shot = copied;
    shot.flags |= CDataComp::kFlagCopied;
    shot.shotNumber = 0;
    shot.displayPos = 0;
    shot.countingSeries = 0;
    shot.state = CDataComp::kSlotNoPosition;
    return shot;
}

bool CorrectShot(ShotRecord& shot, const ShotEntry& entered, int markKind)
{
    const bool copied = (shot.flags & CDataComp::kFlagCopied) != 0;
    const int value = copied ? shot.value : entered.value;
    const int series = shot.series & 0x7F;
    if (value == shot.value && entered.series == series && entered.position == shot.displayPos)
        return false;
    // A shot moved to another series counts nowhere until the store or the
    // officer decides again.
    if (entered.series != series)
        shot.countingSeries = ScoreCard::kUndefined;
    shot.series = static_cast<uint8_t>(entered.series);
    shot.value = static_cast<int16_t>(value);
    shot.displayPos = static_cast<uint8_t>(entered.position);
    shot.shotNumber = 0;
    shot.state = CDataComp::kSlotNoPosition;
    if (MarkingAllowed(markKind))
        shot.flags |= kFlagShown;
    return true;
}
