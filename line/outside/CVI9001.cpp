#include "line/outside/CVI9001.h"

#include "foundation/files/TextFile.h"
#include "platform/files/PrivateProfile.h"
#include "platform/system/Clock.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

const char* const kRciIni = ".\\RCI.INI";
const char* const kDadeIni = ".\\DADErevo.ini";
const char* const kBarCodeIni = ".\\BarCode.ini";
constexpr int kNotSet = 999;
constexpr int kPutTries = 6;
constexpr unsigned kPutPauseMs = 100;

// The outside system's program names by target type, and the range control's
// target type codes: one table for every command.
struct SkivetypeEntry {
    int code;
    const char* key;
};
const SkivetypeEntry kSkivetypes[10] = {
    {0, "DFS300"}, {1, "DFS200"}, {2, "DFS100"}, {3, "DFS15"}, {13, "NSF200"},
    {26, "NSF15"}, {73, "KVART"}, {75, "SMAEN"}, {33, "ELG"},  {32, "REIN"},
};

// Practice programs: setting key, default name, default number, target type code.
struct PracticeEntry {
    CVI9001::ProgramIndex index;
    const char* key;
    const char* name;
    int defaultNumber;
    int code;
};
const PracticeEntry kPractices[] = {
    {CVI9001::kDfs100, "DFS100", "N10", 3, 2},      {CVI9001::kDfs200, "DFS200", "A10", 4, 1},
    {CVI9001::kIssf200R, "ISSF200R", "A10R", 1, 17}, {CVI9001::kDfs300, "DFS300", "E10", 2, 0},
    {CVI9001::kIssf300, "ISSF300", "A10", 4, 16},   {CVI9001::kDvf, "DVF", "DVF-1", 5, 32},
};

const char* const kProgramKeys[5] = {"Proveskudd", "Enkeltskudd", "Serie", "ClearScreen", "ClearList"};
enum { kProve, kEnkelt, kSerie, kClearScreen, kClearList };

std::string Squeezed(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool StartsWith(const std::string& s, const std::string& head) { return s.compare(0, head.size(), head) == 0; }

int Int(const char* key, int defaultValue)
{
    return platform::GetPrivateProfileInt("BVLeder", key, defaultValue, kRciIni);
}

std::string Text(const char* section, const char* key, const char* defaultValue, const char* file)
{
    return platform::GetPrivateProfileString(section, key, defaultValue, file);
}

}  // namespace

CVI9001::CVI9001()
{
    for (int& p : m_programs)
        p = -1;
    ReadSettings();
    if (!Bind())
        return;
    m_range = m_rciCreate();
    if (m_range == 0) {
        BV_LOG(m_log, 90, "RCI_Create failed!");
        return;
    }
    int count = static_cast<int>(m_rciGetMaxChannel()) - 1;
    if (count < 1 || count > kMaxChannel) {
        BV_LOG(m_log, 80, "Illegal channel count %d!", count);
        count = kMaxChannel;
    }
    if (m_chTo >= kMaxChannel)
        m_chTo = count;
    if (m_chTo > count)
        m_chTo = count;
    if (m_chFrom > m_chTo) {
        BV_LOG(m_log, 80, "Channel from %d to %d not legal", m_chFrom, m_chTo);
        m_chFrom = m_chTo;
    }
    if (m_logAll)
        BV_LOG(m_log, 80, "Channel from %d to %d", m_chFrom, m_chTo);
    for (int c = m_chFrom; c <= m_chTo; ++c) {
        m_channels[c].handle = m_lciCreate(m_range, static_cast<uint16_t>(c));
        if (m_channels[c].handle == 0)
            BV_LOG(m_log, 80, "Failed to open channel=%d! ErrorCode=%d", c, m_rciGetLastError(m_range));
        else if (LogOn(c))
            BV_LOG(m_log, 80, "Channel %d opened", c);
    }
    m_rciSynchronizeRange();
    m_open = true;

    for (int c = m_chFrom; c <= m_chTo; ++c) {
        Channel& ch = m_channels[c];
        if (!ch.handle)
            continue;
        ch.protocol = m_lciGetProtocol(ch.handle);
        BV_LOG(m_log, 80, "Protocol of channel%d = %d", c, ch.protocol);
        if (m_protocolSetting == 2)
            m_protocol = kMark2;
        else if (m_protocolSetting == 3)
            m_protocol = kLon;
        else if (m_protocolSetting != 0)
            m_protocol = kMark1;
        else
            m_protocol = ch.protocol == 0 ? kMark2 : kMark1;  // the last open channel decides
        if (m_protocol == kMark2 && m_protocolName.empty())
            m_protocolName = "MARK2";
        if (m_protocol == kLon)
            m_protocolName = "LON";
        if (m_protocol == kMark2 || m_protocol == kLon) {
            PutCode(c, 0x40, 0x03);  // GetLane
            PutCode(c, 0x40, 0x04);
        }
    }
    m_rciSynchronizeRange();
    if (m_protocolName.empty())
        m_protocolName = "MARK1";

    if ((m_protocol == kMark2 || m_protocol == kLon) && m_version < 70)
        ReadProgramList();
    if (m_programs[kShoot] < 0)
        m_programs[kShoot] = 0;
    for (const PracticeEntry& p : kPractices)
        if (m_programs[p.index] < 0)
            m_programs[p.index] = p.defaultNumber;
    if (m_version >= 70)
        ReadBarCodes();

    if (m_protocol == kMark1) {
        for (int c = m_chFrom; c <= m_chTo; ++c)
            Map(c, c - m_chFrom + 1);
    } else if (m_logAll) {
        BV_LOG(m_log, 80, "Model is %d!", m_protocol);
    }
    if (m_logAll)
        for (int l = 1; l <= kMaxLane; ++l)
            if (m_lanes[l].channel >= 0 && LogOn(m_lanes[l].channel))
                BV_LOG(m_log, 80, "%02d:%02d Map definition", m_lanes[l].channel, l);
}

CVI9001::~CVI9001()
{
    for (int l = 1; l <= kMaxLane; ++l) {
        if (m_logAll && m_lanes[l].channel >= 0 && LogOn(m_lanes[l].channel))
            BV_LOG(m_log, 80, "%02d:%02d Map definition", m_lanes[l].channel, l);
        m_lanes[l].active = false;
    }
    UpdateControlModes();
    if (m_open) {
        for (int c = 0; c <= kMaxChannel; ++c) {
            if (!m_channels[c].handle)
                continue;
            m_lciDelete(m_channels[c].handle);
            m_channels[c].handle = 0;
            if (LogOn(c))
                BV_LOG(m_log, 80, "Channel %d Closed", c);
        }
        m_rciDelete(m_range);
    }
    m_library.Close();
}

void CVI9001::ReadSettings()
{
    m_logAll = Int("LogAll", 0) != 0;
    m_logPut = Int("LogPut", 0) != 0;
    m_logGet = Int("LogGet", 0) != 0;
    m_logCh = Int("LogCh", kNotSet);
    if (m_logCh > kMaxChannel || m_logCh < 0)
        m_logCh = -1;
    m_barCode = Int("BarCode", 0) != 0;
    m_chFrom = Int("ChFrom", 0);
    m_chTo = Int("ChTo", 99);
    if (m_chFrom < 0 || m_chFrom > kMaxChannel) {
        BV_LOG(m_log, 80, "ChFrom=%d not legal", m_chFrom);
        m_chFrom = 0;
    }
    if (m_chTo < m_chFrom || m_chTo > kMaxChannel) {
        BV_LOG(m_log, 80, "ChTo=%d not legal", m_chTo);
        m_chTo = kMaxChannel;
    }
    m_dll = Text("BVLeder", "DLL", "", kRciIni);
    m_protocolSetting = Int("Protocol", 0);
    m_rangeType = Int("RangeType", 4);
    m_demo = Int("Demo", 0);
    m_test = Int("Test", 0) != 0;
    m_shootName = Text("BVLeder", "Shoot", "SKIVE", kRciIni);
    m_programs[kShoot] = Int("ShootNr", kNotSet);
    for (const PracticeEntry& p : kPractices) {
        m_targetNames[p.index] = Text("BVLeder", p.key, p.name, kRciIni);
        m_programs[p.index] = Int((std::string(p.key) + "Nr").c_str(), kNotSet);
    }
    m_version = platform::GetPrivateProfileInt("SETTINGS", "SystemVersion", 0, kDadeIni);

    for (int l = 0; l <= kMaxLane; ++l) {
        m_lanes[l] = Lane{};
        int c = Int(("Lane" + std::to_string(l)).c_str(), kNotSet);
        if (c == kNotSet)
            continue;
        if (c < 0 || c > kMaxChannel)
            BV_LOG(m_log, 80, "Lane%d=%d: channel not legal", l, c);
        else
            Map(c, l);
    }
    for (int c = 0; c <= kMaxChannel; ++c) {
        m_channels[c] = Channel{};
        if (c < m_chFrom || c > m_chTo)
            continue;
        int l = Int(("Channel" + std::to_string(c)).c_str(), kNotSet);
        if (l != kNotSet)
            Map(c, l);
    }
    // Mapped lanes keep their channel in the lane table; the channel table was
    // cleared after the Lane keys, so each mapping is entered there again.
    for (int l = 1; l <= kMaxLane; ++l)
        if (m_lanes[l].channel >= 0)
            m_channels[m_lanes[l].channel].lane = l;
    m_mapLock = Int("MapLock", 0) != 0;
    for (int& p : m_programs)
        if (p == kNotSet)
            p = -1;
}

bool CVI9001::Bind()
{
    std::string name = m_dll;
    if (name.empty()) {
        bool sius = !Text("RCI_MarkII", "Name", "", kRciIni).empty() || !Text("RCI_Lon", "Name", "", kRciIni).empty();
        name = sius ? ".\\RCI2000" : ".\\RCIControl";
    }
    if (!m_library.Open(platform::SharedLibrary::InWorkingFolder(name))) {
        BV_LOG(m_log, 90, "Failed to load %s!", name.c_str());
        BV_LOG(m_log, 80, "%s", m_library.Error().c_str());
        return false;
    }
    m_rciCreate = reinterpret_cast<RciCreate>(m_library.Symbol("RCI_Create"));
    m_rciDelete = reinterpret_cast<RciHandle>(m_library.Symbol("RCI_Delete"));
    m_rciGetLastError = reinterpret_cast<RciHandle>(m_library.Symbol("RCI_GetLastError"));
    m_rciGetMaxChannel = reinterpret_cast<RciNone>(m_library.Symbol("RCI_GetMaxChannel"));
    m_rciSynchronizeRange = reinterpret_cast<RciNone>(m_library.Symbol("RCI_SynchronizeRange"));
    m_lciCreate = reinterpret_cast<LciCreate>(m_library.Symbol("LCI_Create"));
    m_lciDelete = reinterpret_cast<RciHandle>(m_library.Symbol("LCI_Delete"));
    m_lciGetProtocol = reinterpret_cast<RciHandle>(m_library.Symbol("LCI_GetProtocol"));
    m_lciReadyToGet = reinterpret_cast<RciHandle>(m_library.Symbol("LCI_ReadyToGet"));
    m_lciGet = reinterpret_cast<LciGet>(m_library.Symbol("LCI_Get"));
    m_lciReadyToPut = reinterpret_cast<RciHandle>(m_library.Symbol("LCI_ReadyToPut"));
    m_lciPut = reinterpret_cast<LciPut>(m_library.Symbol("LCI_Put"));
    if (!(m_rciCreate && m_rciDelete && m_rciGetLastError && m_rciGetMaxChannel && m_rciSynchronizeRange &&
          m_lciCreate && m_lciDelete && m_lciGetProtocol && m_lciReadyToGet && m_lciGet && m_lciReadyToPut &&
          m_lciPut)) {
        BV_LOG(m_log, 90, "Failed to link functions in %s", name.c_str());
        m_library.Close();
        return false;
    }
    return true;
}

void CVI9001::ReadProgramList()
{
    CTextFile file;
    if (file.Open(kDadeIni) != 0)
        return;
    const std::string shoot = "NAMESTR=" + Squeezed(m_shootName);
    int shootIndex = -1, practiceIndex = -1;
    bool inShoot = false, inPractice = false, named = false, found = false;
    for (int n = 1; n <= file.GetLineCount(); ++n) {
        std::string raw;
        if (file.GetLine(n, raw) != CTextFile::LineOk)
            break;
        std::string line = Squeezed(raw);
        if (StartsWith(line, "[SHOOT]")) {
            if (found)
                break;
            ++shootIndex;
            practiceIndex = -1;
            inShoot = true;
            inPractice = false;
            named = false;
            continue;
        }
        if (StartsWith(line, "[PRACTICE]")) {
            if (inShoot || inPractice) {
                ++practiceIndex;
                inPractice = true;
                inShoot = false;
            }
            continue;
        }
        if (StartsWith(line, "[")) {
            inShoot = inPractice = false;
            continue;
        }
        if (inShoot) {
            if (StartsWith(line, shoot))
                named = true;
            if (named && StartsWith(line, "MODES=")) {
                long modes = std::strtol(line.c_str() + 6, nullptr, 10);
                if (m_rangeType >= 0 && m_rangeType < 31 && (modes >> m_rangeType) & 1) {
                    m_programs[kShoot] = shootIndex;
                    found = true;
                }
            }
        } else if (inPractice && found && StartsWith(line, "NAMESTR=")) {
            for (const PracticeEntry& p : kPractices)
                if (m_programs[p.index] < 0 && StartsWith(line, "NAMESTR=" + Squeezed(m_targetNames[p.index])))
                    m_programs[p.index] = practiceIndex;
        }
    }
}

void CVI9001::ReadBarCodes()
{
    auto cut = [](std::string s) { return s.size() > 32 ? s.substr(0, 32) : s; };
    for (int i = 0; i < 5; ++i)
        m_program[i] = cut(Text("Program", kProgramKeys[i], "", kBarCodeIni));
    for (int i = 0; i < 10; ++i)
        m_skivetype[i] = cut(Text("Skivetype", kSkivetypes[i].key, "", kBarCodeIni));
}

bool CVI9001::LogOn(int channel) const { return m_logAll && (m_logCh == -1 || m_logCh == channel); }

int CVI9001::LaneOfChannel(int channel) const
{
    return channel >= 0 && channel <= kMaxChannel ? m_channels[channel].lane : -1;
}

int CVI9001::GetChannel(int lane) const { return lane >= 1 && lane <= kMaxLane ? m_lanes[lane].channel : -1; }

void CVI9001::Map(int channel, int lane)
{
    if (lane < 1 || lane > kMaxLane) {
        BV_LOG(m_log, 80, "Lane=%d not legal", lane);
        return;
    }
    if (m_mapLock || !LegalChannel(channel))
        return;
    // A lane or channel moved elsewhere leaves its old partner unmapped.
    if (int old = m_lanes[lane].channel; old >= 0 && old != channel)
        m_channels[old].lane = -1;
    if (int old = m_channels[channel].lane; old >= 1 && old != lane)
        m_lanes[old].channel = -1;
    m_lanes[lane].channel = channel;
    m_channels[channel].lane = lane;
    if (LogOn(channel))
        BV_LOG(m_log, 80, "%02d:%02d Mapped", channel, lane);
}

void CVI9001::SetLaneOnChannel(int lane, bool on)
{
    if (lane >= 1 && lane <= kMaxLane)
        m_lanes[lane].onChannel = on;
}

void CVI9001::SetLaneActive(int lane, bool active)
{
    if (lane >= 1 && lane <= kMaxLane)
        m_lanes[lane].active = active;
}

void CVI9001::SetLaneTargetType(int lane, int code)
{
    if (lane >= 1 && lane <= kMaxLane)
        m_lanes[lane].targetType = code;
}

void CVI9001::SetLaneShooter(int lane, int32_t id, const std::string& name)
{
    if (lane < 1 || lane > kMaxLane)
        return;
    m_lanes[lane].shooterId = id;
    m_lanes[lane].name = name.substr(0, 32);
}

bool CVI9001::IsRemote(int lane) const { return lane >= 1 && lane <= kMaxLane && m_lanes[lane].remote; }

void CVI9001::LogBytes(int channel, const char* what, const uint8_t* data, size_t size)
{
    char text[4 * 256 + 32];
    int at = std::snprintf(text, 32, "%02d:%02d %s=", channel, LaneOfChannel(channel), what);
    for (size_t i = 0; i < size && at < static_cast<int>(sizeof text) - 4; ++i)
        at += std::snprintf(text + at, 4, " %02X", data[i]);
    BV_LOG(m_log, 80, "%s", text);
}

int CVI9001::Put(int channel, const uint8_t* data, int length)
{
    if (!m_open || m_protocol <= kMark1)
        return kPutNoProtocol;
    if (!LegalChannel(channel)) {
        BV_LOG(m_log, 80, "Illegal channel %d!", channel);
        return kPutIllegal;
    }
    Channel& ch = m_channels[channel];
    if (!ch.handle) {
        if (m_logAll)
            BV_LOG(m_log, 80, "Channel is not open %d!", channel);
        return kPutNotOpen;
    }
    if ((m_logAll || m_logPut) && (m_logCh == -1 || m_logCh == channel))
        LogBytes(channel, "Put", data, static_cast<size_t>(length));
    for (int t = 0; t < kPutTries; ++t) {
        if (m_lciReadyToPut(ch.handle)) {
            if (m_lciPut(ch.handle, data, static_cast<uint16_t>(length)))
                return kPutDone;
            // Refused: a failure of its own, so the caller knows the
            // message did not go.
            BV_LOG(m_log, 80, "%02d:%02d Put failed (%d)!", channel, ch.lane, m_rciGetLastError(m_range));
            platform::SleepMs(kPutPauseMs);
            return kPutRefused;
        }
        if (LogOn(channel))
            BV_LOG(m_log, 80, "%02d:%02d Not ready to put", channel, ch.lane);
        platform::SleepMs(kPutPauseMs);
    }
    BV_LOG(m_log, 80, "%02d:%02d Put failed after 6 retries (%d)!", channel, ch.lane, m_rciGetLastError(m_range));
    return kPutIllegal;
}

int CVI9001::PutCode(int channel, uint8_t high, uint8_t low, const uint8_t* data, int size)
{
    uint8_t m[2 + 64] = {high, low};
    if (size > 64)
        size = 64;
    if (size > 0)
        std::memcpy(m + 2, data, static_cast<size_t>(size));
    return Put(channel, m, 2 + size);
}

int CVI9001::PutText(int channel, const std::string& text)
{
    std::string t = text.substr(0, 32);
    return PutCode(channel, 0x00, 0x6A, reinterpret_cast<const uint8_t*>(t.c_str()), static_cast<int>(t.size()) + 1);
}

int CVI9001::LaneChannel(int lane, const char* what, bool always)
{
    int c = GetChannel(lane);
    if (!LegalChannel(c)) {
        if (always || LogOn(c))
            BV_LOG(m_log, 80, "%02d:%02d %s", c, lane, what);
        return -1;
    }
    return c;
}

int CVI9001::PracticeOf(int targetType) const
{
    for (const PracticeEntry& p : kPractices)
        if (p.code == targetType)
            return m_programs[p.index];
    return 0;
}

const std::string& CVI9001::SkivetypeText(int targetType) const
{
    static const std::string kNone;
    for (int i = 0; i < 10; ++i)
        if (kSkivetypes[i].code == targetType)
            return m_skivetype[i];
    return kNone;
}

bool CVI9001::UpdateControlModes()
{
    bool changed = false;
    for (int l = 1; l <= kMaxLane; ++l) {
        Lane& lane = m_lanes[l];
        bool was = lane.remote;
        if (lane.remote && (!lane.onChannel || !lane.active))
            SetLocal(l);
        else if (!lane.remote && lane.onChannel && lane.active)
            SetRemote(l);
        changed = changed || lane.remote != was;
    }
    return changed;
}

void CVI9001::SetRemote(int lane)
{
    if (m_protocol <= kMark1)
        return;
    int c = LaneChannel(lane, "SetRemote for illegal channel", true);
    if (c < 0)
        return;
    if (LogOn(c))
        BV_LOG(m_log, 80, "%02d:%02d SetRemote", c, lane);
    int year = platform::Now().year;
    const uint8_t y[] = {static_cast<uint8_t>(year >> 8), static_cast<uint8_t>(year)};
    if (int r = PutCode(c, 0x00, 0x3A, y, 2))
        BV_LOG(m_log, 80, "%02d:%02d SetRemote.PutYear failed (%d)", c, lane, r);
    if (int r = PutCode(c, 0x40, 0x03))
        BV_LOG(m_log, 80, "%02d:%02d SetRemote.GetLane (%d) failed", c, lane, r);
    const uint8_t one = 1;
    if (int r = PutCode(c, 0x00, 0x04, &one, 1))
        BV_LOG(m_log, 80, "%02d:%02d SetRemote.PutControlMode failed (%d)", c, lane, r);
    const uint8_t demo = m_demo ? 1 : 0;
    if (int r = PutCode(c, 0x00, 0x0E, &demo, 1))
        BV_LOG(m_log, 80, "%02d:%02d SetRemote.PutDemoMode failed (%d)", c, lane, r);
    if (!BarCodeMode()) {
        const uint8_t t[] = {static_cast<uint8_t>(m_rangeType >> 8), static_cast<uint8_t>(m_rangeType)};
        if (int r = PutCode(c, 0x00, 0x0D, t, 2))
            BV_LOG(m_log, 80, "%02d:%02d SetRemote.PutRangeType failed (%d)", c, lane, r);
    }
    m_lanes[lane].remote = true;
}

void CVI9001::SetLocal(int lane)
{
    if (m_protocol <= kMark1)
        return;
    int c = LaneChannel(lane, "SetLocal for illegal channel", true);
    if (c < 0)
        return;
    if (LogOn(c))
        BV_LOG(m_log, 80, "%02d:%02d SetLocal", c, lane);
    const uint8_t zero = 0;
    if (int r = PutCode(c, 0x00, 0x04, &zero, 1))
        BV_LOG(m_log, 80, "SetLocal.PutControlMode failed (%d)", r);
    if (m_demo)
        if (int r = PutCode(c, 0x00, 0x0E, &zero, 1))
            BV_LOG(m_log, 80, "SetLocal.PutDemoMode failed (%d)", r);
    m_lanes[lane].remote = false;
}

int CVI9001::SetProgram(int lane, int shoot, int practice)
{
    if (m_protocol <= kMark1)
        return kPutNoProtocol;
    int c = LaneChannel(lane, "SetProgram for illegal channel", true);
    if (c < 0)
        return kPutIllegal;
    if (LogOn(c))
        BV_LOG(m_log, 80, "%02d:%02d SetProgram Shoot=%d Practice=%d", c, lane, shoot, practice);
    const uint8_t one = 1;
    if (int r = PutCode(c, 0x00, 0x04, &one, 1)) {
        BV_LOG(m_log, 80, "%02d:%02d SetProgram.PutControlMode failed (%d)", c, lane, r);
        return r;
    }
    if (!BarCodeMode()) {
        const uint8_t t[] = {static_cast<uint8_t>(m_rangeType >> 8), static_cast<uint8_t>(m_rangeType)};
        if (int r = PutCode(c, 0x00, 0x0D, t, 2)) {
            BV_LOG(m_log, 80, "%02d:%02d SetProgram.PutRangeType failed (%d)", c, lane, r);
            return r;
        }
        const uint8_t sp[] = {static_cast<uint8_t>(shoot >> 8), static_cast<uint8_t>(shoot),
                              static_cast<uint8_t>(practice >> 8), static_cast<uint8_t>(practice)};
        if (int r = PutCode(c, 0x00, 0x13, sp, 4)) {
            BV_LOG(m_log, 80, "%02d:%02d SetProgram.PutShootPractice failed (%d)", c, lane, r);
            return r;
        }
        return kPutDone;
    }
    const std::string& text = SkivetypeText(m_lanes[lane].targetType);
    if (text.empty())
        return kPutDone;
    return PutText(c, text);
}

int CVI9001::SetShooter(int lane, int32_t id, const std::string& name)
{
    if (m_protocol <= kMark1)
        return kPutNoProtocol;
    int c = LaneChannel(lane, "SetShooter for illegal channel", true);
    if (c < 0)
        return kPutIllegal;
    if (LogOn(c))
        BV_LOG(m_log, 80, "%02d:%02d SetShooter ID=%d Name=%s.", c, lane, id, name.c_str());
    // The outside system's displays know no Nordic letters.
    std::string folded = name.substr(0, 14);
    for (char& ch : folded) {
        switch (static_cast<unsigned char>(ch)) {
        case 0xC4: case 0xC6: ch = 'E'; break;
        case 0xC5: ch = 'A'; break;
        case 0xD8: ch = 'O'; break;
        case 0xE4: case 0xE6: ch = 'e'; break;
        case 0xE5: ch = 'a'; break;
        case 0xF8: ch = 'o'; break;
        default: break;
        }
    }
    if (int r = PutCode(c, 0x00, 0x00, reinterpret_cast<const uint8_t*>(folded.c_str()),
                        static_cast<int>(folded.size()) + 1)) {
        BV_LOG(m_log, 80, "%02d:%02d SetShooter.PutShooterName failed (%d)", c, lane, r);
        return r;
    }
    uint32_t u = static_cast<uint32_t>(id);
    const uint8_t i[] = {static_cast<uint8_t>(u >> 24), static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 8),
                         static_cast<uint8_t>(u)};
    if (int r = PutCode(c, 0x00, 0x01, i, 4)) {
        BV_LOG(m_log, 80, "%02d:%02d SetShooter.PutShooterID failed (%d)", c, lane, r);
        return r;
    }
    return kPutDone;
}

void CVI9001::StartSerie(int lane, int serie, int fireKind)
{
    if (m_protocol <= kMark1)
        return;
    int c = LaneChannel(lane, "StartSerie for illegal channel", true);
    if (c < 0)
        return;
    m_channels[c].testCounter = 2;
    if (LogOn(c))
        BV_LOG(m_log, 80, "%02d:%02d StartSerie Serie=%d FireKind=%d", c, lane, serie, fireKind);
    if (!BarCodeMode()) {
        const uint8_t k[] = {0, static_cast<uint8_t>(fireKind)};
        if (int r = PutCode(c, 0x00, 0x5D, k, 2))
            BV_LOG(m_log, 80, "StartSerie.PutFireKind failed (%d)", r);
        SetShooter(lane, m_lanes[lane].shooterId, m_lanes[lane].name);
        SetProgram(lane, m_programs[kShoot], PracticeOf(m_lanes[lane].targetType));
        return;
    }
    if (int r = PutText(c, m_program[kClearList]))
        BV_LOG(m_log, 80, "Clear List failed (%d)", r);
    if (int r = PutText(c, m_program[kClearScreen]))
        BV_LOG(m_log, 80, "ClearScreen failed (%d)", r);
    if (int r = PutCode(c, 0x40, 0x32))
        BV_LOG(m_log, 80, "SAMark.PutReplay failed (%d)", r);
}

int CVI9001::Mark(int lane, int serie, int fireKind)
{
    if (m_protocol <= kMark1)
        return kPutNoProtocol;
    int c = LaneChannel(lane, "Mark for illegal channel", true);
    if (c < 0)
        return kPutIllegal;
    if (LogOn(c))
        BV_LOG(m_log, 80, "%02d:%02d Mark Serie=%d FireKind=%d", c, lane, serie, fireKind);
    if (!BarCodeMode())
        return PutCode(c, 0x00, 0x5E);
    const std::string& text = m_program[fireKind == 1 ? kProve : fireKind == 2 ? kEnkelt : kSerie];
    if (int r = PutText(c, text))
        BV_LOG(m_log, 80, "StartSerie.PutFireKind failed (%d)", r);
    int r = PutCode(c, 0x40, 0x32);
    if (r)
        BV_LOG(m_log, 80, "SAMark.PutReplay failed (%d)", r);
    return r;
}

int CVI9001::NewRelay(int lane)
{
    if (m_protocol <= kMark1)
        return kPutNoProtocol;
    if (lane < 1 || lane > kMaxLane)
        return kPutIllegal;
    int practice = BarCodeMode() ? 0 : PracticeOf(m_lanes[lane].targetType);
    SetShooter(lane, m_lanes[lane].shooterId, m_lanes[lane].name);
    return SetProgram(lane, m_programs[kShoot], practice);
}

void CVI9001::ClearLane(int lane)
{
    if (m_protocol <= kMark1)
        return;
    int c = LaneChannel(lane, "ClearLane for illegal channel", true);
    if (c < 0)
        return;
    const std::string& text = SkivetypeText(m_lanes[lane].targetType);
    if (text.empty())
        return;
    if (PutText(c, m_program[kClearScreen]) && LogOn(c))
        BV_LOG(m_log, 80, "%02d:%02d ClearScreen failed", c, lane);
    if (PutText(c, m_program[kClearList]))
        BV_LOG(m_log, 80, "%02d:%02d ClearList failed", c, lane);
    PutText(c, text);
}

void CVI9001::PutRemote(int lane)
{
    if (m_protocol <= kMark1)
        return;
    int c = LaneChannel(lane, "SetRemote for illegal channel", true);
    if (c < 0)
        return;
    const uint8_t zero = 0;
    if (int r = PutCode(c, 0x00, 0x21, &zero, 1))
        BV_LOG(m_log, 80, "%02d:%02d PutRemote failed (%d)", c, lane, r);
    if (LogOn(c))
        BV_LOG(m_log, 80, "%02d:%02d SetRemote", c, lane);
}

int CVI9001::Simulated(int channel, OutsideEvent& event)
{
    Channel& ch = m_channels[channel];
    uint8_t m[6] = {};
    size_t size = 0;
    if (ch.testCounter <= 1) {
        int lane = channel + 1;
        const uint8_t f[] = {0x80, 0x03, static_cast<uint8_t>(lane >> 8), static_cast<uint8_t>(lane)};
        std::memcpy(m, f, sizeof f);
        size = 4;
    } else if (ch.testCounter == 2) {
        m[0] = 0x80;
        m[1] = 0x04;
        size = 4;
    } else {
        const uint8_t f[] = {0x80, 0x13, 0, 1, 0, 2};
        std::memcpy(m, f, sizeof f);
        size = 6;
    }
    ++ch.testCounter;
    int rc = event.Decode(m, size);
    if (event.code == OutsideEvent::kLaneReport)
        Map(channel, event.lane);
    return rc;
}

int CVI9001::Get(int channel, OutsideEvent& event)
{
    if (!LegalChannel(channel)) {
        BV_LOG(m_log, 80, "Illegal channel=%d!", channel);
        return kGotNothing;
    }
    if (!m_open) {
        BV_LOG(m_log, 80, "Object is not open!");
        return kGetNotOpen;
    }
    event = OutsideEvent{};
    Channel& ch = m_channels[channel];
    event.lane = static_cast<uint16_t>(ch.lane > 0 ? ch.lane : 0);
    if (m_test) {
        if (ch.testCounter <= 2 || ch.testCounter == 10)
            return Simulated(channel, event);
        if (ch.testCounter < 10)
            ++ch.testCounter;
    }
    if (!ch.handle)
        return m_logAll ? 1 : kGotNothing;
    if (!m_lciReadyToGet(ch.handle))
        return kGotNothing;
    uint8_t buffer[256] = {};
    uint16_t length = sizeof buffer;
    if (!m_lciGet(ch.handle, buffer, &length)) {
        if (m_logAll)
            BV_LOG(m_log, 80, "Failed to get message at %d", channel);
        return kGotNothing;
    }
    size_t size = length < sizeof buffer ? length : sizeof buffer;
    if ((m_logAll || m_logGet) && (m_logCh == -1 || m_logCh == channel))
        LogBytes(channel, "Get", buffer, size);
    int rc = event.Decode(buffer, size);
    if (event.code == OutsideEvent::kLaneReport || event.code == OutsideEvent::kLaneReportToo)
        Map(channel, event.lane);
    return rc;
}
