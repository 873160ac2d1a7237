#pragma once
// The name page: the shooters of one relay, one row per lane, corrected
// where the range keeps its names itself.
#include "remote/names/NameList.h"
#include "remote/ui/RemotePage.h"

class CNameTab : public RemotePage {
public:
    CNameTab(RemoteSettings& settings, QWidget* parent);
    bool OnInitDialog() override;
    void SetTexts() override;
    void OnLeavePage() override;
    void OnEnterPage() override;
    void FillList();
    // An edit of a cell as the grid asks it: the begin step (false refused,
    // with its message) and the end step with the typed text.
    bool BeginEdit(int row, int column);
    void EndEdit(int row, int column, const std::string& text);
    ChooserBoxes& Boxes() { return m_boxes; }
    NameList& List() { return m_list; }

private:
    void OnClearLine();
    void OnClearRelay();
    void showEvent(QShowEvent* event) override;

    ChooserBoxes m_boxes;
    NameList m_list;
    int m_relay = -1;
    bool m_initialised = false;
};
