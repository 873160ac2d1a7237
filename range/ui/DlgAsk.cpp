#include "range/ui/DlgAsk.h"

#include "foundation/files/BVLog.h"
#include "platform/system/TextTable.h"
#include "platform/ui/ScreenPrompter.h"
#include "platform/ui/UiText.h"

#include <QTimer>

#include <cstdio>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;

constexpr int kButtons[4] = {CDlgAsk::IDC_BUTTON1, CDlgAsk::IDC_BUTTON2, CDlgAsk::IDC_BUTTON3, CDlgAsk::IDC_BUTTON4};
constexpr int kLineIds[4] = {CDlgAsk::IDC_LINE1, CDlgAsk::IDC_LINE2, CDlgAsk::IDC_LINE3, CDlgAsk::IDC_LINE4};

const ControlTemplate kControls[] = {
    {.id = CDlgAsk::IDC_LINE1, .kind = ControlKind::Edit, .row = 0, .col = 0, .colSpan = 4,
     .style = platform::CS_READONLY | platform::CS_NOBORDER},
    {.id = CDlgAsk::IDC_LINE2, .kind = ControlKind::Edit, .row = 1, .col = 0, .colSpan = 4,
     .style = platform::CS_READONLY | platform::CS_NOBORDER},
    {.id = CDlgAsk::IDC_LINE3, .kind = ControlKind::Edit, .row = 2, .col = 0, .colSpan = 4,
     .style = platform::CS_READONLY | platform::CS_NOBORDER},
    {.id = CDlgAsk::IDC_LINE4, .kind = ControlKind::Edit, .row = 3, .col = 0, .colSpan = 4,
     .style = platform::CS_READONLY | platform::CS_NOBORDER},
    {.id = CDlgAsk::IDC_PROGRESS, .kind = ControlKind::Progress, .row = 4, .col = 0, .colSpan = 4,
     .style = platform::CS_HIDDEN, .min = 0, .max = 100},
    {.id = CDlgAsk::IDC_BUTTON1, .kind = ControlKind::Button, .row = 5, .col = 0, .style = platform::CS_HIDDEN},
    {.id = CDlgAsk::IDC_BUTTON2, .kind = ControlKind::Button, .row = 5, .col = 1, .style = platform::CS_HIDDEN},
    {.id = CDlgAsk::IDC_BUTTON3, .kind = ControlKind::Button, .row = 5, .col = 2, .style = platform::CS_HIDDEN},
    {.id = CDlgAsk::IDC_BUTTON4, .kind = ControlKind::Button, .row = 5, .col = 3, .style = platform::CS_HIDDEN},
};

const platform::DialogTemplate kTemplate{.id = CDlgAsk::IDD, .cx = 260, .cy = 90, .controls = kControls};

}  // namespace

CDlgAsk::CDlgAsk(QWidget* frame) : platform::Dialog(kTemplate, frame)
{
    for (int i = 0; i < 4; ++i)
        OnClick(kButtons[i], [this, i] { OnAnswer(i); });
}

std::array<std::string, 4> CDlgAsk::SplitMessage(const std::string& message)
{
    std::array<std::string, 4> lines;
    std::string text = message.substr(0, kMessageChars);
    size_t line = 0;
    for (size_t i = 0; i < text.size() && line < lines.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            // A CR LF pair ends one line, not two.
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++line;
            continue;
        }
        if (lines[line].size() < static_cast<size_t>(kLineChars))
            lines[line] += c;
    }
    return lines;
}

void CDlgAsk::SetContent(const std::string& title, const std::string& message, const std::array<int, 4>& values,
                         const std::array<const char*, 4>& keys)
{
    m_title = title;
    m_lines = SplitMessage(message);
    m_values = values;
    for (size_t i = 0; i < keys.size(); ++i)
        m_keys[i] = keys[i] ? keys[i] : "";
    if (Created())
        Apply();
    m_open = true;
}

void CDlgAsk::Apply()
{
    SetCaption(m_title);
    for (size_t i = 0; i < 4; ++i) {
        item(kLineIds[i]).setText(m_lines[i]);
        platform::Control button = item(kButtons[i]);
        button.show(m_values[i] != 0);
        if (!m_keys[i].empty())
            button.setText(platform::TextOfKey(m_keys[i]));
    }
}

bool CDlgAsk::OnInitDialog()
{
    Apply();
    return true;
}

void CDlgAsk::SetProgress(int position)
{
    if (!m_open || !Created())
        return;
    platform::Control bar = item(IDC_PROGRESS);
    bar.show(position != 0);
    bar.setPos(position);
}

void CDlgAsk::Close()
{
    m_open = false;
    ShowWindow(false);
}

void CDlgAsk::AnswerWhenUnseen()
{
    if (!platform::BoxesUnseen())
        return;
    std::string text;
    for (const std::string& line : m_lines)
        if (!line.empty())
            text += (text.empty() ? "" : " ") + line;
    std::fprintf(stderr, "%s: %s\n", platform::ToQt(m_title).toStdString().c_str(),
                 platform::ToQt(text).toStdString().c_str());
    const int round = ++m_unseenRound;
    const int ms = platform::UnseenAnswerMs();
    QTimer::singleShot(ms, this, [this, round, ms] {
        if (!m_open || round != m_unseenRound)
            return;
        std::fprintf(stderr, "No one to answer: Cancel after %d ms\n", ms);
        CBVLog log;
        BV_LOG(log, 80, "No one to answer %s: Cancel after %d ms", m_title.c_str(), ms);
        for (size_t i = 0; i < m_values.size(); ++i)
            if (m_values[i] == kCancel) {
                OnAnswer(static_cast<int>(i));
                return;
            }
        Close();
    });
}

void CDlgAsk::OnAnswer(int button)
{
    m_answer = m_values[static_cast<size_t>(button)];
    m_open = false;
    // Synchronously: the frame acts on the answer before the click returns.
    platform::SendMessage(parentWidget(), WM_ASK_ANSWER, m_answer, 0);
}

void CDlgAsk::OnOK()
{
    m_open = false;
    EndDialog(platform::IDOK);
}
