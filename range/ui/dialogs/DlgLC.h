#pragma once
// The lamps of the targets: the active lanes with the two intensities each
// target reports, a typed value sent to its lane at once, one lane's values
// copied to the next lane or to all, and the lamp test (none, red, green)
// switched on every lane. Modeless; the main frame opens it, sends every
// target the light command that makes it report, and hands it the targets'
// light messages while it is open. Everything goes out through the range's
// SendLight.
#include "platform/ui/Dialog.h"
#include "range/dialogs/GridHandshake.h"
#include "range/dialogs/LampTable.h"

#include <cstdint>

class CGridList;
struct LineMessage;
class RangeControl;
struct RangeObjects;

class CDlgLC : public platform::Dialog {
public:
    enum {
        IDD = 147,
        IDC_OK = 1356,
        IDC_GRID = 1358,
        IDC_COPY_ALL = 1359,
        IDC_COPY_NEXT = 1360,
        IDC_TEST_NONE = 1362,
        IDC_TEST_RED = 1363,
        IDC_TEST_GREEN = 1364,
        IDC_TEST_GROUP = 1365,
    };
    // Grid columns: the lane, intensity B, intensity A.
    enum { kColLane = 0, kColB = 1, kColA = 2 };

    CDlgLC(RangeObjects& objects, RangeControl& range, QWidget* parent);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;

    // A light message of a target while the dialog is open.
    void UpdateLane(const LineMessage& m);
    // Ends the dialog before the frame deletes it.
    void Close();
    bool IsOpen() const { return m_open; }

    CGridList& Grid() const { return *m_grid; }
    const LampTable& Lamps() const { return m_lamps; }
    int m_test = -1;  // the lamp test radio

private:
    void OnTest();
    void OnCopyAll();
    void OnCopyNext();
    void StoreEdit(const GridCellEdit& edit);
    int RowOfLane(int lane) const;
    int LaneOfRow(int row) const;
    void ShowRow(int row);
    void Send(int lane, const std::array<int, 3>& values);

    RangeObjects& m_obj;
    RangeControl& m_range;
    CGridList* m_grid;
    LampTable m_lamps;
    GridHandshake m_handshake;
    bool m_open = false;
};
