#pragma once
// A pane that shows a local HTML page, for the display's HTML pictures. The
// program puts a maker of real browser panes in place (platform/ui/web/);
// without one a pane of the kit's own shows plain pages (text, pictures,
// tables; no scripts), so everything above builds and runs without a
// browser engine, and tests put in a pane of their own.
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace platform {

class HtmlPane {
public:
    virtual ~HtmlPane() = default;
    // The widget the pane draws in; it belongs to the parent it was made for.
    virtual QWidget* Widget() = 0;
    // Starts loading a local file (native path); the page loads while the
    // event loop runs.
    virtual void Navigate(const std::string& nativePath) = 0;
    // The local file of the page shown last (a page that moved on by itself
    // shows its new file), empty before the first page loaded.
    virtual std::string LoadedPage() const = 0;

    // Told each time a page finished loading: its file and whether it loaded.
    std::function<void(const std::string& nativePath, bool ok)> onLoaded;
};

using HtmlPaneMaker = std::function<std::unique_ptr<HtmlPane>(QWidget* parent)>;

// The maker in use; nullptr restores the kit's own pane.
void SetHtmlPaneMaker(HtmlPaneMaker maker);
std::unique_ptr<HtmlPane> MakeHtmlPane(QWidget* parent);

}  // namespace platform
