#pragma once
// The window's side of the range control as the tests serve it: the status
// bar's two texts as the frame would show them, the dialogs' messages and
// the question box's calls noted in order, and message boxes and beeps
// through the process's prompter (a scripted one in the tests). Beside it,
// receivers that note what the dispatcher hands on and do the work of the
// lane records as wired.
#include "foundation/settings/LanguageTable.h"
#include "line/LineMessage.h"
#include "platform/ui/Prompter.h"
#include "range/base/FrameServices.h"
#include "range/lanes/Dispatcher.h"
#include "range/print/CardPrintJob.h"

#include <string>
#include <vector>

namespace bvtest {

// Notes of one test: "what value...", in the order they came.
struct CallLog {
    std::vector<std::string> calls;

    template <typename... T>
    void Note(const char* what, T... values)
    {
        std::string s = what;
        ((s += " " + std::to_string(values)), ...);
        calls.push_back(s);
    }
};

class RecordingServices : public FrameServices, private QuestionBox {
public:
    RecordingServices(CLanguageTable& language, CallLog& log) : m_language(language), m_log(log) {}

    // The status bar: the warning pane, the information pane, and the ticks
    // the warning is held for.
    std::string warning;
    std::string info;
    int statusTicks = 0;
    int redrawn = 0;
    AskState asking = AskState::None;

    void ShowStatusKey(const char* key) override
    {
        warning = m_language.GetText(key);
        if (warning.size() > 50)
            warning.resize(50);
        statusTicks = 0;
    }
    void ShowStatusFor(const char* key, int ticks) override
    {
        ShowStatusKey(key);
        statusTicks = ticks;
    }
    void ShowStatusText(const std::string& text) override
    {
        info.clear();
        warning = text;
        statusTicks = 0;
    }
    void ShowStatusKeys(const char* key1, const char* key2, const char* text) override
    {
        std::string line = m_language.GetText(key1);
        if (key2 && *key2)
            line += " " + m_language.GetText(key2);
        if (text)
            line += std::string(" ") + text;
        info = line;
        warning.clear();
    }
    void Message(const std::string& text) override { platform::MessageBox(text); }
    void Beep(bool information) override
    {
        platform::CurrentPrompter().Beep(information ? platform::BeepKind::Information
                                                     : platform::BeepKind::Exclamation);
    }
    void Busy(bool) override {}
    void RedrawRow(int) override { ++redrawn; }
    void RefreshPanel() override {}
    void RankLanes() override {}
    void RefreshViews() override {}
    void OnLightMsg(const LineMessage& m) override { m_log.Note("light", m.data[4]); }
    void OnUnitMsg(const LineMessage& m) override { m_log.Note("unit", m.data[3]); }
    // Printing keeps the job; the answer is the one the test sets.
    int PrintCards(CardPrintJob& job) override
    {
        printed.push_back(job);
        return printResult;
    }
    std::vector<CardPrintJob> printed;
    int printResult = CardPrintJob::kPrinted;
    QuestionBox& Questions() override { return *this; }

private:
    AskState Asking() const override { return asking; }
    void Ask(AskState type) override { asking = type; }
    void CloseAsk() override { m_log.Note("close ask"); }
    void OnAskCountdown() override { m_log.Note("ask countdown"); }
    void AskProgress() override {}
    bool AskCountdownEnd() override { return true; }

    CLanguageTable& m_language;
    CallLog& m_log;
};

// Notes what the dispatcher hands on to the shot intake, the cards and the
// texts; the lane records' work is noted and done by the real receivers.
class RecordingReceivers : public DispatchReceivers {
public:
    RecordingReceivers(DispatchReceivers& real, CallLog& log) : m_real(real), m_log(log) {}

    void OnShotMsg(const LineMessage& m) override { m_log.Note("shot", m.data[4]); }
    void OnMonitorPrintMsg(const LineMessage& m) override { m_log.Note("print", m.data[4]); }
    void RequestMissingShots(int lane) override { m_log.Note("missing", lane); }
    void SendLaneText(int lane, int series, bool force) override { m_log.Note("text", lane, series, force); }
    void RecomputeLane(int lane) override { m_log.Note("recompute", lane); }
    void WriteActive(int lane, uint8_t series) override { m_real.WriteActive(lane, series); }
    void ReloadShotRecord(int relay, int lane, int count) override
    {
        m_log.Note("reload", relay, lane, count);
        m_real.ReloadShotRecord(relay, lane, count);
    }
    void SendCardOverview(int lane) override
    {
        m_log.Note("overview", lane);
        m_real.SendCardOverview(lane);
    }

private:
    DispatchReceivers& m_real;
    CallLog& m_log;
};

}  // namespace bvtest
