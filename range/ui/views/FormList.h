#pragma once
// The lane list: one row per lane that takes part, with the columns of the
// view the officer chose. It shows what the lanes' blocks hold as the tick
// and the targets change them, draws every cell itself in the colours that
// call for attention, and turns clicks into the simulation, shot marking and
// lift commands. Texts and colours are the logic's
// (range/views/LaneCells.h); this window measures, paints and listens.
#include "platform/ui/Dialog.h"

#include <QFont>

#include <cstdint>
#include <string_view>
#include <vector>

class CGridList;
class FrameNavigation;
class QPainter;
class RangeControl;
class ViewActions;
struct RangeObjects;

class CFormList : public platform::FormView {
public:
    static constexpr int IDD = 104;
    static constexpr int IDC_LIST = 1204;

    CFormList(RangeObjects& objects, RangeControl& range, FrameNavigation& navigation, ViewActions& actions,
              QWidget* parent = nullptr);
    ~CFormList() override;

    void OnInitialUpdate() override;
    // The columns of a view (1..6), measured, then the rows.
    void BuildColumns(int view);
    // One row per lane that takes part; none while no competition is open.
    void FillRows();
    // The rows of the lanes first..last drawn again.
    void RedrawRows(int firstLane, int lastLane);
    void RedrawAll();
    void SetHeaderText(int column, std::string_view text);

    CGridList& Grid() const { return *m_grid; }
    const std::vector<uint8_t>& Codes() const { return m_codes; }
    int View() const { return m_view; }
    // Rebuilds so far, for those who watch the list's work.
    int builds = 0;
    // The lane of a row; 0 for none.
    int LaneOfRow(int row) const;
    int RowOfLane(int lane) const;
    // The font the columns are measured and drawn with.
    const QFont& ListFont() const { return m_font; }

    // A click on a cell, and on a column's header, as the officer makes them.
    void OnItemClick(int row, int column);
    void OnHeaderClick(int column);

    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;
    void OnSize(int cx, int cy) override;
    bool OnHelpInfo(int controlId) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawRow(QPainter& painter, int row, const QRect& rect);
    uint8_t CodeOf(int column) const;

    RangeObjects& m_obj;
    RangeControl& m_range;
    FrameNavigation& m_navigation;
    ViewActions& m_actions;
    CGridList* m_grid;
    QFont m_font;
    std::vector<uint8_t> m_codes;
    int m_view = 0;
    bool m_initialised = false;
};
