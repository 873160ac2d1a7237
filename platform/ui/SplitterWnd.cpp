#include "platform/ui/SplitterWnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

namespace platform {
namespace {

constexpr int kBorder = 2;

// The frame around one pane: the view inside, the border drawn by the splitter.
class PaneFrame : public QWidget {
public:
    PaneFrame(SplitterWnd* splitter) : QWidget(splitter), m_splitter(splitter) {}

    QWidget* View() const { return m_view; }
    void SetView(QWidget* view)
    {
        m_view = view;
        if (view) {
            view->setParent(this);
            Place();
            view->show();
        }
    }
    QWidget* TakeView()
    {
        QWidget* view = m_view;
        m_view = nullptr;
        if (view)
            view->setParent(nullptr);
        return view;
    }
    QSize sizeHint() const override { return m_view ? m_view->sizeHint() : QSize(20, 20); }
    QSize minimumSizeHint() const override { return QSize(0, 0); }

protected:
    void resizeEvent(QResizeEvent*) override { Place(); }
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        // The splitter draws in its own coordinates: a pane in the first
        // column has its left edge at 0, one in the first row its top edge.
        p.translate(-pos());
        m_splitter->OnDrawSplitter(&p, SplitterWnd::Part::Border, geometry());
    }

private:
    void Place()
    {
        if (m_view)
            m_view->setGeometry(rect().adjusted(kBorder, kBorder, -kBorder, -kBorder));
    }
    SplitterWnd* m_splitter;
    QWidget* m_view = nullptr;
};

class SplitterBar : public QSplitterHandle {
public:
    SplitterBar(Qt::Orientation o, SplitterWnd* parent) : QSplitterHandle(o, parent), m_splitter(parent)
    {
        setMouseTracking(true);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (!m_splitter->OnBarMouse(e))
            QSplitterHandle::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        setCursor(m_splitter->BarCursor());
        if (!m_splitter->OnBarMouse(e))
            QSplitterHandle::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (!m_splitter->OnBarMouse(e))
            QSplitterHandle::mouseReleaseEvent(e);
    }
    void enterEvent(QEnterEvent* e) override
    {
        setCursor(m_splitter->BarCursor());
        QSplitterHandle::enterEvent(e);
    }
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.translate(-pos());
        m_splitter->OnDrawSplitter(&p, SplitterWnd::Part::Bar, geometry());
    }

private:
    SplitterWnd* m_splitter;
};

}  // namespace

SplitterWnd::SplitterWnd(int rows, int cols, QWidget* parent)
    : QSplitter(cols > 1 ? Qt::Horizontal : Qt::Vertical, parent),
      m_rows(std::max(1, rows)),
      m_cols(std::max(1, cols)),
      m_info(static_cast<size_t>(std::max(m_rows, m_cols)))
{
    setHandleWidth(6);
    setChildrenCollapsible(true);
    setOpaqueResize(true);
    for (size_t i = 0; i < m_info.size(); ++i) {
        addWidget(new PaneFrame(this));
        setStretchFactor(static_cast<int>(i), i + 1 == m_info.size() ? 1 : 0);
    }
    // A drag by the user makes the new sizes the panes' ideal sizes.
    connect(this, &QSplitter::splitterMoved, this, [this] {
        QList<int> s = sizes();
        for (int i = 0; i < s.size() && i < static_cast<int>(m_info.size()); ++i)
            m_info[static_cast<size_t>(i)].ideal = s[i];
    });
}

SplitterWnd::~SplitterWnd() = default;

int SplitterWnd::IndexOf(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return -1;
    return m_cols > 1 ? col : row;
}

void SplitterWnd::SetPane(int row, int col, QWidget* view, QSize initial)
{
    int i = IndexOf(row, col);
    if (i < 0)
        return;
    if (initial.isValid())
        m_info[static_cast<size_t>(i)].ideal = m_cols > 1 ? initial.width() : initial.height();
    auto* frame = static_cast<PaneFrame*>(widget(i));
    QWidget* old = frame->TakeView();
    frame->SetView(view);
    delete old;
}

QWidget* SplitterWnd::Pane(int row, int col) const
{
    int i = IndexOf(row, col);
    return i < 0 ? nullptr : static_cast<PaneFrame*>(widget(i))->View();
}

QWidget* SplitterWnd::TakePane(int row, int col)
{
    int i = IndexOf(row, col);
    return i < 0 ? nullptr : static_cast<PaneFrame*>(widget(i))->TakeView();
}

void SplitterWnd::SetRowInfo(int row, int ideal, int minimum)
{
    if (m_cols == 1 && row >= 0 && row < m_rows)
        m_info[static_cast<size_t>(row)] = {ideal, minimum};
}

void SplitterWnd::SetColumnInfo(int col, int ideal, int minimum)
{
    if (m_cols > 1 && col >= 0 && col < m_cols)
        m_info[static_cast<size_t>(col)] = {ideal, minimum};
}

void SplitterWnd::GetRowInfo(int row, int& current, int& minimum) const
{
    current = minimum = 0;
    if (m_cols == 1 && row >= 0 && row < m_rows) {
        current = sizes().value(row);
        minimum = m_info[static_cast<size_t>(row)].minimum;
    }
}

void SplitterWnd::GetColumnInfo(int col, int& current, int& minimum) const
{
    current = minimum = 0;
    if (m_cols > 1 && col >= 0 && col < m_cols) {
        current = sizes().value(col);
        minimum = m_info[static_cast<size_t>(col)].minimum;
    }
}

void SplitterWnd::RecalcLayout()
{
    int n = static_cast<int>(m_info.size());
    int total = (orientation() == Qt::Horizontal ? width() : height()) - handleWidth() * (n - 1);
    int left = std::max(0, total);
    QList<int> s;
    for (int i = 0; i < n; ++i) {
        const Info& info = m_info[static_cast<size_t>(i)];
        int size;
        if (i + 1 == n)
            size = left < info.minimum ? 0 : left;
        else
            size = info.ideal < info.minimum ? 0 : std::min(info.ideal, left);
        s << size;
        left -= size;
    }
    // A last pane too small to show gives its room back to the one before.
    if (n > 1 && s.last() == 0 && left > 0)
        s[n - 2] += left;
    setSizes(s);
}

void SplitterWnd::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    RecalcLayout();
}

void SplitterWnd::OnDrawSplitter(QPainter* painter, Part part, const QRect& rect)
{
    if (!painter)
        return;
    const QPalette& pal = palette();
    if (part == Part::Border) {
        // Sunken: dark above and left, light below and right, twice.
        QRect r = rect.adjusted(0, 0, -1, -1);
        for (int i = 0; i < kBorder; ++i) {
            painter->setPen(i == 0 ? pal.color(QPalette::Mid) : pal.color(QPalette::Dark));
            painter->drawLine(r.topLeft(), r.topRight());
            painter->drawLine(r.topLeft(), r.bottomLeft());
            painter->setPen(i == 0 ? pal.color(QPalette::Light) : pal.color(QPalette::Midlight));
            painter->drawLine(r.bottomLeft(), r.bottomRight());
            painter->drawLine(r.topRight(), r.bottomRight());
            r.adjust(1, 1, -1, -1);
        }
    } else {
        painter->fillRect(rect, pal.color(QPalette::Button));
    }
}

Qt::CursorShape SplitterWnd::BarCursor() const
{
    return orientation() == Qt::Horizontal ? Qt::SplitHCursor : Qt::SplitVCursor;
}

QSplitterHandle* SplitterWnd::createHandle()
{
    return new SplitterBar(orientation(), this);
}

}  // namespace platform
