#include "results/data/Competition.h"

#include "foundation/files/BVLog.h"
#include "platform/files/FileSystem.h"
#include "platform/files/ProfileStore.h"
#include "results/data/CompetitionItems.h"
#include "results/data/DataFileOpen.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"

#include <algorithm>
#include <cstdio>

namespace results {

const ContextEntry kContextTable[kContextCount] = {
    {"Tab", 6},       {"TabAdm", 4},      {"TabPrize", 1},    {"Event", 1},       {"Day", 1},
    {"Relay", 1},     {"Target", 1},      {"TreeLevel", 1},   {"Serie", 1},       {"StartCol", 2},
    {"ResCol", 1},    {"ReportSel", 0},   {"ExchangeOff", 0}, {"WebExchange", 0}, {"WindowX0", 0},
    {"WindowX1", 800}, {"WindowY0", 0},   {"WindowY1", 600},
};

namespace {

constexpr const char* kContextSection = "Context";

// The program's folders beside the competition's: the exchange folder, the
// two web sites and the backups.
constexpr const char* kFolders[] = {".\\BV", nullptr, ".\\AWeb", ".\\Backup", ".\\PWeb", ".\\AWeb\\data",
                                    ".\\PWeb\\data"};

}  // namespace

CCompetition::CCompetition() { context.fill(0); }

CCompetition::~CCompetition()
{
    StopWorker();
    DropAllEvents();
}

void CCompetition::StopWorker()
{
    if (m_workerStarted && stopWorker)
        stopWorker(*this);
    m_workerStarted = false;
}

std::string CCompetition::Folder() const
{
    char folder[32];
    std::snprintf(folder, sizeof folder, ".\\Comp%d\\", competition);
    return folder;
}

bool CCompetition::MakeFolder(const std::string& path)
{
    if (platform::FolderExists(path))
        return true;
    BV_LOG(ProgramLog(), 70, "Can't find directory %s - tries to create!", path.c_str());
    return platform::CreateFolder(path) == 0;
}

int CCompetition::Open(int only)
{
    StopWorker();
    if (!platform::FolderExists(kCommonFolder)) {
        BV_LOG(ProgramLog(), 70, "Can't find directory .\\common tries to create!");
        platform::CreateFolder(kCommonFolder);
        if (platform::FileExists(kCommonFolder)) {
            BV_LOG(ProgramLog(), 90, ".\\common is a file");
            return -1;
        }
        if (!platform::FolderExists(kCommonFolder)) {
            BV_LOG(ProgramLog(), 90, "Can't find directory .\\common!");
            return -1;
        }
    }

    OpenSettingsFile(m_user, ".\\Common\\User.bvc");
    m_user.Refresh();
    competition = only > 0 ? only : ::ReadItem(m_user, UserItems::kCompetition);

    for (const char* folder : kFolders) {
        std::string path = folder ? std::string(folder) : Folder();
        if (!folder)
            path.pop_back();
        MakeFolder(path);
    }

    std::string base = Folder();
    OpenSettingsFile(m_comp, base + "Comp.bvc");
    OpenSettingsFile(m_exch, base + "Exch.bvc");
    OpenSettingsFile(m_web, base + "WEB.bvc");
    m_shooters.Open(base + "Shooter.bvd");
    OpenSettingsFile(m_team, base + "Team.bvc");
    m_teamMembers.SetSettings(&m_team);
    m_teamMembers.Open(base + "Team.bvd");
    m_startNr.Close();
    m_startNr.Open(base + "StartNr.bvd", 4, 1, 1, kDataFileOptions);

    LoadContext();
    if (context[kCtxTreeLevel] < 1)
        context[kCtxTreeLevel] = 1;

    orgType = ::ReadItem(m_comp, CompItems::kOrgType);
    awebOn = ::ReadItem(m_web, WebItems::kAWebOn);
    pwebOn = ::ReadItem(m_web, WebItems::kPWebOn);
    cardsOn = ::ReadItem(m_web, WebItems::kCardsOn);
    ftpOn = ::ReadItem(m_web, WebItems::kFtpOn) != 0;

    if (loadClubRegister)
        loadClubRegister(*this);
    if (startWorker) {
        m_workerStarted = true;
        startWorker(*this);
    }
    return 0;
}

int CCompetition::ChangeCompetition(int n)
{
    StopWorker();
    SaveContext();
    ::WriteItem(m_user, UserItems::kCompetition, n);
    DropAllEvents();
    m_shooters.Close();
    m_teamMembers.Close();
    int rc = Open();
    ::WriteItem(m_exch, ExchItems::kOn, 0);
    RefreshEvents();
    return rc;
}

void CCompetition::LoadContext()
{
    platform::ProfileStore& store = m_profile ? *m_profile : platform::Profile();
    for (int i = 0; i < kContextCount; ++i)
        context[static_cast<size_t>(i)] =
            store.GetInt(kContextSection, kContextTable[i].name, kContextTable[i].defaultValue);
}

void CCompetition::SaveContext()
{
    platform::ProfileStore& store = m_profile ? *m_profile : platform::Profile();
    for (int i = 0; i < kContextCount; ++i)
        store.WriteInt(kContextSection, kContextTable[i].name, context[static_cast<size_t>(i)]);
}

CDataEvent* CCompetition::GetEvent(int n)
{
    if (n < 1 || n > static_cast<int>(m_events.size()))
        return nullptr;
    return m_events[static_cast<size_t>(n) - 1].get();
}

CDataEvent* CCompetition::MakeEvent(int n)
{
    if (n < 1)
        return nullptr;
    if (static_cast<int>(m_events.size()) < n)
        m_events.resize(static_cast<size_t>(n));
    auto& slot = m_events[static_cast<size_t>(n) - 1];
    if (!slot)
        slot = std::make_unique<CDataEvent>();
    slot->SetNumber(n);
    slot->Bind(&m_comp, [this](int e) { return GetEvent(e); });
    return slot.get();
}

void CCompetition::DropEvent(int n)
{
    if (n >= 1 && n <= static_cast<int>(m_events.size()))
        m_events[static_cast<size_t>(n) - 1].reset();
}

void CCompetition::DropAllEvents()
{
    for (auto& slot : m_events)
        slot.reset();
    m_events.clear();
}

void CCompetition::RefreshEvents()
{
    m_comp.Refresh();
    int count = EventCount(m_comp);
    int last = std::max(count, static_cast<int>(m_events.size()));
    for (int n = 1; n <= last; ++n) {
        bool inUse = n <= count && ::ReadItem(m_comp, CompItems::EventInUse(n)) != 0;
        if (inUse && !GetEvent(n)) {
            CDataEvent* event = MakeEvent(n);
            event->OpenFiles(Folder());
            BV_LOG(ProgramLog(), 20, "Event %d created!", n);
            event->ApplySeriesType();
        } else if (!inUse && GetEvent(n)) {
            DropEvent(n);
            BV_LOG(ProgramLog(), 20, "Event %d deleted!", n);
        }
    }
}

int CCompetition::DeleteEvent(int n, std::string& refusal)
{
    refusal.clear();
    CDataEvent* event = GetEvent(n);
    if (event) {
        int relays = ::ReadItem(m_comp, CompItems::EventRelays(n));
        for (int r = 1; r <= relays; ++r) {
            if (::ReadItem(event->Settings(), EventItems::RelayNumber(r)) != 0) {
                refusal = TextDeleteTeamsFirst();
                return 1;
            }
        }
    }
    ::WriteItem(m_comp, CompItems::EventInUse(n), 0);
    return 0;
}

std::string CCompetition::GetClassName(int classNr)
{
    if (static_cast<int16_t>(classNr) <= 0)
        return {};
    return ::ReadItem(m_comp, CompItems::ClassName(static_cast<int16_t>(classNr)));
}

std::string CCompetition::GetEventName(int n) { return ::ReadItem(m_comp, CompItems::EventName(static_cast<int16_t>(n))); }

std::string CCompetition::ClassListText(const std::string& codes)
{
    std::string text;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i > 0)
            text += ",";
        text += GetClassName(static_cast<unsigned char>(codes[i]));
    }
    return text;
}

std::string CCompetition::CategoryLetters(const std::string& codes)
{
    std::string text;
    for (unsigned char c : codes)
        text += ::ReadItem(m_comp, CompItems::CategoryLetter(c));
    return text;
}

}  // namespace results
