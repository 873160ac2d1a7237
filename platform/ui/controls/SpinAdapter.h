#pragma once
// Up-down arrows (SpinCtrl) that step the number in their buddy edit, within
// the template's range.
#include "platform/ui/controls/ControlAdapter.h"

namespace platform {

class SpinCtrl;

class SpinAdapter : public ControlAdapter {
public:
    static std::unique_ptr<ControlAdapter> Build(const ControlTemplate& t, ControlBuild& build);
    SpinAdapter(SpinCtrl* spin, int id, int buddy);
    void Bind(const KitWindow& window) override;
    void SetRange(int lower, int upper) override;
    int Pos() const override;
    void SetPos(int pos) override;

private:
    SpinCtrl* m_spin;
    int m_buddy;
};

}  // namespace platform
