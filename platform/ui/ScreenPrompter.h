#pragma once
// The prompter of a running program: Qt's message boxes and choosers, owned
// by the program's active window.
#include "platform/ui/Prompter.h"

namespace platform {

class ScreenPrompter : public Prompter {
public:
    int Message(const MessageRequest& request) override;
    void Beep(BeepKind kind) override;
    bool ChooseFile(const FileRequest& request, std::string& path) override;
    bool ChooseFolder(const FolderRequest& request, std::string& folder) override;
    bool ChooseColour(ColourRequest& request) override;
    bool ChoosePrinter(PrinterChoice& choice) override;
};

// Whether nobody can see a box: the program runs without a display.
bool BoxesUnseen();
// How long an unseen question waits before it takes its default answer: a
// minute, or BV_UNSEEN_ANSWER_MS for a program started by a test.
int UnseenAnswerMs();

// "Text files (*.txt)|*.txt|All files (*.*)|*.*" as Qt writes a filter:
// "Text files (*.txt);;All files (*)".
std::string QtFileFilter(const std::string& filter);

}  // namespace platform
