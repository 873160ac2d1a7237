#include "range/base/LaneTable.h"

#include "line/BVSerCom.h"

uint8_t RateLineStatus(uint8_t old, const SlotCounts& c, bool shotWarning, int lineState)
{
    uint32_t f = c.failures;
    uint8_t status = old;
    bool neverGood = c.okReceive == 0 && c.okSend == 0 && c.okPoll == 0;
    bool someFailed = c.failedReceive != 0 || c.failedSend != 0 || c.failedPoll != 0;
    if (neverGood && someFailed) {
        status = LineStatus::kNoContact;
    } else if (old == LineStatus::kNoContact) {
        // Back after a loss: shown as waiting until a message proves it.
        if (f == 0)
            status = LineStatus::kPending;
    } else if (old >= LineStatus::kPending && old <= LineStatus::kPendingFailingLong) {
        if (f == 0)
            status = LineStatus::kPending;
        else if (f <= 20)
            status = LineStatus::kPendingFailing;
        else if (f <= 50)
            status = LineStatus::kPendingFailingLong;
        else if (f >= 100)
            status = LineStatus::kNoContact;
    } else {
        if (f == 0)
            status = LineStatus::kAnswers;
        else if (f <= 20)
            status = LineStatus::kFailing;
        else if (f <= 50)
            status = LineStatus::kFailingLong;
        else if (f >= 100)
            status = LineStatus::kNoContact;
    }
    if (status == LineStatus::kAnswers && shotWarning)
        status = LineStatus::kShotWarning;
    if (lineState == 0)
        status = LineStatus::kAdapterNotReady;
    else if (lineState == 1)
        status = LineStatus::kAdapterFirmware;
    return status;
}

uint8_t MarkedLineStatus(uint8_t old, bool simulation, int channelType, int value)
{
    if (simulation)
        return old < LineStatus::kPendingFailing ? static_cast<uint8_t>(LineStatus::kPending) : old;
    if (channelType == PortRecord::kOutsideSystem)
        return value == 1 ? static_cast<uint8_t>(LineStatus::kOutside) : static_cast<uint8_t>(value);
    if (old == LineStatus::kSimulated || old == LineStatus::kAnswers)
        return LineStatus::kPending;
    if (old == LineStatus::kFailing)
        return LineStatus::kPendingFailing;
    return old;
}

PortRecord::PortRecord() = default;
PortRecord::~PortRecord() = default;
PortRecord::PortRecord(PortRecord&&) noexcept = default;
PortRecord& PortRecord::operator=(PortRecord&&) noexcept = default;

LaneTable::LaneTable() : m_blocks(kLastLane + 1) {}

void LaneTable::ResetAll()
{
    for (LaneBlock& block : m_blocks)
        block.Reset();
}

bool LaneTable::IsActive(int lane) const
{
    return IsLane(lane) && m_blocks[lane].channelType != 0 && m_blocks[lane].enabled != 0;
}

template <typename Test>
int LaneTable::Next(int lane, Test test) const
{
    if (lane < 0) {
        for (int l = kLastLane; l >= kFirstLane; --l)
            if (test(l))
                return l;
        return 0;
    }
    for (int l = lane + 1; l <= kLastLane; ++l)
        if (test(l))
            return l;
    return 0;
}

int LaneTable::NextActiveLane(int lane) const
{
    return Next(lane, [this](int l) { return IsActive(l); });
}

int LaneTable::NextLineLane(int lane) const
{
    return Next(lane, [this](int l) { return IsActive(l) && PortRecord::IsLine(m_blocks[l].channelType); });
}

void LaneTable::AssignChannels(const PortTable& ports)
{
    for (int lane = kFirstLane; lane <= kLastLane; ++lane) {
        LaneBlock& b = m_blocks[lane];
        b.channel = 0;
        b.channelType = 0;
        b.enabled = 0;
        b.lineStatus = LineStatus::kNoContact;
        b.targetRelay = -1;
        b.targetCompetition = -1;
        for (int k = 0; k < static_cast<int>(ports.size()); ++k) {
            if (ports[k].Serves(lane)) {
                b.channel = static_cast<uint8_t>(k);
                b.channelType = ports[k].type;
            }
        }
    }
}
