#include "platform/ui/HtmlPane.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

namespace platform {
namespace {

HtmlPaneMaker& Maker()
{
    static HtmlPaneMaker maker;
    return maker;
}

// The kit's own pane: Qt's rich text browser, which shows the text, tables
// and pictures of a page but runs no scripts.
class TextHtmlPane : public HtmlPane {
public:
    explicit TextHtmlPane(QWidget* parent) : m_browser(new QTextBrowser(parent))
    {
        m_browser->setOpenLinks(false);
        m_browser->setFrameShape(QFrame::NoFrame);
    }
    QWidget* Widget() override { return m_browser; }
    void Navigate(const std::string& nativePath) override
    {
        const QString file = QFileInfo(QString::fromStdString(nativePath)).absoluteFilePath();
        const bool ok = QFileInfo(file).isFile();
        m_browser->setSource(ok ? QUrl::fromLocalFile(file) : QUrl());
        if (!ok)
            m_browser->setHtml(QString());
        m_loaded = nativePath;
        // Told as a browser tells it: once the event loop has run.
        QTimer::singleShot(0, m_browser, [this, nativePath, ok] {
            if (onLoaded)
                onLoaded(nativePath, ok);
        });
    }
    std::string LoadedPage() const override { return m_loaded; }

private:
    QTextBrowser* m_browser;
    std::string m_loaded;
};

}  // namespace

void SetHtmlPaneMaker(HtmlPaneMaker maker) { Maker() = std::move(maker); }

std::unique_ptr<HtmlPane> MakeHtmlPane(QWidget* parent)
{
    if (Maker())
        return Maker()(parent);
    return std::make_unique<TextHtmlPane>(parent);
}

}  // namespace platform
