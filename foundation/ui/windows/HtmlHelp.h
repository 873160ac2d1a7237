#pragma once
// The help of a program: one local HTML page per topic in the program's help
// folder (for example ".\Help\BVLederEN\136.html", and "index.html" for topic
// 0). F1 and help requests of every window end here with (topic, command).
// A topic without a page is logged, so the missing pages can be found.
#include "foundation/files/BVLog.h"
#include "platform/ui/Help.h"

#include <functional>
#include <string>

class CHtmlHelp : public platform::HelpService {
public:
    explicit CHtmlHelp(std::string folder);
    ~CHtmlHelp() override;

    void SetFolder(std::string folder) { m_folder = std::move(folder); }
    const std::string& Folder() const { return m_folder; }
    // The page of a topic (a system path).
    std::string PagePath(uint32_t topic) const;
    void ShowHelp(uint32_t topic, int command) override;

    // Opens a page (native path) in the user's browser; tests put their own here.
    std::function<bool(const std::string&)> openPage;

private:
    std::string m_folder;
    CBVLog m_log;
};
