#include "display/loop/DisplayLoop.h"

#include <cstdio>

#include "display/settings/VisSettings.h"

namespace {
const char* const kStatusTexts[] = {"", "DNF", "DNS", "DSQ", "NOE", "MOV", "PEN"};
}

DisplayLoop::DisplayLoop(CVisData& data, DisplayPort& port) : m_data(data), m_port(port)
{
    m_data.fullScreen = false;
    m_data.profile = -1;
}

void DisplayLoop::OnFirstFocus(const LoopIntervals& intervals)
{
    configCounter.Init(intervals.config, true, true);
    nameCounter.Init(intervals.name, true, true);
    shotCounter.Init(intervals.shot, true, true);
    pictCounter.Init(intervals.pict, true, true);
    blinkCounter.Init(kBlinkTicks, true, true);
    m_data.profile = -1;
    started = true;
    // The first tick follows at once.
    m_port.StartTimer(1);
}

bool DisplayLoop::OpenStores()
{
    if (!m_data.settings.IsOpen())
        m_data.settings.Open(".\\BVVis.bvc", 0);
    if (!m_data.profiles.IsOpen())
        m_data.profiles.Open(".\\Profil.bvc", 0);
    return m_data.settings.IsOpen() && m_data.profiles.IsOpen();
}

int DisplayLoop::DisplayTick()
{
    if (exitFlag) {
        m_port.CloseFrame();
        return -1;
    }
    if (pending) {
        OpenSelectDialog();
        if (exitFlag)
            return -1;
    }
    if (m_data.profile < 0)
        return -1;
    if (!OpenStores()) {
        // Tried again every tick; the picture view shows the message screen.
        BV_LOG(m_log, 80, "IDS_ERROR_OPENFAIL");
        m_data.SetError("IDS_ERROR_OPENFAIL");
        return -1;
    }
    m_data.ClearError();
    configCounter.Step();
    nameCounter.Step();
    shotCounter.Step();
    if (!paused)
        pictCounter.Step();

    ChoosePicture(0);
    PollSources();
    LoadPicture();
    Blink();

    // An interval that ran out in this tick starts again; the steps above saw it at its end.
    configCounter.Elapsed(false, true);
    nameCounter.Elapsed(false, true);
    shotCounter.Elapsed(false, true);

    int seconds = static_cast<int>((static_cast<int64_t>(pictCounter.GetLimit()) - pictCounter.Get()) *
                                   LoopIntervals::kTickMs / 1000);
    if (seconds != secondsShown) {
        secondsShown = seconds;
        SetDisplayTitle();
    }

    if (m_data.HasError()) {
        m_port.StopTimer();
        m_port.ShowError(m_data.errorKey);
        pending = true;
        m_port.StartTimer(LoopIntervals::kTickMs);
        OpenSelectDialog();
        m_data.rebuild = true;
        return 0;
    }
    if (firstTick)
        m_port.RestoreWindow();
    if (pending) {
        m_data.fullScreen = true;
        m_port.SetFullScreen(true);
        pending = false;
    }
    Repaint();
    if (m_port.ActiveView() == DisplayPort::kPictureView)
        m_port.HideCursorTick();
    firstTick = false;
    return 0;
}

void DisplayLoop::Blink()
{
    blinkCounter.Step();
    if (!blinkCounter.Elapsed(false, true))
        return;
    blinkPhase ^= 1;
    if (!m_data.current)
        return;
    for (auto& t : m_data.current->targets) {
        // Byte 33 of the card: the shooter's status on the range.
        uint8_t status = reinterpret_cast<const uint8_t*>(&t->card)[33];
        if (blinkPhase == 1 && status != 0) {
            t->statusCode = status;
            t->redrawMask |= 0x1200;
        } else if (t->statusCode != 0) {
            t->statusCode = 0;
            t->redrawMask |= 0x1200;
        }
        if (t->statusCode != 0) {
            const char* text = t->statusCode <= 6 ? kStatusTexts[t->statusCode] : "";
            std::snprintf(t->values[CVisTarget::kValTotal].text, sizeof t->values[0].text, "%s", text);
        }
    }
}

int DisplayLoop::ChoosePicture(int step)
{
    auto& pics = m_data.pictures;
    int oldPlace = 0;
    if (!m_data.current) {
        if (pics.empty())
            return 0;
        m_data.current = pics.front().get();
        std::snprintf(m_data.profileName, sizeof m_data.profileName, "%s",
                      ReadItem(m_data.profiles, VisItems::ProfileName(m_data.profile)).c_str());
    } else {
        if (m_data.current->finalLock)
            return 0;
        oldPlace = m_data.current->place;
        int n = static_cast<int>(pics.size());
        int i = m_data.IndexOf(m_data.current);
        if (step == 1 || (step == 0 && pictCounter.Elapsed(false, false)))
            i = (i + 1) % n;
        else if (step == -1)
            i = (i + n - 1) % n;
        else if (step > 0)
            i = n - 1;
        else if (step < 0)
            i = 0;
        m_data.current = pics[static_cast<size_t>(i)].get();
    }
    if (m_data.current->place == oldPlace)
        return 0;
    m_data.rebuild = true;
    pictCounter.Reset();
    return m_data.current->place;
}

void DisplayLoop::SetDisplayTitle()
{
    char text[200];
    const CVisPicture* pic = m_data.current;
    if (!pic) {
        std::snprintf(text, sizeof text, "BVVis - %s", m_data.profileName);
    } else if (paused) {
        std::snprintf(text, sizeof text, "BVVis - %s : %s (Pause)", m_data.profileName, pic->name);
    } else {
        int n = secondsShown + 1;
        int most = static_cast<int>(static_cast<int64_t>(pictCounter.GetLimit()) * LoopIntervals::kTickMs / 1000);
        std::snprintf(text, sizeof text, "BVVis - %s : %s (%d)", m_data.profileName, pic->name, n < most ? n : most);
    }
    title = text;
    m_port.SetTitle(title);
}

void DisplayLoop::OpenSelectDialog()
{
    if (closeClockLinks)
        closeClockLinks();
    m_port.StopTimer();
    if (!OpenStores())
        BV_LOG(m_log, 80, "Unable to open config files");
    m_port.Minimise();
    if (m_port.ActiveView() == DisplayPort::kPictureView)
        m_port.SetViewStarted(false);
    DisplayPort::SelectResult r = m_port.RunSelectDialog(pending, m_data.settings, m_data.profiles);
    m_data.RemoveAllPictures();
    m_data.RemoveAllEvents();
    if (m_data.settings.IsOpen())
        m_data.settings.Refresh();
    if (m_data.profiles.IsOpen())
        m_data.profiles.Refresh();
    m_data.current = nullptr;
    m_data.profile = r.profile;
    m_data.rebuild = true;
    m_port.StartTimer(LoopIntervals::kTickMs);
    if (r.exit)
        exitFlag = true;
    else if (!r.byCountdown || countdownInWindow)
        pending = false;
}

int DisplayLoop::Repaint()
{
    CVisPicture* pic = m_data.current;
    if (!pic)
        return -1;
    // An HTML picture without a usable file says so in the picture view.
    if (pic->type == CVisPicture::kHtml && !pic->HasError()) {
        // A picture that became current (or was loaded again) shows its own
        // page, also when the one before was an HTML page too.
        if (firstTick || m_port.ActiveView() != DisplayPort::kHtmlView || m_data.rebuild) {
            m_port.SetViewStarted(false);
            m_port.ShowHtmlPage(pic->htmlFile);
        }
    } else {
        if (m_port.ActiveView() != DisplayPort::kPictureView)
            m_port.ShowPictureView();
        m_port.SetViewStarted(true);
    }
    if (m_port.ActiveView() == DisplayPort::kHtmlView) {
        m_data.rebuild = false;
        return 0;
    }
    if (m_port.ActiveView() == DisplayPort::kPictureView) {
        if (!m_data.HasError() && !pic->HasError()) {
            if (pic->type == CVisPicture::kNettcast) {
                // The picture goes to the export, the window shows its status line.
                m_port.ExportNettcast();
                if (m_data.HasError())
                    return 0;
            } else if (m_data.rebuild) {
                m_port.LayoutPicture();
                m_port.RedrawAll();
            } else {
                if (pic->headerChanged)
                    m_port.DrawHeader();
                m_port.DrawClockLine();
                for (auto& t : pic->targets) {
                    if (t->relayout) {
                        m_port.LayoutPanel(*t);
                        t->redrawMask = -1;
                    }
                    m_port.DrawPanel(*t);
                }
            }
        } else if (m_data.rebuild) {
            m_port.DrawMessageScreen();
        }
    }
    m_data.rebuild = false;
    return 0;
}

void DisplayLoop::OnCommand(int id)
{
    switch (id) {
    case kSelectAltC:
    case kSelectEsc:
    case kSelectButton:
        OpenSelectDialog();
        break;
    case kFullScreenOn:
    case kFullScreenOff:
    case kToggleFullScreen: {
        if (m_port.ActiveView() == DisplayPort::kNoView) {
            BV_LOG(m_log, 90, "No active View!");
            break;
        }
        bool on = id == kFullScreenOn || (id == kToggleFullScreen && !m_data.fullScreen);
        m_port.SetFullScreen(on);
        m_data.fullScreen = on;
        break;
    }
    case kNext:
    case kNextPage:
        ChoosePicture(1);
        pictCounter.Reset();
        break;
    case kPrevious:
    case kPreviousPage:
        ChoosePicture(-1);
        pictCounter.Reset();
        break;
    case kFirst:
        ChoosePicture(-99);
        pictCounter.Reset();
        break;
    case kLast:
        ChoosePicture(99);
        pictCounter.Reset();
        break;
    case kPause:
        paused = !paused;
        SetDisplayTitle();
        break;
    case kRefresh:
        if (m_port.ActiveView() == DisplayPort::kNoView) {
            BV_LOG(m_log, 90, "No active View!");
            break;
        }
        m_data.rebuild = true;
        DisplayTick();
        break;
    default:
        break;
    }
}
