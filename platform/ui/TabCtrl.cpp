#include "platform/ui/TabCtrl.h"

#include "platform/ui/UiText.h"

#include <QGridLayout>
#include <QLayout>
#include <QTabBar>
#include <QVBoxLayout>

namespace platform {

TabCtrl::TabCtrl(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this)), m_pages(new QWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_bar->setExpanding(false);
    m_bar->setDrawBase(true);
    layout->addWidget(m_bar);
    layout->addWidget(m_pages, 1);
    // A strip without pages is only its tabs; the margins come with the first page.
    auto* pages = new QGridLayout(m_pages);
    pages->setContentsMargins(0, 0, 0, 0);
    connect(m_bar, &QTabBar::currentChanged, this, [this](int index) { OnBarChanged(index); });
}

TabCtrl::~TabCtrl() = default;

int TabCtrl::InsertItem(int index, std::string_view text, intptr_t data)
{
    m_quiet = true;
    int at = m_bar->insertTab(index < 0 ? m_bar->count() : index, ToQt(text));
    m_bar->setTabData(at, QVariant::fromValue<qlonglong>(data));
    m_quiet = false;
    m_current = m_bar->currentIndex();
    Relayout();
    return at;
}

void TabCtrl::DeleteItem(int index)
{
    m_quiet = true;
    m_bar->removeTab(index);
    m_quiet = false;
    m_current = m_bar->currentIndex();
    Relayout();
}

void TabCtrl::DeleteAllItems()
{
    while (m_bar->count() > 0)
        DeleteItem(m_bar->count() - 1);
}

int TabCtrl::GetItemCount() const
{
    return m_bar->count();
}

std::string TabCtrl::GetItemText(int index) const
{
    return FromQt(m_bar->tabText(index));
}

void TabCtrl::SetItemText(int index, std::string_view text)
{
    m_bar->setTabText(index, ToQt(text));
    Relayout();
}

void TabCtrl::Relayout()
{
    // A strip filled before it is shown does not tell its layout that it
    // grew; without this it would stay without height.
    m_bar->updateGeometry();
    if (layout())
        layout()->invalidate();
    updateGeometry();
}

intptr_t TabCtrl::GetItemData(int index) const
{
    return static_cast<intptr_t>(m_bar->tabData(index).toLongLong());
}

void TabCtrl::SetItemData(int index, intptr_t data)
{
    m_bar->setTabData(index, QVariant::fromValue<qlonglong>(data));
}

void TabCtrl::SetCurSel(int index)
{
    m_quiet = true;
    m_bar->setCurrentIndex(index);
    m_quiet = false;
    m_current = m_bar->currentIndex();
}

void TabCtrl::ChooseTab(int index)
{
    m_bar->setCurrentIndex(index);
}

void TabCtrl::AddPage(QWidget* page)
{
    bool hidden = page->isHidden();
    page->setParent(m_pages);
    m_pages->layout()->setContentsMargins(4, 4, 4, 4);
    static_cast<QGridLayout*>(m_pages->layout())->addWidget(page, 0, 0);
    page->setVisible(!hidden);
}

void TabCtrl::OnBarChanged(int index)
{
    if (m_quiet) {
        m_current = index;
        return;
    }
    int left = m_current;
    if (onSelChanging && onSelChanging()) {
        SetCurSel(left);
        return;
    }
    m_current = index;
    if (onSelChange)
        onSelChange();
}

}  // namespace platform
