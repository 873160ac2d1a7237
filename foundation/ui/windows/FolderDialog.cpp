#include "foundation/ui/windows/FolderDialog.h"

#include "platform/files/FileSystem.h"

#include <QWidget>

namespace {

constexpr size_t kMaxPath = 260;

std::string Cut(const char* text)
{
    std::string s = text ? text : "";
    if (s.size() > kMaxPath - 1)
        s.resize(kMaxPath - 1);
    return s;
}

}  // namespace

CFolderDialog::CFolderDialog(const char* title, const char* initialFolder, QWidget* owner, unsigned flags)
    : m_initialFolder(Cut(initialFolder)), m_owner(owner), m_flags(flags)
{
    m_request.title = title ? title : "";
}

CFolderDialog::~CFolderDialog() = default;

int CFolderDialog::DoModal()
{
    // The owner takes no input while the chooser is open.
    bool ownerWasEnabled = m_owner && m_owner->isEnabled();
    if (ownerWasEnabled)
        m_owner->setEnabled(false);
    OnInitialized();
    int result = -1;
    for (;;) {
        std::string chosen;
        if (!platform::CurrentPrompter().ChooseFolder(m_request, chosen))
            break;
        if (chosen.empty()) {
            // An item of the chooser's own, such as the printers: there is
            // no folder to hand back.
            m_path.clear();
            result = 2;
            break;
        }
        if (platform::FolderExists(chosen)) {
            if (chosen.size() > kMaxPath - 1)
                chosen.resize(kMaxPath - 1);
            m_path = chosen;
            std::string_view name = chosen;
            while (name.size() > 1 && (name.back() == '\\' || name.back() == '/'))
                name.remove_suffix(1);
            size_t cut = name.find_last_of("\\/");
            m_displayName = std::string(cut == std::string_view::npos ? name : name.substr(cut + 1));
            OnSelChanged(m_path);
            result = 1;
            break;
        }
        // A typed path that leads nowhere: ask whether to close.
        if (OnValidateFailed(chosen) == 0)
            break;
        m_request.initialFolder = chosen;
    }
    if (ownerWasEnabled)
        m_owner->setEnabled(true);
    return result;
}

void CFolderDialog::OnInitialized()
{
    if (!m_initialFolder.empty())
        m_request.initialFolder = m_initialFolder;
}

int CFolderDialog::OnValidateFailed(const std::string&)
{
    int answer = platform::MessageBox("The path entered is not valid! Continue ?", {},
                                      platform::MessageIcon::Question, platform::MessageButtons::YesNo, 1);
    return answer == platform::IDYES ? 0 : 1;
}

void CFolderDialog::OnSelChanged(const std::string&) {}
