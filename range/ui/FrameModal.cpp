#include "range/ui/FrameModal.h"

#include "platform/files/ProfileStore.h"
#include "platform/system/Codepage.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/ScreenPrompter.h"
#include "range/base/RangeObjects.h"
#include "range/ui/dialogs/DlgInput.h"
#include "range/ui/dialogs/DlgLaneSel.h"

#include <QTimer>

#include <cstdio>

namespace FrameModal {

int Run(platform::Dialog& dialog)
{
    if (platform::BoxesUnseen() && dynamic_cast<platform::ScreenPrompter*>(&platform::CurrentPrompter())) {
        const int ms = platform::UnseenAnswerMs();
        std::fprintf(stderr, "%s: %s\n", platform::ProgramName().c_str(), platform::Cp1252ToUtf8(dialog.Caption()).c_str());
        QTimer::singleShot(ms, &dialog, [&dialog, ms] {
            std::fprintf(stderr, "No one to answer: Cancel after %d ms\n", ms);
            dialog.OnCancel();
        });
    }
    return dialog.DoModal();
}

bool AskLane(QWidget* owner, RangeObjects& objects, LaneQuestion& q)
{
    CDlgLaneSel d(owner);
    const int lane = objects.lanes.NextActiveLane(0);
    d.m_title = objects.Text(q.titleKey);
    d.m_lane = lane;
    d.m_relay = LaneTable::IsLane(lane) ? objects.lanes[lane].active.relay : 0;
    d.m_hideAllCards = !q.showAllCards;
    d.m_hideRelay = !q.showRelay;
    if (Run(d) != platform::IDOK)
        return false;
    q.lane = d.m_lane;
    q.relay = d.m_relay;
    q.allTargets = d.m_allTargets != 0;
    q.allCards = d.m_allCards != 0;
    return true;
}

bool AskInput(QWidget* owner, RangeObjects& objects, InputQuestion& q)
{
    CDlgInput d(owner);
    d.m_title = objects.Text(q.titleKey);
    d.m_prompt = objects.Text(q.promptKey);
    d.m_textOnly = !q.withLane;
    d.m_lane = q.lane;
    if (Run(d) != platform::IDOK)
        return false;
    q.text = d.m_text;
    q.lane = d.m_lane;
    q.allTargets = d.m_allTargets != 0;
    return true;
}

}  // namespace FrameModal
