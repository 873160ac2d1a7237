#include "platform/ui/controls/ButtonAdapter.h"

#include "platform/ui/KitWindow.h"
#include "platform/ui/UiText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace platform {

std::unique_ptr<ControlAdapter> ButtonAdapter::BuildButton(const ControlTemplate& t, ControlBuild& build)
{
    auto* button = new QPushButton(build.parent);
    button->setAutoDefault(false);
    if (t.style & CS_DEFAULT)
        button->setDefault(true);
    return std::make_unique<ButtonAdapter>(button, t.id);
}

std::unique_ptr<ControlAdapter> ButtonAdapter::BuildCheck(const ControlTemplate& t, ControlBuild& build)
{
    return std::make_unique<ButtonAdapter>(new QCheckBox(build.parent), t.id);
}

ButtonAdapter::ButtonAdapter(QAbstractButton* button, int id) : ControlAdapter(button, id), m_button(button) {}

void ButtonAdapter::Wire(KitWindow& window, QObject* context)
{
    QObject::connect(m_button, &QAbstractButton::clicked, context,
                     [w = &window, id = Id()] { w->SendNotify(id, Notify::Click); });
}

void ButtonAdapter::SetText(std::string_view text)
{
    m_button->setText(ToQt(text));
}

std::string ButtonAdapter::Text() const
{
    return FromQt(m_button->text());
}

void ButtonAdapter::SetCheck(int state)
{
    QButtonGroup* group = m_button->group();
    if (group && state == 0 && m_button->isChecked()) {
        // An exclusive group keeps one button ticked; clearing the last one
        // needs the group to let go for a moment.
        group->setExclusive(false);
        m_button->setChecked(false);
        group->setExclusive(true);
        return;
    }
    m_button->setChecked(state != 0);
}

int ButtonAdapter::Check() const
{
    return m_button->isChecked() ? 1 : 0;
}

void ButtonAdapter::Click()
{
    if (!m_button->isHidden())
        m_button->click();
}

std::unique_ptr<ControlAdapter> RadioAdapter::Build(const ControlTemplate& t, ControlBuild& build)
{
    auto* radio = new QRadioButton(build.parent);
    if (!build.radios || build.previous != ControlKind::Radio || (t.style & CS_GROUP))
        build.radios = new QButtonGroup(build.window);
    build.radios->addButton(radio);
    return std::make_unique<RadioAdapter>(radio, t.id, build.radios);
}

RadioAdapter::RadioAdapter(QAbstractButton* button, int id, QButtonGroup* group)
    : ButtonAdapter(button, id), m_group(group)
{
}

int RadioAdapter::Selection() const
{
    QList<QAbstractButton*> buttons = m_group->buttons();
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked())
            return i;
    return -1;
}

void RadioAdapter::SetSelection(int index)
{
    QList<QAbstractButton*> buttons = m_group->buttons();
    if (index >= 0 && index < buttons.size()) {
        buttons[index]->setChecked(true);
        return;
    }
    m_group->setExclusive(false);
    for (QAbstractButton* b : buttons)
        b->setChecked(false);
    m_group->setExclusive(true);
}

}  // namespace platform
