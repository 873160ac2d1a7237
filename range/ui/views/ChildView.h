#pragma once
// The frame's first pane: a plain window without data that the splitters
// cover. It has the first chance at every command the frame routes; it
// handles none.
#include "platform/ui/KitWindow.h"

#include <QWidget>

class CChildView : public QWidget, public platform::KitWindow {
public:
    // The pane id the frame gives it.
    static constexpr int kPaneId = 0xE900;

    explicit CChildView(QWidget* parent = nullptr);
    ~CChildView() override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
