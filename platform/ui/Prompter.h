#pragma once
// Everything that asks the user goes through one replaceable prompter:
// message boxes, beeps, file and folder choices, colours and printers. The
// screens never open a system dialog themselves, so tests can run every screen
// headless and answer its questions from a script.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Answers of a message box, with the values the programs have always used.
enum DialogAnswer : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

enum class MessageIcon { None, Stop, Exclamation, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

struct MessageRequest {
    std::string text;      // Windows-1252
    std::string caption;   // Windows-1252; empty for the program's name
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    int defaultButton = 0;  // 0 = the first button, 1 = the second, 2 = the third
};

enum class BeepKind { Default, Stop, Exclamation, Question, Information };

struct FileRequest {
    bool save = false;
    std::string title;
    std::string initialPath;     // system path, may be empty
    std::string filter;          // "Text files (*.txt)|*.txt|All files (*.*)|*.*"
    std::string defaultExtension;
    bool mustExist = true;       // open: the file must exist
    bool confirmOverwrite = true;  // save: ask before replacing
};

struct FolderRequest {
    std::string title;
    std::string initialFolder;   // system path
};

// The colour chooser: where it starts and how it opens. The custom colours
// (at most 16, 0x00BBGGRR) are shown in the chooser's own boxes, and what the
// user put there comes back in them, so a screen keeps its boxes from one
// question to the next.
struct ColourRequest {
    uint32_t colour = 0;     // the colour it starts at; on OK the one chosen
    bool fullOpen = false;   // opens with the part for defining colours shown
    bool solidOnly = false;  // offers solid colours only, none dithered
    std::vector<uint32_t> customColours;
};

// The printer and page range the user chose; the print job reads it.
struct PrinterChoice {
    std::string printerName;     // empty: the default printer
    std::string pdfPath;         // non-empty: print to this PDF file instead
    int copies = 1;
    int fromPage = 0;            // 0: all pages
    int toPage = 0;
    bool landscape = false;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // One of the DialogAnswer values.
    virtual int Message(const MessageRequest& request) = 0;
    virtual void Beep(BeepKind kind) = 0;
    // true with the chosen system path; false when cancelled.
    virtual bool ChooseFile(const FileRequest& request, std::string& path) = 0;
    // A chosen item that is no folder of the file system comes back as true
    // with an empty folder.
    virtual bool ChooseFolder(const FolderRequest& request, std::string& folder) = 0;
    // Colours as 0x00BBGGRR, the way the programs store them. true with the
    // chosen colour in request.colour; false when cancelled (the colour
    // stays as it was). The custom colours come back in either case.
    virtual bool ChooseColour(ColourRequest& request) = 0;
    // true to print with the choice (which comes in filled with the defaults);
    // false when cancelled.
    virtual bool ChoosePrinter(PrinterChoice& choice) = 0;
};

// The prompter in use: the screen prompter unless a test set another.
Prompter& CurrentPrompter();
// Replaces it (nullptr restores the screen prompter).
void SetPrompter(Prompter* prompter);

// Shorthand for the common message box.
int MessageBox(const std::string& text, const std::string& caption = {},
               MessageIcon icon = MessageIcon::None, MessageButtons buttons = MessageButtons::Ok,
               int defaultButton = 0);

}  // namespace platform
