#pragma once
// The frame's question box (CDlgAsk): at start-up, whether to choose
// another competition or go to the practice competition when the targets do
// not fit the one opened; at exit, whether the targets go to the practice
// competition before the program closes, and the countdown while they do.
// The targets' answers and the tick drive it (QuestionBox); the officer's
// button comes as the box's window message (OnAnswer).
#include "range/base/QuestionBox.h"

#include <QPointer>

class CDlgAsk;
class CMainFrame;

class FrameQuestion : public QuestionBox {
public:
    explicit FrameQuestion(CMainFrame& frame) : m_frame(frame) {}
    ~FrameQuestion() override;
    FrameQuestion(const FrameQuestion&) = delete;
    FrameQuestion& operator=(const FrameQuestion&) = delete;

    AskState Asking() const override { return m_type; }
    void Ask(AskState type) override;
    void CloseAsk() override;
    void OnAskCountdown() override;
    void AskProgress() override;
    bool AskCountdownEnd() override;

    // The officer's button in the box.
    void OnAnswer(int value);
    CDlgAsk* AskBox() const;

private:
    CMainFrame& m_frame;
    QPointer<CDlgAsk> m_box;
    AskState m_type = AskState::None;
};
