#include "range/ui/dialogs/DlgSimulate.h"

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using D = CDlgSimulate;

// The labels have no use beyond their text; they take free numbers beside
// their fields.
const ControlTemplate kControls[] = {
    {.id = 1420, .kind = ControlKind::Static, .row = 0, .col = 0, .text = "X"},
    {.id = D::IDC_X, .kind = ControlKind::Edit, .row = 0, .col = 1},
    {.id = 1422, .kind = ControlKind::Static, .row = 0, .col = 2, .text = "mm"},
    {.id = 1423, .kind = ControlKind::Static, .row = 1, .col = 0, .text = "Y"},
    {.id = D::IDC_Y, .kind = ControlKind::Edit, .row = 1, .col = 1},
    {.id = 1426, .kind = ControlKind::Static, .row = 1, .col = 2, .text = "mm"},
    {.id = D::IDC_FRAME_SHOT, .kind = ControlKind::Check, .row = 2, .col = 0, .colSpan = 3, .text = "<Frame shot>"},
    {.id = D::IDC_TURNED, .kind = ControlKind::Check, .row = 3, .col = 0, .colSpan = 3, .text = "<Turned target>"},

    {.id = 1431, .kind = ControlKind::Static, .row = 0, .col = 3, .text = "A"},
    {.id = D::IDC_TIME_A, .kind = ControlKind::Edit, .row = 0, .col = 4},
    {.id = 1434, .kind = ControlKind::Static, .row = 1, .col = 3, .text = "B"},
    {.id = D::IDC_TIME_B, .kind = ControlKind::Edit, .row = 1, .col = 4},
    {.id = 1436, .kind = ControlKind::Static, .row = 2, .col = 3, .text = "C"},
    {.id = D::IDC_TIME_C, .kind = ControlKind::Edit, .row = 2, .col = 4},
    {.id = 1438, .kind = ControlKind::Static, .row = 3, .col = 3, .text = "D"},
    {.id = D::IDC_TIME_D, .kind = ControlKind::Edit, .row = 3, .col = 4},

    {.id = 1441, .kind = ControlKind::Static, .row = 0, .col = 5, .text = "<Change>"},
    {.id = D::IDC_CHANGE, .kind = ControlKind::Edit, .row = 0, .col = 6},
    {.id = 1447, .kind = ControlKind::Static, .row = 0, .col = 7, .text = "sec."},
    {.id = 1443, .kind = ControlKind::Static, .row = 1, .col = 5, .text = "<Temperature>"},
    {.id = D::IDC_TEMPERATURE, .kind = ControlKind::Edit, .row = 1, .col = 6},
    {.id = 1448, .kind = ControlKind::Static, .row = 1, .col = 7, .text = "\xB0" "C"},
    {.id = 1445, .kind = ControlKind::Static, .row = 2, .col = 5, .text = "<Run nr.>"},
    {.id = D::IDC_RUN, .kind = ControlKind::Edit, .row = 2, .col = 6},

    {.id = platform::IDOK, .kind = ControlKind::Button, .row = 4, .col = 5, .text = "OK", .style = platform::CS_DEFAULT},
    {.id = platform::IDCANCEL, .kind = ControlKind::Button, .row = 4, .col = 6, .colSpan = 2, .text = "Cancel"},
};

const platform::DialogTemplate kTemplate{
    .id = D::IDD, .caption = "<Simulate>", .cx = 294, .cy = 99, .controls = kControls};

}  // namespace

CDlgSimulate::CDlgSimulate(QWidget* parent) : platform::Dialog(kTemplate, parent) {}

void CDlgSimulate::DoDataExchange(platform::DataExchange& dx)
{
    dx.Text(IDC_X, m_x);
    dx.Text(IDC_Y, m_y);
    dx.Check(IDC_FRAME_SHOT, m_frameShot);
    dx.Check(IDC_TURNED, m_turned);
    dx.Text(IDC_TIME_A, m_timeA);
    dx.Text(IDC_TIME_B, m_timeB);
    dx.Text(IDC_TIME_C, m_timeC);
    dx.Text(IDC_TIME_D, m_timeD);
    dx.Text(IDC_CHANGE, m_change);
    dx.Text(IDC_TEMPERATURE, m_temperature);
    dx.Text(IDC_RUN, m_run);
}
