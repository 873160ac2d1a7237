#pragma once
// Lets the user pick a folder and hands back its path. The choice itself is
// the prompter's folder chooser, so tests answer it like any other question.
#include "platform/ui/Prompter.h"

#include <string>

class QWidget;

class CFolderDialog {
public:
    // Flag 1: only folders of the file system.
    CFolderDialog(const char* title, const char* initialFolder = nullptr, QWidget* owner = nullptr,
                  unsigned flags = 1);
    virtual ~CFolderDialog();

    // 1 when a folder was chosen (GetFolderPath has it); 2 when the chosen
    // item has no path in the file system; -1 when the user cancelled.
    int DoModal();
    const std::string& GetFolderPath() const { return m_path; }
    const std::string& GetDisplayName() const { return m_displayName; }

protected:
    // Before the chooser opens: it starts at the initial folder.
    virtual void OnInitialized();
    // A typed path that is no folder: 0 lets the chooser close (nothing
    // chosen), 1 keeps it open.
    virtual int OnValidateFailed(const std::string& typed);
    virtual void OnSelChanged(const std::string& folder);

    platform::FolderRequest m_request;
    std::string m_path;           // the chosen folder, up to 260 characters
    std::string m_initialFolder;  // up to 260 characters
    std::string m_displayName;
    QWidget* m_owner;
    unsigned m_flags;
};
