#pragma once
// The range officer's window on one shooting card of the running
// competition: every shot with its series, the series it counts in, its value
// and what the target measured, at three detail levels; the series and total
// sums, the name, the comment and the result state. The officer picks the
// card by relay (or start number) and lane, chooses the match shots, inserts,
// corrects, copies and flags shots, saves, prints the shot log and writes the
// list to a text file.
//
// Modeless, one at a time: the main frame makes it (OpenCardDialog), lets it
// follow new shots from the tick (Refresh) and deletes it when it opens
// another or closes. It reads and writes through a competition data object of
// its own, so the range's lanes are never disturbed; after every change it has
// the range read the files again. What it decides without a window
// is in range/scorecard/.
#include "foundation/comp/DataComp.h"
#include "foundation/files/BVLog.h"
#include "platform/ui/Dialog.h"
#include "range/scorecard/CardColumns.h"
#include "range/scorecard/ScoreCard.h"

#include <functional>
#include <string>
#include <vector>

class CGridList;
class QPainter;
class QRect;
class RangeControl;
struct RangeObjects;

class CDlgCard : public platform::Dialog {
public:
    enum {
        IDD = 136,
        IDC_LANE = 1010,
        IDC_SERIES_SUM = 1004,
        IDC_SERIES_COUNT = 1013,
        IDC_TOTAL_SUM = 1015,
        IDC_TOTAL_COUNT = 1016,
        IDC_LIST = 1143,
        IDC_RELAY_LABEL = 1144,
        IDC_LANE_LABEL = 1145,
        IDC_RELAY = 1146,
        IDC_RELAY_SPIN = 1147,
        IDC_LANE_SPIN = 1148,
        IDC_PRINT = 1149,
        IDC_BEST = 1150,
        IDC_TOFILE = 1152,
        IDC_LOWEST = 1153,
        IDC_FIRST = 1158,
        IDC_LAST = 1160,
        IDC_NONE = 1162,
        IDC_INSERT = 1164,
        IDC_PENALTY = 1166,
        IDC_SERIES = 1170,
        IDC_SAVE = 1171,
        IDC_SUM_LABEL = 1172,
        IDC_COUNT_LABEL = 1173,
        IDC_SERIE_LABEL = 1174,
        IDC_TOTAL_LABEL = 1175,
        IDC_MATCH_GROUP = 1176,
        IDC_DETAIL_CHECK = 1177,
        IDC_OK = 1221,
        IDC_NAME = 1379,
        IDC_DETAIL = 1606,
        IDC_CLIPBOARD = 1607,
        IDC_CLIPBOARD_LABEL = 1608,
        IDC_COMMENT_LABEL = 2000,
        IDC_COMMENT = 2001,
        IDC_STATE = 2002,
    };
    // The result states the card knows (0 none).
    static constexpr int kMostState = 4;

    CDlgCard(RangeObjects& objects, RangeControl& range, QWidget* parent);
    ~CDlgCard() override;

    // Set by the frame before Create: the card first shown, the last lane of
    // the lane spin and the series first selected (its index in the list).
    int m_relay = 1;
    int m_lane = 1;
    int m_lastLane = 1;
    int m_seriesIndex = 0;

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;
    bool PreTranslateKey(QKeyEvent* event) override;
    void OnSize(int cx, int cy) override;

    // The tick: the card read again, the list filled again when its shots
    // changed (the officer's unsaved work stays).
    void Refresh();
    // The frame's card command leaves a dialog that is still setting itself
    // up, or whose operation waits on the officer (a question, a dialog).
    bool Busy() const { return m_initialising || m_working > 0; }
    // Ends the dialog before the frame deletes it.
    void Close();

    // ---- The officer's operations (buttons, keys and the list's double click)
    // False when the officer cancelled the question.
    bool CheckDirty();
    void Save();
    void InsertShot();
    void EditShot();
    void CopyShots();
    void PasteShots();
    void PrintLog();
    void LogToFile();

    // ---- What the window shows, for its owner and the tests
    const ScoreCard& Card() const { return m_card; }
    const CardCells& Cells() const { return m_cells; }
    const std::vector<int>& ColumnKinds() const { return m_kinds; }
    const CardClipboard& Clipboard() const { return m_clipboard; }
    CGridList& List() const { return *m_grid; }
    CDataComp& Data() { return m_comp; }
    // The series of the selected entry of the series list; 0 none.
    int SelectedSeries() const;

protected:
    void moveEvent(QMoveEvent* event) override;

private:
    void BuildColumns();
    void ReadCard();
    void Fill(bool read, bool keepWork);
    void UpdateSums();
    void OnSeriesSelChange();
    void OnMatch(ScoreCard::Pick pick);
    void OnDetailChange(int detail);
    void OnKeyChange();
    void OnEndEdit(intptr_t wParam);
    intptr_t OnBeginEdit(intptr_t wParam);
    void DrawRow(QPainter& painter, int row, const QRect& rect);
    void ToggleSuperFlag(int slot);
    // The key typed in the edits; false while one holds no number.
    bool KeyOfEdits(int& relay, int& lane) const;
    void ShowKey(int relay, int lane);
    void TakeValues();
    void Work(const std::function<void()>& operation);
    void ShowClipboard();
    void RememberPlace();
    bool TurningTargets() const;
    int Program() const;
    int SeriesShots(int series);
    void RedrawList();

    RangeObjects& m_obj;
    RangeControl& m_range;
    CDataComp m_comp;
    ScoreCard m_card;
    CardCells m_cells;
    CardClipboard m_clipboard;
    CGridList* m_grid;
    std::vector<int> m_kinds;
    std::string m_comment;
    CBVLog m_log;
    bool m_initialised = false;
    bool m_initialising = false;
    int m_working = 0;  // the officer's operations running
    bool m_filling = false;
    bool m_settingKey = false;
    bool m_startNumbers = false;
    bool m_open = false;
};
