#include "platform/ui/controls/ProgressAdapter.h"

#include <QProgressBar>

namespace platform {

std::unique_ptr<ControlAdapter> ProgressAdapter::Build(const ControlTemplate& t, ControlBuild& build)
{
    auto* bar = new QProgressBar(build.parent);
    bar->setRange(t.min, t.max);
    bar->setValue(t.min);
    return std::make_unique<ProgressAdapter>(bar, t.id);
}

ProgressAdapter::ProgressAdapter(QProgressBar* bar, int id) : ControlAdapter(bar, id), m_bar(bar) {}

void ProgressAdapter::SetRange(int lower, int upper)
{
    m_bar->setRange(lower, upper);
}

int ProgressAdapter::Pos() const
{
    return m_bar->value();
}

void ProgressAdapter::SetPos(int pos)
{
    m_bar->setValue(pos);
}

}  // namespace platform
