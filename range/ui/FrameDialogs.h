#pragma once
// The frame's modeless dialogs, one of each: the light dialog, the unit
// status dialog, the score card and the line monitor. Opening one replaces
// the one open (a score card still setting itself up is left as it is); the
// light and unit status dialogs ask every target to answer, and the frame
// hands them the answers while they are open; the tick refreshes the score
// card and the line monitor. Closing the program closes them all.
#include <QPointer>

class CDlgCard;
class CDlgLC;
class CDlgLineSpy;
class CDlgStatus;
class CMainFrame;

class FrameDialogs {
public:
    explicit FrameDialogs(CMainFrame& frame) : m_frame(frame) {}
    FrameDialogs(const FrameDialogs&) = delete;
    FrameDialogs& operator=(const FrameDialogs&) = delete;

    void OpenLightDialog();
    void OpenStatusDialog();
    void OpenCardDialog();
    void OpenLineMonitor();
    void CloseLightDialog();
    void CloseStatusDialog();
    void CloseCardDialog();
    void CloseLineMonitor();

    // The dialog open now, or null.
    CDlgLC* LightDialog() const;
    CDlgStatus* StatusDialog() const;
    CDlgCard* CardDialog() const;
    CDlgLineSpy* LineMonitor() const;

private:
    CMainFrame& m_frame;
    QPointer<CDlgLC> m_light;
    QPointer<CDlgStatus> m_status;
    QPointer<CDlgCard> m_card;
    QPointer<CDlgLineSpy> m_lineSpy;
};
