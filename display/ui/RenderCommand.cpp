#include "display/ui/RenderCommand.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdio>
#include <unistd.h>

#include "display/layout/PanelTexts.h"
#include "display/loop/DisplayLoop.h"
#include "display/settings/VisSettings.h"
#include "display/ui/BVVisView.h"
#include "display/ui/ClockLinks.h"
#include "display/ui/DisplayText.h"
#include "platform/system/Codepage.h"
#include "platform/system/CommandLine.h"
#include "foundation/ui/net/BVSocket.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/draw/BitmapDC.h"

namespace RenderCommand {

const char* const kUsage =
    "usage: BVVis [--window]   the display: the select dialog, then the profile's pictures (full\n"
    "                          screen when its countdown starts them, in a window with --window)\n"
    "       BVVis --render PROFILE PLACE OUT.png [--folder DIR] [--size WxH] [--seconds S] [--report]\n"
    "  runs profile PROFILE of the display's working folder DIR (default: the current one) with the\n"
    "  picture at place PLACE held, in a window of W x H pixels (default 1280x720), until the picture is\n"
    "  loaded and drawn, then S seconds more (default 0); what the window shows goes to OUT.png.\n"
    "  --report prints the picture, its header, its targets and its faces.\n"
    "  A Nettcast picture runs its export passes instead; the window shows their status line, and\n"
    "  --report adds: export STATE COUNTER \"STATUS\".";

namespace {

int Fail(const std::string& line) { return platform::CommandFail("BVVis", line); }

bool ParseNumber(const std::string& text, int& out) { return platform::ParseWhole(text, 0, 1000000, out); }

// The frame of a render: the profile is chosen, the window is not full
// screen, and every drawing goes to the view.
class RenderFrame : public DisplayPort {
public:
    RenderFrame(CBVVisView& view, int profile) : m_view(view), m_profile(profile) {}

    SelectResult RunSelectDialog(bool, CBVConfig&, CBVConfig&) override { return {m_profile, false, false}; }
    void ShowError(const std::string& key) override { errorKey = key; }
    void SetTitle(const std::string&) override {}
    void SetFullScreen(bool) override {}
    void Minimise() override {}
    void CloseFrame() override {}
    void RestoreWindow() override {}
    void StartTimer(int) override {}
    void StopTimer() override {}
    View ActiveView() override { return m_active; }
    bool ShowPictureView() override
    {
        m_active = kPictureView;
        return true;
    }
    bool ShowHtmlPage(const std::string&) override
    {
        m_active = kHtmlView;
        return true;
    }
    void SetViewStarted(bool started) override { m_view.SetStarted(started); }
    void ExportNettcast() override
    {
        m_view.ExportNettcast();
        drawnWhole = true;
    }
    void LayoutPicture() override { m_view.Painter().LayoutPicture(true); }
    void RedrawAll() override
    {
        m_view.Painter().RedrawAll();
        drawnWhole = true;
    }
    void DrawHeader() override { m_view.Painter().DrawHeader(true); }
    void DrawClockLine() override { m_view.Painter().DrawClockLine(true); }
    void LayoutPanel(CVisTarget& t) override { m_view.Painter().LayoutPanel(t, true); }
    void DrawPanel(CVisTarget& t) override { m_view.Painter().DrawPanel(t, true); }
    void DrawMessageScreen() override
    {
        m_view.Painter().DrawMessageScreen();
        drawnWhole = true;
    }
    void HideCursorTick() override { m_view.HideCursorTick(); }

    std::string errorKey;
    bool drawnWhole = false;

private:
    CBVVisView& m_view;
    int m_profile;
    View m_active = kNoView;
};

// The window the clock links tell of what they received; never shown.
class LinkWindow : public platform::FrameWnd {
public:
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override
    {
        if (message == WM_SOCKET_NOTIFY && links)
            return links->OnClockMessage(wParam, lParam);
        return 0;
    }
    ClockLinks* links = nullptr;
};

// A text of the report: UTF-8 in quotes, with \" and \\.
std::string Quoted(const std::string& cp1252)
{
    std::string out = "\"";
    for (char c : platform::Cp1252ToUtf8(cp1252)) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string KeyOrDash(const char* key) { return key[0] ? key : "-"; }

void Report(CVisData& data, const std::string& programError)
{
    if (!programError.empty()) {
        std::printf("error %s\n", programError.c_str());
        return;
    }
    const CVisPicture* pic = data.current;
    if (!pic)
        return;
    std::printf("picture %d %d %d %s %s\n", pic->place, pic->number, pic->type, KeyOrDash(pic->errorKey).c_str(),
                Quoted(pic->name).c_str());
    std::string event, series, clock;
    const bool header = !Graphic::IsEmpty(pic->headerStyle.Rect) && !pic->HasError();
    if (header && pic->singleEvent && !pic->targets.empty() && pic->targets.front()->event) {
        event = PanelTexts::HeaderEventText(*pic);
        PanelTexts::HeaderSeriesText(*pic, series);
        if (pic->showClock)
            clock = pic->targets.front()->clockTextDrawn;
    }
    std::printf("header %s %s %s\n", Quoted(event).c_str(), Quoted(series).c_str(), Quoted(clock).c_str());
    for (const auto& tp : pic->targets) {
        const CVisTarget& t = *tp;
        if (t.slot <= 0)
            continue;
        const PanelValue* v = t.values;
        std::printf("target %d %d %d %d %d %d %d %d %d %d %s %s\n", t.slot, t.lane, t.eventNumber, t.active.relay,
                    t.active.seriesState & 0x7F, v[CVisTarget::kValShotCount].number,
                    v[CVisTarget::kValSeriesSum].number, v[CVisTarget::kValTotal].number,
                    v[CVisTarget::kValPreviousTotal].number, v[CVisTarget::kValPlace].number,
                    KeyOrDash(t.errorKey).c_str(), Quoted(v[CVisTarget::kValName].text).c_str());
    }
    for (const auto& tp : pic->targets) {
        const CVisTarget& t = *tp;
        if (t.slot <= 0 || !(t.viewFlags & ViewBits::kFace) || t.HasError())
            continue;
        const platform::Rect f = PicturePainter::FaceRect(t);
        std::printf("face %d %d %d %d %d %d %d\n", t.slot, f.left, f.top, f.right, f.bottom, t.zoomRing,
                    PicturePainter::EffectiveType(t));
    }
    if (pic->type == CVisPicture::kNettcast)
        std::printf("export %d %d %s\n", data.nettcast.ftpState, data.nettcast.exportCount,
                    Quoted(data.nettcast.status).c_str());
}

// Runs the application's events for a while, so the window paints.
void Events(int ms)
{
    QElapsedTimer timer;
    timer.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        if (ms > 0)
            QThread::msleep(5);
    } while (timer.elapsed() < ms);
}

}  // namespace

int Render(const std::vector<std::string>& args)
{
    if (args.size() < 3)
        return Fail("--render needs PROFILE PLACE OUT.png");
    int profile = 0, place = 0;
    if (!ParseNumber(args[0], profile) || profile < 1)
        return Fail("a profile is its number in Profil.bvc: " + args[0]);
    if (!ParseNumber(args[1], place) || place < 1)
        return Fail("a place is a number from 1: " + args[1]);
    const std::string out = platform::FromCommandFolder(args[2]);
    std::string folder;
    int width = 1280, height = 720, seconds = 0;
    bool report = false;
    for (size_t i = 3; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--report") {
            report = true;
            continue;
        }
        if (i + 1 >= args.size())
            return Fail(a + " needs a value");
        const std::string& value = args[++i];
        if (a == "--folder") {
            folder = value;
        } else if (a == "--seconds") {
            if (!ParseNumber(value, seconds) || seconds > 3600)
                return Fail("seconds are a number from 0 to 3600: " + value);
        } else if (a == "--size") {
            size_t x = value.find('x');
            if (x == std::string::npos || !ParseNumber(value.substr(0, x), width) ||
                !ParseNumber(value.substr(x + 1), height) || width < 16 || height < 16 || width > 8000 ||
                height > 8000)
                return Fail("a size is WxH, 16 to 8000 pixels each: " + value);
        } else {
            return Fail("unknown option: " + a);
        }
    }
    if (!folder.empty() && chdir(folder.c_str()) != 0)
        return Fail("no folder " + folder);

    // The profile and its place, and what picture stands there.
    CBVConfig profiles;
    profiles.Open(".\\Profil.bvc", 0);
    if (!profiles.IsOpen() || profile > ReadItem(profiles, VisItems::kProfileCount) ||
        ReadItem(profiles, VisItems::ProfileName(profile)).empty())
        return Fail("no profile " + args[0] + " in Profil.bvc");
    if (place > ReadItem(profiles, VisItems::ProfilePlaces(profile)))
        return Fail("profile " + args[0] + " has no place " + args[1]);
    {
        CBVConfig picture;
        const int number = ReadItem(profiles, VisItems::PlacePicture(profile, place));
        picture.Open(".\\Pict" + std::to_string(number) + ".bvc", 0);
        if (picture.IsOpen() && ReadItem(picture, VisItems::kPictType) == CVisPicture::kHtml)
            return Fail("the picture at place " + args[1] + " is an HTML page");
    }

    CVisData data;
    DisplayText::Load(data);
    CBVVisView view(data);
    view.resize(width, height);
    view.show();
    Events(0);
    data.drawRect = {0, 0, view.width(), view.height()};
    RenderFrame frame(view, profile);
    DisplayLoop loop(data, frame);
    // The range controls' clocks, for a picture that shows the clock.
    CBVSocket::Startup();
    LinkWindow linkWindow;
    ClockLinks links(data, &linkWindow);
    linkWindow.links = &links;
    loop.updateClockLinks = [&links](CVisTarget& first) { links.Update(first); };
    loop.closeClockLinks = [&links] { links.Close(); };
    loop.OnFirstFocus(LoopIntervals::Read(".\\BVVis.ini"));
    // The picture stays: its display time never runs out.
    loop.paused = true;

    // Until the picture at the place is loaded and drawn whole.
    bool drawn = false;
    for (int tick = 0; tick < 100 && !drawn; ++tick) {
        frame.drawnWhole = false;
        loop.DisplayTick();
        Events(0);
        // A program-wide error stops the loop: shown in a message box, or
        // (settings files that cannot be opened) tried again every tick.
        if (frame.errorKey.empty() && data.HasError())
            frame.errorKey = data.errorKey;
        if (!frame.errorKey.empty())
            break;
        if (!data.current)
            continue;
        if (data.current->place != place) {
            if (place <= static_cast<int>(data.pictures.size())) {
                data.current = data.pictures[static_cast<size_t>(place - 1)].get();
                data.rebuild = true;
            }
            continue;
        }
        drawn = frame.drawnWhole && !data.rebuild;
    }
    if (!frame.errorKey.empty()) {
        // The loop stopped on a program-wide error: its message screen.
        data.SetError(frame.errorKey.c_str());
        view.Painter().DrawMessageScreen();
    } else if (!drawn) {
        return Fail("the picture at place " + args[1] + " was not drawn");
    } else {
        // Ordinary ticks, on time.
        QElapsedTimer clock;
        clock.start();
        for (int tick = 1; tick <= seconds * 10; ++tick) {
            loop.DisplayTick();
            Events(static_cast<int>(std::max<qint64>(0, tick * 100 - clock.elapsed())));
        }
    }
    Events(0);

    const QImage& shown = view.Picture();
    platform::CBitmapDC picture;
    if (!picture.Create(shown.width(), shown.height()) || !picture.CopyFrom(shown) ||
        !picture.SaveAsPng(out, false, false, 0))
        return Fail("not written: " + out);
    if (report)
        Report(data, frame.errorKey);
    return 0;
}

}  // namespace RenderCommand
