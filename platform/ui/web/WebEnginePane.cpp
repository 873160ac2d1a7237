#include "platform/ui/web/WebEnginePane.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>
#include <QWebEngineView>

#include <cstdlib>
#include <unistd.h>

namespace platform {
namespace {

class WebEnginePane : public HtmlPane {
public:
    explicit WebEnginePane(QWidget* parent) : m_view(new QWebEngineView(parent))
    {
        QObject::connect(m_view, &QWebEngineView::loadFinished, m_view, [this](bool ok) {
            const QUrl url = m_view->url();
            m_loaded = url.isLocalFile() ? url.toLocalFile().toStdString() : url.toString().toStdString();
            if (onLoaded)
                onLoaded(m_loaded, ok);
        });
    }
    QWidget* Widget() override { return m_view; }
    void Navigate(const std::string& nativePath) override
    {
        m_view->load(QUrl::fromLocalFile(QFileInfo(QString::fromStdString(nativePath)).absoluteFilePath()));
    }
    std::string LoadedPage() const override { return m_loaded; }

private:
    QWebEngineView* m_view;
    std::string m_loaded;
};

}  // namespace

void PrepareWebEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0)
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
}

void UseWebEnginePanes()
{
    SetHtmlPaneMaker([](QWidget* parent) { return MakeWebEnginePane(parent); });
}

std::unique_ptr<HtmlPane> MakeWebEnginePane(QWidget* parent) { return std::make_unique<WebEnginePane>(parent); }

}  // namespace platform
