#pragma once
// New shooters come to the line: which relay each active lane shoots next,
// either one relay for all lanes (typed or stepped with the arrows) or an
// entry per lane in the grid; in a competition by start numbers, the start
// number of each lane, which Auto numbers consecutively. An entry that is not
// the lane's current relay shows in red. The caller sets the three flags
// before DoModal and reads the results after OK: the all-lanes box, the relay
// number and each active lane's entry (every one the relay number when the
// box is ticked).
#include "platform/ui/Dialog.h"
#include "range/dialogs/GridHandshake.h"
#include "range/dialogs/RelayEntries.h"

class CGridList;
class QPainter;
class QRect;
struct RangeObjects;

class CDlgRelay : public platform::Dialog {
public:
    enum {
        IDD = 138,
        IDC_LANE_LABEL = 1186,
        IDC_RELAY_LABEL = 1187,
        IDC_ALL = 1188,
        IDC_GRID = 1189,
        IDC_RELAY = 1207,
        IDC_OK = 1208,
        IDC_CANCEL = 1209,
        IDC_SPIN = 1212,
        IDC_AUTO = 1298,
    };
    enum { kColLane = 0, kColEntry = 1, kColStartNumber = 2, kColName = 3, kColumns = 4 };

    CDlgRelay(RangeObjects& objects, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(platform::DataExchange& dx) override;
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;

    // Set by the caller before the dialog opens.
    RelayFlags m_flags;

    // The results.
    int m_allLanes = 0;
    int m_relay = 1;
    int LaneRelay(int lane) const { return m_entries.Entry(lane); }

    const RelayEntries& Entries() const { return m_entries; }
    CGridList& Grid() const { return *m_grid; }
    bool StartNumbers() const { return m_startNumbers; }

private:
    void DefineColumns();
    void Fill();
    void ShowRow(int row);
    void ShowAllRows();
    void StoreEdit(const GridCellEdit& edit);
    void OnAllLanes();
    void OnRelayChange();
    void OnAuto();
    // Shows what all lanes or the grid need and sizes the dialog to it.
    void ShowForChoice();
    void FitHeight();
    // The members to the controls, without the relay edit taking it as typed.
    void ShowMembers();
    void DrawRow(QPainter& painter, int row, const QRect& rect) const;

    RangeObjects& m_obj;
    CGridList* m_grid;
    RelayEntries m_entries;
    GridHandshake m_handshake;
    bool m_startNumbers = false;
    bool m_initialised = false;
    bool m_showing = false;
};
