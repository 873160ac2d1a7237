#include "remote/ui/PrintTab.h"

#include "remote/ui/RemotePrinter.h"

#include "foundation/settings/CompOptions.h"
#include "foundation/settings/CompSettings.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Prompter.h"

#include <QShowEvent>

using namespace platform;

namespace {

const ControlTemplate kControls[] = {
    {.id = 1036, .kind = ControlKind::Static, .row = 0, .col = 0, .key = "IDS_PRINT_EVENT"},
    {.id = 1009, .kind = ControlKind::ComboList, .row = 0, .col = 1, .colSpan = 3},
    {.id = 1041, .kind = ControlKind::Static, .row = 1, .col = 0, .key = "IDS_PRINT_COMP"},
    {.id = 1012, .kind = ControlKind::ComboList, .row = 1, .col = 1, .colSpan = 3},
    {.id = 1042, .kind = ControlKind::Group, .row = 2, .col = 0, .colSpan = 2, .key = "IDS_PRINT_LANESEL"},
    {.id = 1046, .kind = ControlKind::Static, .parent = 1042, .row = 0, .col = 0, .key = "IDS_PRINT_RELAYFROM"},
    {.id = 1004, .kind = ControlKind::Edit, .parent = 1042, .row = 0, .col = 1, .style = CS_NUMBER},
    {.id = 1005, .kind = ControlKind::Spin, .parent = 1042, .row = 0, .col = 2, .buddy = 1004, .min = 1, .max = 9999},
    {.id = 1047, .kind = ControlKind::Static, .parent = 1042, .row = 0, .col = 3, .key = "IDS_PRINT_TO"},
    {.id = 1006, .kind = ControlKind::Edit, .parent = 1042, .row = 0, .col = 4, .style = CS_NUMBER},
    {.id = 1007, .kind = ControlKind::Spin, .parent = 1042, .row = 0, .col = 5, .buddy = 1006, .min = 1, .max = 9999},
    {.id = 1044, .kind = ControlKind::Static, .parent = 1042, .row = 1, .col = 0, .key = "IDS_PRINT_LANEFROM"},
    {.id = 1000, .kind = ControlKind::Edit, .parent = 1042, .row = 1, .col = 1, .style = CS_NUMBER},
    {.id = 1001, .kind = ControlKind::Spin, .parent = 1042, .row = 1, .col = 2, .buddy = 1000, .min = 1, .max = 100},
    {.id = 1045, .kind = ControlKind::Static, .parent = 1042, .row = 1, .col = 3, .key = "IDS_PRINT_TO"},
    {.id = 1002, .kind = ControlKind::Edit, .parent = 1042, .row = 1, .col = 4, .style = CS_NUMBER},
    {.id = 1003, .kind = ControlKind::Spin, .parent = 1042, .row = 1, .col = 5, .buddy = 1002, .min = 1, .max = 100},
    {.id = 1032, .kind = ControlKind::Radio, .parent = 1042, .row = 2, .col = 0, .colSpan = 2, .key = "IDS_PRINT_GRAPHICAL", .style = CS_GROUP},
    {.id = 1033, .kind = ControlKind::Radio, .parent = 1042, .row = 3, .col = 0, .colSpan = 2, .key = "IDS_PRINT_LOG"},
    {.id = 1034, .kind = ControlKind::Radio, .parent = 1042, .row = 4, .col = 0, .colSpan = 2, .key = "IDS_PRINT_LIST"},
    {.id = 1043, .kind = ControlKind::Group, .row = 2, .col = 2, .colSpan = 2, .key = "IDS_PRINT_PROPERTIES"},
    {.id = 1048, .kind = ControlKind::Static, .parent = 1043, .row = 0, .col = 0, .key = "IDS_PRINT_SERIESPRPAGE"},
    {.id = 1014, .kind = ControlKind::Edit, .parent = 1043, .row = 0, .col = 1, .style = CS_NUMBER},
    {.id = 1015, .kind = ControlKind::Spin, .parent = 1043, .row = 0, .col = 2, .buddy = 1014, .min = 1, .max = 20},
    {.id = 1049, .kind = ControlKind::Static, .parent = 1043, .row = 1, .col = 0, .key = "IDS_PRINT_MARGIN"},
    {.id = 1016, .kind = ControlKind::Edit, .parent = 1043, .row = 1, .col = 1, .style = CS_NUMBER},
    {.id = 1017, .kind = ControlKind::Spin, .parent = 1043, .row = 1, .col = 2, .buddy = 1016, .min = 0, .max = 99},
    {.id = 1018, .kind = ControlKind::Check, .parent = 1043, .row = 2, .col = 0, .colSpan = 3, .key = "IDS_PRINT_BLACK"},
    {.id = 1019, .kind = ControlKind::Check, .parent = 1043, .row = 3, .col = 0, .colSpan = 3, .key = "IDS_PRINT_PRACTICE"},
    {.id = 1020, .kind = ControlKind::Check, .parent = 1043, .row = 4, .col = 0, .colSpan = 3, .key = "IDS_PRINT_NAME"},
    {.id = 1035, .kind = ControlKind::Check, .parent = 1043, .row = 5, .col = 0, .colSpan = 3, .key = "IDS_PRINT_STARTSUM"},
    {.id = 1038, .kind = ControlKind::Check, .parent = 1043, .row = 6, .col = 0, .colSpan = 3, .key = "IDS_PRINT_ONETOONE"},
    {.id = 1050, .kind = ControlKind::Static, .row = 3, .col = 0, .colSpan = 4, .key = "IDS_PRINT_ZOOMSEL"},
    {.id = 1021, .kind = ControlKind::Check, .row = 4, .col = 0, .key = "IDS_PRINT_ZOOM0"},
    {.id = 1022, .kind = ControlKind::Check, .row = 4, .col = 1, .text = "1"},
    {.id = 1023, .kind = ControlKind::Check, .row = 4, .col = 2, .text = "2"},
    {.id = 1024, .kind = ControlKind::Check, .row = 4, .col = 3, .text = "3"},
    {.id = 1025, .kind = ControlKind::Check, .row = 5, .col = 0, .text = "4"},
    {.id = 1026, .kind = ControlKind::Check, .row = 5, .col = 1, .text = "5"},
    {.id = 1027, .kind = ControlKind::Check, .row = 5, .col = 2, .text = "6"},
    {.id = 1028, .kind = ControlKind::Check, .row = 5, .col = 3, .text = "7"},
    {.id = 1029, .kind = ControlKind::Check, .row = 6, .col = 0, .text = "8"},
    {.id = 1030, .kind = ControlKind::Check, .row = 6, .col = 1, .text = "9"},
    {.id = 1031, .kind = ControlKind::Check, .row = 6, .col = 2, .text = "10"},
    {.id = 1039, .kind = ControlKind::Button, .row = 6, .col = 3, .key = "IDS_PRINT_PRINT"},
};
const DialogTemplate kPrint{.id = 129, .cx = 330, .cy = 214, .controls = kControls};

struct NumberOption {
    int id;
    PrintItems::Key key;
};
const NumberOption kNumbers[] = {
    {1004, PrintItems::kFirstRelay}, {1006, PrintItems::kLastRelay},    {1000, PrintItems::kFirstLane},
    {1002, PrintItems::kLastLane},   {1014, PrintItems::kSeriesPerPage}, {1016, PrintItems::kMargin},
};
const NumberOption kChecks[] = {
    {1018, PrintItems::kBlack}, {1019, PrintItems::kPractice}, {1020, PrintItems::kNames}, {1035, PrintItems::kStartSum}};

}  // namespace

CPrintTab::CPrintTab(RemoteSettings& settings, QWidget* parent)
    : RemotePage(kPrint, settings, parent), m_boxes(*this, settings, 1009, 1012)
{
    OnSelChange(1009, [this] {
        if (m_boxes.EventChosen())
            ReadOptions();
    });
    OnSelChange(1012, [this] {
        if (m_boxes.CompChosen())
            ReadOptions();
    });
    for (const NumberOption& n : kNumbers)
        OnChange(n.id, [this, key = n.key] { OnOption(key); });
    for (const NumberOption& c : kChecks)
        OnClick(c.id, [this, key = c.key] { OnOption(key); });
    for (int id = 1032; id <= 1034; ++id)
        OnClick(id, [this] {
            OnOption(PrintItems::kKind);
            ShowHide();
        });
    OnClick(1038, [this] {
        if (m_initialised)
            UpdateData(true);
        ShowHide();
    });
    for (int id = 1021; id <= 1031; ++id)
        OnClick(id, [this] { OnOption(PrintItems::kFlags); });
    OnClick(1039, [this] { OnPrint(); });
}

bool CPrintTab::OnInitDialog()
{
    Dialog::OnInitDialog();
    m_boxes.chooser.chosenEvent = m_boxes.chooser.chosenComp = -1;
    SetTexts();
    m_boxes.FillEvents();
    UpdateData(false);
    m_initialised = true;
    return true;
}

void CPrintTab::SetTexts()
{
    Relabel();
    item(1046).setTextKey(m_startNumbers ? "IDS_PRINT_STARTFROM" : "IDS_PRINT_RELAYFROM");
}

void CPrintTab::showEvent(QShowEvent* event)
{
    Dialog::showEvent(event);
    if (m_initialised)
        m_boxes.FillEvents();
}

void CPrintTab::DoDataExchange(DataExchange& dx)
{
    PrintOptions& o = m_options;
    dx.Text(1004, o.firstRelay);
    dx.Text(1006, o.lastRelay);
    dx.Text(1000, o.firstLane);
    dx.Text(1002, o.lastLane);
    dx.Text(1014, o.seriesPerPage);
    dx.Text(1016, o.margin);
    int kind = o.kind, black = o.black, practice = o.practice, names = o.names, startSum = o.startSum,
        oneToOne = o.oneToOne;
    dx.Radio(1032, kind);
    dx.Check(1018, black);
    dx.Check(1019, practice);
    dx.Check(1020, names);
    dx.Check(1035, startSum);
    dx.Check(1038, oneToOne);
    int flags[11];
    for (int i = 0; i <= 10; ++i) {
        flags[i] = o.Flag(i) ? 1 : 0;
        dx.Check(1021 + i, flags[i]);
    }
    if (dx.Saving()) {
        o.kind = kind;
        o.black = black != 0;
        o.practice = practice != 0;
        o.names = names != 0;
        o.startSum = startSum != 0;
        o.oneToOne = oneToOne != 0;
        for (int i = 0; i <= 10; ++i)
            o.SetFlag(i, flags[i] != 0);
    }
}

void CPrintTab::ReadOptions()
{
    bool oneToOne = m_options.oneToOne;
    const std::string& folder = m_boxes.chooser.rangeFolder;
    int comp = m_boxes.SelectedComp();
    CBVConfig settings;
    if (comp > 0)
        settings.Open(CompSettings::FileOf(folder, comp), 0);
    // Only shown: an unreadable competition never writes its zeros back.
    if (!settings.IsOpen()) {
        m_options = PrintOptions::Unreadable();
        m_startNumbers = false;
    } else {
        CompOptions options(ReadItem(settings, CompSettings::kOptions));
        m_startNumbers = options.IsOn(CompOptions::StartNumbers);
        m_options = PrintOptions::Read(m_settings, m_boxes.chooser.chosenEvent);
    }
    m_options.oneToOne = oneToOne;
    bool initialised = m_initialised;
    m_initialised = false;  // putting values in is no user's change
    UpdateData(false);
    m_initialised = initialised;
    ShowHide();
}

void CPrintTab::ShowHide()
{
    item(1046).setTextKey(m_startNumbers ? "IDS_PRINT_STARTFROM" : "IDS_PRINT_RELAYFROM");
    for (int id : {1000, 1001, 1002, 1003, 1044, 1045})
        item(id).show(!m_startNumbers);
    const int kind = m_options.kind;
    bool cards = kind == PrintOptions::kCards;
    for (int id : {1048, 1014, 1015, 1018, 1019, 1035, 1038})
        item(id).show(cards);
    item(1020).show(kind != PrintOptions::kLog);
    bool zoom = cards && !m_options.oneToOne;
    for (int id = 1021; id <= 1031; ++id)
        item(id).show(zoom);
    item(1050).show(zoom);
}

void CPrintTab::OnOption(PrintItems::Key key)
{
    if (!m_initialised)
        return;
    UpdateData(true);
    m_options.Store(m_settings, m_boxes.chooser.chosenEvent, key);
}

void CPrintTab::OnPrint()
{
    UpdateData(true);
    int comp = m_boxes.SelectedComp();
    if (comp <= 0) {
        MessageBox(TextOfKey("IDS_PRINT_NOCOMP"), {}, MessageIcon::Stop);
        return;
    }
    m_boxes.chooser.chosenComp = comp;
    PrintRange(m_boxes.chooser.rangeFolder, comp, m_options);
}

void CPrintTab::OnLeavePage() { m_boxes.chooser.Leave(); }

void CPrintTab::OnEnterPage()
{
    m_boxes.chooser.chosenEvent = m_boxes.chooser.chosenComp = -1;
    m_boxes.FillEvents();
    ReadOptions();
}
