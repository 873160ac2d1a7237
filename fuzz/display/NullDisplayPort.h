#pragma once
// A frame that draws nothing and always starts profile 1, for the fuzz targets
// (and the display loop's benchmark).
#include "display/loop/DisplayPort.h"

namespace fuzz {

class NullDisplayPort : public DisplayPort {
public:
    SelectResult RunSelectDialog(bool, CBVConfig&, CBVConfig&) override { return {1, false, false}; }
    void ShowError(const std::string&) override {}
    void SetTitle(const std::string&) override {}
    void SetFullScreen(bool) override {}
    void Minimise() override {}
    void CloseFrame() override {}
    void RestoreWindow() override {}
    void StartTimer(int) override {}
    void StopTimer() override {}
    View ActiveView() override { return kPictureView; }
    bool ShowPictureView() override { return true; }
    bool ShowHtmlPage(const std::string&) override { return true; }
    void SetViewStarted(bool) override {}
    void ExportNettcast() override {}
    void LayoutPicture() override {}
    void RedrawAll() override {}
    void DrawHeader() override {}
    void DrawClockLine() override {}
    void LayoutPanel(CVisTarget&) override {}
    void DrawPanel(CVisTarget&) override {}
    void DrawMessageScreen() override {}
    void HideCursorTick() override {}
};

}  // namespace fuzz
