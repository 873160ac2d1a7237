#pragma once
// The pictures page: the pictures with their name, type, HTML file, the
// targets they show (lane, event, kind of panel, zoom rings), what the
// panels show, the estimate during a series, the place, one-shot, clock and
// final options, and the Nettcast export format.
#include <string>

#include "display/ui/config/ConfigPage.h"

class CBVConfig;
class CGridList;
class QPainter;
class QRect;

class CDlgPict : public CConfigPage {
public:
    enum {
        IDD = 138,
        IDC_LIST = 1023,
        IDC_NEW = 1024,
        IDC_DELETE = 1025,
        IDC_NAME = 1027,
        IDC_TYPE = 1029,  // radios 1029, 1030, 1031, 1034
        IDC_TYPE1 = 1030,
        IDC_TYPE2 = 1031,
        IDC_TYPE3 = 1034,
        IDC_LANES = 1032,
        IDC_EVENT = 1045,
        IDC_HTML = 1050,
        IDC_FINDFILE = 1125,
        IDC_ADD = 1070,
        IDC_REMOVE = 1071,
        IDC_SORT = 1133,
        IDC_CLONE = 1145,
        IDC_TARGETS = 1072,
        IDC_COUNT = 1115,
        IDC_SHOWPLACE = 1134,
        IDC_ONESHOT = 1123,
        IDC_CLOCK = 1146,
        IDC_NOFINAL = 1116,
        IDC_NAMECLUB = 1105,  // radios 1105, 1106, 1107
        IDC_NAMEONLY = 1106,
        IDC_CLUBONLY = 1107,
        IDC_CLASS = 1108,
        IDC_CATEGORY = 1109,
        IDC_SHOTLIST = 1111,
        IDC_SERIESNAME = 1112,
        IDC_SHOTCOUNT = 1113,
        IDC_ESTIMATE = 1117,  // radios 1117 .. 1120
        IDC_PNG = 1214,       // radios 1214, 1216, 1217
        IDC_BIN = 1216,
        IDC_PNGBIN = 1217,
    };
    enum { kColLane = 0, kColEvent, kColView, kColRings };

    CDlgPict(CDlgConfig& config, QWidget* parent);

    bool OnInitDialog() override;
    void SetTexts() override;
    void OnShown() override;
    void DoDataExchange(platform::DataExchange& dx) override;
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;

    CGridList& Grid() const { return *m_grid; }
    // The picture selected in the list; 0 none.
    int SelectedPicture() const;
    void FillList();
    void FillTargets();
    // Shows and hides the controls that the picture's type has no use for.
    void ShowControls(int type);

private:
    CBVConfig* SelectedStore() const;
    void ShowPicture();
    void FillLanes();
    void FillEvents();
    void OnListClick();
    void OnNew();
    void OnDelete();
    void OnType();
    void SaveName();
    void SaveHtml();
    void OnFindFile();
    void OnAdd();
    void OnRemove();
    void OnSort();
    void OnClone();
    void OnOption(int id);
    void SaveViewFlags();
    void DefineGrid();
    void DrawRow(QPainter& painter, int row, const QRect& rect) const;
    void SelectTarget(int row);

    CGridList* m_grid;
    // Bound to the controls.
    std::string m_html;
    std::string m_name;
    int m_type = 0;
    int m_showPlace = 0;
    int m_targetCount = 0;
    int m_nameChoice = 0;
    int m_category = 0;
    int m_class = 0;
    int m_seriesName = 0;
    int m_shotCount = 0;
    int m_shotList = 0;
    int m_noFinal = 0;
    int m_estimate = 0;
    int m_oneShot = 0;
    int m_clock = 0;
    int m_export = 0;
    bool m_filling = false;
};
