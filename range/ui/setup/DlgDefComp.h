#pragma once
// The settings of one competition: name, date, description, file prefix,
// organisation and shooting program, the lanes in use, start score, zoom,
// series measure, marking tempo, decimals, distances, twin-screen marking,
// super final, the lane text and the option boxes. It opens the
// competition's files itself, so it edits any competition, open or not,
// and writes only on OK.
#include "platform/ui/Dialog.h"
#include "range/setup/CompSettingsForm.h"

#include <array>
#include <memory>

struct RangeObjects;
class CDataComp;

class CDlgDefComp : public platform::Dialog {
public:
    enum {
        IDD = 134,
        IDC_NONE = 1011,
        IDC_NAME = 1005,
        IDC_LANES = 1085,
        IDC_ALL = 1086,
        IDC_LANE_GROUP = 1087,
        IDC_COMP_GROUP = 1089,
        IDC_DATE = 1091,
        IDC_ZOOM_GROUP = 1094,
        IDC_ZOOM0 = 1095,  // ..1097
        IDC_ZOOM_LEVEL = 1098,
        IDC_ZOOM_SPIN = 1099,
        IDC_MEASURE_GROUP = 1100,
        IDC_MEASURE0 = 1101,  // 1101..1103, 1119
        IDC_MARK_GROUP = 1104,
        IDC_TEMPO_LABEL = 1105,
        IDC_TEMPO = 1106,
        IDC_TEMPO_SPIN = 1107,
        IDC_SENSITIVITY_GROUP = 1114,
        IDC_SENSITIVITY0 = 1115,  // ..1118
        IDC_MEASURE3 = 1119,
        IDC_DEC_LABEL = 1120,
        IDC_DECIMALS = 1122,
        IDC_PREFIX = 1124,
        IDC_STARTNR = 1127,
        IDC_DECIMALS_SPIN = 1129,
        IDC_STARTSUM_GROUP = 1151,
        IDC_STARTSUM0 = 1154,  // ..1156
        IDC_AUTOSEND = 1141,
        IDC_PROGRAM = 1169,
        IDC_DESCRIPTION = 1179,
        IDC_DISTANCE = 1181,
        IDC_DISTANCE_SPIN = 1182,
        IDC_SIMULATED = 1184,
        IDC_SIMULATED_SPIN = 1185,
        IDC_DEFAULT = 1190,
        IDC_CANCEL = 1222,
        IDC_OK = 1223,
        IDC_ORGANISATION = 1236,
        IDC_TWIN = 1376,
        IDC_TWIN_LANE = 1377,
        IDC_TWIN_SPIN = 1378,
        IDC_SUPERFINAL_NUMBER = 1380,
        IDC_SUPERFINAL_SPIN = 1382,
        IDC_SUPERFINAL = 1601,
        IDC_WARNING = 1605,
        IDC_LANE_TEXT_LABEL = 2004,
        IDC_LANE_TEXT = 2007,
    };

    // The option boxes: control and option position, in the order the
    // dialog declares them.
    struct OptionBox {
        int id;
        int position;
    };
    static const std::array<OptionBox, 15>& OptionBoxes();

    CDlgDefComp(QWidget* parent, RangeObjects& objects, int competition);
    ~CDlgDefComp() override;

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(platform::DataExchange& dx) override;

    // After OK: the lanes in use or the start-number mode changed, so the
    // frame reads the lanes' set-up again.
    bool ReloadFlag() const { return m_reload; }
    const CompSettingsForm& Form() const { return m_form; }

private:
    bool HasChannel(int lane) const;
    void FillPrograms();
    void ShowLanes();
    void TakeLanes();
    void TakeOrganisationAndProgram();
    void SelectProgram(int number);
    void OnOrganisationChange();
    void OnAllLanes(bool ticked);
    void OnDefault();
    void OnAutoSend();

    RangeObjects& m_obj;
    int m_competition;
    std::unique_ptr<CDataComp> m_data;
    CompSettingsForm m_form;
    std::array<int, 15> m_boxes{};
    bool m_startNumbersAtLoad = false;
    int m_warning = 0;
    bool m_reload = false;
};
