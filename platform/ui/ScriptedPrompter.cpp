#include "platform/ui/ScriptedPrompter.h"

#include <algorithm>
#include <cstdio>

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

std::string HexColour(uint32_t colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", colour & 0xFFFFFFu);
    return text;
}

}  // namespace

ScriptedPrompter& ScriptedPrompter::Queue(Answer answer)
{
    m_answers.push_back(std::move(answer));
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerMessage(int answer)
{
    return Queue({.kind = QuestionKind::Message, .value = answer});
}

ScriptedPrompter& ScriptedPrompter::AnswerFile(std::string path)
{
    bool ok = !path.empty();
    return Queue({.kind = QuestionKind::File, .ok = ok, .path = std::move(path)});
}

ScriptedPrompter& ScriptedPrompter::AnswerFolder(std::string folder)
{
    bool ok = !folder.empty();
    return Queue({.kind = QuestionKind::Folder, .ok = ok, .path = std::move(folder)});
}

ScriptedPrompter& ScriptedPrompter::AnswerNoFolder()
{
    return Queue({.kind = QuestionKind::Folder, .ok = true, .noFolder = true});
}

ScriptedPrompter& ScriptedPrompter::AnswerColour(bool ok, uint32_t colour,
                                                 std::vector<std::pair<int, uint32_t>> customAdded)
{
    return Queue({.kind = QuestionKind::Colour, .ok = ok, .colour = colour, .customAdded = std::move(customAdded)});
}

ScriptedPrompter& ScriptedPrompter::AnswerPrinter(bool ok, PrinterChoice choice)
{
    return Queue({.kind = QuestionKind::Printer, .ok = ok, .printer = std::move(choice)});
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

// A chooser takes the next answer when it is of its kind; choose hands over
// what a chooser that was not cancelled gives back, and says how the
// question log shows it.
bool ScriptedPrompter::Choose(Question q, const std::function<std::string(const Answer&)>& choose)
{
    Answer a;
    q.answered = Take(q.kind, a);
    q.answer = q.answered && a.ok ? 1 : 0;
    if (q.answer)
        q.chosen = choose(a);
    m_questions.push_back(q);
    return q.answer != 0;
}

bool ScriptedPrompter::ChooseFile(const FileRequest& request, std::string& path)
{
    Question q;
    q.kind = QuestionKind::File;
    q.text = request.title;
    q.file = request;
    return Choose(q, [&](const Answer& a) { return path = a.path; });
}

bool ScriptedPrompter::ChooseFolder(const FolderRequest& request, std::string& folder)
{
    Question q;
    q.kind = QuestionKind::Folder;
    q.text = request.title;
    q.folder = request;
    return Choose(q, [&](const Answer& a) { return folder = a.noFolder ? std::string() : a.path; });
}

bool ScriptedPrompter::ChooseColour(ColourRequest& request)
{
    Question q;
    q.kind = QuestionKind::Colour;
    q.colour = request;
    Answer a;
    q.answered = Take(QuestionKind::Colour, a);
    if (q.answered)
        for (const auto& [box, colour] : a.customAdded)
            if (box >= 0 && static_cast<size_t>(box) < request.customColours.size())
                request.customColours[static_cast<size_t>(box)] = colour;
    q.answer = q.answered && a.ok ? 1 : 0;
    if (q.answer) {
        request.colour = a.colour;
        q.chosen = HexColour(a.colour);
    }
    m_questions.push_back(q);
    return q.answer != 0;
}

bool ScriptedPrompter::ChoosePrinter(PrinterChoice& choice)
{
    Question q;
    q.kind = QuestionKind::Printer;
    return Choose(q, [&](const Answer& a) {
        choice = a.printer;
        return a.printer.pdfPath.empty() ? a.printer.printerName : a.printer.pdfPath;
    });
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
        case QuestionKind::Colour:
            line = "Colour from " + HexColour(q.colour.colour) + (q.colour.fullOpen ? " full" : "") +
                   (q.colour.solidOnly ? " solid" : "") +
                   (q.colour.customColours.empty() ? ""
                                                   : " custom " + std::to_string(q.colour.customColours.size())) +
                   " -> " + (q.answer ? q.chosen : "cancelled");
            break;
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
