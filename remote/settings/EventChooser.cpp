#include "remote/settings/EventChooser.h"

#include "foundation/settings/CompSettings.h"
#include "platform/files/FileSystem.h"

#include <cstdio>
#include <cstdlib>

void EventChooser::FillEvents()
{
    m_settings.Refresh();
    m_events.clear();
    m_eventSel = -1;
    if (chosenEvent <= 0)
        chosenEvent = m_settings.RememberedEvent();
    for (int e : m_settings.Events()) {
        if (e == chosenEvent)
            m_eventSel = static_cast<int>(m_events.size());
        m_events.push_back({m_settings.EventName(e), e});
    }
    if (m_eventSel < 0)
        chosenEvent = -1;
    FillCompetitions();
}

int EventChooser::CompetitionNumber(const std::string& entry)
{
    // Longer names are not the range control's folders.
    if (entry.size() >= 15 || entry.size() < 5)
        return 0;
    int n = std::atoi(entry.c_str() + 4);
    return n > 0 ? n : 0;
}

std::string EventChooser::CompetitionText(int n, const std::string& date, const std::string& name,
                                          const std::string& prefix, const std::string& description)
{
    char number[16];
    std::snprintf(number, sizeof number, "%02d:", n);
    // Texts of at most 31 + 60 characters; the buffer holds them all.
    char text[256];
    std::snprintf(text, sizeof text, "%s %12s    %s (%2s) %s", number, date.c_str(), name.c_str(), prefix.c_str(),
                  description.c_str());
    return text;
}

void EventChooser::FillCompetitions()
{
    m_comps.clear();
    m_compSel = -1;
    if (chosenEvent <= 0)
        return;
    rangeFolder = m_settings.RangeFolder(chosenEvent);
    if (chosenComp <= 0)
        chosenComp = m_settings.RememberedComp(chosenEvent);
    for (const std::string& entry : platform::FindFiles(rangeFolder, "Comp*", true)) {
        int n = CompetitionNumber(entry);
        if (n <= 0 || !platform::FolderExists(rangeFolder + entry))
            continue;
        CBVConfig comp;
        comp.Open(CompSettings::FileOf(rangeFolder, n), 0);
        std::string description = ReadItem(comp, CompSettings::kDescription1) + ReadItem(comp, CompSettings::kDescription2);
        std::string text = CompetitionText(n, ReadItem(comp, CompSettings::kDate), ReadItem(comp, CompSettings::kName),
                                           comp.IsOpen() ? ReadItem(comp, CompSettings::kPrefix) : "", description);
        if (n == chosenComp)
            m_compSel = static_cast<int>(m_comps.size());
        m_comps.push_back({text, n});
    }
}

void EventChooser::ChooseEvent(int item)
{
    if (item < 0 || item >= static_cast<int>(m_events.size()))
        return;
    m_eventSel = item;
    chosenEvent = m_events[static_cast<size_t>(item)].data;
    m_settings.Write(RemoteItems::kChosenEvent, chosenEvent);
    chosenComp = -1;
    FillCompetitions();
}

void EventChooser::ChooseComp(int item)
{
    if (item < 0 || item >= static_cast<int>(m_comps.size()) || chosenEvent <= 0)
        return;
    m_compSel = item;
    chosenComp = m_comps[static_cast<size_t>(item)].data;
    m_settings.Write(RemoteItems::ChosenComp(chosenEvent), chosenComp);
}

void EventChooser::Leave()
{
    int e = m_eventSel >= 0 ? m_events[static_cast<size_t>(m_eventSel)].data : -1;
    m_settings.RememberEvent(e);
    if (e > 0)
        m_settings.RememberComp(e, m_compSel >= 0 ? m_comps[static_cast<size_t>(m_compSel)].data : -1);
}

void EventChooser::Enter()
{
    chosenEvent = -1;
    chosenComp = -1;
    FillEvents();
}
