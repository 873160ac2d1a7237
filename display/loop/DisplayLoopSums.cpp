// What a target's shots add up to: the current series' count and sum, the
// totals, the series sums by lines, the sub-sums with their estimate, the
// verification state; and the places of every lane of an event.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "display/loop/DisplayLoop.h"
#include "display/nettcast/NettcastFiles.h"
#include "display/settings/VisSettings.h"
#include "foundation/files/BVIniFile.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/text/TextUtil.h"

namespace {

constexpr uint16_t kCounts = 0x80;  // the shot counts in its series

int Line(int n, int perLine)
{
    int line = (n - 1) / perLine + 1;
    return line < 1 ? 1 : line;
}

// The value a shot adds, as the range equipment and mode want it.
int ShotValue(const CVisEvent& e, const ShotRecord& s, int valueSystem)
{
    bool marked = s.flags & CDataComp::kFlagMarked;
    int v = (e.rangeEquipment == 1 && marked) ? 0 : s.value;
    int cv = CDataComp::CountedValue(v, valueSystem);
    return (e.timedShots && marked) ? 0 : cv;
}

// Toward zero, kept within an int.
int Truncated(double v)
{
    return static_cast<int>(std::clamp(v, -2.0e9, 2.0e9));
}

}  // namespace

// A card holds 250 shots: a program item beyond that (or below 0) plans what
// no card can hold.
int DisplayLoop::PlannedShots(CProgramStore& programs, int series, int program)
{
    return std::clamp(programs.GetSerieShots(series, program), 0, CDataComp::kSlots);
}

int DisplayLoop::Estimate(int mode, int total, int count, int planned, int best)
{
    switch (mode) {
    case 1:
        return total + (planned - count) * best;
    case 2:
        return count == 0 ? 0 : total * 100 / count;
    case 3:
        return count == 0 ? 0 : Truncated(static_cast<double>(total) * planned / count);
    default:
        return total;
    }
}

int DisplayLoop::ReadShots(CVisTarget& t)
{
    CVisEvent& e = *t.event;
    CVisPicture* pic = m_data.current;
    CProgramStore& prog = e.programs;
    const int program = e.competition == 0 ? -1 : e.program;
    const int L = e.shotsPerLine < 1 ? 1 : e.shotsPerLine;

    // 1. The shot list, when its update counter moved. An odd counter is a
    // list in the middle of a write: it is read again at the next tick. A
    // rewrite of the whole list (shots replaced or deleted) leaves an odd
    // counter for good; seen twice alike it is taken as it stands.
    t.shotsIncomplete = false;
    const int r = t.card.shotRec;
    if (r != 0) {
        int32_t counter = 0;
        CBVFileEx& file = e.data.ShotFile();
        if (file.ReadField(r, 0, 4, &counter) != 0) {
            BV_LOG(m_log, 80, "IDS_ERROR_NOSHOTFILE");
            t.SetError("IDS_ERROR_NOSHOTFILE");
        } else if (counter != t.shots.updateCounter) {
            static ShotListRecord fresh;
            bool settled = (counter & 1) && counter == t.oddCounter;
            t.oddCounter = (counter & 1) ? counter : 0;
            if ((counter & 1) && !settled) {
                t.shotsIncomplete = true;
            } else if (file.ReadRecDirect(r, &fresh) != 0) {
                BV_LOG(m_log, 80, "IDS_ERROR_NOSHOTFILE");
                t.SetError("IDS_ERROR_NOSHOTFILE");
            } else if (fresh.updateCounter != counter) {
                t.shotsIncomplete = true;
            } else {
                for (int k = 0; k < CDataComp::kSlots && t.shots.shots[k].flags != 0; ++k)
                    if (t.shots.shots[k].value != fresh.shots[k].value) {
                        t.faceRedraw = t.listRedraw = t.relayout = true;
                        break;
                    }
                t.shots = fresh;
            }
        }
    }
    // 2.
    int oldMap[101];
    std::memcpy(oldMap, t.shownShotMap, sizeof oldMap);
    if (t.relayout || t.faceRedraw) {
        t.redrawMask |= 0x10000;
        t.zoomRing = 11;
        t.lastShotDrawn = 0;
        for (int& m : t.shownShotMap)
            m = -1;
    }
    // 3-6.
    const int cs = t.active.seriesState & 0x7F;
    PanelValue& seriesName = t.values[CVisTarget::kValSeriesName];
    char nameBuffer[64] = {};
    std::string name = prog.GetSerieName(cs, nameBuffer, program);
    if (name != seriesName.text) {
        std::snprintf(seriesName.text, sizeof seriesName.text, "%s", name.c_str());
        t.redrawMask |= 0x10;
        // The header names the series all panels share.
        if (pic)
            pic->headerChanged = true;
    }
    if (t.values[CVisTarget::kValLane].number != t.lane) {
        t.values[CVisTarget::kValLane].number = t.lane;
        t.redrawMask |= 0x40;
    }
    t.seriesShots = PlannedShots(prog, cs, program);
    // 7. Series sums: lines past a series' planned shots hold -1.
    int planned[CVisTarget::kSeriesRows] = {};
    int table[CVisTarget::kSeriesRows][CVisTarget::kSeriesRows] = {};
    for (int s = 1; s <= CDataComp::kMaxSeries; ++s) {
        planned[s] = PlannedShots(prog, s, program);
        int from = planned[s] == 0 ? 1 : (planned[s] - 1) / L + 2;
        for (int c = from < 1 ? 1 : from; c <= 28; ++c)
            table[s][c] = -1;
    }
    // 9-10.
    uint8_t order[CDataComp::kSlots];
    CDataComp::BuildShotOrder(t.shots, order, e.rangeEquipment == 1 && prog.GetEquipment(program) == 129);
    const int K = e.subCount < 0 ? 0 : (e.subCount > 28 ? 28 : e.subCount);
    int B[CVisTarget::kSeriesRows] = {}, C[CVisTarget::kSeriesRows] = {}, A[CVisTarget::kSeriesRows] = {};
    int subLimit[CVisTarget::kSeriesRows][CVisTarget::kSeriesRows] = {};  // [k][series]
    for (int k = 1; k <= K; ++k)
        for (int s = 1; s <= 28; ++s) {
            subLimit[k][s] = prog.GetSubSumFlag(k, s, program);
            if (subLimit[k][s] > 0)
                B[k] += subLimit[k][s];
        }
    t.firstCountedShot = -1;
    int total = 0, previous = 0, current = 0, verify = 0;
    // 11.
    for (int i = 0; i < CDataComp::kSlots && order[i] != CDataComp::kOrderEnd; ++i) {
        const int slot = order[i];
        const ShotRecord& s = t.shots.shots[slot];
        if (s.state == 0)
            continue;
        const int series = s.series & 0x7F;
        const int p = s.countingSeries & 0x7F;
        // Series past the program's 28 count nowhere.
        if (p > CDataComp::kMaxSeries || (p == 0 && series > CDataComp::kMaxSeries))
            continue;
        const int cv = ShotValue(e, s, t.card.valueSystem);
        const bool counts = s.flags & kCounts;
        if (p != 0 && p < cs && counts) {
            int n = table[p][0] + 1;
            if (n > 100)
                n = 100;
            table[p][0] = n;
            if (n <= planned[p]) {
                total += cv;
                previous += cv;
                int line = Line(n, L);
                if (line <= 28)
                    table[p][line] += cv;
                if (s.flags & CDataComp::kFlagFlagged)
                    ++verify;
            }
            for (int k = 1; k <= K; ++k)
                if (n <= subLimit[k][p]) {
                    A[k] += cv;
                    ++C[k];
                }
        } else if (counts && cs <= CDataComp::kMaxSeries && ((p != 0 && p == cs) || (p == 0 && series == cs))) {
            int n = table[cs][0] + 1;
            if (n > 100)
                n = 100;
            table[cs][0] = n;
            if (p != 0)
                total += cv;
            if (s.flags & CDataComp::kFlagFlagged)
                ++verify;
            current += cv;
            if (p != 0) {
                // Lines past the series' planned shots (-1) stay empty.
                int line = Line(n, L);
                if (line <= 28 && table[cs][line] != -1)
                    table[cs][line] += cv;
            }
            if (t.shownShotMap[n] != slot) {
                if (oldMap[n] >= 0)
                    t.faceRedraw = t.listRedraw = t.relayout = true;
                t.shownShotMap[n] = slot;
                t.redrawMask |= 0x30000;
            }
            if (t.firstCountedShot == -1)
                t.firstCountedShot = slot;
            for (int k = 1; k <= K; ++k)
                if (n <= subLimit[k][cs]) {
                    A[k] += cv;
                    ++C[k];
                }
        }
    }
    // 12.
    const int n = cs >= 1 && cs <= 28 ? table[cs][0] : 0;
    if (t.currentShotCount > n) {
        t.faceRedraw = true;
        t.redrawMask |= 0x10080;
    }
    if (t.listShotCount > n) {
        t.listRedraw = true;
        t.redrawMask |= 0x20080;
    }
    t.currentShotCount = t.listShotCount = n;
    // 13. The first shot of the list page.
    int W = L < t.seriesShots ? L : t.seriesShots;
    int first = 1;
    bool lastCase = false;
    if (n <= W)
        first = 1;
    else if (t.seriesShots != 0)
        first = W * ((n - 1) / W) + 1;
    else if (n > 10)
        first = ((n - 1) / 10) * 10 + 1;
    else
        lastCase = true;
    if (first != t.firstListShot && !lastCase)
        t.listRedraw = true;
    t.firstListShot = first;
    // 14.
    if (t.values[CVisTarget::kValShotCount].number != n) {
        t.values[CVisTarget::kValShotCount].number = n;
        t.redrawMask |= 0x30080;
    }
    // 15.
    if (e.startScore) {
        total += t.startScore;
        previous += t.startScore;
    }
    if (t.values[CVisTarget::kValPreviousTotal].number != previous) {
        t.values[CVisTarget::kValPreviousTotal].number = previous;
        t.redrawMask |= 0x400;
    }
    if (t.values[CVisTarget::kValTotal].number != total) {
        t.values[CVisTarget::kValTotal].number = total;
        t.redrawMask |= 0x3200;
    }
    // 16. Sub-sums, estimated while under way.
    const int best = CDataComp::CountedValue(1199, t.card.valueSystem);
    const int E = pic ? pic->estimateMode : 0;
    for (int k = 1; k <= 28; ++k) {
        int value = A[k], kind = 0;
        if (k <= K && E != 0 && C[k] > 0 && C[k] < B[k]) {
            kind = E;
            if (E == 1)
                value = A[k] - best * C[k];
            else if (E == 2)
                value = A[k] / C[k];
            else if (E == 3)
                value = Truncated(static_cast<double>(A[k]) * B[k] / C[k]) + (e.startScore ? t.startScore : 0);
        } else if (k <= K && e.startScore) {
            value += t.startScore;
        }
        if (value != t.subSums[k])
            t.redrawMask |= 0x1000;
        t.subSums[k] = value;
        t.subKinds[k] = kind;
    }
    // 17-18.
    if (t.values[CVisTarget::kValSeriesSum].number != current) {
        t.values[CVisTarget::kValSeriesSum].number = current;
        t.redrawMask |= 0x100;
    }
    if (std::memcmp(table, t.seriesSums, sizeof table) != 0) {
        t.redrawMask |= 0x2000;
        std::memcpy(t.seriesSums, table, sizeof table);
    }
    // 19.
    int state = 0;
    if (e.superMode != 0) {
        BV_LOG(m_log, 80, "VerifyShot & SuperMode");
        state = verify == 0 ? 0 : (e.superMode == 1 || verify >= 2 ? 2 : 1);
    }
    if (state != t.verification) {
        t.verification = state;
        t.relayout = t.faceRedraw = t.listRedraw = true;
        t.redrawMask |= 0x20001;
    }
    // 20.
    Nettcast::LowerCountdown(t);
    return 0;
}

int DisplayLoop::RankTotal(CVisEvent& e, const ShotListRecord& shots, int x, int valueSystem, int& count)
{
    // Counted as the panel's total is: shots of earlier series up to their
    // planned number, and the current series' shots, all with a counting series.
    CProgramStore& prog = e.programs;
    const int program = e.competition == 0 ? -1 : e.program;
    uint8_t order[CDataComp::kSlots];
    CDataComp::BuildShotOrder(shots, order, e.rangeEquipment == 1 && prog.GetEquipment(program) == 129);
    int rows[CVisTarget::kSeriesRows] = {};
    int planned[CVisTarget::kSeriesRows];
    for (int s = 1; s <= 28; ++s)
        planned[s] = PlannedShots(prog, s, program);
    x &= 0x7F;
    int total = 0;
    count = 0;
    for (int i = 0; i < CDataComp::kSlots && order[i] != CDataComp::kOrderEnd; ++i) {
        const ShotRecord& s = shots.shots[order[i]];
        if (s.state == 0 || !(s.flags & kCounts))
            continue;
        const int p = s.countingSeries & 0x7F;
        if (p == 0 || p > x || p > 28)
            continue;
        if (p < x && rows[p] >= planned[p])
            continue;
        ++rows[p];
        total += ShotValue(e, s, valueSystem);
        ++count;
    }
    return total;
}

int DisplayLoop::LaneStartScore(CVisEvent& e, const ActiveRecord& a)
{
    int start = 0;
    char path[600];
    if (e.startNumbers) {
        start = a.relay;
    } else {
        std::snprintf(path, sizeof path, "%s%sR%03d%02d.txt", e.exchangeFolder.c_str(), e.prefix.c_str(), a.relay,
                      a.lane);
        CBVIniFile f;
        f.Open(path);
        start = f.GetInt("Def", "StartNr", 0);
    }
    if (start == 0)
        return 0;
    std::snprintf(path, sizeof path, "%sN%05d.txt", e.exchangeFolder.c_str(), start);
    CBVIniFile f;
    f.Open(path);
    return CTextUtil::ParseScaled(f.GetString(e.prefix, "Start", "0"), 2);
}

int DisplayLoop::RankEvents()
{
    CVisPicture* pic = m_data.current;
    if (!pic)
        return 0;
    static ShotListRecord list;
    for (auto& ep : m_data.events) {
        CVisEvent& e = *ep;
        if (!e.data.IsOpen())
            continue;
        const int program = e.competition == 0 ? -1 : e.program;
        int T = 0;
        for (int s = 1; s <= 28; ++s)
            T += PlannedShots(e.programs, s, program);
        int from = ReadItem(m_data.settings, VisItems::EventFirstLane(e.number));
        int to = ReadItem(m_data.settings, VisItems::EventLastLane(e.number));
        int totals[CDataComp::kMaxLane + 1] = {};
        int lanes[CDataComp::kMaxLane + 1] = {};
        bool shown[CDataComp::kMaxLane + 1] = {};
        bool any = false;
        auto inRange = [&](int lane) { return CDataComp::IsLane(lane) && lane >= from && lane <= to; };
        // One rule for every lane: the counted total, the estimate, then the
        // start score when the competition adds it.
        auto rank = [&](const ShotListRecord& shots, int series, int system, int startScore) {
            int count = 0;
            int t = RankTotal(e, shots, series, system, count);
            t = Estimate(pic->estimateMode, t, count, T, CDataComp::CountedValue(1199, system));
            return e.startScore ? t + startScore : t;
        };
        for (auto& tp : pic->targets) {
            CVisTarget& t = *tp;
            if (t.event != &e || !inRange(t.lane))
                continue;
            shown[t.lane] = true;
            any = true;
            totals[t.lane] = rank(t.shots, t.active.seriesState, t.card.valueSystem, t.startScore);
        }
        if (!any)
            continue;
        ChannelSetting channels[CRangeSettings::kChannels];
        for (int k = 0; k < CRangeSettings::kChannels; ++k)
            channels[k] = CRangeSettings::ReadChannel(e.rangeSettings, k);
        for (int lane = 1; lane <= CDataComp::kMaxLane; ++lane) {
            if (shown[lane] || !inRange(lane))
                continue;
            bool onLine = false;
            for (const ChannelSetting& c : channels)
                if (c.firstLane != 0 && lane >= c.firstLane && lane <= c.lastLane)
                    onLine = true;
            if (!onLine || ReadItem(e.data.CompConfig(), CompSettings::LaneActive(lane)) == 0)
                continue;
            ActiveRecord a;
            CDataComp::ClearActive(a);
            a.lane = lane;
            if (e.data.ActiveFile().ReadRecKey(&a) != 0 || a.cardRec == 0)
                continue;
            CardRecord card;
            if (e.data.CardFile().ReadRec(a.cardRec, &card) != 0)
                continue;
            CDataComp::ClearShots(list);
            if (card.shotRec != 0 && e.data.ShotFile().ReadRec(card.shotRec, &list) != 0)
                continue;
            totals[lane] = rank(list, a.seriesState, card.valueSystem, e.startScore ? LaneStartScore(e, a) : 0);
        }
        for (int lane = 1; lane <= CDataComp::kMaxLane; ++lane)
            lanes[lane] = lane;
        // Highest first; equal totals keep the lane order.
        for (int i = 1; i < CDataComp::kMaxLane; ++i) {
            int best = i;
            for (int j = i + 1; j <= CDataComp::kMaxLane; ++j)
                if (totals[j] > totals[best])
                    best = j;
            std::swap(totals[i], totals[best]);
            std::swap(lanes[i], lanes[best]);
        }
        int places[CDataComp::kMaxLane + 1] = {};
        for (int i = 1; i <= CDataComp::kMaxLane; ++i)
            places[i] = (i > 1 && totals[i] == totals[i - 1]) ? places[i - 1] : i;
        for (auto& tp : pic->targets) {
            CVisTarget& t = *tp;
            if (t.event != &e || t.slot == 0)
                continue;
            int place = 0;
            for (int i = 1; i <= CDataComp::kMaxLane; ++i)
                if (lanes[i] == t.lane && shown[t.lane])
                    place = places[i];
            if (t.values[CVisTarget::kValPlace].number != place) {
                t.values[CVisTarget::kValPlace].number = place;
                t.redrawMask |= ViewBits::kPlace;
            }
        }
    }
    return 0;
}
