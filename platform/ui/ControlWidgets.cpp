#include "platform/ui/ControlWidgets.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace platform {

SpinCtrl::SpinCtrl(QWidget* parent) : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(16, 11);
        layout->addWidget(b);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void SpinCtrl::SetRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
}

int SpinCtrl::Pos() const
{
    if (!m_buddy)
        return m_lower;
    bool ok = false;
    int v = m_buddy->text().trimmed().toInt(&ok);
    return ok ? v : m_lower;
}

void SpinCtrl::SetPos(int pos)
{
    if (m_buddy)
        m_buddy->setText(QString::number(pos));
}

void SpinCtrl::Step(int delta)
{
    int lo = std::min(m_lower, m_upper);
    int hi = std::max(m_lower, m_upper);
    // A range given upside down counts the other way, as the arrows show it.
    if (m_lower > m_upper)
        delta = -delta;
    int next = Pos() + delta;
    if (m_wrap && next > hi)
        next = lo;
    else if (m_wrap && next < lo)
        next = hi;
    next = std::clamp(next, lo, hi);
    if (!m_buddy || next == Pos())
        return;
    SetPos(next);
}

ListViewCtrl::ListViewCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
}

TreeCtrl::TreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
}

}  // namespace platform
