#pragma once
// The question box: a small modeless box with up to four message lines, up
// to four answer buttons and a progress bar. It never blocks the range: the
// frame shows it, the frame's tick counts its time down, and each answer
// button hands its value to the frame as a window message.
#include "platform/ui/Dialog.h"

#include <array>
#include <string>

class CDlgAsk : public platform::Dialog {
public:
    enum {
        IDD = 141,
        IDC_BUTTON1 = 1238,
        IDC_BUTTON2 = 1239,
        IDC_BUTTON3 = 1240,
        IDC_BUTTON4 = 1241,
        IDC_PROGRESS = 1242,
        IDC_LINE1 = 1243,
        IDC_LINE2 = 1244,
        IDC_LINE3 = 1246,
        IDC_LINE4 = 1248,
    };
    // The message that carries an answer to the frame (wParam the value).
    static constexpr int WM_ASK_ANSWER = platform::WM_APP + 100;

    // Answer values.
    static constexpr int kCancel = 10091;
    static constexpr int kYes = 10092;
    static constexpr int kNo = 10093;
    static constexpr int kPractice = 11303;   // start with the practice competition
    static constexpr int kNewCompetition = 11304;

    static constexpr int kLines = 4;
    static constexpr int kLineChars = 60;
    static constexpr int kMessageChars = 199;

    // The frame is the parent and gets the answers.
    explicit CDlgAsk(QWidget* frame);

    // Title, message and the four buttons (a value of 0 hides a button; a
    // key names its caption). Applied at once when the box's window exists;
    // the box counts as open from here on.
    void SetContent(const std::string& title, const std::string& message, const std::array<int, 4>& values,
                    const std::array<const char*, 4>& keys);
    // A position above 0 shows the bar at it; 0 hides it.
    void SetProgress(int position);
    // Hides the box; it counts as closed.
    void Close();

    // For a question without a countdown: on a program without a display
    // the box says its text on standard error and takes the Cancel answer
    // (the close box's) after UnseenAnswerMs, so the program never waits
    // for good. Asked again, the wait starts afresh.
    void AnswerWhenUnseen();

    bool IsOpen() const { return m_open; }
    int LastAnswer() const { return m_answer; }
    const std::string& Line(int i) const { return m_lines[static_cast<size_t>(i)]; }

    // The message as the box shows it: cut to 199 characters, split at line
    // ends into at most four lines of at most 60 characters.
    static std::array<std::string, 4> SplitMessage(const std::string& message);

    bool OnInitDialog() override;
    void OnOK() override;

private:
    void Apply();
    void OnAnswer(int button);

    std::string m_title;
    std::array<std::string, 4> m_lines;
    std::array<int, 4> m_values = {};
    std::array<std::string, 4> m_keys;
    bool m_open = false;
    int m_answer = 0;
    int m_unseenRound = 0;  // a later question outdates an earlier wait
};
