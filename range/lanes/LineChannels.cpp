#include "range/lanes/LineChannels.h"

#include "foundation/settings/RangeSettings.h"
#include "line/BVSerCom.h"
#include "line/outside/CVI9001.h"
#include "platform/system/Codepage.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"

#include <cstdio>
#include <cstring>

namespace {

// Mode of the range control's lines: master of the bus, addressing mode 1;
// a USB line adapter adds its own bit.
constexpr int kSerialMode = 0x81;
constexpr int kUsbMode = 0xA1;

}  // namespace

LineChannels::LineChannels(RangeObjects& objects, FrameServices& services) : m_obj(objects), m_services(services) {}

LineChannels::~LineChannels() { ClosePorts(); }

void LineChannels::OpenPorts()
{
    m_simulation = m_obj.RangeInt(RangeItems::kSimulation) != 0;
    m_outsideSystem = false;
    ClosePorts();
    CBVConfig& config = m_obj.settings.Config();
    if (config.IsOpen())
        config.Refresh();

    PortTable& ports = m_obj.ports;
    for (int k = 0; k < static_cast<int>(ports.size()); ++k) {
        ChannelSetting s;
        if (config.IsOpen())
            s = CRangeSettings::ReadChannel(config, k);
        PortRecord& p = ports[k];
        bool inUse = s.InUse() && s.type <= 255 && s.firstLane <= 255 && s.lastLane <= 255;
        p.type = inUse ? static_cast<uint8_t>(s.type) : 0;
        p.firstLane = inUse ? static_cast<uint8_t>(s.firstLane) : 0;
        p.lastLane = inUse ? static_cast<uint8_t>(s.lastLane) : 0;
        p.state = PortState::Closed;
    }
    m_obj.lanes.AssignChannels(ports);

    // Every channel gets its chance: one that does not open is marked failed
    // and its lanes show no contact, while the others serve theirs.
    for (int k = 0; k < static_cast<int>(ports.size()); ++k)
        OpenChannel(k);
}

void LineChannels::OpenChannel(int k)
{
    PortRecord& p = m_obj.ports[k];
    if (p.line) {
        p.line->PortClose();
        p.line.reset();
    }
    p.outside = nullptr;
    m_outside[k].reset();
    p.state = PortState::Closed;
    if (m_simulation || p.type == 0)
        return;

    if (p.type == PortRecord::kOutsideSystem) {
        OpenOutsideSystem(k);
        return;
    }

    auto line = std::make_unique<CBVSerCom>();
    int mode = kSerialMode;
    if (PortRecord::IsUsb(p.type)) {
        std::string name = CRangeSettings::UsbDeviceName(m_obj.RangeInt(RangeItems::UsbAdapter(k)));
        std::snprintf(p.adapterName, sizeof p.adapterName, "%s", name.c_str());
        line->SetUsbSerial(p.adapterName);
        mode = kUsbMode;
    }
    int rc = line->PortOpen(p.type, mode, k);
    if (rc != 1) {
        p.state = PortState::Failed;
        BV_LOG(m_log, 80, "Failed to open Com%d", p.type);
        // A line that got as far as its port counts as open; close it now
        // rather than keep a dead line that commands would queue up on.
        if (line->PortNumber() != 0)
            line->PortClose();
        return;
    }
    p.state = PortState::Open;
    for (int lane = p.firstLane; lane <= p.lastLane && lane <= LaneTable::kLastLane; ++lane) {
        line->AddLane(lane);
        m_obj.lanes[lane].channel = static_cast<uint8_t>(k);
        m_obj.lanes[lane].channelType = p.type;
    }
    p.line = std::move(line);
}

void LineChannels::OpenOutsideSystem(int k)
{
    PortRecord& p = m_obj.ports[k];
    m_outsideSystem = true;
    m_outside[k] = std::make_unique<CVI9001>();
    CVI9001& vi = *m_outside[k];
    if (!vi.IsOpen()) {
        // Without the outside system's library its lanes show no contact;
        // the other channels run on.
        m_outside[k].reset();
        p.state = PortState::Failed;
        BV_LOG(m_log, 80, "Outside range system channel %d not available", k);
        m_services.Message(platform::Ansi("Klarer ikke å starte RCI2000.dll!\nRCI2000.dll må ligge i gjeldende "
                                            "katalog!\nMuxConfig må evt. kjøres for å installere SIUS SW!"));
        return;
    }
    p.outside = &vi;
    p.state = PortState::Open;
    int competition = m_obj.CompetitionNumber();
    for (int lane = p.firstLane; lane <= p.lastLane && lane <= CVI9001::kMaxLane; ++lane) {
        vi.SetLaneOnChannel(lane, true);
        LaneBlock& b = m_obj.lanes[lane];
        b.channel = static_cast<uint8_t>(k);
        b.channelType = p.type;
        b.targetCompetition = static_cast<int16_t>(competition);
        b.targetRelay = b.card.relay;
        b.sensitivity = b.card.sensitivity;
        if (vi.State() <= 1)
            b.lineStatus = LineStatus::kOutside;
    }
    vi.UpdateControlModes();
}

void LineChannels::ClosePorts()
{
    for (size_t k = 0; k < m_obj.ports.size(); ++k) {
        PortRecord& p = m_obj.ports[k];
        if (p.line) {
            p.line->PortClose();
            p.line.reset();
        }
        p.outside = nullptr;
        m_outside[k].reset();
        p.state = PortState::Closed;
    }
}

void LineChannels::UpdateOutsideControl()
{
    for (const PortRecord& p : m_obj.ports)
        if (p.type == PortRecord::kOutsideSystem && p.outside)
            p.outside->UpdateControlModes();
}

bool LineChannels::OutsideRemote() const
{
    auto remote = [&](int lane) {
        const LaneBlock& b = m_obj.lanes[lane];
        const CVI9001* vi = b.channelType == PortRecord::kOutsideSystem ? m_obj.ports[b.channel].outside : nullptr;
        return vi && vi->State() > 1;
    };
    if (remote(1))
        return true;
    for (int lane = m_obj.lanes.NextActiveLane(0); lane != 0; lane = m_obj.lanes.NextActiveLane(lane))
        if (remote(lane))
            return true;
    return false;
}

CVI9001* LineChannels::OutsideSystem() const
{
    for (const PortRecord& p : m_obj.ports)
        if (p.type == PortRecord::kOutsideSystem && p.outside)
            return p.outside;
    return nullptr;
}

void LineChannels::MarkLane(int lane, uint8_t value)
{
    if (!LaneTable::IsLane(lane))
        return;
    LaneBlock& b = m_obj.lanes[lane];
    b.lineStatus = MarkedLineStatus(b.lineStatus, m_simulation, b.channelType, value);
}

void LineChannels::UpdateLineStatus()
{
    for (int lane = m_obj.lanes.NextLineLane(0); lane != 0; lane = m_obj.lanes.NextLineLane(lane)) {
        LaneBlock& b = m_obj.lanes[lane];
        PortRecord& p = m_obj.ports[b.channel];
        if (p.state != PortState::Open || !p.line)
            continue;
        LaneSlot* slot = p.line->GetLaneSlot(lane);
        // Two lanes can map to one slot; only the lane registered there owns its counters.
        if (!slot || !slot->active.load() || slot->targetAddress.load() != lane)
            continue;
        SlotCounts c;
        c.failures = slot->consecutiveFailures.load(std::memory_order_relaxed);
        c.okReceive = slot->okReceive.load(std::memory_order_relaxed);
        c.okSend = slot->okSend.load(std::memory_order_relaxed);
        c.okPoll = slot->okPoll.load(std::memory_order_relaxed);
        c.failedReceive = slot->failedReceive.load(std::memory_order_relaxed);
        c.failedSend = slot->failedSend.load(std::memory_order_relaxed);
        c.failedPoll = slot->failedPoll.load(std::memory_order_relaxed);
        uint8_t status = RateLineStatus(b.lineStatus, c, b.shotWarning != 0, p.line->LineState());
        if (status != b.lineStatus) {
            b.lineStatus = status;
            m_services.RedrawRow(lane);
        }
    }
}
