#pragma once
// A prompter for tests: it answers from a queue that the test fills in the
// order the screen will ask, and keeps every question asked. A question
// without an answer in the queue, or with an answer of another kind, is
// answered as if the user had pressed Enter (the default button) or cancelled
// a chooser, and is counted as unanswered so the test can fail on it.
#include "platform/ui/Prompter.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

enum class QuestionKind { Message, Beep, File, Folder, Colour, Printer };

struct Question {
    QuestionKind kind = QuestionKind::Message;
    std::string text;     // message text, or the chooser's title
    std::string caption;  // message caption
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    int defaultButton = 0;
    BeepKind beep = BeepKind::Default;
    FileRequest file;
    FolderRequest folder;
    ColourRequest colour;  // as asked
    int answer = 0;            // message: the DialogAnswer; choosers: 1 chosen, 0 cancelled
    std::string chosen;        // the path or folder given back
    bool answered = false;     // false when the queue had no fitting answer
};

class ScriptedPrompter : public Prompter {
public:
    // The next message box is answered with a DialogAnswer.
    ScriptedPrompter& AnswerMessage(int answer);
    // The next file or folder chooser gives this path back (empty: cancelled).
    ScriptedPrompter& AnswerFile(std::string path);
    ScriptedPrompter& AnswerFolder(std::string folder);
    // The next folder chooser gives back an item that is no folder on disk.
    ScriptedPrompter& AnswerNoFolder();
    // The next colour chooser: OK with the colour, or cancelled; either way
    // the user may have put colours into custom boxes (box index, colour).
    ScriptedPrompter& AnswerColour(bool ok, uint32_t colour = 0,
                                   std::vector<std::pair<int, uint32_t>> customAdded = {});
    ScriptedPrompter& AnswerPrinter(bool ok, PrinterChoice choice = {});

    int Message(const MessageRequest& request) override;
    void Beep(BeepKind kind) override;
    bool ChooseFile(const FileRequest& request, std::string& path) override;
    bool ChooseFolder(const FolderRequest& request, std::string& folder) override;
    bool ChooseColour(ColourRequest& request) override;
    bool ChoosePrinter(PrinterChoice& choice) override;

    const std::vector<Question>& Questions() const { return m_questions; }
    // The questions as lines, for a readable failure message:
    // "Message Question YesNo default 1 [caption] text -> 7",
    // "Colour from 0x0000FF full solid custom 16 -> 0x00FF00".
    std::vector<std::string> Log() const;
    int Unanswered() const;
    // Answers left in the queue.
    size_t Pending() const { return m_answers.size(); }
    void Clear();

private:
    struct Answer {
        QuestionKind kind;
        int value = 0;
        bool ok = false;
        bool noFolder = false;
        std::string path;
        uint32_t colour = 0;
        std::vector<std::pair<int, uint32_t>> customAdded;
        PrinterChoice printer;
    };
    ScriptedPrompter& Queue(Answer answer);
    bool Take(QuestionKind kind, Answer& out);
    bool Choose(Question q, const std::function<std::string(const Answer&)>& choose);

    std::deque<Answer> m_answers;
    std::vector<Question> m_questions;
};

// Puts a prompter in place for the life of a test and restores the screen
// prompter afterwards.
class ScopedPrompter {
public:
    explicit ScopedPrompter(Prompter& prompter) { SetPrompter(&prompter); }
    ~ScopedPrompter() { SetPrompter(nullptr); }
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;
};

}  // namespace platform
