#pragma once
// A tab strip with an area below it for its pages. The pages are the screen's
// own child forms: it places them with AddPage and shows and hides them itself
// when the selection changes, as the tab dialogs and tab forms do.
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class QTabBar;

namespace platform {

class TabCtrl : public QWidget {
public:
    explicit TabCtrl(QWidget* parent = nullptr);
    ~TabCtrl() override;

    int InsertItem(int index, std::string_view text, intptr_t data = 0);
    void DeleteItem(int index);
    void DeleteAllItems();
    int GetItemCount() const;
    std::string GetItemText(int index) const;
    void SetItemText(int index, std::string_view text);
    intptr_t GetItemData(int index) const;
    void SetItemData(int index, intptr_t data);
    // The selected tab; while a change is being asked for, still the old one.
    int GetCurSel() const { return m_current; }
    // Selects a tab without telling the owner, as a program's own choice.
    void SetCurSel(int index);
    // Selects a tab as the user does: the owner is asked first and told after.
    void ChooseTab(int index);

    QTabBar* Bar() const { return m_bar; }
    QWidget* PageArea() const { return m_pages; }
    // Places a page in the page area; it keeps the visibility it has.
    void AddPage(QWidget* page);

    // Set by the window that owns the strip: asked before a change (true
    // refuses it) and told after it.
    std::function<bool()> onSelChanging;
    std::function<void()> onSelChange;

private:
    void OnBarChanged(int index);
    void Relayout();

    QTabBar* m_bar;
    QWidget* m_pages;
    int m_current = -1;
    bool m_quiet = false;
};

}  // namespace platform
