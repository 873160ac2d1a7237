#pragma once
// BVVis's application: the profile, the language, the main frame and its
// window, from the start of the program to its end. The document holds
// nothing: what the display shows lives in the frame's CVisData.
#include <memory>

#include "display/ui/MainFrm.h"

class CBVVisDoc {
public:
    virtual ~CBVVisDoc() = default;
};

class CBVVisApp {
public:
    CBVVisApp();
    ~CBVVisApp();
    CBVVisApp(const CBVVisApp&) = delete;
    CBVVisApp& operator=(const CBVVisApp&) = delete;

    // Makes the frame with its window (no minimise and maximise boxes) and
    // shows it; the first focus starts the display loop. true when the frame
    // was made. With countdownInWindow the pictures a countdown starts stay
    // in the window instead of going full screen.
    bool InitInstance(bool countdownInWindow = false);

    CMainFrame* Frame() { return m_frame.get(); }

private:
    CBVVisDoc m_document;
    std::unique_ptr<CMainFrame> m_frame;
};
