#pragma once
// A label: its text, aligned right or framed as the template asks.
#include "platform/ui/controls/ControlAdapter.h"

class QLabel;

namespace platform {

class StaticAdapter : public ControlAdapter {
public:
    static std::unique_ptr<ControlAdapter> Build(const ControlTemplate& t, ControlBuild& build);
    StaticAdapter(QLabel* label, int id);
    void SetText(std::string_view text) override;
    std::string Text() const override;

private:
    QLabel* m_label;
};

}  // namespace platform
