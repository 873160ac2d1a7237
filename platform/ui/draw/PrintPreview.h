#pragma once
// The print preview: a window that shows the pages of a printout on the
// default printer's paper (DefaultPrinter.h; A4 without a printer), with
// paging, zoom, print and close. The pages come from a render function that draws
// the whole document on the printer target it is given, exactly as printing
// does (StartDoc, pages, EndDoc); the window calls it again when it needs
// the pages anew.
#include "platform/ui/draw/DrawTarget.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string_view>

class QPrinter;
class QPrintPreviewWidget;
class QLabel;

namespace platform {

class PrintPreview : public QWidget {
public:
    using Render = std::function<void(DrawTarget& page)>;

    explicit PrintPreview(Render render, QWidget* parent = nullptr);
    ~PrintPreview() override;

    // The tool bar's Print; without one the button is not there.
    void SetPrintAction(std::function<void()> print);
    // Called once when the window closes.
    void SetClosedAction(std::function<void()> closed);
    // The window's caption, Windows-1252.
    void SetCaption(std::string_view text);

    // Shows the preview in place of the program's main window: the main
    // window is hidden until the preview closes (or goes).
    void ShowInPlaceOfMainWindow();
    // Brings the shown preview to the front and gives it the focus.
    void BringToFront();

    // Draws the pages again (and first of all, also when not yet shown).
    void Refresh();
    int PageCount() const;
    int CurrentPage() const;
    void ShowPage(int page);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdatePageLabel();

    Render m_render;
    std::function<void()> m_print;
    std::function<void()> m_closed;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget* m_view = nullptr;
    QLabel* m_pageLabel = nullptr;
    QAction* m_printAction = nullptr;
    QPointer<QWidget> m_hiddenMain;
};

}  // namespace platform
