#include "range/ui/FrameModal.h"

#include "platform/files/ProfileStore.h"
#include "platform/system/Codepage.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/ScreenPrompter.h"

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

}  // namespace FrameModal
