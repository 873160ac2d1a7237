#pragma once
// BVLeder's application: the program-wide objects, the main frame and its
// window, from the start of the program to its end.
#include "range/base/RangeObjects.h"
#include "range/ui/MainFrm.h"

#include <memory>
#include <span>
#include <string>

// The range control's English texts, built into the program from the source
// of its language file (lang/BVRange.txt).
std::span<const CLanguageTable::Entry> BuiltInRangeTexts();

// Loads the range control's language file in a language; when it is missing
// or unreadable the log says so and the built-in English texts stand in.
void LoadRangeLanguage(CLanguageTable& table, const std::string& code);

class CBVLederApp {
public:
    // The language file of the range control, in its working folder.
    static constexpr const char* kLanguageFile = ".\\BVRange.bvt";
    // The clock link's port; a test range control takes another by the
    // environment variable BV_CLOCK_PORT.
    static constexpr int kClockPort = 8888;

    explicit CBVLederApp(RangeObjects& objects);
    ~CBVLederApp();
    CBVLederApp(const CBVLederApp&) = delete;
    CBVLederApp& operator=(const CBVLederApp&) = delete;

    // Makes the frame and its window, loads the profile and the language and
    // shows the window; the first focus arms the start-up. Returns 1. A
    // language file that is missing or unreadable is logged, and the built-in
    // English texts stand in for it.
    int InitInstance(const std::string& commandLine);

    CMainFrame* Frame() { return m_frame.get(); }

private:
    RangeObjects& m_obj;
    std::unique_ptr<CMainFrame> m_frame;
};
