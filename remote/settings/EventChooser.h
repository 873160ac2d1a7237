#pragma once
// The event and competition boxes the print, name and exchange pages share:
// what each box lists, which item is selected, and what is remembered in
// BVRemote.BVC when the user chooses or leaves the page. The pages show the
// items; the choices live here so that they are tested without a window.
#include "remote/settings/RemoteSettings.h"

#include <string>
#include <vector>

struct ChooserItem {
    std::string text;  // Windows-1252
    int data = 0;      // event or competition number
};

class EventChooser {
public:
    explicit EventChooser(RemoteSettings& settings) : m_settings(settings) {}

    // -1: take the remembered one at the next fill.
    int chosenEvent = -1;
    int chosenComp = -1;
    // The chosen event's range folder, ending in a backslash (".\" before one is chosen).
    std::string rangeFolder = ".\\";

    const std::vector<ChooserItem>& EventItems() const { return m_events; }
    const std::vector<ChooserItem>& CompItems() const { return m_comps; }
    int EventSelection() const { return m_eventSel; }  // -1 none
    int CompSelection() const { return m_compSel; }

    // Lists the events in use and selects the chosen (or remembered) one;
    // then lists its competitions.
    void FillEvents();
    // Lists the competitions of the chosen event's folder and selects the
    // chosen (or remembered) one. Also when the box is opened, so that
    // competitions made meanwhile on the range appear.
    void FillCompetitions();
    // The user picked item i of a box.
    void ChooseEvent(int item);
    void ChooseComp(int item);
    // Stores the selected event and competition when they differ from
    // what is remembered.
    void Leave();
    // Forgets the page's choice and lists afresh from what is remembered.
    void Enter();

    // The number of a "Comp*" folder entry, or 0 when it is not a competition.
    static int CompetitionNumber(const std::string& entry);
    // "nn: <date>    <name> (<prefix>) <description>" as the boxes show it.
    static std::string CompetitionText(int n, const std::string& date, const std::string& name,
                                       const std::string& prefix, const std::string& description);

private:
    RemoteSettings& m_settings;
    std::vector<ChooserItem> m_events;
    std::vector<ChooserItem> m_comps;
    int m_eventSel = -1;
    int m_compSel = -1;
};
