#pragma once
// The browser pane of the HTML pages: Qt WebEngine, which runs the pages as
// a browser does (scripts, refreshes, style sheets).
#include "platform/ui/HtmlPane.h"

namespace platform {

// Before the application object is made: the engine shares its drawing
// context with the windows, and a program run as root (a display PC set up
// to start it so) turns the engine's sandbox off, as the engine refuses to
// start under root with it.
void PrepareWebEngine();
// Puts the browser pane in place of the kit's own (SetHtmlPaneMaker).
void UseWebEnginePanes();
std::unique_ptr<HtmlPane> MakeWebEnginePane(QWidget* parent);

}  // namespace platform
