#include "foundation/comp/DataComp.h"

#include "foundation/files/WriteBracket.h"
#include "foundation/settings/CompSettings.h"
#include "platform/system/Clock.h"
#include "platform/files/FileSystem.h"
#include "platform/files/NativeFile.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr int kHeaderSize = 8;

// Shot lists of the layouts before this one.
constexpr int16_t kShotSizeV1 = 10004;  // counter and 250 shots of 40 bytes
constexpr int16_t kShotSizeV2 = 13004;  // counter and 250 shots of 52 bytes
constexpr int kOldShotSize = 40;

// How long a conversion waits for other writers to finish: 40 x 25 ms.
constexpr int kConvertLockAttempts = 40;
constexpr unsigned kConvertLockPauseMs = 25;

struct FileKind {
    const char* name;
    int16_t size;
    int16_t version;
    bool cached;
    const char* incompatible;
};

const FileKind kFiles[] = {
    {"Active.BVD", CDataComp::kActiveSize, CDataComp::kActiveVersion, true,
     "Active.bvd and program versions are incompatible"},
    {"Card.BVD", CDataComp::kCardSize, CDataComp::kCardVersion, true,
     "Card.bvd and program versions are incompatible"},
    {"Name.BVD", CDataComp::kNameSize, CDataComp::kNameVersion, true,
     "Name.bvd and program versions are incompatible"},
    {"Shot.BVD", CDataComp::kShotSize, CDataComp::kShotVersion, false,
     "Shot.bvd and program versions are incompatible"},
};

template <typename T>
T Get(const uint8_t* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// One slot of a version-1 shot list in today's layout.
ShotRecord ConvertOldShot(const uint8_t* old)
{
    ShotRecord s {};
    uint8_t b28 = old[28];
    s.state = (b28 & 0x01) ? CDataComp::kSlotShot : (b28 & 0x20) ? 32 : (b28 & 0x02) ? 16 : CDataComp::kSlotShot;
    uint16_t word38 = Get<uint16_t>(old + 38);
    uint16_t flags = b28;
    if (word38 & 0x8000)
        flags |= 0x0200;
    if (old[36] & 0x80)
        flags |= CDataComp::kFlagMarked;
    if (old[37] & 0x04)
        flags |= CDataComp::kFlagFrame;
    if (old[37] & 0x08)
        flags |= 0x0100;
    s.flags = flags;
    s.x = Get<int32_t>(old + 0);
    s.y = Get<int32_t>(old + 4);
    s.radius = Get<int32_t>(old + 8);
    s.value = static_cast<int16_t>(old[31] * 10);
    s.data17 = old[12];
    s.temperature = Get<int16_t>(old + 16);
    s.orderOffset = 0;
    s.shotNumber = old[18];
    s.displayPos = old[19];
    s.century = old[20];
    s.year = old[21];
    s.month = old[22];
    s.day = old[23];
    s.hour = old[24];
    s.minute = old[25];
    s.second = old[26];
    s.hundredths = old[27];
    s.shotAt = Get<uint16_t>(old + 14);
    s.series = old[29];
    s.countingSeries = old[30];
    s.sensorA = old[32];
    s.sensorB = old[33];
    s.sensorC = old[34];
    s.sensorD = old[35];
    s.data41 = old[36] & 0x7F;
    s.data42 = 0;
    s.data43 = static_cast<uint8_t>(old[37] >> 4);
    s.data44 = old[36];
    s.data45 = Get<int16_t>(old + 38);
    s.sensorSet = 0;
    return s;
}

}  // namespace

CDataComp::CDataComp()
{
    ClearShots(m_shots);
    ClearName(m_nameRec);
    ClearCard(m_cardRec);
    ClearActive(m_activeRec);
}

CDataComp::~CDataComp() { Close(); }

void CDataComp::SetBasePath(const std::string& folder)
{
    m_base = folder.empty() ? ".\\" : folder;
    if (m_base.back() != '\\' && m_base.back() != '/')
        m_base += '\\';
}

std::string CDataComp::FolderOf(int competition) const { return CompSettings::FolderOf(m_base, competition); }

void CDataComp::ClearCard(CardRecord& card)
{
    std::memset(&card, 0, sizeof card);
    card.targetType = 255;
}

void CDataComp::ClearName(NameRecord& name) { std::memset(&name, 0, sizeof name); }

void CDataComp::ClearShots(ShotListRecord& list) { std::memset(&list, 0, sizeof list); }

void CDataComp::ClearActive(ActiveRecord& active)
{
    std::memset(&active, 0, sizeof active);
    active.seriesState = 129;
}

void CDataComp::Report(const std::string& text)
{
    BV_LOG(m_log, 90, "%s", text.c_str());
    if (reportIncompatible)
        reportIncompatible(text);
}

bool CDataComp::Confirm(const std::string& text)
{
    bool yes = confirmConversion ? confirmConversion(text) : true;
    BV_LOG(m_log, 70, "%s: %s", text.c_str(), yes ? "OK" : "Cancel");
    return yes;
}

// ---------------------------------------------------------------------------
// Opening

int CDataComp::Open(int competition, uint8_t create)
{
    if (m_open && competition == m_comp) {
        BV_LOG(m_log, 90, "Already open");
        m_options = CompSettings::ReadOptions(m_compConfig);
        return 0;
    }
    if (m_open) {
        BV_LOG(m_log, 90, "Already with another comp");
        Close();
    }
    m_comp = competition;
    m_writable = create != 0;
    m_compConfig.Open(CompSettings::FileOf(m_base, competition), create);
    m_progConfig.Open(m_base + "Program.BVC", create);

    OpenFile(File::Active, create);
    int card = OpenFile(File::Card, create);
    int name = OpenFile(File::Name, create);
    int shot = OpenFile(File::Shot, create);
    m_open = card == 0 || name == 0 || shot == 0;

    m_options = CompSettings::ReadOptions(m_compConfig);
    return shot;
}

int CDataComp::OpenFile(File which, uint8_t create)
{
    const FileKind& kind = kFiles[static_cast<int>(which)];
    CBVFileEx& file = which == File::Active ? m_active : which == File::Card ? m_card : which == File::Name ? m_name : m_shot;
    const std::string folder = FolderOf(m_comp);
    const std::string path = folder + "\\" + kind.name;
    uint8_t options = CBVFileEx::kUpdated | (kind.cached ? CBVFileEx::kCached : 0) | (create ? CBVFileEx::kWritable : 0);

    int rc = file.Open(path, kind.size, kind.version, 0, options);
    if (rc != 0 && rc != -99)
        rc = file.Open(path, kind.size, kind.version, create, options);
    if (rc != -99)
        return rc;

    // Another layout. Old ones are converted, by a writer only, in the
    // competition's own folder (the old file stays there as a backup); what
    // this program cannot read is reported and left closed, and the program
    // goes on without it.
    const int found = file.GetVersion();
    if (found > kind.version) {
        BV_LOG(m_log, 90, "File version is newer than program");
        Report(kind.incompatible);
        return -99;
    }
    switch (which) {
    case File::Active:
        if (create && found <= 0)
            rc = file.Convert(folder, kActiveSize, kActiveVersion);
        break;
    case File::Card:
        if (create && found == 1) {
            if (!Confirm(kCardConvertText))
                return -99;
            rc = file.Convert(folder, kCardSize, kCardVersion);
        }
        break;
    case File::Name:
        break;
    case File::Shot:
        if (!create)
            BV_LOG(m_log, 90, "File version are incompatible");
        if (create && (found == 1 || found == 2)) {
            if (!Confirm(kShotConvertText))
                return -99;
            if (ConvertShotFile(path, found) == 0)
                rc = file.Open(path, kind.size, kind.version, 0, options);
        }
        break;
    }
    if (rc != 0) {
        file.Close();
        Report(kind.incompatible);
    }
    return rc;
}

// Rewrites a shot file of version 1 or 2 in today's layout. The new file is
// made whole beside the old one and takes its place in one step, under the
// old one's lock: whatever happens, the name holds either the old file or
// the whole converted one, never one converted half-way. The old file stays
// as a backup in the competition's folder.
int CDataComp::ConvertShotFile(const std::string& path, int version)
{
    const char* p = path.c_str();
    platform::NativeFile old;
    if (int e = old.OpenExisting(path, platform::NativeFile::Access::ReadWrite); e != 0) {
        BV_LOG(m_log, 90, "Can't copy file %s with wrong verson %d", p, e);
        return -1;
    }
    int attempt = 0;
    while (old.TryLock(0, 4) != 0) {
        if (++attempt >= kConvertLockAttempts) {
            BV_LOG(m_log, 90, "WaitLock(%s) Too many attempts (%d/%d)", p, kConvertLockPauseMs, kConvertLockAttempts);
            return -1;
        }
        platform::SleepMs(kConvertLockPauseMs);
    }
    std::string bytes;
    int64_t size = old.Size();
    if (size >= kHeaderSize) {
        bytes.resize(static_cast<size_t>(size));
        if (old.ReadAt(bytes.data(), bytes.size(), 0) != static_cast<long>(bytes.size()))
            bytes.clear();
    }
    if (bytes.size() < kHeaderSize) {
        BV_LOG(m_log, 90, "Open.ReadVersion(%s)", p);
        return -1;
    }
    RecordFileHeader header;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (header.version == kShotVersion && header.recordSize == kShotSize)
        return 0;  // another program converted it while this one waited
    const int16_t oldSize = version == 1 ? kShotSizeV1 : kShotSizeV2;
    if (header.version != version || header.recordSize != oldSize) {
        BV_LOG(m_log, 70, "Open(%s) Wrong file version(%d/%d)", p, header.version, version);
        return -1;
    }

    std::string folder = platform::FolderOf(path);
    std::string backup = platform::MakeTempFile(folder.empty() ? "." : folder, "BVD");
    int error = backup.empty() ? EIO : platform::WriteFileAtomically(backup, bytes);
    if (error != 0) {
        BV_LOG(m_log, 90, "Can't copy file %s with wrong verson %d", p, error);
        return -1;
    }

    const size_t count = (bytes.size() - kHeaderSize) / static_cast<size_t>(oldSize);
    std::string converted(kHeaderSize + count * sizeof(ShotListRecord), '\0');
    RecordFileHeader newHeader{header.changeCounter, kShotSize, kShotVersion};
    std::memcpy(converted.data(), &newHeader, sizeof newHeader);
    for (size_t n = 0; n < count; ++n) {
        const auto* in = reinterpret_cast<const uint8_t*>(bytes.data() + kHeaderSize + n * oldSize);
        ShotListRecord list;
        ClearShots(list);
        std::memcpy(&list.updateCounter, in, 4);
        if (version == 2) {
            std::memcpy(list.shots, in + 4, sizeof list.shots);
        } else {
            for (int i = 0; i < kSlots; ++i) {
                const uint8_t* shot = in + 4 + i * kOldShotSize;
                if (shot[29] != 0)
                    list.shots[i] = ConvertOldShot(shot);
            }
        }
        std::memcpy(converted.data() + kHeaderSize + n * sizeof list, &list, sizeof list);
    }
    error = platform::WriteFileAtomically(path, converted);
    if (error != 0) {
        BV_LOG(m_log, 90, "Can't copy file %s with wrong verson %d", p, error);
        return -1;
    }
    BV_LOG(m_log, 70, "Convert(%s) %d lists from version %d", p, static_cast<int>(count), version);
    return 0;  // closing the old file releases its lock
}

void CDataComp::Close()
{
    m_active.Close();
    m_card.Close();
    m_name.Close();
    m_shot.Close();
    m_open = false;
}

// ---------------------------------------------------------------------------
// Cards and names

int CDataComp::FindCard(int relay, int lane, CardRecord& card)
{
    ClearCard(card);
    card.relay = static_cast<int16_t>(relay);
    card.lane = static_cast<int16_t>(StartNumberMode() ? 0 : lane);
    m_card.CacheVerify(0);
    if (m_card.ReadRecKey(&card) != 0)
        return 0;
    return m_card.LastKeyHit();
}

int CDataComp::ReadActive(int lane, ActiveRecord& active)
{
    ClearActive(active);
    active.lane = lane;
    m_active.CacheVerify(0);
    if (m_active.ReadRecKey(&active) != 0) {
        ClearActive(active);
        active.lane = lane;
        return -1;
    }
    return 0;
}

int CDataComp::ReadName(const CardRecord& card, NameRecord& name)
{
    ClearName(name);
    if (card.nameRec == 0)
        return -1;
    m_name.CacheVerify(0);
    if (m_name.ReadRec(card.nameRec, &name) != 0) {
        ClearName(name);
        return -1;
    }
    return 0;
}

void CDataComp::BumpLaneCounter(int lane, int relay)
{
    ActiveRecord active;
    if (lane != 0) {
        if (ReadActive(lane, active) == 0)
            m_active.IncrementField(m_active.LastKeyHit(), offsetof(ActiveRecord, changeCounter), 2);
        return;
    }
    for (int l = 1; l <= kMaxLane; ++l)
        if (ReadActive(l, active) == 0 && active.relay == relay)
            m_active.IncrementField(m_active.LastKeyHit(), offsetof(ActiveRecord, changeCounter), 2);
}

int CDataComp::StoreResultState(int relay, int lane, uint8_t state)
{
    if (!IsCardLane(lane))
        return -1;
    CWriteBracket bracket(m_card);
    if (!bracket.Held())
        return -1;
    CardRecord card;
    int cardNo = FindCard(relay, lane, card);
    int rc = -1;
    if (cardNo != 0) {
        card.resultState = state;
        rc = m_card.WriteRec(cardNo, &card) == 0 ? 0 : -1;
    }
    if (bracket.Finish() != 0)
        rc = -1;
    if (rc != 0)
        BV_LOG(m_log, 90, "Can't store the result state of %d:%d", relay, lane);
    return rc;
}

int CDataComp::GetCard(CardRecord& card, uint8_t create)
{
    const int lane = card.lane;
    int cardNo = 0;
    int result = LookUpCard(card, create, cardNo);
    if (cardNo > 0 && m_writable) {
        // The lane shows this card now; rewritten only when it showed another.
        CWriteBracket bracket(m_active);
        ActiveRecord before;
        if (bracket.Held() &&
            (ReadActive(lane, before) != 0 || before.cardRec != cardNo || before.relay != card.relay)) {
            ClearActive(m_activeRec);
            m_activeRec.lane = lane;
            m_activeRec.relay = card.relay;
            m_activeRec.cardRec = static_cast<int16_t>(cardNo);
            if (m_active.WriteRecKey(&m_activeRec) != 0)
                BV_LOG(m_log, 90, "Can't update ACTIVE.BVD record for lane %d", lane);
        }
    }
    return result;
}

int CDataComp::FindOrMakeCard(CardRecord& card)
{
    int cardNo = 0;
    return LookUpCard(card, 1, cardNo);
}

int CDataComp::LookUpCard(CardRecord& card, uint8_t create, int& cardNo)
{
    const int lane = card.lane;
    cardNo = 0;
    if (!IsLane(lane)) {
        BV_LOG(m_log, 80, "GetCard(%d:%d) Illegal lane", card.relay, lane);
        return -1;
    }
    if (StartNumberMode())
        card.lane = 0;

    // One bracket for the look-up and the creation: of two programs asking
    // for the same new card at once, one makes it and the other finds it. A
    // look-up alone takes no lock (readers have their files read-only).
    std::optional<CWriteBracket> bracket;
    if (create)
        bracket.emplace(m_card);
    if (bracket && !bracket->Held()) {
        // A reader's read-only file cannot be locked for writing either.
        if (create) {
            BV_LOG(m_log, 90, "Can't create CARD.BVD record");
            card.relay = 0;
        }
        card.lane = static_cast<int16_t>(lane);
        return -1;
    }
    m_card.CacheVerify(0);
    CardRecord found;
    ClearCard(found);
    found.relay = card.relay;
    found.lane = card.lane;
    int result = 0;
    if (m_card.ReadRecKey(&found) == 0) {
        card = found;
        cardNo = m_card.LastKeyHit();
    } else if (!create) {
        result = -1;
    } else if (m_card.WriteRecKey(&card) != 0) {
        BV_LOG(m_log, 90, "Can't create CARD.BVD record");
        card.relay = 0;
        result = -2;
    } else {
        result = 1;
        found = card;
        m_card.ReadRecKey(&found);
        card = found;
        cardNo = m_card.LastKeyHit();
        m_cardRec = card;
        m_cardRec.resultState = 0;
    }
    bracket.reset();
    card.lane = static_cast<int16_t>(lane);
    return result;
}

int CDataComp::DeleteName(int relay, int lane)
{
    CardRecord card;
    if (!IsLane(lane) || FindCard(relay, lane, card) == 0) {
        BV_LOG(m_log, 90, "Card rec not found!");
        return -1;
    }
    if (card.nameRec == 0)
        return -1;
    CWriteBracket bracket(m_name);
    if (!bracket.Held())
        return -1;
    ClearName(m_nameRec);
    int rc = m_name.WriteRec(card.nameRec, &m_nameRec);
    if (bracket.Finish() != 0)
        rc = -1;
    if (rc != 0) {
        BV_LOG(m_log, 90, "Failed to modify name rec!");
        return -1;
    }
    BumpLaneCounter(lane, relay);
    return 0;
}

int CDataComp::StoreName(int relay, int lane, const NameRecord& name)
{
    if (!IsLane(lane)) {
        BV_LOG(m_log, 90, "Card rec not found!");
        return -1;
    }
    // The card is read and, for a first name, pointed at its new NameRecord
    // in one bracket, so that two programs naming the card at once make one
    // NameRecord and not two.
    CWriteBracket bracket(m_card);
    if (!bracket.Held())
        return -1;
    CardRecord card;
    int cardNo = FindCard(relay, lane, card);
    int rc = 0;
    if (cardNo == 0) {
        BV_LOG(m_log, 90, "Card rec not found!");
        rc = -1;
    } else if (card.nameRec != 0) {
        rc = m_name.WriteRec(card.nameRec, &name);
    } else {
        int n = 0;
        rc = m_name.AddRec(n, &name);
        if (rc == 0 && (n < 1 || n > 0xFFFF))
            rc = -1;
        if (rc == 0) {
            card.nameRec = static_cast<uint16_t>(n);
            rc = m_card.WriteRec(cardNo, &card);
        }
    }
    if (bracket.Finish() != 0)
        rc = -1;
    if (rc != 0 && cardNo != 0)
        BV_LOG(m_log, 90, "Failed to modify name rec!");
    return rc == 0 ? 0 : -1;
}
