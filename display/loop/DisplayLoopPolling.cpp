// The display loop's file work: which settings and range files changed, the
// profile's pictures, the current picture's targets and events, and each
// target's active record, card and names.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "display/loop/DisplayLoop.h"
#include "display/settings/VisSettings.h"
#include "foundation/exchange/BVExch.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/SystemPath.h"

namespace {

// The range control's current competition; -1 when it names none.
constexpr ConfigIntItem kRangeCompetition{1, 1, 680, -1};
constexpr ConfigIntItem kDistanceItem{2, 1, 5, -1};
constexpr ConfigIntItem kSimulatedDistanceItem{2, 1, 6, -1};

// Base ViewFlags of a new target by ViewType.
struct ViewTypeRow {
    int base;
    int fromPicture;  // bits of the picture's flags it takes
    bool names;       // takes the picture's name bits
};
constexpr ViewTypeRow kViewTypes[] = {
    {0x30300, 0, true},         // face with shot list, series sum and total
    {0x10000, 0, false},        // face only
    {0x3340, 0x20090, true},    // list row
    {0x1040, 0, true},          // lane and sub-sums
};

void CopyText(char* to, size_t size, const std::string& text) { std::snprintf(to, size, "%s", text.c_str()); }

}  // namespace

int DisplayLoop::NewViewFlags(int viewType, int pictureFlags, bool showPlace)
{
    // Any other kind shows nothing of its own.
    constexpr ViewTypeRow kOther{0, 0, true};
    const ViewTypeRow& row = viewType >= 0 && viewType <= 3 ? kViewTypes[viewType] : kOther;
    int flags = row.base | (pictureFlags & row.fromPicture);
    if (row.names)
        flags |= pictureFlags & 0xF;
    if (showPlace)
        flags |= ViewBits::kPlace;
    else
        flags &= ~ViewBits::kPlace;
    CVisTarget t(0);
    t.viewType = viewType;
    t.viewFlags = flags;
    NormaliseViewFlags(t);
    return t.viewFlags;
}

int DisplayLoop::NormaliseViewFlags(CVisTarget& t)
{
    int old = t.viewFlags;
    int& f = t.viewFlags;
    bool named = f & (ViewBits::kName | ViewBits::kClub);
    if (f & ViewBits::kFace) {
        f &= ~ViewBits::kLane;
        if (t.viewType != 1 && !named)
            f |= ViewBits::kName;
    } else {
        if (!(f & (ViewBits::kPlace | ViewBits::kLane)))
            f |= ViewBits::kLane;
        if (!named)
            f |= ViewBits::kName;
        f |= ViewBits::kTotal;
    }
    return f != old ? 1 : 0;
}

void DisplayLoop::LookFailed(CVisEvent& e)
{
    if (++e.failedLooks < CVisEvent::kLostAfter || e.lost)
        return;
    // The range folder is gone (or unreadable): its targets say so instead of
    // showing what they held last. The Config interval tries to open it again.
    BV_LOG(m_log, 80, "Range folder %s lost", e.rangeFolder.c_str());
    e.lost = true;
    e.data.Close();
    e.dataOpen = false;
    if (m_data.current)
        for (auto& t : m_data.current->targets)
            if (t->event == &e)
                t->SetError("IDS_ERROR_NOBVLEDER");
}

int DisplayLoop::PollSources()
{
    CVisPicture* pic = m_data.current;
    const bool configDue = Elapsed(configCounter);
    if (m_data.rebuild || configDue) {
        bool changed = m_data.settings.Refresh() > 0;
        changed = (m_data.profiles.Refresh() > 0) || changed;
        if (pic && (pic->type == CVisPicture::kTargets || pic->type == CVisPicture::kNettcast) &&
            pic->store.IsOpen())
            changed = (pic->store.Refresh() > 0) || changed;
        if (changed)
            m_data.rebuild = true;
        if (configDue) {
            // A lost range folder is looked for again; when it is back the
            // picture loads afresh.
            for (auto& e : m_data.events) {
                if (!e->lost)
                    continue;
                e->rangeSettings.Open(platform::JoinSystemPath(e->rangeFolder, "BVLeder.bvc"), 0);
                int comp = e->rangeSettings.IsOpen() ? ReadItem(e->rangeSettings, kRangeCompetition) : -1;
                if (comp >= 0) {
                    e->data.SetBasePath(e->rangeFolder);
                    if (e->data.Open(comp, 0) == 0 && e->data.IsOpen()) {
                        e->lost = false;
                        e->failedLooks = 0;
                        e->competition = -1;
                        m_data.rebuild = true;
                    } else {
                        e->data.Close();
                    }
                }
            }
        }
        if (m_data.rebuild) {
            configCounter.Reset();
            return 1;
        }
    }
    if (!pic)
        return -1;
    if (pic->type == CVisPicture::kHtml)
        return 0;
    const bool shotDue = Elapsed(shotCounter);
    const bool nameDue = Elapsed(nameCounter);
    for (auto& e : m_data.events) {
        e->shotCheck = 0;
        if (configDue)
            e->rangeSettingsState = 0;
    }
    for (auto& tp : pic->targets) {
        CVisTarget& t = *tp;
        CVisEvent* e = t.event;
        if (!e) {
            t.relayout = true;
            continue;
        }
        if (configDue && e->rangeSettingsState == 0 && !e->lost) {
            bool any = false;
            if (!e->filesChanged) {
                int r = e->rangeSettings.Refresh();
                if (r < 0)
                    LookFailed(*e);
                if (r > 0) {
                    any = true;
                    if (ReadItem(e->rangeSettings, kRangeCompetition) != e->competition)
                        m_data.rebuild = true;
                }
                if (!any && e->data.IsOpen())
                    any = e->data.CompConfig().Refresh() > 0;
                if (!any)
                    any = e->programs.Refresh() > 0;
            }
            e->rangeSettingsState = any ? 1 : -1;
        }
        if (e->filesChanged)
            t.relayout = true;
        if (t.relayout || nameDue)
            t.namesDue = true;
        if (t.relayout)
            continue;
        // The event's files are looked at even when its targets all show an
        // error: a lane the range control gives a card later is seen then.
        if (e->shotCheck == 0 && e->data.IsOpen()) {
            int r = 0;
            if (shotDue) {
                int a = e->data.ActiveFile().CacheVerify(1);
                int s = ShotFileMoved(*e);
                r = a < 0 || s < 0 ? -1 : (a > 0 || s > 0 ? 1 : 0);
                // A first shot gives the card its shot list: the card changed too.
                if (r > 0)
                    e->data.CardFile().CacheVerify(1);
            } else if (configDue) {
                r = e->data.CardFile().CacheVerify(1);
            }
            if (r < 0) {
                // What this look saw is not taken as seen: the next look compares afresh.
                e->shotFileCounter = 0;
                LookFailed(*e);
            }
            else if (shotDue || configDue)
                e->failedLooks = 0;
            e->shotCheck = r > 0 ? 1 : -1;
        }
        if (t.HasError())
            continue;
        if (e->shotCheck == 1 || t.shotsIncomplete)
            t.shotsChanged = true;
    }
    for (auto& e : m_data.events)
        e->filesChanged = false;
    return 0;
}

int DisplayLoop::ShotFileMoved(CVisEvent& e)
{
    CBVFileEx& f = e.data.ShotFile();
    int32_t counter = 0;
    if (f.CheckOpen() != 0)
        return -1;
    int rc = f.ReadData(&counter, 0, 4);
    f.CheckClose(0);
    if (rc != 0)
        return -1;
    if (counter == e.shotFileCounter)
        return 0;
    e.shotFileCounter = counter;
    return 1;
}

void DisplayLoop::OpenEventData(CVisEvent& e)
{
    if (e.data.IsOpen())
        e.data.Close();
    e.data.SetBasePath(e.rangeFolder);
    e.data.Open(e.competition, 0);
    e.programs.SetBasePath(e.rangeFolder);
    e.programs.OpenFiles(true);
}

void DisplayLoop::ReadRangeSettings(CVisEvent& e)
{
    CBVConfig& rs = e.rangeSettings;
    CBVConfig& comp = e.data.CompConfig();
    e.exchangeFolder = CRangeSettings::ExchangeFolderIn(rs, e.rangeFolder);
    e.rangeComputer = ReadItem(rs, RangeItems::kComputerName);
    e.prefix = ReadItem(comp, CompSettings::kPrefix);
    e.resultsProgram = ReadItem(rs, RangeItems::kResultsProgram);
    e.startScore = ReadItem(comp, CompSettings::kStartScore) != 0;
    e.program = ReadItem(comp, CompSettings::kProgram);
    e.data.SetCurrentProgram(e.program);
    e.startNumbers = e.data.StartNumberMode();
    e.subCount = e.programs.GetSubCount(e.program);
    e.longestSeries = 0;
    e.seriesWithShots = 0;
    for (int s = 1; s <= CDataComp::kMaxSeries; ++s) {
        int n = PlannedShots(e.programs, s, e.program);
        if (n > e.longestSeries)
            e.longestSeries = n;
        if (n > 0)
            ++e.seriesWithShots;
    }
    // Shots per line of the series sums: a series that would need twenty
    // lines or more is shown by tens, so no line falls outside the table.
    int size = std::min(e.programs.GetSize(e.program), CDataComp::kSlots);
    e.shotsPerLine = size < 1 ? 1 : size;
    if (e.longestSeries / e.shotsPerLine >= 20)
        e.shotsPerLine = 10;
    int d = ReadItem(comp, kDistanceItem), sim = ReadItem(comp, kSimulatedDistanceItem);
    e.distanceScale = d > 0 && sim > 0 ? static_cast<double>(sim) / d : 1.0;
    e.superMode = ReadItem(comp, CompSettings::kSuperFinal);
    e.rangeEquipment = ReadItem(rs, RangeItems::kExternalEquipment);
    int equipment = e.programs.GetEquipment(e.program);
    e.timedShots = e.rangeEquipment == 1 && (equipment == 1 || equipment == 129);
    e.runNumbers = e.rangeEquipment == 2;
}

int DisplayLoop::LoadPicture()
{
    CBVConfig& profiles = m_data.profiles;
    // 1. The profile's pictures.
    if (!m_data.current || m_data.rebuild) {
        int place = m_data.current ? m_data.current->place : 0;
        m_data.RemoveAllPictures();
        // The profile's name goes with its pictures: the title shows it from the first picture on.
        CopyText(m_data.profileName, sizeof m_data.profileName,
                 ReadItem(profiles, VisItems::ProfileName(m_data.profile)));
        int places = ReadItem(profiles, VisItems::ProfilePlaces(m_data.profile));
        for (int i = 1; i <= places && i <= 999; ++i) {
            CVisPicture& p = m_data.AddPicture(i);
            CBVConfig& s = m_data.settings;
            p.nettcastFolder = VisItems::ReadLongItem(s, 31, 1, VisItems::kNettcastFolderKey).substr(0, 259);
            p.ftpFolder = VisItems::ReadLongItem(s, 31, 1, VisItems::kFtpFolderKey).substr(0, 259);
            p.ftpServer = ReadItem(s, VisItems::kFtpServer);
            p.ftpUser = ReadItem(s, VisItems::kFtpUser);
            p.ftpPassword = ReadItem(s, VisItems::kFtpPassword);
            p.number = ReadItem(profiles, VisItems::PlacePicture(m_data.profile, i));
            if (i == place)
                m_data.current = &p;
        }
        if (!m_data.current && !m_data.pictures.empty())
            m_data.current = m_data.pictures.front().get();
        if (!m_data.current) {
            m_data.SetError("IDS_ERROR_NOPICT");
            return -1;
        }
        m_data.rebuild = true;
    }
    CVisPicture& pic = *m_data.current;
    const bool shotDue = Elapsed(shotCounter);
    const bool configDue = Elapsed(configCounter);

    // 2. The final is over when the range control's final record has no relay.
    if (pic.finalLock && shotDue && !pic.targets.empty()) {
        CVisEvent* e = pic.targets.front()->event;
        if (e && e->data.IsOpen()) {
            ActiveRecord f;
            CDataComp::ClearActive(f);
            f.lane = 0;
            if (e->data.ActiveFile().ReadRecKey(&f) == 0 && f.relay == 0) {
                m_data.rebuild = true;
                pic.finalLock = false;
            }
        }
    }

    // 3. The current picture from its file.
    if (m_data.rebuild || !pic.store.IsOpen()) {
        pic.RemoveAllTargets();
        pic.finalLock = false;
        for (auto& e : m_data.events)
            e->rangeSettingsState = 0;
        char path[32];
        std::snprintf(path, sizeof path, ".\\Pict%d.bvc", pic.number);
        if (!pic.store.IsOpen())
            pic.store.Open(path, 0);
        if (!pic.store.IsOpen()) {
            pic.SetError("IDS_ERROR_NOPICTCONFIG");
            return -1;
        }
        CBVConfig& ps = pic.store;
        CopyText(pic.name, sizeof pic.name, ReadItem(ps, VisItems::kPictName));
        pic.type = ReadItem(ps, VisItems::kPictType);
        // A display time longer than a day is a typing error; it is kept to a day.
        pic.displayTime = std::clamp(ReadItem(profiles, VisItems::PlaceSeconds(m_data.profile, pic.place)), 0, 86400);
        pic.exportTime = pic.displayTime;
        int ticks = pic.displayTime * 10;
        pictCounter.Init(ticks < 1 ? 1 : ticks, true, true);
        SetDisplayTitle();
        if (pic.type == CVisPicture::kHtml) {
            pic.htmlFile = VisItems::ReadLongItem(ps, VisItems::kHtmlFileSection, 1, VisItems::kHtmlFileKey);
            if (pic.htmlFile.size() < 5)
                pic.SetError("IDS_ERROR_NOHTML");
            return 0;
        }
        pic.errorKey[0] = 0;
        for (CGraphicStyle* st : {&pic.baseStyle, &pic.headerStyle}) {
            st->BackColour = static_cast<uint32_t>(ReadItem(ps, VisItems::PictColour(VisItems::kBackground)));
            st->TextColour = static_cast<uint32_t>(ReadItem(ps, VisItems::PictColour(VisItems::kText)));
        }
        pic.baseStyle.Options = 3;
        pic.baseStyle.Frame = 4;
        pic.noFinal = ReadItem(ps, VisItems::kNoFinal) != 0;
        pic.estimateMode = ReadItem(ps, VisItems::kEstimateMode);
        pic.showPlace = ReadItem(ps, VisItems::kShowPlace) != 0;
        pic.oneShot = ReadItem(ps, VisItems::kOneShot) != 0;
        pic.showClock = ReadItem(ps, VisItems::kShowClock) != 0;
        for (int k = VisItems::kBackground; k <= VisItems::kHighlight; ++k)
            pic.colours[k] = static_cast<uint32_t>(ReadItem(ps, VisItems::PictColour(k)));
        LoadTargets(pic);
    }

    // 4. The final lock.
    if (shotDue && !pic.noFinal && !pic.finalLock)
        CheckFinalLock(pic);

    // 5. The events' range settings.
    if (configDue || m_data.rebuild) {
        for (auto& e : m_data.events) {
            if (e->rangeSettingsState == -1 && !m_data.rebuild)
                continue;
            if (e->competition >= 0 && e->data.IsOpen()) {
                bool changed = e->rangeSettings.Refresh() > 0;
                changed = (e->data.CompConfig().Refresh() > 0) || changed;
                changed = (e->programs.Refresh() > 0) || changed;
                if (changed)
                    e->rangeSettingsState = 1;
                ReadRangeSettings(*e);
            }
            e->dataOpen = e->data.IsOpen();
        }
    }

    // 6. The targets.
    StepTargets(pic);
    // 7, 8, 9.
    for (auto& e : m_data.events)
        e->rangeSettingsState = -1;
    OneShotWindow(pic);
    return 0;
}

int DisplayLoop::LoadTargets(CVisPicture& pic)
{
    // A Nettcast picture writes its index files again for the targets loaded.
    m_data.nettcast.indexDue = true;
    CBVConfig& ps = pic.store;
    int flags = ReadItem(ps, VisItems::kPictureFlags);
    int count = ReadItem(ps, VisItems::kTargetCount);
    for (int i = 1; i <= count && i <= 999; ++i) {
        int lane = ReadItem(ps, VisItems::SlotLane(i));
        if (lane == 0)
            continue;
        CVisTarget& t = pic.AddTarget(i);
        t.eventNumber = ReadItem(ps, VisItems::SlotEvent(i));
        t.lane = lane;
        t.values[CVisTarget::kValLane].number = lane;
        CopyText(t.zoomText, sizeof t.zoomText, ReadItem(ps, VisItems::SlotZoom(i)));
        t.viewType = ReadItem(ps, VisItems::SlotViewType(i));
        t.viewFlags = NewViewFlags(t.viewType, flags, pic.showPlace);
        if (!CDataComp::IsLane(lane))
            t.SetError("IDS_ERROR_NOACTIVE");

        CVisEvent* e = m_data.FindEvent(t.eventNumber);
        if (!e) {
            e = &m_data.AddEvent(t.eventNumber);
            e->rangeSettingsState = 0;
            CopyText(e->name, sizeof e->name, ReadItem(m_data.settings, VisItems::EventName(t.eventNumber)));
            e->rangeFolder =
                VisItems::ReadLongItem(m_data.settings, 3, t.eventNumber, VisItems::kEventFolderKey);
            e->rangeSettings.Open(platform::JoinSystemPath(e->rangeFolder, "BVLeder.bvc"), 0);
        }
        t.event = e;
        if (e->rangeSettingsState == 0) {
            int state = -1;
            int comp = -1;
            if (e->rangeSettings.IsOpen()) {
                if (e->rangeSettings.Refresh() > 0)
                    state = 1;
                comp = ReadItem(e->rangeSettings, kRangeCompetition);
            }
            if (comp != e->competition)
                state = 1;
            e->competition = comp;
            if (comp >= 0 && (state == 1 || !e->data.IsOpen())) {
                OpenEventData(*e);
                state = 1;
            }
            e->rangeSettingsState = state;
            t.relayout = true;
        }
    }
    return 0;
}

void DisplayLoop::CheckFinalLock(CVisPicture& pic)
{
    for (auto& tp : pic.targets) {
        CVisTarget& t = *tp;
        CVisEvent* e = t.event;
        if (t.slot <= 0 || !e || !e->data.IsOpen())
            continue;
        ActiveRecord f;
        CDataComp::ClearActive(f);
        f.lane = 0;
        if (e->data.ActiveFile().ReadRecKey(&f) != 0 || f.relay == 0)
            continue;
        pic.finalLock = true;
        CVisTarget* keep = &t;
        std::erase_if(pic.targets, [keep](const auto& p) { return p.get() != keep; });
        keep->viewFlags = 0x30307;
        keep->redrawMask = -1;
        keep->faceRedraw = keep->listRedraw = true;
        keep->relayout = true;
        m_data.rebuild = true;
        return;
    }
}

bool DisplayLoop::FindFinalLane(CVisEvent& e, const ActiveRecord& f, int& lane, int& cardRec)
{
    CBVFileEx& cards = e.data.CardFile();
    CardRecord key;
    CDataComp::ClearCard(key);
    key.relay = f.relay;
    if (e.startNumbers) {
        // The final record names the start number; the lane is the one
        // whose active record holds it.
        key.lane = 0;
        lane = 0;
        ActiveRecord a;
        for (int l = 1; l <= CDataComp::kMaxLane && lane == 0; ++l) {
            CDataComp::ClearActive(a);
            a.lane = l;
            if (e.data.ActiveFile().ReadRecKey(&a) == 0 && a.relay == f.relay)
                lane = l;
        }
    } else {
        lane = f.cardRec;
        key.lane = static_cast<int16_t>(lane);
    }
    int n = cards.FindKey(&key);
    cardRec = n > 0 ? n : 0;
    return CDataComp::IsLane(lane);
}

int DisplayLoop::ReadTargetRecords(CVisPicture& pic, CVisTarget& t)
{
    CVisEvent& e = *t.event;
    ActiveRecord a;
    CDataComp::ClearActive(a);
    a.lane = pic.finalLock ? 0 : t.lane;
    if (e.data.ActiveFile().ReadRecKey(&a) != 0) {
        t.SetError("IDS_ERROR_NOACTIVE");
        return -1;
    }
    if (pic.finalLock) {
        int lane = 0, cardRec = 0;
        if (FindFinalLane(e, a, lane, cardRec)) {
            if (lane != t.lane) {
                t.relayout = t.faceRedraw = t.listRedraw = true;
                t.lane = lane;
            }
        }
        a.cardRec = static_cast<int16_t>(cardRec);
    }
    if (a.cardRec != t.active.cardRec) {
        CDataComp::ClearCard(t.card);
        CDataComp::ClearShots(t.shots);
        t.decimals = false;
        t.relayout = true;
    }
    if (a.relay != t.active.relay) {
        t.relayout = true;
        // The header names the relay all panels share.
        pic.headerChanged = true;
    }
    if (a.seriesState != t.active.seriesState) {
        t.shotsChanged = t.faceRedraw = t.listRedraw = true;
        if (pic.oneShot)
            t.relayout = m_data.rebuild = true;
        pic.headerChanged = true;
        t.redrawMask |= 0x32B90;
    }
    if (a.changeCounter != t.active.changeCounter)
        t.shotsChanged = true;
    t.active = a;
    CardRecord card;
    CDataComp::ClearCard(card);
    if (a.cardRec != 0) {
        if (e.data.CardFile().ReadRec(a.cardRec, &card) != 0) {
            BV_LOG(m_log, 80, "IDS_ERROR_NOCARD %s", e.rangeFolder.c_str());
            CDataComp::ClearCard(card);
        } else {
            if (card.shotRec != t.card.shotRec) {
                t.shotsChanged = true;
                CDataComp::ClearShots(t.shots);
                t.redrawMask |= 0x32B80;
            }
            if (card.targetType != t.card.targetType) {
                t.faceRedraw = true;
                t.redrawMask |= 0x10000;
            }
            if (card.valueSystem != t.card.valueSystem) {
                bool dec = card.valueSystem == 2 || card.valueSystem == 6;
                if (dec != t.decimals)
                    t.relayout = true;
                t.decimals = dec;
                t.faceRedraw = t.listRedraw = true;
                t.redrawMask |= 0x32B90;
            }
        }
    }
    t.card = card;
    return 0;
}

void DisplayLoop::StepTargets(CVisPicture& pic)
{
    if (pic.targets.empty()) {
        if (m_data.rebuild) {
            BV_LOG(m_log, 80, "IDS_ERROR_NOPANE");
            pic.SetError("IDS_ERROR_NOPANE");
        }
        return;
    }
    if (updateClockLinks)
        updateClockLinks(*pic.targets.front());
    bool single = true;
    int previous = pic.targets.front()->eventNumber;
    bool rankDue = false;
    for (auto& tp : pic.targets) {
        CVisTarget& t = *tp;
        if (t.slot == 0)
            continue;
        if (t.eventNumber != previous)
            single = false;
        previous = t.eventNumber;
        CVisEvent* e = t.event;
        // A record that could not be read while the range control wrote it
        // is tried again at the next look at the range's files.
        if (Elapsed(shotCounter) && (std::strcmp(t.errorKey, "IDS_ERROR_NOACTIVE") == 0 ||
                                     std::strcmp(t.errorKey, "IDS_ERROR_NOSHOTFILE") == 0)) {
            t.errorKey[0] = 0;
            t.shotsChanged = true;
        }
        if (e && e->data.IsOpen() && e->rangeSettingsState == 1)
            t.relayout = true;
        if (!e || !e->data.IsOpen() || e->lost)
            t.SetError("IDS_ERROR_NOBVLEDER");
        if ((t.relayout || t.shotsChanged) && !t.HasError())
            ReadTargetRecords(pic, t);
        if (!t.HasError() && t.slot > 0) {
            PanelValue& ev = t.values[CVisTarget::kValEventName];
            if (std::strcmp(ev.text, e->name) != 0) {
                CopyText(ev.text, sizeof ev.text, e->name);
                t.redrawMask |= 0x20;
            }
            if (t.relayout || t.namesDue)
                ReadNames(t);
            if (t.relayout || t.shotsChanged || (t.namesDue && e->startScore)) {
                if (t.shotsChanged && pic.showPlace)
                    t.redrawMask |= ViewBits::kPlace;
                ReadShots(t);
            }
        }
        t.namesDue = t.shotsChanged = t.relayout = false;
        if ((t.viewFlags & t.redrawMask & ViewBits::kPlace) ||
            ((t.viewFlags & ViewBits::kPlace) && (t.redrawMask & ViewBits::kTotal)))
            rankDue = true;
    }
    if (rankDue)
        RankEvents();
    if (single != pic.singleEvent || m_data.rebuild)
        pic.headerChanged = true;
    pic.singleEvent = single;
}

void DisplayLoop::OneShotWindow(CVisPicture& pic)
{
    for (auto& e : m_data.events) {
        if (pic.oneShot) {
            int old = e->oneShotWindow;
            e->oneShotWindow = 1;
            for (auto& t : pic.targets) {
                if (t->event != e.get() || t->seriesShots == 0)
                    continue;
                if (t->currentShotCount > e->oneShotWindow)
                    e->oneShotWindow = t->currentShotCount;
                t->firstListShot = old;
            }
            if (e->oneShotWindow != old) {
                m_data.rebuild = true;
                for (auto& t : pic.targets)
                    if (t->event == e.get() && t->seriesShots != 0) {
                        t->faceRedraw = t->listRedraw = t->relayout = true;
                        t->firstListShot = e->oneShotWindow;
                    }
            }
        } else if (e->oneShotWindow != 0) {
            e->oneShotWindow = 0;
            for (auto& t : pic.targets)
                if (t->event == e.get())
                    t->faceRedraw = t->listRedraw = t->relayout = true;
        }
    }
}

int DisplayLoop::ReadNames(CVisTarget& t)
{
    CVisEvent* e = t.event;
    auto clear = [&t]() {
        for (int k = 0; k < 4; ++k) {
            if (t.values[CVisTarget::kValName + k].text[0])
                t.redrawMask |= 1 << k;
            t.values[CVisTarget::kValName + k].text[0] = 0;
        }
        if (t.startScore != 0)
            t.redrawMask |= 0xE00;
        t.startScore = 0;
    };
    if (t.lane == 0 || !e || t.active.relay == 0) {
        clear();
        return -1;
    }
    if (!(t.viewFlags & 0xF) && !e->startScore)
        return 0;
    CBVExch exch;
    exch.exchangeFolder = e->exchangeFolder;
    exch.prefix = e->prefix;
    exch.startNumbers = e->startNumbers;
    exch.resultsProgram = e->resultsProgram;
    for (int& r : exch.relays)
        r = -1;
    int lane = CDataComp::IsLane(t.lane) ? t.lane : 0;
    if (lane == 0) {
        clear();
        return 0;
    }
    exch.relays[lane] = t.active.relay;
    exch.ImportNames(t.active.relay, lane, e->competition, e->rangeFolder);
    const NameRecord& n = exch.names[lane];
    if (n.startNumber == 0 || n.startNumber == -1) {
        clear();
        return 0;
    }
    const char* texts[4] = {n.name, n.club, n.cls, n.category};
    const size_t sizes[4] = {sizeof n.name, sizeof n.club, sizeof n.cls, sizeof n.category};
    for (int k = 0; k < 4; ++k) {
        char text[32];
        size_t len = strnlen(texts[k], sizes[k]);
        std::snprintf(text, sizeof text, "%.*s", static_cast<int>(len), texts[k]);
        char* have = t.values[CVisTarget::kValName + k].text;
        if (std::strcmp(have, text) != 0) {
            std::snprintf(have, 32, "%s", text);
            t.redrawMask |= 1 << k;
        }
    }
    if (n.startScore != t.startScore) {
        t.startScore = n.startScore;
        t.redrawMask |= 0xE00;
    }
    return 0;
}
