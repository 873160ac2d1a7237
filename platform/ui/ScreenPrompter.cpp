#include "platform/ui/ScreenPrompter.h"

#include "platform/system/Codepage.h"
#include "platform/files/ProfileStore.h"
#include "platform/files/SystemPath.h"
#include "platform/ui/UiText.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace platform {
namespace {

ScreenPrompter g_screen;
Prompter* g_prompter = nullptr;

const char* ButtonName(int id)
{
    switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDYES: return "Yes";
    case IDNO: return "No";
    default: return "?";
    }
}

QWidget* Owner()
{
    QWidget* w = QApplication::activeModalWidget();
    return w ? w : QApplication::activeWindow();
}

}  // namespace

Prompter& CurrentPrompter()
{
    return g_prompter ? *g_prompter : g_screen;
}

void SetPrompter(Prompter* prompter)
{
    g_prompter = prompter;
}

int MessageBox(const std::string& text, const std::string& caption, MessageIcon icon, MessageButtons buttons,
               int defaultButton)
{
    MessageRequest request;
    request.text = text;
    request.caption = caption;
    request.icon = icon;
    request.buttons = buttons;
    request.defaultButton = defaultButton;
    return CurrentPrompter().Message(request);
}

std::string QtFileFilter(const std::string& filter)
{
    // Pairs of description and pattern; Qt shows the description, which
    // already names the patterns, and matches what is in parentheses.
    std::string out;
    size_t pos = 0;
    while (pos < filter.size()) {
        size_t bar = filter.find('|', pos);
        std::string name = filter.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos);
        if (bar == std::string::npos)
            pos = filter.size();
        else {
            size_t next = filter.find('|', bar + 1);
            std::string patterns = filter.substr(bar + 1, next == std::string::npos ? std::string::npos : next - bar - 1);
            pos = next == std::string::npos ? filter.size() : next + 1;
            for (char& c : patterns)
                if (c == ';')
                    c = ' ';
            size_t star = patterns.find("*.*");
            while (star != std::string::npos) {
                patterns.replace(star, 3, "*");
                star = patterns.find("*.*");
            }
            size_t open = name.find('(');
            if (open != std::string::npos)
                name.erase(open);
            while (!name.empty() && name.back() == ' ')
                name.pop_back();
            name += " (" + patterns + ")";
        }
        if (name.empty())
            continue;
        if (!out.empty())
            out += ";;";
        out += name;
    }
    return out;
}

int ScreenPrompter::Message(const MessageRequest& request)
{
    QMessageBox box(Owner());
    box.setText(ToQt(request.text));
    box.setWindowTitle(ToQt(request.caption.empty() ? ProgramName() : request.caption));
    switch (request.icon) {
    case MessageIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::None: break;
    }
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;
    switch (request.buttons) {
    case MessageButtons::Ok: buttons = {{QMessageBox::Ok, IDOK}}; break;
    case MessageButtons::OkCancel: buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MessageButtons::YesNo: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
    case MessageButtons::YesNoCancel:
        buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    }
    QMessageBox::StandardButtons all;
    for (auto& b : buttons)
        all |= b.first;
    box.setStandardButtons(all);
    size_t def = request.defaultButton >= 0 && request.defaultButton < static_cast<int>(buttons.size())
                     ? static_cast<size_t>(request.defaultButton)
                     : 0;
    box.setDefaultButton(buttons[def].first);
    // Escape (and the close box) answers Cancel where there is one; a box
    // without it answers with its only or its No button, as the user meant
    // not to go on.
    if (request.buttons == MessageButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    // A box nobody can see says its text on standard error, and a question
    // there takes its default answer in time instead of waiting for good.
    if (BoxesUnseen()) {
        std::string caption = request.caption.empty() ? ProgramName() : request.caption;
        std::fprintf(stderr, "%s: %s\n", ToQt(caption).toStdString().c_str(),
                     ToQt(request.text).toStdString().c_str());
        const int ms = UnseenAnswerMs();
        const auto answer = buttons[def];
        QTimer::singleShot(ms, &box, [&box, answer, ms] {
            std::fprintf(stderr, "No one to answer: %s after %d ms\n", ButtonName(answer.second), ms);
            if (QAbstractButton* b = box.button(answer.first))
                b->click();
        });
    }
    auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (auto& b : buttons)
        if (b.first == pressed)
            return b.second;
    return request.buttons == MessageButtons::Ok ? IDOK : IDCANCEL;
}

void ScreenPrompter::Beep(BeepKind)
{
    QApplication::beep();
}

bool ScreenPrompter::ChooseFile(const FileRequest& request, std::string& path)
{
    QString start = request.initialPath.empty() ? QString() : QString::fromStdString(NativePath(request.initialPath));
    QString filter = ToQt(QtFileFilter(request.filter));
    QFileDialog dialog(Owner(), ToQt(request.title), start, filter);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save || !request.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(ToQt(request.defaultExtension));
    if (request.save && !request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = Utf8ToCp1252(dialog.selectedFiles().first().toStdString());
    return true;
}

bool ScreenPrompter::ChooseFolder(const FolderRequest& request, std::string& folder)
{
    QString start = request.initialFolder.empty() ? QString()
                                                  : QString::fromStdString(NativePath(request.initialFolder));
    QString chosen = QFileDialog::getExistingDirectory(Owner(), ToQt(request.title), start);
    if (chosen.isEmpty())
        return false;
    folder = Utf8ToCp1252(chosen.toStdString());
    return true;
}

namespace {

QColor QtColour(uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

uint32_t ColourOf(const QColor& colour)
{
    return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
           (static_cast<uint32_t>(colour.blue()) << 16);
}

}  // namespace

// Qt's chooser always shows its custom boxes and offers solid colours only,
// so the two opening options need nothing of it. Its custom boxes belong to
// the program: they are filled from the request and read back after.
bool ScreenPrompter::ChooseColour(ColourRequest& request)
{
    const int boxes = std::min(static_cast<int>(request.customColours.size()), QColorDialog::customCount());
    for (int i = 0; i < boxes; ++i)
        QColorDialog::setCustomColor(i, QtColour(request.customColours[static_cast<size_t>(i)]));
    QColor chosen = QColorDialog::getColor(QtColour(request.colour), Owner());
    for (int i = 0; i < boxes; ++i)
        request.customColours[static_cast<size_t>(i)] = ColourOf(QColorDialog::customColor(i));
    if (!chosen.isValid())
        return false;
    request.colour = ColourOf(chosen);
    return true;
}

bool ScreenPrompter::ChoosePrinter(PrinterChoice& choice)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choice.printerName.empty())
        printer.setPrinterName(ToQt(choice.printerName));
    if (!choice.pdfPath.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(NativePath(choice.pdfPath)));
    }
    printer.setCopyCount(choice.copies);
    printer.setPageOrientation(choice.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, Owner());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (choice.fromPage > 0) {
        dialog.setPrintRange(QAbstractPrintDialog::PageRange);
        dialog.setFromTo(choice.fromPage, choice.toPage);
    }
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice.printerName = FromQt(printer.printerName());
    choice.pdfPath = printer.outputFormat() == QPrinter::PdfFormat
                         ? Utf8ToCp1252(printer.outputFileName().toStdString())
                         : std::string();
    choice.copies = printer.copyCount();
    if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
        choice.fromPage = dialog.fromPage();
        choice.toPage = dialog.toPage();
    } else {
        choice.fromPage = choice.toPage = 0;
    }
    choice.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    return true;
}

bool BoxesUnseen()
{
    QString name = QGuiApplication::platformName();
    return name == "offscreen" || name == "minimal";
}

int UnseenAnswerMs()
{
    if (const char* ms = std::getenv("BV_UNSEEN_ANSWER_MS"); ms && *ms)
        return std::atoi(ms);
    return 60 * 1000;
}

}  // namespace platform
