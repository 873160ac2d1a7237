#pragma once
// The Results menu's commands that take results off the range: the cards
// printed (the print dialog's settings kept in the range configuration
// whatever the officer answers), the results sent to the results office or
// onto a memory stick, and the names kept by the range itself.
class CMainFrame;

class ResultsCommands {
public:
    explicit ResultsCommands(CMainFrame& frame) : m_frame(frame) {}

    void OnPrintCards();
    // The cards of relays first..last (0..0: each lane's own) and lanes
    // first..last on the printer the officer picks; the number of cards
    // printed, which the status bar tells.
    int PrintCards(int firstRelay, int lastRelay, int firstLane, int lastLane, bool withDialog);
    void OnSendToOffice();
    void OnMedia();
    // The names dialog, when the names are kept here, then the names taken
    // to the lifts' monitors where they show them.
    void OnNames();
    void RunNamesDialog();

private:
    // The relay the dialogs start at: the first active lane's, else 1.
    int FirstRelay() const;

    CMainFrame& m_frame;
};
