#pragma once
// The Results menu's commands on the lanes' monitors and cards, each for a
// lane chosen in the lane dialog or for every lane that takes part: a text
// to the monitors, the card overview sent again, the cards fetched from the
// monitors, deleted on the monitors, the cards and names deleted on the
// range. A lane chosen that does not take part is left alone.
class CMainFrame;

class MonitorCommands {
public:
    explicit MonitorCommands(CMainFrame& frame) : m_frame(frame) {}

    void OnMessageToMonitors();
    void OnUpdateMonitors();
    void OnFetchFromMonitors();
    void OnDeleteMonitorCards();
    void OnDeleteCards();
    void OnDeleteNames();

private:
    CMainFrame& m_frame;
};
