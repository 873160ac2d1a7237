#pragma once
// The commands that change how the range is set up (the File and Settings
// menus): the language, the interface with its port search, the shooting
// program editor, the competition and lane settings, the software loader of
// the system administration, and the About box.
#include "foundation/files/BVLog.h"

class CMainFrame;

class SetupCommands {
public:
    explicit SetupCommands(CMainFrame& frame) : m_frame(frame) {}

    void OnLanguage();
    void OnInterface();
    // The interface dialog, modal; its result. The frame's lines close while
    // a port search in it runs and open again afterwards.
    int RunInterfaceDialog();
    // The program editor; the programs read again after OK.
    void OnProgramEditor();
    void OnCompetitionSettings();
    void OnLaneSettings();
    void OnSystemAdministration();
    void OnAppAbout();

private:
    // A lane set-up code to every lane on a serial line or a USB adapter.
    void SendSetupToLineLanes(int code);

    CMainFrame& m_frame;
    CBVLog m_log;
};
