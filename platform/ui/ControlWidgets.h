#pragma once
// The widgets behind the control kinds that Qt has no exact match for.
#include <QTreeWidget>
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace platform {

// Up-down arrows bound to a buddy edit: each step writes the new number into
// the buddy, so the screen sees an ordinary text change of that edit. A step
// past the end of the range stops there, or with wrapping goes on from the
// other end (one past the top gives the bottom, one below the bottom the top).
class SpinCtrl : public QWidget {
public:
    explicit SpinCtrl(QWidget* parent = nullptr);
    void SetBuddy(QLineEdit* buddy) { m_buddy = buddy; }
    QLineEdit* Buddy() const { return m_buddy; }
    void SetRange(int lower, int upper);
    void SetWrap(bool wrap) { m_wrap = wrap; }
    bool Wraps() const { return m_wrap; }
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }
    int Pos() const;
    void SetPos(int pos);
    void Step(int delta);

private:
    QLineEdit* m_buddy = nullptr;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_lower = 0;
    int m_upper = 100;
    bool m_wrap = false;
};

// The report list: rows of cells under column headers.
class ListViewCtrl : public QTreeWidget {
public:
    explicit ListViewCtrl(QWidget* parent = nullptr);
    bool checkBoxes = false;
};

class TreeCtrl : public QTreeWidget {
public:
    explicit TreeCtrl(QWidget* parent = nullptr);
};

}  // namespace platform
