#pragma once
// The name page: the shooters of one relay, one row per lane, corrected in
// place in the grid where the range keeps its names itself.
#include "remote/names/NameList.h"
#include "remote/ui/RemotePage.h"

class CGridList;
class QPainter;
class QRect;

class CNameTab : public RemotePage {
public:
    enum { IDC_GRID = 1091 };

    CNameTab(RemoteSettings& settings, QWidget* parent);
    bool OnInitDialog() override;
    void SetTexts() override;
    void OnLeavePage() override;
    void OnEnterPage() override;
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;
    void FillList();
    // The grid's questions, as its messages bring them: the begin step
    // (false refused, with its message) and the end step with the typed text.
    bool BeginEdit(int row, int column);
    void EndEdit(int row, int column, const std::string& text);
    ChooserBoxes& Boxes() { return m_boxes; }
    NameList& List() { return m_list; }
    CGridList& Grid() const { return *m_grid; }

private:
    void DefineColumns();
    int FittedWidth(int column, int width) const;
    void ShowRows();
    // Sets the row's texts from its record; true when one changed.
    bool ShowRow(int row);
    void DrawRow(QPainter& painter, int row, const QRect& rect);
    void OnClearLine();
    void OnClearRelay();
    void showEvent(QShowEvent* event) override;

    CGridList* m_grid;
    ChooserBoxes m_boxes;
    NameList m_list;
    int m_relay = -1;
    bool m_initialised = false;
};
