#pragma once
// The busy box of the port search: a small modeless window with the
// search's caption, its job list and a progress bar. The search's worker
// never touches it; it posts, and the box takes the search's steps on the
// user-interface thread. Its Cancel (also Enter, Escape and the close box)
// stops the search and waits for its worker; the interface dialog, which
// owns both, deletes the box when the search's end arrives.
#include "platform/ui/Dialog.h"
#include "platform/ui/PostBox.h"

#include <functional>
#include <string>
#include <vector>

class PortSearch;

class CDlgBusy : public platform::Dialog {
public:
    enum {
        IDD = 133,
        IDC_TEXT = 1003,
        IDC_JOBS = 1071,
        IDC_PROGRESS = 1072,
        IDC_CANCEL = 1073,
    };
    // The search has steps to show.
    static constexpr int WM_SEARCHSTEPS = platform::WM_APP + 51;

    explicit CDlgBusy(QWidget* parent);
    ~CDlgBusy() override;

    // The search whose steps the box shows, and what stops it (cancels and
    // waits for its worker).
    void Watch(PortSearch* search, std::function<void()> stop);
    // Where the worker announces its steps.
    platform::PostBox::Slot Slot() const { return m_post.GetSlot(); }

    bool OnInitDialog() override;
    void OnOK() override { Stop(); }
    void OnCancel() override { Stop(); }
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;

    // Shows the steps that are waiting.
    void ShowSteps();
    bool CancelRequested() const { return m_cancelRequested; }
    std::vector<std::string> Lines() const;

private:
    void Stop();

    PortSearch* m_search = nullptr;
    std::function<void()> m_stop;
    bool m_cancelRequested = false;
    platform::PostBox m_post{*this};
};
