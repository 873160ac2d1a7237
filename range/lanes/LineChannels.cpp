#include "range/lanes/LineChannels.h"

#include "foundation/settings/RangeSettings.h"
#include "line/BVSerCom.h"
#include "platform/system/Codepage.h"
#include "range/run/FrameServices.h"
#include "range/run/RangeObjects.h"

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
    p.state = PortState::Closed;
    if (m_simulation || p.type == 0)
        return;

    if (p.type == PortRecord::kOutsideSystem) {
        // The outside range system's interface library is not part of this
        // program; its lanes keep their channel and show no contact.
        m_outsideSystem = true;
        p.state = PortState::Failed;
        BV_LOG(m_log, 80, "Outside range system channel %d not available", k);
        m_services.Message(platform::Ansi("Klarer ikke å starte RCI2000.dll!\nRCI2000.dll må ligge i gjeldende "
                                            "katalog!\nMuxConfig må evt. kjøres for å installere SIUS SW!"));
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

void LineChannels::ClosePorts()
{
    for (PortRecord& p : m_obj.ports) {
        if (p.line) {
            p.line->PortClose();
            p.line.reset();
        }
        p.outside = nullptr;
        p.state = PortState::Closed;
    }
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
