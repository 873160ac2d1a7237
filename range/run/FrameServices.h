#pragma once
// What the range control's logic asks of its window: the status bar, the
// views, the message box and the question box, and the dialogs that take
// target messages while they are open. The main frame serves it on the
// screen; tests serve it with a recording stand-in, so the logic runs
// without a window or an application object.
#include <string>

struct CardPrintJob;
struct LineMessage;

// The question box of the frame: none, the start-up question while the
// targets report, the exit question, and the exit countdown after it.
enum class AskState { None, Startup, Exit, ExitCountdown };

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

    // ---- Views: a lane's row, the panel, the ranking of the lane list.
    virtual void RedrawRow(int lane) = 0;
    virtual void RefreshPanel() = 0;
    virtual void RankLanes() = 0;

    // ---- Dialogs that take target messages while open.
    virtual void OnMonitorPrintMsg(const LineMessage& m) = 0;
    virtual void OnLightMsg(const LineMessage& m) = 0;
    virtual void OnUnitMsg(const LineMessage& m) = 0;
    // A shot the lane's monitor sends while its card is fetched for printing.
    virtual void OnFetchShot(const LineMessage& m) = 0;
    // The officer picks the competition the range works on.
    virtual void OnCompetitionChoice() = 0;

    // ---- Printing: the job's cards on the printer the officer picks; a
    // CardPrintJob::Result. A window that cannot print has no printer (3).
    virtual int PrintCards(CardPrintJob& job) { return 3; }

    // ---- The question box, which follows the targets' lane states.
    virtual AskState Asking() const = 0;
    virtual void CloseAsk() = 0;
    virtual void OnAskCountdown() = 0;
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
