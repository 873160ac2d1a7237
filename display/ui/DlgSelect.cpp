#include "display/ui/DlgSelect.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "display/settings/VisSettings.h"
#include "display/ui/VisAboutDlg.h"
#include "foundation/files/BVConfig.h"
#include "display/ui/DisplayText.h"
#include "platform/system/TextTable.h"
#include "platform/ui/ControlWidgets.h"

namespace {

using platform::ControlKind;

const platform::ControlTemplate kControls[] = {
    {.id = CDlgSelect::IDC_LIST, .kind = ControlKind::ListView, .row = 0, .col = 0, .rowSpan = 6,
     .style = platform::CS_STRETCH},
    {.id = CDlgSelect::IDC_START, .kind = ControlKind::Button, .row = 0, .col = 1, .key = "IDS_SELECT_START",
     .style = platform::CS_DEFAULT},
    {.id = CDlgSelect::IDC_CONFIG, .kind = ControlKind::Button, .row = 1, .col = 1, .key = "IDS_SELECT_CONFIG"},
    {.id = CDlgSelect::IDC_LANGUAGE, .kind = ControlKind::Button, .row = 2, .col = 1, .key = "IDS_SELECT_LANGUAGE"},
    {.id = CDlgSelect::IDC_ABOUT, .kind = ControlKind::Button, .row = 3, .col = 1, .key = "IDS_SELECT_ABOUT"},
    {.id = CDlgSelect::IDC_EXIT, .kind = ControlKind::Button, .row = 5, .col = 1, .key = "IDS_SELECT_EXIT"},
};
const platform::DialogTemplate kTemplate{
    .id = CDlgSelect::IDD, .captionKey = "IDS_SELECT_NAME", .cx = 260, .cy = 150, .controls = kControls};

constexpr int kTimer = 1;
constexpr int kListWidth = 250;
// The countdown stands over the start button, this far in from its corner.
constexpr int kNumberLeft = 30;
constexpr int kNumberTop = 2;
constexpr int kNumberPoints = 24;
// Tall enough for the countdown's figures, and wide enough that they stand
// left of the button's centred text.
constexpr int kStartButtonHeight = 46;
constexpr int kStartButtonWidth = 150;

}  // namespace

CDlgSelect::CDlgSelect(CBVConfig& profiles, CBVConfig& settings, QWidget* parent)
    : Dialog(kTemplate, parent), m_profiles(profiles), m_settings(settings)
{
    OnClick(IDC_START, [this] { OnStart(); });
    OnClick(IDC_CONFIG, [this] { OnConfig(); });
    OnClick(IDC_LANGUAGE, [this] { OnConfig(kUserPage); });
    OnClick(IDC_ABOUT, [this] { OnAbout(); });
    OnClick(IDC_EXIT, [this] { OnExit(); });

    QWidget* start = item(IDC_START).widget();
    start->setMinimumHeight(kStartButtonHeight);
    start->setMinimumWidth(kStartButtonWidth);
    m_countdown = new QLabel(this);
    QFont font = m_countdown->font();
    font.setPointSize(kNumberPoints);
    m_countdown->setFont(font);
    m_countdown->setForegroundRole(QPalette::ButtonText);
    m_countdown->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_countdown->setAttribute(Qt::WA_TranslucentBackground);
    m_countdown->hide();
    // Any click or key in the list ends the countdown, on an entry or not.
    QWidget* list = item(IDC_LIST).widget();
    list->installEventFilter(this);
    if (auto* view = qobject_cast<QAbstractScrollArea*>(list))
        view->viewport()->installEventFilter(this);
}

CDlgSelect::~CDlgSelect() = default;

bool CDlgSelect::OpenStores()
{
    if (!m_profiles.IsOpen())
        m_profiles.Open(".\\Profil.bvc", 0);
    if (!m_settings.IsOpen())
        m_settings.Open(".\\BVVis.bvc", 0);
    return m_profiles.IsOpen();
}

int CDlgSelect::NamedProfiles()
{
    if (!m_profiles.IsOpen())
        return 0;
    const int n = ReadItem(m_profiles, VisItems::kProfileCount);
    int named = 0;
    for (int p = 1; p <= n; ++p)
        named += !ReadItem(m_profiles, VisItems::ProfileName(p)).empty();
    return named;
}

bool CDlgSelect::OnInitDialog()
{
    Dialog::OnInitDialog();
    exitRequest = false;
    startedByCountdown = false;
    m_startText = platform::TextOfKey("IDS_SELECT_START");
    item(IDC_LIST).insertColumn(0, platform::TextOfKey("IDS_SELECT_LIST_H0"), kListWidth);
    m_count = 0;
    DrawCountdown();
    SetTimer(kTimer, secondMs);
    profile = DisplayText::Profile().GetInt("LastStart", "Profile", 1);
    const int named = NamedProfiles();
    // Nothing to show yet: the operator sets up a profile first.
    if (named == 0)
        OnConfig();
    FillList();
    m_countdownRunning = autoStart && named > 0;
    DrawCountdown();
    return true;
}

void CDlgSelect::FillList()
{
    Relabel();
    m_startText = platform::TextOfKey("IDS_SELECT_START");
    platform::Control list = item(IDC_LIST);
    list.setColumnHeader(0, platform::TextOfKey("IDS_SELECT_LIST_H0"));
    list.resetContent();
    if (!m_profiles.IsOpen())
        return;
    const int n = ReadItem(m_profiles, VisItems::kProfileCount);
    for (int p = 1; p <= n; ++p) {
        std::string name = ReadItem(m_profiles, VisItems::ProfileName(p));
        if (name.empty())
            continue;
        int row = list.addItem(name, p);
        if (p == profile) {
            list.setSelection(row);
            list.ensureVisible(row);
        }
    }
}

void CDlgSelect::OnTimer(int id)
{
    if (id == kTimer)
        OnCountdown();
}

void CDlgSelect::OnCountdown()
{
    if (!m_profiles.IsOpen())
        return;
    // Another program changed the profiles: the list shows them, and the
    // countdown waits for that second.
    if (m_profiles.Refresh() > 0) {
        FillList();
        return;
    }
    if (!m_countdownRunning)
        return;
    if (++m_count > kCountdownSeconds) {
        // Without a selection nothing starts, and the dialog stays: a start
        // by hand afterwards is no start by the countdown.
        startedByCountdown = Start();
        return;
    }
    DrawCountdown();
}

std::string CDlgSelect::CountdownText() const
{
    return m_countdown && !m_countdown->isHidden() ? m_countdown->text().toStdString() : std::string();
}

void CDlgSelect::PlaceCountdown()
{
    QWidget* start = item(IDC_START).widget();
    m_countdown->adjustSize();
    m_countdown->move(start->mapTo(this, QPoint(kNumberLeft, kNumberTop)));
    m_countdown->raise();
}

void CDlgSelect::DrawCountdown()
{
    // The button's text again, without the last number.
    item(IDC_START).setText(m_startText);
    if (!m_countdownRunning || m_count > kCountdownSeconds) {
        m_countdown->hide();
        return;
    }
    m_countdown->setText(QString::number(kCountdownSeconds - m_count));
    PlaceCountdown();
    m_countdown->show();
}

void CDlgSelect::OnSize(int, int)
{
    if (m_countdown && !m_countdown->isHidden())
        PlaceCountdown();
}

void CDlgSelect::StopCountdown()
{
    m_countdownRunning = false;
    DrawCountdown();
}

bool CDlgSelect::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        StopCountdown();
        // The row under the click is selected once the list has taken it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                platform::Control list = item(IDC_LIST);
                if (list.selection() >= 0)
                    profile = static_cast<int>(list.itemData(list.selection()));
            },
            Qt::QueuedConnection);
    } else if (event->type() == QEvent::KeyPress) {
        StopCountdown();
        platform::Control list = item(IDC_LIST);
        if (list.selection() >= 0)
            profile = static_cast<int>(list.itemData(list.selection()));
    }
    return Dialog::eventFilter(watched, event);
}

void CDlgSelect::OnStart() { Start(); }

bool CDlgSelect::Start()
{
    platform::Control list = item(IDC_LIST);
    const int row = list.selection();
    if (row < 0)
        return false;
    KillTimer(kTimer);
    profile = static_cast<int>(list.itemData(row));
    DisplayText::Profile().WriteInt("LastStart", "Profile", profile);
    EndDialog(platform::IDOK);
    return true;
}

void CDlgSelect::OnConfig(int page)
{
    // The countdown does not come back after the settings.
    KillTimer(kTimer);
    m_countdownRunning = false;
    DrawCountdown();
    if (settingsDialog)
        settingsDialog(this, profile, page);
    OpenStores();
    if (m_profiles.IsOpen())
        m_profiles.Refresh();
    FillList();
}

void CDlgSelect::OnAbout()
{
    StopCountdown();
    CVisAboutDlg about(this);
    about.DoModal();
}

void CDlgSelect::OnExit()
{
    exitRequest = true;
    KillTimer(kTimer);
    EndDialog(platform::IDCANCEL);
}
