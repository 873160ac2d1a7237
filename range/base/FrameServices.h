#pragma once
// What the range control's logic asks of its window: the status bar, the
// views, the message box and the question box, the dialogs that take target
// messages while they are open, and the printer. The main frame serves it on
// the screen; tests serve it with a recording stand-in, so the logic runs
// without a window or an application object.
#include "range/base/QuestionBox.h"

#include <string>

struct CardPrintJob;
struct LineMessage;

class FrameServices {
public:
    virtual ~FrameServices() = default;

    // ---- Status bar: warnings by language key, held for some ticks or
    // until the next text; information lines of one or two keys.
    virtual void ShowStatusKey(const char* key) = 0;
    virtual void ShowStatusFor(const char* key, int ticks) = 0;
    virtual void ShowStatusText(const std::string& text) = 0;
    virtual void ShowStatusKeys(const char* key1, const char* key2, const char* text) = 0;

    // ---- The officer: a message box to confirm, a beep, the wait cursor.
    virtual void Message(const std::string& text) = 0;
    virtual void Beep(bool information) = 0;
    virtual void Busy(bool on) = 0;

    // ---- Views: a lane's row, the panel's clock, the ranking of the lane
    // list; the panel read again and the lane list rebuilt.
    virtual void RedrawRow(int lane) = 0;
    virtual void RefreshPanel() = 0;
    virtual void RankLanes() = 0;
    virtual void RefreshViews() = 0;

    // ---- Dialogs that take target messages while open: the light dialog,
    // the unit status dialog.
    virtual void OnLightMsg(const LineMessage& m) = 0;
    virtual void OnUnitMsg(const LineMessage& m) = 0;

    // ---- Printing: the job's cards on the printer the officer picks; a
    // CardPrintJob::Result. A window that cannot print has no printer (3).
    virtual int PrintCards(CardPrintJob& job) { return 3; }

    // ---- The question box, which follows the targets' lane states.
    virtual QuestionBox& Questions() = 0;
};

// The wait cursor for the life of the object.
class BusyScope {
public:
    explicit BusyScope(FrameServices& services) : m_services(services) { m_services.Busy(true); }
    ~BusyScope() { m_services.Busy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    FrameServices& m_services;
};
