#pragma once
// The range officer's control panel in the narrow pane beside the lane
// list: the competition's shooting program with a button per series, the
// mark kind, the selected series' times, the shooting clock in large digits
// over its start button, and the buttons that shoot, mark, start a new
// shooter and open the card. What it shows is worked out by the logic
// (range/views/PanelModel.h); the buttons start the officer's operations
// (ViewActions).
#include "platform/ui/Dialog.h"
#include "range/views/PanelModel.h"

#include <QPointer>

#include <string>

class FrameNavigation;
class QLabel;
class ViewActions;
struct RangeObjects;

class CFormPanel : public platform::FormView {
public:
    static constexpr int IDD = 103;
    enum : int {
        IDC_MARKGROUP = 1043,
        IDC_PROGRAMGROUP = 1203,
        IDC_SERIES1 = 1501,
        IDC_MARK0 = 1040,
        IDC_MARK1 = 1041,
        IDC_MARK2 = 1042,
        IDC_CLOCK = 1006,
        IDC_TIMES = 1237,
        IDC_SHOOT = 1300,
        IDC_MARKALL = 1037,
        IDC_MARKTWIN = 1375,
        IDC_SHOOTER = 1038,
        IDC_CARD = 1039,
    };
    // The frame's card command, which the card button routes.
    static constexpr int kCardCommand = 32788;

    CFormPanel(RangeObjects& objects, FrameNavigation& navigation, ViewActions& actions, QWidget* parent = nullptr);
    ~CFormPanel() override;

    void OnInitialUpdate() override;
    void DoDataExchange(platform::DataExchange& dx) override;
    // Reads the program and the competition again and shows them.
    void Refresh();
    // The captions after a language change.
    void SetTexts();
    // The frame's tick: the clock is drawn when its text changed.
    void OnClockTick();
    // Draws the clock's text now, and its button's caption.
    void DrawClock();
    void PreviousSeries();
    void NextSeries();
    void SelectSeries(int index);

    // The width the frame leaves the panel.
    int PanelWidth() const;
    const PanelModel::State& State() const { return m_state; }
    int SeriesIndex() const { return m_seriesIndex; }
    int MarkKind() const { return m_markKind; }
    // The text the clock shows, as last drawn, and its size in points.
    std::string ClockText() const;
    int ClockPointSize() const;

    void OnSize(int cx, int cy) override;
    bool OnHelpInfo(int controlId) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Layout();
    void OnClockButton();
    void ShowSeries(const PanelModel::State& state);
    // Before a button acts: the series and mark kind as the controls show them.
    void TakeControls();

    RangeObjects& m_obj;
    FrameNavigation& m_navigation;
    ViewActions& m_actions;
    PanelModel::State m_state;
    int m_seriesIndex = -1;
    int m_markKind = 0;
    std::string m_times;
    QPointer<QLabel> m_clockFace;
    bool m_laidOut = false;
};
