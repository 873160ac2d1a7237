#pragma once
// The Command menu's work on the targets and the series, and the series
// commands that open dialogs: the zoom, the band motors' advance, the target
// lift, the lamps, the shooting clock started and stopped, the welcome with
// its choice of lanes and set-up, the one-target welcome, and the final
// marking.
class CMainFrame;

class TargetCommands {
public:
    explicit TargetCommands(CMainFrame& frame) : m_frame(frame) {}

    // Zoom level 1..3 on every target.
    void OnZoom(int level);
    void OnMotor();
    void OnLift();
    // The light dialog, and full light on every target.
    void OnLightCommand();
    void OnClockStart();
    void OnClockStop();
    void OnWelcomeCommand();
    void OnWelcomeOne();
    void OnFinalMarking();

private:
    // Refused in the practice competition and without one; the officer is told.
    bool InCompetition();

    CMainFrame& m_frame;
};
