#include "platform/ui/Dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>

namespace platform {

Dialog::Dialog(const DialogTemplate& tmpl, QWidget* parent) : QDialog(parent), KitWindow(this)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    BuildControls(tmpl);
}

Dialog::~Dialog() = default;

int Dialog::DoModal()
{
    m_modal = true;
    m_result = IDCANCEL;
    m_ending = false;
    if (!m_created) {
        m_created = true;
        OnInitDialog();
    }
    if (!m_ending)
        exec();
    m_modal = false;
    return m_result;
}

bool Dialog::Create()
{
    if (m_created)
        return false;
    m_created = true;
    OnInitDialog();
    return true;
}

void Dialog::ShowWindow(bool show)
{
    if (show) {
        QDialog::show();
        raise();
    } else {
        hide();
    }
}

void Dialog::EndDialog(int result)
{
    m_result = result;
    m_ending = true;
    if (m_modal)
        done(result);
    else
        hide();
}

bool Dialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void Dialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void Dialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool Dialog::OnUnhandledNotify(int id, Notify code)
{
    if (code != Notify::Click)
        return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void Dialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (dynamic_cast<QPlainTextEdit*>(QApplication::focusWidget()))
            break;
        // Enter presses the default button; a dialog without one takes it as OK.
        for (QPushButton* b : findChildren<QPushButton*>())
            if (b->isDefault() && b->isEnabled() && !b->isHidden()) {
                b->click();
                event->accept();
                return;
            }
        OnOK();
        event->accept();
        return;
    }
    case Qt::Key_Escape:
        OnCancel();
        event->accept();
        return;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void Dialog::closeEvent(QCloseEvent* event)
{
    // The close box is Cancel; the screen decides whether the dialog ends.
    if (!m_ending)
        OnCancel();
    event->ignore();
    if (m_ending && !m_modal)
        hide();
}

void Dialog::reject()
{
    if (!m_ending)
        OnCancel();
    else
        QDialog::reject();
}

FormView::FormView(const DialogTemplate& tmpl, QWidget* parent) : QWidget(parent), KitWindow(this)
{
    BuildControls(tmpl);
    // A form fills a pane that may be no higher than a tab strip: no room
    // is spent on margins.
    if (layout())
        layout()->setContentsMargins(2, 2, 2, 2);
}

FormView::~FormView() = default;

void FormView::InitialUpdate()
{
    m_initialUpdated = true;
    OnInitialUpdate();
}

}  // namespace platform
