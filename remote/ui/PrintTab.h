#pragma once
// The print page: cards, lists or shot logs of chosen relays and lanes,
// with options kept per event.
#include "remote/print/PrintOptions.h"
#include "remote/ui/RemotePage.h"

class CPrintTab : public RemotePage {
public:
    CPrintTab(RemoteSettings& settings, QWidget* parent);
    bool OnInitDialog() override;
    void SetTexts() override;
    void OnLeavePage() override;
    void OnEnterPage() override;
    void DoDataExchange(platform::DataExchange& dx) override;
    void OnPrint();
    const PrintOptions& Options() const { return m_options; }
    ChooserBoxes& Boxes() { return m_boxes; }

private:
    void ReadOptions();
    void ShowHide();
    void OnOption(PrintItems::Key key);
    void showEvent(QShowEvent* event) override;

    ChooserBoxes m_boxes;
    PrintOptions m_options;
    bool m_startNumbers = false;
    bool m_initialised = false;
};
