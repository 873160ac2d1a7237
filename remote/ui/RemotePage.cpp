#include "remote/ui/RemotePage.h"

#include "platform/ui/Controls.h"

RemotePage::RemotePage(const platform::DialogTemplate& tmpl, RemoteSettings& settings, QWidget* parent)
    : Dialog(tmpl, parent), m_settings(settings)
{
    // A page lies inside the tab control, not in a window of its own.
    setWindowFlags(Qt::Widget);
}

ChooserBoxes::ChooserBoxes(platform::KitWindow& window, RemoteSettings& settings, int eventBox, int compBox)
    : chooser(settings), m_window(window), m_eventBox(eventBox), m_compBox(compBox)
{
}

void ChooserBoxes::FillEvents()
{
    chooser.FillEvents();
    platform::Control box = m_window.item(m_eventBox);
    box.resetContent();
    for (const ChooserItem& item : chooser.EventItems())
        box.addItem(item.text, item.data);
    box.setSelection(chooser.EventSelection());
    ShowComps();
}

void ChooserBoxes::FillCompetitions()
{
    chooser.FillCompetitions();
    ShowComps();
}

void ChooserBoxes::ShowComps()
{
    platform::Control box = m_window.item(m_compBox);
    box.resetContent();
    for (const ChooserItem& item : chooser.CompItems())
        box.addItem(item.text, item.data);
    box.setSelection(chooser.CompSelection());
}

bool ChooserBoxes::EventChosen()
{
    int index = m_window.item(m_eventBox).selection();
    if (index < 0)
        return false;
    chooser.ChooseEvent(index);
    ShowComps();
    return true;
}

bool ChooserBoxes::CompChosen()
{
    int index = m_window.item(m_compBox).selection();
    if (index < 0)
        return false;
    chooser.ChooseComp(index);
    return true;
}

int ChooserBoxes::SelectedComp() const
{
    platform::Control box = m_window.item(m_compBox);
    int index = box.selection();
    return index < 0 ? -1 : static_cast<int>(box.itemData(index));
}
