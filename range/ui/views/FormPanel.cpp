#include "range/ui/views/FormPanel.h"

#include "foundation/comp/ShotClock.h"
#include "platform/system/TextTable.h"
#include "platform/ui/UiText.h"
#include "platform/ui/draw/DrawSurface.h"
#include "range/base/RangeObjects.h"
#include "range/ui/views/FrameNavigation.h"
#include "range/ui/views/ViewActions.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>

#include <array>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::CS_DISABLED;
using platform::CS_GROUP;
using platform::CS_HIDDEN;
using P = CFormPanel;

constexpr ControlTemplate Series(int n)
{
    return {.id = P::IDC_SERIES1 + n - 1, .kind = ControlKind::Radio, .parent = P::IDC_PROGRAMGROUP, .row = n,
            .col = 0, .style = n == 1 ? static_cast<uint32_t>(CS_GROUP) : 0u};
}

const ControlTemplate kControls[] = {
    {.id = P::IDC_CLOCK, .kind = ControlKind::Button, .row = 0, .col = 0, .key = "IDS_PANEL_TIME"},
    {.id = P::IDC_TIMES, .kind = ControlKind::Static, .row = 1, .col = 0},
    {.id = P::IDC_SHOOT, .kind = ControlKind::Button, .row = 2, .col = 0, .key = "IDS_PANEL_SHOOT"},
    {.id = P::IDC_MARKALL, .kind = ControlKind::Button, .row = 3, .col = 0, .key = "IDS_PANEL_MARKALL"},
    {.id = P::IDC_MARKTWIN, .kind = ControlKind::Button, .row = 3, .col = 1, .key = "IDS_PANEL_MARKALL2",
     .style = CS_HIDDEN},
    {.id = P::IDC_SHOOTER, .kind = ControlKind::Button, .row = 4, .col = 0, .key = "IDS_PANEL_SHOOTER"},
    {.id = P::IDC_CARD, .kind = ControlKind::Button, .row = 5, .col = 0, .key = "IDS_PANEL_CARD"},
    {.id = P::IDC_MARKGROUP, .kind = ControlKind::Group, .row = 6, .col = 0, .key = "IDS_PANEL_S_MARK"},
    {.id = P::IDC_MARK0, .kind = ControlKind::Radio, .parent = P::IDC_MARKGROUP, .row = 0, .col = 0,
     .key = "IDS_PANEL_MARK0", .style = CS_GROUP},
    {.id = P::IDC_MARK1, .kind = ControlKind::Radio, .parent = P::IDC_MARKGROUP, .row = 1, .col = 0,
     .key = "IDS_PANEL_MARK1"},
    {.id = P::IDC_MARK2, .kind = ControlKind::Radio, .parent = P::IDC_MARKGROUP, .row = 2, .col = 0,
     .key = "IDS_PANEL_MARK2"},
    {.id = P::IDC_PROGRAMGROUP, .kind = ControlKind::Group, .row = 7, .col = 0, .key = "IDS_PANEL_S_PROGRAM"},
    Series(1), Series(2), Series(3), Series(4), Series(5), Series(6), Series(7), Series(8), Series(9), Series(10),
    Series(11), Series(12), Series(13), Series(14), Series(15), Series(16), Series(17), Series(18), Series(19),
    Series(20), Series(21), Series(22), Series(23), Series(24), Series(25), Series(26), Series(27), Series(28),
};
const platform::DialogTemplate kTemplate{.id = CFormPanel::IDD, .cx = 120, .cy = 300, .controls = kControls};

// Pixels of the panel's own layout.
constexpr int kMargin = 4;
constexpr int kClockHeight = 62;   // the clock's digits above the button's caption
constexpr int kClockDigits = 40;
constexpr int kButtonHeight = 24;
constexpr int kGap = 3;
constexpr int kMarkGroupHeight = 74;

QRect ToQRect(const platform::Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

}  // namespace

CFormPanel::CFormPanel(RangeObjects& objects, FrameNavigation& navigation, ViewActions& actions, QWidget* parent)
    : platform::FormView(kTemplate, parent), m_obj(objects), m_navigation(navigation), m_actions(actions)
{
    // The panel places its controls itself: the series buttons stack as
    // the program asks, so no grid of the template holds them.
    for (QGroupBox* group : findChildren<QGroupBox*>())
        delete group->layout();
    delete layout();

    auto* clockButton = qobject_cast<QPushButton*>(item(IDC_CLOCK).widget());
    if (clockButton) {
        // The caption goes below the digits drawn over the button.
        clockButton->setStyleSheet(QStringLiteral("QPushButton { padding-top: %1px; }").arg(kClockDigits));
        m_clockFace = new QLabel(clockButton);
        m_clockFace->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_clockFace->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        m_clockFace->setObjectName(QStringLiteral("clockFace"));
        QPalette black = m_clockFace->palette();
        black.setColor(QPalette::WindowText, Qt::black);
        m_clockFace->setPalette(black);
    }
    item(IDC_TIMES).widget()->setProperty("alignment", static_cast<int>(Qt::AlignHCenter | Qt::AlignVCenter));

    for (int n = 1; n <= PanelModel::kSeriesButtons; ++n)
        OnClick(IDC_SERIES1 + n - 1, [this, n] { SelectSeries(n - 1); });
    for (int kind = 0; kind < 3; ++kind)
        OnClick(IDC_MARK0 + kind, [this, kind] {
            m_markKind = kind;
            PanelModel::SetMarkKind(m_obj, kind);
        });
    OnClick(IDC_CLOCK, [this] { OnClockButton(); });
    OnClick(IDC_SHOOT, [this] {
        TakeControls();
        m_actions.ShootSeries(m_markKind, m_seriesIndex, false);
    });
    OnClick(IDC_MARKALL, [this] {
        TakeControls();
        m_actions.MarkSeries(m_markKind, m_seriesIndex, false);
    });
    OnClick(IDC_MARKTWIN, [this] {
        TakeControls();
        m_actions.MarkTwinLane(m_markKind, m_seriesIndex);
    });
    OnClick(IDC_SHOOTER, [this] {
        TakeControls();
        m_actions.OnNewShooter();
    });
    OnClick(IDC_CARD, [this] {
        TakeControls();
        m_navigation.RouteCommand(kCardCommand);
    });
    setMinimumWidth(PanelWidth());
}

CFormPanel::~CFormPanel() = default;

int CFormPanel::PanelWidth() const { return platform::DialogUnitsToPixels(this, 112, 10).width(); }

void CFormPanel::OnInitialUpdate()
{
    SetTexts();
    platform::FormView::OnInitialUpdate();
    m_laidOut = true;
    Layout();
}

void CFormPanel::DoDataExchange(platform::DataExchange& dx)
{
    dx.Radio(IDC_SERIES1, m_seriesIndex);
    dx.Radio(IDC_MARK0, m_markKind);
    dx.Text(IDC_TIMES, m_times);
}

void CFormPanel::TakeControls() { UpdateData(true); }

void CFormPanel::SetTexts()
{
    Relabel();
    item(IDC_MARKALL).setText(platform::TextOfKey(m_state.markAllKey));
    item(IDC_SHOOTER).setText(platform::TextOfKey(m_state.shooterKey));
    if (!m_state.programName.empty())
        item(IDC_PROGRAMGROUP).setText(m_state.programName);
    DrawClock();
}

void CFormPanel::Refresh()
{
    ShowSeries(PanelModel::Read(m_obj));
}

void CFormPanel::SelectSeries(int index)
{
    ShowSeries(PanelModel::SelectSeries(m_obj, index));
    m_seriesIndex = index;
    // The next tick draws the clock again.
    m_obj.clock.ResetStoredText();
}

void CFormPanel::PreviousSeries()
{
    TakeControls();
    if (m_seriesIndex > 0)
        SelectSeries(m_seriesIndex - 1);
}

void CFormPanel::NextSeries()
{
    TakeControls();
    if (m_seriesIndex + 1 < m_state.stepCount)
        SelectSeries(m_seriesIndex + 1);
}

void CFormPanel::ShowSeries(const PanelModel::State& state)
{
    m_state = state;
    const int buttons = static_cast<int>(state.seriesNames.size());
    for (int n = 1; n <= PanelModel::kSeriesButtons; ++n) {
        platform::Control button = item(IDC_SERIES1 + n - 1);
        if (n <= buttons)
            button.setText(state.seriesNames[static_cast<size_t>(n - 1)]);
        button.show(n <= buttons);
    }
    item(IDC_PROGRAMGROUP).setText(state.programName);
    m_seriesIndex = state.series - 1;
    m_markKind = state.markKind;
    m_times = state.times;
    item(IDC_MARKTWIN).show(state.twinLane);
    item(IDC_MARKALL).setText(platform::TextOfKey(state.markAllKey));
    item(IDC_SHOOTER).setText(platform::TextOfKey(state.shooterKey));
    CShotClock& clock = m_obj.clock;
    clock.Set(state.clock.period, state.clock.extra, static_cast<int16_t>(state.clock.mode));
    for (int id : {static_cast<int>(IDC_SHOOT), static_cast<int>(IDC_SHOOTER), static_cast<int>(IDC_MARKALL),
                   static_cast<int>(IDC_CLOCK)})
        item(id).enable(state.running);
    Layout();
    UpdateData(false);
    DrawClock();
    update();
}

void CFormPanel::OnClockButton()
{
    CShotClock& clock = m_obj.clock;
    clock.Toggle();
    DrawClock();
    m_actions.SendClockMode(0);
}

void CFormPanel::OnClockTick()
{
    if (m_obj.CompetitionNumber() <= 0)
        return;
    char text[CShotClock::kTextSize];
    if (m_obj.clock.FormatTime(text))
        DrawClock();
}

void CFormPanel::DrawClock()
{
    if (!m_clockFace)
        return;
    CShotClock& clock = m_obj.clock;
    // Without a competition the clock is not shown.
    if (m_obj.CompetitionNumber() <= 0) {
        m_clockFace->clear();
        return;
    }
    item(IDC_CLOCK).setText(platform::TextOfKey(clock.IsRunning() ? "IDS_PANEL_TIME_STOP" : "IDS_PANEL_TIME"));
    char text[CShotClock::kTextSize];
    clock.FormatTime(text);
    QFont font(platform::FontFamilyFor("MS Sans Serif"));
    font.setPointSize(PanelModel::ClockPoints(text));
    m_clockFace->setFont(font);
    m_clockFace->setText(platform::ToQt(text));
    clock.SetStoredText(text);
}

std::string CFormPanel::ClockText() const { return m_clockFace ? platform::FromQt(m_clockFace->text()) : std::string(); }

int CFormPanel::ClockPointSize() const { return m_clockFace ? m_clockFace->font().pointSize() : 0; }

void CFormPanel::Layout()
{
    if (!m_laidOut)
        return;
    const int w = std::max(width(), PanelWidth());
    const int inner = w - 2 * kMargin;
    int y = kMargin;
    QWidget* clockButton = item(IDC_CLOCK).widget();
    clockButton->setGeometry(kMargin, y, inner, kClockHeight);
    if (m_clockFace)
        m_clockFace->setGeometry(0, 0, inner, kClockDigits);
    y += kClockHeight + kGap;
    item(IDC_TIMES).widget()->setGeometry(kMargin, y, inner, 18);
    y += 18 + kGap;
    item(IDC_SHOOT).widget()->setGeometry(kMargin, y, inner, kButtonHeight);
    y += kButtonHeight + kGap;
    platform::Rect markAll{kMargin, y, kMargin + inner / 2, y + kButtonHeight};
    platform::Rect twin{kMargin + inner / 2, y, kMargin + inner, y + kButtonHeight};
    PanelModel::SplitMarkButtons(markAll, twin, m_state.twinLane);
    item(IDC_MARKALL).widget()->setGeometry(ToQRect(markAll));
    item(IDC_MARKTWIN).widget()->setGeometry(ToQRect(twin));
    y += kButtonHeight + kGap;
    item(IDC_SHOOTER).widget()->setGeometry(kMargin, y, inner, kButtonHeight);
    y += kButtonHeight + kGap;
    item(IDC_CARD).widget()->setGeometry(kMargin, y, inner, kButtonHeight);
    y += kButtonHeight + 2 * kGap;

    // The marking group, then the program's series stacked below it.
    platform::Rect markFirst{kMargin, y, kMargin + inner, y + kMarkGroupHeight};
    platform::Rect program{kMargin, y + kMarkGroupHeight + kGap, kMargin + inner, 0};
    const int h = item(IDC_SERIES1).widget()->sizeHint().height();
    const int shown = static_cast<int>(m_state.seriesNames.size());
    PanelModel::Layout l = PanelModel::StackSeries(markFirst, program, h, shown);
    QWidget* markGroup = item(IDC_MARKGROUP).widget();
    markGroup->setGeometry(ToQRect(l.markGroup));
    for (int kind = 0; kind < 3; ++kind)
        item(IDC_MARK0 + kind).widget()->setGeometry(8, 18 + kind * 17, l.markGroup.Width() - 12, 17);
    QWidget* programGroup = item(IDC_PROGRAMGROUP).widget();
    programGroup->setGeometry(ToQRect(l.programGroup));
    for (int n = 0; n < PanelModel::kSeriesButtons; ++n) {
        // The buttons lie in the group box: its corner is their origin.
        QRect r = ToQRect(l.buttons[static_cast<size_t>(n)]).translated(-l.programGroup.left, -l.programGroup.top);
        item(IDC_SERIES1 + n).widget()->setGeometry(r);
    }
    setMinimumHeight(l.programGroup.bottom + kMargin);
}

void CFormPanel::OnSize(int, int)
{
    Layout();
    update();
}

// Whatever covered the panel also covered the clock: it is drawn again on
// the next tick.
void CFormPanel::paintEvent(QPaintEvent* event)
{
    m_obj.clock.ResetStoredText();
    platform::FormView::paintEvent(event);
}

void CFormPanel::focusOutEvent(QFocusEvent* event)
{
    m_obj.clock.ResetStoredText();
    platform::FormView::focusOutEvent(event);
}

bool CFormPanel::OnHelpInfo(int controlId)
{
    m_navigation.HelpAt(this, controlId);
    return true;
}
