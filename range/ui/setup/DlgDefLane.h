#pragma once
// The range officer's lane settings: one row per active lane with its target
// type, value system, gauge, sensitivity and band advance, edited in the grid;
// a lane copied to the next lane or to all. The dialog works on a copy of
// the lanes' card images and writes it back on OK; every edit leaves the
// edited lane's values in the range configuration as the defaults of new
// lanes, whatever the dialog ends with. It sends nothing to the targets: the
// command that opened it stores the cards and sends the set-ups after OK.
#include "platform/ui/Dialog.h"
#include "range/dialogs/GridHandshake.h"
#include "range/dialogs/LaneSettingsTable.h"

#include <string>

class CGridList;
struct RangeObjects;

class CDlgDefLane : public platform::Dialog {
public:
    enum {
        IDD = 135,
        IDC_NEXT = 1008,
        IDC_GRID = 1138,
        IDC_ALL = 1140,
        IDC_UPDATE = 1142,
        IDC_OK = 1215,
        IDC_CANCEL = 1216,
    };
    enum {
        kColLane = 0,
        kColType = 1,
        kColValueSystem = 2,
        kColGauge = 3,
        kColSensitivity = 4,
        kColLength = 5,
        kColFrequency = 6,
        kColumns = 7,
    };

    CDlgDefLane(RangeObjects& objects, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;

    CGridList& Grid() const { return *m_grid; }
    const LaneSettingsTable& Settings() const { return m_settings; }

private:
    void DefineColumns();
    void Fill();
    void ShowRow(int row);
    void ShowAllRows();
    int RowCode(int row, int column) const;
    void StoreEdit(const GridCellEdit& edit);
    void OnCopyNext();
    void OnCopyAll();
    bool CompetitionOpen() const;

    RangeObjects& m_obj;
    CGridList* m_grid;
    LaneSettingsTable m_settings;
    GridHandshake m_handshake;
};
