// The shot store of CDataComp: storing a shot on a card with its slot and
// duplicate rules, replacing or clearing a card's shots.
#include "foundation/comp/DataComp.h"
#include "foundation/files/WriteBracket.h"

#include <cstddef>
#include <cstring>
#include <functional>

namespace {

// A list's update counter after one more rewrite; it is never 0 after a
// write, so 0 stays free to mean "nothing stored".
int32_t NextCounter(int32_t counter)
{
    int32_t next = static_cast<int32_t>(static_cast<uint32_t>(counter) + 1u);
    return next == 0 ? 1 : next;
}

int Series(uint8_t seriesByte) { return seriesByte & 0x7F; }

// Whether a stored slot counts in a series: its counting series is that
// series, or it has none yet and was fired in it.
bool CountsIn(const ShotRecord& slot, int series)
{
    return slot.countingSeries == series || (slot.countingSeries == 0 && Series(slot.series) == series);
}

}  // namespace

int CDataComp::MakeShotList(int relay, int lane, CardRecord& card)
{
    // The list is made and the card pointed at it in one bracket of the card
    // file, so that two programs storing the first shot at once make one list
    // and both shots land in it.
    CWriteBracket bracket(m_card);
    if (!bracket.Held())
        return 0;
    int cardNo = FindCard(relay, lane, card);
    if (cardNo != 0 && card.shotRec == 0) {
        ClearShots(m_shots);
        int n = 0;
        if (m_shot.AddRec(n, &m_shots) != 0) {
            BV_LOG(m_log, 90, "Failed to create Shot rec!");
            return 0;
        }
        card.shotRec = static_cast<uint16_t>(n);
        if (n < 1 || n > 0xFFFF || m_card.WriteRec(cardNo, &card) != 0) {
            BV_LOG(m_log, 90, "Failed to update card rec!");
            return 0;
        }
    }
    if (bracket.Finish() != 0 || cardNo == 0 || card.shotRec == 0) {
        BV_LOG(m_log, 90, "Failed to update card rec!");
        return 0;
    }
    return cardNo;
}

int32_t CDataComp::AddShot(int relay, int lane, ShotRecord& shot, ShotListRecord* copy, int limit, int noCount)
{
    CardRecord card;
    int cardNo = IsCardLane(lane) ? FindCard(relay, lane, card) : 0;
    if (cardNo == 0) {
        BV_LOG(m_log, 90, "Card rec not found!");
        return 0;
    }
    // The card's first shot: its list comes first.
    if (card.shotRec == 0 && MakeShotList(relay, lane, card) == 0)
        return 0;

    // The read, the slot choice and the write of the list are one bracket.
    if (!LockShotList(card.shotRec, relay, lane))
        return 0;
    const int32_t counter = NextCounter(m_shots.updateCounter);

    // Shot number k goes where the k-th shot or skipped position falls; free
    // slots on the way become skipped positions. Number 0 takes the first
    // free slot.
    const int series = Series(shot.series);
    const int number = shot.shotNumber;
    int i = 0;  // shots and skipped positions so far
    int j = 0;  // shots already counting in the new shot's series
    int target = -1;
    for (int s = 0; s < kSlots; ++s) {
        ShotRecord& slot = m_shots.shots[s];
        if (slot.state == kSlotShot) {
            ++i;
            if (CountsIn(slot, series))
                ++j;
        } else if (slot.state == kSlotSkipped) {
            ++i;
        } else if (slot.state == kSlotFree) {
            slot.state = kSlotSkipped;
            if (number == 0) {
                target = s;
                break;
            }
            ++i;
        }
        if (slot.state == kSlotNoPosition && CountsIn(slot, series))
            ++j;
        if (number != 0 && i >= number) {
            target = s;
            break;
        }
    }
    if (target < 0) {
        m_shot.CheckClose(0);
        BV_LOG(m_log, 90, "Shot record is full!");
        return 0;
    }
    const ShotRecord& stored = m_shots.shots[target];
    if (stored.state == kSlotShot) {
        m_shot.CheckClose(0);
        if (stored.value == shot.value && stored.data17 == shot.data17 && stored.x == shot.x && stored.y == shot.y)
            return 0;  // the same shot delivered again
        BV_LOG(m_log, 80, "Skudd er endret Lane=%d Serie=%d Shot=%d Value = %d!!!", lane, series, number, shot.value);
        shot.countingSeries = stored.countingSeries;
        shot.flags = stored.flags;
        return 0;
    }
    if (j < limit && noCount == 0)
        shot.countingSeries = static_cast<uint8_t>(series);
    m_shots.shots[target] = shot;
    m_shots.updateCounter = counter;

    int rc = m_shot.WriteRecDirect(card.shotRec, &m_shots);
    if (rc != 0) {
        m_shot.CheckClose(0);
        BV_LOG(m_log, 90, "Failed to write shot rec!");
        return 0;
    }
    // The file's counter runs one ahead of the one returned, so a caller
    // that compares its own with the file's reads the list again.
    if (m_shot.IncrementField(card.shotRec, offsetof(ShotListRecord, updateCounter), 4) == 0)
        rc = -1;
    // The shot counts as stored only once it is on the disk: a flush that
    // fails leaves the write to be undone by the next writer.
    if (m_shot.CheckClose(0) != 0)
        rc = -1;
    if (rc != 0) {
        BV_LOG(m_log, 90, "Failed to write shot rec!");
        return 0;
    }
    if (copy)
        *copy = m_shots;
    return counter;
}

int32_t CDataComp::WriteShots(int relay, int lane, const ShotListRecord& list) { return RewriteShots(relay, lane, &list); }

int32_t CDataComp::DeleteShots(int relay, int lane) { return RewriteShots(relay, lane, nullptr); }

// Replaces the stored list with the given one, or clears it (no list given).
int32_t CDataComp::RewriteShots(int relay, int lane, const ShotListRecord* list)
{
    CardRecord card;
    if (!IsCardLane(lane) || FindCard(relay, lane, card) == 0) {
        BV_LOG(m_log, 90, "Card rec not found!");
        return 0;
    }
    if (card.shotRec == 0) {
        if (!list)
            return 1;  // nothing to delete
        BV_LOG(m_log, 90, "Shot rec index not found!");
        return 0;
    }
    if (!LockShotList(card.shotRec, relay, lane))
        return 0;
    const int32_t counter = NextCounter(m_shots.updateCounter);
    if (list) {
        // Up to and with the given list's first free slot; the stored slots
        // after it stay.
        int k = kSlots - 1;
        for (int s = 0; s < kSlots; ++s) {
            if (list->shots[s].state == kSlotFree) {
                k = s;
                break;
            }
        }
        std::memcpy(m_shots.shots, list->shots, sizeof(ShotRecord) * static_cast<size_t>(k + 1));
        std::memcpy(m_shots.comment, list->comment, sizeof m_shots.comment);
        m_shots.reserved = list->reserved;
    } else {
        ClearShots(m_shots);
    }
    m_shots.updateCounter = counter;
    int rc = m_shot.WriteRecDirect(card.shotRec, &m_shots);
    if (m_shot.CheckClose(0) != 0)
        rc = -1;
    if (rc != 0) {
        BV_LOG(m_log, 90, "Failed to modify shot rec!");
        return 0;
    }
    BumpLaneCounter(lane, relay);
    return counter;
}

int32_t CDataComp::ChangeShots(int relay, int lane, const std::function<void(ShotListRecord&)>& change)
{
    CardRecord card;
    if (!IsCardLane(lane) || FindCard(relay, lane, card) == 0) {
        BV_LOG(m_log, 90, "Card rec not found!");
        return 0;
    }
    if (card.shotRec == 0 && MakeShotList(relay, lane, card) == 0)
        return 0;
    if (!LockShotList(card.shotRec, relay, lane))
        return 0;
    const int32_t counter = NextCounter(m_shots.updateCounter);
    change(m_shots);
    m_shots.updateCounter = counter;
    int rc = m_shot.WriteRecDirect(card.shotRec, &m_shots);
    if (m_shot.CheckClose(0) != 0)
        rc = -1;
    if (rc != 0) {
        BV_LOG(m_log, 90, "Failed to modify shot rec!");
        return 0;
    }
    BumpLaneCounter(lane, relay);
    return counter;
}

int CDataComp::ReadShots(int relay, int lane, ShotListRecord& list)
{
    ClearShots(list);
    CardRecord card;
    if (!IsCardLane(lane) || FindCard(relay, lane, card) == 0 || card.shotRec == 0)
        return -1;
    if (m_shot.ReadRecDirect(card.shotRec, &list) != 0) {
        ClearShots(list);
        return -1;
    }
    return 0;
}

int CDataComp::MarkSkipped(ShotListRecord& list, int n)
{
    if (n < 1)
        return 0;
    int result = 0;
    int j = 0;
    for (int s = 0; s < kSlots - 1; ++s) {
        ShotRecord& slot = list.shots[s];
        if (slot.state == kSlotFree) {
            slot.state = kSlotSkipped;
            result = 1;
            ++j;
        } else if (slot.state == kSlotShot || slot.state == kSlotSkipped) {
            ++j;
        }
        if (j >= n)
            return result;
    }
    BV_LOG(m_log, 90, "Shotcard is full!");
    return result;
}

bool CDataComp::LockShotList(int32_t recNo, int relay, int lane)
{
    if (m_shot.CheckOpen() != 0)
        return false;
    if (m_shot.Lock() != 0) {
        m_shot.CheckClose(0);
        return false;
    }
    if (m_shot.ReadRecDirect(recNo, &m_shots) != 0) {
        m_shot.CheckClose(0);
        BV_LOG(m_log, 90, "Failed to open shotrec for %d:%d!", relay, lane);
        return false;
    }
    return true;
}
