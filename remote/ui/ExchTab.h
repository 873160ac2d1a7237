#pragma once
// The exchange page: the range's results program, office folder, prefix
// and start score mode, and sending the results of chosen relays.
#include "remote/settings/ExchangeParameters.h"
#include "remote/ui/RemotePage.h"

class CExchTab : public RemotePage {
public:
    CExchTab(RemoteSettings& settings, QWidget* parent);
    bool OnInitDialog() override;
    void SetTexts() override;
    void OnLeavePage() override;
    void OnEnterPage() override;
    void LoadParameters();
    void OnSave();
    void OnSend();
    ChooserBoxes& Boxes() { return m_boxes; }

private:
    void OnBrowse();
    void showEvent(QShowEvent* event) override;

    ChooserBoxes m_boxes;
    bool m_initialised = false;
};
