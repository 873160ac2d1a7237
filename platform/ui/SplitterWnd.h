#pragma once
// A static splitter: a fixed grid of one row of columns or one column of rows,
// each pane holding one view, with bars between them. Views are put into
// panes and replaced there at run time; the owner gives each row or column an
// ideal and a minimum size and lays the splitter out again. A pane whose
// ideal is below its minimum is not shown; the last pane takes what is left.
#include <QSplitter>

#include <vector>

class QMouseEvent;
class QPainter;

namespace platform {

class SplitterWnd : public QSplitter {
public:
    // What OnDrawSplitter is asked to draw.
    enum class Part { Box = 1, Bar = 2, Border = 3 };

    SplitterWnd(int rows, int cols, QWidget* parent = nullptr);
    ~SplitterWnd() override;

    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }

    // Puts a view into a pane; the view that was there is deleted. A size
    // given becomes the ideal width of the pane's column, or the ideal height
    // of its row.
    void SetPane(int row, int col, QWidget* view, QSize initial = QSize());
    QWidget* Pane(int row, int col) const;
    // Takes the view out of its pane without deleting it.
    QWidget* TakePane(int row, int col);

    void SetRowInfo(int row, int ideal, int minimum);
    void SetColumnInfo(int col, int ideal, int minimum);
    void GetRowInfo(int row, int& current, int& minimum) const;
    void GetColumnInfo(int col, int& current, int& minimum) const;
    // Sizes the panes by their ideal and minimum sizes.
    void RecalcLayout();

    // Draws one part; the default draws a pane's border sunken, two pixels
    // wide. The rectangle is in the splitter's coordinates.
    virtual void OnDrawSplitter(QPainter* painter, Part part, const QRect& rect);
    // A press or a move of the mouse on a bar; true when the splitter took it
    // itself, false to let the bar track as usual.
    virtual bool OnBarMouse(QMouseEvent* event) { return false; }
    // The cursor shown over a bar.
    virtual Qt::CursorShape BarCursor() const;

protected:
    QSplitterHandle* createHandle() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Info {
        int ideal = 0;
        int minimum = 0;
    };
    int IndexOf(int row, int col) const;
    int m_rows;
    int m_cols;
    std::vector<Info> m_info;
};

}  // namespace platform
