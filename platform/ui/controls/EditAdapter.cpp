#include "platform/ui/controls/EditAdapter.h"

#include "platform/ui/KitWindow.h"
#include "platform/ui/UiText.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

namespace platform {

std::unique_ptr<ControlAdapter> EditAdapter::Build(const ControlTemplate& t, ControlBuild& build)
{
    if (t.style & CS_MULTILINE) {
        auto* edit = new QPlainTextEdit(build.parent);
        edit->setTabChangesFocus(true);
        edit->setReadOnly(t.style & CS_READONLY);
        if (t.limit > 0)
            edit->setProperty("bvLimit", t.limit);
        return std::make_unique<MultiLineEditAdapter>(edit, t.id);
    }
    auto* edit = new QLineEdit(build.parent);
    if (t.limit > 0)
        edit->setMaxLength(t.limit);
    if (t.style & CS_NUMBER)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    edit->setReadOnly(t.style & CS_READONLY);
    edit->setFrame(!(t.style & CS_NOBORDER));
    if (t.style & CS_PASSWORD)
        edit->setEchoMode(QLineEdit::Password);
    if (t.style & CS_RIGHT)
        edit->setAlignment(Qt::AlignRight);
    return std::make_unique<EditAdapter>(edit, t.id);
}

EditAdapter::EditAdapter(QLineEdit* edit, int id) : ControlAdapter(edit, id), m_edit(edit) {}

void EditAdapter::Wire(KitWindow& window, QObject* context)
{
    QObject::connect(m_edit, &QLineEdit::textChanged, context,
                     [w = &window, id = Id()] { w->SendNotify(id, Notify::Change); });
}

void EditAdapter::SetText(std::string_view text)
{
    m_edit->setText(ToQt(text));
}

std::string EditAdapter::Text() const
{
    return FromQt(m_edit->text());
}

void EditAdapter::LimitText(int chars)
{
    m_edit->setMaxLength(chars > 0 ? chars : 32767);
}

void EditAdapter::SetReadOnly(bool on)
{
    m_edit->setReadOnly(on);
}

void EditAdapter::SelectAll()
{
    m_edit->selectAll();
}

MultiLineEditAdapter::MultiLineEditAdapter(QPlainTextEdit* edit, int id) : ControlAdapter(edit, id), m_edit(edit) {}

void MultiLineEditAdapter::Wire(KitWindow& window, QObject* context)
{
    QPlainTextEdit* e = m_edit;
    QObject::connect(e, &QPlainTextEdit::textChanged, context, [w = &window, id = Id(), e] {
        int limit = e->property("bvLimit").toInt();
        if (limit > 0 && e->toPlainText().size() > limit) {
            // Too long a text is cut back, as an edit with a limit refuses
            // the characters past it.
            QSignalBlocker quiet(e);
            e->setPlainText(e->toPlainText().left(limit));
            e->moveCursor(QTextCursor::End);
        }
        w->SendNotify(id, Notify::Change);
    });
}

void MultiLineEditAdapter::SetText(std::string_view text)
{
    m_edit->setPlainText(ToQt(text));
}

std::string MultiLineEditAdapter::Text() const
{
    return FromQt(m_edit->toPlainText());
}

void MultiLineEditAdapter::SetReadOnly(bool on)
{
    m_edit->setReadOnly(on);
}

}  // namespace platform
