#include "foundation/ui/windows/HtmlHelp.h"

#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

CHtmlHelp::CHtmlHelp(std::string folder) : m_folder(std::move(folder))
{
    openPage = [](const std::string& native) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(native)));
    };
}

CHtmlHelp::~CHtmlHelp() = default;

std::string CHtmlHelp::PagePath(uint32_t topic) const
{
    return platform::JoinSystemPath(m_folder, topic == 0 ? "index.html" : std::to_string(topic) + ".html");
}

void CHtmlHelp::ShowHelp(uint32_t topic, int command)
{
    std::string page = PagePath(topic);
    if (!platform::FileExists(page)) {
        BV_LOG(m_log, 80, "Help %u (%d): no page %s", topic, command, page.c_str());
        return;
    }
    if (!openPage || !openPage(platform::NativePath(page)))
        BV_LOG(m_log, 80, "Help %u (%d): cannot open %s", topic, command, page.c_str());
}
