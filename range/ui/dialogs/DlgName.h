#pragma once
// The names of one relay, kept by the range control itself: for each active
// lane the name, club, class, category and start score of its card in the
// relay typed above the grid. A name typed for a lane without a card makes
// the card and its name record; Delete shooter and Delete relay blank names.
// Every change is written at once through the dialog's own competition data;
// the frame reads the files again after the dialog closes.
#include "foundation/comp/DataComp.h"
#include "platform/ui/Dialog.h"
#include "range/dialogs/GridHandshake.h"
#include "range/dialogs/RelayNames.h"

#include <string>

class CGridList;
struct RangeObjects;

class CDlgName : public platform::Dialog {
public:
    enum {
        IDD = 160,
        IDC_RELAY_LABEL = 1610,
        IDC_DELSHOOTER = 1611,
        IDC_RELAY = 1612,
        IDC_SPIN = 1613,
        IDC_GRID = 1615,
        IDC_DELRELAY = 1616,
        IDC_OK = 1617,
    };

    CDlgName(RangeObjects& objects, QWidget* parent = nullptr);
    ~CDlgName() override;

    bool OnInitDialog() override;
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;

    // The relay (in start-number mode the start number) shown first; set by
    // the caller before the dialog opens.
    std::string m_relayText;

    CGridList& Grid() const { return *m_grid; }
    const RelayNames& Names() const { return m_names; }

private:
    void Fill();
    void ShowRow(int row);
    void StoreEdit(const GridCellEdit& edit);
    void OnDeleteShooter();
    void OnDeleteRelay();

    RangeObjects& m_obj;
    CDataComp m_comp;
    RelayNames m_names{m_comp};
    CGridList* m_grid;
    GridHandshake m_handshake;
    bool m_initialised = false;
};
