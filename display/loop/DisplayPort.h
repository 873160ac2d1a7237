#pragma once
// What the display loop asks of its frame window: the select dialog, message
// boxes, full screen, the title, the two views and the drawing. The frame
// implements it; the loop's tests record the calls.
#include <string>

class CBVConfig;
class CVisTarget;

class DisplayPort {
public:
    virtual ~DisplayPort() = default;

    struct SelectResult {
        int profile = -1;
        bool exit = false;         // the dialog's exit button
        bool byCountdown = false;  // started by its countdown, not by hand
    };
    // Runs the select dialog modally; autoStart lets its countdown start a profile.
    virtual SelectResult RunSelectDialog(bool autoStart, CBVConfig& settings, CBVConfig& profiles) = 0;
    // A message box with the stop icon showing the language text of the key.
    virtual void ShowError(const std::string& key) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetFullScreen(bool on) = 0;
    virtual void Minimise() = 0;
    virtual void CloseFrame() = 0;
    // Moves the frame to the window rectangle kept from the last run, when
    // there is one.
    virtual void RestoreWindow() = 0;
    virtual void StartTimer(int periodMs) = 0;
    virtual void StopTimer() = 0;

    enum View { kNoView = -1, kPictureView = 0, kHtmlView = 2 };
    virtual View ActiveView() = 0;
    virtual bool ShowPictureView() = 0;
    virtual bool ShowHtmlPage(const std::string& file) = 0;
    // The picture view paints nothing while not started.
    virtual void SetViewStarted(bool started) = 0;

    // Drawing of the picture view.
    virtual void ExportNettcast() = 0;
    virtual void LayoutPicture() = 0;
    virtual void RedrawAll() = 0;
    virtual void DrawHeader() = 0;
    virtual void DrawClockLine() = 0;
    virtual void LayoutPanel(CVisTarget& target) = 0;
    virtual void DrawPanel(CVisTarget& target) = 0;
    virtual void DrawMessageScreen() = 0;
    virtual void HideCursorTick() = 0;
};
