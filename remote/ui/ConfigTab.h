#pragma once
// The event list: the range folders BVRemote works on, with their names.
#include "remote/ui/RemotePage.h"

class CConfigTab : public RemotePage {
public:
    CConfigTab(RemoteSettings& settings, QWidget* parent);
    bool OnInitDialog() override;
    void SetTexts() override;
    void OnLeavePage() override;
    void FillList();
    // A mouse click on a row of the list (the keys do not make a row the clicked one).
    void ClickRow(int row);
    int ClickedRow() const { return m_clicked; }

private:
    void OnAdd();
    void OnDelete();
    void OnBrowse();
    void SaveName();
    void SaveFolder();
    int ClickedEvent() const;
    void showEvent(QShowEvent* event) override;

    int m_clicked = -1;
};
