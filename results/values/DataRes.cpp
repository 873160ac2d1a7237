#include "results/values/DataRes.h"

#include "foundation/files/BVLog.h"
#include "foundation/files/ConfigItem.h"
#include "results/values/CardItems.h"
#include "results/values/ValueSystems.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace results {
namespace {

constexpr uint8_t kNoSlot = 0xFF;
constexpr int kLastSlot = kCardSlots - 1;
constexpr uint8_t kStartScoreCode = 0xFF;

bool IsLink(uint8_t code) { return code != kStartScoreCode && (code & 0x80) != 0; }

}  // namespace

CDataRes::CDataRes(CardEvents* events) : m_record(EmptyCard(0, 0)), m_events(events) {}

CDataRes::~CDataRes() = default;

void CDataRes::SetFile(CBVFileEx* file, int event)
{
    m_event = static_cast<int16_t>(event);
    m_resFile = file ? file : (m_events ? m_events->Results(event) : nullptr);
}

void CDataRes::Clear()
{
    m_shots.clear();
    m_names.clear();
    m_rows.clear();
    m_relay = m_target = 0;
    m_lastSlot = 0;
    m_seriesDefined = 0;
}

void CDataRes::SetSeries(int series, int shots, int /*type*/, int final, const std::string& name)
{
    if (series < 1 || series > kMaxSeries) {
        Clear();
        return;
    }
    m_final = static_cast<uint16_t>(final);
    if (static_cast<int>(m_shots.size()) < series) {
        m_shots.resize(series, 0);
        m_names.resize(series);
        m_rows.resize(series, std::vector<uint8_t>(32, kNoSlot));
    }
    m_shots[series - 1] = static_cast<uint8_t>(std::clamp(shots, 0, kMaxSeriesShots));
    m_names[series - 1] = name.substr(0, 32);
    m_relay = m_target = 0;
    m_lastSlot = 0;
}

CBVConfig* CDataRes::SettingsOf(int event) { return m_events ? m_events->Settings(event) : nullptr; }

int CDataRes::OrgType()
{
    CBVConfig* comp = m_events ? m_events->Comp() : nullptr;
    return comp ? ::ReadItem(*comp, CompItems::kOrgType) : 0;
}

int CDataRes::LoadEvent(int event)
{
    CBVConfig* comp = m_events ? m_events->Comp() : nullptr;
    CBVConfig* settings = SettingsOf(event);
    const int n = comp ? std::clamp(::ReadItem(*comp, CompItems::EventSeries(event)), 0, kMaxSeries) : 0;
    // Final scoring (tenths) is the event's own item, in its Event%d.bvc.
    const int final = settings ? ::ReadItem(*settings, EventItems::Final(event)) : 0;
    Clear();
    m_types.assign(n + 1, 0);
    m_seriesDefined = n;
    for (int s = 1; s <= n; ++s) {
        int shots = 0, type = 0;
        std::string name;
        if (settings) {
            shots = ::ReadItem(*settings, EventItems::SeriesShots(s)) & 0xFF;
            name = ::ReadItem(*settings, EventItems::SeriesName(s));
            type = ::ReadItem(*settings, EventItems::SeriesType(s));
        }
        m_types[s] = static_cast<uint8_t>(type);
        SetSeries(s, shots, type, final, name);
    }
    return 0;
}

int CDataRes::LoadCard(int relay, int target)
{
    if (!m_resFile)
        BV_LOG(ProgramLog(), 90, "ResFile = NULL  i LoadCard !!!");
    m_record = EmptyCard(relay, target);
    m_relay = static_cast<int16_t>(relay);
    m_target = static_cast<int16_t>(target);
    for (auto& row : m_rows)
        std::fill(row.begin(), row.end(), kNoSlot);
    m_lastSlot = 0;
    const int rc = m_resFile ? m_resFile->ReadRecKey(&m_record) : -1;
    if (rc != 0) {
        m_record = EmptyCard(relay, target);
        return rc;
    }
    const int defined = std::min(m_seriesDefined ? m_seriesDefined : GetSeriesCount(), GetSeriesCount());
    int count[kMaxSeries + 1] = {};
    for (int i = 0; i < kCardSlots; ++i) {
        const int s = m_record.series[i];
        if (s < 1 || s > kMaxSeries || s > defined || count[s] >= kMaxSeriesShots)
            continue;
        m_rows[s - 1][count[s]++] = static_cast<uint8_t>(i);
        m_lastSlot = static_cast<uint8_t>(i);
    }
    return 0;
}

int CDataRes::SlotOf(int series, int shot) const
{
    if (series < 1 || series > GetSeriesCount() || shot < 1 || shot > kMaxSeriesShots)
        return -1;
    const uint8_t slot = m_rows[series - 1][shot - 1];
    return slot == kNoSlot ? -1 : slot;
}

int CDataRes::GetShot(int series, int shot, ShotEntry& entry) const
{
    entry = {static_cast<uint8_t>(series), static_cast<uint8_t>(shot), values::kNoShot, 0, 0, 0};
    const int slot = SlotOf(series, shot);
    if (slot < 0)
        return -1;
    entry.value = m_record.value[slot];
    entry.x = m_record.x[slot];
    entry.y = m_record.y[slot];
    entry.time = m_record.time[slot];
    return 0;
}

int CDataRes::GetShotValue(int series, int shot) const
{
    const int slot = SlotOf(series, shot);
    return slot < 0 ? values::kNoShot : m_record.value[slot];
}

int CDataRes::NewSlotsFor(int series, int shots) const
{
    int needed = 0;
    for (int k = 1; k <= shots; ++k)
        needed += SlotOf(series, k) < 0;
    return needed;
}

int CDataRes::TakeSlot(int series, int shot)
{
    uint8_t& own = m_rows[series - 1][shot - 1];
    if (own != kNoSlot)
        return own;
    m_lastSlot = static_cast<uint8_t>(std::min(m_lastSlot + 1, kLastSlot));
    own = m_lastSlot;
    return own;
}

template <typename Change>
int CDataRes::WriteLocked(Change change)
{
    if (!m_resFile) {
        BV_LOG(ProgramLog(), 90, "ResFile = NULL  i LoadCard !!!");
        return -1;
    }
    CBVFileEx& file = *m_resFile;
    if (file.CheckOpen() != 0)
        return -1;
    if (int rc = file.Lock(); rc != 0) {
        file.CheckClose(0);
        return rc;
    }
    // Under the lock the card is what the file holds now: another program's
    // shots on it stay, only ours are added.
    file.CacheVerify(0);
    LoadCard(m_relay, m_target);
    const ResultRecord before = m_record;
    int rc = change();
    // The same shots again (an import that reads every file after a
    // restart) are no change: no write, no flush, no news for the readers.
    if (rc != kCardFull && std::memcmp(&before, &m_record, sizeof before) != 0) {
        const int written = file.WriteRecKey(&m_record);
        if (written != 0)
            rc |= written;
    }
    if (int closed = file.CheckClose(0); closed != 0 && rc == 0)
        rc = closed;
    LoadCard(m_relay, m_target);
    return rc;
}

int CDataRes::SetShot(int relay, int target, int series, int shot, const std::string& text)
{
    if (!m_resFile) {
        BV_LOG(ProgramLog(), 90, "ResFile = NULL  i LoadCard !!!");
        return -1;
    }
    if (relay != m_relay || target != m_target)
        LoadCard(relay, target);
    if (series < 1 || series > GetSeriesCount() || shot < 1 || shot > kMaxSeriesShots)
        return kBadShot;
    CBVConfig* settings = SettingsOf(m_event);
    const int type = settings ? ::ReadItem(*settings, EventItems::SeriesType(series)) : GetSeriesType(series);
    const values::Entry entry = values::EnterShot(text, type, OrgType());
    return WriteLocked([&] {
        auto put = [&](int k, int value) {
            const int slot = TakeSlot(series, k);
            m_record.value[slot] = static_cast<uint8_t>(value);
            m_record.series[slot] = static_cast<uint8_t>(series);
            m_record.x[slot] = m_record.y[slot] = m_record.time[slot] = 0;
        };
        if (type == 9) {
            if (m_lastSlot + NewSlotsFor(series, 3) > kLastSlot)
                return kCardFull;
            put(1, entry.value);
            put(2, 0);
            put(3, entry.hundredths);
            return entry.result;
        }
        if (m_lastSlot + NewSlotsFor(series, shot) > kLastSlot)
            return kCardFull;
        for (int k = 1; k < shot; ++k)
            if (SlotOf(series, k) < 0)
                put(k, values::kNoShot);
        put(shot, entry.value);
        return entry.result;
    });
}

int CDataRes::StoreSeries(int, int, int series, const ShotEntry* entries, int count)
{
    if (series < 1 || series > GetSeriesCount())
        return kBadShot;
    count = std::clamp(count, 0, kMaxSeriesShots);
    const int rc = WriteLocked([&] {
        if (m_lastSlot + NewSlotsFor(series, count) > kLastSlot)
            return kCardFull;
        for (int k = 1; k <= count; ++k) {
            const int slot = TakeSlot(series, k);
            const ShotEntry& e = entries[k - 1];
            m_record.series[slot] = static_cast<uint8_t>(series);
            m_record.time[slot] = e.time;
            m_record.x[slot] = e.x;
            m_record.y[slot] = e.y;
            m_record.value[slot] = e.value;
        }
        return 0;
    });
    if (rc != 0 && rc != kCardFull)
        BV_LOG(ProgramLog(), 90, "Error writing results ");
    return rc;
}

int CDataRes::StoreShots(int relay, int target, const std::vector<ShotEntry>& shots, int targetId, int targetIdDef)
{
    if (!m_resFile) {
        BV_LOG(ProgramLog(), 90, "ResFile = NULL  i LoadCard !!!");
        return -1;
    }
    if (relay != m_relay || target != m_target)
        LoadCard(relay, target);
    bool full = false;
    const int rc = WriteLocked([&] {
        auto put = [&](int series, int k, const ShotEntry& e) {
            const int slot = TakeSlot(series, k);
            m_record.series[slot] = static_cast<uint8_t>(series);
            m_record.value[slot] = e.value;
            m_record.x[slot] = e.x;
            m_record.y[slot] = e.y;
            m_record.time[slot] = e.time;
        };
        for (const ShotEntry& e : shots) {
            const int series = e.series;
            if (series < 1 || series > GetSeriesCount() || e.shot < 1 || e.shot > kMaxSeriesShots)
                continue;
            if (m_lastSlot + NewSlotsFor(series, e.shot) > kLastSlot) {
                full = true;
                continue;
            }
            const ShotEntry none{e.series, 0, values::kNoShot, 0, 0, 0};
            for (int k = 1; k < e.shot; ++k)
                if (SlotOf(series, k) < 0)
                    put(series, k, none);
            put(series, e.shot, e);
        }
        if (targetId >= 0)
            m_record.targetId = static_cast<uint8_t>(targetId);
        if (targetIdDef >= 0)
            m_record.targetIdDef = static_cast<uint8_t>(targetIdDef);
        return 0;
    });
    if (rc != 0) {
        BV_LOG(ProgramLog(), 90, "Error writing results ");
        return rc;
    }
    return full ? kCardFull : 0;
}

int CDataRes::GetSeriesShots(int series) const
{
    return series >= 1 && series <= GetSeriesCount() ? m_shots[series - 1] : 0;
}

std::string CDataRes::GetSeriesName(int series) const
{
    return series >= 1 && series <= GetSeriesCount() ? m_names[series - 1] : std::string();
}

int CDataRes::GetSeriesType(int series) const
{
    return series >= 1 && series < static_cast<int>(m_types.size()) ? m_types[series] : 0;
}

int CDataRes::GetSubEventCount()
{
    CBVConfig* comp = m_events ? m_events->Comp() : nullptr;
    return comp ? ::ReadItem(*comp, CompItems::EventSubEvents(m_event)) : 0;
}

std::string CDataRes::GetSubEventName(int subEvent)
{
    CBVConfig* settings = SettingsOf(m_event);
    return settings ? ::ReadItem(*settings, EventItems::SubEventName(subEvent)).substr(0, 32) : std::string();
}

// ---------------------------------------------------------------------------
// Values, texts and sums

int CDataRes::ValueMode(int kind) const { return kind == 4 && m_final == 1 ? 2 : 1; }

int CDataRes::SeriesFormat(int series, int event, int kind)
{
    CBVConfig* settings = SettingsOf(event);
    const int type = settings ? ::ReadItem(*settings, EventItems::SeriesType(series)) : GetSeriesType(series);
    return values::ShotWidth(type, ValueMode(kind));
}

std::string CDataRes::FormatShot(int series, int shot)
{
    const int type = GetSeriesType(series);
    const int value = GetShotValue(series, shot);
    const int h = type == 9 && SlotOf(series, 3) >= 0 ? GetShotValue(series, 3) : 0;
    return values::FormatShot(type, value, h, OrgType());
}

std::string CDataRes::ShotText(int series, int shot, int kind)
{
    return values::ShotText(FormatShot(series, shot), GetSeriesType(series), ValueMode(kind));
}

int CDataRes::CountedValue(int series, int shot) const
{
    if (SlotOf(series, shot) < 0)
        return 0;
    return values::CountedValue(GetSeriesType(series), GetShotValue(series, shot), m_final == 1);
}

int CDataRes::SeriesSum(int series) const
{
    if (series < 1 || series > GetSeriesCount())
        return 0;
    int cv[10];
    for (int k = 0; k < 10; ++k)
        cv[k] = CountedValue(series, k + 1);
    return values::SeriesSum(GetSeriesType(series), cv, GetSeriesShots(series));
}

std::string CDataRes::SeriesSumText(int series, int kind) const
{
    return values::SeriesSumText(GetSeriesType(series), SeriesSum(series), kind, m_final == 1, SeriesWidth(series));
}

int CDataRes::SeriesWidth(int series) const
{
    return values::SeriesWidth(GetSeriesType(series), GetSeriesShots(series), m_final == 1);
}

int CDataRes::GetSumWidth() const { return values::SumWidth(m_final == 1); }

int CDataRes::ParseValue(const std::string& text) { return values::ParseValue(text); }

int CDataRes::CountShots(int series) const
{
    if (series <= 0) {
        int all = 0;
        for (int s = 1; s <= kMaxSeries && GetSeriesShots(s) > 0; ++s)
            all += CountShots(s);
        return all;
    }
    int present = 0;
    for (int k = 1; k <= std::min(GetSeriesShots(series), kMaxSeriesShots); ++k)
        present += GetShotValue(series, k) < values::kFirstAbsent;
    return present;
}

int CDataRes::CountAllShots() const
{
    int all = 0;
    for (int s = 1; s <= GetSeriesCount(); ++s)
        all += CountShots(s);
    return static_cast<uint16_t>(all);
}

std::string CDataRes::SubCodes(int event, int subEvent)
{
    CBVConfig* settings = SettingsOf(event);
    return settings ? ::ReadItem(*settings, EventItems::SubSeries(subEvent)).substr(0, 32) : std::string();
}

int CDataRes::SubTotal(int32_t startNr, int event, int subEvent, std::vector<int>* visited, RowFigures* ranking,
                       RowFigures* seriesFigures, int kind, int linked)
{
    if (visited)
        return SubTotalWalk(startNr, event, subEvent, *visited, ranking, seriesFigures, kind, linked);
    // Entry 0 counts what was counted; the starting event is visited, so
    // two events that link each other are summed once each.
    std::vector<int> own{0, event};
    m_homeEvent = static_cast<int16_t>(event);
    const int total = SubTotalWalk(startNr, event, subEvent, own, ranking, seriesFigures, kind, linked);
    return own[0] != 0 ? total : -1;
}

int CDataRes::SubTotalWalk(int32_t startNr, int event, int subEvent, std::vector<int>& visited, RowFigures* R,
                           RowFigures* V, int kind, int linked)
{
    const std::string codes = SubCodes(event, subEvent);
    if (R && R->size() < 13)
        R->resize(13, 0);
    int total = 0, counted = 0;
    for (size_t i = 0; i < codes.size(); ++i) {
        const uint8_t code = static_cast<uint8_t>(codes[i]);
        if (code == kStartScoreCode) {
            CardEntries* entries = m_events ? m_events->Entries(event) : nullptr;
            const int s = entries ? entries->GetStartScore(startNr) : 0;
            total += s;
            if (R && kind != 7) {
                R->push_back(0);
                R->push_back(s);
                (*R)[1] += s;
            }
            counted += s != 0;
            continue;
        }
        if (IsLink(code)) {
            if (i + 1 >= codes.size())
                break;
            const int j = code & 0x7F, e = static_cast<uint8_t>(codes[++i]);
            if (startNr == 0 || std::find(visited.begin() + 1, visited.end(), e) != visited.end())
                continue;
            visited.push_back(e);
            CardEntries* entries = m_events ? m_events->Entries(e) : nullptr;
            if (!entries || !m_events->Settings(e))
                continue;
            auto other = std::make_unique<CDataRes>(m_events);
            other->SetFile(nullptr, e);
            other->LoadEvent(e);
            other->m_homeEvent = m_homeEvent;
            int relay = 0, target = 0;
            if (entries->FindShooter(startNr, relay, target) == 0) {
                other->LoadCard(relay, target);
                total += other->SubTotalWalk(startNr, e, j, visited, R, V, kind, 1);
            }
            continue;
        }
        const int s = code;
        const int type = GetSeriesType(s);
        int m = SeriesSum(s);
        if (linked && values::IsHitType(type))
            m = m / 1000 * 1000;  // inner hits of a linked event do not count
        total += m;
        counted += CountShots(s);
        if (R && type < 7) {
            R->push_back(0);
            R->push_back(m);
            CBVConfig* home = SettingsOf(m_homeEvent);
            if (kind == 3 && m_homeEvent != event && home && ::ReadItem(*home, EventItems::kSeparateFinal) == 1)
                AddSeriesStats(s, R, V, 3, 0, 0);
            else
                AddSeriesStats(s, R, V, kind, 0, 1);
        } else if (V && values::IsSpecialType(type)) {
            AddSeriesStats(s, R, V, kind, linked, 1);
        }
    }
    visited[0] += counted;
    return total;
}

std::string CDataRes::SubTotalText(int32_t startNr, int subEvent, int kind)
{
    const int total = SubTotal(startNr, m_event, subEvent);
    if (total < 0)
        return std::string();
    const std::string codes = SubCodes(m_event, subEvent);
    bool own = false;
    for (size_t i = 0; i < codes.size(); ++i) {
        const uint8_t code = static_cast<uint8_t>(codes[i]);
        if (IsLink(code))
            ++i;
        else if (code != kStartScoreCode)
            own = true;
    }
    int decider = -1;
    for (size_t i = 0; i < codes.size() && decider < 0; ++i) {
        const uint8_t code = static_cast<uint8_t>(codes[i]);
        if (code == kStartScoreCode)
            continue;
        int type;
        if (IsLink(code)) {
            const size_t position = i;
            const int e = i + 1 < codes.size() ? static_cast<uint8_t>(codes[++i]) : 0;
            if (own) {
                type = GetSeriesType(1);
                for (int s = 1; s <= m_seriesDefined; ++s)
                    if (GetSeriesType(s) == 7)
                        type = 7;
            } else {
                CBVConfig* settings = SettingsOf(e);
                type = settings ? ::ReadItem(*settings, EventItems::SeriesType(static_cast<int>(position) + 1)) : 0;
            }
        } else {
            type = GetSeriesType(code);
        }
        if (values::IsSpecialType(type))
            decider = type;
    }
    char text[48];
    switch (decider) {
    case 7:
        return values::SeriesSumText(7, total, kind, false, 3);
    case 8:
    case 10:
    case 11:
        std::snprintf(text, sizeof text, "%d", total / 1000);
        return text;
    case 9:
        return values::SeriesSumText(9, total, kind, false, 5);
    default:
        if (m_final == 1)
            std::snprintf(text, sizeof text, "%d.%d", total / 10, total % 10);
        else
            std::snprintf(text, sizeof text, "%d", total / 10);
        return text;
    }
}

int CDataRes::IsSubTotalComplete(int32_t startNr, int event, int subEvent)
{
    m_complete = 1;
    std::vector<int> visited{0, event};
    CompleteWalk(startNr, event, subEvent, visited);
    return m_complete;
}

void CDataRes::CompleteWalk(int32_t startNr, int event, int subEvent, std::vector<int>& visited)
{
    const std::string codes = SubCodes(event, subEvent);
    for (size_t i = 0; i < codes.size(); ++i) {
        const uint8_t code = static_cast<uint8_t>(codes[i]);
        if (code == kStartScoreCode)
            continue;
        if (!IsLink(code)) {
            if (CountShots(code) == 0)
                m_complete = 0;
            continue;
        }
        if (i + 1 >= codes.size())
            break;
        const int j = code & 0x7F, e = static_cast<uint8_t>(codes[++i]);
        if (startNr == 0 || std::find(visited.begin() + 1, visited.end(), e) != visited.end())
            continue;
        visited.push_back(e);
        CardEntries* entries = m_events ? m_events->Entries(e) : nullptr;
        if (!entries || !m_events->Settings(e))
            continue;
        // A card object of its own per linked event: the event objects' own
        // belong to the screens' thread.
        CDataRes other(m_events);
        other.SetFile(nullptr, e);
        other.LoadEvent(e);
        int relay = 0, target = 0;
        if (entries->FindShooter(startNr, relay, target) != 0) {
            m_complete = 0;
            continue;
        }
        other.LoadCard(relay, target);
        other.m_complete = 1;
        other.CompleteWalk(startNr, e, j, visited);
        if (!other.m_complete)
            m_complete = 0;
    }
}

int CDataRes::AddSeriesStats(int s, RowFigures* R, RowFigures* V, int kind, int linked, int tieBreaks)
{
    const int n = std::min(GetSeriesShots(s), kMaxSeriesShots);
    if (n == 0)
        return 0;
    const int type = GetSeriesType(s);
    if (values::IsSpecialType(type)) {
        if (!V)
            return CountedValue(s, 1);
        if (V->size() < static_cast<size_t>(2 * s + 2))
            V->resize(2 * s + 2, 0);
        RowFigures& v = *V;
        v[2 * s] = CountedValue(s, 1);
        if (type == 10 || type == 11) {
            v[1] += v[2 * s];
            return v[2 * s];
        }
        v[2 * s + 1] = CountedValue(s, 3);
        if (type == 9 || !linked)
            v[0] += v[2 * s + 1];
        v[1] += v[2 * s];
        return v[2 * s];
    }
    if (R && R->size() < 13)
        R->resize(13, 0);
    int sum = 0;
    for (int k = 1; k <= n; ++k) {
        const int value = GetShotValue(s, k);
        if (value >= values::kFirstAbsent)
            continue;
        const int cv = CountedValue(s, k);
        sum += cv;
        if (!R)
            continue;
        RowFigures& r = *R;
        r[1] += cv;
        if (!tieBreaks)
            continue;
        if (value >= 110) {
            r[0] += 1;
            r[r.size() - 2] += 1;
        }
        if (kind >= 3 && kind <= 5) {
            if (value >= 100)
                r[2] += 1;
            else if (value >= 1)
                r[12 - value / 10] += 1;
        }
    }
    return sum;
}

int CDataRes::CheckShotOrder(int series, int shot, int rule) const
{
    if (rule == 0)
        return 0;
    for (int i = 1; i <= GetSeriesCount(); ++i) {
        int b = CountedValue(i, 1);
        for (int j = 2; j <= GetSeriesShots(i); ++j) {
            const int c = CountedValue(i, j);
            if (rule == 2) {
                if (c > b)
                    return i;
            } else if (c < b) {
                if (i != series || j != shot + 1)
                    return i;
                for (int k = j; k <= GetSeriesShots(i); ++k)
                    if (GetShotValue(i, k) < values::kFirstAbsent)
                        return i;
            }
            b = c;
        }
    }
    return 0;
}

}  // namespace results
