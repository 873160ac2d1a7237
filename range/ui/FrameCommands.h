#pragma once
// The frame's command table: per entry the commands of a menu item, its keys
// and tool buttons, the handler (named, so that a test frame can note it)
// and whether the practice competition refuses it. Registered on the
// window, which routes each command after the active view and runs it
// through the frame's RunCommand; the bars and the tab strip show whether
// they are on. A command in no entry has no handler and stays disabled.
#include <functional>
#include <vector>

class CMainFrame;

struct FrameCommand {
    std::vector<int> ids;
    const char* handler;
    bool refusedInPractice;
    std::function<void(int id)> run;
};

class FrameCommands {
public:
    explicit FrameCommands(CMainFrame& frame) : m_frame(frame) {}

    // Builds the table and hands each command to the frame's window.
    void Register();
    const std::vector<FrameCommand>& Table() const { return m_table; }

private:
    void Build();

    CMainFrame& m_frame;
    std::vector<FrameCommand> m_table;
};
