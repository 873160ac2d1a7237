#include "platform/ui/controls/ComboAdapter.h"

#include "platform/ui/KitWindow.h"
#include "platform/ui/UiText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace platform {

std::unique_ptr<ControlAdapter> ComboAdapter::Build(const ControlTemplate& t, ControlBuild& build)
{
    auto* combo = new QComboBox(build.parent);
    combo->setEditable(t.kind == ControlKind::ComboEdit);
    combo->setInsertPolicy(QComboBox::NoInsert);
    if (combo->isEditable() && t.limit > 0)
        combo->lineEdit()->setMaxLength(t.limit);
    return std::make_unique<ComboAdapter>(combo, t.id, (t.style & CS_SORT) != 0);
}

ComboAdapter::ComboAdapter(QComboBox* combo, int id, bool sorted) : ControlAdapter(combo, id), m_combo(combo), m_sorted(sorted)
{
}

void ComboAdapter::Wire(KitWindow& window, QObject* context)
{
    auto tell = [w = &window, id = Id()](Notify code) { return [w, id, code] { w->SendNotify(id, code); }; };
    QObject::connect(m_combo, &QComboBox::activated, context, tell(Notify::SelChange));
    if (m_combo->isEditable()) {
        QObject::connect(m_combo, &QComboBox::editTextChanged, context, tell(Notify::Change));
        // Keys and focus of the combo's own edit count as the combo's.
        m_combo->lineEdit()->installEventFilter(context);
    }
}

void ComboAdapter::SetText(std::string_view text)
{
    QString t = ToQt(text);
    if (m_combo->isEditable()) {
        m_combo->setEditText(t);
    } else {
        QSignalBlocker quiet(m_combo);
        m_combo->setCurrentIndex(m_combo->findText(t, Qt::MatchExactly));
    }
}

std::string ComboAdapter::Text() const
{
    return FromQt(m_combo->currentText());
}

void ComboAdapter::Choose(int index)
{
    m_combo->setCurrentIndex(index);
    if (KitWindow* kit = KitWindow::Of(m_combo))
        kit->SendNotify(Id(), Notify::SelChange);
}

int ComboAdapter::Count() const
{
    return m_combo->count();
}

int ComboAdapter::AddIndex(std::string_view text) const
{
    if (!m_sorted)
        return Count();
    return SortedPlace(text, Count(), [this](int i) { return m_combo->itemText(i); });
}

int ComboAdapter::InsertItem(int index, std::string_view text, intptr_t data)
{
    // A combo box gets no selection (and keeps its typed text) by being
    // filled; only the screen selects.
    QSignalBlocker quiet(m_combo);
    int before = m_combo->currentIndex();
    QString edit = m_combo->isEditable() ? m_combo->currentText() : QString();
    m_combo->insertItem(index, ToQt(text), DataValue(data));
    if (before < 0) {
        m_combo->setCurrentIndex(-1);
        if (m_combo->isEditable())
            m_combo->setEditText(edit);
    }
    return index;
}

void ComboAdapter::DeleteItem(int index)
{
    QSignalBlocker quiet(m_combo);
    m_combo->removeItem(index);
}

void ComboAdapter::ResetContent()
{
    QSignalBlocker quiet(m_combo);
    m_combo->clear();
}

std::string ComboAdapter::ItemText(int index, int column) const
{
    return FromQt(m_combo->itemText(index));
}

void ComboAdapter::SetItemText(int index, int column, std::string_view text)
{
    m_combo->setItemText(index, ToQt(text));
}

intptr_t ComboAdapter::ItemData(int index) const
{
    return DataOf(m_combo->itemData(index));
}

void ComboAdapter::SetItemData(int index, intptr_t data)
{
    m_combo->setItemData(index, DataValue(data));
}

int ComboAdapter::Selection() const
{
    return m_combo->currentIndex();
}

void ComboAdapter::SetSelection(int index)
{
    QSignalBlocker quiet(m_combo);
    m_combo->setCurrentIndex(index >= 0 && index < m_combo->count() ? index : -1);
}

}  // namespace platform
