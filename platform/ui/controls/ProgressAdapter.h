#pragma once
// A progress bar: a position within a range, starting at its lower end.
#include "platform/ui/controls/ControlAdapter.h"

class QProgressBar;

namespace platform {

class ProgressAdapter : public ControlAdapter {
public:
    static std::unique_ptr<ControlAdapter> Build(const ControlTemplate& t, ControlBuild& build);
    ProgressAdapter(QProgressBar* bar, int id);
    void SetRange(int lower, int upper) override;
    int Pos() const override;
    void SetPos(int pos) override;

private:
    QProgressBar* m_bar;
};

}  // namespace platform
