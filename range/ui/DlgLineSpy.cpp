#include "range/ui/DlgLineSpy.h"

#include "foundation/settings/RangeSettings.h"
#include "line/BVSerCom.h"
#include "line/LineMessage.h"
#include "platform/files/SystemPath.h"
#include "platform/system/Clock.h"
#include "platform/system/TextTable.h"
#include "range/base/RangeObjects.h"

#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;

constexpr int kMaxListSize = 1000;
// The time column shows up to five digits of milliseconds since the frame before.
constexpr int kTimeColumnWidth = 60;

const ControlTemplate kControls[] = {
    {.id = CDlgLineSpy::IDC_CHANNEL_GROUP, .kind = ControlKind::Group, .row = 0, .col = 0, .colSpan = 4,
     .key = "IDS_SPY_CHANNEL"},
    {.id = CDlgLineSpy::IDC_CHANNEL0, .kind = ControlKind::Radio, .parent = CDlgLineSpy::IDC_CHANNEL_GROUP, .row = 0,
     .col = 0, .style = platform::CS_GROUP},
    {.id = CDlgLineSpy::IDC_CHANNEL0 + 1, .kind = ControlKind::Radio, .parent = CDlgLineSpy::IDC_CHANNEL_GROUP,
     .row = 0, .col = 1},
    {.id = CDlgLineSpy::IDC_CHANNEL0 + 2, .kind = ControlKind::Radio, .parent = CDlgLineSpy::IDC_CHANNEL_GROUP,
     .row = 0, .col = 2},
    {.id = CDlgLineSpy::IDC_CHANNEL0 + 3, .kind = ControlKind::Radio, .parent = CDlgLineSpy::IDC_CHANNEL_GROUP,
     .row = 0, .col = 3},
    {.id = CDlgLineSpy::IDC_VIEW_GROUP, .kind = ControlKind::Group, .row = 0, .col = 4, .colSpan = 3,
     .key = "IDS_SPY_VIEW"},
    {.id = CDlgLineSpy::IDC_MESSAGES, .kind = ControlKind::Radio, .parent = CDlgLineSpy::IDC_VIEW_GROUP, .row = 0,
     .col = 0, .key = "IDS_SPY_MSG", .style = platform::CS_GROUP},
    {.id = CDlgLineSpy::IDC_STATISTICS, .kind = ControlKind::Radio, .parent = CDlgLineSpy::IDC_VIEW_GROUP, .row = 0,
     .col = 1, .key = "IDS_SPY_STAT"},
    {.id = CDlgLineSpy::IDC_SIZE_LABEL, .kind = ControlKind::Static, .row = 1, .col = 2, .key = "IDS_SPY_SIZE"},
    {.id = CDlgLineSpy::IDC_SIZE, .kind = ControlKind::Edit, .row = 1, .col = 3, .style = platform::CS_NUMBER,
     .limit = 6},
    {.id = CDlgLineSpy::IDC_RATE, .kind = ControlKind::Check, .row = 1, .col = 4, .key = "IDS_SPY_RATE"},
    {.id = CDlgLineSpy::IDC_ACTIVE, .kind = ControlKind::Check, .row = 1, .col = 5, .key = "IDS_SPY_ACTIVE"},
    {.id = CDlgLineSpy::IDC_CLEAR, .kind = ControlKind::Button, .row = 1, .col = 6, .key = "IDS_SPY_CLEAR"},
    {.id = CDlgLineSpy::IDC_LIST, .kind = ControlKind::ListView, .row = 2, .col = 0, .colSpan = 7,
     .style = platform::CS_STRETCH},
    {.id = CDlgLineSpy::IDC_CLOSE, .kind = ControlKind::Button, .row = 3, .col = 6, .key = "IDS_SPY_CANCEL"},
};

const platform::DialogTemplate kTemplate{
    .id = CDlgLineSpy::IDD, .captionKey = "IDS_SPY_TITLE", .cx = 480, .cy = 260, .controls = kControls};

// The kit's list adds columns only; a view change starts from none.
void DropColumns(platform::Control& list)
{
    if (auto* tree = qobject_cast<QTreeWidget*>(list.widget()))
        tree->setColumnCount(0);
}

std::string Format(const char* format, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

CDlgLineSpy::CDlgLineSpy(QWidget* parent, RangeObjects& objects) : platform::Dialog(kTemplate, parent), m_obj(objects)
{
    for (int k = 0; k < 4; ++k)
        OnClick(IDC_CHANNEL0 + k, [this, k] { OnChannel(k); });
    OnClick(IDC_MESSAGES, [this] { OnView(0); });
    OnClick(IDC_STATISTICS, [this] { OnView(1); });
    OnClick(IDC_CLEAR, [this] { ClearList(); });
    OnClick(IDC_RATE, [this] { OnRate(); });
    OnClick(IDC_ACTIVE, [this] { OnActive(); });
    OnClick(IDC_CLOSE, [this] { Close(); });
}

CDlgLineSpy::~CDlgLineSpy()
{
    // The line must not keep queuing copies nobody takes; a monitor closed
    // before has turned them off already, and they may be another's now.
    if (m_running)
        if (CBVSerCom* line = Line())
            line->CopiesOff();
    CloseLog();
}

std::string CDlgLineSpy::ChannelName(int channel) const
{
    int type = m_obj.ports[static_cast<size_t>(channel)].type;
    if (type == 0)
        return platform::TextOfKey("IDS_SPY_NONE");
    if (type >= 1 && type <= 9)
        return Format("COM%d", type);
    if (type == 10)
        return platform::TextOfKey("IDS_SPY_SIUS");
    return CRangeSettings::UsbDeviceName(m_obj.RangeInt(RangeItems::UsbAdapter(channel)));
}

bool CDlgLineSpy::OnInitDialog()
{
    for (int k = 0; k < 4; ++k)
        item(IDC_CHANNEL0 + k).setText(ChannelName(k));
    m_channel = 0;
    item(IDC_CHANNEL0).setSelection(0);
    item(IDC_MESSAGES).setSelection(0);
    item(IDC_RATE).setCheck(1);
    m_period = 1;
    m_countdown = 0;
    m_view = 0;
    ShowMessagesView();
    item(IDC_ACTIVE).setCheck(1);
    ActivateCopies();
    // Appended as the bytes are, CR LF and all.
    m_log = std::fopen(platform::NativePath(platform::JoinSystemPath(".\\", kLogName)).c_str(), "ab");
    m_running = true;
    return true;
}

CBVSerCom* CDlgLineSpy::Line() const
{
    const PortRecord& p = m_obj.ports[static_cast<size_t>(m_channel)];
    return p.line.get();
}

int CDlgLineSpy::ListSize() const
{
    int size = std::atoi(item(IDC_SIZE).text().c_str());
    return size <= 0 ? kMaxListSize : size;
}

CDlgLineSpy::Row CDlgLineSpy::FormatFrame(const LineMessage& m, uint32_t sincePrevious)
{
    Row row;
    bool sent = m.copyDirection != 0;
    row.direction = sent ? ">" : "<";
    row.time = Format("%5d", static_cast<int>(sincePrevious));
    int last = sent ? m.data[0] : m.data[0] + 2;
    if (last > 255)
        last = 255;
    if (m.slot >= 1 && m.slot <= 59)
        row.frame.assign(m.slot, ' ');
    uint8_t address = m.data[1];
    if (address >= 0xC0)
        row.frame += Format("S%02d ", address & 0x3F);
    else if (address >= 0x80)
        row.frame += Format("M%02d ", address & 0x3F);
    else
        row.frame += Format("  %02X ", address);
    for (int i = 2; i <= last; ++i) {
        uint8_t b = m.data[i];
        // Sent frames are raw: an escape stands for the byte after it.
        if (sent && b == 0x0F && i < last) {
            b = m.data[++i] & 0x0F;
        }
        row.frame += Format("%02X ", b);
    }
    return row;
}

void CDlgLineSpy::ShowFrames()
{
    if (!m_running)
        return;
    if (m_countdown-- >= 1)
        return;
    m_countdown = m_period;
    CBVSerCom* line = Line();
    if (!line)
        return;
    platform::Control list = item(IDC_LIST);
    if (m_view == 0) {
        int size = ListSize();
        while (std::unique_ptr<LineMessage> m = line->GetCopy()) {
            if (m->data[0] <= 2)
                continue;
            // Exactly the last `size` frames stay.
            while (list.count() >= size)
                list.deleteItem(0);
            Row row = FormatFrame(*m, m->tick - m_lastTick);
            m_lastTick = m->tick;
            int r = list.addItem(row.direction);
            list.setItemText(r, 1, row.time);
            list.setItemText(r, 2, row.frame);
            list.ensureVisible(r);
            if (m_log) {
                std::fprintf(m_log, "%s %s %s\r\n", row.direction.c_str(), row.time.c_str(), row.frame.c_str());
                std::fflush(m_log);
            }
        }
        return;
    }
    if (item(IDC_ACTIVE).check() == 0)
        return;
    const PortRecord& p = m_obj.ports[static_cast<size_t>(m_channel)];
    for (int lane = p.firstLane; lane >= 1 && lane <= p.lastLane; ++lane) {
        LaneSlot* slot = line->GetLaneSlot(lane);
        int row = lane - p.firstLane;
        if (!slot || row >= list.count())
            continue;
        const std::atomic<uint32_t>* counters[7] = {&slot->consecutiveFailures, &slot->okPoll,     &slot->okSend,
                                                    &slot->okReceive,           &slot->failedPoll, &slot->failedSend,
                                                    &slot->failedReceive};
        for (int c = 0; c < 7; ++c)
            list.setItemText(row, c + 1, Format("%d", static_cast<int>(counters[c]->load())));
    }
}

void CDlgLineSpy::ShowMessagesView()
{
    platform::Control list = item(IDC_LIST);
    list.resetContent();
    DropColumns(list);
    list.insertColumn(0, platform::TextOfKey("IDS_SPY_HA0"), 40);
    list.insertColumn(1, platform::TextOfKey("IDS_SPY_HA1"), kTimeColumnWidth);
    list.insertColumn(2, platform::TextOfKey("IDS_SPY_HA2"), 800);
    m_lastTick = platform::TickCount();
}

void CDlgLineSpy::ShowStatisticsView()
{
    DeactivateCopies();
    platform::Control list = item(IDC_LIST);
    list.resetContent();
    DropColumns(list);
    list.insertColumn(0, platform::TextOfKey("IDS_SPY_HB0"), 40);
    for (int c = 1; c <= 7; ++c)
        list.insertColumn(c, platform::TextOfKey(Format("IDS_SPY_HB%d", c)), 70);
    m_lastTick = platform::TickCount();
    const PortRecord& p = m_obj.ports[static_cast<size_t>(m_channel)];
    for (int lane = std::max<int>(p.firstLane, 1); lane <= p.lastLane; ++lane)
        list.addItem(Format("%d", lane));
}

void CDlgLineSpy::OnChannel(int channel)
{
    if (channel == m_channel)
        return;
    // The channel left behind would keep queuing copies nobody takes.
    if (CBVSerCom* line = Line())
        line->CopiesOff();
    m_channel = channel;
    if (m_view == 0)
        ShowMessagesView();
    else
        ShowStatisticsView();
    item(IDC_ACTIVE).setCheck(0);
}

void CDlgLineSpy::OnView(int view)
{
    if (view == m_view)
        return;
    m_view = view;
    if (view == 0)
        ShowMessagesView();
    else
        ShowStatisticsView();
}

void CDlgLineSpy::OnRate()
{
    m_period = item(IDC_RATE).check() ? 1 : 10;
    m_countdown = m_period;
}

void CDlgLineSpy::OnActive()
{
    if (item(IDC_ACTIVE).check())
        ActivateCopies();
    else
        DeactivateCopies();
}

void CDlgLineSpy::ActivateCopies()
{
    if (CBVSerCom* line = Line())
        line->CopiesOn();
}

void CDlgLineSpy::DeactivateCopies()
{
    if (CBVSerCom* line = Line())
        line->CopiesOff();
    CloseLog();
}

void CDlgLineSpy::ClearList()
{
    if (m_view == 0) {
        item(IDC_LIST).resetContent();
        return;
    }
    CBVSerCom* line = Line();
    if (!line)
        return;
    const PortRecord& p = m_obj.ports[static_cast<size_t>(m_channel)];
    for (int lane = p.firstLane; lane >= 1 && lane <= p.lastLane; ++lane)
        if (LaneSlot* slot = line->GetLaneSlot(lane))
            slot->ResetCounters();
}

void CDlgLineSpy::CloseLog()
{
    if (m_log)
        std::fclose(m_log);
    m_log = nullptr;
}

void CDlgLineSpy::Close()
{
    m_running = false;
    DeactivateCopies();
    CloseLog();
    ShowWindow(false);
}
