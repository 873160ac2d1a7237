#include "platform/ui/ScriptedPrompter.h"

#include <algorithm>

namespace platform {
namespace {

const char* IconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop: return "Stop";
    case MessageIcon::Exclamation: return "Exclamation";
    case MessageIcon::Question: return "Question";
    case MessageIcon::Information: return "Information";
    case MessageIcon::None: break;
    }
    return "None";
}

const char* ButtonsName(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return "Ok";
    case MessageButtons::OkCancel: return "OkCancel";
    case MessageButtons::YesNo: return "YesNo";
    case MessageButtons::YesNoCancel: return "YesNoCancel";
    }
    return "?";
}

// The answer of the button that Enter presses.
int DefaultAnswer(const MessageRequest& r)
{
    static const int ok[] = {IDOK};
    static const int okCancel[] = {IDOK, IDCANCEL};
    static const int yesNo[] = {IDYES, IDNO};
    static const int yesNoCancel[] = {IDYES, IDNO, IDCANCEL};
    const int* answers = ok;
    int n = 1;
    switch (r.buttons) {
    case MessageButtons::Ok: break;
    case MessageButtons::OkCancel: answers = okCancel; n = 2; break;
    case MessageButtons::YesNo: answers = yesNo; n = 2; break;
    case MessageButtons::YesNoCancel: answers = yesNoCancel; n = 3; break;
    }
    return answers[r.defaultButton >= 0 && r.defaultButton < n ? r.defaultButton : 0];
}

}  // namespace

ScriptedPrompter& ScriptedPrompter::AnswerMessage(int answer)
{
    m_answers.push_back({QuestionKind::Message, answer});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerFile(std::string path)
{
    Answer a{QuestionKind::File};
    a.ok = !path.empty();
    a.path = std::move(path);
    m_answers.push_back(a);
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerFolder(std::string folder)
{
    Answer a{QuestionKind::Folder};
    a.ok = !folder.empty();
    a.path = std::move(folder);
    m_answers.push_back(a);
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerNoFolder()
{
    Answer a{QuestionKind::Folder};
    a.ok = true;
    a.noFolder = true;
    m_answers.push_back(a);
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerColour(bool ok, uint32_t colour)
{
    Answer a{QuestionKind::Colour};
    a.ok = ok;
    a.colour = colour;
    m_answers.push_back(a);
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerPrinter(bool ok, PrinterChoice choice)
{
    Answer a{QuestionKind::Printer};
    a.ok = ok;
    a.printer = std::move(choice);
    m_answers.push_back(a);
    return *this;
}

bool ScriptedPrompter::Take(QuestionKind kind, Answer& out)
{
    if (m_answers.empty() || m_answers.front().kind != kind)
        return false;
    out = m_answers.front();
    m_answers.pop_front();
    return true;
}

int ScriptedPrompter::Message(const MessageRequest& request)
{
    Question q;
    q.kind = QuestionKind::Message;
    q.text = request.text;
    q.caption = request.caption;
    q.icon = request.icon;
    q.buttons = request.buttons;
    q.defaultButton = request.defaultButton;
    Answer a;
    q.answered = Take(QuestionKind::Message, a);
    q.answer = q.answered ? a.value : DefaultAnswer(request);
    m_questions.push_back(q);
    return q.answer;
}

void ScriptedPrompter::Beep(BeepKind kind)
{
    Question q;
    q.kind = QuestionKind::Beep;
    q.beep = kind;
    q.answered = true;
    m_questions.push_back(q);
}

bool ScriptedPrompter::ChooseFile(const FileRequest& request, std::string& path)
{
    Question q;
    q.kind = QuestionKind::File;
    q.text = request.title;
    q.file = request;
    Answer a;
    q.answered = Take(QuestionKind::File, a);
    q.answer = q.answered && a.ok ? 1 : 0;
    if (q.answer)
        path = q.chosen = a.path;
    m_questions.push_back(q);
    return q.answer != 0;
}

bool ScriptedPrompter::ChooseFolder(const FolderRequest& request, std::string& folder)
{
    Question q;
    q.kind = QuestionKind::Folder;
    q.text = request.title;
    q.folder = request;
    Answer a;
    q.answered = Take(QuestionKind::Folder, a);
    q.answer = q.answered && a.ok ? 1 : 0;
    if (q.answer)
        folder = q.chosen = a.noFolder ? std::string() : a.path;
    m_questions.push_back(q);
    return q.answer != 0;
}

bool ScriptedPrompter::ChooseColour(uint32_t& colour)
{
    Question q;
    q.kind = QuestionKind::Colour;
    Answer a;
    q.answered = Take(QuestionKind::Colour, a);
    q.answer = q.answered && a.ok ? 1 : 0;
    if (q.answer) {
        colour = a.colour;
        q.chosen = std::to_string(a.colour);
    }
    m_questions.push_back(q);
    return q.answer != 0;
}

bool ScriptedPrompter::ChoosePrinter(PrinterChoice& choice)
{
    Question q;
    q.kind = QuestionKind::Printer;
    Answer a;
    q.answered = Take(QuestionKind::Printer, a);
    q.answer = q.answered && a.ok ? 1 : 0;
    if (q.answer) {
        choice = a.printer;
        q.chosen = a.printer.pdfPath.empty() ? a.printer.printerName : a.printer.pdfPath;
    }
    m_questions.push_back(q);
    return q.answer != 0;
}

std::vector<std::string> ScriptedPrompter::Log() const
{
    std::vector<std::string> lines;
    for (const Question& q : m_questions) {
        std::string line;
        switch (q.kind) {
        case QuestionKind::Message:
            line = std::string("Message ") + IconName(q.icon) + " " + ButtonsName(q.buttons) + " default " +
                   std::to_string(q.defaultButton) + " [" + q.caption + "] " + q.text + " -> " +
                   std::to_string(q.answer);
            break;
        case QuestionKind::Beep: line = "Beep " + std::to_string(static_cast<int>(q.beep)); break;
        case QuestionKind::File: line = "File [" + q.text + "] -> " + (q.answer ? q.chosen : "cancelled"); break;
        case QuestionKind::Folder:
            line = "Folder [" + q.text + "] from " + q.folder.initialFolder + " -> " +
                   (q.answer ? q.chosen : "cancelled");
            break;
        case QuestionKind::Colour: line = "Colour -> " + (q.answer ? q.chosen : "cancelled"); break;
        case QuestionKind::Printer: line = "Printer -> " + (q.answer ? q.chosen : "cancelled"); break;
        }
        if (!q.answered)
            line += " (unanswered)";
        lines.push_back(line);
    }
    return lines;
}

int ScriptedPrompter::Unanswered() const
{
    return static_cast<int>(std::count_if(m_questions.begin(), m_questions.end(),
                                          [](const Question& q) { return !q.answered; }));
}

void ScriptedPrompter::Clear()
{
    m_answers.clear();
    m_questions.clear();
}

}  // namespace platform
