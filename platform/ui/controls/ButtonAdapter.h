#pragma once
// Push buttons, check boxes and radio buttons: a text, a tick, a click. Radio
// buttons in a row make a group, read and set as the index of the ticked one.
#include "platform/ui/controls/ControlAdapter.h"

class QAbstractButton;

namespace platform {

class ButtonAdapter : public ControlAdapter {
public:
    // A push button (CS_DEFAULT for the one Enter presses).
    static std::unique_ptr<ControlAdapter> BuildButton(const ControlTemplate& t, ControlBuild& build);
    static std::unique_ptr<ControlAdapter> BuildCheck(const ControlTemplate& t, ControlBuild& build);
    ButtonAdapter(QAbstractButton* button, int id);
    void Wire(KitWindow& window, QObject* context) override;
    void SetText(std::string_view text) override;
    std::string Text() const override;
    void SetCheck(int state) override;
    int Check() const override;
    void Click() override;

private:
    QAbstractButton* m_button;
};

class RadioAdapter : public ButtonAdapter {
public:
    // A new group starts at CS_GROUP and after any control that is no radio button.
    static std::unique_ptr<ControlAdapter> Build(const ControlTemplate& t, ControlBuild& build);
    RadioAdapter(QAbstractButton* button, int id, QButtonGroup* group);
    int Selection() const override;
    void SetSelection(int index) override;

private:
    QButtonGroup* m_group;
};

}  // namespace platform
