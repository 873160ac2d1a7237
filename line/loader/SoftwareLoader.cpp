#include "line/loader/SoftwareLoader.h"

#include "foundation/comp/DataComp.h"
#include "line/LineChannel.h"
#include "line/UnitModels.h"
#include "platform/files/NativeFile.h"
#include "platform/files/SystemPath.h"
#include "platform/system/StringFormat.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// Commands to the units (position 3).
constexpr uint8_t kVersionRequest = 0x38;
constexpr uint8_t kDeleteLog = 0x39;
constexpr uint8_t kConfigurationRequest = 0x34;
constexpr uint8_t kCountersRequest = 0x3F;
constexpr uint8_t kLoadCommand = 0x60;
constexpr uint8_t kBlock = 0x61;
constexpr uint8_t kLogRequest = 0x5F;
constexpr uint8_t kTest = 0x7F;
constexpr uint8_t kSetId = 0x32;
constexpr uint8_t kSensorGeometry = 0x33;
constexpr uint8_t kSensorSettings = 0x3C;
constexpr uint8_t kLamps = 0x4D;
constexpr uint8_t kBandAdvance = 0x5D;
constexpr uint8_t kFallFigure = 0x47;
constexpr uint8_t kShotAnswer = 0x91;
constexpr uint8_t kShotDone = 0x35;

// Sub-commands of the load command (position 6).
constexpr uint8_t kPrepare = 0;
constexpr uint8_t kCommit = 1;
constexpr uint8_t kRestart = 3;
constexpr uint8_t kStatus = 4;

constexpr int kLongestAccepted = 100;
constexpr int kLongestBlockIndex = 215;  // from here on a block message is not sent
constexpr int kFirstLogBlocks = 511;     // the log's first half ends here
constexpr int kSecondLogStart = 4096;
constexpr int kLastLogBlock = 4607;
constexpr int kLogProgressShift = 3585;

// The least payload index of each message a unit sends, -1 for a message
// the loader does not take.
int LeastIndex(int type)
{
    switch (type) {
    case 0x35: case 0x41: case 0x43: case 0x88: case 0x89: case 0xA2: case 0x86: return 10;
    case 0x83: return 7;
    case 0x84: return 20;
    case 0x87: return 28;
    case 0x90: return 4;
    case 0x92: return 7;
    case 0x93: case 0x99: return 8;
    case 0xAF: return 38;
    case 0xB3: return 16;
    default: return -1;
    }
}

// Messages whose lane byte (position 4) names the lane; the others are
// answers of a unit that may speak for its twin.
bool LaneByteDecides(int type)
{
    switch (type) {
    case 0x35: case 0x41: case 0x43: case 0x83: case 0x84: case 0x86: case 0x87: case 0x88: case 0x89:
    case 0xA2: case 0xB3: return true;
    default: return false;
    }
}

// A language text with one number in it: in place of its "%d", or after it.
std::string WithNumber(const std::string& text, int number)
{
    std::string n = std::to_string(number);
    size_t at = text.find("%d");
    if (at == std::string::npos)
        return text.empty() ? n : text + " " + n;
    return text.substr(0, at) + n + text.substr(at + 2);
}

// The sensor geometry of a unit type: level a and the values b, c, d, e in
// the unit's own units.
struct Geometry {
    int type, a, b, c, d, e;
};
constexpr Geometry kGeometries[] = {
    {2, 50, 6500, 0, 5140, 5140},       {3, 50, 9000, 0, 6500, 6500},       {4, 50, 6500, 11540, 4900, 4900},
    {5, 50, 6500, 11540, 4900, 9800},   {6, 50, 6500, 6500, 6500, 6500},    {7, 50, 935, 1870, 935, 935},
    {8, 100, 935, 1870, 935, 1870},     {9, 100, 1500, 3000, 1500, 3000},   {10, 100, 2800, 5600, 2800, 5600},
    {11, 50, 205, 4100, 675, 13500},
};
constexpr Geometry kOtherGeometry = {0, 50, 6500, 0, 4900, 4900};

}  // namespace

SoftwareLoader::SoftwareLoader(LoaderTexts& texts) : m_texts(texts) {}

SoftwareLoader::~SoftwareLoader() { CloseLine(); }

bool SoftwareLoader::SetLaneRange(int first, int last)
{
    if (m_line || first < 1 || last > kMaxLane || first > last)
        return false;
    m_first = first;
    m_last = last;
    return true;
}

bool SoftwareLoader::ValidUsbNr(const std::string& usbNr)
{
    if (usbNr.size() != 8 || usbNr.compare(0, 3, "BV1") != 0)
        return false;
    long number = 0;
    for (size_t k = 4; k < usbNr.size(); ++k) {
        if (usbNr[k] < '0' || usbNr[k] > '9')
            return false;
        number = number * 10 + (usbNr[k] - '0');
    }
    return number > 0;
}

std::string SoftwareLoader::Text(const char* key) { return m_texts.GetText(key); }

const std::string& SoftwareLoader::Cell(int lane, int column) const
{
    static const std::string empty;
    if (!InRange(lane) || column < 0 || column > kColComment)
        return empty;
    return m_rows[static_cast<size_t>(lane)][static_cast<size_t>(column)];
}

void SoftwareLoader::SetCell(int lane, int column, const std::string& text)
{
    if (InRange(lane))
        m_rows[static_cast<size_t>(lane)][static_cast<size_t>(column)] = text;
}

void SoftwareLoader::SetKey(int lane, int column, const char* key) { SetCell(lane, column, Text(key)); }

bool SoftwareLoader::TakesPart(int lane) const { return InRange(lane) && m_lanes[static_cast<size_t>(lane)].own == lane; }

bool SoftwareLoader::AnyPending() const
{
    for (int lane = m_first; lane <= m_last; ++lane)
        if (m_lanes[static_cast<size_t>(lane)].pending != 0)
            return true;
    return false;
}

bool SoftwareLoader::AnyLaneAnswered() const
{
    for (int lane = m_first; lane <= m_last; ++lane)
        if (m_lanes[static_cast<size_t>(lane)].own != 0)
            return true;
    return false;
}

int SoftwareLoader::FirstNewerLane(int version) const
{
    for (int lane = m_first; lane <= m_last; ++lane)
        if (TakesPart(lane) && m_lanes[static_cast<size_t>(lane)].version > version)
            return lane;
    return 0;
}

void SoftwareLoader::AllLanesTakePart()
{
    for (int lane = m_first; lane <= m_last; ++lane)
        m_lanes[static_cast<size_t>(lane)].own = lane;
}

bool SoftwareLoader::AnyOldController() const
{
    if (m_kind != kControllers && m_kind != kBControllers)
        return false;
    for (int lane = m_first; lane <= m_last; ++lane)
        if (m_lanes[static_cast<size_t>(lane)].controllerMark == 1)
            return true;
    return false;
}

int SoftwareLoader::PassTotal() const
{
    if (!m_image)
        return 0;
    return m_pass == 1 ? m_image->FirstPassBlocks() : m_image->TotalBlocks();
}

void SoftwareLoader::ClearRows()
{
    for (Row& row : m_rows)
        for (std::string& cell : row)
            cell.clear();
}

void SoftwareLoader::ClearParticipants() { m_lanes.fill(Participant{}); }

// --- The line ---

int SoftwareLoader::OpenLine(int portChoice, const std::string& usbNr)
{
    CloseLine();
    int addressing = m_kind == kDisplayUnits ? 1 : 3;
    int mode;
    auto line = std::make_unique<CBVSerCom>();
    if (portChoice == kUsbPort) {
        // The USB adapter carries the same messages; the line object runs
        // its own protocol for it.
        line->SetUsbSerial(usbNr.c_str());
        mode = LineChannel::kMaster | LineChannel::kUsb | addressing;
    } else if (portChoice >= 1 && portChoice <= 9) {
        mode = LineChannel::kMaster | addressing;
    } else {
        BV_LOG(m_log, 90, "No place to be!!!");
        return -1;
    }
    int rc = line->PortOpen(portChoice, mode, kPortIndex);
    if (rc != 1) {
        line->PortClose();
        return rc;
    }
    m_line = std::move(line);
    for (int lane = m_first; lane <= m_last; ++lane) {
        m_line->AddLane(lane);
        SetCell(lane, kColLane, std::to_string(lane));
    }
    return rc;
}

void SoftwareLoader::CloseLine()
{
    if (!m_line)
        return;
    m_line->PortClose();
    m_line.reset();
}

void SoftwareLoader::SetKind(int kind)
{
    m_kind = kind >= kNone && kind <= kBControllers ? kind : kNone;
    ClearParticipants();
    if (m_kind == kNone)
        m_state = 0;
    else if (m_state == 0)
        m_state = 1;
}

SoftwareLoader::KindResult SoftwareLoader::SelectKind(int kind, int portChoice, const std::string& usbNr)
{
    CloseLine();
    ClearRows();
    if (kind < kNone || kind > kBControllers)
        kind = kNone;
    if (kind == kNone) {
        m_kind = kNone;
        m_state = 0;
        return KindResult::Ok;
    }
    if (portChoice == 0) {
        m_kind = kNone;
        m_state = 0;
        return KindResult::NoPort;
    }
    if (portChoice == kUsbPort && !ValidUsbNr(usbNr)) {
        m_kind = kNone;
        m_state = 0;
        return KindResult::NoUsbNr;
    }
    m_kind = kind;
    if (OpenLine(portChoice, usbNr) != 1) {
        m_kind = kNone;
        m_state = 0;
        return KindResult::LineFailed;
    }
    SetKind(kind);
    RequestVersions(false);
    for (int lane = m_first; lane <= m_last; ++lane) {
        SetKey(lane, kColComment, loaderkeys::kSendVersion);
        SetKey(lane, kColState, loaderkeys::kWait);
    }
    return KindResult::Ok;
}

int SoftwareLoader::QueueBytes(int lane, const uint8_t* payload, int lastIndex)
{
    auto m = std::make_unique<LineMessage>();
    *m = LineMessage{};
    m->data[0] = static_cast<uint8_t>(lastIndex);
    std::memcpy(m->data + 2, payload, static_cast<size_t>(lastIndex - 1));
    m->broadcast = lane == 0 ? 1 : 0;
    m->targetAddress = static_cast<uint8_t>(lane);
    m->portIndex = kPortIndex;
    m->ageMode = 0;
    if (m_queued)
        m_queued(*m);
    if (!m_line)
        return -100;
    return m_line->SendMsg(std::move(m));
}

int SoftwareLoader::QueueMessage(int lane, uint8_t code, std::initializer_list<uint8_t> more)
{
    uint8_t payload[256] = {0x40, code, static_cast<uint8_t>(lane)};
    int k = 3;
    for (uint8_t b : more)
        payload[k++] = b;
    return QueueBytes(lane, payload, k + 1);
}

void SoftwareLoader::Tick()
{
    if (m_line) {
        int taken = 0;
        while (taken < 6) {
            std::unique_ptr<LineMessage> m = m_line->GetMsg();
            if (!m)
                break;
            ++taken;
            HandleMessage(*m);
        }
        if (taken < 5 && m_line)
            RefreshLineState();
    }
    if (m_sendCountdown > 0 && --m_sendCountdown == 0)
        OnSendExpired();
    if (m_logRetryCountdown > 0 && --m_logRetryCountdown == 0 && m_state == 16)
        BroadcastLogRequest();
    if (m_versionCountdown > 0 && --m_versionCountdown == 0 && (m_kind == kControllers || m_kind == kBControllers))
        QueueMessage(0, kVersionRequest, {});
}

void SoftwareLoader::RefreshLineState()
{
    for (int lane = m_first; lane <= m_last; ++lane) {
        LaneSlot* s = m_line->GetLaneSlot(lane);
        if (!s)
            continue;
        uint32_t ok = s->okReceive + s->okSend + s->okPoll;
        uint32_t failed = s->failedReceive + s->failedSend + s->failedPoll;
        uint32_t run = s->consecutiveFailures;
        if (ok > 0 || failed == 0 || run > 0) {
            if (run >= 6)
                SetKey(lane, kColState, loaderkeys::kError);
            else if (run == 0 && Cell(lane, kColState) != Text(loaderkeys::kWait))
                SetKey(lane, kColState, loaderkeys::kReady);
        } else {
            SetKey(lane, kColState, loaderkeys::kWait);
        }
    }
}

// --- Received messages ---

int SoftwareLoader::SlotToLane(int slot) const
{
    int lane = 0, step = 0;
    if (m_kind == kDisplayUnits && slot >= 1) {
        lane = slot;
        step = 50;
    } else if (m_kind == kControllers && slot >= 31 && slot <= 40) {
        lane = 2 * slot - 61;
        step = 20;
    } else if (m_kind == kControllers && slot >= 41 && slot <= 50) {
        lane = 2 * slot - 80;
        step = 20;
    } else if ((m_kind == kControllers || m_kind == kBControllers) && slot >= 21 && slot <= 30) {
        lane = 2 * slot - 41;
        step = 10;
    } else {
        return 0;
    }
    while (lane < m_first)
        lane += step;
    return InRange(lane) ? lane : 0;
}

void SoftwareLoader::HandleMessage(const LineMessage& message)
{
    // A private copy in which nothing after the message's last byte is left
    // from an earlier one: short messages read zeros there.
    uint8_t m[256] = {};
    int n = message.data[0];
    std::memcpy(m, message.data, static_cast<size_t>(n) + 1 > sizeof m ? sizeof m : static_cast<size_t>(n) + 1);
    int type = m[3];
    int least = LeastIndex(type);
    if (least < 0)
        return;

    int lane = SlotToLane(message.slot);
    if (lane == 0)
        lane = message.targetAddress;
    if (LaneByteDecides(type)) {
        if (m[4] != lane)
            BV_LOG(m_log, 80, "Lane=%d and Msg[4]=%d", lane, m[4]);
        lane = m[4];
    } else {
        // A dual unit answers for the lane of the range that names it.
        for (int r = m_first; r <= m_last; ++r) {
            const Participant& p = m_lanes[static_cast<size_t>(r)];
            if (lane != 0 && (p.own == lane || p.twin == lane)) {
                lane = r;
                break;
            }
        }
    }
    if (!InRange(lane)) {
        BV_LOG(m_log, 80, "Throw msg for lane=%d", lane);
        return;
    }
    if (n < least || n > kLongestAccepted) {
        BV_LOG(m_log, 80, "Msg error msg=%d len=%d lane=%d", type, n, lane);
        SetCell(lane, kColReceived, Text(loaderkeys::kMsgError) + platform::StringFormat(" %02X=%d", type, n));
        return;
    }
    SetKey(lane, kColState, loaderkeys::kReady);

    switch (type) {
    case 0x35:
        SetKey(lane, kColReceived, loaderkeys::kTempDu);
        break;
    case 0x41:
        OnShot(lane, m);
        break;
    case 0x83:
        SetCell(lane, kColReceived, platform::StringFormat("%6.2f\xB0" "C", (m[5] * 256 + m[6]) / 256.0));
        break;
    case 0x84: {
        const char* model = HardwareModelName(m[5]);
        int x = ((m[12] * 256 + m[13]) * 10) / 32;
        int y = (((m[15] * 5) / 16) & 0x7F) + m[14] * 80;
        SetCell(lane, kColComment, std::string(model ? model : "????? ") + platform::StringFormat(" X=%d Y=%d", x, y));
        break;
    }
    case 0x86:
        OnVersion(lane, m);
        break;
    case 0x87: {
        int s = (m[11] * 256 + m[12]) * 10000 + m[13] * 256 + m[14];
        int e = (m[15] * 256 + m[16]) * 10000 + m[17] * 256 + m[18];
        SetCell(lane, kColComment, platform::StringFormat("S=%6d E=%6d", s, e));
        break;
    }
    case 0x90:
        OnCommandAnswer(lane, m, n);
        break;
    case 0x92:
        OnAcknowledged(lane, m, n);
        break;
    case 0x93:
        if (Loading()) {
            SetKey(lane, kColReceived, loaderkeys::kSwError);
            m_sendCountdown = kRefusedTicks;
        }
        break;
    case 0x99:
        if (m_state == 16)
            SetKey(lane, kColReceived, loaderkeys::kStateMsg);
        break;
    case 0xAF:
        OnLogBlock(lane, m);
        break;
    case 0xB3:
        SetKey(lane, kColReceived, loaderkeys::kRestarted);
        SetCell(lane, kColComment, "");
        QueueMessage(lane, kVersionRequest, {});
        break;
    default:  // 0x43, 0x88, 0x89, 0xA2: the state column says enough
        break;
    }
}

void SoftwareLoader::OnVersion(int lane, const uint8_t* m)
{
    Participant& p = m_lanes[static_cast<size_t>(lane)];
    p.version = m[5] * 256 + m[6];
    if (m_kind == kDisplayUnits) {
        p.own = lane;
    } else if (m[5] > 1) {
        // The newer answer names the unit's own lane and its twin.
        p.own = m[11];
        p.twin = m[12];
        p.controllerMark = 3;
    } else {
        p.own = lane;
        p.twin = lane + 1;
        if (InRange(p.twin))
            m_lanes[static_cast<size_t>(p.twin)].version = p.version;
    }
    std::string comment = platform::StringFormat("%d.%02d %02d.%02d.%02d%02d", m[5], m[6], m[10], m[9], m[7], m[8]);
    SetCell(lane, kColComment, comment);
    SetCell(lane, kColReceived, "");
    if (p.twin != lane && InRange(p.twin)) {
        SetCell(p.twin, kColComment, comment + " - " + Text(loaderkeys::kDual));
        SetKey(p.twin, kColState, loaderkeys::kDual);
        SetCell(p.twin, kColSent, "");
    }
}

void SoftwareLoader::OnShot(int lane, const uint8_t* m)
{
    double x = CDataComp::GetIntLE(m + 9, 3) * 0.001;
    double y = CDataComp::GetIntLE(m + 12, 3) * 0.001;
    std::string text = platform::StringFormat(" X= %5.1f ", x) + platform::StringFormat(" Y= %5.1f ", y);
    if (m[19] == 255)
        text += platform::StringFormat("ABC= %d %d %d", m[16], m[17], m[18]);
    else
        text += platform::StringFormat("ABCD= %3d % 3d %3d %3d", m[16], m[17], m[18], m[19]);
    text += platform::StringFormat(" T= %d\xB0" "C", m[15]);
    SetCell(lane, kColComment, text);
    QueueMessage(lane, kShotAnswer, {m[5], m[6]});
    QueueMessage(lane, kShotDone, {0});
}

void SoftwareLoader::OnCommandAnswer(int lane, const uint8_t* m, int n)
{
    int sub = m[6];
    Participant& p = m_lanes[static_cast<size_t>(lane)];
    if (Loading()) {
        if (m_image)
            m_image->SetTerminal(lane, true);
        p.pending = 0;
        SetKey(lane, kColSent, loaderkeys::kMsgSend);
        SetCell(lane, kColComment, "");
    }
    switch (sub) {
    case kPrepare:
        if (AnyPending())
            break;
        if (Loading() && Step() == 1 && m_pass == 1) {
            SendFirstBlock();
        } else if (Loading() && Step() == 1 && m_pass == 2) {
            m_state = KindBit() + 0x12;
            SendWhileItSends();
        } else {
            BV_LOG(m_log, m_pass == 1 ? 90 : 80, "Feil tilstand!");
        }
        break;
    case kCommit:
        if (m_pass == 1) {
            SetKey(lane, kColReceived, loaderkeys::kMsgProg1);
            if (!AnyPending() && Loading() && Step() == 3) {
                m_pass = 2;
                SendPrepare(loaderkeys::kPrepare2);
                m_state = KindBit() + 0x11;
            }
        } else {
            SetCell(lane, kColSent, "");
            SetCell(lane, kColComment, "");
            if (!AnyPending() && Loading() && Step() == 3)
                EndLoading();
        }
        break;
    case kRestart:
        SetKey(lane, kColReceived, loaderkeys::kRcvRestart);
        break;
    case kStatus:
        break;
    default:
        BV_LOG(m_log, 90, "Msg error msg=%d len=%d lane=%d SWCmd=%d", m[3], n, lane, sub);
        break;
    }
}

void SoftwareLoader::OnAcknowledged(int lane, const uint8_t* m, int n)
{
    if (!Loading())
        return;
    if (!m_image) {
        BV_LOG(m_log, 90, "SW objekt mangler");
        return;
    }
    bool all = true;
    int last = 0;
    for (int k = 6; k + 1 <= n; k += 2) {
        last = m[k] * 256 + m[k + 1];
        if (!m_image->Acknowledge(lane, last))
            all = false;
    }
    if (all)
        SetCell(lane, kColReceived, std::to_string(last));
    else
        SetKey(lane, kColReceived, loaderkeys::kSwError);
    if (Step() != 2) {
        m_sendCountdown = kAckOutsideSendingTicks;
        return;
    }
    int next = m_image->NextIndex(m_pass);
    int complete = m_image->AdvanceComplete(m_pass);
    if (next == 0 && complete == PassTotal())
        Commit();
    else if (next == complete + 1)
        SendWhileItSends();
}

void SoftwareLoader::OnLogBlock(int lane, const uint8_t* m)
{
    if (m_state != 16)
        return;
    int block = m[5] * 256 + m[6];
    SetCell(lane, kColReceived, platform::StringFormat("Log[%d]", block >= kSecondLogStart ? block - kLogProgressShift : block));
    Participant& p = m_lanes[static_cast<size_t>(lane)];
    // Only the block asked for, once per unit: a unit answering a repeated
    // request again must not double its lines in the file.
    if (p.pending == 0 || block != m_logBlock)
        return;
    std::string line = platform::StringFormat("%04X = ", block);
    for (int k = 7; k <= 38; ++k)
        line += platform::StringFormat("%02X ", m[k]);
    line += "\r\n";
    platform::NativeFile file;
    std::string path = platform::NativePath(platform::JoinSystemPath(m_folder, LogFileName(m_kind, lane)));
    if (file.OpenOrCreate(path) == 0) {
        int64_t size = file.Size();
        file.WriteAt(line.data(), line.size(), size < 0 ? 0 : size);
        file.Close();
    } else {
        BV_LOG(m_log, 80, "Cannot write %s", path.c_str());
    }
    p.pending = 0;
    if (!AnyPending())
        RequestLogBlock();
}

// --- Commands ---

void SoftwareLoader::RequestVersions(bool clearColumns)
{
    if (clearColumns)
        for (int lane = m_first; lane <= m_last; ++lane) {
            SetCell(lane, kColReceived, "");
            SetKey(lane, kColComment, loaderkeys::kSendVersion);
        }
    QueueMessage(0, kVersionRequest, {});
}

void SoftwareLoader::Restart()
{
    for (int lane = m_first; lane <= m_last; ++lane) {
        QueueMessage(lane, kLoadCommand, {ModelByte(), kRestart, 0});
        SetKey(lane, kColComment, loaderkeys::kSendRestart);
        SetCell(lane, kColReceived, "");
        SetCell(lane, kColSent, "");
    }
    m_versionCountdown = kVersionTicks;
}

void SoftwareLoader::DeleteLogs()
{
    for (int lane = m_first; lane <= m_last; ++lane) {
        QueueMessage(lane, kDeleteLog, {});
        SetKey(lane, kColState, loaderkeys::kWait);
        SetKey(lane, kColComment, loaderkeys::kDelLog);
        SetCell(lane, kColSent, "");
        SetCell(lane, kColReceived, "");
    }
    m_versionCountdown = kVersionTicks;
}

void SoftwareLoader::RequestConfiguration()
{
    for (int lane = m_first; lane <= m_last; ++lane) {
        QueueMessage(lane, kConfigurationRequest, {});
        SetKey(lane, kColComment, loaderkeys::kGetConfig);
        SetCell(lane, kColSent, "");
        SetCell(lane, kColReceived, "");
    }
}

void SoftwareLoader::RequestCounters()
{
    for (int lane = m_first; lane <= m_last; ++lane) {
        QueueMessage(lane, kCountersRequest, {1});
        SetKey(lane, kColComment, loaderkeys::kGetCounters);
        SetCell(lane, kColSent, "");
        SetCell(lane, kColReceived, "");
    }
}

void SoftwareLoader::Test()
{
    uint8_t payload[] = {0x40, kTest, 1};
    QueueBytes(0, payload, 4);
}

void SoftwareLoader::Stop()
{
    if (m_state >= 2)
        for (int lane = m_first; lane <= m_last; ++lane)
            SetKey(lane, kColComment, loaderkeys::kSendStop);
    m_sendCountdown = 0;
    m_logRetryCountdown = 0;
    m_versionCountdown = 0;
    FreeImage();
    if (m_kind != kNone)
        m_state = 1;
    m_information.clear();
    if (m_progress)
        m_progress->SetPos(0);
}

// --- Loading ---

int SoftwareLoader::LoadImage(const std::string& path)
{
    FreeImage();
    m_image = std::make_unique<CBVSW>();
    int blocks = 0;
    try {
        blocks = m_image->Load(ModelByte(), path, m_progress);
    } catch (const ImageFileError&) {
        m_image.reset();
        return 0;
    }
    if (blocks == 0)
        return 0;
    m_image->SetTermIdRange(m_first, m_last);
    // The pass tells the unit which half of its memory a sector goes to.
    for (int s = 0; s < CBVSW::kSectors; ++s)
        m_image->MapSector(s, s % 4);
    return blocks;
}

void SoftwareLoader::FreeImage() { m_image.reset(); }

void SoftwareLoader::SendPrepare(const char* sentKey)
{
    for (int lane = m_first; lane <= m_last; ++lane) {
        if (!TakesPart(lane))
            continue;
        SetKey(lane, kColSent, sentKey);
        QueueMessage(lane, kLoadCommand, {ModelByte(), kPrepare, 0});
        m_lanes[static_cast<size_t>(lane)].pending = -1;
    }
}

bool SoftwareLoader::StartLoading()
{
    if (!m_image || !m_image->IsLoaded() || m_kind == kNone)
        return false;
    m_pass = 1;
    m_image->ClearTerminals();
    if (m_progress) {
        m_progress->SetRange(0, m_image->TotalBlocks());
        m_progress->SetPos(0);
    }
    SendPrepare(loaderkeys::kPrepare1);
    m_state = KindBit() + 1;
    int first = m_image->FirstPassBlocks();
    int total = m_image->TotalBlocks();
    m_information = platform::StringFormat("%d+%d=%d", first, total - first, total);
    return true;
}

void SoftwareLoader::SendFirstBlock()
{
    int block = m_image->AdvanceComplete(1) + 1;
    uint8_t message[CBVSW::kMaxMessage];
    int length = m_image->MakeBlockMessage(0, block, message);
    if (length > 0) {
        uint8_t payload[256] = {0x40, kBlock};
        std::memcpy(payload + 2, message, static_cast<size_t>(length + 6));
        QueueBytes(0, payload, length + 9);
    }
    m_sendCountdown = kFirstBlockTicks;
    m_state = KindBit() + 2;
    SendWhileItSends();
}

void SoftwareLoader::SendWhileItSends()
{
    while (SendNextBlock(false)) {
    }
}

bool SoftwareLoader::SendNextBlock(bool resend)
{
    if (!m_image) {
        BV_LOG(m_log, 90, "SW objekt mangler");
        return false;
    }
    if (!Loading() || Step() != 2) {
        BV_LOG(m_log, 90, "Feil tilstand");
        return false;
    }
    int next = m_image->NextIndex(m_pass);
    int complete = m_image->AdvanceComplete(m_pass);
    if (resend) {
        next = m_image->NextToSend(m_pass);
        BV_LOG(m_log, 10, "Resend=%d/%d", next, m_image->TotalBlocks());
    }
    if (next > complete + kSendWindow) {
        m_sendCountdown = kWindowFullTicks;
        return false;
    }
    if (next == 0) {
        if (complete == PassTotal()) {
            Commit();
        } else {
            RequestStatus();
            m_sendCountdown = kSentTicks;
        }
        return false;
    }
    uint8_t message[CBVSW::kMaxMessage];
    int length = m_image->MakeBlockMessage(0, next, message);
    if (length == 0)
        return false;
    int lastIndex = length + 9;  // the data length + 10
    if (lastIndex >= kLongestBlockIndex) {
        BV_LOG(m_log, 80, "For lang SW blokk=%d/%d", next, m_image->TotalBlocks());
        m_sendCountdown = kTooLongTicks;
        return false;
    }
    // The message from position 4 on, without its check byte: the line
    // writes the same byte as the frame's checksum.
    uint8_t payload[256] = {0x40, kBlock};
    std::memcpy(payload + 2, message, static_cast<size_t>(length + 6));
    QueueBytes(0, payload, lastIndex);
    m_sendCountdown = resend ? kResentTicks : kSentTicks;
    std::string sent = platform::StringFormat("%d/%d - %d/2", next, m_image->TotalBlocks(), m_pass);
    for (int lane = m_first; lane <= m_last; ++lane)
        if (TakesPart(lane))
            SetCell(lane, kColSent, sent);
    if (m_progress)
        m_progress->SetPos(next);
    return true;
}

void SoftwareLoader::OnSendExpired()
{
    if (Loading() && Step() == 2) {
        SendNextBlock(true);
        SendWhileItSends();
    } else if (Loading() && Step() == 3 && m_pass == 1) {
        Commit();
    } else {
        BV_LOG(m_log, 90, "Feil tilstand");
    }
}

void SoftwareLoader::Commit()
{
    for (int lane = m_first; lane <= m_last; ++lane) {
        if (!TakesPart(lane))
            continue;
        SetCell(lane, kColSent, WithNumber(Text(loaderkeys::kMsgSave), m_pass));
        if (m_pass == 1)
            QueueMessage(lane, kLoadCommand, {ModelByte(), kCommit, 4, 0, 0x11, 0x22, 0x33});
        else
            QueueMessage(lane, kLoadCommand, {ModelByte(), kCommit, 2, 4, 0x15});
        m_lanes[static_cast<size_t>(lane)].pending = -1;
    }
    m_sendCountdown = kCommitTicks;
    m_state = KindBit() + 0x13;
}

void SoftwareLoader::RequestStatus() { QueueMessage(0, kLoadCommand, {ModelByte(), kStatus, 0}); }

void SoftwareLoader::EndLoading()
{
    m_sendCountdown = 0;
    FreeImage();
    m_state = 1;
    m_information.clear();
    if (m_progress)
        m_progress->SetPos(0);
    for (int lane = m_first; lane <= m_last; ++lane) {
        QueueMessage(lane, kLoadCommand, {ModelByte(), kRestart, 0});
        if (TakesPart(lane))
            SetKey(lane, kColSent, loaderkeys::kMsgFinish);
    }
    m_versionCountdown = kVersionTicks;
}

// --- Logs ---

std::string SoftwareLoader::LogFileName(int kind, int lane)
{
    const char* format = kind == kDisplayUnits ? "DULOG%02d.txt" : kind == kControllers ? "CULOG%02d.txt" : "CULOGB%02d.txt";
    return platform::StringFormat(format, lane);
}

void SoftwareLoader::StartLogReading()
{
    for (int lane = m_first; lane <= m_last; ++lane) {
        if (!TakesPart(lane))
            continue;
        platform::NativeFile file;
        std::string path = platform::NativePath(platform::JoinSystemPath(m_folder, LogFileName(m_kind, lane)));
        if (file.OpenOrCreate(path) == 0) {
            file.Truncate(0);
            file.Close();
        }
    }
    if (m_progress)
        m_progress->SetRange(0, kLogBlocks);
    m_logBlock = -1;
    m_state = 16;
    RequestLogBlock();
}

void SoftwareLoader::RequestLogBlock()
{
    int next;
    if (m_logBlock < 0)
        next = 0;
    else if (m_logBlock < kFirstLogBlocks)
        next = m_logBlock + 1;
    else if (m_logBlock < kSecondLogStart)
        next = kSecondLogStart;
    else if (m_logBlock < kLastLogBlock)
        next = m_logBlock + 1;
    else {
        EndLogReading();
        return;
    }
    m_logBlock = next;
    for (int lane = m_first; lane <= m_last; ++lane)
        if (TakesPart(lane))
            m_lanes[static_cast<size_t>(lane)].pending = -1;
    BroadcastLogRequest();
    if (m_progress)
        m_progress->SetPos(next >= kSecondLogStart ? next - kLogProgressShift : next);
}

void SoftwareLoader::BroadcastLogRequest()
{
    QueueMessage(0, kLogRequest, {static_cast<uint8_t>(m_logBlock >> 8), static_cast<uint8_t>(m_logBlock & 0xFF)});
    m_logRetryCountdown = kLogRetryTicks;
}

void SoftwareLoader::EndLogReading()
{
    // The whole log is read: back to idle, so the dialog may close.
    m_logRetryCountdown = 0;
    m_state = 1;
}

// --- Service commands ---

SoftwareLoader::SensorDefaults SoftwareLoader::DefaultsForUnitType(int code)
{
    if (code >= 8 && code <= 10)
        return {1, 5, 5};
    if (code >= 24 && code <= 26)
        return {0, 1, 10};
    return {2, 20, 10};
}

bool SoftwareLoader::SetUnitId(int id)
{
    if (m_kind != kControllers && m_kind != kBControllers)
        return false;
    int slot = ((id - 1) % 20 + 2) / 2 + (id % 2 ? 30 : 40);
    uint8_t payload[] = {0x40, kSetId, static_cast<uint8_t>(id), 0x80, static_cast<uint8_t>(slot), 2};
    QueueBytes(0, payload, 7);
    for (int lane = m_first; lane <= m_last; ++lane) {
        QueueMessage(lane, kLoadCommand, {ModelByte(), kRestart, 0});
        SetKey(lane, kColState, loaderkeys::kWait);
        SetCell(lane, kColSent, platform::StringFormat("Sett ID=%d", id));
        SetCell(lane, kColReceived, "");
        SetCell(lane, kColComment, "");
    }
    return true;
}

bool SoftwareLoader::SensorSetup(int typeCode, int weaponClass, int length, int frequency, bool fallFigure)
{
    if (m_kind != kControllers && m_kind != kBControllers)
        return false;
    static const uint8_t kClassCode[3] = {2, 1, 0};  // Luft, Fin, Grov
    uint8_t classCode = kClassCode[weaponClass >= 0 && weaponClass <= 2 ? weaponClass : 2];
    int t = typeCode & 0x0F;
    Geometry g = kOtherGeometry;
    for (const Geometry& k : kGeometries)
        if (k.type == t)
            g = k;
    auto scaled = [](int v) { return (v * 32 + 5) / 10; };
    auto hi = [](int v) { return static_cast<uint8_t>((v >> 8) & 0xFF); };
    auto lo = [](int v) { return static_cast<uint8_t>(v & 0xFF); };
    int e = scaled(g.e), c = scaled(g.c), d = scaled(g.d), b = scaled(g.b);
    uint8_t fall = fallFigure ? 2 : typeCode == 17 ? 1 : 0;
    for (int lane = m_first; lane <= m_last; ++lane) {
        QueueMessage(lane, kSensorSettings,
                     {0x85, classCode, 0, static_cast<uint8_t>(length), static_cast<uint8_t>(frequency), 0, 0});
        QueueMessage(lane, kSensorGeometry,
                     {static_cast<uint8_t>(t), hi(e), lo(e), hi(c), lo(c), 0, static_cast<uint8_t>(g.a), hi(d), lo(d),
                      hi(b), lo(b), 13, fall, 0, 2});
        SetCell(lane, kColSent, "Sender sensordata");
    }
    for (int lane = m_first; lane <= m_last; ++lane)
        QueueMessage(lane, kConfigurationRequest, {});
    return true;
}

bool SoftwareLoader::SetLamps(int mode, int green, int red)
{
    if (m_kind != kControllers && m_kind != kBControllers)
        return false;
    for (int lane = m_first; lane <= m_last; ++lane) {
        uint8_t payload[] = {0x40,
                             kLamps,
                             static_cast<uint8_t>(lane),
                             static_cast<uint8_t>((lane - 1) / 5 + 1),
                             static_cast<uint8_t>(0x80 + (1 << ((lane - 1) % 5))),
                             0,
                             0,
                             0,
                             0x15,
                             static_cast<uint8_t>(mode),
                             static_cast<uint8_t>(green),
                             static_cast<uint8_t>(red)};
        QueueBytes(0, payload, 13);
        if (mode == 1)
            SetCell(lane, kColSent, "Gr\xF8nn=100%");
        else if (mode == 2)
            SetCell(lane, kColSent, "R\xF8" "d=100%");
        else
            for (int column = kColState; column <= kColComment; ++column)
                SetCell(lane, column, "");
    }
    return true;
}

bool SoftwareLoader::BandAdvance()
{
    if (m_kind != kControllers && m_kind != kBControllers)
        return false;
    QueueMessage(0, kBandAdvance, {1});
    for (int lane = m_first; lane <= m_last; ++lane)
        SetCell(lane, kColSent, "Fremtrekk");
    return true;
}

bool SoftwareLoader::FallFigure(const std::array<bool, 5>& figures)
{
    if (m_kind != kControllers && m_kind != kBControllers)
        return false;
    uint8_t bits = 0xE0;
    for (int k = 0; k < 5; ++k)
        if (figures[static_cast<size_t>(k)])
            bits = static_cast<uint8_t>(bits + (1 << k));
    QueueMessage(0, kFallFigure, {0x80, bits, 0xFF});
    for (int lane = m_first; lane <= m_last; ++lane)
        SetCell(lane, kColSent, "Fallfigur");
    return true;
}
