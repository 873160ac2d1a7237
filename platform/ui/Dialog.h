#pragma once
// Dialogs and form views built from a template.
//
// A dialog runs modally (DoModal returns the id it was ended with) or
// modelessly: its owner creates it with Create, shows and hides it, and
// destroys it by deleting the object. Enter presses the default button (or
// runs OnOK without one), Escape and the close box run OnCancel; the buttons
// IDOK and IDCANCEL run OnOK and OnCancel unless the screen handles them.
//
// A form view is the same set of controls inside a frame's pane.
#include "platform/ui/KitWindow.h"
#include "platform/ui/Prompter.h"

#include <QDialog>
#include <QWidget>

namespace platform {

class Dialog : public QDialog, public KitWindow {
public:
    explicit Dialog(const DialogTemplate& tmpl, QWidget* parent = nullptr);
    ~Dialog() override;

    // Runs the dialog modally: OnInitDialog, then the user, until EndDialog.
    int DoModal();
    // Creates the dialog without showing it (OnInitDialog runs); false when
    // it already exists.
    bool Create();
    bool Created() const { return m_created; }
    void ShowWindow(bool show = true);
    // Ends a modal run with the result; a modeless dialog is only hidden.
    void EndDialog(int result);
    bool Modal() const { return m_modal; }
    int Result() const { return m_result; }

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

protected:
    bool OnUnhandledNotify(int id, Notify code) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    bool m_created = false;
    bool m_modal = false;
    bool m_ending = false;
    int m_result = IDCANCEL;
};

class FormView : public QWidget, public KitWindow {
public:
    explicit FormView(const DialogTemplate& tmpl, QWidget* parent = nullptr);
    ~FormView() override;

    // Called by the frame once the view stands in its pane.
    void InitialUpdate();
    virtual void OnInitialUpdate() { UpdateData(false); }
    bool InitialUpdateDone() const { return m_initialUpdated; }

private:
    bool m_initialUpdated = false;
};

}  // namespace platform
