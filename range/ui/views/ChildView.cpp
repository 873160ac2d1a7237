#include "range/ui/views/ChildView.h"

CChildView::CChildView(QWidget* parent) : QWidget(parent), platform::KitWindow(this)
{
    setObjectName(QStringLiteral("childView"));
}

CChildView::~CChildView() = default;

// Nothing to draw: the splitters lie over it.
void CChildView::paintEvent(QPaintEvent*) {}
