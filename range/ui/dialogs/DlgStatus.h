#pragma once
// What the target units report about themselves: per lane the software
// versions, two counters, a 4-bit count and the unit's model, with the
// counters' totals below the list. Modeless; the main frame opens it, sends
// the status query to every unit and hands it the units' version and status
// replies while it is open.
#include "platform/ui/Dialog.h"

#include <cstdint>

struct LineMessage;
class RangeControl;
struct RangeObjects;

class CDlgStatus : public platform::Dialog {
public:
    enum {
        IDD = 142,
        IDC_LIST = 1245,
        IDC_FETCH = 1247,
        IDC_OK = 1249,
        IDC_TOTAL1 = 1283,  // of the first counters
        IDC_TOTAL2 = 1284,  // of the second counters
    };
    enum { kColLane, kColVersion, kColStatusVersion, kColCounter1, kColCounter2, kColCount4, kColModel, kColumns };

    CDlgStatus(RangeObjects& objects, RangeControl& range, QWidget* parent);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // A unit's version reply (0x86) and status reply (0x87).
    void SetVersion(const LineMessage& m);
    void SetStatus(const LineMessage& m);
    // Ends the dialog before the frame deletes it.
    void Close();
    bool IsOpen() const { return m_open; }

    int64_t Total1() const { return m_total1; }
    int64_t Total2() const { return m_total2; }

private:
    void MakeRows();
    void OnFetch();
    void ShowTotals(bool empty);

    RangeObjects& m_obj;
    RangeControl& m_range;
    int64_t m_total1 = 0;
    int64_t m_total2 = 0;
    bool m_open = false;
};
