#pragma once
// A group box: its title, and a grid of its own for the controls inside it.
#include "platform/ui/controls/ControlAdapter.h"

class QGroupBox;

namespace platform {

class GroupAdapter : public ControlAdapter {
public:
    static std::unique_ptr<ControlAdapter> Build(const ControlTemplate& t, ControlBuild& build);
    GroupAdapter(QGroupBox* box, int id);
    QGridLayout* ChildLayout() const override { return m_grid; }
    void SetText(std::string_view text) override;
    std::string Text() const override;

private:
    QGroupBox* m_box;
    QGridLayout* m_grid;
};

}  // namespace platform
